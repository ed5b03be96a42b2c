#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "moteurs/MesuresContacts.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;

// samples every 0.02 s from ta to tb of a centre at p(t)
template <class F>
void Echantillonne(std::vector<TEchantillon>& s, double ta, double tb, F p) {
    for (int k = 0; ta + 0.02 * k <= tb + 1e-9; ++k) {
        const double t = ta + 0.02 * k;
        const auto [x, y] = p(t);
        s.push_back({t, x, y});
    }
}

// a ball into cushion 1 (x = 68.05) at `entree` degrees from its normal, out at `sortie` degrees
// (positive: on along the rail the same way) with `rapport` of its speed; contact at t = 0.15
std::vector<TEchantillon> Rebond(double entree, double sortie, double rapport) {
    const double v = 150, tc = 0.15;
    std::vector<TEchantillon> s;
    Echantillonne(s, 0, tc, [&](double t) {
        return std::pair{68.05 + v * std::cos(entree * kDeg) * (t - tc),
                         10 + v * std::sin(entree * kDeg) * (t - tc)};
    });
    s.pop_back();
    Echantillonne(s, tc + 0.01, 0.35, [&](double t) {
        return std::pair{68.05 - rapport * v * std::cos(sortie * kDeg) * (t - tc),
                         10 + rapport * v * std::sin(sortie * kDeg) * (t - tc)};
    });
    return s;
}

}  // namespace

// The angles from the cushion's normal and the speed ratio of a straight path in and out.
TEST(MesureBande, ReadsTheAnglesAndSpeedsOfAReboundFromItsSamples) {
    const TEvenement e{geBande, 1, 0.15, 68.05, 10};
    const TMesureBande miroir = MesureBande(Rebond(30, 30, 0.8), e, -HUGE_VAL, HUGE_VAL);
    ASSERT_TRUE(miroir.Valide);
    EXPECT_NEAR(miroir.AngleEntree, 30, 0.01);
    EXPECT_NEAR(miroir.AngleSortie, 30, 0.01);
    EXPECT_NEAR(miroir.RapportVitesse, 0.8, 1e-3);
    EXPECT_NEAR(miroir.PositionRail, 10, 1e-9);
    // spin that sends the ball back the way it came: a negative angle out
    const TMesureBande retour = MesureBande(Rebond(20, -15, 0.7), e, -HUGE_VAL, HUGE_VAL);
    ASSERT_TRUE(retour.Valide);
    EXPECT_NEAR(retour.AngleSortie, -15, 0.01);
    // the next contact 0.04 s after: too few samples to tell the way out
    EXPECT_FALSE(MesureBande(Rebond(30, 30, 0.8), e, -HUGE_VAL, 0.19).Valide);
}

// A 30° cut on a resting ball whose path turns 2° further than the line of centres, the way the
// striker slides across it: cut 30°, throw +2°, and the object ball's share of the speed.
TEST(MesureBille, ReadsTheCutTheThrowAndTheObjectBallSpeed) {
    const double d = 6.15, coupe = 30 * kDeg, v = 200, tc = 0.2;
    const double b = d * std::sin(coupe), xc = -d * std::cos(coupe);
    std::vector<TEchantillon> frappeur, objet{{0, 0, 0}};
    Echantillonne(frappeur, 0, tc - 0.01, [&](double t) { return std::pair{xc + v * (t - tc), b}; });
    // the line of centres points at -30°; the striker slides towards +60°
    const double direction = (-30 + 2) * kDeg, w = 0.7 * v;
    Echantillonne(objet, tc + 0.02, 0.5, [&](double t) {
        return std::pair{w * std::cos(direction) * (t - tc), w * std::sin(direction) * (t - tc)};
    });
    const TMesureBille m = MesureBille(frappeur, objet, tc, d, -HUGE_VAL, HUGE_VAL);
    ASSERT_TRUE(m.Valide);
    EXPECT_NEAR(m.Coupe, 30, 0.01);
    EXPECT_NEAR(m.Jet, 2, 0.01);
    EXPECT_NEAR(m.RapportVitesse, 0.7, 1e-3);
    // the mirrored hit: the same cut and throw
    for (auto* s : {&frappeur, &objet})
        for (TEchantillon& e : *s) e.y = -e.y;
    const TMesureBille miroir = MesureBille(frappeur, objet, tc, d, -HUGE_VAL, HUGE_VAL);
    EXPECT_NEAR(miroir.Coupe, 30, 0.01);
    EXPECT_NEAR(miroir.Jet, 2, 0.01);
    // a ball that was already moving is no resting object ball
    std::vector<TEchantillon> mobile;
    Echantillonne(mobile, 0, tc - 0.02, [&](double t) { return std::pair{0.0, 50 * (t - tc)}; });
    mobile.insert(mobile.end(), objet.begin() + 1, objet.end());
    EXPECT_FALSE(MesureBille(frappeur, mobile, tc, d, -HUGE_VAL, HUGE_VAL).Valide);
}

// A roll slowing at 4 cm/s² to rest, sampled with a millimetre of jitter: its deceleration.
TEST(DecelerationFinale, ReadsTheSlowingOfTheLastRoll) {
    std::vector<TEchantillon> s{{0, -30, -30}};
    const double v0 = 24, a = 4, t0 = 1.0, arret = t0 + v0 / a;
    int k = 0;
    Echantillonne(s, t0, arret, [&](double t) {
        const double u = t - t0, d = v0 * u - 0.5 * a * u * u;
        const double bruit = 0.1 * ((k++ % 3) - 1);
        return std::pair{-30 + 0.6 * d + bruit, -30 + 0.8 * d};
    });
    // then at rest until the end of the recording
    s.push_back({arret + 3, s.back().x, s.back().y});
    double deceleration = 0;
    ASSERT_TRUE(DecelerationFinale(s, 0.5, deceleration));
    EXPECT_NEAR(deceleration, 4, 0.05);
    // a last roll shorter than a second is not measured
    EXPECT_FALSE(DecelerationFinale(s, arret - 0.9, deceleration));
}
