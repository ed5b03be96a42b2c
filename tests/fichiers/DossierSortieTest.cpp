// An output folder the program fills with files it names itself: made in place, never through a
// link, special files left alone, one run at a time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "fichiers/DossierSortie.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "tests/support/LiensEtrangers.h"

namespace fs = std::filesystem;

namespace {

class DossierSortieTest : public TestAvecDossier {
protected:
    DossierSortieTest() : TestAvecDossier("velmora-dossier-sortie") {}
    int NbTemporaires(const std::string& dossier) const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dossier))
            n += e.path().filename().string().find(".tmp-") != std::string::npos;
        return n;
    }
};

}  // namespace

TEST_F(DossierSortieTest, ALinkAtAFileNameIsReplacedNeverFollowed) {
    std::ofstream(Chemin("ailleurs.txt")) << "intact";
    TDossierSortie d;
    std::string erreur;
    ASSERT_TRUE(d.Ouvre(Chemin("sortie/profond"), &erreur)) << erreur;
    fs::create_symlink(Chemin("ailleurs.txt"), Chemin("sortie/profond/resume.csv"));
    std::string lu;
    EXPECT_FALSE(d.Lit("resume.csv", lu, &erreur));
    EXPECT_FALSE(d.EstFichier("resume.csv"));
    ASSERT_TRUE(d.Ecrit("resume.csv", "a,b\n", &erreur)) << erreur;
    EXPECT_FALSE(fs::is_symlink(Chemin("sortie/profond/resume.csv")));
    EXPECT_EQ(LitFichierEntier(Chemin("ailleurs.txt")), "intact");
    ASSERT_TRUE(d.Lit("resume.csv", lu));
    EXPECT_EQ(lu, "a,b\n");
    EXPECT_TRUE(d.Designe("resume.csv", Chemin("sortie/profond/resume.csv")));
    EXPECT_FALSE(d.Designe("resume.csv", Chemin("ailleurs.txt")));
    EXPECT_EQ(NbTemporaires(Chemin("sortie/profond")), 0);
}

TEST_F(DossierSortieTest, AFolderAPipeOrAProtectedFileAtANameIsRefusedAndKept) {
    TDossierSortie d;
    ASSERT_TRUE(d.Ouvre(dossier_.string()));
    fs::create_directories(Chemin("route1.vel"));
    ASSERT_TRUE(CreeTube(Chemin("route2.vel")));
    CreeProtege(Chemin("route3.vel"), "ancien");
    const std::map<std::string, std::string> attendus = {{"route1.vel", "c'est un dossier"},
                                                         {"route2.vel", "n'est pas un fichier ordinaire"},
                                                         {"route3.vel", "protégé en écriture"}};
    for (const auto& [nom, raison] : attendus) {
        std::string erreur;
        EXPECT_FALSE(d.Ecrit(nom, "neuf", &erreur)) << nom;
        EXPECT_NE(erreur.find(raison), std::string::npos) << erreur;
        EXPECT_NE(erreur.find(nom), std::string::npos) << erreur;
    }
    EXPECT_TRUE(fs::is_directory(Chemin("route1.vel")));
    EXPECT_TRUE(EstTube(Chemin("route2.vel")));
    EXPECT_EQ(LitFichierEntier(Chemin("route3.vel")), "ancien");
    std::string lu;
    EXPECT_FALSE(d.Lit("route2.vel", lu));  // at once: a pipe is never waited on
    EXPECT_EQ(NbTemporaires(dossier_.string()), 0);
}

TEST_F(DossierSortieTest, ASecondRunIntoTheFolderIsToldWhichProcessHoldsIt) {
    TDossierSortie premier, second;
    ASSERT_TRUE(premier.Ouvre(Chemin("sortie")));
    ASSERT_TRUE(second.Ouvre(Chemin("sortie")));
    std::string erreur;
    ASSERT_TRUE(premier.Verrouille(".verrou", &erreur)) << erreur;
    EXPECT_FALSE(second.Verrouille(".verrou", &erreur));
    EXPECT_NE(erreur.find("déjà utilisé par un autre calcul (processus " + std::to_string(getpid()) + ")"),
              std::string::npos)
        << erreur;
    // the lock goes with its holder
    {
        TDossierSortie fini;
        ASSERT_TRUE(fini.Ouvre(Chemin("autre")));
        ASSERT_TRUE(fini.Verrouille(".verrou"));
    }
    TDossierSortie suivant;
    ASSERT_TRUE(suivant.Ouvre(Chemin("autre")));
    EXPECT_TRUE(suivant.Verrouille(".verrou"));
}

TEST_F(DossierSortieTest, AFolderReachedThroughALinkAnotherUserPlantedIsRefused) {
    VELMORA_EXIGE_ROOT();
    CreePartage(Chemin("partage"));
    CreePrive(Chemin("prive"), "secret", "à moi seul");
    ASSERT_TRUE(PlanteLienEtranger(Chemin("prive"), Chemin("partage/sortie")));
    TDossierSortie d;
    std::string erreur;
    EXPECT_FALSE(d.Ouvre(Chemin("partage/sortie"), &erreur));
    EXPECT_NE(erreur.find("lien symbolique d'un autre utilisateur"), std::string::npos) << erreur;
    // a folder made there by the user is the user's
    EXPECT_TRUE(d.Ouvre(Chemin("partage/mien"), &erreur)) << erreur;
}
