// "velmora-sim batch solve": the solver on every position, each giving the JSON that
// "velmora-sim solve --json" prints (its "seconds" at 0: a batch's files are the same bytes
// whatever the ranks and threads) and a summary row.
#include <algorithm>
#include <memory>

#include "cli/OptionsSolve.h"
#include "cli/SortieJson.h"
#include "cli/TravailPosition.h"
#include "fichiers/NombresIni.h"
#include "moteurs/SolveurCoups.h"

namespace {

class TTravailSolve : public TTravailPosition {
public:
    explicit TTravailSolve(const TOptionsSolve& o) : TTravailPosition(o.tir), o_(o) {}

    std::vector<std::string> Colonnes() const override { return {"routes_found", "best_success_rate"}; }
    std::vector<std::string> Suffixes() const override { return {".json"}; }

    std::string Signature() const override {
        std::string s = "solve --mode " + std::string(MotMode(o_.tir.mode)) + " --top " +
                        std::to_string(o_.top) + " --budget " + std::to_string(o_.budget);
        if (o_.masse) s += " --massé";
        if (!o_.tir.fsk.empty()) s += " --fsk " + o_.tir.fsk;
        return s;
    }

    bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                 std::string& erreur) const override {
        auto simu = Charge(fichier, erreur);
        if (!simu) return false;
        TOptionsSolveur options;
        options.Mode = o_.tir.mode;
        options.NbRoutes = o_.top;
        options.Budget = o_.budget;
        // one thread: the batch runs as many positions at once as it has cores
        options.NbThreads = 1;
        options.Masse = o_.masse;
        options.MasseQueue = float(simu->MasseQueue);
        TSolveurCoups solveur(*simu, options);
        simu.reset();
        TResultatSolveur r = solveur.Execute();
        if (r.Interrompu) {
            erreur = "recherche interrompue";
            return false;
        }
        r.Secondes = 0;  // the time is in temps.csv
        resultat.Fichiers = {{".json", JsonSolveur(r) + "\n"}};
        double meilleur = -1;
        for (const TRouteSolveur& route : r.Routes)
            if (route.Mesuree()) meilleur = std::max(meilleur, route.TauxReussite());
        resultat.Ligne = {std::to_string(r.NbRoutesTrouvees),
                          meilleur < 0 ? std::string() : FormatReel(meilleur)};
        return true;
    }

private:
    TOptionsSolve o_;
};

std::unique_ptr<TTravailBatch> Cree(const std::vector<std::string>& args, std::vector<std::string>& entrees,
                                    std::string& erreur) {
    // the position files apart from the options and their values
    std::vector<std::string> options;
    if (!SepareEntrees(args, {"--fsk", "--mode", "--top", "--budget", "--save"}, entrees, options, erreur))
        return nullptr;
    // checked as the single command checks them
    TOptionsSolve o;
    options.push_back(entrees.front());
    if (!LitOptionsSolve(options, o, erreur)) return nullptr;
    if (!o.dossier.empty()) {
        erreur = "--save ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.json";
        return nullptr;
    }
    if (o.tir.json) {
        erreur = "--json ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.json";
        return nullptr;
    }
    return std::make_unique<TTravailSolve>(o);
}

const TEnregistreTravailBatch enregistre(
    {"solve", "les routes de chaque position",
     "  options de solve : --mode MODE, --top N, --budget COUPS, --massé,\n"
     "  --fsk FICHIER.fsk (voir velmora-sim solve --help) ; chaque position donne\n"
     "  NOM.json, le JSON de velmora-sim solve --json avec \"seconds\" à 0\n",
     &Cree});

}  // namespace
