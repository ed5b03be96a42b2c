#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "collisions/C4_ChocBande.h"
#include "collisions/ChocBandeMathavan.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double R = 3.075;
// cushion 1 (+x): its normal into the table
const TVecteur kNormale = Vecteur(-1, 0, 0);

// the model of a match table: the nose 0.625 cm above the centre
TImpactBandeMathavan Match() {
    TImpactBandeMathavan m;
    m.Rayon = R;
    m.SinTheta = (3.7 - R) / R;
    return m;
}

// a ball coming into cushion 1 at `angle` degrees from its normal, at v cm/s
TVecteur Entree(double angle, double v) {
    return Vecteur(v * std::cos(angle * kDeg), v * std::sin(angle * kDeg), 0);
}
// rolling on the cloth: the rotation is K × V / R
TVecteur Roule(const TVecteur& v) { return Vecteur(-v.y / R, v.x / R, 0); }

double Energie(const TVecteur& v, const TVecteur& w) {
    return 0.5 * Norme2(v) + 0.5 * 0.4 * R * R * Norme2(w);
}

// the angle out, from the normal, on the side the ball was going
double AngleSortie(const TVecteur& v) { return std::atan2(v.y, -v.x) / kDeg; }

}  // namespace

// With the nose level with the centre and no spin, nothing slips sideways: a square hit gives back
// e of the speed, whatever the friction (a work ratio of e² is a speed ratio of e here).
TEST(ChocBandeMathavan, ASquareHitAtCentreHeightGivesBackTheRestitutionAsked) {
    for (const double e : {0.5, 0.8, 0.95}) {
        TImpactBandeMathavan m = Match();
        m.SinTheta = 0;
        m.Elasticite = e;
        TVecteur v = Vecteur(180, 0, 0), w = VecteurNul;
        ASSERT_TRUE(ChocBandeMathavan(m, kNormale, v, w));
        EXPECT_NEAR(v.x, -e * 180, 1e-9);
        EXPECT_NEAR(v.y, 0, 1e-12);
        EXPECT_EQ(v.z, 0);
        EXPECT_NEAR(Norme(w), 0, 1e-12);
    }
    // a ball moving away, or along, meets nothing
    TVecteur v = Vecteur(-50, 30, 0), w = VecteurNul;
    EXPECT_FALSE(ChocBandeMathavan(Match(), kNormale, v, w));
    EXPECT_EQ(v, Vecteur(-50, 30, 0));
}

// A ball without spin, sliding in at a larger angle, leaves at a larger angle: the rebound's
// shape over the incoming angle, on a match table, the restitution and frictions of real ones.
TEST(ChocBandeMathavan, WithoutSpinTheReboundAngleGrowsWithTheIncomingAngle) {
    double avant = -1;
    for (double angle = 2; angle < 89; angle += 3) {
        TVecteur v = Entree(angle, 200), w = VecteurNul;
        ASSERT_TRUE(ChocBandeMathavan(Match(), kNormale, v, w));
        const double sortie = AngleSortie(v);
        EXPECT_GT(sortie, avant) << angle;
        // and the ball leaves the cushion, on the cloth
        EXPECT_LT(v.x, 0) << angle;
        EXPECT_EQ(v.z, 0);
        avant = sortie;
    }
}

// Friction and an inelastic cushion only take energy: from any state coming in (any spin on any
// axis, any angle, any speed), the kinetic energy after is no larger than before.
TEST(ChocBandeMathavan, EnergyNeverRises) {
    std::mt19937 alea(27);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int k = 0; k < 2000; ++k) {
        TImpactBandeMathavan m = Match();
        m.Elasticite = 0.5 + 0.5 * std::abs(u(alea));
        m.FrotBande = 0.4 * std::abs(u(alea));
        m.FrotTapis = 0.4 * std::abs(u(alea));
        TVecteur v = Entree(89 * u(alea), 20 + 400 * std::abs(u(alea)));
        TVecteur w = Vecteur(150 * u(alea), 150 * u(alea), 150 * u(alea));
        const double avant = Energie(v, w);
        ASSERT_TRUE(ChocBandeMathavan(m, kNormale, v, w));
        EXPECT_LE(Energie(v, w), avant * (1 + 1e-12)) << k;
    }
}

// The integration's steps are fine enough: a four times finer one moves the velocity and the
// rotation after the impact by less than half a percent, over the angles, speeds and spins of play.
TEST(ChocBandeMathavan, TheStepsKeepTheResultWithinHalfAPercentOfAFourTimesFinerIntegration) {
    const TImpactBandeMathavan m = Match();
    TImpactBandeMathavan fin = m;
    fin.PasParPhase = 4 * m.PasParPhase;
    double pire = 0;
    for (double angle = 0; angle < 89; angle += 4)
        for (const double vitesse : {30.0, 150.0, 400.0})
            for (int effet = 0; effet < 5; ++effet) {
                const TVecteur v0 = Entree(angle, vitesse);
                // rolling, stopped, backspin, and side spin both ways
                const TVecteur rotations[] = {Roule(v0), VecteurNul, MultVect(Roule(v0), -1.0),
                                              SommeVect(Roule(v0), Vecteur(0, 0, vitesse / R)),
                                              SommeVect(Roule(v0), Vecteur(0, 0, -vitesse / R))};
                TVecteur v = v0, w = rotations[effet], v4 = v0, w4 = rotations[effet];
                ASSERT_TRUE(ChocBandeMathavan(m, kNormale, v, w));
                ASSERT_TRUE(ChocBandeMathavan(fin, kNormale, v4, w4));
                pire = std::max(pire, Norme(DiffVect(v, v4)) / Norme(v4));
                pire = std::max(pire, R * Norme(DiffVect(w, w4)) / (R * Norme(w4) + Norme(v4)));
            }
    EXPECT_LT(pire, 0.005);
}

// A table that asks for the stepped model plays it for a ball on the cloth (no hop: the model keeps
// the ball there), counts and names the cushion as the impulse model does, and leaves a ball in
// the air to the impulse at the nose.
TEST(ChocBandeMathavan, ATableThatAsksForItPlaysItForBallsOnTheCloth) {
    TVelmoraChocBande physique;
    physique.Fisik.ChangeModeleBande(mbMathavan);
    const double h = physique.Fisik.HautBdes(), L = physique.Fisik.largeurJeu();
    const auto contre = [&](TVecteur v, double z) {
        TEtatBille b;
        b.Position = Vecteur(L / 2 - std::sqrt(R * R - (h - R) * (h - R)), 10, z);
        b.Vitesse = v;
        b.Rotation = Roule(v);
        return b;
    };
    TEtatBille b = contre(Vecteur(200, 0, 0), R);
    physique.ChocBande(b, physique.Fisik.Bandes()[0]);
    EXPECT_LT(b.Vitesse.x, 0);
    EXPECT_EQ(b.Vitesse.z, 0);
    EXPECT_EQ(b.NbBandes, 1);
    EXPECT_EQ(b.NumTouche, 1);
    EXPECT_EQ(b.DernierChoc, tcBilleBande);
    // the same impact computed by the model alone
    TVecteur v = Vecteur(200, 0, 0), w = Roule(v);
    TImpactBandeMathavan m = Match();
    m.FrotTapis = physique.Fisik.FrotBiTapGlisse();
    ChocBandeMathavan(m, kNormale, v, w);
    EXPECT_EQ(b.Vitesse, v);

    // a ball a centimetre up meets the nose as an impulse, pressed down and bouncing on the cloth
    TEtatBille enVol = contre(Vecteur(200, 0, -5), R + 1);
    TVelmoraChocBande impulsion;
    TEtatBille pareil = enVol;
    physique.ChocBande(enVol, physique.Fisik.Bandes()[0]);
    impulsion.ChocBande(pareil, impulsion.Fisik.Bandes()[0]);
    EXPECT_EQ(enVol.Vitesse, pareil.Vitesse);
}
