// velmora-sim solve, run as a user runs it: the saved routes replay as "réussi" through `shot`,
// their rates are what `difficulty` says of the saved files, any thread count gives the same
// output, and bad input is refused as `shot` refuses it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/DossierDeTest.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LanceVelmoraSim.h"

namespace fs = std::filesystem;

namespace {

class CommandeSolveTest : public TestAvecDossier {
protected:
    CommandeSolveTest() : TestAvecDossier("velmora-cli-solve") {}
    static std::string Exemple(const std::string& nom) {
        return "'" + std::string(VELMORA_EXAMPLES_DIR) + "/" + nom + "'";
    }

    TSortie Lance(const std::string& commande, const std::string& args) const {
        return ExecuteVelmoraSim(dossier_, commande + " " + args);
    }
};

// every number after "key": in the JSON text, in order
std::vector<double> Champs(const std::string& json, const std::string& cle) {
    std::vector<double> v;
    const std::regex motif("\"" + cle + "\": (-?[0-9.eE+-]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), motif); it != std::sregex_iterator(); ++it)
        v.push_back(std::stod((*it)[1]));
    return v;
}

// a small search, quick in a test
const std::string kPetite = " --budget 20000 --top 3";

}  // namespace

TEST_F(CommandeSolveTest, SavedRoutesReplayAsScoredWithTheRateDifficultyGives) {
    const TSortie s =
        Lance("solve", Exemple("ouverture.vel") + kPetite + " --json --save '" + Chemin("routes") + "'");
    ASSERT_EQ(s.statut, 0) << s.err;
    EXPECT_EQ(s.out.rfind("{\"routes\": [{\"rank\": 1, \"sequence\": \"", 0), 0u) << s.out;
    EXPECT_EQ(s.out.find('\n'), s.out.size() - 1);
    const std::vector<double> essais = Champs(s.out, "trials");
    const std::vector<double> reussis = Champs(s.out, "successes");
    const std::vector<double> taux = Champs(s.out, "success_rate");
    ASSERT_FALSE(essais.empty());
    ASSERT_EQ(essais.size(), reussis.size());
    ASSERT_EQ(taux.size(), essais.size());
    for (size_t i = 0; i < essais.size(); ++i) {
        const std::string route = Chemin("routes/route" + std::to_string(i + 1) + ".vel");
        ASSERT_TRUE(fs::exists(route)) << route;
        EXPECT_NE(s.out.find("\"file\": \"" + route + "\""), std::string::npos);
        const TSortie tir = Lance("shot", "'" + route + "'");
        EXPECT_EQ(tir.statut, 0);
        EXPECT_EQ(tir.out.rfind("réussi ", 0), 0u) << route << " : " << tir.out;
        const TSortie d = Lance("difficulty", "'" + route + "' --json");
        ASSERT_EQ(d.statut, 0) << d.err;
        EXPECT_EQ(Champs(d.out, "trials").at(0), essais[i]);
        EXPECT_EQ(Champs(d.out, "successes").at(0), reussis[i]) << route;
        EXPECT_NEAR(taux[i], 100 * reussis[i] / essais[i], 1e-9);
    }
    // easiest first
    for (size_t i = 1; i < taux.size(); ++i) EXPECT_GE(taux[i - 1], taux[i]);
}

TEST_F(CommandeSolveTest, TextAndOtherModes_OneLinePerRouteThenTheCounts) {
    const TSortie s = Lance("solve", Exemple("ouverture.vel") + kPetite + " --mode 1bande");
    ASSERT_EQ(s.statut, 0) << s.err;
    const std::regex ligne(
        R"(^[1-3]\. .+ : [0-9]+\.[0-9] % ; vitesse [0-9.]+ cm/s, visée [0-9.-]+°, effet [0-9.-]+ cm, hauteur [0-9.-]+ cm, inclinaison [0-9.]+°$)");
    std::istringstream flux(s.out);
    std::string l;
    int routes = 0;
    while (std::getline(flux, l))
        if (std::regex_match(l, ligne)) ++routes;
    EXPECT_EQ(routes, 3) << s.out;
    EXPECT_NE(s.out.find(" routes trouvées, "), std::string::npos);
    EXPECT_EQ(s.err, "");
}

TEST_F(CommandeSolveTest, EachRouteSaysHowToPlayItAndWhichCushionsAtWhichDiamonds) {
    const TSortie s = Lance("solve", Exemple("ouverture.vel") + kPetite);
    ASSERT_EQ(s.statut, 0) << s.err;
    // under each route: the stroke in a player's words, then its contacts with named cushions
    const std::regex jouer(
        R"(^   jouer : ((Jaune|Rouge) (pleine bille|(3/4|1/2|1/4) bille à (gauche|droite)|fine à (gauche|droite))|)"
        R"(bricole : (longue (droite|gauche)|courte du (haut|bas)) [0-8]\.[0-9]), )"
        R"((effet [0-9.]+ procédés? à (1[0-2]|[1-9]) h|frappe au centre), vitesse ([1-9]|10)/10$)");
    const std::regex bande("(longue (droite|gauche)|courte du (haut|bas)) [0-8]\\.[0-9]");
    std::istringstream flux(s.out);
    std::string l;
    int jouees = 0, routes = 0;
    while (std::getline(flux, l)) {
        jouees += std::regex_match(l, jouer);
        if (l.rfind("   route : ", 0) != 0) continue;
        ++routes;
        // three cushions at least, each with its diamond, and the second ball last
        EXPECT_GE(std::distance(std::sregex_iterator(l.begin(), l.end(), bande), std::sregex_iterator()), 3)
            << l;
        EXPECT_TRUE(std::regex_search(l, std::regex(" → (Jaune|Rouge)$"))) << l;
    }
    EXPECT_EQ(jouees, 3) << s.out;
    EXPECT_EQ(routes, 3) << s.out;
    // the JSON names as many cushions, with as many diamonds, as it numbers
    const TSortie j = Lance("solve", Exemple("ouverture.vel") + kPetite + " --json");
    ASSERT_EQ(j.statut, 0) << j.err;
    const std::regex route(
        R"re("cushions": \[([0-9, ]*)\].*?"cushion_names": \[([^\]]*)\], "diamonds": \[([^\]]*)\])re");
    int n = 0;
    for (auto it = std::sregex_iterator(j.out.begin(), j.out.end(), route); it != std::sregex_iterator();
         ++it, ++n) {
        const auto compte = [](const std::string& t, char c) { return std::count(t.begin(), t.end(), c); };
        const long bandes = compte((*it)[1], ',') + 1;
        EXPECT_EQ(compte((*it)[2], '"'), 2 * bandes) << (*it)[0];
        EXPECT_EQ(compte((*it)[3], ',') + 1, bandes) << (*it)[0];
    }
    EXPECT_EQ(n, 3) << j.out;
}

TEST_F(CommandeSolveTest, SameOutputOnOneAndTwoThreads) {
    const TSortie un = Lance("solve", Exemple("ouverture.vel") + kPetite + " --json --threads 1");
    const TSortie deux = Lance("solve", Exemple("ouverture.vel") + kPetite + " --json --threads=2");
    ASSERT_EQ(un.statut, 0);
    ASSERT_EQ(deux.statut, 0);
    const auto sansTemps = [](const std::string& j) {
        return std::regex_replace(j, std::regex("\"seconds\": [^,}]+"), "");
    };
    EXPECT_EQ(sansTemps(un.out), sansTemps(deux.out));
}

TEST_F(CommandeSolveTest, BallOneFrozenAgainstBothOthers_EmptyListSaidPlainly) {
    // ball 1 touching balls 2 and 3 (6.15 cm apart, the models' diameter)
    std::ofstream(Chemin("colle.vel")) << "[Queue]\nVq=300\nm=520\n[Positions]\nP1x=0\nP1y=0\nP1z=3.075\n"
                                          "P2x=6.15\nP2y=0\nP2z=3.075\nP3x=0\nP3y=6.15\nP3z=3.075\n";
    const TSortie s = Lance("solve", "'" + Chemin("colle.vel") + "'" + kPetite);
    EXPECT_EQ(s.statut, 0) << s.err;
    EXPECT_EQ(s.out.rfind("aucune route : ", 0), 0u) << s.out;
    EXPECT_NE(s.out.find("collée"), std::string::npos);
    const TSortie j =
        Lance("solve", "'" + Chemin("colle.vel") + "'" + kPetite + " --json --save '" + Chemin("r") + "'");
    EXPECT_EQ(j.statut, 0);
    EXPECT_EQ(j.out.rfind("{\"routes\": [], ", 0), 0u) << j.out;
    EXPECT_NE(j.out.find("\"reason\": "), std::string::npos);
    EXPECT_FALSE(fs::exists(Chemin("r/route1.vel")));
}

TEST_F(CommandeSolveTest, BadInput_RefusedLikeShotWithoutSearching) {
    // files: missing, not a position, a save folder that cannot be made
    EXPECT_EQ(Lance("solve", "'" + Chemin("absent.vel") + "'").statut, 1);
    std::ofstream(Chemin("texte.vel")) << "rien\n";
    EXPECT_EQ(Lance("shot", "'" + Chemin("texte.vel") + "'").statut, 1);
    EXPECT_EQ(Lance("solve", "'" + Chemin("texte.vel") + "'").statut, 1);
    std::ofstream(Chemin("fichier")) << "x";
    const TSortie dossier =
        Lance("solve", Exemple("ouverture.vel") + " --save '" + Chemin("fichier") + "/sous'");
    EXPECT_EQ(dossier.statut, 1);
    EXPECT_NE(dossier.err.find("dossier"), std::string::npos) << dossier.err;
    // usage
    for (const char* args : {"", " --top 0", " --top x", " --budget 10", " --threads 0", " --mode 2bandes",
                             " --export x.pvr", " --massé=1", " --save", " --inconnue"}) {
        const std::string ligne = std::string(args).empty() ? "" : Exemple("ouverture.vel") + args;
        const TSortie s = Lance("solve", ligne);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_EQ(s.err.rfind("velmora-sim solve : ", 0), 0u) << s.err;
        EXPECT_EQ(s.out, "");
    }
    // the help names every option
    const TSortie aide = Lance("solve", "--help");
    EXPECT_EQ(aide.statut, 0);
    for (const char* o : {"--mode", "--top", "--budget", "--threads", "--massé", "--json", "--save", "--fsk"})
        EXPECT_NE(aide.out.find(o), std::string::npos) << o;
}

TEST_F(CommandeSolveTest, CtrlC_StopsAndReportsTheRoutesFoundSoFar) {
    // a long search interrupted after a while: status 130, the routes found so far on the output
    const std::string ligne = "timeout --preserve-status -s INT 2 " + std::string(VELMORA_SIM_EXE) +
                              " solve " + Exemple("ouverture.vel") + " --budget 5000000 --json > '" +
                              Chemin("out.txt") + "' 2> '" + Chemin("err.txt") + "'";
    const int brut = std::system(ligne.c_str());
    ASSERT_TRUE(WIFEXITED(brut));
    EXPECT_EQ(WEXITSTATUS(brut), 130);
    const std::string out = LitFichierEntier(dossier_ / "out.txt");
    EXPECT_EQ(out.rfind("{\"routes\": [", 0), 0u) << out;
    EXPECT_NE(out.find("\"interrupted\": true"), std::string::npos) << out;
    const std::string err = LitFichierEntier(dossier_ / "err.txt");
    EXPECT_NE(err.find("interrompue"), std::string::npos);
    // a route without its rate is said so, on the error output and in the object
    if (out.find("\"success_rate\": null") != std::string::npos) {
        EXPECT_NE(err.find("non mesuré"), std::string::npos) << err;
        EXPECT_NE(out.find("\"rates_measured\": false"), std::string::npos) << out;
    }
}

TEST_F(CommandeSolveTest, Save_NeverReplacesTheInputNorWhatIsNoPlainFile_CheckedBeforeSearching) {
    // the position searched is itself a saved route of that folder: refused, kept as it was
    fs::create_directories(dossier_ / "routes");
    fs::copy_file(std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel", dossier_ / "routes" / "route1.vel");
    const std::string avant = LitFichierEntier(dossier_ / "routes" / "route1.vel");
    const TSortie soi = Lance(
        "solve", "'" + Chemin("routes/route1.vel") + "'" + kPetite + " --save '" + Chemin("routes") + "'");
    EXPECT_EQ(soi.statut, 2);
    EXPECT_NE(soi.err.find("est un fichier que la commande lit"), std::string::npos) << soi.err;
    EXPECT_EQ(LitFichierEntier(dossier_ / "routes" / "route1.vel"), avant);
    // a pipe, a folder, a protected file where a route would go: refused before any search, kept
    fs::create_directories(dossier_ / "tube");
    ASSERT_TRUE(CreeTube(Chemin("tube/route2.vel")));
    fs::create_directories(dossier_ / "dossier" / "route1.vel");
    fs::create_directories(dossier_ / "protege");
    CreeProtege(Chemin("protege/route3.vel"), "ancien");
    for (const auto& [dossier, raison] :
         std::vector<std::pair<std::string, std::string>>{{"tube", "n'est pas un fichier ordinaire"},
                                                          {"dossier", "c'est un dossier"},
                                                          {"protege", "protégé en écriture"}}) {
        const TSortie s =
            Lance("solve", Exemple("ouverture.vel") + kPetite + " --save '" + Chemin(dossier) + "'");
        EXPECT_EQ(s.statut, 1) << dossier;
        EXPECT_NE(s.err.find(raison), std::string::npos) << s.err;
        EXPECT_EQ(s.out, "") << dossier;
        EXPECT_FALSE(fs::exists(dossier_ / dossier / "route1.vel") && dossier != "dossier") << dossier;
    }
    EXPECT_TRUE(EstTube(Chemin("tube/route2.vel")));
    EXPECT_EQ(LitFichierEntier(Chemin("protege/route3.vel")), "ancien");
}
