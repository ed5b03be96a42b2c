// The solver's options on the command line, shared by "solve" and "batch solve".
#include "cli/OptionsSolve.h"

#include <cmath>

#include "fichiers/NombresIni.h"

namespace {

constexpr int kNbThreadsMax = 64;
constexpr long long kBudgetMax = 100'000'000;
constexpr int kRoutesMax = 100;

bool LitEntier(const std::string& texte, long long mini, long long maxi, long long& valeur) {
    const auto v = LitReelTexte(texte);
    if (!v || *v != std::floor(*v) || *v < double(mini) || *v > double(maxi)) return false;
    valeur = static_cast<long long>(*v);
    return true;
}

}  // namespace

bool LitOptionsSolve(const std::vector<std::string>& args, TOptionsSolve& o, std::string& erreur) {
    std::vector<std::string> reste;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string nom = args[i];
        std::string valeur;
        bool avecValeur = false;
        if (nom.rfind("--", 0) == 0 && nom.find('=') != std::string::npos) {
            valeur = nom.substr(nom.find('=') + 1);
            nom.resize(nom.find('='));
            avecValeur = true;
        }
        if (nom == "--massé" || nom == "--masse") {
            if (avecValeur) {
                erreur = "l'option " + nom + " ne prend pas de valeur";
                return false;
            }
            o.masse = true;
            continue;
        }
        if (nom == "--export") {
            erreur = "l'option --export ne s'applique pas à cette commande";
            return false;
        }
        if (nom != "--top" && nom != "--budget" && nom != "--threads" && nom != "--save") {
            reste.push_back(args[i]);
            continue;
        }
        if (!avecValeur) {
            if (i + 1 >= args.size()) {
                erreur = "l'option " + nom + " attend une valeur";
                return false;
            }
            valeur = args[++i];
        }
        long long n = 0;
        if (nom == "--top") {
            if (!LitEntier(valeur, 1, kRoutesMax, n)) {
                erreur = "--top attend un nombre de routes de 1 à " + std::to_string(kRoutesMax);
                return false;
            }
            o.top = int(n);
        } else if (nom == "--budget") {
            if (!LitEntier(valeur, 1000, kBudgetMax, n)) {
                erreur = "--budget attend un nombre de coups de 1000 à " + std::to_string(kBudgetMax);
                return false;
            }
            o.budget = n;
        } else if (nom == "--threads") {
            if (!LitEntier(valeur, 1, kNbThreadsMax, n)) {
                erreur = "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMax);
                return false;
            }
            o.nbThreads = int(n);
        } else {
            if (valeur.empty()) {
                erreur = "l'option --save attend un dossier";
                return false;
            }
            o.dossier = valeur;
        }
    }
    return LitOptionsTir(reste, o.tir, erreur);
}
