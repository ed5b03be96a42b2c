// What a save finds at its target: special files and protected files stay as they are, links are
// written through (not those another user planted), long names fit, no temporary file stays behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "fichiers/NomLisible.h"
#include "sim/ParamPhys.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LiensEtrangers.h"

namespace fs = std::filesystem;

namespace {

class EcritureAtomiqueTest : public TestAvecDossier {
protected:
    EcritureAtomiqueTest() : TestAvecDossier("velmora-ecriture") {}
    bool SansTemporaire() const {
        for (const auto& e : fs::directory_iterator(dossier_))
            if (e.path().filename().string().find(".tmp-") != std::string::npos) return false;
        return true;
    }
};

}  // namespace

TEST_F(EcritureAtomiqueTest, SpecialFilesAreRefusedAndLeftInPlace) {
    ASSERT_TRUE(CreeTube(Chemin("tube")));
    const int s = CreeSocket(Chemin("prise"));
    ASSERT_GE(s, 0);
    for (const char* nom : {"tube", "prise"}) {
        std::string erreur;
        EXPECT_FALSE(EcritFichierAtomique(Chemin(nom), "x", &erreur)) << nom;
        EXPECT_NE(erreur.find("n'est pas un fichier ordinaire"), std::string::npos) << erreur;
        EXPECT_NE(erreur.find(nom), std::string::npos) << erreur;
    }
    EXPECT_TRUE(EstTube(Chemin("tube")));
    struct stat st {};
    EXPECT_TRUE(lstat(Chemin("prise").c_str(), &st) == 0 && S_ISSOCK(st.st_mode));
    ::close(s);
    EXPECT_TRUE(SansTemporaire());
}

TEST_F(EcritureAtomiqueTest, AFileNobodyMayWriteIsRefusedEvenForRoot) {
    CreeProtege(Chemin("p.fsk"), "[Autres]\nG=900\n");
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(SauveFisik(p, Chemin("p.fsk"), &erreur));
    EXPECT_NE(erreur.find("protégé en écriture"), std::string::npos) << erreur;
    EXPECT_EQ(LitFichierEntier(Chemin("p.fsk")), "[Autres]\nG=900\n");
    // one write bit is enough: the file keeps its mode
    ::chmod(Chemin("p.fsk").c_str(), 0640);
    EXPECT_TRUE(EcritFichierAtomique(Chemin("p.fsk"), "neuf"));
    struct stat st {};
    ASSERT_EQ(stat(Chemin("p.fsk").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(EcritureAtomiqueTest, LinksAreWrittenThroughEvenWhenDangling) {
    fs::create_directories(Chemin("vrai"));
    fs::create_symlink("vrai/cible.vel", Chemin("lien.vel"));
    ASSERT_TRUE(EcritFichierAtomique(Chemin("lien.vel"), "contenu"));
    EXPECT_TRUE(fs::is_symlink(Chemin("lien.vel")));
    EXPECT_EQ(LitFichierEntier(Chemin("vrai/cible.vel")), "contenu");
    // a link to a link to a pipe: the pipe stays
    ASSERT_TRUE(CreeTube(Chemin("tube")));
    fs::create_symlink(Chemin("tube"), Chemin("l1"));
    fs::create_symlink(Chemin("l1"), Chemin("l2"));
    EXPECT_FALSE(EcritFichierAtomique(Chemin("l2"), "x"));
    EXPECT_TRUE(fs::is_symlink(Chemin("l2")));
    EXPECT_TRUE(EstTube(Chemin("tube")));
    // a loop of links is refused, not replaced
    fs::create_symlink(Chemin("boucle2"), Chemin("boucle1"));
    fs::create_symlink(Chemin("boucle1"), Chemin("boucle2"));
    EXPECT_FALSE(EcritFichierAtomique(Chemin("boucle1"), "x"));
    EXPECT_TRUE(fs::is_symlink(Chemin("boucle1")));
    EXPECT_TRUE(SansTemporaire());
}

TEST_F(EcritureAtomiqueTest, TheLongestLegalNameCanBeSavedAndReplaced) {
    const std::string nom = Chemin(std::string(251, 'n') + ".vel");
    std::string erreur;
    ASSERT_TRUE(EcritFichierAtomique(nom, "un", &erreur)) << erreur;
    ASSERT_TRUE(EcritFichierAtomique(nom, "deux", &erreur)) << erreur;
    EXPECT_EQ(LitFichierEntier(nom), "deux");
    EXPECT_TRUE(SansTemporaire());
}

TEST_F(EcritureAtomiqueTest, ReadingAPipeOrADeviceEndsAtOnce) {
    ASSERT_TRUE(CreeTube(Chemin("tube")));
    for (const std::string& nom : {Chemin("tube"), std::string("/dev/zero"), std::string("/dev/urandom")}) {
        std::string contenu, erreur;
        EXPECT_FALSE(LitFichier(nom, contenu, &erreur)) << nom;
        EXPECT_NE(erreur.find("n'est pas un fichier ordinaire"), std::string::npos) << erreur;
        EXPECT_TRUE(contenu.empty());
    }
    // an INI file read before it is written: the save is refused without waiting for a writer
    TPARAMPHYS p;
    EXPECT_FALSE(SauveFisik(p, Chemin("tube")));
    EXPECT_FALSE(ChargeFisik(p, Chemin("tube")));
    EXPECT_TRUE(EstTube(Chemin("tube")));
}

TEST_F(EcritureAtomiqueTest, AFileLargerThanTheLimitIsRefused) {
    const std::string nom = Chemin("gros.fsk");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Autres]\nG=900\n"));
    fs::resize_file(nom, TailleMaxLecture + 1);
    std::string contenu, erreur;
    EXPECT_FALSE(LitFichier(nom, contenu, &erreur));
    EXPECT_NE(erreur.find("trop gros"), std::string::npos) << erreur;
    fs::resize_file(nom, TailleMaxLecture);
    EXPECT_TRUE(LitFichier(nom, contenu));
    EXPECT_EQ(contenu.size(), TailleMaxLecture);
}

TEST_F(EcritureAtomiqueTest, ALinkAnotherUserPlantedInASharedFolderIsNeverFollowed) {
    VELMORA_EXIGE_ROOT();
    CreePartage(Chemin("partage"));
    CreePrive(Chemin("prive"), "secret", "à moi seul");
    for (const int mode : {01777, 0777}) {
        ::chmod(Chemin("partage").c_str(), mode_t(mode));
        ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/secret"), Chemin("partage/resume.csv")));
        std::string erreur;
        EXPECT_FALSE(EcritFichierAtomique(Chemin("partage/resume.csv"), "a,b\n", &erreur)) << mode;
        EXPECT_NE(erreur.find("lien symbolique d'un autre utilisateur"), std::string::npos) << erreur;
        EXPECT_EQ(LitFichierEntier(Chemin("prive/secret")), "à moi seul");
        EXPECT_TRUE(fs::is_symlink(Chemin("partage/resume.csv")));
        fs::remove(Chemin("partage/resume.csv"));
    }
    for (const auto& e : fs::directory_iterator(Chemin("prive"))) EXPECT_EQ(e.path().filename(), "secret");
    // the user's own link, or one of the folder's owner, is followed as before
    fs::create_symlink(Chemin("prive/mien.csv"), Chemin("partage/mien.csv"));
    EXPECT_TRUE(EcritFichierAtomique(Chemin("partage/mien.csv"), "ok"));
    EXPECT_EQ(LitFichierEntier(Chemin("prive/mien.csv")), "ok");
    // in a folder only its owner may write, any link is the owner's business
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive/autre.csv"), Chemin("prive/lien.csv")));
    EXPECT_TRUE(EcritFichierAtomique(Chemin("prive/lien.csv"), "ok"));
}

TEST_F(EcritureAtomiqueTest, ANameWithControlCharactersIsPrintedEscaped) {
    std::string erreur;
    EXPECT_FALSE(EcritFichierAtomique(Chemin("absent/\x1b[2J\r\nfaux\x9b.vel"), "x", &erreur));
    EXPECT_EQ(erreur.find_first_of("\x1b\r\n"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find("\\x1b[2J\\r\\nfaux"), std::string::npos) << erreur;
    EXPECT_EQ(NomLisible("a\xc2\x9b"
                         "b\\é"),
              "a\\xc2\\x9bb\\\\é");
}
