#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "jeu/Queue.h"

TEST(QueueJeu, SpeedAndMassAreRaisedToTheirFloors_AnInclinationOutOfRangeIsRefused) {
    TQueueDegres q = QueueDepart();
    q.SetVitesse(-5);
    q.SetMasse(0.5f);
    EXPECT_EQ(q.Vitesse, 0);
    EXPECT_EQ(q.Masse, 1);
    q.SetVitesse(250);
    EXPECT_EQ(q.Vitesse, 250);
    // 90 is excluded: the cue would stand upright
    for (float refusee : {90.0f, -1.0f, 400.0f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(q.SetInclinaison(refusee)) << refusee;
        EXPECT_EQ(q.Inclinaison, 3) << refusee;
    }
    EXPECT_TRUE(q.SetInclinaison(89.9f));
    EXPECT_EQ(q.Inclinaison, 89.9f);
    EXPECT_TRUE(q.SetInclinaison(0));
}

TEST(QueueJeu, TheSimulationGetsEveryValueWidenedExactly_AnglesInRadians) {
    const TParamQueue p = ParamSimu(QueueDepart());
    EXPECT_EQ(p.Effet, double(0.62f));
    EXPECT_EQ(p.Hauteur, double(1.17f));
    EXPECT_EQ(p.VitesseQueue, 430);
    EXPECT_EQ(p.MasseQueue, 520);
    EXPECT_EQ(p.AngleOx, double(99.14f) * (M_PI / 180));
    EXPECT_EQ(p.AngleTapis, 3 * (M_PI / 180));
}

TEST(QueueJeu, ACueTakenBackFromTheSimulationIsTheSameToTheBit) {
    // a saved cue read back must play the same shot: degrees -> radians -> degrees loses nothing
    // at single precision
    for (float visee = -720; visee <= 720; visee += 0.37f)
        for (float inclinaison : {0.0f, 0.01f, 3.0f, 45.5f, 89.99f}) {
            const TQueueDegres q{0.3f, -1.2f, visee, 431.5f, inclinaison, 519};
            ASSERT_EQ(QueueDegres(ParamSimu(q)), q) << visee << " " << inclinaison;
        }
}

TEST(QueueJeu, TakingTheSimulationsValuesAppliesTheLimits) {
    TParamQueue p;
    p.VitesseQueue = -3;
    p.MasseQueue = 0;
    p.AngleTapis = 97 * (M_PI / 180);
    p.AngleOx = 0.3;
    p.Effet = 0.1;
    const TQueueDegres q = QueuePrise(p, QueueDepart());
    EXPECT_EQ(q.Vitesse, 0);
    EXPECT_EQ(q.Masse, 1);
    // refused: the inclination in force stays
    EXPECT_EQ(q.Inclinaison, 3);
    EXPECT_EQ(q.Visee, float(0.3 * (180 / M_PI)));
    EXPECT_EQ(q.Effet, 0.1f);
}

TEST(QueueJeu, HeightOfTheHorizontalFrameMeasuredInAnInclinedCue) {
    const double r = 3.075, a = 10 * (M_PI / 180);
    EXPECT_EQ(ConvertitHauteur(1.2, 0.5, 0, r), 1.2);
    // the centre's height lies below the axis of a cue raised by a: r sin a under it
    EXPECT_NEAR(ConvertitHauteur(0, 0, a, r), -r * std::sin(a), 1e-12);
    // the top of the ball: r cos a above the inclined axis
    EXPECT_NEAR(ConvertitHauteur(r, 0, a, r), r * std::cos(a), 1e-12);
    // with side: the tip's circle is smaller
    const double rho = std::sqrt(r * r - 1);
    EXPECT_NEAR(ConvertitHauteur(0, 1, a, r), -rho * std::sin(a), 1e-12);
}
