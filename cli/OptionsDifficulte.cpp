#include "cli/OptionsDifficulte.h"

#include <cmath>
#include <functional>
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

// six numbers "E,H,A,V,I,M", each one valid; false with the message naming the option
bool LitSixValides(const std::string& valeur, const char* option, const char* quoi,
                   const std::function<bool(double)>& valide, const std::string& raison,
                   std::array<double, NbParamsEssai>& v, std::string* erreur) {
    std::string message = option;
    if (!LitSix(valeur, v)) {
        message += std::string(" attend six ") + quoi + " séparés par des virgules (E,H,A,V,I,M)";
        return Refuse(erreur, message);
    }
    for (const double x : v) {
        if (valide(x)) continue;
        message += " : \"" + valeur;
        message += "\", " + raison;
        return Refuse(erreur, message);
    }
    return true;
}

}  // namespace

bool LitOptionsGrille(const std::vector<std::string>& args, TOptionsGrille& o,
                      std::vector<std::string>& reste, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--export", TGenreOption::Refusee, {}},
        {"--trials", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             std::array<double, NbParamsEssai> v{};
             const auto entier = [](double n) { return n >= 0 && n <= NbEssaisMax && n == std::floor(n); };
             if (!LitSixValides(valeur, "--trials", "nombres d'essais", entier,
                                "chaque nombre d'essais est un entier de 0 à " + std::to_string(NbEssaisMax),
                                v, erreur))
                 return false;
             for (int p = 0; p < NbParamsEssai; ++p) o.grille.NbEssais[p] = static_cast<int>(v[p]);
             return true;
         }},
        {"--steps", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             std::array<double, NbParamsEssai> v{};
             const auto increment = [](double d) { return d >= IncrementMin && d <= 1e30; };
             if (!LitSixValides(valeur, "--steps", "incréments", increment,
                                "chaque incrément vaut au moins 0.01", v, erreur))
                 return false;
             for (int p = 0; p < NbParamsEssai; ++p) o.grille.Increment[p] = static_cast<float>(v[p]);
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
