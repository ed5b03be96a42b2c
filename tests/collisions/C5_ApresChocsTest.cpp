#include <gtest/gtest.h>

#include <cmath>

#include "collisions/C5_ApresChocs.h"

namespace {

constexpr double kTol = 1e-9;

struct ApresChocTest : ::testing::Test {
    TVelmoraApresChocs physique;
    const TPARAMPHYS& f = physique.Fisik;

    TEtatBille SurTapis(TVecteur v, TVecteur w = VecteurNul) const {
        TEtatBille b;
        b.Position = Vecteur(1, 2, f.RayonBilles());
        b.Vitesse = v;
        b.Rotation = w;
        return b;
    }
};

TEST_F(ApresChocTest, BallAtRestWithoutSpin_StopsWithEveryEndTimeAtNow) {
    TEtatBille b = SurTapis(VecteurNul);
    physique.ApresChoc(b, 2.5);
    EXPECT_EQ(b.Mouvement, mvArret);
    EXPECT_EQ(b.tFinGlisse, 2.5);
    EXPECT_EQ(b.tFinRoule, 2.5);
    EXPECT_EQ(b.tFinPivot, 2.5);
    // a negligible spin about the vertical is dropped
    TEtatBille presque = SurTapis(VecteurNul, Vecteur(0, 0, 0.0009));
    physique.ApresChoc(presque, 0);
    EXPECT_EQ(presque.Rotation.z, 0.0);
    EXPECT_EQ(presque.Mouvement, mvArret);
}

TEST_F(ApresChocTest, RollingBall_HasNoSlidingPhase) {
    // a radius that keeps the rolling velocity exact
    physique.Fisik.SetParam(2, 2.5);
    TEtatBille b = SurTapis(Vecteur(100, 0, 0), Vecteur(0, 100 / 2.5, 0));
    physique.ApresChoc(b, 1);
    EXPECT_EQ(b.Mouvement, mvRoule);
    EXPECT_EQ(b.tFinGlisse, 1.0);
    EXPECT_NEAR(b.tFinRoule, 1 + 100 / (f.FrotBiTapRoule() * f.G()), kTol);
    EXPECT_NEAR(b.DecelRoule.x, f.FrotBiTapRoule() * f.G(), kTol);
    EXPECT_EQ(b.DemiDecelRoule.x, b.DecelRoule.x / 2);
    EXPECT_EQ(b.LienRoule, Vecteur(0, 0, 1 / 2.5));
}

TEST_F(ApresChocTest, StruckWithoutSpin_SlidesTwoSeventhsThenRollsAtFiveSevenths) {
    const double v = 100;
    TEtatBille b = SurTapis(Vecteur(0, v, 0));
    physique.ApresChoc(b, 0.5);
    const double mug = f.FrotBiTapGlisse() * f.G();
    const double tg = 2 * v / (7 * mug);
    EXPECT_EQ(b.Mouvement, mvGlisse);
    EXPECT_NEAR(b.tFinGlisse, 0.5 + tg, kTol);
    EXPECT_NEAR(Norme(b.DecelGlisse), mug, kTol);
    EXPECT_EQ(b.DemiDecelGlisse, MultVect(b.DecelGlisse, 0.5));
    // at the end of sliding the velocity is 5/7 v and the spin satisfies rolling
    const TVecteur vFin = DiffVect(b.Vitesse, MultVect(b.DecelGlisse, tg));
    const TVecteur wFin = MultVect(b.AccRotGlisse, tg);
    EXPECT_NEAR(vFin.y, 5 * v / 7, kTol);
    EXPECT_NEAR(wFin.x, -vFin.y / f.RayonBilles(), kTol);
    EXPECT_NEAR(b.tFinRoule, 0.5 + tg + (5 * v / 7) / (f.FrotBiTapRoule() * f.G()), 1e-8);
    EXPECT_EQ(b.tFinPivot, 0.5);
}

TEST_F(ApresChocTest, BackspinCancellingTheRoll_SlidesToAStop) {
    const TVecteur w = Vecteur(0, -30, 0);
    TEtatBille b = SurTapis(MultVect(ProdVect(Vecteur(0, 0, 1), w), f.Diametre() / 5), w);
    physique.ApresChoc(b, 0);
    EXPECT_EQ(b.Mouvement, mvGlisse);
    EXPECT_GT(b.tFinGlisse, 0.0);
    EXPECT_EQ(b.tFinRoule, b.tFinGlisse);
}

TEST_F(ApresChocTest, SpinAboutTheVerticalOnly_PivotsOnTheSpot) {
    for (double omega : {20.0, -20.0}) {
        TEtatBille b = SurTapis(VecteurNul, Vecteur(0, 0, omega));
        physique.ApresChoc(b, 3);
        EXPECT_EQ(b.Mouvement, mvRoule);
        EXPECT_EQ(b.tFinRoule, 3.0);
        EXPECT_NEAR(b.tFinPivot, 3 + 20 * 2 * f.Rayon2() / (5 * f.FrotBiTapPivot() * f.G()), kTol);
        // the decay has the sign of the spin
        EXPECT_GT(b.DecelPivot * omega, 0.0);
    }
}

TEST_F(ApresChocTest, RaisedOrRisingBall_FliesAndKeepsItsPlan) {
    TEtatBille haut = SurTapis(Vecteur(10, 0, 0), Vecteur(1, 2, 3));
    haut.Position.z = std::nextafter(f.RayonBilles(), 10.0);
    TEtatBille montant = SurTapis(Vecteur(10, 0, 1e-9), Vecteur(1, 2, 3));
    for (TEtatBille* b : {&haut, &montant}) {
        b->tFinGlisse = 7;
        b->tFinRoule = 8;
        b->tFinPivot = 9;
        physique.ApresChoc(*b, 1);
        EXPECT_EQ(b->Mouvement, mvVole);
        EXPECT_EQ(b->AccVol, Vecteur(0, 0, f.G()));
        EXPECT_EQ(b->DemiAccVol, Vecteur(0, 0, f.G() / 2));
        EXPECT_EQ(b->tFinGlisse, 7.0);
        EXPECT_EQ(b->tFinRoule, 8.0);
        EXPECT_EQ(b->tFinPivot, 9.0);
        EXPECT_EQ(b->Rotation, Vecteur(1, 2, 3));
    }
    // exactly on the cloth and not rising: not a flight
    TEtatBille pose = SurTapis(Vecteur(10, 0, 0));
    physique.ApresChoc(pose, 0);
    EXPECT_EQ(pose.Mouvement, mvGlisse);
}

TEST_F(ApresChocTest, ZeroOrNegativeFrictionsAndGravity_StillGiveFiniteEndingPhases) {
    physique.Fisik.Change(&TConstantesPhys::G, 0);
    physique.Fisik.Change(&TConstantesPhys::FrotBiTapGlisse, 0);
    physique.Fisik.Change(&TConstantesPhys::FrotBiTapRoule, -1);
    physique.Fisik.Change(&TConstantesPhys::FrotBiTapPivot, 0);
    TEtatBille b = SurTapis(Vecteur(100, 0, 0), Vecteur(0, 0, 5));
    physique.ApresChoc(b, 0);
    EXPECT_EQ(b.Mouvement, mvGlisse);
    for (double t : {b.tFinGlisse, b.tFinRoule, b.tFinPivot}) {
        EXPECT_TRUE(std::isfinite(t));
        EXPECT_GT(t, 0.0);
    }
    EXPECT_TRUE(std::isfinite(b.DecelPivot));
    EXPECT_GT(Norme(b.DecelGlisse), 0.0);
    EXPECT_GT(Norme(b.DecelRoule), 0.0);

    TEtatBille vol = SurTapis(Vecteur(0, 0, 50));
    physique.ApresChoc(vol, 0);
    EXPECT_GT(vol.AccVol.z, 0.0);
}

}  // namespace
