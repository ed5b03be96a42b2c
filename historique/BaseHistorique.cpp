// The history database: opening (refusals, WAL, migrations), players, drills and attempts, and
// the cache of best routes.
#include "historique/BaseHistorique.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "fichiers/NombresIni.h"
#include "historique/MigrationsHistorique.h"
#include "historique/RequeteSql.h"

namespace {

namespace fs = std::filesystem;

// what SQLite's failures mean to the player
std::string RaisonSql(const TErreurSql& e) {
    switch (e.Code & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return "base de données corrompue (" + std::string(e.what()) + ")";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "base de données occupée par un autre programme (" + std::string(e.what()) + ")";
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return "écriture impossible (" + std::string(e.what()) + ")";
        case SQLITE_FULL:
            return "disque plein (" + std::string(e.what()) + ")";
        default:
            return e.what();
    }
}

// the first 16 bytes of every SQLite database
bool EnteteSqlite(const std::string& fichier) {
    char entete[16] = {};
    std::ifstream f(fichier, std::ios::binary);
    f.read(entete, sizeof entete);
    return f.gcount() == 16 && std::memcmp(entete, "SQLite format 3\0", 16) == 0;
}

}  // namespace

std::string CheminHistoriqueParDefaut() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path donnees;
    if (xdg && fs::path(xdg).is_absolute())
        donnees = xdg;
    else
        donnees = fs::path(home ? home : ".") / ".local" / "share";
    return (donnees / "Velmora3D" / "historique.sqlite").string();
}

std::string TexteBilles(const std::array<TCentreBille, 3>& billes) {
    std::string t;
    for (const TCentreBille& b : billes)
        for (float v : {b.x, b.y, b.z}) t += (t.empty() ? "" : " ") + FormatReel(v);
    return t;
}

bool LitBilles(const std::string& texte, std::array<TCentreBille, 3>& billes) {
    std::istringstream flux(texte);
    std::array<TCentreBille, 3> lues{};
    std::string mot;
    for (TCentreBille& b : lues) {
        for (float* v : {&b.x, &b.y, &b.z}) {
            if (!(flux >> mot)) return false;
            const auto r = LitReelTexte(mot);
            if (!r) return false;
            *v = float(*r);
        }
    }
    if (flux >> mot) return false;
    billes = lues;
    return true;
}

TBaseHistorique::~TBaseHistorique() { Ferme(); }

void TBaseHistorique::Ferme() {
    const std::lock_guard verrou(verrou_);
    if (base_) sqlite3_close_v2(base_);
    base_ = nullptr;
}

bool TBaseHistorique::Refuse(std::string* erreur, const std::string& raison) {
    if (base_) sqlite3_close_v2(base_);
    base_ = nullptr;
    if (erreur) *erreur = "historique " + fichier_ + " : " + raison;
    return false;
}

bool TBaseHistorique::Ouvre(const std::string& fichier, std::string* erreur) {
    Ferme();
    const std::lock_guard verrou(verrou_);
    fichier_ = fichier;
    std::error_code ec;
    const bool existait = fs::exists(fichier, ec) && fs::file_size(fichier, ec) > 0 && !ec;
    if (fs::exists(fichier, ec) && !fs::is_regular_file(fichier, ec))
        return Refuse(erreur, "ce n'est pas un fichier ordinaire");
    if (existait && !EnteteSqlite(fichier))
        return Refuse(erreur, "ce n'est pas une base de données SQLite ; le fichier est laissé tel quel");
    if (!existait && fs::path(fichier).has_parent_path())
        fs::create_directories(fs::path(fichier).parent_path(), ec);
    const int code = sqlite3_open_v2(
        fichier.c_str(), &base_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) return Refuse(erreur, RaisonSql(TErreurSql(sqlite3_errstr(code), code)));
    sqlite3_busy_timeout(base_, 10000);
    std::string raison;
    try {
        if (existait && !Verifie(raison)) return Refuse(erreur, raison + " ; le fichier est laissé tel quel");
        // switching to WAL may be refused while another instance switches it: try again
        for (int essai = 0;; ++essai) {
            try {
                TRequete wal(base_, "PRAGMA journal_mode=WAL");
                if (wal.Ligne() && wal.Texte(0) != "wal") return Refuse(erreur, "journal WAL impossible");
                break;
            } catch (const TErreurSql& e) {
                if ((e.Code & 0xff) != SQLITE_BUSY || essai > 200) throw;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        ExecuteSql(base_, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON");
        Migre();
    } catch (const TErreurSql& e) {
        return Refuse(erreur, RaisonSql(e));
    }
    return true;
}

bool TBaseHistorique::Verifie(std::string& raison) {
    const std::int64_t id = EntierSql(base_, "PRAGMA application_id");
    const std::int64_t tables = EntierSql(base_, "SELECT count(*) FROM sqlite_master");
    if (id != IdApplicationHistorique && !(id == 0 && tables == 0)) {
        raison = "base de données d'un autre programme";
        return false;
    }
    const std::int64_t version = EntierSql(base_, "PRAGMA user_version");
    if (version > VersionHistorique()) {
        raison =
            "base créée par une version plus récente du programme (version " + std::to_string(version) + ")";
        return false;
    }
    TRequete controle(base_, "PRAGMA quick_check");
    if (!controle.Ligne() || controle.Texte(0) != "ok") {
        raison = "base de données corrompue (" + controle.Texte(0) + ")";
        return false;
    }
    return true;
}

void TBaseHistorique::Migre() {
    // the version is read under the write lock: two instances never both migrate
    TTransaction t(base_);
    const std::int64_t version = EntierSql(base_, "PRAGMA user_version");
    const auto& migrations = MigrationsHistorique();
    for (size_t v = size_t(version); v < migrations.size(); ++v) ExecuteSql(base_, migrations[v]);
    if (version < std::int64_t(migrations.size()))
        ExecuteSql(base_, ("PRAGMA user_version = " + std::to_string(migrations.size())).c_str());
    t.Valide();
}

int TBaseHistorique::Version() const {
    const std::lock_guard verrou(verrou_);
    return base_ ? int(EntierSql(base_, "PRAGMA user_version")) : 0;
}

std::int64_t TBaseHistorique::IdJoueur(const std::string& nom) {
    TRequete(base_, "INSERT OR IGNORE INTO joueurs (nom) VALUES (?)").Lie(1, nom).Execute();
    TRequete r(base_, "SELECT id FROM joueurs WHERE nom = ?");
    r.Lie(1, nom);
    if (!r.Ligne()) throw TErreurSql("joueur introuvable", SQLITE_ERROR);
    return r.Entier(0);
}

bool TBaseHistorique::EnregistrePack(const TPackEntrainement& pack, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return false;
    try {
        TTransaction t(base_);
        TRequete p(base_,
                   "INSERT INTO packs (empreinte, titre, chemin) VALUES (?1, ?2, ?3) ON CONFLICT (empreinte) "
                   "DO UPDATE SET titre = ?2, chemin = ?3");
        p.Lie(1, pack.Empreinte()).Lie(2, pack.Titre).Lie(3, pack.Chemin).Execute();
        TRequete id(base_, "SELECT id FROM packs WHERE empreinte = ?");
        id.Lie(1, pack.Empreinte());
        id.Ligne();
        const std::int64_t idPack = id.Entier(0);
        TRequete e(base_,
                   "INSERT INTO exercices (empreinte, pack_id, titre, mode) VALUES (?1, ?2, ?3, ?4) "
                   "ON CONFLICT (empreinte) DO UPDATE SET pack_id = ?2, titre = ?3, mode = ?4");
        for (const TExercice& x : pack.Exercices) {
            e.Lie(1, x.Empreinte()).Lie(2, idPack).Lie(3, x.Titre).Lie(4, std::int64_t(x.Mode)).Execute();
            e.Recommence();
        }
        t.Valide();
        return true;
    } catch (const TErreurSql& x) {
        if (erreur) *erreur = RaisonSql(x);
        return false;
    }
}

std::int64_t TBaseHistorique::InsereTentative(const TTentative& t, std::int64_t partie) {
    std::optional<std::int64_t> exercice;
    if (!t.EmpreinteExercice.empty()) {
        TRequete(base_, "INSERT OR IGNORE INTO exercices (empreinte, titre, mode) VALUES (?1, ?1, ?2)")
            .Lie(1, t.EmpreinteExercice)
            .Lie(2, std::int64_t(t.Mode))
            .Execute();
        TRequete e(base_, "SELECT id FROM exercices WHERE empreinte = ?");
        e.Lie(1, t.EmpreinteExercice);
        if (e.Ligne()) exercice = e.Entier(0);
    }
    TRequete r(base_,
               "INSERT INTO tentatives (joueur_id, exercice_id, quand, mode, effet, hauteur, visee, vitesse, "
               "inclinaison, masse, billes, reussi, fausse_queue, partie_id) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    r.Lie(1, IdJoueur(t.Joueur));
    if (exercice) r.Lie(2, *exercice);
    r.Lie(3, t.Quand).Lie(4, std::int64_t(t.Mode));
    for (int i = 0; i < 6; ++i) r.Lie(5 + i, double(t.Queue.Valeur(i)));
    r.Lie(11, TexteBilles(t.Billes)).Lie(12, std::int64_t(t.Reussi)).Lie(13, std::int64_t(t.FausseQueue));
    if (partie > 0) r.Lie(14, partie);
    r.Execute();
    return sqlite3_last_insert_rowid(base_);
}

std::optional<std::int64_t> TBaseHistorique::AjouteTentative(const TTentative& t, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return std::nullopt;
    try {
        TTransaction tr(base_);
        const std::int64_t id = InsereTentative(t, 0);
        tr.Valide();
        return id;
    } catch (const TErreurSql& x) {
        if (erreur) *erreur = RaisonSql(x);
        return std::nullopt;
    }
}

bool TBaseHistorique::CompleteTentative(std::int64_t id, const TResultatAnalyse& a, std::string* erreur) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return false;
    try {
        std::string contacts;
        for (int c : a.Contacts) contacts += (contacts.empty() ? "" : " ") + std::to_string(c);
        TRequete r(base_,
                   "UPDATE tentatives SET contacts = ?, robustesse = ?, essais = ?, meilleur_taux = ?, "
                   "meilleure_route = ? WHERE id = ?");
        r.Lie(1, contacts);
        if (a.Essais > 0) r.Lie(2, a.Robustesse()).Lie(3, a.Essais);
        if (a.Meilleure && a.Meilleure->Essais > 0)
            r.Lie(4, a.Meilleure->Taux()).Lie(5, a.Meilleure->Libelle);
        r.Lie(6, id).Execute();
        return true;
    } catch (const TErreurSql& x) {
        if (erreur) *erreur = RaisonSql(x);
        return false;
    }
}

std::int64_t TBaseHistorique::NombreTentatives() {
    const std::lock_guard verrou(verrou_);
    return base_ ? EntierSql(base_, "SELECT count(*) FROM tentatives") : 0;
}

std::optional<TMeilleureRoute> TBaseHistorique::RouteEnCache(const std::string& empreinte) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return std::nullopt;
    try {
        TRequete r(base_, "SELECT libelle, queue, essais, reussis FROM cache_routes WHERE empreinte = ?");
        r.Lie(1, empreinte);
        if (!r.Ligne()) return std::nullopt;
        const auto queue = LitQueueTexte(r.Texte(1));
        if (!queue) return std::nullopt;
        return TMeilleureRoute{r.Texte(0), *queue, r.Entier(2), r.Entier(3)};
    } catch (const TErreurSql&) {
        return std::nullopt;
    }
}

void TBaseHistorique::RangeRoute(const std::string& empreinte, const TMeilleureRoute& route) {
    const std::lock_guard verrou(verrou_);
    if (!base_) return;
    try {
        TRequete(base_,
                 "INSERT OR REPLACE INTO cache_routes (empreinte, libelle, queue, essais, reussis, calcule) "
                 "VALUES (?, ?, ?, ?, ?, strftime('%s', 'now'))")
            .Lie(1, empreinte)
            .Lie(2, route.Libelle)
            .Lie(3, TexteQueue(route.Queue))
            .Lie(4, route.Essais)
            .Lie(5, route.Reussis)
            .Execute();
    } catch (const TErreurSql&) {
        // a cache that cannot be written only costs a new search next time
    }
}

std::optional<TMeilleureRoute> TCacheRoutesHistorique::Cherche(const std::string& empreinte) {
    return base_->RouteEnCache(empreinte);
}

void TCacheRoutesHistorique::Range(const std::string& empreinte, const TMeilleureRoute& route) {
    base_->RangeRoute(empreinte, route);
}
