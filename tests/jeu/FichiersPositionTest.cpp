#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/ExportPVR.h"
#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "tests/sim/OutilsSimu.h"

namespace {

namespace fs = std::filesystem;

struct FichiersPositionTest : ::testing::Test {
    fs::path dossier;
    void SetUp() override {
        dossier =
            fs::temp_directory_path() / ("velmora-pos-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dossier);
    }
    void TearDown() override { fs::remove_all(dossier); }
    std::string Chemin(const std::string& nom) const { return (dossier / nom).string(); }
    static std::string Contenu(const std::string& nom) {
        std::string c;
        LitFichier(nom, c);
        return c;
    }
};

TEST_F(FichiersPositionTest, PositionFile_WritesCueThenPositionsInOrder_WithDots) {
    auto s = NouvelleSimu();
    s->SetParamQueue({430, 520, 0.62, 1.17, 1.7303, 0.0523});
    PlaceBilles(*s, Vecteur(18.25, -71.125, 0), Vecteur(0, -71.125, 0), Vecteur(0, 71.125, 0));
    TFichierIni ini;
    SauvePosition(*s, ini);
    EXPECT_EQ(ini.Texte(),
              "[Queue]\nVq=430\nm=520\nAngleOx=1.7303\nAngleTapis=0.0523\nEffet=0.62\nHauteur=1.17\n\n"
              "[Positions]\nP1x=18.25\nP1y=-71.125\nP1z=3.075\nP2x=0\nP2y=-71.125\nP2z=3.075\n"
              "P3x=0\nP3y=71.125\nP3z=3.075\n");
}

TEST_F(FichiersPositionTest, PositionFile_MissingKeysKeepSpeedAndMass_OthersReadZero_VelocitiesUntouched) {
    auto s = NouvelleSimu();
    s->VitesseQueue = 333;
    s->Effet = 1;
    Lance(*s, 2, Vecteur(5, 6, 0), Vecteur(1, 2, 3));
    TFichierIni ini;
    ini.ChargeTexte("[Queue]\nAngleOx=nan\nHauteur=abc\nEffet=inf\n[Positions]\nP1x=10\nP2y=1e999\n");
    ChargePosition(*s, ini);
    EXPECT_EQ(s->VitesseQueue, 333);
    EXPECT_EQ(s->MasseQueue, 520);
    EXPECT_EQ(s->Effet, 0);
    EXPECT_EQ(s->Hauteur, 0);
    EXPECT_EQ(s->AngleOx, 0);
    EXPECT_EQ(s->Trajets[1][0].Position, Vecteur(10, 0, 0));
    EXPECT_EQ(s->Trajets[2][0].Position, VecteurNul);
    EXPECT_EQ(s->Trajets[2][0].Vitesse, Vecteur(5, 6, 0));
    EXPECT_EQ(s->Trajets[2][0].Rotation, Vecteur(1, 2, 3));
}

TEST_F(FichiersPositionTest, LaunchFile_RoundTripsPhotoZeroExactly_AndReplaysIdentically) {
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(12.3456789012345, -40.0000000000001, 0), Vecteur(-30.5, 20.25, 0),
                Vecteur(0.1, 100.123456789012, 0));
    Lance(*s, 1, Vecteur(123.456789012345, 310.987654321098, 0),
          Vecteur(-3.33333333333333, 1.5, 7.77777777777778));
    Lance(*s, 3, Vecteur(-50, 0, 0));
    const std::string nom = Chemin("lancer.vel2");
    ASSERT_TRUE(SauveLancer(*s, nom));
    const std::string texte = Contenu(nom);
    EXPECT_EQ(texte.find("[Positions]\nP1x=12.3456789012345\n"), 0u);
    EXPECT_NE(texte.find("\n\n[Vitesses]\nV1x=123.456789012345\n"), std::string::npos);
    EXPECT_NE(texte.find("\n\n[Rotations]\nR1x=-3.33333333333333\n"), std::string::npos);

    auto relu = NouvelleSimu();
    ASSERT_TRUE(ChargeLancer(*relu, nom));
    for (int b = 1; b <= NbBilles; ++b) EXPECT_EQ(relu->Trajets[b][0], s->Trajets[b][0]) << b;

    s->CalculTrajets();
    relu->CalculTrajets();
    EXPECT_GT(s->NbPhotos, 10);
    EXPECT_EQ(TexteExportPVR(*relu), TexteExportPVR(*s));
}

TEST_F(FichiersPositionTest, LaunchFile_Unreadable_IsReportedAndPhotoZeroStays) {
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(1, 2, 0), Vecteur(3, 4, 0), Vecteur(5, 6, 0));
    const TPVR avant = s->Trajets[1][0];
    std::string erreur;
    EXPECT_FALSE(ChargeLancer(*s, Chemin("absent.vel2"), &erreur));
    EXPECT_NE(erreur.find("absent.vel2"), std::string::npos);
    EXPECT_EQ(s->Trajets[1][0], avant);
}

TEST_F(FichiersPositionTest, LaunchFile_OfAnotherKind_IsRefusedAndPhotoZeroStays) {
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(1, 2, 0), Vecteur(3, 4, 0), Vecteur(5, 6, 0));
    const TPVR avant = s->Trajets[2][0];
    std::string erreur;
    EXPECT_FALSE(ChargeLancer(*s, std::string(VELMORA_EXAMPLES_DIR) + "/usine.fsk", &erreur));
    EXPECT_NE(erreur.find("usine.fsk : ce n'est pas un fichier de lancer"), std::string::npos) << erreur;
    EXPECT_EQ(s->Trajets[2][0], avant);
    // one of the three sections is enough
    ASSERT_TRUE(EcritFichierAtomique(Chemin("r.vel2"), "[Rotations]\nR1z=2\n"));
    EXPECT_TRUE(ChargeLancer(*s, Chemin("r.vel2")));
}

TEST_F(FichiersPositionTest, LaunchFile_MissingKeysAndBadNumbersReadZero) {
    const std::string nom = Chemin("partiel.vel2");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Positions]\nP1x=7\nP1y=nan\n[Vitesses]\nV1x=12,5\nV2y=-3\n"));
    auto s = NouvelleSimu();
    Lance(*s, 3, Vecteur(9, 9, 9), Vecteur(9, 9, 9));
    ASSERT_TRUE(ChargeLancer(*s, nom));
    EXPECT_EQ(s->Trajets[1][0].Position, Vecteur(7, 0, 0));
    EXPECT_EQ(s->Trajets[1][0].Vitesse, VecteurNul);
    EXPECT_EQ(s->Trajets[2][0].Vitesse, Vecteur(0, -3, 0));
    EXPECT_EQ(s->Trajets[3][0], TPVR{});
}

TEST_F(FichiersPositionTest, LaunchFile_SaveFailure_IsReportedWithTheReason_AndLeavesNoFile) {
    auto s = NouvelleSimu();
    std::string erreur;
    const std::string nom = Chemin("pas/de/dossier.vel2");
    EXPECT_FALSE(SauveLancer(*s, nom, &erreur));
    EXPECT_NE(erreur.find("dossier.vel2"), std::string::npos);
    EXPECT_FALSE(fs::exists(nom));

    // an existing file keeps its other entries and gets ours replaced in place
    const std::string existant = Chemin("existant.vel2");
    ASSERT_TRUE(EcritFichierAtomique(existant, "; notes\n[Positions]\nP1x=99\n[Autre]\nk=v\n"));
    ASSERT_TRUE(SauveLancer(*s, existant));
    const std::string texte = Contenu(existant);
    EXPECT_EQ(texte.find("; notes\n[Positions]\nP1x=0\n"), 0u);
    EXPECT_NE(texte.find("[Autre]\nk=v\n"), std::string::npos);
}

}  // namespace
