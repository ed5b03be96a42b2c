#include <gtest/gtest.h>

#include <cmath>

#include "collisions/C3_ChocBille.h"

namespace {

constexpr double kTol = 1e-9;

struct ChocBilleTest : ::testing::Test {
    TVelmoraChocBille physique;
    double R = physique.Fisik.RayonBilles();

    // ball numero at p with velocity v and rotation w
    static TEtatBille Bille(int numero, TVecteur p, TVecteur v = VecteurNul, TVecteur w = VecteurNul) {
        TEtatBille b;
        b.NumBille = numero;
        b.Position = p;
        b.Vitesse = v;
        b.Rotation = w;
        return b;
    }

    // slip of A's contact point relative to B's after the impact
    TVecteur Glissement(const TEtatBille& a, const TEtatBille& b) const {
        const TVecteur n = Unitaire(DiffVect(a.Position, b.Position));
        const TVecteur vr = DiffVect(a.Vitesse, b.Vitesse);
        return SommeVect(DiffVect(vr, MultVect(n, ProdScal(vr, n))),
                         MultVect(ProdVect(n, SommeVect(a.Rotation, b.Rotation)), R));
    }
};

TEST_F(ChocBilleTest, HeadOn_NoSpin_TransfersMostOfTheSpeed) {
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 200, 0));
    TEtatBille b = Bille(2, Vecteur(0, 2 * R, R));
    physique.ChocBilles(a, b);
    EXPECT_NEAR(a.Vitesse.y, 0.065 * 200, kTol);
    EXPECT_NEAR(b.Vitesse.y, 0.935 * 200, kTol);
    EXPECT_EQ(a.Vitesse.x, 0.0);
    EXPECT_EQ(b.Vitesse.x, 0.0);
    EXPECT_NEAR(a.Vitesse.y + b.Vitesse.y, 200, kTol);
    // no slip at all: no tangential change, indicator -1
    EXPECT_EQ(a.IndGlissement, -1.0);
    EXPECT_EQ(a.Rotation, VecteurNul);
    EXPECT_EQ(b.Rotation, VecteurNul);
    EXPECT_EQ(a.DernierChoc, tcBilleBille);
    EXPECT_EQ(a.NumTouche, 2);
}

TEST_F(ChocBilleTest, HeadOn_Elastic_ExchangesTheVelocities) {
    physique.Fisik.Change(&TConstantesPhys::ElastBiBi, 1);
    TEtatBille a = Bille(1, Vecteur(5, 0, R), Vecteur(-150, 0, 0));
    TEtatBille b = Bille(3, Vecteur(5 - 2 * R, 0, R), Vecteur(30, 0, 0));
    physique.ChocBilles(a, b);
    EXPECT_NEAR(a.Vitesse.x, 30, kTol);
    EXPECT_NEAR(b.Vitesse.x, -150, kTol);
}

TEST_F(ChocBilleTest, ThinCutWithSideSpin_SlidesWithFrictionAtItsLimit) {
    // A runs along +y and grazes B, with strong spin about the vertical
    const TVecteur n = Unitaire(Vecteur(0.98, -std::sqrt(1 - 0.98 * 0.98), 0));
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 300, 0), Vecteur(0, 0, 60));
    TEtatBille b = Bille(2, DiffVect(a.Position, MultVect(n, 2 * R)), VecteurNul, Vecteur(0, 0, -5));
    const TEtatBille a0 = a;
    const TEtatBille b0 = b;
    physique.ChocBilles(a, b);

    EXPECT_GE(a.IndGlissement, 0.0);
    const double vrn = ProdScal(DiffVect(a0.Vitesse, b0.Vitesse), n);
    const double j = -((1 + physique.Fisik.ElastBiBi()) / 2) * vrn;
    // tangential change of exactly mu J per unit mass
    const TVecteur dvt = DiffVect(DiffVect(a.Vitesse, a0.Vitesse), MultVect(n, j));
    EXPECT_NEAR(Norme(dvt), physique.Fisik.FrotBiBi() * j, kTol);
    EXPECT_NEAR(ProdScal(dvt, n), 0, kTol);
    // the spin change follows from that impulse at the contact point
    const TVecteur dwa = DiffVect(a.Rotation, a0.Rotation);
    const TVecteur attendu = MultVect(ProdVect(n, dvt), -5 / (2 * R));
    EXPECT_NEAR(dwa.x, attendu.x, kTol);
    EXPECT_NEAR(dwa.y, attendu.y, kTol);
    EXPECT_NEAR(dwa.z, attendu.z, kTol);
    // normal relative speed reversed with restitution
    EXPECT_NEAR(ProdScal(DiffVect(a.Vitesse, b.Vitesse), n), -physique.Fisik.ElastBiBi() * vrn, kTol);
    // B gets the opposite impulse and the same change of rotation
    EXPECT_EQ(b.Vitesse, DiffVect(SommeVect(a0.Vitesse, b0.Vitesse), a.Vitesse));
    EXPECT_EQ(b.Rotation, SommeVect(b0.Rotation, dwa));
}

TEST_F(ChocBilleTest, SmallSlip_StopsTheSlipBetweenTheSurfaces) {
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 100, 0), Vecteur(0, 0, 3));
    TEtatBille b = Bille(2, Vecteur(0, 2 * R, R));
    physique.ChocBilles(a, b);
    EXPECT_LT(a.IndGlissement, 0.0);
    EXPECT_NEAR(Norme(Glissement(a, b)), 0, 1e-9);
    EXPECT_NE(a.Rotation.z, 3.0);
    EXPECT_EQ(b.Rotation.z, a.Rotation.z - 3);
}

TEST_F(ChocBilleTest, CoincidentCentres_ExchangeNothingAndStayFinite) {
    TEtatBille a = Bille(1, Vecteur(1, 2, R), Vecteur(40, -10, 0), Vecteur(3, 1, 2));
    TEtatBille b = Bille(2, Vecteur(1, 2, R), Vecteur(-5, 0, 0));
    physique.ChocBilles(a, b);
    EXPECT_EQ(a.Vitesse, Vecteur(40, -10, 0));
    EXPECT_EQ(b.Vitesse, Vecteur(-5, 0, 0));
    EXPECT_EQ(a.Rotation, Vecteur(3, 1, 2));
    EXPECT_TRUE(std::isfinite(a.IndGlissement));
}

TEST_F(ChocBilleTest, PairAlreadySeparating_ExchangesNothingButTheTouchCounts) {
    // forecast while approaching, braked apart by the time of the contact; with side spin, so that
    // a pulling impulse would also have sped up the slip
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(3, -0.5, 0), Vecteur(0, 0, 20));
    TEtatBille b = Bille(2, Vecteur(0, 2 * R, R), Vecteur(-2, 0.5, 0));
    const TEtatBille a0 = a, b0 = b;
    const auto energie = [&](const TEtatBille& e) {
        return 0.5 * Norme2(e.Vitesse) + 0.2 * R * R * Norme2(e.Rotation);
    };
    physique.ChocBilles(a, b);
    EXPECT_EQ(a.Vitesse, a0.Vitesse);
    EXPECT_EQ(b.Vitesse, b0.Vitesse);
    EXPECT_EQ(a.Rotation, a0.Rotation);
    EXPECT_EQ(b.Rotation, b0.Rotation);
    EXPECT_LE(energie(a) + energie(b), energie(a0) + energie(b0));
    EXPECT_EQ(a.DernierChoc, tcBilleBille);
    EXPECT_EQ(a.NumTouche, 2);
}

TEST_F(ChocBilleTest, ImpactPressingIntoTheCloth_BouncesAtOnceButReadsAsBallBall) {
    // B sits higher than A: the normal points down and A is pushed into the cloth
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 250, 0));
    TEtatBille b = Bille(3, Vecteur(0, std::sqrt(4 * R * R - 4), R + 2));
    physique.ChocBilles(a, b);
    EXPECT_GE(a.Vitesse.z, 0.0);
    EXPECT_EQ(a.Position.z, R);
    EXPECT_EQ(a.DernierChoc, tcBilleBille);
    EXPECT_EQ(a.NumTouche, 3);
    // B was pushed up: no bounce, its own fields untouched
    EXPECT_GT(b.Vitesse.z, 0.0);
    EXPECT_EQ(b.DernierChoc, tcAucun);
    EXPECT_EQ(b.NumTouche, 0);
}

// the game rule's side of the second-ball hook: it judges, then clears itself
struct Arbitre {
    int appels = 0;
    void Juge(TEtatBille& b) {
        ++appels;
        b.SurDeuxiemeBille = TValidation();
    }
};

struct HookTest : ChocBilleTest {
    Arbitre arbitre;
    TEtatBille b1 = Bille(1, VecteurNul);
    TEtatBille b2 = Bille(2, VecteurNul);
    TEtatBille b3 = Bille(3, VecteurNul);

    void SetUp() override { b1.SurDeuxiemeBille = TValidation::Lie<&Arbitre::Juge>(&arbitre); }

    // A runs into B head-on along +y
    void Touche(TEtatBille& a, TEtatBille& b) {
        a.Position = Vecteur(0, 0, R);
        a.Vitesse = Vecteur(0, 100, 0);
        b.Position = Vecteur(0, 2 * R, R);
        b.Vitesse = VecteurNul;
        physique.ChocBilles(a, b);
    }
};

TEST_F(HookTest, SameBallTwice_NeverFiresTheHook) {
    Touche(b1, b2);
    EXPECT_EQ(b1.PremiereBille, &b2);
    Touche(b1, b2);
    EXPECT_EQ(arbitre.appels, 0);
    EXPECT_EQ(b1.PremiereBille, &b2);
}

TEST_F(HookTest, SecondDifferentBall_FiresTheHookOnce) {
    Touche(b1, b3);
    Touche(b1, b3);
    EXPECT_EQ(arbitre.appels, 0);
    Touche(b1, b2);
    EXPECT_EQ(arbitre.appels, 1);
    EXPECT_FALSE(b1.SurDeuxiemeBille);
    Touche(b1, b3);
    EXPECT_EQ(arbitre.appels, 1);
}

TEST_F(HookTest, BallsWithoutHook_KeepNoRecordOfTheirContacts) {
    Touche(b2, b3);
    Touche(b2, b1);
    EXPECT_EQ(b2.PremiereBille, nullptr);
    EXPECT_EQ(b1.PremiereBille, nullptr);
    EXPECT_EQ(arbitre.appels, 0);
}

}  // namespace
