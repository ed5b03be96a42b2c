#include "cli/OptionsTir.h"

#include "cli/TableOptions.h"
#include "jeu/PackEntrainement.h"

const char* const kAideOptionsTir =
    "options :\n"
    "  --fsk FICHIER.fsk      paramètres physiques (sinon ceux d'usine, ou le FisikFile du fichier de\n"
    "                         positions quand il nomme un fichier existant)\n"
    "  --mode MODE            règle de validation du point : 3bandes (par défaut), 1bande ou libre\n"
    "  --export SORTIE.pvr    écrit toutes les photos : une ligne par photo, 32 champs séparés par des\n"
    "                         tabulations (temps, type de choc, puis pour les billes joueur, non joueur\n"
    "                         et rouge : mouvement, position, vitesse, rotation), point décimal\n"
    "  --json                 résultat en un objet JSON :\n"
    "                         {\"outcome\": \"...\", \"point\": bool, \"miscue\": bool, \"photos\": N, "
    "\"time\": s}\n"
    "  --help                 cette aide\n\n"
    "sortie : une ligne, le résultat (\"fausse queue\", \"réussi\" ou \"manqué\") puis photos=N t=SECONDES\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire, 2 erreur d'usage\n";

bool LitOptionsTir(const std::vector<std::string>& args, TOptionsTir& options, std::string& erreur) {
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur,
         OptionNonVide(options.fsk, "l'option --fsk attend une valeur non vide")},
        {"--export", TGenreOption::Valeur,
         OptionNonVide(options.exportPvr, "l'option --export attend une valeur non vide")},
        {"--mode", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string& erreur) {
             if (const auto mode = ModeJeuDepuisMot(valeur)) {
                 options.mode = *mode;
                 return true;
             }
             erreur = "mode inconnu \"" + valeur + "\" (3bandes, 1bande ou libre)";
             return false;
         }},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(options.json)},
    };
    const auto fichier = [&](const std::string& nom, std::string& erreur) {
        if (!options.fichier.empty()) {
            erreur = "un seul fichier attendu, \"" + nom + "\" est de trop";
            return false;
        }
        options.fichier = nom;
        return true;
    };
    if (!LitOptionsCli(args, table, fichier, erreur)) return false;
    if (options.fichier.empty()) {
        erreur = "fichier manquant";
        return false;
    }
    return true;
}
