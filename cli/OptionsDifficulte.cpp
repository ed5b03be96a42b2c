#include "cli/OptionsDifficulte.h"

#include <cmath>
#include <sstream>

#include "fichiers/NombresIni.h"

namespace {

// "a,b,c,d,e,f": six numbers
bool LitSix(const std::string& texte, std::array<double, NbParamsEssai>& valeurs) {
    std::stringstream flux(texte);
    std::string morceau;
    int n = 0;
    while (std::getline(flux, morceau, ',')) {
        if (n >= NbParamsEssai) return false;
        const auto v = LitReelTexte(morceau);
        if (!v) return false;
        valeurs[n++] = *v;
    }
    return n == NbParamsEssai && (texte.empty() || texte.back() != ',');
}

bool LitEntier(const std::string& texte, long long& valeur) {
    const auto v = LitReelTexte(texte);
    if (!v || *v != std::floor(*v) || std::abs(*v) > 1e9) return false;
    valeur = static_cast<long long>(*v);
    return true;
}

}  // namespace

bool LitOptionsGrille(const std::vector<std::string>& args, TOptionsGrille& o,
                      std::vector<std::string>& reste, std::string& erreur) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string nom = args[i];
        std::string valeur;
        bool avecValeur = false;
        if (nom.rfind("--", 0) == 0 && nom.find('=') != std::string::npos) {
            valeur = nom.substr(nom.find('=') + 1);
            nom.resize(nom.find('='));
            avecValeur = true;
        }
        if (nom != "--trials" && nom != "--steps" && nom != "--bul" && nom != "--threads") {
            if (nom == "--export") {
                erreur = "l'option --export ne s'applique pas à cette commande";
                return false;
            }
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

        if (nom == "--trials") {
            std::array<double, NbParamsEssai> v{};
            if (!LitSix(valeur, v)) {
                erreur = "--trials attend six nombres d'essais séparés par des virgules (E,H,A,V,I,M)";
                return false;
            }
            for (int p = 0; p < NbParamsEssai; ++p) {
                if (v[p] < 0 || v[p] > NbEssaisMax || v[p] != std::floor(v[p])) {
                    erreur = "--trials : \"" + valeur + "\", chaque nombre d'essais est un entier de 0 à " +
                             std::to_string(NbEssaisMax);
                    return false;
                }
                o.grille.NbEssais[p] = static_cast<int>(v[p]);
            }
        } else if (nom == "--steps") {
            std::array<double, NbParamsEssai> v{};
            if (!LitSix(valeur, v)) {
                erreur = "--steps attend six incréments séparés par des virgules (E,H,A,V,I,M)";
                return false;
            }
            for (int p = 0; p < NbParamsEssai; ++p) {
                if (!(v[p] >= IncrementMin) || v[p] > 1e30) {
                    erreur = "--steps : \"" + valeur + "\", chaque incrément vaut au moins 0.01";
                    return false;
                }
                o.grille.Increment[p] = static_cast<float>(v[p]);
            }
        } else if (nom == "--bul") {
            if (valeur.empty()) {
                erreur = "l'option --bul attend un nom de fichier";
                return false;
            }
            o.bul = NomBul(valeur);
        } else {
            long long n = 0;
            if (!LitEntier(valeur, n) || n < 1 || n > kNbThreadsMaxDifficulte) {
                erreur = "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMaxDifficulte);
                return false;
            }
            o.nbThreads = static_cast<int>(n);
        }
    }
    return true;
}

TQueueDegres QueueDepuisSimu(const TBillardVelmora& simu) { return QueueDegres(simu.ParamQueue()); }
