// velmora-sim drills: the same seed gives the same pack byte for byte on any number of threads,
// the pack opens as the program opens it with its drills from easy to hard, and bad options are
// refused before any work.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "jeu/PackEntrainement.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;

namespace {

class CommandeDrillsTest : public TestAvecDossier {
protected:
    CommandeDrillsTest() : TestAvecDossier("velmora-cli-drills") {}

    int Lance(const std::string& args) {
        sortie_ = ExecuteVelmoraSim(dossier_, "drills " + args);
        return sortie_.statut;
    }
    const std::string& Err() const { return sortie_.err; }
    // every file of a folder, name and content
    static std::map<std::string, std::string> Contenu(const fs::path& dossier) {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(dossier))
            m[e.path().filename()] = LitFichierEntier(e.path());
        return m;
    }
    TSortie sortie_;
};

}  // namespace

TEST_F(CommandeDrillsTest, TheSameSeedGivesTheSamePackWhateverTheThreads) {
    // the smallest search the command takes: five positions solved in all, seconds even under sanitizers
    const std::string options = " --generate 2 --seed 11 --budget 1000 --candidates 2";
    ASSERT_EQ(Lance("--out '" + Chemin("a") + "' --threads 1" + options), 0) << Err();
    ASSERT_EQ(Lance("--out '" + Chemin("b") + "' --threads 2" + options), 0) << Err();
    ASSERT_EQ(Lance("--out '" + Chemin("c") + "'" + " --generate 1 --seed 12 --budget 1000 --candidates 1"),
              0)
        << Err();
    const auto a = Contenu(dossier_ / "a");
    EXPECT_EQ(a.size(), 3u);
    EXPECT_EQ(a, Contenu(dossier_ / "b"));
    EXPECT_NE(a.at("entrainement.ven"), Contenu(dossier_ / "c").at("entrainement.ven"));

    // the pack opens, easiest first, each drill stating its best rate
    TPackEntrainement pack;
    std::string erreur;
    ASSERT_TRUE(ChargePack(Chemin("a/entrainement.ven"), pack, &erreur)) << erreur;
    ASSERT_EQ(pack.Exercices.size(), 2u);
    ASSERT_TRUE(pack.Exercices[0].Meilleure && pack.Exercices[1].Meilleure);
    EXPECT_GE(pack.Exercices[0].Meilleure->Taux, pack.Exercices[1].Meilleure->Taux);
    EXPECT_NE(pack.Notes.find("--seed 11"), std::string::npos);
}

TEST_F(CommandeDrillsTest, BadOptionsAreRefusedBeforeAnyFileIsWritten) {
    EXPECT_EQ(Lance("--generate 3 --out '" + Chemin("x") + "'"), 2);
    EXPECT_NE(Err().find("--seed"), std::string::npos) << Err();
    EXPECT_EQ(Lance("--generate 0 --seed 1 --out '" + Chemin("x") + "'"), 2);
    EXPECT_EQ(Lance("--generate 3 --seed 1 --mode 4bandes --out '" + Chemin("x") + "'"), 2);
    EXPECT_NE(Err().find("4bandes"), std::string::npos) << Err();
    EXPECT_EQ(Lance("--generate 5 --seed 1 --candidates 2 --out '" + Chemin("x") + "'"), 2);
    EXPECT_FALSE(fs::exists(Chemin("x")));
    EXPECT_EQ(Lance("--generate 1 --seed 1 --fsk '" + Chemin("absent.fsk") + "' --out '" + Chemin("x") + "'"),
              1);
    EXPECT_NE(Err().find("absent.fsk"), std::string::npos) << Err();
}
