// Every long command hears a stop the same way: SIGINT, SIGTERM and SIGHUP end the computation
// cleanly, what is finished is kept, and the exit status is 128 + the signal (difficulty's own
// case is in CommandeDifficulteTest).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kExemples = VELMORA_EXAMPLES_DIR;

class InterruptionTest : public TestAvecDossier {
protected:
    InterruptionTest() : TestAvecDossier("velmora-cli-arret") {}

    // waits (at most a minute) until condition holds
    static bool Attends(const std::function<bool()>& condition) {
        for (int i = 0; i < 6000; ++i) {
            if (condition()) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    // the process catches the signal now (its handler is in place): read from /proc
    static bool Capte(pid_t pid, int signal) {
        std::ifstream etat("/proc/" + std::to_string(pid) + "/status");
        std::string ligne;
        while (std::getline(etat, ligne))
            if (ligne.rfind("SigCgt:", 0) == 0)
                return (std::stoull(ligne.substr(7), nullptr, 16) >> (signal - 1)) & 1;
        return false;
    }
    size_t NbLignes(const std::string& dossier) const {
        size_t n = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dossier_ / dossier, ec))
            n += e.path().filename().string().ends_with(".resume.csv");
        return n;
    }
};

}  // namespace

TEST_F(InterruptionTest, Solve_TerminationOrHangUp_EndsTheSearchWithTheRoutesSoFar) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        const pid_t pid = DemarreVelmoraSim(
            dossier_, "solve '" + kExemples + "/ouverture.vel' --budget 100000000 --threads 1 --json");
        ASSERT_TRUE(Attends([&] { return Capte(pid, signal); }));
        std::this_thread::sleep_for(100ms);
        ::kill(pid, signal);
        const TSortie s = FinVelmoraSim(dossier_, pid);
        EXPECT_EQ(s.statut, 128 + signal) << "killed by the signal instead of stopping";
        EXPECT_NE(s.out.find("\"interrupted\": true"), std::string::npos) << s.out;
        EXPECT_NE(s.err.find("recherche interrompue"), std::string::npos) << s.err;
    }
}

TEST_F(InterruptionTest, Calibrate_Termination_StopsWithoutWritingTheTable) {
    TPARAMPHYS f;
    const TCoupGenere g = GenereCoup(f, {-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5, 3);
    std::string erreur;
    ASSERT_TRUE(EcritCoupEnregistre(Chemin("a.csv"), g.Coup, &erreur)) << erreur;
    const pid_t pid =
        DemarreVelmoraSim(dossier_, "calibrate '" + Chemin("a.csv") +
                                        "' --trials 100000 --threads 1 --out '" + Chemin("t.fsk") + "'");
    ASSERT_TRUE(Attends([&] { return Capte(pid, SIGTERM); }));
    std::this_thread::sleep_for(100ms);
    ::kill(pid, SIGTERM);
    const TSortie s = FinVelmoraSim(dossier_, pid);
    EXPECT_EQ(s.statut, 128 + SIGTERM) << "killed by the signal instead of stopping";
    EXPECT_NE(s.err.find("calibration interrompue"), std::string::npos) << s.err;
    EXPECT_FALSE(fs::exists(Chemin("t.fsk")));
}

TEST_F(InterruptionTest, Fidelity_Interrupt_StopsTheFitsAndPrintsNoReport) {
    TPARAMPHYS f;
    const TCoupGenere g = GenereCoup(f, {-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5, 3);
    std::string erreur;
    ASSERT_TRUE(EcritCoupEnregistre(Chemin("a.csv"), g.Coup, &erreur)) << erreur;
    // a hundred fits on one thread: half a minute at least
    std::string enregistrements;
    for (int k = 0; k < 100; ++k) enregistrements += " '" + Chemin("a.csv") + "'";
    const pid_t pid = DemarreVelmoraSim(dossier_, "fidelity" + enregistrements + " --threads 1 --json");
    ASSERT_TRUE(Attends([&] { return Capte(pid, SIGINT); }));
    std::this_thread::sleep_for(100ms);
    ::kill(pid, SIGINT);
    const TSortie s = FinVelmoraSim(dossier_, pid);
    EXPECT_EQ(s.statut, 128 + SIGINT) << "killed by the signal instead of stopping";
    EXPECT_NE(s.err.find("comparaison interrompue"), std::string::npos) << s.err;
    EXPECT_TRUE(s.out.empty()) << s.out;
}

TEST_F(InterruptionTest, Drills_Interrupt_StopsTheSearchAndWritesNoPack) {
    const pid_t pid =
        DemarreVelmoraSim(dossier_, "drills --generate 3 --seed 5 --budget 100000000 --threads 1 --out '" +
                                        Chemin("pack") + "'");
    ASSERT_TRUE(Attends([&] { return Capte(pid, SIGINT); }));
    std::this_thread::sleep_for(100ms);
    ::kill(pid, SIGINT);
    const TSortie s = FinVelmoraSim(dossier_, pid);
    EXPECT_EQ(s.statut, 128 + SIGINT) << "killed by the signal instead of stopping";
    EXPECT_NE(s.err.find("fabrication interrompue, aucun fichier écrit"), std::string::npos) << s.err;
    EXPECT_FALSE(fs::exists(Chemin("pack")));
}

TEST_F(InterruptionTest, Batch_HangUp_KeepsTheFinishedPositionsWhole_ResumeCompletes) {
    fs::create_directories(dossier_ / "positions");
    for (const auto& e : fs::directory_iterator(kExemples))
        if (e.path().extension() == ".vel")
            fs::copy_file(e.path(), dossier_ / "positions" / e.path().filename());
    const std::string commande =
        "batch difficulty '" + Chemin("positions") + "' --trials 4,4,4,2,0,0 --threads 1";
    ASSERT_EQ(ExecuteVelmoraSim(dossier_, commande + " --out '" + Chemin("ref") + "'").statut, 0);

    const pid_t pid = DemarreVelmoraSim(dossier_, commande + " --out '" + Chemin("coupe") + "'");
    ASSERT_TRUE(Attends([&] { return NbLignes("coupe") >= 1; }));
    ::kill(pid, SIGHUP);
    const TSortie s = FinVelmoraSim(dossier_, pid);
    EXPECT_EQ(s.statut, 128 + SIGHUP) << "killed by the signal instead of stopping";
    EXPECT_NE(s.err.find("relancez la même commande avec --resume"), std::string::npos) << s.err;
    EXPECT_FALSE(fs::exists(dossier_ / "coupe" / "resume.csv"));
    const size_t faites = NbLignes("coupe");
    for (const auto& e : fs::directory_iterator(dossier_ / "coupe")) {
        const std::string nom = e.path().filename().string();
        EXPECT_EQ(nom.find(".tmp-"), std::string::npos) << nom;
        if (nom.ends_with(".bul") || nom.ends_with(".resume.csv")) {
            EXPECT_EQ(LitFichierEntier(e.path()), LitFichierEntier(dossier_ / "ref" / nom)) << nom;
        }
    }
    const TSortie reprise =
        ExecuteVelmoraSim(dossier_, commande + " --out '" + Chemin("coupe") + "' --resume");
    ASSERT_EQ(reprise.statut, 0) << reprise.err;
    EXPECT_NE(reprise.out.find(std::to_string(faites) + " déjà faites"), std::string::npos) << reprise.out;
    EXPECT_EQ(LitFichierEntier(dossier_ / "coupe" / "resume.csv"),
              LitFichierEntier(dossier_ / "ref" / "resume.csv"));
}
