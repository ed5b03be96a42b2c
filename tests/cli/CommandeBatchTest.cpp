// velmora-sim batch on one machine, run as a user runs it (under mpirun: tests/cli/BatchMpi.sh).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fichiers/DossierSortie.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;

namespace {

// a small grid: a few hundredths of a second per position
const std::string kGrille = " --trials 2,2,2,1,0,0";

class CommandeBatchTest : public TestAvecDossier {
protected:
    CommandeBatchTest() : TestAvecDossier("velmora-cli-batch") {}

    TSortie Lance(const std::string& args, const std::string& avant = "") const {
        return ExecuteVelmoraSim(dossier_, args, avant);
    }

    // the examples, copied into a folder of their own
    std::string Positions() const {
        const fs::path p = dossier_ / "positions";
        fs::create_directories(p);
        for (const auto& e : fs::directory_iterator(VELMORA_EXAMPLES_DIR))
            if (e.path().extension() == ".vel") fs::copy_file(e.path(), p / e.path().filename());
        return p.string();
    }

    // every file of a folder and its bytes
    static std::map<std::string, std::string> Contenu(const fs::path& dossier) {
        std::map<std::string, std::string> fichiers;
        for (const auto& e : fs::directory_iterator(dossier))
            fichiers[e.path().filename().string()] = LitFichierEntier(e.path());
        return fichiers;
    }
    static std::map<std::string, std::string> SansTemps(std::map<std::string, std::string> fichiers) {
        fichiers.erase("temps.csv");
        return fichiers;
    }
};

}  // namespace

TEST_F(CommandeBatchTest, Difficulty_EachPositionAsTheSingleCommandWritesIt_SummarySortedByName) {
    const std::string positions = Positions();
    const TSortie s =
        Lance("batch difficulty '" + positions + "' --out '" + Chemin("sortie") + "'" + kGrille);
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NE(s.out.find("positions : 6 (6 calculées, 0 déjà faites)\n"), std::string::npos) << s.out;

    const std::string resume = LitFichierEntier(dossier_ / "sortie" / "resume.csv");
    EXPECT_EQ(resume.rfind("position,trials,successes,success_rate,volume_tested,volume_success\n"
                           "fausse_queue,375,",
                           0),
              0u)
        << resume;
    // rows in name order, one per position
    size_t avant = 0;
    for (const char* nom : {"\nmanque,", "\nouverture,", "\nsaut,", "\ntrois_bandes,", "\nune_bande,"}) {
        const size_t ici = resume.find(nom);
        ASSERT_NE(ici, std::string::npos) << nom;
        EXPECT_GT(ici, avant) << nom;
        avant = ici;
    }
    // the ".bul" is byte for byte the single command's; the row says what its JSON says
    for (const std::string nom : {"ouverture", "trois_bandes"}) {
        const TSortie seul = Lance("difficulty '" + positions + "/" + nom + ".vel' --json --bul '" +
                                   Chemin(nom + ".bul") + "'" + kGrille);
        ASSERT_EQ(seul.statut, 0) << seul.err;
        EXPECT_EQ(LitFichierEntier(dossier_ / "sortie" / (nom + ".bul")),
                  LitFichierEntier(Chemin(nom + ".bul")))
            << nom;
        const size_t i = seul.out.find("\"successes\": ") + 13;
        const std::string reussis = seul.out.substr(i, seul.out.find(',', i) - i);
        EXPECT_NE(resume.find("\n" + nom + ",375," + reussis + ","), std::string::npos) << resume << seul.out;
        EXPECT_EQ(LitFichierEntier(dossier_ / "sortie" / (nom + ".resume.csv")),
                  resume.substr(0, resume.find('\n') + 1) +
                      resume.substr(resume.find("\n" + nom + ",") + 1,
                                    resume.find('\n', resume.find("\n" + nom + ",") + 1) -
                                        resume.find("\n" + nom + ",")));
    }
    EXPECT_NE(
        LitFichierEntier(dossier_ / "sortie" / "temps.csv").find("position,seconds,rank\nfausse_queue,"),
        std::string::npos);
}

TEST_F(CommandeBatchTest, SameBytesWhateverTheThreads) {
    const std::string positions = Positions();
    ASSERT_EQ(Lance("batch difficulty '" + positions + "' --threads 1 --out '" + Chemin("un") + "'" + kGrille)
                  .statut,
              0);
    ASSERT_EQ(
        Lance("batch difficulty '" + positions + "' --threads 4 --out '" + Chemin("quatre") + "'" + kGrille)
            .statut,
        0);
    const auto un = Contenu(dossier_ / "un");
    // per position its results and its row; the summary, the times, the options, the inputs' digests
    EXPECT_EQ(un.size(), 6u * 2 + 4);
    EXPECT_EQ(SansTemps(un), SansTemps(Contenu(dossier_ / "quatre")));
}

TEST_F(CommandeBatchTest, Resume_SkipsWhatIsDoneAndEndsWithTheSameFiles) {
    const std::string positions = Positions();
    const std::string commande =
        "batch difficulty '" + positions + "' --out '" + Chemin("sortie") + "'" + kGrille;
    ASSERT_EQ(Lance(commande).statut, 0);
    const auto complet = SansTemps(Contenu(dossier_ / "sortie"));

    // a run cut short: one position without its row, another without its results, no summary
    fs::remove(dossier_ / "sortie" / "saut.resume.csv");
    fs::remove(dossier_ / "sortie" / "manque.bul");
    fs::remove(dossier_ / "sortie" / "resume.csv");
    // a results file of the wrong run is not a row of this one
    std::ofstream(dossier_ / "sortie" / "une_bande.resume.csv") << "position,autre\nune_bande,1\n";
    // files that look like temporaries are not the run's own: they stay
    std::ofstream(dossier_ / "sortie" / "manque.bul.tmp-123-0-456") << "moitié";
    std::ofstream(dossier_ / "sortie" / "notes.txt.tmp-1") << "à garder";
    const TSortie s = Lance(commande + " --resume");
    ASSERT_EQ(s.statut, 0) << s.err;
    for (const char* autre : {"manque.bul.tmp-123-0-456", "notes.txt.tmp-1"}) {
        ASSERT_TRUE(fs::exists(dossier_ / "sortie" / autre)) << autre;
        fs::remove(dossier_ / "sortie" / autre);
    }
    EXPECT_NE(s.out.find("positions : 6 (3 calculées, 3 déjà faites)\n"), std::string::npos) << s.out;
    EXPECT_EQ(SansTemps(Contenu(dossier_ / "sortie")), complet);
    // the times of the positions done before are kept
    const std::string temps = LitFichierEntier(dossier_ / "sortie" / "temps.csv");
    EXPECT_NE(temps.find("\nouverture,"), std::string::npos) << temps;

    // other options: refused, nothing touched
    const TSortie autre = Lance(commande + " --mode libre --resume");
    EXPECT_EQ(autre.statut, 2);
    EXPECT_NE(autre.err.find("d'autres options"), std::string::npos) << autre.err;
    EXPECT_EQ(SansTemps(Contenu(dossier_ / "sortie")), complet);
}

TEST_F(CommandeBatchTest, BadUsage_ExitsWithTwoAndSaysWhy) {
    const std::string positions = Positions();
    const std::string sortie = " --out '" + Chemin("sortie") + "'";
    fs::create_directories(dossier_ / "autre");
    fs::copy_file(fs::path(positions) / "saut.vel", dossier_ / "autre" / "saut.vel");
    for (const std::string& args : std::vector<std::string>{
             "batch", "batch --out x", "batch rien '" + positions + "'" + sortie,
             "batch difficulty '" + positions + "'", "batch difficulty" + sortie,
             "batch difficulty '" + positions + "'" + sortie + " --bul x.bul",
             "batch difficulty '" + positions + "'" + sortie + " --json",
             "batch difficulty '" + positions + "'" + sortie + " --export x.pvr",
             "batch difficulty '" + positions + "'" + sortie + " --threads 0",
             "batch difficulty '" + positions + "'" + sortie + " --trials 1,2",
             "batch difficulty '" + positions + "'" + sortie + " --mode",
             "batch difficulty '" + positions + "'" + sortie + " --resume=oui",
             // two positions named "saut": their results would overwrite each other
             "batch difficulty '" + positions + "' '" + Chemin("autre") + "'" + sortie}) {
        const TSortie s = Lance(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_NE(s.err.find("velmora-sim batch : "), std::string::npos) << args << "\n" << s.err;
        EXPECT_EQ(s.out, "") << args;
        EXPECT_FALSE(fs::exists(dossier_ / "sortie")) << args;
    }
    // the same file named twice is one position
    const TSortie deux = Lance("batch difficulty '" + positions + "/saut.vel' '" + positions +
                               "/../positions/saut.vel'" + sortie + kGrille);
    EXPECT_EQ(deux.statut, 0) << deux.err;
    EXPECT_NE(deux.out.find("positions : 1 "), std::string::npos) << deux.out;
}

TEST_F(CommandeBatchTest, FileErrors_ExitWithOneBeforeComputingAnything) {
    const std::string positions = Positions();
    const std::string sortie = " --out '" + Chemin("sortie") + "'" + kGrille;
    fs::create_directories(dossier_ / "vide");
    std::ofstream(Chemin("fichier")) << "x";
    const std::map<std::string, std::string> cas = {
        {"batch difficulty '" + positions + "' '" + Chemin("absent.vel") + "'" + sortie, "absent.vel"},
        {"batch difficulty '" + Chemin("vide") + "'" + sortie, "aucun fichier de positions"},
        {"batch difficulty '" + positions + "' --fsk '" + Chemin("absent.fsk") + "'" + sortie, "absent.fsk"},
        {"batch difficulty '" + positions + "' --out '" + Chemin("fichier") + "/sortie'" + kGrille,
         "fichier"}};
    for (const auto& [args, motif] : cas) {
        const TSortie s = Lance(args);
        EXPECT_EQ(s.statut, 1) << args;
        EXPECT_NE(s.err.find(motif), std::string::npos) << args << "\n" << s.err;
        EXPECT_EQ(s.out, "") << args;
        EXPECT_FALSE(fs::exists(dossier_ / "sortie")) << args;
    }
}

TEST_F(CommandeBatchTest, DiskFull_StopsWithOneAndKeepsEveryFinishedPositionWhole) {
    DisqueEnPanne disque("batch", 16);
    VELMORA_EXIGE_DISQUE(disque);
    const std::string positions = Positions();
    const std::string commande = "batch difficulty '" + positions + "' --threads 1" + kGrille + " --out ";
    const TSortie s = Lance(commande + "'" + disque.Chemin("sortie") + "'");
    EXPECT_EQ(s.statut, 1) << s.out;
    // the file that could not be written, not just "stopped"
    EXPECT_NE(s.err.find("écriture impossible, \"" + disque.Chemin("sortie/")), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");
    ASSERT_EQ(Lance(commande + "'" + Chemin("ref") + "'").statut, 0);
    // what is there is whole and right; no temporary file left
    for (const auto& [nom, contenu] : Contenu(fs::path(disque.Chemin("sortie")))) {
        EXPECT_EQ(nom.find(".tmp"), std::string::npos) << nom;
        if (nom != "temps.csv") {
            EXPECT_EQ(contenu, LitFichierEntier(dossier_ / "ref" / nom)) << nom;
        }
    }
    EXPECT_FALSE(fs::exists(disque.Chemin("sortie/resume.csv")));
}

TEST_F(CommandeBatchTest, Solve_EachPositionAsTheSingleCommandPrintsIt_SameBytesWhateverTheThreads) {
    const fs::path positions = dossier_ / "positions";
    fs::create_directories(positions);
    for (const char* nom : {"ouverture", "trois_bandes", "une_bande"})
        fs::copy_file(fs::path(VELMORA_EXAMPLES_DIR) / (std::string(nom) + ".vel"),
                      positions / (std::string(nom) + ".vel"));
    const std::string options = " --budget 1000 --top 1 --mode libre";
    const TSortie s =
        Lance("batch solve '" + positions.string() + "' --threads 1 --out '" + Chemin("un") + "'" + options);
    ASSERT_EQ(s.statut, 0) << s.err;
    ASSERT_EQ(
        Lance("batch solve '" + positions.string() + "' --threads 2 --out '" + Chemin("deux") + "'" + options)
            .statut,
        0);
    const auto un = Contenu(dossier_ / "un");
    EXPECT_EQ(un.size(), 3u * 2 + 4);
    EXPECT_EQ(SansTemps(un), SansTemps(Contenu(dossier_ / "deux")));

    const std::string resume = un.at("resume.csv");
    EXPECT_EQ(resume.rfind("position,routes_found,best_success_rate\nouverture,", 0), 0u) << resume;
    for (const std::string nom : {"ouverture", "trois_bandes", "une_bande"}) {
        const TSortie seul = Lance("solve '" + (positions / (nom + ".vel")).string() + "' --json" + options);
        ASSERT_EQ(seul.statut, 0) << seul.err;
        // the batch's file has no computing time: the rest is the same bytes
        std::string attendu = seul.out;
        const size_t i = attendu.find("\"seconds\": ") + 11;
        attendu.replace(i, attendu.find(',', i) - i, "0");
        EXPECT_EQ(un.at(nom + ".json"), attendu) << nom;
        const size_t k = attendu.find("\"routes_found\": ") + 16;
        EXPECT_NE(resume.find("\n" + nom + "," + attendu.substr(k, attendu.find(',', k) - k) + ","),
                  std::string::npos)
            << resume << attendu;
    }
    // --resume reads the routes back: whole files count as done, a cut one is computed again
    std::ofstream(dossier_ / "un" / "une_bande.json", std::ios::trunc)
        << un.at("une_bande.json").substr(0, 40);
    const TSortie reprise = Lance("batch solve '" + positions.string() + "' --threads 1 --out '" +
                                  Chemin("un") + "'" + options + " --resume");
    ASSERT_EQ(reprise.statut, 0) << reprise.err;
    EXPECT_NE(reprise.out.find("(1 calculées, 2 déjà faites)"), std::string::npos) << reprise.out;
    EXPECT_EQ(SansTemps(Contenu(dossier_ / "un")), SansTemps(un));
    // the single command's --save and --json have no place in a batch
    for (const char* option : {" --save x", " --json", " --budget 10"}) {
        const TSortie faux =
            Lance("batch solve '" + positions.string() + "' --out '" + Chemin("faux") + "'" + option);
        EXPECT_EQ(faux.statut, 2) << option;
        EXPECT_NE(faux.err.find("velmora-sim batch : "), std::string::npos) << option << faux.err;
        EXPECT_FALSE(fs::exists(dossier_ / "faux")) << option;
    }
}

TEST_F(CommandeBatchTest, Help_NamesTheKindsTheFilesAndMpi) {
    const TSortie s = Lance("batch --help");
    ASSERT_EQ(s.statut, 0);
    for (const char* mot :
         {"difficulty", "solve", "--out", "--resume", "--threads", "resume.csv", "temps.csv", "mpirun"})
        EXPECT_NE(s.out.find(mot), std::string::npos) << mot;
    EXPECT_NE(Lance("--help").out.find("batch"), std::string::npos);
}

TEST_F(CommandeBatchTest, AFolderBelongsToOneOptionSet_AnotherIsRefusedNamingTheOption_ForceStartsAfresh) {
    const std::string positions = Positions();
    const std::string vers = " --out '" + Chemin("sortie") + "'";
    ASSERT_EQ(Lance("batch difficulty '" + positions + "'" + vers + kGrille).statut, 0);
    const auto premier = Contenu(dossier_ / "sortie");
    // other trials into the same folder, with or without --resume: refused, nothing touched
    for (const char* reprise : {"", " --resume"}) {
        const TSortie s =
            Lance("batch difficulty '" + positions + "'" + vers + " --trials 1,1,1,1,0,0" + reprise);
        EXPECT_EQ(s.statut, 2) << reprise;
        EXPECT_NE(s.err.find("--trials : 2,2,2,1,0,0 dans le dossier, 1,1,1,1,0,0 demandé"),
                  std::string::npos)
            << s.err;
        EXPECT_EQ(Contenu(dossier_ / "sortie"), premier);
    }
    // --force: the folder is the new set's, as if it had been made by it alone
    ASSERT_EQ(
        Lance("batch difficulty '" + positions + "' --out '" + Chemin("seul") + "' --trials 1,1,1,1,0,0")
            .statut,
        0);
    const TSortie f = Lance("batch difficulty '" + positions + "'" + vers + " --trials 1,1,1,1,0,0 --force");
    ASSERT_EQ(f.statut, 0) << f.err;
    EXPECT_EQ(SansTemps(Contenu(dossier_ / "sortie")), SansTemps(Contenu(dossier_ / "seul")));
    EXPECT_EQ(Lance("batch difficulty '" + positions + "'" + vers + " --force --resume").statut, 2);
}

TEST_F(CommandeBatchTest, TheTableAndThePositionsCountByTheirContent) {
    const std::string positions = Positions();
    std::ofstream(Chemin("t.fsk")) << LitFichierEntier(std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk");
    const std::string commande = "batch difficulty '" + positions + "' --fsk '" + Chemin("t.fsk") +
                                 "' --out '" + Chemin("sortie") + "'" + kGrille;
    ASSERT_EQ(Lance(commande).statut, 0);
    // the table edited under the same name: its results are not this table's
    std::ofstream(Chemin("t.fsk"), std::ios::app) << "[Autres]\nG=900\n";
    const TSortie table = Lance(commande + " --resume");
    EXPECT_EQ(table.statut, 2);
    EXPECT_NE(table.err.find("--fsk : "), std::string::npos) << table.err;
    // a position edited since: computed again, and said
    ASSERT_EQ(Lance(commande + " --force").statut, 0);
    std::string saut = LitFichierEntier(fs::path(positions) / "saut.vel");
    saut.replace(saut.find("P1x="), 4, "P1x=1");
    std::ofstream(fs::path(positions) / "saut.vel") << saut;
    const TSortie s = Lance(commande + " --resume");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NE(s.out.find("(1 calculées, 5 déjà faites)"), std::string::npos) << s.out;
    EXPECT_NE(s.err.find("\"saut\" : ses entrées ont changé depuis son calcul ; elle est recalculée"),
              std::string::npos)
        << s.err;
}

TEST_F(CommandeBatchTest, Resume_TrustsOnlyResultsThatReadBackWholeAndGiveTheirRow) {
    const std::string positions = Positions();
    const std::string commande =
        "batch difficulty '" + positions + "' --out '" + Chemin("sortie") + "'" + kGrille;
    ASSERT_EQ(Lance(commande).statut, 0);
    const auto complet = SansTemps(Contenu(dossier_ / "sortie"));
    const fs::path sortie = dossier_ / "sortie";
    // an empty results file; a forged row under the right header; a .bul cut in a record; the
    // results of another position under this one's name
    std::ofstream(sortie / "ouverture.bul", std::ios::trunc).close();
    std::ofstream(sortie / "trois_bandes.resume.csv")
        << "position,trials,successes,success_rate,volume_tested,volume_success\ntrois_bandes,375,375,1,75,"
           "75\n";
    const std::string manque = LitFichierEntier(sortie / "manque.bul");
    std::ofstream(sortie / "manque.bul") << manque << "abc";
    fs::copy_file(sortie / "ouverture.resume.csv", sortie / "une_bande.resume.csv",
                  fs::copy_options::overwrite_existing);
    const TSortie s = Lance(commande + " --resume");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NE(s.out.find("(4 calculées, 2 déjà faites)"), std::string::npos) << s.out;
    for (const char* nom : {"ouverture", "trois_bandes", "manque", "une_bande"})
        EXPECT_NE(s.err.find("\"" + std::string(nom) + "\" : "), std::string::npos) << nom << "\n" << s.err;
    EXPECT_EQ(SansTemps(Contenu(dossier_ / "sortie")), complet);
}

TEST_F(CommandeBatchTest, TwoRunsIntoOneFolderAtOnce_TheSecondIsToldWhichProcessHoldsIt) {
    const std::string positions = Positions();
    TDossierSortie autre;
    ASSERT_TRUE(autre.Ouvre(Chemin("sortie")));
    ASSERT_TRUE(autre.Verrouille(".verrou"));
    const TSortie s =
        Lance("batch difficulty '" + positions + "' --out '" + Chemin("sortie") + "'" + kGrille);
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("déjà utilisé par un autre calcul (processus " + std::to_string(getpid()) + ")"),
              std::string::npos)
        << s.err;
    EXPECT_EQ(Contenu(dossier_ / "sortie").size(), 1u);  // the lock file only
    autre.Deverrouille();
    EXPECT_EQ(Lance("batch difficulty '" + positions + "' --out '" + Chemin("sortie") + "'" + kGrille).statut,
              0);
    EXPECT_FALSE(fs::exists(dossier_ / "sortie" / ".verrou"));
}

TEST_F(CommandeBatchTest, OutWithoutItsFolder_IsRefusedInsteadOfMakingAFolderNamedAfterAnOption) {
    const std::string positions = Positions();
    const TSortie s = Lance("batch difficulty '" + positions + "' --out --resume" + kGrille,
                            "cd '" + dossier_.string() + "' &&");
    EXPECT_EQ(s.statut, 2);
    EXPECT_NE(s.err.find("l'option --out attend un nom de dossier"), std::string::npos) << s.err;
    EXPECT_FALSE(fs::exists(dossier_ / "--resume"));
}

TEST_F(CommandeBatchTest, APositionWhoseNameHoldsALineFeed_IsRecognisedByResume) {
    const fs::path positions = dossier_ / "positions";
    fs::create_directories(positions);
    fs::copy_file(std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel",
                  positions / "deux\nlignes, \"cités\".vel");
    const std::string commande =
        "batch difficulty '" + positions.string() + "' --out '" + Chemin("sortie") + "'" + kGrille;
    ASSERT_EQ(Lance(commande).statut, 0);
    const TSortie s = Lance(commande + " --resume");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_NE(s.out.find("(0 calculées, 1 déjà faites)"), std::string::npos) << s.out;
    EXPECT_NE(
        LitFichierEntier(dossier_ / "sortie" / "resume.csv").find("\n\"deux\nlignes, \"\"cités\"\"\",375,"),
        std::string::npos);
}

TEST_F(CommandeBatchTest, AnInputThatWouldBeOneOfTheFolderOutputs_IsRefusedBeforeComputing) {
    // a position file named resume.csv in the output folder: the summary would replace it
    fs::create_directories(dossier_ / "sortie");
    fs::copy_file(std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel", dossier_ / "sortie" / "resume.csv");
    const std::string avant = LitFichierEntier(dossier_ / "sortie" / "resume.csv");
    const TSortie s = Lance("batch difficulty '" + Chemin("sortie/resume.csv") + "' --out '" +
                            Chemin("sortie") + "'" + kGrille);
    EXPECT_EQ(s.statut, 2);
    EXPECT_NE(s.err.find("est un fichier que la commande lit"), std::string::npos) << s.err;
    EXPECT_EQ(LitFichierEntier(dossier_ / "sortie" / "resume.csv"), avant);
    EXPECT_EQ(Contenu(dossier_ / "sortie").size(), 1u);
}
