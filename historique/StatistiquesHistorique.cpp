// Statistics of the history database, JSON and CSV.
#include "historique/StatistiquesHistorique.h"

#include <sqlite3.h>

#include <ctime>

#include "fichiers/ChaineJson.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/NombresIni.h"
#include "historique/RequeteSql.h"

namespace {

// the player's row number; 0 for every player; nullopt for a name nobody has
std::optional<std::int64_t> IdFiltre(sqlite3* base, const std::string& joueur) {
    if (joueur.empty()) return 0;
    TRequete r(base, "SELECT id FROM joueurs WHERE nom = ?");
    r.Lie(1, joueur);
    if (!r.Ligne()) return std::nullopt;
    return r.Entier(0);
}

// the player's id in the open history (0: every player); nullopt with the reason when the history
// is closed or the player unknown. The caller holds the history's lock and catches TErreurSql.
std::optional<std::int64_t> FiltreJoueur(TBaseHistorique& base, const std::string& joueur,
                                         std::string* erreur) {
    if (!base.Connexion()) {
        if (erreur) *erreur = "historique fermé";
        return std::nullopt;
    }
    const auto id = IdFiltre(base.Connexion(), joueur);
    if (!id && erreur) *erreur = "joueur inconnu \"" + joueur + "\"";
    return id;
}

// count, made, mean robustness of the made shots: columns 0, 1, 2 onwards from `premiere`
TCompteTentatives Compte(const TRequete& r, int premiere) {
    return {r.Entier(premiere), r.Entier(premiere + 1), r.ReelOuRien(premiere + 2)};
}

constexpr const char* kComptes =
    "count(*), coalesce(sum(t.reussi), 0), avg(CASE WHEN t.reussi THEN t.robustesse END)";

std::vector<TPeriode> Periodes(sqlite3* base, std::int64_t joueur, const char* periode) {
    const std::string sql = std::string("SELECT ") + periode + " AS d, " + kComptes +
                            " FROM tentatives t WHERE (?1 = 0 OR t.joueur_id = ?1) GROUP BY d ORDER BY d";
    TRequete r(base, sql.c_str());
    r.Lie(1, joueur);
    std::vector<TPeriode> v;
    while (r.Ligne()) v.push_back({r.Texte(0), Compte(r, 1)});
    return v;
}

std::vector<TLigneExercice> Exercices(sqlite3* base, std::int64_t joueur) {
    const std::string sql =
        std::string("SELECT e.titre, e.empreinte, ") + kComptes +
        ", max(CASE WHEN t.reussi THEN t.robustesse END), max(t.meilleur_taux) FROM tentatives t "
        "JOIN exercices e ON e.id = t.exercice_id WHERE (?1 = 0 OR t.joueur_id = ?1) GROUP BY e.id "
        "ORDER BY 1.0 * sum(t.reussi) / count(*), coalesce(max(CASE WHEN t.reussi THEN t.robustesse END), "
        "0), "
        "e.titre";
    TRequete r(base, sql.c_str());
    r.Lie(1, joueur);
    std::vector<TLigneExercice> v;
    while (r.Ligne()) v.push_back({r.Texte(0), r.Texte(1), Compte(r, 2), r.ReelOuRien(5), r.ReelOuRien(6)});
    return v;
}

std::vector<TLignePartie> Parties(sqlite3* base, std::int64_t joueur) {
    TRequete r(
        base,
        "SELECT p.id, p.debut, a.nom, b.nom, p.points_a, p.reprises_a, p.meilleure_serie_a, p.points_b, "
        "p.reprises_b, p.meilleure_serie_b, p.distance, p.etat FROM parties p "
        "JOIN joueurs a ON a.id = p.joueur_a JOIN joueurs b ON b.id = p.joueur_b "
        "WHERE (?1 = 0 OR p.joueur_a = ?1 OR p.joueur_b = ?1) ORDER BY p.debut, p.id");
    r.Lie(1, joueur);
    std::vector<TLignePartie> v;
    while (r.Ligne()) {
        TLignePartie p;
        p.Id = r.Entier(0);
        p.Debut = r.Entier(1);
        for (int j = 0; j < 2; ++j) {
            p.Joueurs[j] = r.Texte(2 + j);
            p.Points[j] = int(r.Entier(4 + 3 * j));
            p.Reprises[j] = int(r.Entier(5 + 3 * j));
            p.MeilleureSerie[j] = int(r.Entier(6 + 3 * j));
        }
        p.Distance = int(r.Entier(10));
        p.Etat = int(r.Entier(11));
        v.push_back(p);
    }
    return v;
}

std::string Nombre(std::optional<double> v) { return v ? FormatReel(*v) : "null"; }

std::string JsonCompte(const TCompteTentatives& c) {
    return "\"attempts\": " + std::to_string(c.Tentatives) + ", \"made\": " + std::to_string(c.Reussies) +
           ", \"success_rate\": " + FormatReel(c.Taux()) +
           ", \"mean_robustness_made\": " + Nombre(c.RobustesseReussies);
}

std::string JsonPeriodes(const std::vector<TPeriode>& v) {
    std::string t = "[";
    for (size_t i = 0; i < v.size(); ++i)
        t += std::string(i ? ", " : "") + "{\"start\": " + JsonChaine(v[i].Debut) + ", " +
             JsonCompte(v[i].Compte) + "}";
    return t + "]";
}

std::string JsonPartie(const TLignePartie& p) {
    std::string t = "{\"id\": " + std::to_string(p.Id) + ", \"start\": " + std::to_string(p.Debut) +
                    ", \"distance\": " + std::to_string(p.Distance) + ", \"state\": " +
                    JsonChaine(p.Etat == 0   ? "en cours"
                               : p.Etat == 1 ? "finie"
                                             : "abandonnée") +
                    ", \"players\": [";
    for (int j = 0; j < 2; ++j)
        t += std::string(j ? ", " : "") + "{\"name\": " + JsonChaine(p.Joueurs[j]) +
             ", \"points\": " + std::to_string(p.Points[j]) +
             ", \"innings\": " + std::to_string(p.Reprises[j]) +
             ", \"best_series\": " + std::to_string(p.MeilleureSerie[j]) +
             ", \"average\": " + FormatReel(p.Moyenne(j)) + "}";
    return t + "]}";
}

// a CSV field: quoted when it holds a separator, a quote or a line end
std::string ChampCsv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string t = "\"";
    for (char c : s) t += c == '"' ? std::string("\"\"") : std::string(1, c);
    return t + "\"";
}

std::string DateIso(std::int64_t secondes) {
    const std::time_t t = secondes;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char s[32];
    std::strftime(s, sizeof s, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return s;
}

}  // namespace

bool LitStatistiques(TBaseHistorique& base, const std::string& joueur, TStatistiques& stats,
                     std::string* erreur) {
    const std::lock_guard verrou(base.Verrou());
    try {
        const auto id = FiltreJoueur(base, joueur, erreur);
        if (!id) return false;
        sqlite3* b = base.Connexion();
        TStatistiques s;
        s.Joueur = joueur;
        const std::string total =
            std::string("SELECT ") + kComptes + " FROM tentatives t WHERE (?1 = 0 OR t.joueur_id = ?1)";
        TRequete r(b, total.c_str());
        r.Lie(1, *id);
        if (r.Ligne()) s.Total = Compte(r, 0);
        s.Exercices = Exercices(b, *id);
        s.Jours = Periodes(b, *id, "date(t.quand, 'unixepoch', 'localtime')");
        s.Semaines = Periodes(b, *id, "date(t.quand, 'unixepoch', 'localtime', 'weekday 0', '-6 days')");
        s.Parties = Parties(b, *id);
        stats = std::move(s);
        return true;
    } catch (const TErreurSql& e) {
        if (erreur) *erreur = e.what();
        return false;
    }
}

std::string JsonStatistiques(const TStatistiques& s) {
    std::string t = "{\"player\": " + (s.Joueur.empty() ? std::string("null") : JsonChaine(s.Joueur)) + ", " +
                    JsonCompte(s.Total) + ", \"drills\": [";
    for (size_t i = 0; i < s.Exercices.size(); ++i) {
        const TLigneExercice& e = s.Exercices[i];
        t += std::string(i ? ", " : "") + "{\"title\": " + JsonChaine(e.Titre) +
             ", \"digest\": " + JsonChaine(e.Empreinte) + ", " + JsonCompte(e.Compte) +
             ", \"best_robustness\": " + Nombre(e.MeilleureRobustesse) +
             ", \"best_route_rate\": " + Nombre(e.MeilleurTaux) + "}";
    }
    t += "], \"days\": " + JsonPeriodes(s.Jours) + ", \"weeks\": " + JsonPeriodes(s.Semaines) +
         ", \"matches\": [";
    for (size_t i = 0; i < s.Parties.size(); ++i) t += std::string(i ? ", " : "") + JsonPartie(s.Parties[i]);
    return t + "]}";
}

std::vector<std::string> JoueursHistorique(TBaseHistorique& base) {
    const std::lock_guard verrou(base.Verrou());
    std::vector<std::string> v;
    if (!base.Connexion()) return v;
    try {
        TRequete r(base.Connexion(), "SELECT nom FROM joueurs ORDER BY nom");
        while (r.Ligne()) v.push_back(r.Texte(0));
    } catch (const TErreurSql&) {
    }
    return v;
}

bool ExporteTentativesCsv(TBaseHistorique& base, const std::string& joueur, const std::string& fichier,
                          std::string* erreur) {
    std::string texte =
        "id,date,joueur,exercice,partie,mode,effet,hauteur,visee,vitesse,inclinaison,masse,reussi,fausse_"
        "queue,"
        "robustesse,essais,meilleur_taux,meilleure_route,contacts,billes\n";
    {
        const std::lock_guard verrou(base.Verrou());
        try {
            const auto id = FiltreJoueur(base, joueur, erreur);
            if (!id) return false;
            sqlite3* b = base.Connexion();
            TRequete r(
                b,
                "SELECT t.id, t.quand, j.nom, coalesce(e.titre, ''), coalesce(t.partie_id, ''), t.mode, "
                "t.effet, t.hauteur, t.visee, t.vitesse, t.inclinaison, t.masse, t.reussi, t.fausse_queue, "
                "t.robustesse, t.essais, t.meilleur_taux, coalesce(t.meilleure_route, ''), "
                "coalesce(t.contacts, ''), t.billes FROM tentatives t JOIN joueurs j ON j.id = t.joueur_id "
                "LEFT JOIN exercices e ON e.id = t.exercice_id WHERE (?1 = 0 OR t.joueur_id = ?1) "
                "ORDER BY t.quand, t.id");
            r.Lie(1, *id);
            while (r.Ligne()) {
                std::string ligne = std::to_string(r.Entier(0)) + "," + DateIso(r.Entier(1)) + "," +
                                    ChampCsv(r.Texte(2)) + "," + ChampCsv(r.Texte(3)) + "," + r.Texte(4) +
                                    "," + MotModeJeu(TModeDeJeu(r.Entier(5)));
                for (int c = 6; c <= 11; ++c) ligne += "," + FormatReel(r.Reel(c));
                ligne += "," + std::to_string(r.Entier(12)) + "," + std::to_string(r.Entier(13));
                for (int c = 14; c <= 16; ++c)
                    ligne += "," + (r.Nul(c)  ? std::string()
                                    : c == 15 ? std::to_string(r.Entier(c))
                                              : FormatReel(r.Reel(c)));
                ligne += "," + ChampCsv(r.Texte(17)) + "," + r.Texte(18) + "," + r.Texte(19) + "\n";
                texte += ligne;
            }
        } catch (const TErreurSql& e) {
            if (erreur) *erreur = e.what();
            return false;
        }
    }
    return EcritFichierAtomique(fichier, texte, erreur);
}
