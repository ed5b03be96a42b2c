#include <gtest/gtest.h>

#include <cmath>

#include "collisions/C4_ChocBande.h"

namespace {

constexpr double kTol = 1e-9;

struct ChocBandeTest : ::testing::Test {
    TVelmoraChocBande physique;
    double R = physique.Fisik.RayonBilles();
    double L = physique.Fisik.largeurJeu();
    const TBande& bande1 = physique.Fisik.Bandes()[0];

    // ball on the cloth touching cushion 1 (nose at height h) at y
    TEtatBille ContreBande1(TVecteur v, TVecteur w = VecteurNul, double y = 10) const {
        const double h = physique.Fisik.HautBdes();
        TEtatBille b;
        b.Position = Vecteur(L / 2 - std::sqrt(R * R - (h - R) * (h - R)), y, R);
        b.Vitesse = v;
        b.Rotation = w;
        return b;
    }
};

TEST_F(ChocBandeTest, SquareRollingHit_NoseAtCentreHeight_ReversesNormalSpeedWithRestitution) {
    physique.Fisik.SetParam(1, R);
    TEtatBille b = ContreBande1(Vecteur(100, 0, 0), Vecteur(0, 100 / R, 0));
    physique.ChocBande(b, physique.Fisik.Bandes()[0]);
    EXPECT_NEAR(b.Vitesse.x, -0.8 * 100, kTol);
    EXPECT_EQ(b.Vitesse.y, 0.0);
    // the topspin slips up the nose and friction lifts the ball a little
    EXPECT_GT(b.Vitesse.z, 0.0);
    EXPECT_EQ(b.Position.z, R);
    EXPECT_EQ(b.NbBandes, 1);
    EXPECT_EQ(b.NumTouche, 1);
    EXPECT_EQ(b.DernierChoc, tcBilleBande);
}

TEST_F(ChocBandeTest, SquareHit_FactoryNose_PressesIntoTheClothAndHops) {
    TEtatBille b = ContreBande1(Vecteur(200, 0, 0));
    physique.ChocBande(b, bande1);
    // the nose 0.625 cm above the centre pushes down; the cloth bounce follows at once
    EXPECT_EQ(b.Position.z, R);
    EXPECT_GT(b.Vitesse.z, physique.Fisik.VzRebondNul());
    EXPECT_LT(b.Vitesse.x, 0.0);
    EXPECT_EQ(b.DernierChoc, tcBilleBande);
    EXPECT_EQ(b.NumTouche, 1);
}

TEST_F(ChocBandeTest, SideSpin_SmallSlipAlongTheNose_IsStopped) {
    physique.Fisik.SetParam(1, R);
    TEtatBille b = ContreBande1(Vecteur(150, 0, 0), Vecteur(0, 0, 10));
    physique.ChocBande(b, physique.Fisik.Bandes()[0]);
    EXPECT_LT(b.IndGlissement, 0.0);
    // n = (-1, 0, 0): slip along the nose is Vy + R (n x W).y = Vy + R Wz
    EXPECT_NEAR(b.Vitesse.y + R * b.Rotation.z, 0, kTol);
    EXPECT_LT(b.Vitesse.y, 0.0);
    EXPECT_NEAR(b.Vitesse.x, -0.8 * 150, kTol);
}

TEST_F(ChocBandeTest, SideSpin_LargeSlip_ChangesTheTangentialSpeedByExactlyMuJ) {
    physique.Fisik.SetParam(1, R);
    TEtatBille b = ContreBande1(Vecteur(100, 0, 0), Vecteur(0, 0, 80));
    physique.ChocBande(b, physique.Fisik.Bandes()[0]);
    const double j = 1.8 * 100;
    EXPECT_GE(b.IndGlissement, 0.0);
    EXPECT_NEAR(b.Vitesse.y, -physique.Fisik.FrotBiBde() * j, kTol);
    EXPECT_NEAR(b.Vitesse.x, -80, kTol);
    EXPECT_NEAR(b.Rotation.z, 80 - 5 * physique.Fisik.FrotBiBde() * j / (2 * R), kTol);
}

TEST_F(ChocBandeTest, EveryCushion_IsCountedAndNamed) {
    const double d = std::sqrt(R * R - std::pow(physique.Fisik.HautBdes() - R, 2));
    const struct {
        int slot;
        TVecteur p, v;
    } cas[] = {{0, Vecteur(L / 2 - d, 5, R), Vecteur(90, 10, 0)},
               {1, Vecteur(-L / 2 + d, 5, R), Vecteur(-90, 10, 0)},
               {2, Vecteur(5, L - d, R), Vecteur(10, 90, 0)},
               {3, Vecteur(5, -L + d, R), Vecteur(10, -90, 0)}};
    TEtatBille b;
    b.NbBandes = 2;
    for (const auto& c : cas) {
        b.Position = c.p;
        b.Vitesse = c.v;
        b.Rotation = VecteurNul;
        const TBande& bande = physique.Fisik.Bandes()[c.slot];
        physique.ChocBande(b, bande);
        EXPECT_EQ(b.NumTouche, bande.Numero);
        EXPECT_EQ(b.DernierChoc, tcBilleBande);
        // turned back into the table, along the inward normal
        EXPECT_GT(ProdScal(b.Vitesse, bande.Normale), 0.0);
        EXPECT_LT(b.Position.z, 10.0);
    }
    EXPECT_EQ(b.NbBandes, 6);
}

TEST_F(ChocBandeTest, BallComingOverTheNose_IsLiftedOutOfPlay) {
    // centre well above the nose: the normal points mostly up and cannot turn the ball back
    const double h = physique.Fisik.HautBdes();
    TEtatBille b;
    b.Position = Vecteur(L / 2 - 0.2 * R, 0, h + std::sqrt(R * R - 0.04 * R * R));
    b.Vitesse = Vecteur(300, 0, -10);
    const double z0 = b.Position.z;
    physique.ChocBande(b, bande1);
    EXPECT_GT(b.Vitesse.x, 0.0);
    EXPECT_EQ(b.Position.z, z0 + 1000);
    EXPECT_EQ(b.Mouvement, mvDehors);
    EXPECT_EQ(b.NbBandes, 1);
    EXPECT_EQ(b.DernierChoc, tcBilleBande);
}

TEST_F(ChocBandeTest, CentreOnTheNoseLine_ExchangesNothingAndStaysFinite) {
    TEtatBille b;
    b.Position = Vecteur(L / 2, 3, physique.Fisik.HautBdes());
    b.Vitesse = Vecteur(-20, 5, 0);
    physique.ChocBande(b, bande1);
    EXPECT_EQ(b.Vitesse, Vecteur(-20, 5, 0));
    EXPECT_TRUE(std::isfinite(b.IndGlissement));
}

}  // namespace
