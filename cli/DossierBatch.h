// The output folder of a batch run. One run at a time takes it (a lock file); it belongs to one
// option set, recorded when it is first used (options.txt) and checked by every run; the inputs of
// each position whose results it holds are recorded by their digest (entrees.csv), before that
// position is computed. A position counts as done only when its files read back whole and give its
// summary row; the summary (resume.csv) is rebuilt from those checked rows. Every file is written
// whole or not at all, never through a link.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "cli/PositionsBatch.h"
#include "cli/TravauxBatch.h"
#include "fichiers/DossierSortie.h"

class TDossierBatch {
public:
    explicit TDossierBatch(const TTravailBatch& travail);
    ~TDossierBatch() { Rend(); }
    TDossierBatch(const TDossierBatch&) = delete;
    TDossierBatch& operator=(const TDossierBatch&) = delete;

    // Opens the folder (made when missing) and takes it for this run; false with the reason.
    bool Ouvre(const std::string& chemin, std::string* erreur = nullptr);
    // gives the folder back (its lock file goes); done at the end of a run
    void Rend();
    // the path of a file of the folder, for messages
    std::string Chemin(const std::string& nom) const { return dossier_.CheminDe(nom); }

    // none of the folder's files of this run is a file the positions are read from; false with
    // the reason
    bool SortiesDistinctes(const std::vector<TPosition>& positions, std::string* erreur = nullptr) const;
    // The folder's option set against this run's: a new folder takes it; a folder of another set
    // is refused naming the first option that differs (status 2), unless force, which starts it
    // afresh (its rows and summary go). The exit status: kSucces when the run may go on.
    int Adopte(const std::string& configuration, bool force, std::string* erreur = nullptr);
    // The positions to compute: all of them, or with reprise those that are not done (a position
    // whose files do not read back, or whose inputs changed since, is computed again and said so
    // on err). Their inputs' digests are recorded first. False with the reason.
    bool Prepare(const std::vector<TPosition>& positions, bool reprise, std::vector<const TPosition*>& aFaire,
                 std::ostream& err, std::string* erreur = nullptr);

    // one position's results as they come: its files, then its row, which says it is done
    bool Ecrit(const TPosition& p, const TResultatPosition& resultat, std::string* erreur = nullptr);
    // positions whose row is known (done before or now)
    size_t NbFaites() const { return lignes_.size(); }
    // the summary of the run's positions, sorted by name, and their computing times (temps: the
    // rows of the positions computed now; the others keep theirs)
    bool EcritResume(const std::vector<TPosition>& positions, const std::map<std::string, std::string>& temps,
                     std::string* erreur = nullptr);

private:
    // the row of a position done by an earlier run, rebuilt from its files; false with the reason
    bool Fait(const TPosition& p, std::string& ligne, std::string* raison) const;
    bool EcritEmpreintes(std::string* erreur);
    // the rows of the recorded positions and the summary go: nothing of an earlier set counts
    bool Efface(std::string* erreur);

    const TTravailBatch& travail_;
    TDossierSortie dossier_;
    std::string entete_;
    std::map<std::string, std::string> empreintes_;  // position's name → digest of its inputs
    std::map<std::string, std::string> lignes_;      // position's name → its row
};
