// Matches in the history database: started, shot by shot with their attempts, taken back, and
// the last unfinished one read back to resume it.
#include <sqlite3.h>

#include "historique/BaseHistorique.h"
#include "historique/RequeteSql.h"

namespace {

constexpr std::int64_t kEnCours = 0;
constexpr std::int64_t kFinie = 1;
constexpr std::int64_t kAbandonnee = 2;

template <class F>
bool Essaie(std::string* erreur, F&& f) {
    try {
        f();
        return true;
    } catch (const TErreurSql& e) {
        if (erreur) *erreur = e.what();
        return false;
    }
}

}  // namespace

std::optional<std::int64_t> TBaseHistorique::CommencePartie(const TPartieCarambole& partie,
                                                            std::int64_t quand, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return std::nullopt;
    std::int64_t id = 0;
    const bool ok = Essaie(erreur, [&] {
        TTransaction t(base_);
        const TReglesPartie& r = partie.Regles();
        TRequete q(base_,
                   "INSERT INTO parties (joueur_a, joueur_b, mode, distance, limite_reprises, egalisation, "
                   "depart, debut) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        q.Lie(1, IdJoueur(r.Joueurs[0])).Lie(2, IdJoueur(r.Joueurs[1])).Lie(3, std::int64_t(r.Mode));
        q.Lie(4, std::int64_t(r.Distance)).Lie(5, std::int64_t(r.LimiteReprises));
        q.Lie(6, std::int64_t(r.Egalisation)).Lie(7, TexteBilles(partie.Depart())).Lie(8, quand).Execute();
        id = sqlite3_last_insert_rowid(base_);
        t.Valide();
    });
    return ok ? std::optional<std::int64_t>(id) : std::nullopt;
}

// the totals and the innings of both players, and the state, as the match now stands
void TBaseHistorique::EcritScore(std::int64_t id, const TPartieCarambole& partie) {
    const TScoreJoueur& a = partie.Score(0);
    const TScoreJoueur& b = partie.Score(1);
    TRequete q(
        base_,
        "UPDATE parties SET points_a = ?, reprises_a = ?, meilleure_serie_a = ?, points_b = ?, "
        "reprises_b = ?, meilleure_serie_b = ?, etat = ?, fin = CASE WHEN ? THEN strftime('%s', 'now') "
        "END WHERE id = ?");
    q.Lie(1, std::int64_t(a.Points)).Lie(2, std::int64_t(a.Reprises)).Lie(3, std::int64_t(a.MeilleureSerie));
    q.Lie(4, std::int64_t(b.Points)).Lie(5, std::int64_t(b.Reprises)).Lie(6, std::int64_t(b.MeilleureSerie));
    q.Lie(7, partie.Finie() ? kFinie : kEnCours).Lie(8, std::int64_t(partie.Finie())).Lie(9, id).Execute();
    TRequete(base_, "DELETE FROM reprises WHERE partie_id = ?").Lie(1, id).Execute();
    TRequete r(base_, "INSERT INTO reprises (partie_id, joueur, numero, points) VALUES (?, ?, ?, ?)");
    for (int j = 0; j < 2; ++j) {
        const std::vector<int>& points = partie.PointsParReprise(j);
        for (size_t n = 0; n < points.size(); ++n) {
            r.Lie(1, id).Lie(2, std::int64_t(j)).Lie(3, std::int64_t(n + 1)).Lie(4, std::int64_t(points[n]));
            r.Execute();
            r.Recommence();
        }
    }
}

std::optional<std::int64_t> TBaseHistorique::EnregistreCoup(std::int64_t id, const TPartieCarambole& partie,
                                                            const TTentative& t, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_ || partie.Coups().empty()) return std::nullopt;
    std::int64_t tentative = 0;
    const bool ok = Essaie(erreur, [&] {
        TTransaction tr(base_);
        tentative = InsereTentative(t, id);
        const TCoupPartie& c = partie.Coups().back();
        TRequete q(base_,
                   "INSERT OR REPLACE INTO coups_partie (partie_id, numero, joueur, point, avant, apres, "
                   "tentative_id) VALUES (?, ?, ?, ?, ?, ?, ?)");
        q.Lie(1, id).Lie(2, std::int64_t(partie.Coups().size())).Lie(3, std::int64_t(c.Joueur));
        q.Lie(4, std::int64_t(c.Point)).Lie(5, TexteBilles(c.Avant)).Lie(6, TexteBilles(c.Apres));
        q.Lie(7, tentative).Execute();
        EcritScore(id, partie);
        tr.Valide();
    });
    return ok ? std::optional<std::int64_t>(tentative) : std::nullopt;
}

bool TBaseHistorique::AnnuleCoup(std::int64_t id, const TPartieCarambole& partie, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return false;
    return Essaie(erreur, [&] {
        TTransaction tr(base_);
        const auto n = std::int64_t(partie.Coups().size());
        // the stroke stays in the player's history, out of the match
        TRequete(base_,
                 "UPDATE tentatives SET partie_id = NULL WHERE id IN (SELECT tentative_id FROM coups_partie "
                 "WHERE partie_id = ? AND numero > ?)")
            .Lie(1, id)
            .Lie(2, n)
            .Execute();
        TRequete(base_, "DELETE FROM coups_partie WHERE partie_id = ? AND numero > ?")
            .Lie(1, id)
            .Lie(2, n)
            .Execute();
        EcritScore(id, partie);
        tr.Valide();
    });
}

bool TBaseHistorique::AbandonnePartie(std::int64_t id, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return false;
    return Essaie(erreur, [&] {
        TRequete(base_, "UPDATE parties SET etat = ?, fin = strftime('%s', 'now') WHERE id = ? AND etat = ?")
            .Lie(1, kAbandonnee)
            .Lie(2, id)
            .Lie(3, kEnCours)
            .Execute();
    });
}

std::optional<TPartieStockee> TBaseHistorique::PartieEnCours(std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return std::nullopt;
    std::optional<TPartieStockee> trouvee;
    Essaie(erreur, [&] {
        TRequete q(
            base_,
            "SELECT p.id, a.nom, b.nom, p.mode, p.distance, p.limite_reprises, p.egalisation, p.depart "
            "FROM parties p JOIN joueurs a ON a.id = p.joueur_a JOIN joueurs b ON b.id = p.joueur_b "
            "WHERE p.etat = 0 ORDER BY p.debut DESC, p.id DESC LIMIT 1");
        if (!q.Ligne()) return;
        TPartieStockee p;
        p.Id = q.Entier(0);
        p.Regles.Joueurs = {q.Texte(1), q.Texte(2)};
        p.Regles.Mode = TModeDeJeu(q.Entier(3));
        p.Regles.Distance = int(q.Entier(4));
        p.Regles.LimiteReprises = int(q.Entier(5));
        p.Regles.Egalisation = q.Entier(6) != 0;
        if (!LitBilles(q.Texte(7), p.Depart)) return;
        TRequete c(
            base_,
            "SELECT joueur, point, avant, apres FROM coups_partie WHERE partie_id = ? ORDER BY numero");
        c.Lie(1, p.Id);
        while (c.Ligne()) {
            TCoupPartie coup;
            coup.Joueur = int(c.Entier(0));
            coup.Point = c.Entier(1) != 0;
            if (!LitBilles(c.Texte(2), coup.Avant) || !LitBilles(c.Texte(3), coup.Apres)) return;
            p.Coups.push_back(coup);
        }
        trouvee = std::move(p);
    });
    return trouvee;
}
