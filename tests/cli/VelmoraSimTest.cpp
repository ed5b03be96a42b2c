// The contract of velmora-sim: outputs, JSON, export and exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LanceVelmoraSim.h"

namespace {

namespace fs = std::filesystem;

using Sortie = TSortie;

struct VelmoraSimTest : ::testing::Test {
    fs::path dossier;
    void SetUp() override {
        dossier =
            fs::temp_directory_path() / ("velmora-cli-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dossier);
    }
    void TearDown() override { fs::remove_all(dossier); }

    static std::string Exemple(const std::string& nom) {
        return std::string(VELMORA_EXAMPLES_DIR) + "/" + nom;
    }

    // runs velmora-sim with the arguments (already quoted for the shell)
    Sortie Lance(const std::string& args, const std::string& avant = "") const {
        return ExecuteVelmoraSim(dossier, args, avant);
    }
};

int CompteLignes(const std::string& t) {
    int n = 0;
    for (char c : t) n += c == '\n';
    return n;
}

TEST_F(VelmoraSimTest, Shot_PrintsTheOutcomeLineWithPhotosAndTime_ThenTheStrokeInAPlayersWords) {
    const Sortie s = Lance("shot \"" + Exemple("trois_bandes.vel") + "\"");
    EXPECT_EQ(s.statut, 0) << s.err;
    std::istringstream lignes(s.out);
    std::string l;
    ASSERT_TRUE(std::getline(lignes, l));
    EXPECT_TRUE(std::regex_match(l, std::regex("réussi photos=[0-9]+ t=[0-9.]+"))) << s.out;
    // the example opens with the longue gauche, scores off the red then the yellow
    ASSERT_TRUE(std::getline(lignes, l));
    EXPECT_TRUE(std::regex_match(l, std::regex("coup : bricole : longue gauche [0-9]\\.[0-9], effet [0-9.]+ "
                                               "procédés? à [0-9]+ h, vitesse 8/10")))
        << l;
    ASSERT_TRUE(std::getline(lignes, l));
    EXPECT_EQ(l.rfind("touchée : Rouge ", 0), 0u) << l;
    ASSERT_TRUE(std::getline(lignes, l));
    EXPECT_TRUE(std::regex_match(
        l, std::regex("bille 1 : longue gauche [0-9.]+ → longue droite [0-9.]+ → Rouge → .* → Jaune")))
        << l;
    EXPECT_FALSE(std::getline(lignes, l)) << l;
    EXPECT_EQ(s.err, "");
}

TEST_F(VelmoraSimTest, Shot_CushionHitsGiveEachBallsCushionAndDiamond) {
    // ball 1 square into the longue droite level with its second diamond, and back across
    const fs::path vel = dossier / "diamant.vel";
    std::ofstream(vel) << "[Queue]\nVq=150\nm=520\nAngleOx=0\n[Positions]\nP1x=0\nP1y=-71.125\nP1z=3.075\n"
                          "P2x=-40\nP2y=60\nP2z=3.075\nP3x=-20\nP3y=100\nP3z=3.075\n";
    const Sortie s = Lance("shot \"" + vel.string() + "\" --json");
    ASSERT_EQ(s.statut, 0) << s.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        s.out, m,
        std::regex(
            "\"cushion_hits\": \\[\\{\"ball\": 1, \"cushion\": 1, \"cushion_name\": \"longue droite\", "
            "\"diamond\": ([0-9.]+), \"t\": ([0-9.]+)\\}, \\{\"ball\": 1, \"cushion\": 3, ")))
        << s.out;
    EXPECT_NEAR(std::stod(m[1]), 2.0, 0.05);
    EXPECT_GT(std::stod(m[2]), 0);
    EXPECT_NE(s.out.find("\"diamond_system\": null"), std::string::npos);
    const Sortie texte = Lance("shot \"" + vel.string() + "\"");
    EXPECT_NE(texte.out.find("bille 1 : longue droite 2.0 → longue gauche 2.0"), std::string::npos)
        << texte.out;
}

TEST_F(VelmoraSimTest, Json_GivesOneObject_AndTheExportHasOneLineOf32FieldsPerPhoto) {
    const fs::path pvr = dossier / "ouverture.pvr";
    const Sortie s =
        Lance("shot \"" + Exemple("ouverture.vel") + "\" --json --export \"" + pvr.string() + "\"");
    ASSERT_EQ(s.statut, 0) << s.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(s.out, m,
                                 std::regex("\\{\"outcome\": \"(réussi)\", \"point\": (true), "
                                            "\"miscue\": (false), \"photos\": ([0-9]+), \"time\": [0-9.]+, "
                                            "\"stroke\": \"[^\"]+\", .*\"cushion_hits\": \\[.*\\}\n")))
        << s.out;
    const int photos = std::stoi(m[4]);
    // the opening example is a made point of 283 photos (its export is pinned in the core tests)
    EXPECT_EQ(photos, 283);
    const std::string texte = LitFichierEntier(pvr);
    EXPECT_EQ(CompteLignes(texte), photos + 1);
    EXPECT_EQ(texte.find('\r'), std::string::npos);
    std::istringstream lignes(texte);
    for (std::string l; std::getline(lignes, l);) {
        int tabs = 0;
        for (char c : l) tabs += c == '\t';
        ASSERT_EQ(tabs, 31) << l;
        ASSERT_EQ(l.find(','), std::string::npos);
    }
}

TEST_F(VelmoraSimTest, Outcomes_MissAndMiscue_AndTheModeOption) {
    EXPECT_EQ(Lance("shot \"" + Exemple("manque.vel") + "\"").out.rfind("manqué ", 0), 0u);
    const Sortie fq = Lance("shot \"" + Exemple("fausse_queue.vel") + "\" --json");
    EXPECT_NE(fq.out.find("\"outcome\": \"fausse queue\", \"point\": false, \"miscue\": true"),
              std::string::npos)
        << fq.out;
    // the three-cushion point also scores in free play; the one-cushion point only in 1 and free play
    EXPECT_EQ(Lance("shot --mode libre \"" + Exemple("trois_bandes.vel") + "\"").out.rfind("réussi ", 0), 0u);
    const std::string uneBande = "\"" + Exemple("une_bande.vel") + "\"";
    EXPECT_EQ(Lance("shot " + uneBande).out.rfind("manqué ", 0), 0u);
    EXPECT_EQ(Lance("shot " + uneBande + " --mode 1bande").out.rfind("réussi ", 0), 0u);
    EXPECT_EQ(Lance("shot " + uneBande + " --mode=libre").out.rfind("réussi ", 0), 0u);
}

TEST_F(VelmoraSimTest, Launch_ReplaysTheLaunchFile_SameResultEachTime) {
    const Sortie a = Lance("launch \"" + Exemple("lancer.vel2") + "\"");
    const Sortie b = Lance("launch \"" + Exemple("lancer.vel2") + "\" --mode=3bandes");
    EXPECT_EQ(a.statut, 0) << a.err;
    // the example launch is a made three-cushion point
    EXPECT_TRUE(std::regex_match(a.out, std::regex("réussi photos=221 t=9\\.89[0-9]*\n"))) << a.out;
    EXPECT_EQ(a.out, b.out);
}

TEST_F(VelmoraSimTest, UsageErrors_ExitWith2AndSayWhy) {
    for (const char* args : {"", "fly x.vel", "shot", "shot a.vel b.vel", "shot a.vel --mode 2bandes",
                             "shot a.vel --export", "shot a.vel --frobnicate", "launch --json=1 a.vel2"}) {
        const Sortie s = Lance(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_EQ(s.out, "") << args;
        EXPECT_EQ(CompteLignes(s.err), 1) << args << ": " << s.err;
    }
}

TEST_F(VelmoraSimTest, FileErrors_ExitWith1_OneLineNamingTheFileAndTheReason) {
    const std::string absent = (dossier / "absent.vel").string();
    // the system's reason in the user's language: English here
    Sortie s = Lance("shot \"" + absent + "\"", "LC_ALL=C.UTF-8");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(CompteLignes(s.err), 1);
    EXPECT_NE(s.err.find("absent.vel"), std::string::npos) << s.err;
    EXPECT_NE(s.err.find("No such file"), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");

    s = Lance("launch \"" + dossier.string() + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(CompteLignes(s.err), 1) << s.err;

    s = Lance("shot \"" + Exemple("ouverture.vel") + "\" --fsk \"" + (dossier / "absent.fsk").string() +
              "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("absent.fsk"), std::string::npos) << s.err;

    const std::string pvr = (dossier / "pas" / "ici.pvr").string();
    s = Lance("shot \"" + Exemple("ouverture.vel") + "\" --export \"" + pvr + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("ici.pvr"), std::string::npos) << s.err;
    EXPECT_EQ(CompteLignes(s.err), 1);
}

TEST_F(VelmoraSimTest, ExportOntoAPipeOrAProtectedFile_IsRefusedAndLeavesItAsItWas) {
    const std::string tube = (dossier / "tube.pvr").string();
    ASSERT_TRUE(CreeTube(tube));
    Sortie s = Lance("shot \"" + Exemple("ouverture.vel") + "\" --export \"" + tube + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("n'est pas un fichier ordinaire"), std::string::npos) << s.err;
    EXPECT_TRUE(EstTube(tube));

    const std::string protege = (dossier / "vieux.pvr").string();
    CreeProtege(protege, "ancien");
    s = Lance("shot \"" + Exemple("ouverture.vel") + "\" --export \"" + protege + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("protégé en écriture"), std::string::npos) << s.err;
    EXPECT_EQ(LitFichierEntier(protege), "ancien");
    EXPECT_EQ(std::distance(fs::directory_iterator(dossier), {}), 4) << "tube, vieux.pvr, out.txt, err.txt";
}

TEST_F(VelmoraSimTest, ReadingAPipeOrADevice_EndsAtOnceWithExit1) {
    const std::string tube = (dossier / "tube.vel").string();
    ASSERT_TRUE(CreeTube(tube));
    for (const std::string& args :
         {"shot \"" + tube + "\"", std::string("shot /dev/zero"), std::string("launch /dev/urandom"),
          "shot \"" + Exemple("ouverture.vel") + "\" --fsk \"" + tube + "\""}) {
        const Sortie s = Lance(args);
        EXPECT_EQ(s.statut, 1) << args;
        EXPECT_NE(s.err.find("n'est pas un fichier ordinaire"), std::string::npos) << s.err;
    }
    // a parameter file is not a launch
    const Sortie s = Lance("launch \"" + Exemple("usine.fsk") + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("ce n'est pas un fichier de lancer"), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");
}

TEST_F(VelmoraSimTest, Shot_PlaysTheBallsWhereTheFileHasThem_NotWhereTheOpeningHadThem) {
    // ball 1 on the non-player's opening spot
    const fs::path vel = dossier / "echange.vel", pvr = dossier / "echange.pvr";
    std::ofstream(vel) << "[Queue]\nVq=100\n[Positions]\nP1x=0\nP1y=-71.125\nP1z=3.075\n"
                          "P2x=18.25\nP2y=-71.125\nP2z=3.075\nP3x=0\nP3y=71.125\nP3z=3.075\n";
    const Sortie s = Lance("shot \"" + vel.string() + "\" --export \"" + pvr.string() + "\"");
    ASSERT_EQ(s.statut, 0) << s.err;
    // photo 0: time, kind, then ball 1's motion and position
    std::istringstream ligne(LitFichierEntier(pvr).substr(0, LitFichierEntier(pvr).find('\n')));
    std::string temps, genre, mouvement, x, y;
    std::getline(ligne, temps, '\t');
    std::getline(ligne, genre, '\t');
    std::getline(ligne, mouvement, '\t');
    std::getline(ligne, x, '\t');
    std::getline(ligne, y, '\t');
    EXPECT_EQ(std::stod(x), 0.0);
    EXPECT_EQ(std::stod(y), -71.125);
}

TEST_F(VelmoraSimTest, NoSuccessEverCarriesANumberThatIsNotFinite) {
    // constants far beyond any table, and a cue far beyond any arm
    const fs::path fsk = dossier / "enorme.fsk", vel = dossier / "fusee.vel", pvr = dossier / "x.pvr";
    std::ofstream(fsk) << "[Elasticite]\nElastBiBi=1e308\n";
    std::ofstream(vel) << "[Queue]\nVq=3e38\n[Positions]\nP1x=0\nP1y=-71.125\nP1z=3.075\n"
                          "P2x=18.25\nP2y=-71.125\nP2z=3.075\nP3x=0\nP3y=71.125\nP3z=3.075\n";
    for (const std::string& args : {"shot \"" + Exemple("trois_bandes.vel") + "\" --fsk \"" + fsk.string() +
                                        "\" --export \"" + pvr.string() + "\"",
                                    "shot \"" + vel.string() + "\" --export \"" + pvr.string() + "\""}) {
        fs::remove(pvr);
        const Sortie s = Lance(args);
        if (s.statut == 0) {
            std::string texte = LitFichierEntier(pvr);
            std::transform(texte.begin(), texte.end(), texte.begin(),
                           [](char c) { return char(std::tolower(c)); });
            EXPECT_EQ(texte.find("nan"), std::string::npos) << args;
            EXPECT_EQ(texte.find("inf"), std::string::npos) << args;
        } else {
            EXPECT_EQ(s.statut, 1) << args;
            EXPECT_NE(s.err.find("non finies"), std::string::npos) << s.err;
            EXPECT_FALSE(fs::exists(pvr));
        }
    }
}

TEST_F(VelmoraSimTest, Help_DescribesEveryCommandAndOption) {
    const Sortie g = Lance("--help");
    EXPECT_EQ(g.statut, 0);
    for (const char* mot : {"shot", "launch"}) EXPECT_NE(g.out.find(mot), std::string::npos) << mot;
    const Sortie s = Lance("shot --help");
    EXPECT_EQ(s.statut, 0);
    for (const char* mot : {"--fsk", "--mode", "3bandes", "1bande", "libre", "--export", "--json", "photos="})
        EXPECT_NE(s.out.find(mot), std::string::npos) << mot;
    // the version the About box shows too
    EXPECT_NE(g.out.find("--version"), std::string::npos);
    const Sortie v = Lance("--version");
    EXPECT_EQ(v.statut, 0);
    EXPECT_EQ(v.out, "velmora-sim " VELMORA_VERSION_ATTENDUE "\n");
}

TEST_F(VelmoraSimTest, ParameterFile_Option_ChangesTheShot) {
    const fs::path fsk = dossier / "lent.fsk";
    std::ofstream(fsk) << "[Frottements]\nFrotBiTapRoule=0.05\n";
    const Sortie normal = Lance("shot \"" + Exemple("ouverture.vel") + "\"");
    const Sortie lent = Lance("shot \"" + Exemple("ouverture.vel") + "\" --fsk \"" + fsk.string() + "\"");
    EXPECT_EQ(lent.statut, 0) << lent.err;
    EXPECT_NE(normal.out, lent.out);
}

}  // namespace
