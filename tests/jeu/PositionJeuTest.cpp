#include <gtest/gtest.h>

#include <cmath>

#include "fichiers/EcritureAtomique.h"
#include "jeu/PositionJeu.h"
#include "tests/support/DossierDeTest.h"

namespace {

struct PositionJeuTest : TestAvecDossier {
    PositionJeuTest() : TestAvecDossier("velmora-jeu") {}
    std::string Ecrit(const std::string& nom, const std::string& texte) {
        const std::string chemin = Chemin(nom);
        EXPECT_TRUE(EcritFichierAtomique(chemin, texte));
        return chemin;
    }
};

TEST_F(PositionJeuTest, OpeningAFile_TheCueAndBallsTakeItsValuesThroughTheirRules) {
    // the red overlaps the player's ball and the yellow is off the table; 97 degrees of inclination
    const std::string nom =
        Ecrit("serre.vel",
              "[Queue]\nVq=400\nAngleOx=0.3\nAngleTapis=1.7\nEffet=0.1\nHauteur=0.2\n"
              "[Positions]\nP1x=0\nP1y=0\nP1z=3.075\nP2x=90\nP2y=0\nP2z=3.075\nP3x=2\nP3y=0\nP3z=3.075\n"
              "[GLBillard]\nHrelatif=1\n");
    TPositionOuverte o;
    std::string erreur;
    ASSERT_TRUE(LitPositionJeu(nom, o, &erreur)) << erreur;
    const TPositionJeu& p = o.Position;
    EXPECT_EQ(p.Billes[1].x, 68.05f);
    EXPECT_NEAR(std::hypot(p.Billes[2].x - p.Billes[0].x, p.Billes[2].y - p.Billes[0].y), 6.15f, 1e-5f);
    // refused: the opening inclination stays; the rest rounded to singles in degrees
    EXPECT_EQ(p.Queue.Inclinaison, 3);
    EXPECT_EQ(p.Queue.Visee, float(0.3 * (180 / M_PI)));
    EXPECT_EQ(p.Queue.Hauteur, 0.2f);
    EXPECT_EQ(p.Queue.Vitesse, 400);
    // no mass in the file: the simulation's, 520 g
    EXPECT_EQ(p.Queue.Masse, 520);
    EXPECT_TRUE(o.Vue.Hrelatif);
}

TEST_F(PositionJeuTest, AFileWithoutViewSection_ConvertsTheTipHeightAndUsesTheCeilingCamera) {
    const std::string nom = Ecrit("ancien.vel", "[Queue]\nAngleTapis=0.2\nHauteur=1\nEffet=0.5\n");
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.Position.Queue.Hauteur, float(ConvertitHauteur(1, 0.5, 0.2, double(RayonBilleJeu))));
    EXPECT_FALSE(o.Vue.CamMobile);
    EXPECT_FALSE(o.Vue.Camera[0].has_value());
    // no speed in the file: the simulation has none before its first shot
    EXPECT_EQ(o.Position.Queue.Vitesse, 0);
    // missing positions read as the centre of the table, the balls then pushed apart
    EXPECT_EQ(o.Position.Billes[0], (TCentreBille{0, 0, 0}));
    EXPECT_EQ(o.Position.Billes[1], (TCentreBille{6.15f, 0, 0}));
}

TEST_F(PositionJeuTest, FilesThatAreNotPositionsAreRefusedWithTheirReason) {
    TPositionOuverte o;
    o.Position.Queue.Vitesse = 77;
    std::string erreur;
    EXPECT_FALSE(LitPositionJeu(Chemin("absent.vel"), o, &erreur));
    EXPECT_NE(erreur.find("absent.vel"), std::string::npos) << erreur;
    erreur.clear();
    EXPECT_FALSE(LitPositionJeu(std::string(VELMORA_EXAMPLES_DIR) + "/usine.fsk", o, &erreur));
    EXPECT_NE(erreur.find("ce n'est pas un fichier de positions"), std::string::npos) << erreur;
    EXPECT_EQ(o.Position.Queue.Vitesse, 77);
}

TEST_F(PositionJeuTest, TheParameterFileIsFoundAsWrittenOrBesideThePosition) {
    Ecrit("table.fsk", "[Autres]\nG=981\n");
    const std::string nom = Ecrit("p.vel", "[Queue]\nVq=1\n[GLBillard]\nFisikFile=table.fsk\n");
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.CheminFisik, Chemin("table.fsk"));
    EXPECT_EQ(CheminFisik(Chemin("table.fsk"), "/ailleurs/p.vel"), Chemin("table.fsk"));
    EXPECT_EQ(CheminFisik("disparu.fsk", nom), "");
    EXPECT_EQ(CheminFisik("", nom), "");
}

TEST_F(PositionJeuTest, APositionSavedThenOpenedIsTheSameToTheBit) {
    TPositionJeu p;
    p.Queue = {-0.7f, 1.3f, 212.345f, 512.5f, 4.25f, 480};
    p.Billes = {TCentreBille{12.345f, -33.3f, 3.075f}, TCentreBille{-60.1f, 100.7f, 3.075f},
                TCentreBille{0.1f, 0.2f, 3.075f}};
    TSectionGLBillard vue;
    vue.CamMobile = true;
    vue.Camera = {0.1f, 250, 310};
    vue.Cible = {1, 2, 3};
    const std::string nom = Chemin("route.vel");
    ASSERT_TRUE(SauvePositionJeu(nom, p, vue));
    // singles are written widened, to 15 digits
    EXPECT_NE(LitFichierEntier(nom).find("CamActX=0.100000001490116\n"), std::string::npos);
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.Position.Queue, p.Queue);
    EXPECT_EQ(o.Position.Billes, p.Billes);
    EXPECT_TRUE(o.Vue.Hrelatif);
    EXPECT_TRUE(o.Vue.CamMobile);
    const TPlacementCamera c = PlacementLu(o.Vue, CamFixeDepart);
    EXPECT_EQ(c.Position, (std::array<float, 3>{0.1f, 250, 310}));
    EXPECT_EQ(c.Cible, (std::array<float, 3>{1, 2, 3}));
}

TEST_F(PositionJeuTest, ViewKeysThatAreMissingOrNotNumbersKeepThePresentCamera) {
    TFichierIni ini;
    ini.ChargeTexte("[GLBillard]\nTypeCamActive=1\nCamActX=12\nCamActY=abc\nTatgetZ=nan\nFisikFile=x.fsk\n");
    const TSectionGLBillard vue = LitSectionGLBillard(ini);
    EXPECT_TRUE(vue.CamMobile);
    EXPECT_FALSE(vue.Hrelatif);
    const TPlacementCamera c = PlacementLu(vue, CamMobileDepart);
    EXPECT_EQ(c.Position, (std::array<float, 3>{12, 0, 300}));
    EXPECT_EQ(c.Cible, CamMobileDepart.Cible);
    EXPECT_EQ(vue.FisikFile, "x.fsk");
    // written back: the keys in their order, FisikFile only when named
    TFichierIni sortie;
    TSectionGLBillard sansFisik = vue;
    sansFisik.FisikFile.clear();
    EcritSectionGLBillard(sortie, sansFisik);
    EXPECT_EQ(sortie.Texte(), "[GLBillard]\nHrelatif=0\nTypeCamActive=1\nCamActX=12\n");
}

}  // namespace
