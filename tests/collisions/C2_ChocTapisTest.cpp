#include <gtest/gtest.h>

#include "collisions/C2_ChocTapis.h"

namespace {

constexpr double kTol = 1e-9;

struct ChocTapisTest : ::testing::Test {
    TVelmoraChocTapis physique;
    double R = physique.Fisik.RayonBilles();

    TEtatBille Bille(TVecteur v, TVecteur w = VecteurNul, double z = -1) {
        TEtatBille b;
        b.Position = Vecteur(10, 20, z < 0 ? R : z);
        b.Vitesse = v;
        b.Rotation = w;
        return b;
    }
};

TEST_F(ChocTapisTest, StraightDrop_NoSpin_ReboundsWithRestitutionAndKeepsTheRest) {
    TEtatBille b = Bille(Vecteur(0, 0, -100));
    physique.ChocTapis(b);
    EXPECT_EQ(b.Vitesse, Vecteur(0, 0, 50));
    EXPECT_EQ(b.Rotation, VecteurNul);
    EXPECT_EQ(b.IndGlissement, -1.0);
    EXPECT_EQ(b.DernierChoc, tcBilleTapis);
    EXPECT_EQ(b.NumTouche, 1);
}

TEST_F(ChocTapisTest, ReboundBelowTheThreshold_StaysOnTheCloth) {
    TEtatBille b = Bille(Vecteur(0, 0, -0.8));
    physique.ChocTapis(b);
    EXPECT_EQ(b.Vitesse.z, 0.0);

    TEtatBille juste = Bille(Vecteur(0, 0, -1.2));
    physique.ChocTapis(juste);
    EXPECT_NEAR(juste.Vitesse.z, 0.6, kTol);
}

TEST_F(ChocTapisTest, Landing_WithStrongBackspin_SlidesAndLosesExactlyMuJ) {
    // contact point slips forward far beyond 3.5 mu J
    TEtatBille b = Bille(Vecteur(100, 0, -50), Vecteur(0, -20, 0));
    physique.ChocTapis(b);
    const double mu = physique.Fisik.FrotBiTapChoc();
    const double j = 1.5 * 50;
    EXPECT_GT(b.IndGlissement, 0.0);
    EXPECT_NEAR(b.Vitesse.x, 100 - mu * j, kTol);
    EXPECT_EQ(b.Vitesse.y, 0.0);
    EXPECT_NEAR(b.Vitesse.z, 25, kTol);
    EXPECT_NEAR(b.Rotation.y, -20 + 5 * mu * j / (2 * R), kTol);
}

TEST_F(ChocTapisTest, Landing_WithSmallSlip_LeavesRolling) {
    TEtatBille b = Bille(Vecteur(10, -4, -50), Vecteur(1, 2, 7));
    physique.ChocTapis(b);
    EXPECT_LT(b.IndGlissement, 0.0);
    // rolling condition: the contact point no longer slips
    EXPECT_NEAR(b.Vitesse.x - R * b.Rotation.y, 0, kTol);
    EXPECT_NEAR(b.Vitesse.y + R * b.Rotation.x, 0, kTol);
    // the spin about the vertical is not touched by the cloth
    EXPECT_EQ(b.Rotation.z, 7.0);
}

TEST_F(ChocTapisTest, SunkenBall_IsLiftedBackOntoTheCloth) {
    TEtatBille b = Bille(Vecteur(50, 0, -10), VecteurNul, R - 0.4);
    physique.ChocTapis(b);
    EXPECT_EQ(b.Position.z, R);
    EXPECT_EQ(b.Position.x, 10.0);
}

TEST_F(ChocTapisTest, PressTest_NeedsLowCentreAndDownwardSpeed) {
    EXPECT_TRUE(physique.TestChocTapis(Bille(Vecteur(0, 0, -1))));
    EXPECT_TRUE(physique.TestChocTapis(Bille(Vecteur(0, 0, -1), VecteurNul, R + 0.0009)));
    EXPECT_FALSE(physique.TestChocTapis(Bille(Vecteur(0, 0, -1), VecteurNul, R + 0.001)));
    EXPECT_FALSE(physique.TestChocTapis(Bille(Vecteur(0, 0, 0))));
    EXPECT_FALSE(physique.TestChocTapis(Bille(Vecteur(0, 0, 3))));
}

}  // namespace
