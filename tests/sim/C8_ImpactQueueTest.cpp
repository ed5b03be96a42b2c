#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/sim/OutilsSimu.h"

namespace {

struct ImpactQueueTest : ::testing::Test {
    std::unique_ptr<TBillardVelmora> s = NouvelleSimu();
    int appels = 0;

    void SetUp() override {
        PlaceBilles(*s, Vecteur(0, -50, 0), Vecteur(30, 0, 0), Vecteur(-30, 50, 0));
        s->VitesseQueue = 200;
    }
    void Compte(void*) { ++appels; }
    const TPVR& B1() const { return s->Trajets[1][0]; }
};

TEST_F(ImpactQueueTest, CentredCue_GivesTheBallAbout247cmPerSecondAlongTheAim_WithoutSpin) {
    s->AngleOx = std::numbers::pi / 2;
    s->ImpactQueue();
    EXPECT_FALSE(s->FausseQueue);
    // c = 0.87 - 0.13 * 520 / 215, s = (1 + sqrt c) / (1 + 215 / 520)
    const double c = 0.87 - 0.13 * 520 / 215;
    const double v = 200 * (1 + std::sqrt(c)) / (1 + 215.0 / 520);
    EXPECT_NEAR(v, 246.96, 0.01);
    EXPECT_NEAR(B1().Vitesse.y, v, 1e-9);
    EXPECT_NEAR(B1().Vitesse.x, 0, 1e-9);
    EXPECT_EQ(B1().Vitesse.z, 0.0);
    EXPECT_EQ(B1().Rotation, VecteurNul);
    EXPECT_EQ(B1().Position, Vecteur(0, -50, s->Fisik.RayonBilles()));
}

TEST_F(ImpactQueueTest, TopAndSide_GiveForwardSpinAndCounterClockwiseSpin) {
    s->Hauteur = 1;
    s->Effet = 1;
    s->ImpactQueue();
    ASSERT_FALSE(s->FausseQueue);
    // shot along +x: forward roll turns about +y, side to the right turns about +z
    EXPECT_GT(B1().Rotation.y, 0);
    EXPECT_GT(B1().Rotation.z, 0);
    EXPECT_NEAR(B1().Rotation.y, B1().Rotation.z, 1e-9);
    EXPECT_LT(B1().Vitesse.x, 246.96);  // an offset hit passes less speed
}

TEST_F(ImpactQueueTest, OffsetJustBeyondTheFrictionCone_IsAMiscue_AndTheBallStaysStill) {
    const double limite = std::sqrt(s->Fisik.DeportMax2());
    EXPECT_NEAR(limite, 2.057, 0.001);
    s->ApresQueueBille = TNotifyEvent::Lie<&ImpactQueueTest::Compte>(this);

    s->Hauteur = limite * 0.999;
    s->ImpactQueue();
    EXPECT_FALSE(s->FausseQueue);
    EXPECT_GT(B1().Vitesse.x, 0);

    s->Hauteur = limite * 1.001;
    s->PointReussi = true;
    s->ImpactQueue();
    EXPECT_TRUE(s->FausseQueue);
    EXPECT_FALSE(s->PointReussi);
    EXPECT_EQ(B1().Vitesse, VecteurNul);
    EXPECT_EQ(B1().Rotation, VecteurNul);
    EXPECT_EQ(appels, 2);  // fired after a miscue too
}

TEST_F(ImpactQueueTest, TooHeavyACue_BreaksTheEnergyBalance_AndMiscues) {
    // c = 0.87 - 0.13 m / 215 turns negative beyond about 1439 g
    s->MasseQueue = 1430;
    s->ImpactQueue();
    EXPECT_FALSE(s->FausseQueue);
    s->MasseQueue = 1450;
    s->ImpactQueue();
    EXPECT_TRUE(s->FausseQueue);
    EXPECT_EQ(B1().Vitesse, VecteurNul);
}

TEST_F(ImpactQueueTest, FlatCue_NeverTouchesTheCloth_PlungingCueMakesTheBallJump) {
    s->Hauteur = -1.5;
    s->ImpactQueue();
    EXPECT_EQ(B1().Vitesse.z, 0.0);

    s->Hauteur = 0;
    s->AngleTapis = 30 * std::numbers::pi / 180;
    s->ImpactQueue();
    // driven down at -v sin 30, bounced up by the cloth with its restitution
    const double vz = 246.96 * 0.5 * s->Fisik.ElastBiTap();
    EXPECT_NEAR(B1().Vitesse.z, vz, 0.01);
    EXPECT_EQ(B1().Position.z, s->Fisik.RayonBilles());
    s->CalculTrajets();
    EXPECT_EQ(s->Mouvements[1][0], mvVole);
}

TEST_F(ImpactQueueTest, UnusableCueValues_AreAMiscue_NeverANaN) {
    for (double v : {std::nan(""), double(INFINITY), -double(INFINITY)}) {
        s->VitesseQueue = v;
        s->ImpactQueue();
        EXPECT_TRUE(s->FausseQueue) << v;
        EXPECT_EQ(B1().Vitesse, VecteurNul);
    }
    s->VitesseQueue = 200;
    s->MasseQueue = -215;  // k + M/m = 0
    s->ImpactQueue();
    EXPECT_TRUE(std::isfinite(B1().Vitesse.x));
}

}  // namespace
