// "velmora-sim batch solve": the solver on every position, each giving the JSON that
// "velmora-sim solve --json" prints (its "seconds" at 0: a batch's files are the same bytes
// whatever the ranks and threads) and a summary row.
#include <algorithm>
#include <memory>

#include "cli/JsonSolveRelu.h"
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

    std::string Configuration() const override {
        return "genre solve\n--top " + std::to_string(o_.top) + "\n--budget " + std::to_string(o_.budget) +
               "\n--massé " + (o_.masse ? "oui" : "non") + "\n" + ConfigurationTir();
    }

    bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                 std::string* erreur) const override {
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
        solveur.Demarre();
        TResultatSolveur r = Attends(solveur);
        if (r.Interrompu) {
            if (erreur) *erreur = "recherche interrompue";
            return false;
        }
        r.Secondes = 0;  // the time is in temps.csv
        resultat.Fichiers = {{".json", JsonSolveur(r) + "\n"}};
        double meilleur = -1;
        for (const TRouteSolveur& route : r.Routes)
            if (route.Mesuree()) meilleur = std::max(meilleur, route.TauxReussite());
        resultat.Ligne = Ligne(r.NbRoutesTrouvees, meilleur);
        return true;
    }

    bool Relit(const std::string& fichier, const std::vector<std::string>& contenus,
               std::vector<std::string>& ligne, std::string* erreur) const override {
        if (!Verifie(fichier, erreur)) return false;
        TBilanJsonSolve bilan;
        if (!LitBilanJsonSolve(contenus.at(0), bilan) || bilan.Interrompu ||
            int(bilan.Routes.size()) > std::min(o_.top, bilan.RoutesTrouvees)) {
            if (erreur) *erreur = "fichier .json incomplet ou d'un autre calcul";
            return false;
        }
        double meilleur = -1;
        for (const auto& [essais, reussis] : bilan.Routes)
            if (essais > 0) meilleur = std::max(meilleur, double(reussis) / double(essais));
        ligne = Ligne(bilan.RoutesTrouvees, meilleur);
        return true;
    }

private:
    // the summary's cells: routes found, the best success rate (empty when none was measured)
    static std::vector<std::string> Ligne(int routesTrouvees, double meilleur) {
        return {std::to_string(routesTrouvees), meilleur < 0 ? std::string() : FormatReel(meilleur)};
    }

    TOptionsSolve o_;
};

std::unique_ptr<TTravailBatch> Cree(const std::vector<std::string>& args, std::vector<std::string>& entrees,
                                    std::string* erreur) {
    // the position files apart from the options and their values
    std::vector<std::string> options;
    if (!SepareEntrees(args, {"--fsk", "--mode", "--top", "--budget", "--save"}, entrees, options, erreur))
        return nullptr;
    // checked as the single command checks them
    TOptionsSolve o;
    options.push_back(entrees.front());
    if (!LitOptionsSolve(options, o, erreur)) return nullptr;
    if (!o.dossier.empty()) {
        if (erreur)
            *erreur = "--save ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.json";
        return nullptr;
    }
    if (o.tir.json) {
        if (erreur)
            *erreur = "--json ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.json";
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
