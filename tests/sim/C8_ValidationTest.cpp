// The game rules, driven through the collision routines as the computation loop runs them.
#include <gtest/gtest.h>

#include "tests/sim/OutilsSimu.h"

namespace {

struct ValidationTest : ::testing::Test {
    std::unique_ptr<TBillardVelmora> s = NouvelleSimu();
    TEtatBille b[4];

    // ball 1 at the start of a computation under the given mode
    void Debut(TModeDeJeu mode) {
        for (int i = 1; i <= 3; ++i) {
            b[i] = TEtatBille{};
            b[i].NumBille = i;
            b[i].Position = Vecteur(0, 0, s->Fisik.RayonBilles());
        }
        switch (mode) {
            case j3Bandes:
                b[1].SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::Valide3Bandes>(s.get());
                break;
            case j1Bande:
                b[1].SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::Valide1Bande>(s.get());
                break;
            case jLibre:
                b[1].SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::ValideLibre>(s.get());
                break;
        }
        s->PointReussi = false;
    }
    // ball 1 runs head-on into ball i (placed just ahead of it)
    void Touche(int i, int autre = 1) {
        TEtatBille& a = b[std::min(i, autre)];
        TEtatBille& c = b[std::max(i, autre)];
        a.Position = Vecteur(0, 0, s->Fisik.RayonBilles());
        c.Position = Vecteur(s->Fisik.Diametre(), 0, s->Fisik.RayonBilles());
        a.Vitesse = Vecteur(100, 0, 0);
        c.Vitesse = VecteurNul;
        s->ChocBilles(a, c);
    }
    // ball 1 rolls square into cushion 1
    void Bande() {
        b[1].Position =
            Vecteur(s->Fisik.largeurJeu() / 2 - s->Fisik.RayonBilles(), 0, s->Fisik.RayonBilles());
        b[1].Vitesse = Vecteur(100, 0, 0);
        s->ChocBande(b[1], s->Fisik.Bandes()[0]);
    }
};

TEST_F(ValidationTest, ThreeCushions_CountBeforeAndAfterTheFirstBall) {
    Debut(j3Bandes);
    Touche(2), Bande(), Bande(), Bande(), Touche(3);
    EXPECT_TRUE(s->PointReussi);

    Debut(j3Bandes);
    Bande(), Bande(), Bande(), Touche(2), Touche(3);
    EXPECT_TRUE(s->PointReussi);
}

TEST_F(ValidationTest, ThreeCushions_TwoBeforeTheSecondBall_MissesForGood) {
    Debut(j3Bandes);
    Touche(2), Bande(), Bande(), Touche(3);
    EXPECT_FALSE(s->PointReussi);
    EXPECT_FALSE(b[1].SurDeuxiemeBille);  // the verdict is taken once
    Bande(), Touche(2), Touche(3);
    EXPECT_FALSE(s->PointReussi);
}

TEST_F(ValidationTest, OneCushion_NeedsOneBeforeTheSecondBall) {
    Debut(j1Bande);
    Touche(3), Bande(), Touche(2);
    EXPECT_TRUE(s->PointReussi);

    Debut(j1Bande);
    Touche(3), Touche(2), Bande();
    EXPECT_FALSE(s->PointReussi);
}

TEST_F(ValidationTest, FreePlay_BothBallsInAnyOrderScore) {
    for (int premiere : {2, 3}) {
        Debut(jLibre);
        Touche(premiere), Touche(5 - premiere);
        EXPECT_TRUE(s->PointReussi) << premiere;
    }
}

TEST_F(ValidationTest, SameBallTwice_OrContactsBetweenTheOtherBalls_NeverScore) {
    for (TModeDeJeu mode : {jLibre, j1Bande, j3Bandes}) {
        Debut(mode);
        Bande(), Bande(), Bande(), Touche(2), Touche(2);
        EXPECT_FALSE(s->PointReussi) << int(mode);
        EXPECT_TRUE(b[1].SurDeuxiemeBille);
        Touche(3, 2);  // ball 2 hits ball 3
        EXPECT_FALSE(s->PointReussi) << int(mode);
        EXPECT_EQ(b[1].PremiereBille, &b[2]);
    }
}

}  // namespace
