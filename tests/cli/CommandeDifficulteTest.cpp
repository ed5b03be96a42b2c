// velmora-sim difficulty, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;

namespace {

class CommandeDifficulteTest : public TestAvecDossier {
protected:
    CommandeDifficulteTest() : TestAvecDossier("velmora-cli-diff") {}
    // the opening position of three-cushion play, as the desktop program saves it
    static std::string Ouverture() { return "'" + std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel'"; }

    TSortie Lance(const std::string& args) const { return ExecuteVelmoraSim(dossier_, "difficulty " + args); }
};

// the number after "key": in the JSON object, -1 when absent
double Champ(const std::string& json, const std::string& cle) {
    const size_t i = json.find("\"" + cle + "\": ");
    return i == std::string::npos ? -1 : std::stod(json.substr(i + cle.size() + 4));
}

}  // namespace

TEST_F(CommandeDifficulteTest, Json_DefaultGridOfTheOpening) {
    const TSortie s = Lance(Ouverture() + " --json");
    ASSERT_EQ(s.statut, 0) << s.err;
    // one object, its keys in this order, on one line
    EXPECT_EQ(s.out.rfind("{\"trials\": 6655, \"successes\": ", 0), 0u) << s.out;
    size_t pos = 0;
    for (const char* cle :
         {"\"successes\": ", "\"volume_tested\": ", "\"volume_success\": ", "\"seconds\": "}) {
        pos = s.out.find(cle, pos);
        ASSERT_NE(pos, std::string::npos) << cle << " in " << s.out;
    }
    ASSERT_GE(s.out.size(), 2u);
    EXPECT_EQ(s.out.find('\n'), s.out.size() - 1);
    EXPECT_EQ(s.out.substr(s.out.size() - 2), "}\n");
    EXPECT_NEAR(Champ(s.out, "volume_tested"), 1331.0, 1e-3);
    EXPECT_NEAR(Champ(s.out, "volume_success"), Champ(s.out, "successes") * 0.2, 1e-3);
    EXPECT_GT(Champ(s.out, "seconds"), 0);
    EXPECT_GT(Champ(s.out, "successes"), 0);
    // no progress bar when standard error is not a terminal
    EXPECT_EQ(s.err, "");
}

TEST_F(CommandeDifficulteTest, Text_ShowsTrialsSuccessesVolumesAndTime) {
    const TSortie s = Lance(Ouverture() + " --trials 0,0,0,2,0,0 --steps 0.1,0.1,0.1,10,2,10");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NE(s.out.find("essais : 5 (grille de 5)\n"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("réussis : "), std::string::npos);
    EXPECT_NE(s.out.find("volume testé : 1.00\n"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("volume réussi : "), std::string::npos);
    EXPECT_NE(s.out.find("temps : "), std::string::npos);
}

TEST_F(CommandeDifficulteTest, AllCountsZero_OneTrial) {
    const TSortie s = Lance(Ouverture() + " --trials 0,0,0,0,0,0 --json");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_EQ(Champ(s.out, "trials"), 1);
    EXPECT_EQ(Champ(s.out, "successes"), 1) << "the opening shot scores";
}

TEST_F(CommandeDifficulteTest, Bul_HoldsOneRecordPerSuccessWhateverTheThreads) {
    const std::string grille = " --trials 2,2,2,1,0,0 --json";
    const TSortie un = Lance(Ouverture() + " --threads 1 --bul '" + Chemin("un.txt") + "'" + grille);
    const TSortie deux = Lance(Ouverture() + " --threads 2 --bul '" + Chemin("deux") + "'" + grille);
    ASSERT_EQ(un.statut, 0) << un.err;
    ASSERT_EQ(deux.statut, 0) << deux.err;
    // the extension is always ".bul"
    ASSERT_TRUE(fs::exists(Chemin("un.bul")));
    ASSERT_TRUE(fs::exists(Chemin("deux.bul")));
    const auto reussis = static_cast<std::uintmax_t>(Champ(un.out, "successes"));
    EXPECT_EQ(fs::file_size(Chemin("un.bul")), 84 + 24 * reussis);
    EXPECT_EQ(LitFichierEntier(Chemin("un.bul")), LitFichierEntier(Chemin("deux.bul")));
}

TEST_F(CommandeDifficulteTest, BadUsage_ExitsWithTwoAndSaysWhy) {
    const std::string vel = Ouverture();
    for (const std::string& args :
         {vel + " --trials 1,2,3", vel + " --trials 1,2,3,4,5,x", vel + " --trials 1,2,3,4,5,-1",
          vel + " --trials 1,2,3,4,5,1.5", vel + " --steps 0.1,0.1,0.1,10,2,0.001", vel + " --threads 0",
          vel + " --threads", vel + " --bul ''", vel + " --mode tout", vel + " --export x.pvr",
          vel + " --inconnu", std::string()}) {
        const TSortie s = Lance(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_NE(s.err.find("velmora-sim difficulty : "), std::string::npos) << args;
        EXPECT_EQ(s.out, "") << args;
    }
}

TEST_F(CommandeDifficulteTest, FileErrors_ExitWithOneAndAClearLine) {
    TSortie s = Lance("'" + Chemin("absent.vel") + "'");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("absent.vel"), std::string::npos) << s.err;

    s = Lance(Ouverture() + " --bul '" + Chemin("absent/r.bul") + "'");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("absent/r.bul"), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");
}

TEST_F(CommandeDifficulteTest, TerminationOrHangUp_StopsLikeCtrlC_WithAValidPartialFile) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        const std::string bul = Chemin("r" + std::to_string(signal) + ".bul");
        // a grid far too long to finish
        const pid_t pid =
            DemarreVelmoraSim(dossier_, "difficulty " + Ouverture() +
                                            " --trials 20,20,20,5,0,0 --threads 1 --bul '" + bul + "'");
        ASSERT_GE(pid, 0);
        // until its temporary file is there: the calculation runs
        bool temporaire = false;
        for (int i = 0; i < 500 && !temporaire; ++i) {
            usleep(10000);
            for (const auto& e : fs::directory_iterator(dossier_))
                temporaire = temporaire || e.path().filename().string().find(".tmp-") != std::string::npos;
        }
        ASSERT_TRUE(temporaire);
        ::kill(pid, signal);
        int brut = 0;
        ASSERT_EQ(waitpid(pid, &brut, 0), pid);
        ASSERT_TRUE(WIFEXITED(brut)) << "killed by the signal instead of stopping";
        EXPECT_EQ(WEXITSTATUS(brut), 128 + signal);
        EXPECT_NE(LitFichierEntier(dossier_ / "err.txt").find("interrompu"), std::string::npos);
        ASSERT_TRUE(fs::exists(bul));
        EXPECT_EQ((fs::file_size(bul) - 84) % 24, 0u);
        for (const auto& e : fs::directory_iterator(dossier_))
            EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
    }
}
