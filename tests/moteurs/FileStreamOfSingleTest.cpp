#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "moteurs/FileStreamOfSingle.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LiensEtrangers.h"

namespace fs = std::filesystem;

namespace {

// a folder of its own for each test, removed afterwards
class FileStreamOfSingleTest : public TestAvecDossier {
protected:
    FileStreamOfSingleTest() : TestAvecDossier("velmora-fos") {}
    int NbFichiers() const { return int(std::distance(fs::directory_iterator(dossier_), {})); }
};

TEnteteBul EnteteExemple() {
    TEnteteBul e;
    e.Positions = {{{18.25f, -71.125f, 3.075f}, {0, -71.125f, 3.075f}, {0, 71.125f, 3.075f}}};
    e.Hautes = {1.12f, 1.67f, 99.64f, 450, 3, 520};
    e.Basses = {0.12f, 0.67f, 98.64f, 410, 3, 520};
    return e;
}

}  // namespace

TEST_F(FileStreamOfSingleTest, TwoThousandValues_OneBlockWriteThenNoneAtClose) {
    TFileOfSingle f(Chemin("a.bin"), 1);
    for (int i = 0; i < 1999; ++i) f.Ecrit(float(i));
    EXPECT_EQ(f.NbEcritures(), 0);
    f.Ecrit(1999);
    EXPECT_EQ(f.NbEcritures(), 1);
    EXPECT_EQ(f.OctetsEcrits(), 8000);
    EXPECT_EQ(f.IndexEcriture, -1);
    EXPECT_TRUE(f.Ferme());
    EXPECT_EQ(f.NbEcritures(), 1);
    EXPECT_EQ(fs::file_size(Chemin("a.bin")), 8000u);
}

TEST_F(FileStreamOfSingleTest, TwoThousandOneValues_OneBlockThenFourBytesAtClose) {
    TFileOfSingle f(Chemin("a.bin"), 1);
    for (int i = 0; i < 2001; ++i) f.Ecrit(float(i));
    EXPECT_EQ(f.NbEcritures(), 1);
    EXPECT_TRUE(f.Ferme());
    EXPECT_EQ(f.NbEcritures(), 2);
    EXPECT_EQ(f.OctetsEcrits(), 8004);
    EXPECT_EQ(fs::file_size(Chemin("a.bin")), 8004u);
}

TEST_F(FileStreamOfSingleTest, ValuesAreLittleEndianSinglesWithNothingElse) {
    {
        TFileOfSingle f(Chemin("a.bin"), 1);
        f.Ecrit(1.0f);
        f.EcritVecteur(-2.5f, 0.0f, 0.1f);
        // the destructor writes the rest
    }
    const std::string attendu(
        "\x00\x00\x80\x3F"
        "\x00\x00\x20\xC0"
        "\x00\x00\x00\x00"
        "\xCD\xCC\xCC\x3D",
        16);
    EXPECT_EQ(LitFichierEntier(Chemin("a.bin")), attendu);
}

TEST_F(FileStreamOfSingleTest, ReadingGoesBlockByBlockAndIgnoresATrailingFragment) {
    {
        TFileOfSingle f(Chemin("a.bin"), 1);
        for (int i = 0; i < 2001; ++i) f.Ecrit(float(i));
    }
    // two stray bytes: not a value
    std::ofstream(Chemin("a.bin"), std::ios::binary | std::ios::app).write("\x01\x02", 2);

    TFileOfSingle f(Chemin("a.bin"), 0);
    EXPECT_EQ(f.DernierLu, 1999);
    EXPECT_FALSE(f.DernierBloc);
    EXPECT_EQ(f.Tampon[1999], 1999.0f);
    f.Remplit();
    EXPECT_EQ(f.DernierLu, 0);
    EXPECT_TRUE(f.DernierBloc);
    EXPECT_FALSE(f.FinFichier);
    EXPECT_EQ(f.Tampon[0], 2000.0f);
    f.Remplit();
    EXPECT_EQ(f.DernierLu, -1);
    EXPECT_TRUE(f.FinFichier);
    EXPECT_FALSE(f.Erreur());
}

TEST_F(FileStreamOfSingleTest, WriteErrorIsKeptAndReported) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // the block write fails
    TFileOfSingle plein("/dev/full", 1);
    ASSERT_FALSE(plein.Erreur());
    for (int i = 0; i < 2000; ++i) plein.Ecrit(1);
    EXPECT_TRUE(plein.Erreur());
    EXPECT_NE(plein.MessageErreur().find("/dev/full"), std::string::npos);
    EXPECT_FALSE(plein.Ferme());

    // a remainder that fails at close
    TFileOfSingle reste("/dev/full", 1);
    reste.Ecrit(1);
    EXPECT_FALSE(reste.Ferme());
    EXPECT_TRUE(reste.Erreur());
}

TEST_F(FileStreamOfSingleTest, OpeningFailuresAreReportedWithTheName) {
    TFileOfSingle ecriture(Chemin("absent/a.bin"), 1);
    EXPECT_TRUE(ecriture.Erreur());
    EXPECT_NE(ecriture.MessageErreur().find("absent/a.bin"), std::string::npos);
    EXPECT_FALSE(ecriture.Ferme());

    TFileOfSingle lecture(Chemin("absent.bin"), 0);
    EXPECT_TRUE(lecture.Erreur());
    EXPECT_EQ(lecture.DernierLu, -1);
    EXPECT_TRUE(lecture.FinFichier);
}

// ---- ".bul" ----

TEST_F(FileStreamOfSingleTest, Bul_NoSuccess_GivesTheEightyFourByteHead) {
    TEcritureBul bul;
    ASSERT_TRUE(bul.Ouvre(Chemin("r.bul"), EnteteExemple()));
    ASSERT_TRUE(bul.Termine());
    EXPECT_EQ(fs::file_size(Chemin("r.bul")), 84u);
    TContenuBul lu;
    ASSERT_TRUE(LitBul(Chemin("r.bul"), lu));
    EXPECT_EQ(lu.Entete, EnteteExemple());
    EXPECT_TRUE(lu.Enregistrements.empty());
    EXPECT_EQ(NbFichiers(), 1);
}

TEST_F(FileStreamOfSingleTest, Bul_RecordsAcrossBlocksReadBackInOrder) {
    TEcritureBul bul;
    ASSERT_TRUE(bul.Ouvre(Chemin("r.bul"), EnteteExemple()));
    std::vector<TEnregistrementBul> ecrits;
    for (int i = 0; i < 700; ++i) ecrits.push_back({float(i), 0.5f, 99.14f, 430, 3, float(-i)});
    for (const auto& e : ecrits) bul.Ajoute(e);
    ASSERT_TRUE(bul.Termine());
    EXPECT_EQ(fs::file_size(Chemin("r.bul")), 84u + 24u * 700);
    TContenuBul lu;
    ASSERT_TRUE(LitBul(Chemin("r.bul"), lu));
    EXPECT_EQ(lu.Enregistrements, ecrits);
}

TEST_F(FileStreamOfSingleTest, Bul_PreviousFileStaysUntilTheNewOneIsComplete) {
    std::ofstream(Chemin("r.bul")) << "ancien";
    TEcritureBul bul;
    ASSERT_TRUE(bul.Ouvre(Chemin("r.bul"), EnteteExemple()));
    for (int i = 0; i < 400; ++i) bul.Ajoute({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(LitFichierEntier(Chemin("r.bul")), "ancien");
    ASSERT_TRUE(bul.Termine());
    EXPECT_EQ(fs::file_size(Chemin("r.bul")), 84u + 24u * 400);
    EXPECT_EQ(NbFichiers(), 1);
}

TEST_F(FileStreamOfSingleTest, Bul_AbandonedOrFailedWriteLeavesNoFile) {
    {
        TEcritureBul bul;
        ASSERT_TRUE(bul.Ouvre(Chemin("r.bul"), EnteteExemple()));
        bul.Ajoute({1, 2, 3, 4, 5, 6});
    }
    EXPECT_EQ(NbFichiers(), 0);

    // the folder disappears during the calculation
    fs::create_directories(Chemin("sous"));
    TEcritureBul bul;
    ASSERT_TRUE(bul.Ouvre(Chemin("sous/r.bul"), EnteteExemple()));
    fs::remove_all(Chemin("sous"));
    std::string erreur;
    EXPECT_FALSE(bul.Termine(&erreur));
    EXPECT_NE(erreur.find("sous/r.bul"), std::string::npos);
    EXPECT_FALSE(fs::exists(Chemin("sous")));

    // no folder at all: refused at once
    EXPECT_FALSE(bul.Ouvre(Chemin("absent/r.bul"), EnteteExemple(), &erreur));
    EXPECT_NE(erreur.find("absent/r.bul"), std::string::npos);
    EXPECT_FALSE(bul.Ouvre(dossier_.string(), EnteteExemple(), &erreur));
}

TEST_F(FileStreamOfSingleTest, Bul_APipeOrAProtectedFileAtTheTargetIsRefusedAndKept) {
    ASSERT_TRUE(CreeTube(Chemin("tube.bul")));
    CreeProtege(Chemin("vieux.bul"), "ancien");
    TEcritureBul bul;
    std::string erreur;
    EXPECT_FALSE(bul.Ouvre(Chemin("tube.bul"), EnteteExemple(), &erreur));
    EXPECT_NE(erreur.find("n'est pas un fichier ordinaire"), std::string::npos) << erreur;
    EXPECT_FALSE(bul.Ouvre(Chemin("vieux.bul"), EnteteExemple(), &erreur));
    EXPECT_NE(erreur.find("protégé en écriture"), std::string::npos) << erreur;
    EXPECT_TRUE(EstTube(Chemin("tube.bul")));
    EXPECT_EQ(LitFichierEntier(Chemin("vieux.bul")), "ancien");
    // a pipe put there during the calculation is not replaced either
    ASSERT_TRUE(bul.Ouvre(Chemin("r.bul"), EnteteExemple()));
    ASSERT_TRUE(CreeTube(Chemin("r.bul")));
    EXPECT_FALSE(bul.Termine(&erreur));
    EXPECT_TRUE(EstTube(Chemin("r.bul")));
    EXPECT_EQ(NbFichiers(), 3);
}

TEST_F(FileStreamOfSingleTest, Bul_ALinkAnotherUserPlantedInASharedFolderIsRefused) {
    VELMORA_EXIGE_ROOT();
    CreePartage(Chemin("partage"));
    CreePrive(Chemin("prive"), "secret", "à moi seul");
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/r.bul")));
    TEcritureBul bul;
    std::string erreur;
    EXPECT_FALSE(bul.Ouvre(Chemin("partage/r.bul"), EnteteExemple(), &erreur));
    EXPECT_NE(erreur.find("lien symbolique d'un autre utilisateur"), std::string::npos) << erreur;
    // planted while the calculation runs: refused when the file is put in place
    ASSERT_TRUE(bul.Ouvre(Chemin("partage/s.bul"), EnteteExemple()));
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/s.bul")));
    EXPECT_FALSE(bul.Termine(&erreur));
    EXPECT_EQ(LitFichierEntier(Chemin("prive/secret")), "à moi seul");
    EXPECT_EQ(std::distance(fs::directory_iterator(Chemin("prive")), fs::directory_iterator()), 1);
}

TEST_F(FileStreamOfSingleTest, Bul_FullDiskIsReportedAndTheOldFileKept) {
    DisqueEnPanne disque("bul", 64);
    VELMORA_EXIGE_DISQUE(disque);
    std::ofstream(disque.Chemin("r.bul")) << "ancien";
    TEcritureBul bul;
    ASSERT_TRUE(bul.Ouvre(disque.Chemin("r.bul"), EnteteExemple()));
    disque.Remplis();
    for (int i = 0; i < 1000 && !bul.Erreur(); ++i) bul.Ajoute({1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(bul.Erreur());
    std::string erreur;
    EXPECT_FALSE(bul.Termine(&erreur));
    EXPECT_NE(erreur.find("r.bul"), std::string::npos);
    EXPECT_EQ(LitFichierEntier(disque.Chemin("r.bul")), "ancien");
}

TEST_F(FileStreamOfSingleTest, LitBul_RefusesAFileOfTheWrongLength) {
    std::ofstream(Chemin("x.bul"), std::ios::binary) << std::string(85, '\0');
    TContenuBul lu;
    std::string erreur;
    EXPECT_FALSE(LitBul(Chemin("x.bul"), lu, &erreur));
    EXPECT_NE(erreur.find("x.bul"), std::string::npos);
    EXPECT_FALSE(LitBul(Chemin("absent.bul"), lu, &erreur));
}

TEST(NomBul, ExtensionBecomesBul) {
    EXPECT_EQ(NomBul("res"), "res.bul");
    EXPECT_EQ(NomBul("dossier/res.txt"), "dossier/res.bul");
    EXPECT_EQ(NomBul("res.bul"), "res.bul");
}
