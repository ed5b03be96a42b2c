// velmora-sim shot: plays a position file with its cue, as the desktop program's fire button does.
#include <ostream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Resultat.h"

namespace {

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return ExecuteTir(
        "shot", args, out, err,
        [](TBillardVelmora& simu, const TOptionsTir& o, std::string* erreur) {
            return ChargeTir(simu, o.fichier, o.fsk, erreur);
        },
        [](TBillardVelmora& simu) { simu.Joue(); });
}

const std::string kAide =
    std::string(
        "usage : velmora-sim shot FICHIER.vel [OPTIONS]\n\n"
        "Joue un fichier de positions (queue et billes) comme le bouton de tir du programme :\n"
        "impact de la queue, puis calcul du coup jusqu'à l'arrêt des billes.\n\n") +
    kAideOptionsTir;

const TEnregistreCommande enregistre({"shot", "joue un fichier de positions (.vel) avec sa queue",
                                      kAide.c_str(), 10, &Execute});

}  // namespace
