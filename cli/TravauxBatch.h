// The kinds of work "velmora-sim batch" runs over many positions. A kind computes one position
// file into its result files and one row of the summary; the batch command does the rest (the
// list of positions, spreading them over threads and MPI ranks, writing every file atomically,
// --resume, the summary). Each kind lives in its own file and registers itself there, like the
// commands, so a new kind is a new file.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

// what one position gives
struct TResultatPosition {
    // the files, named NOM + suffix in the output folder (NOM: the position file's name without
    // its extension), in writing order; the same suffixes every time
    std::vector<std::pair<std::string, std::string>> Fichiers;
    // the summary's cells after the position's name, in the order of Colonnes()
    std::vector<std::string> Ligne;
};

class TTravailBatch {
public:
    virtual ~TTravailBatch() = default;

    // the summary's columns after "position"
    virtual std::vector<std::string> Colonnes() const = 0;
    // the suffixes of the files of a position (".bul", ".json"...): a position whose files and
    // summary row are all there is done
    virtual std::vector<std::string> Suffixes() const = 0;
    // the options that change the results, in words: a folder computed with other options is
    // not resumed
    virtual std::string Signature() const = 0;
    // reads the position file as Calcule will, before anything is computed; false with the reason
    virtual bool Verifie(const std::string& fichier, std::string* erreur) const = 0;
    // computes one position on the calling thread (several positions run at once, each on its
    // own thread); false with the reason. The result must depend on the file and the options only.
    virtual bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                         std::string* erreur) const = 0;
};

struct TTypeTravailBatch {
    const char* nom;          // "difficulty"
    const char* resume;       // one line for the batch command's help
    const char* aideOptions;  // the kind's options, for the batch command's help
    // From the arguments after the kind's name (the batch's own options taken out): the position
    // files and folders in entrees, and the work; nullptr with the message for a usage error.
    std::unique_ptr<TTravailBatch> (*cree)(const std::vector<std::string>& args,
                                           std::vector<std::string>& entrees, std::string* erreur);
};

// registers a kind at start-up: one static object per kind's file
struct TEnregistreTravailBatch {
    explicit TEnregistreTravailBatch(const TTypeTravailBatch& type);
};

// The position files and folders of a kind's arguments (those that are no option) into entrees,
// the options into options, each with its value when it is one of avecValeur ("--fsk DIR" and
// "--fsk=DIR" alike). False with the message when such an option ends the line or no position
// is named.
bool SepareEntrees(const std::vector<std::string>& args, const std::vector<std::string>& avecValeur,
                   std::vector<std::string>& entrees, std::vector<std::string>& options,
                   std::string* erreur = nullptr);

// the registered kinds, by name
std::vector<TTypeTravailBatch> TypesTravailBatch();
const TTypeTravailBatch* TrouveTypeTravailBatch(const std::string& nom);

// a position's result as bytes, to cross from one MPI rank to another, with its computing time
std::string EncodeResultatPosition(const TResultatPosition& resultat, double secondes);
// false when the bytes are not a whole result
bool DecodeResultatPosition(const std::string& octets, TResultatPosition& resultat, double& secondes);

// one CSV field: quoted (quotes doubled) when it holds a comma, a quote or a line break
std::string ChampCsv(const std::string& texte);
