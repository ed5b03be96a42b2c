// The history database: created at the current version, migrated from version 1, never writing
// over a file that is not ours, every attempt kept through a kill -9 and two writers at once,
// matches resumed as they were.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "historique/BaseHistorique.h"
#include "historique/MigrationsHistorique.h"
#include "tests/support/DossierDeTest.h"

namespace {

class BaseHistorique : public TestAvecDossier {
protected:
    BaseHistorique() : TestAvecDossier("velmora-historique") {}
    std::string Base() const { return Chemin("historique.sqlite"); }
};

TTentative Tentative(const std::string& joueur, bool reussi, std::int64_t quand = 1'700'000'000) {
    TTentative t;
    t.Joueur = joueur;
    t.Quand = quand;
    t.Queue = {0.62f, 1.17f, 99.14f, 430, 3, 520};
    t.Billes = {TCentreBille{18.25f, -71.125f, 3.075f}, TCentreBille{0, -71.125f, 3.075f},
                TCentreBille{0, 71.125f, 3.075f}};
    t.Reussi = reussi;
    return t;
}

// a value read straight from the file with SQLite, without our layer
std::string Sql(const std::string& fichier, const std::string& requete) {
    sqlite3* b = nullptr;
    sqlite3_open_v2(fichier.c_str(), &b, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    std::string v;
    if (sqlite3_prepare_v2(b, requete.c_str(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
        const auto* t = sqlite3_column_text(s, 0);
        v = t ? reinterpret_cast<const char*>(t) : "NULL";
    }
    sqlite3_finalize(s);
    sqlite3_close(b);
    return v;
}

// version 1 exactly as it shipped: the migrations must bring such a file up without losing a row
constexpr const char* kSchemaVersion1 = R"sql(
PRAGMA application_id = 1447382093;
CREATE TABLE joueurs (id INTEGER PRIMARY KEY, nom TEXT NOT NULL UNIQUE COLLATE NOCASE);
CREATE TABLE packs (id INTEGER PRIMARY KEY, empreinte TEXT NOT NULL UNIQUE, titre TEXT NOT NULL, chemin TEXT NOT NULL);
CREATE TABLE exercices (id INTEGER PRIMARY KEY, empreinte TEXT NOT NULL UNIQUE, pack_id INTEGER REFERENCES packs(id),
  titre TEXT NOT NULL, mode INTEGER NOT NULL);
CREATE TABLE tentatives (id INTEGER PRIMARY KEY, joueur_id INTEGER NOT NULL REFERENCES joueurs(id),
  exercice_id INTEGER REFERENCES exercices(id), quand INTEGER NOT NULL, mode INTEGER NOT NULL,
  effet REAL NOT NULL, hauteur REAL NOT NULL, visee REAL NOT NULL, vitesse REAL NOT NULL, inclinaison REAL NOT NULL,
  masse REAL NOT NULL, billes TEXT NOT NULL, reussi INTEGER NOT NULL, fausse_queue INTEGER NOT NULL);
INSERT INTO joueurs (nom) VALUES ('Anne');
INSERT INTO exercices (empreinte, titre, mode) VALUES ('0123456789abcdef', 'Ancien exercice', 2);
INSERT INTO tentatives (joueur_id, exercice_id, quand, mode, effet, hauteur, visee, vitesse, inclinaison, masse,
  billes, reussi, fausse_queue) VALUES (1, 1, 1600000000, 2, 0.5, 1, 90, 400, 3, 520, '0 0 3 1 1 3 2 2 3', 1, 0);
PRAGMA user_version = 1;
)sql";

}  // namespace

TEST_F(BaseHistorique, ANewDatabaseIsOursAtTheCurrentVersionInWalMode) {
    TBaseHistorique base;
    std::string erreur;
    ASSERT_TRUE(base.Ouvre(Chemin("dossier/neuf/historique.sqlite"), &erreur)) << erreur;
    EXPECT_EQ(base.Version(), VersionHistorique());
    ASSERT_TRUE(base.AjouteTentative(Tentative("Anne", true)));
    base.Ferme();
    const std::string f = Chemin("dossier/neuf/historique.sqlite");
    EXPECT_EQ(Sql(f, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(Sql(f, "PRAGMA application_id"), std::to_string(IdApplicationHistorique));
    // opened again: nothing migrated twice, the attempt there
    ASSERT_TRUE(base.Ouvre(f, &erreur)) << erreur;
    EXPECT_EQ(base.NombreTentatives(), 1);
}

TEST_F(BaseHistorique, ADatabaseOfVersionOneOpensAfterMigrationWithItsAttempts) {
    sqlite3* b = nullptr;
    ASSERT_EQ(sqlite3_open(Base().c_str(), &b), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(b, kSchemaVersion1, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(b);

    TBaseHistorique base;
    std::string erreur;
    ASSERT_TRUE(base.Ouvre(Base(), &erreur)) << erreur;
    EXPECT_EQ(base.Version(), VersionHistorique());
    EXPECT_EQ(base.NombreTentatives(), 1);
    // the columns and tables of the later versions work on the old rows
    TResultatAnalyse a;
    a.Essais = 100;
    a.Reussis = 25;
    a.Meilleure = TMeilleureRoute{"Rouge · longue · courte · longue · Jaune", {}, 200, 80};
    EXPECT_TRUE(base.CompleteTentative(1, a, &erreur)) << erreur;
    TPartieCarambole partie(TReglesPartie{}, Tentative("x", false).Billes);
    EXPECT_TRUE(base.CommencePartie(partie, 1'600'000'100, &erreur)) << erreur;
    base.Ferme();
    EXPECT_EQ(Sql(Base(), "SELECT robustesse FROM tentatives WHERE id = 1"), "0.25");
    EXPECT_EQ(Sql(Base(), "SELECT titre FROM exercices"), "Ancien exercice");
}

TEST_F(BaseHistorique, AFileThatIsNotOurDatabaseIsRefusedAndLeftUntouched) {
    TBaseHistorique base;
    const auto refuse = [&](const std::string& nom, const std::string& attendu) {
        const std::string avant = LitFichierEntier(Chemin(nom));
        std::string erreur;
        EXPECT_FALSE(base.Ouvre(Chemin(nom), &erreur)) << nom;
        EXPECT_NE(erreur.find(attendu), std::string::npos) << erreur;
        EXPECT_NE(erreur.find(Chemin(nom)), std::string::npos) << erreur;
        EXPECT_EQ(LitFichierEntier(Chemin(nom)), avant) << nom;
        EXPECT_FALSE(std::filesystem::exists(Chemin(nom) + "-wal")) << nom;
        // without history the program goes on: writes are refused, nothing crashes
        EXPECT_FALSE(base.Ouverte());
        EXPECT_FALSE(base.AjouteTentative(Tentative("Anne", true)));
    };
    std::ofstream(Chemin("texte.sqlite")) << "[Entrainement]\nTitre=pas une base\n";
    refuse("texte.sqlite", "pas une base de données SQLite");

    // a real database cut in two: its pages no longer hold together
    {
        TBaseHistorique pleine;
        ASSERT_TRUE(pleine.Ouvre(Chemin("coupee.sqlite")));
        for (int i = 0; i < 300; ++i) pleine.AjouteTentative(Tentative("Joueur " + std::to_string(i), i % 2));
    }
    std::string octets = LitFichierEntier(Chemin("coupee.sqlite"));
    ASSERT_GT(octets.size(), 8192u);
    for (size_t i = 4096 + 100; i < 8192; ++i) octets[i] = char(0xA5);
    std::ofstream(Chemin("coupee.sqlite"), std::ios::binary | std::ios::trunc) << octets;
    refuse("coupee.sqlite", "corrompue");

    // another program's database
    sqlite3* b = nullptr;
    sqlite3_open(Chemin("autre.sqlite").c_str(), &b);
    sqlite3_exec(b, "CREATE TABLE clients (nom TEXT); INSERT INTO clients VALUES ('x');", nullptr, nullptr,
                 nullptr);
    sqlite3_close(b);
    refuse("autre.sqlite", "autre programme");

    // ours, from a later version of the program
    sqlite3_open(Chemin("future.sqlite").c_str(), &b);
    sqlite3_exec(b, "PRAGMA application_id = 1447382093; CREATE TABLE t (x); PRAGMA user_version = 99;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(b);
    refuse("future.sqlite", "version plus récente");
}

TEST_F(BaseHistorique, AnAttemptCommittedSurvivesAKillRightAfter) {
    const pid_t fils = ::fork();
    ASSERT_GE(fils, 0);
    if (fils == 0) {
        TBaseHistorique base;
        if (!base.Ouvre(Base())) ::_exit(3);
        TTentative t = Tentative("Anne", true);
        t.Queue.Visee = 123.5f;
        if (!base.AjouteTentative(t)) ::_exit(4);
        // killed with the database open: no close, no checkpoint
        ::raise(SIGKILL);
        ::_exit(5);
    }
    int statut = 0;
    ASSERT_EQ(::waitpid(fils, &statut, 0), fils);
    ASSERT_TRUE(WIFSIGNALED(statut)) << "exit " << WEXITSTATUS(statut);
    EXPECT_EQ(WTERMSIG(statut), SIGKILL);
    TBaseHistorique base;
    std::string erreur;
    ASSERT_TRUE(base.Ouvre(Base(), &erreur)) << erreur;
    EXPECT_EQ(base.NombreTentatives(), 1);
    base.Ferme();
    EXPECT_EQ(Sql(Base(), "SELECT visee FROM tentatives"), "123.5");
}

TEST_F(BaseHistorique, TwoInstancesWritingAtOnceLoseNoAttempt) {
    constexpr int kParInstance = 120;
    pid_t fils[2];
    for (int f = 0; f < 2; ++f) {
        fils[f] = ::fork();
        ASSERT_GE(fils[f], 0);
        if (fils[f] == 0) {
            // both create the file and migrate it at the same moment, then write
            TBaseHistorique base;
            if (!base.Ouvre(Base())) ::_exit(3);
            for (int i = 0; i < kParInstance; ++i)
                if (!base.AjouteTentative(Tentative(f ? "Bruno" : "Anne", i % 3 == 0))) ::_exit(4);
            ::_exit(0);
        }
    }
    for (pid_t p : fils) {
        int statut = 0;
        ASSERT_EQ(::waitpid(p, &statut, 0), p);
        ASSERT_TRUE(WIFEXITED(statut));
        EXPECT_EQ(WEXITSTATUS(statut), 0);
    }
    TBaseHistorique base;
    ASSERT_TRUE(base.Ouvre(Base()));
    EXPECT_EQ(base.NombreTentatives(), 2 * kParInstance);
    base.Ferme();
    EXPECT_EQ(Sql(Base(), "SELECT count(*) FROM joueurs"), "2");
}

TEST_F(BaseHistorique, AnUnfinishedMatchIsResumedWithItsScoreAndBalls) {
    TBaseHistorique base;
    ASSERT_TRUE(base.Ouvre(Base()));
    TReglesPartie regles;
    regles.Joueurs = {"Anne", "Bruno"};
    regles.Distance = 5;
    regles.LimiteReprises = 20;
    const TPositionBilles depart = Tentative("x", false).Billes;
    TPartieCarambole partie(regles, depart);
    const auto id = base.CommencePartie(partie, 1'700'000'000);
    ASSERT_TRUE(id);
    const auto joue = [&](bool point, float x) {
        TPositionBilles apres = partie.Positions();
        apres[2].x = x;
        TTentative t = Tentative(regles.Joueurs[size_t(partie.Joueur())], point);
        ASSERT_TRUE(partie.Joue(point, apres));
        ASSERT_TRUE(base.EnregistreCoup(*id, partie, t));
    };
    joue(true, 1);
    joue(true, 2);
    joue(false, 3);
    joue(true, 4);
    joue(false, 5);
    // the last shot taken back, in the match and in the file
    ASSERT_TRUE(partie.Annule());
    ASSERT_TRUE(base.AnnuleCoup(*id, partie));

    const auto stockee = base.PartieEnCours();
    ASSERT_TRUE(stockee);
    EXPECT_EQ(stockee->Id, *id);
    EXPECT_EQ(stockee->Regles.Joueurs, regles.Joueurs);
    EXPECT_EQ(stockee->Regles.LimiteReprises, 20);
    TPartieCarambole reprise(stockee->Regles, stockee->Depart);
    ASSERT_TRUE(reprise.Reprend(stockee->Coups));
    EXPECT_EQ(reprise.Positions(), partie.Positions());
    EXPECT_EQ(reprise.Joueur(), 1);
    EXPECT_EQ(reprise.Score(0).Points, 2);
    EXPECT_EQ(reprise.Score(1).Points, 1);
    EXPECT_EQ(reprise.PointsParReprise(1), (std::vector<int>{1}));
    base.Ferme();
    EXPECT_EQ(Sql(Base(), "SELECT count(*) FROM tentatives WHERE partie_id IS NULL"), "1");
    EXPECT_EQ(Sql(Base(), "SELECT points_a || '/' || reprises_a FROM parties"), "2/1");

    // given up: nothing left to resume
    ASSERT_TRUE(base.Ouvre(Base()));
    ASSERT_TRUE(base.AbandonnePartie(*id));
    EXPECT_FALSE(base.PartieEnCours());
}

TEST_F(BaseHistorique, BestRoutesAreKeptByFingerprint) {
    auto base = std::make_shared<TBaseHistorique>();
    ASSERT_TRUE(base->Ouvre(Base()));
    TCacheRoutesHistorique cache(base);
    EXPECT_FALSE(cache.Cherche("abc"));
    const TMeilleureRoute route{
        "Jaune · longue · courte · longue · Rouge", {0.5f, -1, 93.25f, 410, 2, 520}, 6655, 1433};
    cache.Range("abc", route);
    const auto lue = cache.Cherche("abc");
    ASSERT_TRUE(lue);
    EXPECT_EQ(lue->Libelle, route.Libelle);
    EXPECT_EQ(lue->Queue, route.Queue);
    EXPECT_EQ(lue->Reussis, 1433);
    EXPECT_FALSE(cache.Cherche("abd"));
}
