// velmora-sim fit, calibrate and fidelity: outputs, files written and exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "fichiers/FichierFisik.h"
#include "moteurs/Repartiteur.h"
#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LanceVelmoraSim.h"

namespace {

namespace fs = std::filesystem;

using Sortie = TSortie;

double Nombre(const std::string& json, const std::string& cle) {
    std::smatch m;
    const std::regex re("\"" + cle + "\": ([-0-9.eE]+)");
    if (!std::regex_search(json, m, re)) return NAN;
    return std::stod(m[1]);
}

struct CommandesAjustementTest : ::testing::Test {
    fs::path dossier;
    void SetUp() override {
        dossier =
            fs::temp_directory_path() / ("velmora-cli-ajust-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dossier);
    }
    void TearDown() override { fs::remove_all(dossier); }

    std::string Chemin(const std::string& nom) const { return (dossier / nom).string(); }

    Sortie Lance(const std::string& args, const std::string& avant = "") const {
        return ExecuteVelmoraSim(dossier, args, avant);
    }

    // mpirun as root in a container: Open MPI wants to be told so, and has no single-copy
    // transport; what it allocates at start-up stays to the end, which LeakSanitizer would count
    static std::string Mpirun() {
        const char* asan = std::getenv("ASAN_OPTIONS");
        return std::string("env ASAN_OPTIONS=") + (asan && *asan ? std::string(asan) + ":" : "") +
               "detect_leaks=0 OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 "
               "OMPI_MCA_btl_vader_single_copy_mechanism=none mpirun --oversubscribe ";
    }

    // a recording of a shot of match.fsk, aim 80°, written as CSV
    std::string Enregistrement(const std::string& nom, double visee = 80) const {
        TPARAMPHYS f;
        EXPECT_TRUE(ChargeFisik(f, VELMORA_EXAMPLES_DIR "/match.fsk"));
        const TCoupGenere g = GenereCoup(f, {-50, -120, 20, 30, 40, 100}, visee, 350, 0.8, 0.5, 3);
        std::string erreur;
        EXPECT_TRUE(EcritCoupEnregistre(Chemin(nom), g.Coup, &erreur)) << erreur;
        return Chemin(nom);
    }
};

TEST_F(CommandesAjustementTest, Fit_PrintsTheCueScoresAndCountAndSavesAPositionFile) {
    const std::string rec = Enregistrement("coup.csv");
    const std::string fsk = std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk";
    const Sortie s =
        Lance("fit \"" + rec + "\" --fsk \"" + fsk + "\" --json --save \"" + Chemin("ajuste.vel") + "\"");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NEAR(Nombre(s.out, "AngleOx"), 80 * kDegre, 0.1 * kDegre);
    EXPECT_NEAR(Nombre(s.out, "Vq"), 350, 3.5);
    EXPECT_EQ(Nombre(s.out, "m"), 520);
    EXPECT_LT(Nombre(s.out, "score_ball1"), 0.6);
    EXPECT_LT(Nombre(s.out, "score_all"), 0.6);
    EXPECT_GT(Nombre(s.out, "shots"), 500);
    EXPECT_GT(Nombre(s.out, "seconds"), 0);
    // the recorded route played, every recorded contact of ball 1 matched within one sample
    EXPECT_NE(s.out.find("\"route\": {\"reproduced\": true, \"contacts\": 3, \"missed\": 0}"),
              std::string::npos)
        << s.out;
    EXPECT_NE(s.out.find("\"contacts\": [{\"ball\": 1, \"contact\": "), std::string::npos) << s.out;
    EXPECT_LT(std::abs(Nombre(s.out, "dt")), 0.02);
    EXPECT_NE(s.out.find("\"parts\": "), std::string::npos);
    EXPECT_EQ(s.out.back(), '\n');
    EXPECT_EQ(std::count(s.out.begin(), s.out.end(), '{'), std::count(s.out.begin(), s.out.end(), '}'));
    // the fitted shot opens and plays like any position file
    const Sortie joue = Lance("shot \"" + Chemin("ajuste.vel") + "\" --json");
    EXPECT_EQ(joue.statut, 0) << joue.err;
    EXPECT_NE(LitFichierEntier(Chemin("ajuste.vel")).find("FisikFile="), std::string::npos);

    const Sortie texte = Lance("fit \"" + rec + "\" --free aim,speed --score all");
    EXPECT_EQ(texte.statut, 0) << texte.err;
    EXPECT_NE(texte.out.find("effet 0.00 cm, hauteur 0.00 cm"), std::string::npos) << texte.out;
    EXPECT_NE(texte.out.find("score toutes billes : "), std::string::npos);
    EXPECT_NE(texte.out.find("route enregistrée : "), std::string::npos) << texte.out;
}

TEST_F(CommandesAjustementTest, Fit_RefusesBadUsageAndBadRecordingsWithTheirStatus) {
    const std::string rec = Enregistrement("coup.csv");
    EXPECT_EQ(Lance("fit").statut, 2);
    EXPECT_EQ(Lance("fit \"" + rec + "\" --free aim,spin").statut, 2);
    EXPECT_EQ(Lance("fit \"" + rec + "\" --score ball2").statut, 2);
    EXPECT_EQ(Lance("fit \"" + rec + "\" --free").statut, 2);
    EXPECT_EQ(Lance("fit \"" + rec + "\" autre.csv").statut, 2);
    const Sortie absent = Lance("fit \"" + Chemin("absent.csv") + "\"");
    EXPECT_EQ(absent.statut, 1);
    EXPECT_NE(absent.err.find("absent.csv"), std::string::npos);
    std::ofstream(Chemin("mauvais.csv")) << "ball,t,x,y\n1,0,0,0\n7,0,0,0\n";
    const Sortie mauvais = Lance("fit \"" + Chemin("mauvais.csv") + "\"");
    EXPECT_EQ(mauvais.statut, 1);
    EXPECT_NE(mauvais.err.find("ligne 3"), std::string::npos) << mauvais.err;
    // a position file that cannot be written: status 1, and said
    const Sortie sauve = Lance("fit \"" + rec + "\" --save \"" + Chemin("pas/de/dossier.vel") + "\"");
    EXPECT_EQ(sauve.statut, 1);
    EXPECT_NE(sauve.err.find("écriture impossible"), std::string::npos);
}

TEST_F(CommandesAjustementTest, Calibrate_WritesTheFittedParameterFileAndReportsBothScores) {
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 83),
                      c = Enregistrement("c.csv", 77);
    const std::string fsk = std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk";
    const Sortie s =
        Lance("calibrate \"" + a + "\" \"" + b + "\" --validate \"" + c + "\" --fsk \"" + fsk +
              "\" --params FrotBiTapRoule --trials 3 --threads 2 --json --out \"" + Chemin("t.fsk") + "\"");
    ASSERT_EQ(s.statut, 0) << s.err;
    for (const char* cle : {"\"constants\"", "\"training\"", "\"heldout\"", "\"median_all\"", "\"trials\""})
        EXPECT_NE(s.out.find(cle), std::string::npos) << cle;
    TPARAMPHYS lu, match;
    ASSERT_TRUE(ChargeFisik(lu, Chemin("t.fsk")));
    ASSERT_TRUE(ChargeFisik(match, fsk));
    EXPECT_DOUBLE_EQ(lu.FrotBiTapRoule(), Nombre(s.out, "FrotBiTapRoule"));
    // everything else as in the start file
    lu.Change(&TConstantesPhys::FrotBiTapRoule, match.FrotBiTapRoule());
    lu.NomFichierFisik = match.NomFichierFisik;
    EXPECT_EQ(lu, match);
}

TEST_F(CommandesAjustementTest, Calibrate_UnderMpirun_SpreadsTheFitsAndGivesTheSameResult) {
    if (!TRepartiteur::MpiDisponible() || std::system("command -v mpirun > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "construit sans MPI, ou mpirun absent";
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 83),
                      c = Enregistrement("c.csv", 77);
    const std::string args = "calibrate \"" + a + "\" \"" + b + "\" --validate \"" + c + "\" --fsk \"" +
                             VELMORA_EXAMPLES_DIR +
                             "/match.fsk\" --params FrotBiTapRoule --trials 3 --json --out \"";
    const Sortie seul = Lance(args + Chemin("seul.fsk") + "\"");
    ASSERT_EQ(seul.statut, 0) << seul.err;
    const std::string mpi = Mpirun() + "-np 3 \"" + VELMORA_SIM_EXE + "\" ";
    const std::string cmd = mpi + args + Chemin("mpi.fsk") + "\" > \"" + Chemin("mpi.out") + "\" 2> \"" +
                            Chemin("mpi.err") + "\"";
    const int brut = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(brut) && WEXITSTATUS(brut) == 0) << LitFichierEntier(Chemin("mpi.err"));
    EXPECT_EQ(LitFichierEntier(Chemin("mpi.fsk")), LitFichierEntier(Chemin("seul.fsk")));
    // one answer (rank 0's), the same but for the computing time
    const auto sansTemps = [](const std::string& json) { return json.substr(0, json.find("\"seconds\"")); };
    EXPECT_EQ(sansTemps(LitFichierEntier(Chemin("mpi.out"))), sansTemps(seul.out));
}

TEST_F(CommandesAjustementTest, Calibrate_UnderMpirun_RanksThatDisagreeStopBeforeComputing) {
    if (!TRepartiteur::MpiDisponible() || std::system("command -v mpirun > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "construit sans MPI, ou mpirun absent";
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 83);
    const std::string sortie = " --params FrotBiTapRoule --trials 3 --out \"" + Chemin("t.fsk") + "\"";
    const std::string sim = "\"" + std::string(VELMORA_SIM_EXE) + "\" calibrate ";
    // the same recordings in another order on rank 1: another table would come out
    std::string cmd = Mpirun() + "-np 1 " + sim + "\"" + a + "\" \"" + b + "\"" + sortie + " : -np 1 " + sim +
                      "\"" + b + "\" \"" + a + "\"" + sortie + " > \"" + Chemin("mpi.out") + "\" 2> \"" +
                      Chemin("mpi.err") + "\"";
    int brut = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(brut) && WEXITSTATUS(brut) != 0);
    std::string err = LitFichierEntier(Chemin("mpi.err"));
    EXPECT_NE(err.find("le rang 1 n'a pas la configuration du rang 0 : enregistrement.1 : "),
              std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(Chemin("t.fsk")));
    // another option on rank 0
    cmd = Mpirun() + "-np 1 " + sim + "\"" + a + "\" \"" + b + "\"" + sortie + " --trials 4 : -np 1 " + sim +
          "\"" + a + "\" \"" + b + "\"" + sortie + " > \"" + Chemin("mpi.out") + "\" 2> \"" +
          Chemin("mpi.err") + "\"";
    brut = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(brut) && WEXITSTATUS(brut) != 0);
    err = LitFichierEntier(Chemin("mpi.err"));
    EXPECT_NE(err.find("--trials : 4 sur le rang 0, 3 sur le rang 1"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Chemin("t.fsk")));
}

TEST_F(CommandesAjustementTest, FitAndCalibrate_NeverReplaceOneOfTheirInputs) {
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 83);
    const std::string avantA = LitFichierEntier(a), avantB = LitFichierEntier(b);
    std::ofstream(Chemin("t.fsk")) << LitFichierEntier(std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk");
    const std::string table = LitFichierEntier(Chemin("t.fsk"));
    fs::create_symlink(a, Chemin("lien.csv"));
    for (const std::string& args :
         {"fit \"" + a + "\" --save \"" + a + "\"", "fit \"" + a + "\" --save \"" + Chemin("lien.csv") + "\"",
          "fit \"" + a + "\" --fsk \"" + Chemin("t.fsk") + "\" --save \"" + Chemin("t.fsk") + "\"",
          "calibrate \"" + a + "\" \"" + b + "\" --out \"" + b + "\"",
          "calibrate \"" + a + "\" --validate \"" + b + "\" --out \"" + Chemin("lien.csv") + "\"",
          "calibrate \"" + a + "\" --fsk \"" + Chemin("t.fsk") + "\" --out \"" + Chemin("t.fsk") + "\""}) {
        const Sortie s = Lance(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_NE(s.err.find("est un fichier que la commande lit"), std::string::npos) << args << "\n"
                                                                                       << s.err;
        EXPECT_EQ(s.out, "") << args;
    }
    EXPECT_EQ(LitFichierEntier(a), avantA);
    EXPECT_EQ(LitFichierEntier(b), avantB);
    EXPECT_EQ(LitFichierEntier(Chemin("t.fsk")), table);
}

TEST_F(CommandesAjustementTest, Calibrate_ChecksItsOutputBeforeComputing) {
    const std::string a = Enregistrement("a.csv", 80);
    ASSERT_TRUE(CreeTube(Chemin("tube.fsk")));
    // a thousand trial sets a tour would take minutes: the refusal comes at once
    const std::string lent = "calibrate \"" + a + "\" --params FrotBiTapRoule --trials 1000 --out ";
    for (const auto& [sortie, raison] : std::vector<std::pair<std::string, std::string>>{
             {Chemin("absent/t.fsk"), "dossier introuvable"},
             {Chemin("tube.fsk"), "n'est pas un fichier ordinaire"},
             {dossier.string(), "c'est un dossier"}}) {
        const Sortie s = Lance(lent + "\"" + sortie + "\"", "timeout 60");
        EXPECT_EQ(s.statut, 1) << sortie;
        EXPECT_NE(s.err.find("écriture impossible"), std::string::npos) << s.err;
        EXPECT_NE(s.err.find(raison), std::string::npos) << s.err;
    }
    EXPECT_TRUE(EstTube(Chemin("tube.fsk")));
}

// A table calibrated on the stepped cushion model: its own restitution and friction are fitted
// by default, the model is written in the output, the rest is the start file's.
TEST_F(CommandesAjustementTest, Calibrate_OnTheSteppedCushionModel_FitsItsConstantsAndWritesTheModel) {
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 83);
    const std::string fsk = std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk";
    const Sortie s =
        Lance("calibrate \"" + a + "\" \"" + b + "\" --fsk \"" + fsk +
              "\" --cushion-model Mathavan2010 --score ball1 --trials 2 --threads 2 --json --out \"" +
              Chemin("m.fsk") + "\"");
    ASSERT_EQ(s.statut, 0) << s.err;
    for (const char* cle : {"\"ElastMathavan\"", "\"FrotMathavan\"", "\"FrotBiTapRoule\""})
        EXPECT_NE(s.out.find(cle), std::string::npos) << cle;
    EXPECT_EQ(s.out.find("\"ElastBiBde\""), std::string::npos);
    TPARAMPHYS lu;
    ASSERT_TRUE(ChargeFisik(lu, Chemin("m.fsk")));
    EXPECT_EQ(lu.ModeleBande(), mbMathavan);
    EXPECT_DOUBLE_EQ(lu.ElastMathavan(), Nombre(s.out, "ElastMathavan"));
}

TEST_F(CommandesAjustementTest, Calibrate_RefusesBadUsageAndWritesNothingOnABadRecording) {
    const std::string a = Enregistrement("a.csv");
    EXPECT_EQ(Lance("calibrate \"" + a + "\"").statut, 2);  // no --out
    EXPECT_EQ(Lance("calibrate \"" + a + "\" --out x.fsk --params FrotBiTapRoule,LargJeu").statut, 2);
    EXPECT_EQ(Lance("calibrate \"" + a + "\" --out x.fsk --holdout 1").statut, 2);  // nothing left to fit
    EXPECT_EQ(Lance("calibrate \"" + a + "\" --out x.fsk --holdout 1 --validate \"" + a + "\"").statut, 2);
    EXPECT_EQ(Lance("calibrate \"" + a + "\" --out x.fsk --threads 0").statut, 2);
    EXPECT_EQ(Lance("calibrate \"" + a + "\" --out x.fsk --score ball2").statut, 2);
    const Sortie modele = Lance("calibrate \"" + a + "\" --out x.fsk --cushion-model Ressort");
    EXPECT_EQ(modele.statut, 2);
    EXPECT_NE(modele.err.find("Mathavan2010"), std::string::npos) << modele.err;
    std::ofstream(Chemin("mauvais.csv")) << "ball,t,x,y\n1,0,0,0\n1,-1,0,0\n";
    const Sortie s =
        Lance("calibrate \"" + a + "\" \"" + Chemin("mauvais.csv") + "\" --out \"" + Chemin("t.fsk") + "\"");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("le temps recule"), std::string::npos) << s.err;
    EXPECT_FALSE(fs::exists(Chemin("t.fsk")));
}

// Two recordings of match.fsk compared with that table: every route played, the distances at the
// level of the noise, and each table of the report in the JSON object.
TEST_F(CommandesAjustementTest, Fidelity_JsonHoldsTheDistancesTheContactsAndEveryTable) {
    const std::string a = Enregistrement("a.csv", 80), b = Enregistrement("b.csv", 100);
    const std::string fsk = std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk";
    const Sortie s = Lance("fidelity \"" + a + "\" \"" + b + "\" --fsk \"" + fsk + "\" --json --threads 2");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_EQ(Nombre(s.out, "shots"), 2);
    EXPECT_NE(s.out.find("\"fit\": \"all\""), std::string::npos);
    EXPECT_EQ(Nombre(s.out, "routes_reproduced"), 2);
    EXPECT_LT(Nombre(s.out, "median"), 0.6);  // ball 1's, the first
    EXPECT_GT(Nombre(s.out, "recorded"), 6);
    EXPECT_EQ(Nombre(s.out, "matched"), Nombre(s.out, "recorded"));
    for (const char* cle :
         {"\"cushions\": [{\"in_min\": 0, \"in_max\": 15, \"n\": ", "\"ball_ball\": [{\"cut_min\": 0",
          "\"cushion_ranks\": [{\"rank\": 1", "\"last_rolls\": {\"n\": ", "\"real_deceleration\": ",
          "\"worst\": [{\"file\": \"", "\"seconds_median\": "})
        EXPECT_NE(s.out.find(cle), std::string::npos) << cle;
    // one object on one line
    EXPECT_EQ(s.out.front(), '{');
    EXPECT_EQ(s.out.substr(s.out.size() - 2), "}\n");
    EXPECT_EQ(std::count(s.out.begin(), s.out.end(), '{'), std::count(s.out.begin(), s.out.end(), '}'));

    const Sortie texte = Lance("fidelity \"" + a + "\" --fsk \"" + fsk + "\" --score ball1");
    ASSERT_EQ(texte.statut, 0) << texte.err;
    EXPECT_NE(texte.out.find("ajusté sur la bille 1"), std::string::npos) << texte.out;
    EXPECT_NE(texte.out.find("rebond sur bande"), std::string::npos);
}

TEST_F(CommandesAjustementTest, Fidelity_RefusesBadUsageAndUnreadableRecordingsWithTheirStatus) {
    const std::string a = Enregistrement("a.csv");
    EXPECT_EQ(Lance("fidelity").statut, 2);
    EXPECT_EQ(Lance("fidelity \"" + a + "\" --score ball2").statut, 2);
    EXPECT_EQ(Lance("fidelity \"" + a + "\" --threads 0").statut, 2);
    EXPECT_EQ(Lance("fidelity \"" + a + "\" --fsk").statut, 2);
    const Sortie absent = Lance("fidelity \"" + a + "\" \"" + Chemin("absent.csv") + "\"");
    EXPECT_EQ(absent.statut, 1);
    EXPECT_NE(absent.err.find("absent.csv"), std::string::npos) << absent.err;
    EXPECT_TRUE(absent.out.empty());
}

}  // namespace
