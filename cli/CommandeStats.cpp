// velmora-sim stats: what the history database says of the attempts, drills and matches.
#include <ctime>
#include <filesystem>
#include <ostream>

#include "cli/Commandes.h"
#include "cli/EntreesSorties.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
#include "historique/StatistiquesHistorique.h"

namespace {

struct TOptionsStats {
    std::string base;
    std::string joueur;
    std::string exportCsv;
    bool json = false;
};

bool LitOptions(const std::vector<std::string>& args, TOptionsStats& o, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--db", TGenreOption::Valeur, OptionNonVide(o.base, "l'option --db attend un fichier")},
        {"--player", TGenreOption::Valeur, OptionNonVide(o.joueur, "l'option --player attend un nom")},
        {"--export", TGenreOption::Valeur,
         OptionNonVide(o.exportCsv, "l'option --export attend un fichier .csv")},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(o.json)},
    };
    const auto positionnel = [](const std::string& a, std::string* e) {
        return Refuse(e, "argument inattendu \"" + a + "\"");
    };
    if (!LitOptionsCli(args, table, positionnel, erreur)) return false;
    if (o.base.empty()) o.base = CheminHistoriqueParDefaut();
    return true;
}

std::string Pourcent(double x) { return Fixe(100 * x, 1) + " %"; }
std::string Pourcent(std::optional<double> x) { return x ? Pourcent(*x) : std::string("non mesurée"); }

std::string Date(std::int64_t secondes) {
    const std::time_t t = secondes;
    std::tm tm{};
    localtime_r(&t, &tm);
    char s[16];
    std::strftime(s, sizeof s, "%Y-%m-%d", &tm);
    return s;
}

void Compte(std::ostream& out, const TCompteTentatives& c) {
    out << c.Tentatives << " tentatives, " << Pourcent(c.Taux())
        << " réussies, robustesse moyenne des coups réussis " << Pourcent(c.RobustesseReussies);
}

void Texte(std::ostream& out, const TStatistiques& s) {
    out << "joueur : " << (s.Joueur.empty() ? "tous les joueurs" : s.Joueur) << "\n";
    Compte(out, s.Total);
    out << "\n";
    if (!s.Exercices.empty()) out << "\npar exercice (à retravailler d'abord) :\n";
    for (const TLigneExercice& e : s.Exercices) {
        out << "  " << e.Titre << " : ";
        Compte(out, e.Compte);
        out << ", meilleure robustesse " << Pourcent(e.MeilleureRobustesse) << ", meilleure route "
            << Pourcent(e.MeilleurTaux) << "\n";
    }
    if (!s.Semaines.empty()) out << "\npar semaine (du lundi) :\n";
    for (const TPeriode& p : s.Semaines) {
        out << "  " << p.Debut << " : ";
        Compte(out, p.Compte);
        out << "\n";
    }
    if (!s.Parties.empty()) out << "\nparties (moyenne générale = points / reprises) :\n";
    for (const TLignePartie& p : s.Parties) {
        out << "  " << Date(p.Debut) << " en " << p.Distance << " points";
        for (int j = 0; j < 2; ++j)
            out << (j ? " ; " : " : ") << p.Joueurs[j] << " " << p.Points[j] << " en " << p.Reprises[j]
                << " reprises, moyenne " << Fixe(p.Moyenne(j), 3) << ", meilleure série "
                << p.MeilleureSerie[j];
        out << (p.Etat == 0 ? " (en cours)" : p.Etat == 2 ? " (abandonnée)" : "") << "\n";
    }
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsStats o;
    std::string erreur;
    // the export never replaces the database it reads, nor its journal
    if (!LitOptions(args, o, &erreur) ||
        (!o.exportCsv.empty() &&
         !SortieDistincte(o.exportCsv, {o.base, o.base + "-wal", o.base + "-shm", o.base + "-journal"},
                          &erreur))) {
        err << "velmora-sim stats : " << erreur << " (velmora-sim stats --help pour l'aide)\n";
        return kErreurUsage;
    }
    // reading never creates a database
    std::error_code ec;
    if (!std::filesystem::exists(o.base, ec)) {
        err << "velmora-sim : aucun historique " << o.base
            << " (le programme le crée au premier coup joué)\n";
        return kErreurFichier;
    }
    TBaseHistorique base;
    if (!base.Ouvre(o.base, &erreur)) {
        err << "velmora-sim : " << erreur << "\n";
        return kErreurFichier;
    }
    if (!o.exportCsv.empty()) {
        if (!ExporteTentativesCsv(base, o.joueur, o.exportCsv, &erreur)) {
            err << "velmora-sim : export impossible, " << erreur << "\n";
            return kErreurFichier;
        }
        if (!o.json) out << "tentatives exportées dans " << o.exportCsv << "\n";
    }
    TStatistiques s;
    if (!LitStatistiques(base, o.joueur, s, &erreur)) {
        err << "velmora-sim : " << erreur << "\n";
        return kErreurFichier;
    }
    if (o.json)
        out << JsonStatistiques(s) << "\n";
    else if (o.exportCsv.empty())
        Texte(out, s);
    return out.good() ? kSucces : kErreurFichier;
}

const std::string kAide =
    "usage : velmora-sim stats [--db FICHIER] [--player NOM] [--json] [--export TENTATIVES.csv]\n\n"
    "Lit l'historique des coups (la base SQLite où le programme range chaque tentative, exercice et\n"
    "partie) : taux de réussite, robustesse moyenne des coups réussis (taux de réussite de la grille\n"
    "d'évaluation de la difficulté autour du coup joué), par exercice (les plus faibles d'abord), par\n"
    "semaine, et la moyenne générale (points / reprises) de chaque partie. La base n'est jamais créée ni\n"
    "modifiée, sauf mise à jour de son schéma quand elle vient d'une version antérieure.\n\n"
    "options :\n"
    "  --db FICHIER           la base (par défaut ~/.local/share/Velmora3D/historique.sqlite, ou sous\n"
    "                         $XDG_DATA_HOME)\n"
    "  --player NOM           les tentatives et parties de ce joueur seulement\n"
    "  --json                 un objet JSON : {\"player\", \"attempts\", \"made\", \"success_rate\",\n"
    "                         \"mean_robustness_made\", \"drills\": [...], \"days\": [...], \"weeks\": "
    "[...],\n"
    "                         \"matches\": [...]} (taux de 0 à 1)\n"
    "  --export FICHIER.csv   écrit chaque tentative (date, joueur, exercice, valeurs de queue, résultat,\n"
    "                         robustesse, meilleure route) dans ce fichier CSV, séparateur \",\" ;\n"
    "                         jamais la base lue ni son journal (refusé, statut 2)\n"
    "  --help                 cette aide\n\n"
    "statut : 0 succès, 1 base absente, refusée (corrompue ou d'un autre programme) ou export impossible,\n"
    "joueur inconnu, 2 erreur d'usage\n";

const TEnregistreCommande enregistre({"stats",
                                      "taux de réussite, robustesse et moyennes de l'historique des coups",
                                      kAide.c_str(), 75, &Execute});

}  // namespace
