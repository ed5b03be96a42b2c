// velmora-sim launch: replays a manual launch file from its photo 0, without the cue.
#include <memory>
#include <ostream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Resultat.h"
#include "jeu/FichiersPosition.h"

namespace {

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsTir options;
    std::string erreur;
    if (!LitOptionsTir(args, options, &erreur)) {
        err << "velmora-sim launch : " << erreur << " (velmora-sim launch --help pour l'aide)\n";
        return kErreurUsage;
    }
    auto simu = std::make_unique<TBillardVelmora>();
    if (!PrepareSimulation(*simu, options.fsk, &erreur) || !ChargeLancer(*simu, options.fichier, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    simu->ModeDeJeu = options.mode;
    simu->CalculTrajets();
    return RapporteTir(*simu, options, out, err);
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
