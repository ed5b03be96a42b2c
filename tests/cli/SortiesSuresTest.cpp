// What velmora-sim writes can never be turned against its user, and its exit status never claims a
// success it did not have: links planted by another user, a full output, an output that is one of
// the command's own inputs, names that would drive the terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"
#include "tests/support/LiensEtrangers.h"

namespace fs = std::filesystem;

namespace {

const std::string kExemples = VELMORA_EXAMPLES_DIR;
const std::string kOuverture = "'" + kExemples + "/ouverture.vel'";

class SortiesSuresTest : public TestAvecDossier {
protected:
    SortiesSuresTest() : TestAvecDossier("velmora-cli-sorties") {}
    TSortie Lance(const std::string& args, const std::string& avant = "") const {
        return ExecuteVelmoraSim(dossier_, args, avant);
    }
    // the examples' positions, copied into a folder of their own
    std::string Positions(const std::vector<std::string>& noms) const {
        fs::create_directories(dossier_ / "positions");
        for (const std::string& nom : noms)
            fs::copy_file(kExemples + "/" + nom + ".vel", dossier_ / "positions" / (nom + ".vel"));
        return Chemin("positions");
    }
};

}  // namespace

TEST_F(SortiesSuresTest, SavesNeverWriteThroughALinkAnotherUserPlantedInASharedFolder) {
    VELMORA_EXIGE_ROOT();
    CreePartage(Chemin("partage"));
    CreePrive(Chemin("prive"), "secret", "à moi seul");
    // a save the user names: refused, exit 1, the target untouched
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/coup.pvr")));
    const TSortie s = Lance("shot " + kOuverture + " --export '" + Chemin("partage/coup.pvr") + "'");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("lien symbolique d'un autre utilisateur"), std::string::npos) << s.err;
    // the files a batch makes itself in its folder: the link is replaced, never followed
    CreePartage(Chemin("partage/sortie"));
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/sortie/resume.csv")));
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/sortie/saut.bul")));
    const TSortie b = Lance("batch difficulty '" + Positions({"saut"}) + "' --out '" +
                            Chemin("partage/sortie") + "' --trials 1,1,1,1,0,0");
    EXPECT_EQ(b.statut, 0) << b.err;
    EXPECT_FALSE(fs::is_symlink(Chemin("partage/sortie/resume.csv")));
    EXPECT_EQ(LitFichierEntier(Chemin("prive/secret")), "à moi seul");
    EXPECT_EQ(std::distance(fs::directory_iterator(Chemin("prive")), fs::directory_iterator()), 1);
}

TEST_F(SortiesSuresTest, AFullOutputIsAnErrorWithOneLineThatSaysSo) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this machine";
    std::ofstream(Chemin("lancer.vel2")) << LitFichierEntier(kExemples + "/lancer.vel2");
    const std::vector<std::string> commandes = {"--help",
                                                "shot --help",
                                                "shot " + kOuverture + " --json",
                                                "launch '" + Chemin("lancer.vel2") + "'",
                                                "difficulty " + kOuverture + " --trials 0,0,0,0,0,0",
                                                "solve " + kOuverture + " --budget 1000 --top 1 --threads 1",
                                                "batch difficulty '" + Positions({"saut"}) + "' --out '" +
                                                    Chemin("sortie") + "' --trials 0,0,0,0,0,0"};
    for (const std::string& args : commandes) {
        const TSortie s = ExecuteVelmoraSim(dossier_, args, "LC_ALL=fr_FR.UTF-8", "/dev/full");
        EXPECT_EQ(s.statut, 1) << args;
        EXPECT_EQ(s.err,
                  "velmora-sim : écriture de la sortie impossible : Aucun espace disponible sur le "
                  "périphérique\n")
            << args;
    }
}

TEST_F(SortiesSuresTest, NamesInMessagesCannotDriveTheTerminal) {
    const std::string nom = Chemin(
        "\x1b]0;titre\x07\x1b[2J\rfaux\x9b"
        "1m.vel");
    const TSortie s = Lance("shot '" + nom + "'");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.err.find_first_of("\x1b\x07\r"), std::string::npos) << s.err;
    EXPECT_NE(s.err.find("\\x1b]0;titre\\x07\\x1b[2J\\rfaux"), std::string::npos) << s.err;
}

TEST_F(SortiesSuresTest, AnExportOrAResultsFileIsNeverTheCommandsOwnInput) {
    std::ofstream(Chemin("p.vel")) << LitFichierEntier(kExemples + "/ouverture.vel");
    std::ofstream(Chemin("t.fsk")) << LitFichierEntier(kExemples + "/match.fsk");
    std::ofstream(Chemin("l.vel2")) << LitFichierEntier(kExemples + "/lancer.vel2");
    fs::create_symlink(Chemin("p.vel"), Chemin("lien.pvr"));
    fs::create_symlink(Chemin("p.vel"), Chemin("lien.bul"));
    const std::string p = "'" + Chemin("p.vel") + "'";
    for (const std::string& args :
         {"shot " + p + " --export " + p, "shot " + p + " --export '" + Chemin("lien.pvr") + "'",
          "shot " + p + " --fsk '" + Chemin("t.fsk") + "' --export '" + Chemin("t.fsk") + "'",
          "launch '" + Chemin("l.vel2") + "' --export '" + Chemin("l.vel2") + "'",
          "difficulty " + p + " --trials 0,0,0,0,0,0 --bul '" + Chemin("lien.bul") + "'"}) {
        const TSortie s = Lance(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_NE(s.err.find("est un fichier que la commande lit"), std::string::npos) << args << "\n"
                                                                                       << s.err;
        EXPECT_EQ(s.out, "") << args;
    }
    EXPECT_EQ(LitFichierEntier(Chemin("p.vel")), LitFichierEntier(kExemples + "/ouverture.vel"));
    EXPECT_EQ(LitFichierEntier(Chemin("t.fsk")), LitFichierEntier(kExemples + "/match.fsk"));
    EXPECT_EQ(LitFichierEntier(Chemin("l.vel2")), LitFichierEntier(kExemples + "/lancer.vel2"));
}
