// velmora-sim shot: plays a position file with its cue, as the desktop program's fire button does.
#include <memory>
#include <ostream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Resultat.h"

namespace {

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsTir options;
    std::string erreur;
    if (!LitOptionsTir(args, options, &erreur)) {
        err << "velmora-sim shot : " << erreur << " (velmora-sim shot --help pour l'aide)\n";
        return kErreurUsage;
    }
    // the photo store is large: the object lives on the heap
    auto simu = std::make_unique<TBillardVelmora>();
    if (!ChargeTir(*simu, options.fichier, options.fsk, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    simu->ModeDeJeu = options.mode;
    simu->Joue();
    return RapporteTir(*simu, options, out, err);
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
