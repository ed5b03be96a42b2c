// The solver's options on the command line, shared by "solve" and "batch solve".
#include "cli/OptionsSolve.h"

#include "cli/TableOptions.h"

namespace {

constexpr int kNbThreadsMax = 64;
constexpr long long kBudgetMax = 100'000'000;
constexpr int kRoutesMax = 100;

}  // namespace

bool LitOptionsSolve(const std::vector<std::string>& args, TOptionsSolve& o, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--massé", TGenreOption::Drapeau, OptionDrapeau(o.masse)},
        {"--masse", TGenreOption::Drapeau, OptionDrapeau(o.masse)},
        {"--export", TGenreOption::Refusee, {}},
        {"--top", TGenreOption::Valeur,
         OptionEntier(1, kRoutesMax, "--top attend un nombre de routes de 1 à " + std::to_string(kRoutesMax),
                      [&](long long n) { o.top = int(n); })},
        {"--budget", TGenreOption::Valeur,
         OptionEntier(1000, kBudgetMax,
                      "--budget attend un nombre de coups de 1000 à " + std::to_string(kBudgetMax),
                      [&](long long n) { o.budget = n; })},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, kNbThreadsMax, "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMax),
                      [&](long long n) { o.nbThreads = int(n); })},
        {"--save", TGenreOption::Valeur, OptionNonVide(o.dossier, "l'option --save attend un dossier")},
    };
    std::vector<std::string> reste;
    if (!PreleveOptionsCli(args, table, reste, erreur)) return false;
    return LitOptionsTir(reste, o.tir, erreur);
}
