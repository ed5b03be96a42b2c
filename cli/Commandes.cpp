#include "cli/Commandes.h"

#include <algorithm>
#include <ostream>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "?"
#endif

namespace {

std::vector<TCommande>& Registre() {
    static std::vector<TCommande> commandes;
    return commandes;
}

void AideGenerale(std::ostream& out) {
    std::vector<TCommande> commandes = Registre();
    std::sort(commandes.begin(), commandes.end(),
              [](const TCommande& a, const TCommande& b) { return a.rang < b.rang; });
    out << "velmora-sim : simulateur de billard carambole sans fenêtre\n\n"
           "usage : velmora-sim COMMANDE [OPTIONS]\n"
           "        velmora-sim COMMANDE --help    aide d'une commande\n\n"
           "        velmora-sim --version          version du programme\n\n"
           "commandes :\n";
    for (const TCommande& c : commandes) out << "  " << c.nom << "\t" << c.resume << "\n";
    out << "\nstatut de sortie : 0 succès, 1 fichier illisible ou impossible à écrire, 2 erreur d'usage\n";
}

}  // namespace

TEnregistreCommande::TEnregistreCommande(const TCommande& commande) { Registre().push_back(commande); }

int LanceVelmoraSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "velmora-sim : commande manquante (velmora-sim --help pour l'aide)\n";
        return kErreurUsage;
    }
    const std::string& nom = args.front();
    if (nom == "--help" || nom == "-h" || nom == "help") {
        AideGenerale(out);
        return kSucces;
    }
    if (nom == "--version") {
        out << "velmora-sim " << VELMORA_VERSION << "\n";
        return kSucces;
    }
    for (const TCommande& c : Registre()) {
        if (nom != c.nom) continue;
        const std::vector<std::string> reste(args.begin() + 1, args.end());
        if (std::find(reste.begin(), reste.end(), "--help") != reste.end()) {
            out << c.aide;
            return kSucces;
        }
        return c.execute(reste, out, err);
    }
    err << "velmora-sim : commande inconnue \"" << nom << "\" (velmora-sim --help pour l'aide)\n";
    return kErreurUsage;
}
