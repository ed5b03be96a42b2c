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
        [](TBillardVelmora& simu) { simu.Joue(); }, true);
}

const std::string kAide =
    std::string(
        "usage : velmora-sim shot FICHIER.vel [OPTIONS]\n\n"
        "Joue un fichier de positions (queue et billes) comme le bouton de tir du programme :\n"
        "impact de la queue, puis calcul du coup jusqu'à l'arrêt des billes.\n\n") +
    kAideOptionsTir +
    "\nLe coup en termes de joueur suit la ligne du résultat : « coup : » (visée sur la première bille\n"
    "et épaisseur, ou bricole et son diamant ; effet en procédés et position horaire ; vitesse de 1 à\n"
    "10), « touchée : » (épaisseur de la première bille touchée), « bille 1 : » (ses contacts, bandes\n"
    "nommées depuis la courte du bas avec le diamant du contact) et, quand la bille joueur va longue,\n"
    "courte, longue, « système des 5 : » (ce que prédit le système et où la bille arrive).\n"
    "Avec --json l'objet ajoute \"stroke\", \"aimed_thickness\", \"struck_thickness\", \"tip\"\n"
    "{\"clock\", \"tips\", \"miscue\"}, \"speed_level\", \"ball1_route\", \"cushion_hits\" (chaque contact\n"
    "d'une bille avec une bande : {\"ball\", \"cushion\", \"cushion_name\", \"diamond\", \"t\"}) et\n"
    "\"diamond_system\" ({\"start\", \"first\", \"predicted\", \"arrived\", \"difference\"} ou null).\n";

const TEnregistreCommande enregistre({"shot", "joue un fichier de positions (.vel) avec sa queue",
                                      kAide.c_str(), 10, &Execute});

}  // namespace
