#include "cli/OptionsTir.h"

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

namespace {

bool LitMode(const std::string& texte, TModeDeJeu& mode) {
    if (texte == "3bandes") {
        mode = j3Bandes;
    } else if (texte == "1bande") {
        mode = j1Bande;
    } else if (texte == "libre") {
        mode = jLibre;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool LitOptionsTir(const std::vector<std::string>& args, TOptionsTir& options, std::string& erreur) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string nom = args[i];
        std::string valeur;
        bool avecValeur = false;
        // "--option=valeur" as well as "--option valeur"
        if (nom.rfind("--", 0) == 0) {
            const size_t egal = nom.find('=');
            if (egal != std::string::npos) {
                valeur = nom.substr(egal + 1);
                nom.resize(egal);
                avecValeur = true;
            }
        }
        const bool attendValeur = nom == "--fsk" || nom == "--mode" || nom == "--export";
        if (attendValeur && !avecValeur) {
            if (i + 1 >= args.size()) {
                erreur = "l'option " + nom + " attend une valeur";
                return false;
            }
            valeur = args[++i];
        } else if (!attendValeur && avecValeur) {
            erreur = "l'option " + nom + " ne prend pas de valeur";
            return false;
        }

        if (nom == "--fsk") {
            options.fsk = valeur;
        } else if (nom == "--export") {
            options.exportPvr = valeur;
        } else if (nom == "--mode") {
            if (!LitMode(valeur, options.mode)) {
                erreur = "mode inconnu \"" + valeur + "\" (3bandes, 1bande ou libre)";
                return false;
            }
        } else if (nom == "--json") {
            options.json = true;
        } else if (nom.size() > 1 && nom[0] == '-') {
            erreur = "option inconnue " + nom;
            return false;
        } else if (options.fichier.empty()) {
            options.fichier = nom;
        } else {
            erreur = "un seul fichier attendu, \"" + nom + "\" est de trop";
            return false;
        }
        if (attendValeur && valeur.empty()) {
            erreur = "l'option " + nom + " attend une valeur non vide";
            return false;
        }
    }
    if (options.fichier.empty()) {
        erreur = "fichier manquant";
        return false;
    }
    return true;
}
