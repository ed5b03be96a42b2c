// velmora-sim stats on a database made by hand: the figures, the JSON, the CSV export; a missing
// database is not created, a foreign one is refused and left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "historique/BaseHistorique.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;

namespace {

class CommandeStatsTest : public TestAvecDossier {
protected:
    CommandeStatsTest() : TestAvecDossier("velmora-cli-stats") {}

    void SetUp() override {
        TestAvecDossier::SetUp();
        TBaseHistorique base;
        ASSERT_TRUE(base.Ouvre(Chemin("h.sqlite")));
        // Anne: 3 attempts on one drill, 2 made (robustness 0.2 and 0.4); Bruno: one miss
        for (int i = 0; i < 4; ++i) {
            TTentative t;
            t.Joueur = i < 3 ? "Anne" : "Bruno";
            t.EmpreinteExercice = "abcd";
            t.Quand = 1'709'553'600 + i;
            t.Reussi = i < 2;
            const auto id = base.AjouteTentative(t);
            ASSERT_TRUE(id);
            TResultatAnalyse a;
            a.Essais = 10;
            a.Reussis = i < 2 ? 2 * (i + 1) : 0;
            ASSERT_TRUE(base.CompleteTentative(*id, a));
        }
    }
    int Lance(const std::string& args) {
        sortie_ = ExecuteVelmoraSim(dossier_, "stats " + args);
        return sortie_.statut;
    }
    const std::string& Out() const { return sortie_.out; }
    const std::string& Err() const { return sortie_.err; }
    std::string Db() const { return " --db '" + Chemin("h.sqlite") + "'"; }
    TSortie sortie_;
};

}  // namespace

TEST_F(CommandeStatsTest, SuccessRateAndRobustnessOfAPlayerInTextAndJson) {
    ASSERT_EQ(Lance(Db() + " --player Anne"), 0) << Err();
    EXPECT_NE(Out().find("joueur : Anne"), std::string::npos) << Out();
    EXPECT_NE(Out().find("3 tentatives, 66.7 % réussies, robustesse moyenne des coups réussis 30.0 %"),
              std::string::npos)
        << Out();
    ASSERT_EQ(Lance(Db() + " --json"), 0) << Err();
    EXPECT_EQ(Out().rfind("{\"player\": null, \"attempts\": 4, \"made\": 2, \"success_rate\": 0.5, ", 0), 0u)
        << Out();
    EXPECT_NE(Out().find("\"mean_robustness_made\": 0.3"), std::string::npos) << Out();
}

TEST_F(CommandeStatsTest, ExportWritesEveryAttemptOfThePlayer) {
    ASSERT_EQ(Lance(Db() + " --player Anne --export '" + Chemin("t.csv") + "'"), 0) << Err();
    const std::string csv = LitFichierEntier(Chemin("t.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv;
    EXPECT_EQ(csv.rfind("id,date,joueur,", 0), 0u);
    EXPECT_NE(Out().find("t.csv"), std::string::npos);
    // a folder that does not exist: refused, said
    EXPECT_EQ(Lance(Db() + " --export '" + Chemin("non/t.csv") + "'"), 1);
    EXPECT_NE(Err().find("export impossible"), std::string::npos) << Err();
}

TEST_F(CommandeStatsTest, AnExportOntoTheDatabaseOrItsJournalIsRefusedAndTheHistoryKept) {
    const std::string avant = LitFichierEntier(Chemin("h.sqlite"));
    fs::create_symlink(Chemin("h.sqlite"), Chemin("lien.csv"));
    for (const char* sortie : {"h.sqlite", "lien.csv"}) {
        EXPECT_EQ(Lance(Db() + " --export '" + Chemin(sortie) + "'"), 2) << sortie;
        EXPECT_NE(Err().find("est un fichier que la commande lit"), std::string::npos) << Err();
    }
    EXPECT_EQ(LitFichierEntier(Chemin("h.sqlite")), avant);
    EXPECT_TRUE(fs::is_symlink(Chemin("lien.csv")));
    ASSERT_EQ(Lance(Db() + " --player Anne"), 0) << Err();
    EXPECT_NE(Out().find("3 tentatives"), std::string::npos) << Out();
}

TEST_F(CommandeStatsTest, AMissingForeignOrUnknownHistoryIsRefusedAndNothingIsWritten) {
    EXPECT_EQ(Lance("--db '" + Chemin("absente.sqlite") + "'"), 1);
    EXPECT_NE(Err().find("aucun historique"), std::string::npos) << Err();
    EXPECT_FALSE(fs::exists(Chemin("absente.sqlite")));

    std::ofstream(Chemin("texte.sqlite")) << "pas une base\n";
    EXPECT_EQ(Lance("--db '" + Chemin("texte.sqlite") + "'"), 1);
    EXPECT_NE(Err().find("pas une base de données SQLite"), std::string::npos) << Err();
    EXPECT_EQ(LitFichierEntier(Chemin("texte.sqlite")), "pas une base\n");

    EXPECT_EQ(Lance(Db() + " --player Personne"), 1);
    EXPECT_NE(Err().find("joueur inconnu"), std::string::npos) << Err();
    EXPECT_EQ(Lance(Db() + " --joueur Anne"), 2);
    EXPECT_EQ(Lance(Db() + " de trop"), 2);
}
