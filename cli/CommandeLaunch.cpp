// velmora-sim launch: replays a manual launch file from its photo 0, without the cue.
#include <ostream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Resultat.h"
#include "jeu/FichiersPosition.h"

namespace {

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return ExecuteTir(
        "launch", args, out, err,
        [](TBillardVelmora& simu, const TOptionsTir& o, std::string* erreur) {
            return PrepareSimulation(simu, o.fsk, erreur) && ChargeLancer(simu, o.fichier, erreur);
        },
        [](TBillardVelmora& simu) { simu.CalculTrajets(); });
}

const std::string kAide =
    std::string(
        "usage : velmora-sim launch FICHIER.vel2 [OPTIONS]\n\n"
        "Rejoue un lancer manuel : positions, vitesses et rotations des trois billes à la\n"
        "photo 0, sans impact de queue.\n\n") +
    kAideOptionsTir;

const TEnregistreCommande enregistre({"launch", "rejoue un lancer manuel (.vel2) sans la queue",
                                      kAide.c_str(), 20, &Execute});

}  // namespace
