// The kinds of work "velmora-sim batch" runs over many positions. A kind computes one position
// file into its result files and one row of the summary; the batch command does the rest (the
// list of positions, spreading them over threads and MPI ranks, writing every file atomically,
// --resume, the summary). Each kind lives in its own file and registers itself there, like the
// commands, so a new kind is a new file.
#pragma once

#include <atomic>
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
    // the suffixes of the files of a position (".bul", ".json"...), in writing order
    virtual std::vector<std::string> Suffixes() const = 0;
    // The options that shape the results, one "name value" per line, the table by the digest of
    // its content ("genre difficulty", "--trials 2,2,2,1,0,0", "--fsk (aucun)"...): an output
    // folder belongs to one such set, and every MPI rank must have rank 0's.
    virtual std::string Configuration() const = 0;
    // The digest of what shapes one position's results besides the options (the position file,
    // and the parameter file it names when the options name none); false with the reason.
    virtual bool EmpreinteEntrees(const std::string& fichier, std::string& empreinte,
                                  std::string* erreur = nullptr) const = 0;
    // the files one position's results come from (the position file and the parameter file it
    // names): an output may be none of them
    virtual std::vector<std::string> FichiersLus(const std::string& fichier) const = 0;
    // reads the position file as Calcule will, before anything is computed; false with the reason
    virtual bool Verifie(const std::string& fichier, std::string* erreur = nullptr) const = 0;
    // Computes one position on the calling thread (several positions run at once, each on its
    // own thread); false with the reason, and when the stop flag rose. The result must depend on
    // the file and the options only.
    virtual bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                         std::string* erreur = nullptr) const = 0;
    // The summary's cells of a position rebuilt from the contents of its files as an earlier run
    // left them (in the order of Suffixes), checked against the position: false with the reason
    // when they are not whole results of this work for it.
    virtual bool Relit(const std::string& fichier, const std::vector<std::string>& contenus,
                       std::vector<std::string>& ligne, std::string* erreur = nullptr) const = 0;

    // the flag a computation polls: once it is up, a position being computed stops, unfinished
    void FixeArret(const std::atomic<bool>* arret) { arret_ = arret; }

protected:
    bool Arrete() const { return arret_ && arret_->load(); }

private:
    const std::atomic<bool>* arret_ = nullptr;
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
// the records of a CSV text written with ChampCsv, each line ended by a line feed (a quoted field
// may hold one); false when the text is not such CSV
bool LitCsv(const std::string& texte, std::vector<std::vector<std::string>>& lignes);
