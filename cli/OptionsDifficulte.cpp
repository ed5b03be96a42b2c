#include "cli/OptionsDifficulte.h"

#include <cmath>
#include <sstream>

#include "cli/TableOptions.h"
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

}  // namespace

bool LitOptionsGrille(const std::vector<std::string>& args, TOptionsGrille& o,
                      std::vector<std::string>& reste, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--export", TGenreOption::Refusee, {}},
        {"--trials", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             std::array<double, NbParamsEssai> v{};
             if (!LitSix(valeur, v))
                 return Refuse(erreur,
                               "--trials attend six nombres d'essais séparés par des virgules (E,H,A,V,I,M)");
             for (int p = 0; p < NbParamsEssai; ++p) {
                 if (v[p] < 0 || v[p] > NbEssaisMax || v[p] != std::floor(v[p]))
                     return Refuse(erreur, "--trials : \"" + valeur +
                                               "\", chaque nombre d'essais est un entier de 0 à " +
                                               std::to_string(NbEssaisMax));
                 o.grille.NbEssais[p] = static_cast<int>(v[p]);
             }
             return true;
         }},
        {"--steps", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             std::array<double, NbParamsEssai> v{};
             if (!LitSix(valeur, v))
                 return Refuse(erreur,
                               "--steps attend six incréments séparés par des virgules (E,H,A,V,I,M)");
             for (int p = 0; p < NbParamsEssai; ++p) {
                 if (!(v[p] >= IncrementMin) || v[p] > 1e30)
                     return Refuse(erreur,
                                   "--steps : \"" + valeur + "\", chaque incrément vaut au moins 0.01");
                 o.grille.Increment[p] = static_cast<float>(v[p]);
             }
             return true;
         }},
        {"--bul", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             if (valeur.empty()) return Refuse(erreur, "l'option --bul attend un nom de fichier");
             o.bul = NomBul(valeur);
             return true;
         }},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, kNbThreadsMaxDifficulte,
                      "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMaxDifficulte),
                      [&](long long n) { o.nbThreads = static_cast<int>(n); })},
    };
    return PreleveOptionsCli(args, table, reste, erreur);
}

TQueueDegres QueueDepuisSimu(const TBillardVelmora& simu) { return QueueDegres(simu.ParamQueue()); }
