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
    "                         et rouge : mouvement, position, vitesse, rotation), point décimal ; ni le\n"
    "                         fichier joué ni celui des paramètres (refusé, statut 2)\n"
    "  --json                 résultat en un objet JSON :\n"
    "                         {\"outcome\": \"...\", \"point\": bool, \"miscue\": bool, \"photos\": N, "
    "\"time\": s}\n"
    "  --help                 cette aide\n\n"
    "sortie : une ligne, le résultat (\"fausse queue\", \"réussi\" ou \"manqué\") puis photos=N t=SECONDES\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire, 2 erreur d'usage\n";

bool LitOptionsTir(const std::vector<std::string>& args, TOptionsTir& options, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur,
         OptionNonVide(options.fsk, "l'option --fsk attend une valeur non vide")},
        {"--export", TGenreOption::Valeur,
         OptionNonVide(options.exportPvr, "l'option --export attend une valeur non vide")},
        {"--mode", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             if (const auto mode = ModeJeuDepuisMot(valeur)) {
                 options.mode = *mode;
                 return true;
             }
             return Refuse(erreur, "mode inconnu \"" + valeur + "\" (3bandes, 1bande ou libre)");
         }},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(options.json)},
    };
    if (!LitOptionsCli(args, table, PositionnelUnique(options.fichier, "fichier"), erreur)) return false;
    return !options.fichier.empty() || Refuse(erreur, "fichier manquant");
}
