// The respites must never hide a contact: balls are moved through their respites with the real
// motion plans, and the forecasts run at any pass start within them must find nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "sim/C7_Mouvements.h"
#include "sim/RepitDetection.h"

namespace {

struct RepitTest : ::testing::Test {
    TVelmoraMouvements physique;
    TPARAMPHYS& f = physique.Fisik;
    std::mt19937_64 alea{20261208};
    std::uniform_real_distribution<double> u{0, 1};

    double Vitesse() {
        // crawling to very fast
        return u(alea) < 0.3 ? 30 * u(alea) : 2000 * u(alea);
    }

    // a ball anywhere on the table with a motion plan from time 0: sliding, rolling or flying
    TEtatBille Bille() {
        const double R = f.RayonBilles(), xMax = f.largeurJeu() / 2 - R, yMax = f.largeurJeu() - R;
        TEtatBille b;
        b.Position = Vecteur((2 * u(alea) - 1) * xMax, (2 * u(alea) - 1) * yMax, R);
        const double a = 2 * std::numbers::pi * u(alea), v = Vitesse();
        b.Vitesse = Vecteur(v * std::cos(a), v * std::sin(a), 0);
        b.Rotation = Vecteur(200 * (u(alea) - 0.5), 200 * (u(alea) - 0.5), 100 * (u(alea) - 0.5));
        // rolling from the start (spin matching the speed), where only the rolling brake acts
        if (u(alea) < 0.4) b.Rotation = Vecteur(-b.Vitesse.y / R, b.Vitesse.x / R, b.Rotation.z);
        if (u(alea) < 0.2) b.Vitesse.z = 300 * u(alea);  // a jump
        if (u(alea) < 0.2) b.Vitesse = VecteurNul;       // at rest, or only spinning
        physique.ApresChoc(b, 0);
        return b;
    }

    // moves the ball to time t in loop-sized steps
    void AvanceJusqua(TEtatBille& b, double t) {
        double instant = 0;
        while (instant < t) {
            const double pas = std::min(f.dtAnal(), t - instant);
            if (b.Mouvement < mvArret) physique.Avance(b, instant, pas);
            instant += pas;
        }
    }

    // a pass start within [0, T): the start, the end, and anywhere between
    double Instant(double T, int k) {
        if (k == 0) return 0;
        if (k == 1) return std::nextafter(T, 0.0);
        return T * u(alea);
    }
};

TEST_F(RepitTest, PairRespite_HidesNoContactWithinAStep) {
    const TBornesRepit bornes = BornesRepit(f);
    int avecRepit = 0, longs = 0;
    for (int i = 0; i < 20000; ++i) {
        TEtatBille A0 = Bille(), B0 = Bille();
        // often close enough for the respite to matter
        if (u(alea) < 0.5) {
            const double a = 2 * std::numbers::pi * u(alea), d = f.Diametre() + 60 * u(alea);
            B0.Position = SommeVect(A0.Position, Vecteur(d * std::cos(a), d * std::sin(a), 0));
            B0.Position.z = A0.Position.z;
        }
        const double T = RepitPaire(A0, B0, bornes);
        ASSERT_GE(T, 0.0);
        if (T == 0) continue;
        ++avecRepit;
        longs += T == bornes.DureeMax;
        for (int k = 0; k < 4; ++k) {
            TEtatBille A = A0, B = B0;
            const double t = Instant(T, k);
            AvanceJusqua(A, t);
            AvanceJusqua(B, t);
            if (A.Mouvement > mvRoule && B.Mouvement > mvRoule) continue;
            TChocPrevu prevu;
            prevu.dtPrecedent = f.dtAnal();
            physique.DetecteChocBilles(A, B, prevu);
            ASSERT_GT(prevu.Delai, f.dtAnal()) << "draw " << i << " at " << t << " of " << T;
        }
    }
    // the draw reaches short and full respites
    EXPECT_GT(avecRepit, 5000);
    EXPECT_GT(longs, 500);
}

TEST_F(RepitTest, CushionRespite_KeepsTheBallOutOfTheApproachZones) {
    const TBornesRepit bornes = BornesRepit(f);
    const double marge = 1.5 * f.Diametre();
    int avecRepit = 0;
    for (int i = 0; i < 20000; ++i) {
        const TEtatBille b0 = Bille();
        const double T = RepitBandes(b0, bornes);
        ASSERT_GE(T, 0.0);
        if (T == 0) continue;
        ++avecRepit;
        for (int k = 0; k < 4; ++k) {
            TEtatBille b = b0;
            const double t = Instant(T, k);
            AvanceJusqua(b, t);
            // the cushion forecast's own zone tests, whatever the direction of motion
            const TVecteur& p = b.Position;
            ASSERT_LE(p.x, f.Bandes()[0].Point.x - marge) << i;
            ASSERT_GE(p.x, f.Bandes()[1].Point.x + marge) << i;
            ASSERT_LE(p.y, f.Bandes()[2].Point.y - marge) << i;
            ASSERT_GE(p.y, f.Bandes()[3].Point.y + marge) << i;
        }
    }
    EXPECT_GT(avecRepit, 5000);
}

TEST(Repit, EmptyRespiteCoversNoPassNotEvenAtTheSameTime) {
    // passes at the same time follow a contact: a ball then in a cushion's zone must be examined
    const TRepit vide{0.5, 0.5};
    EXPECT_FALSE(vide.Couvre(0.5));
    const TRepit repit{0.5, 0.7};
    EXPECT_TRUE(repit.Couvre(0.5));
    EXPECT_TRUE(repit.Couvre(0.69));
    EXPECT_FALSE(repit.Couvre(0.7));
    // a step back before the respite began
    EXPECT_FALSE(repit.Couvre(0.49));
    EXPECT_FALSE(TRepit{}.Couvre(0));
}

TEST(Repit, BallsTouchingOrUnknown_GetNone) {
    TPARAMPHYS f;
    const TBornesRepit bornes = BornesRepit(f);
    TEtatBille A, B;
    A.Position = Vecteur(0, 0, f.RayonBilles());
    B.Position = Vecteur(f.Diametre(), 0, f.RayonBilles());
    EXPECT_EQ(RepitPaire(A, B, bornes), 0.0);
    B.Position.x = std::nan("");
    EXPECT_EQ(RepitPaire(A, B, bornes), 0.0);
    A.Position.x = std::nan("");
    EXPECT_EQ(RepitBandes(A, bornes), 0.0);
}

}  // namespace
