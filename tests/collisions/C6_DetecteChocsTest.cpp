#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "collisions/C6_DetecteChocs.h"

namespace {

constexpr double kTol = 1e-12;

TEST(ResoudEq2, CountsAndStoresTheRealRoots) {
    TEtendu a = 1, b = -3, c = 2;
    EXPECT_EQ(TVelmoraDetecteChocs::ResoudEq2(a, b, c), 2);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);

    a = 1, b = -2, c = 1;
    EXPECT_EQ(TVelmoraDetecteChocs::ResoudEq2(a, b, c), 1);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);

    a = 1, b = 0, c = 1;
    EXPECT_EQ(TVelmoraDetecteChocs::ResoudEq2(a, b, c), 0);

    a = 0, b = 2, c = -4;
    EXPECT_EQ(TVelmoraDetecteChocs::ResoudEq2(a, b, c), 1);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 2);

    // no equation at all, even when every t would do
    a = 0, b = 0, c = 0;
    EXPECT_EQ(TVelmoraDetecteChocs::ResoudEq2(a, b, c), 0);
}

// quadratic with roots r1 and r2
double Temps(double r1, double r2, double dtPrecedent) {
    return TVelmoraDetecteChocs::TempsChoc(1, -(r1 + r2), r1 * r2, dtPrecedent);
}

TEST(TempsChoc, StepsBackAtMostThePreviousStep) {
    EXPECT_EQ(Temps(0.25, 0.5, 0.01), 0.25);
    // an overshot contact within the previous step is returned at its true past time
    EXPECT_EQ(Temps(-0.5, 1, 1), -0.5);
    // further back, or after a collision: it happens now
    EXPECT_EQ(Temps(-0.5, 1, 0.2), 0.0);
    EXPECT_EQ(Temps(-0.5, 1, 0), 0.0);
    EXPECT_EQ(Temps(-2, -1, 0.01), 0.0);
    EXPECT_EQ(TVelmoraDetecteChocs::TempsChoc(1, 0, 1, 0.01), DelaiAucunChoc);
    EXPECT_EQ(TVelmoraDetecteChocs::TempsChoc(0, 0, -1, 0.01), DelaiAucunChoc);
}

struct DetecteChocsTest : ::testing::Test {
    TVelmoraDetecteChocs physique;
    TPARAMPHYS& f = physique.Fisik;
    double R = f.RayonBilles();
    double L = f.largeurJeu();
    TChocPrevu prevu;

    TEtatBille Bille(int numero, TVecteur p, TVecteur v = VecteurNul, TMouvement m = mvRoule) const {
        TEtatBille b;
        b.NumBille = numero;
        b.Position = p;
        b.Vitesse = v;
        b.Mouvement = m;
        return b;
    }

    TEtatBille Vol(TVecteur p, TVecteur v) {
        TEtatBille b = Bille(1, p, v, mvVole);
        physique.ApresChoc(b, 0);
        return b;
    }

    bool Aucun() const { return prevu.Delai == DelaiAucunChoc && !prevu.Traitement && prevu.A == nullptr; }
};

TEST_F(DetecteChocsTest, RollingBallTowardsABallAtRest_IsForecastAtTheTouch) {
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 100, 0));
    TEtatBille b = Bille(2, Vecteur(0, 2 * R + 10, R), VecteurNul, mvArret);
    physique.DetecteChocBilles(a, b, prevu);
    EXPECT_NEAR(prevu.Delai, 0.1, kTol);
    EXPECT_EQ(prevu.A, &a);
    EXPECT_EQ(prevu.B, &b);
    // the record carries the ball-ball routine
    prevu.Traitement(*prevu.A, prevu.B);
    EXPECT_EQ(a.DernierChoc, tcBilleBille);
    EXPECT_EQ(a.NumTouche, 2);
    EXPECT_GT(b.Vitesse.y, 0.0);
}

TEST_F(DetecteChocsTest, BallsThatJustCollided_AreNotForecastAgain) {
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(20, 100, 0));
    TEtatBille b = Bille(2, Vecteur(0.5, 0, R), VecteurNul, mvPivote);
    b.Position = SommeVect(a.Position, MultVect(Unitaire(Vecteur(0.5, 2, 0)), 2 * R));
    physique.ChocBilles(a, b);
    physique.DetecteChocBilles(a, b, prevu);
    EXPECT_TRUE(Aucun());
    // nor a pair moving apart anywhere
    TEtatBille c = Bille(3, Vecteur(0, 30, R), Vecteur(0, 50, 0));
    physique.DetecteChocBilles(a, c, prevu);
    EXPECT_TRUE(Aucun());
}

TEST_F(DetecteChocsTest, OverlappingBalls_StepBackOnlyWithinThePreviousStep) {
    // centres one centimetre inside contact, closing at 100 cm/s: entry 0.01 s ago
    TEtatBille a = Bille(1, Vecteur(0, 0, R), Vecteur(0, 100, 0));
    TEtatBille b = Bille(2, Vecteur(0, 2 * R - 1, R), VecteurNul, mvArret);
    prevu.dtPrecedent = 0.02;
    physique.DetecteChocBilles(a, b, prevu);
    EXPECT_NEAR(prevu.Delai, -0.01, kTol);
    for (double dt : {0.005, 0.0}) {
        prevu = TChocPrevu();
        prevu.dtPrecedent = dt;
        physique.DetecteChocBilles(a, b, prevu);
        EXPECT_EQ(prevu.Delai, 0.0);
    }
}

TEST_F(DetecteChocsTest, BallsThatDoNotMove_AreNeverForecast) {
    for (TMouvement m : {mvPivote, mvArret, mvDehors}) {
        TEtatBille a = Bille(1, Vecteur(L / 2 - R - 0.1, 0, R), Vecteur(50, 0, 0), m);
        TEtatBille b = Bille(2, Vecteur(L / 2 - 3 * R - 0.2, 0, R), Vecteur(60, 0, 0), m);
        TEtatBille haut = Bille(3, Vecteur(0, 0, R + 5), Vecteur(0, 0, -10), m);
        physique.DetecteChocBande(a, prevu);
        physique.DetecteChocBilles(b, a, prevu);
        physique.DetecteChocTapis(haut, prevu);
        EXPECT_TRUE(Aucun()) << int(m);
    }
}

TEST_F(DetecteChocsTest, RollingBallTowardsACushion_IsForecastAtTheNose) {
    const double contact = L / 2 - std::sqrt(R * R - std::pow(f.HautBdes() - R, 2));
    TEtatBille a = Bille(1, Vecteur(contact - 5, 3, R), Vecteur(100, 0, 0));
    physique.DetecteChocBande(a, prevu);
    EXPECT_NEAR(prevu.Delai, 0.05, 1e-9);
    EXPECT_EQ(prevu.B, &f.Bandes()[0]);
    prevu.Traitement(*prevu.A, prevu.B);
    EXPECT_EQ(a.DernierChoc, tcBilleBande);
    EXPECT_EQ(a.NumTouche, 1);
    EXPECT_EQ(a.NbBandes, 1);
}

TEST_F(DetecteChocsTest, CushionsBehindOrFar_AreNeverExamined) {
    // just rebounded from cushion 1, still touching it
    TEtatBille rebond = Bille(1, Vecteur(L / 2 - R, 0, R), Vecteur(-80, 0, 0));
    physique.DetecteChocBande(rebond, prevu);
    // moving towards cushion 1 but more than three radii away
    TEtatBille loin = Bille(2, Vecteur(L / 2 - 3 * R - 0.01, 0, R), Vecteur(500, 0, 0));
    physique.DetecteChocBande(loin, prevu);
    // no speed across: cushion 3 is the candidate and its quadratic is empty
    TEtatBille long_bande = Bille(3, Vecteur(-L / 2 + R, 0, R), Vecteur(0, 10, 0));
    physique.DetecteChocBande(long_bande, prevu);
    EXPECT_TRUE(Aucun());
}

TEST_F(DetecteChocsTest, BallHeadingIntoACorner_MeetsTheSideCushionFirstOnATie) {
    // equal distances to cushions 1 and 2 (exact in binary)
    TEtatBille a = Bille(1, Vecteur(L / 2 - 5, L - 5, R), Vecteur(100, 100, 0));
    physique.DetecteChocBande(a, prevu);
    EXPECT_EQ(prevu.B, &f.Bandes()[0]);
    const double t = prevu.Delai;
    // the y side alone gives the very same time
    TChocPrevu seul;
    TEtatBille b = Bille(1, Vecteur(0, L - 5, R), Vecteur(0, 100, 0));
    physique.DetecteChocBande(b, seul);
    EXPECT_EQ(seul.Delai, t);
    EXPECT_EQ(seul.B, &f.Bandes()[2]);
}

TEST_F(DetecteChocsTest, EqualForecastTimes_KeepTheFirstOne) {
    TEtatBille b1 = Bille(1, Vecteur(0, 0, R), Vecteur(0, 100, 0));
    TEtatBille b2 = Bille(2, Vecteur(-1, 2 * R + 10, R), VecteurNul, mvArret);
    TEtatBille b3 = Bille(3, Vecteur(1, 2 * R + 10, R), VecteurNul, mvArret);
    physique.DetecteChocBilles(b1, b2, prevu);
    const double t = prevu.Delai;
    physique.DetecteChocBilles(b1, b3, prevu);
    EXPECT_EQ(prevu.Delai, t);
    EXPECT_EQ(prevu.B, &b2);
    // a strictly earlier one replaces it
    b3.Position.y -= 1e-6;
    physique.DetecteChocBilles(b1, b3, prevu);
    EXPECT_EQ(prevu.B, &b3);
}

TEST_F(DetecteChocsTest, FlyingBall_LandsAtTheDescendingRoot) {
    TEtatBille b = Vol(Vecteur(0, 0, R + 10), Vecteur(30, 0, 100));
    physique.DetecteChocTapis(b, prevu);
    // 10 + 100 t - G/2 t^2 = 0, positive root
    const double g = f.G();
    EXPECT_NEAR(prevu.Delai, (100 + std::sqrt(100 * 100 + 2 * g * 10)) / g, 1e-12);
    EXPECT_EQ(prevu.B, nullptr);
    // a rising ball never lands before its apex
    TChocPrevu montee;
    TEtatBille c = Vol(Vecteur(0, 0, R), Vecteur(0, 0, 50));
    physique.DetecteChocTapis(c, montee);
    EXPECT_NEAR(montee.Delai, 100.0 / g, 1e-12);
    // the record carries the cloth impact
    b.Vitesse.z = -60;
    b.Position.z = R;
    prevu.Traitement(*prevu.A, prevu.B);
    EXPECT_EQ(b.DernierChoc, tcBilleTapis);
    EXPECT_NEAR(b.Vitesse.z, 30, 1e-12);
}

TEST_F(DetecteChocsTest, FlyingBallAlreadyBelowTheCloth_LandsInThePastWithoutLimit) {
    TEtatBille b = Vol(Vecteur(0, 0, R + 1e-3), Vecteur(0, 0, -10));
    b.Position.z = R - 0.01;
    physique.DetecteChocTapis(b, prevu);
    EXPECT_LT(prevu.Delai, 0.0);
    // about a millisecond back at 10 cm/s, a little more with gravity
    EXPECT_NEAR(prevu.Delai, -0.00105, 1e-5);
}

TEST_F(DetecteChocsTest, BallLeavingTheClothWithATinyUpwardSpeed_IsForecastToLandFromTheCloth) {
    // at rest a hair below its resting height (a single-precision radius), or exactly on it
    for (const double bas : {0.0, 5e-8, 1e-4}) {
        for (const double vz : {1e-12, 1e-5, 0.007, 0.4, 30.0}) {
            SCOPED_TRACE(testing::Message() << bas << " " << vz);
            TEtatBille b = Bille(2, Vecteur(10, 20, R - bas), Vecteur(50, 0, vz), mvArret);
            physique.ApresChoc(b, 0);
            ASSERT_EQ(b.Mouvement, mvVole);
            TChocPrevu atterrit;
            physique.DetecteChocTapis(b, atterrit);
            ASSERT_TRUE(atterrit.Traitement);
            EXPECT_GT(atterrit.Delai, 0.0);
            // the hop of a ball leaving the cloth
            EXPECT_NEAR(atterrit.Delai, 2 * vz / f.G(), 1e-9 * (2 * vz / f.G()));
        }
    }
}

TEST_F(DetecteChocsTest, HighFlyingBall_PassesOverTheCushion) {
    TEtatBille b = Vol(Vecteur(L / 2 - 2, 0, f.HautBdes() + R + 1), Vecteur(100, 0, 0));
    physique.DetecteChocBande(b, prevu);
    EXPECT_TRUE(Aucun());
    // a little lower it catches the nose
    b.Position.z -= 2;
    physique.DetecteChocBande(b, prevu);
    EXPECT_EQ(prevu.B, &f.Bandes()[0]);
}

TEST_F(DetecteChocsTest, BallOutOfPlay_IsNeverHitByAMovingBall) {
    // frozen where it left the table, in the path of a ball flying over the cushion
    TEtatBille dehors = Bille(1, Vecteur(L / 2 + 4, 0, R + 5), Vecteur(0, 0, 0), mvDehors);
    TEtatBille vole = Bille(2, Vecteur(L / 2 + 4 - 3 * R, 0, R + 5), Vecteur(100, 0, 0), mvVole);
    physique.DetecteChocBilles(dehors, vole, prevu);
    physique.DetecteChocBilles(vole, dehors, prevu);
    EXPECT_TRUE(Aucun());
    // the same ball at rest on the table is hit
    dehors.Mouvement = mvArret;
    physique.DetecteChocBilles(dehors, vole, prevu);
    EXPECT_EQ(prevu.B, &vole);
}

TEST_F(DetecteChocsTest, BallLeavingTheNoseLine_IsNotHitByTheCushion) {
    // within a radius of the nose, rising away from it faster than it moves towards the cushion
    const TBande& bande = f.Bandes()[0];
    TEtatBille b = Vol(Vecteur(bande.Point.x - 1, 0, bande.Point.z + 2), Vecteur(10, 0, 50));
    physique.DetecteChocBande(b, prevu);
    EXPECT_TRUE(Aucun());
    // far above after a cushion could not turn it back, still drifting outwards
    b = Vol(Vecteur(bande.Point.x - 2, 0, bande.Point.z + 1000), Vecteur(1, 0, 900));
    physique.DetecteChocBande(b, prevu);
    EXPECT_TRUE(Aucun());
    // coming down onto the nose instead: hit at once
    b = Vol(Vecteur(bande.Point.x - 1, 0, bande.Point.z + 2), Vecteur(10, 0, -50));
    physique.DetecteChocBande(b, prevu);
    EXPECT_EQ(prevu.B, &f.Bandes()[0]);
    EXPECT_EQ(prevu.Delai, 0.0);
}

// Random pairs and cushion approaches, with the hard cases over-represented: balls touching or
// overlapping, near-parallel motion, grazing contacts, tiny and huge speeds.
struct TirageApproche {
    std::mt19937_64 alea{20261207};
    std::uniform_real_distribution<double> u{0, 1};

    double Echelle() {
        // a magnitude from 1e-9 to 1e4
        return std::pow(10.0, -9 + 13 * u(alea));
    }
    TVecteur Direction() {
        const double a = 2 * M_PI * u(alea), z = u(alea) < 0.7 ? 0 : 2 * u(alea) - 1;
        const double r = std::sqrt(1 - z * z);
        return Vecteur(r * std::cos(a), r * std::sin(a), z);
    }
    double Ecart(double diametre) {
        // centre distance: touching within rounding, a hair away, overlapping, or anywhere near
        const double t = u(alea);
        if (t < 0.2) return diametre * (1 + 1e-15 * (u(alea) - 0.5));
        if (t < 0.4) return diametre + Echelle() * 1e-4;
        if (t < 0.5) return diametre * (1 - 0.01 * u(alea));
        return diametre * (1 + 3 * u(alea));
    }
    double PasPrecedent() {
        const double t = u(alea);
        return t < 0.3 ? 0.0 : t < 0.6 ? 0.01 : 0.02 * u(alea);
    }
};

// The horizon lets detection skip contacts beyond the step: whatever is within it must come out
// exactly as without one, and what it leaves out must really lie beyond it.
TEST_F(DetecteChocsTest, Horizon_KeepsEveryContactWithinItToTheBit) {
    TirageApproche tirage;
    int dansLHorizon = 0, ecartes = 0;
    for (int i = 0; i < 200000; ++i) {
        const TVecteur pa = Vecteur(0, 0, R);
        const TVecteur pb = SommeVect(pa, MultVect(tirage.Direction(), tirage.Ecart(f.Diametre())));
        TVecteur va = MultVect(tirage.Direction(), tirage.Echelle());
        TVecteur vb = MultVect(tirage.Direction(), tirage.Echelle());
        if (tirage.u(tirage.alea) < 0.2)
            vb = SommeVect(va, MultVect(tirage.Direction(), 1e-9 * tirage.Echelle()));
        TEtatBille A = Bille(1, pa, va), B = Bille(2, pb, vb);
        const double dtPrecedent = tirage.PasPrecedent();
        const double horizon = tirage.Echelle() * 1e-4;

        TChocPrevu libre, borne;
        libre.dtPrecedent = borne.dtPrecedent = dtPrecedent;
        borne.Horizon = horizon;
        physique.DetecteChocBilles(A, B, libre);
        physique.DetecteChocBilles(A, B, borne);
        if (!(libre.Delai > horizon)) {
            ++dansLHorizon;
            ASSERT_EQ(borne.Delai, libre.Delai) << i;
            ASSERT_EQ(borne.A, libre.A) << i;
            ASSERT_EQ(borne.B, libre.B) << i;
        } else {
            ASSERT_GT(borne.Delai, horizon) << i;
            ecartes += borne.Delai == DelaiAucunChoc && libre.Delai != DelaiAucunChoc;
        }

        // the same for a ball running at a cushion nose
        const double x = f.Bandes()[0].Point.x - tirage.Ecart(R) * (tirage.u(tirage.alea) < 0.9 ? 1 : -1);
        TEtatBille C = Bille(1, Vecteur(x, 0, R),
                             Vecteur(tirage.Echelle(), (tirage.u(tirage.alea) - 0.5) * tirage.Echelle(), 0));
        TChocPrevu libreBande, borneBande;
        libreBande.dtPrecedent = borneBande.dtPrecedent = dtPrecedent;
        borneBande.Horizon = horizon;
        physique.DetecteChocBande(C, libreBande);
        physique.DetecteChocBande(C, borneBande);
        if (!(libreBande.Delai > horizon)) {
            ASSERT_EQ(borneBande.Delai, libreBande.Delai) << i;
            ASSERT_EQ(borneBande.B, libreBande.B) << i;
        } else {
            ASSERT_GT(borneBande.Delai, horizon) << i;
        }
    }
    // the draw reaches both sides
    EXPECT_GT(dansLHorizon, 1000);
    EXPECT_GT(ecartes, 1000);
}

// The pair forecast solves with the smaller root first; it must give the general solver's bits,
// stepped-back contacts included.
TEST_F(DetecteChocsTest, PairForecast_EqualsTheGeneralSolverToTheBit) {
    TirageApproche tirage;
    int compares = 0;
    for (int i = 0; i < 200000; ++i) {
        const TVecteur pa = Vecteur(0, 0, R);
        const TVecteur pb = SommeVect(pa, MultVect(tirage.Direction(), tirage.Ecart(f.Diametre())));
        TEtatBille A = Bille(1, pa, MultVect(tirage.Direction(), tirage.Echelle()));
        TEtatBille B = Bille(2, pb, MultVect(tirage.Direction(), tirage.Echelle()));
        TChocPrevu p;
        p.dtPrecedent = tirage.PasPrecedent();
        physique.DetecteChocBilles(A, B, p);
        if (p.A == nullptr) continue;
        const TVecteur d = DiffVect(B.Position, A.Position), vr = DiffVect(B.Vitesse, A.Vitesse);
        const TEtendu b = 2 * (TEtendu(d.x) * vr.x + TEtendu(d.y) * vr.y + TEtendu(d.z) * vr.z);
        const TEtendu a = TEtendu(vr.x) * vr.x + TEtendu(vr.y) * vr.y + TEtendu(vr.z) * vr.z;
        const TEtendu c = (TEtendu(d.x) * d.x + TEtendu(d.y) * d.y + TEtendu(d.z) * d.z) - f.Diametre2();
        ASSERT_EQ(p.Delai, TVelmoraDetecteChocs::TempsChoc(a, b, c, p.dtPrecedent)) << i;
        ++compares;
    }
    EXPECT_GT(compares, 10000);
}

}  // namespace
