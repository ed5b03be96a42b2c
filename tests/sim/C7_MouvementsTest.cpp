#include <gtest/gtest.h>

#include <cmath>

#include "sim/C7_Mouvements.h"

namespace {

struct MouvementsTest : ::testing::Test {
    TVelmoraMouvements physique;
    const TPARAMPHYS& f = physique.Fisik;
    double R = f.RayonBilles();

    // a ball on the cloth with its motion plan from time 0
    TEtatBille SurTapis(TVecteur v, TVecteur w = VecteurNul) {
        TEtatBille b;
        b.Position = Vecteur(0, 0, R);
        b.Vitesse = v;
        b.Rotation = w;
        physique.ApresChoc(b, 0);
        return b;
    }
};

TEST_F(MouvementsTest, FactoryBall_SlidesThenRollsThenStops_AtTheTextbookTimes) {
    TEtatBille b = SurTapis(Vecteur(100, 0, 0));
    ASSERT_EQ(b.Mouvement, mvGlisse);
    EXPECT_NEAR(b.tFinGlisse, (2.0 / 7 * 100) / (0.15 * 981), 1e-12);
    EXPECT_NEAR(b.tFinRoule - b.tFinGlisse, (100.0 * 5 / 7) / (0.006 * 981), 1e-9);

    // an interval across the end of sliding ends rolling, spin tied to the velocity
    physique.Avance(b, 0, 0.3);
    EXPECT_EQ(b.Mouvement, mvRoule);
    EXPECT_NEAR(b.Vitesse.x, 100.0 * 5 / 7 - 0.006 * 981 * (0.3 - b.tFinGlisse), 1e-9);
    const TVecteur lien = ProdVect(b.LienRoule, b.Vitesse);
    EXPECT_DOUBLE_EQ(b.Rotation.x, lien.x);
    EXPECT_DOUBLE_EQ(b.Rotation.y, lien.y);

    // an interval across the end of rolling stops exactly at the end point
    TEtatBille deux = b;
    physique.Avance(deux, 0.3, 1.0);
    const double xFin = deux.Position.x;
    physique.Avance(b, 0.3, 100.0);
    EXPECT_EQ(b.Mouvement, mvArret);
    EXPECT_EQ(b.Vitesse, VecteurNul);
    EXPECT_EQ(b.Rotation, VecteurNul);
    EXPECT_GT(b.Position.x, xFin);
    // sliding distance, then the rolling distance at 5/7 of the speed
    const double ts = b.tFinGlisse;
    const double vr = 100.0 * 5 / 7;
    EXPECT_NEAR(b.Position.x, 100 * ts - 0.5 * 0.15 * 981 * ts * ts + vr * vr / (2 * 0.006 * 981), 1e-6);
}

TEST_F(MouvementsTest, OneCallEqualsManySmallCalls_ThroughEveryPhaseChange) {
    const TEtatBille depart = SurTapis(Vecteur(150, -40, 0), Vecteur(30, 10, 25));
    TEtatBille un = depart;
    physique.Avance(un, 0, 40.0);

    TEtatBille pas = depart;
    double t = 0;
    for (int i = 0; i < 4000; ++i, t += 0.01) physique.Avance(pas, t, 0.01);
    EXPECT_EQ(un.Mouvement, mvArret);
    EXPECT_EQ(pas.Mouvement, mvArret);
    EXPECT_NEAR(un.Position.x, pas.Position.x, 1e-9);
    EXPECT_NEAR(un.Position.y, pas.Position.y, 1e-9);
    EXPECT_EQ(un.Position.z, R);
}

TEST_F(MouvementsTest, RollingStopsWithSpinLeft_Pivots_ThenStopsWhenTheSpinEnds) {
    TEtatBille b = SurTapis(Vecteur(0, 20, 0), Vecteur(-20 / R, 0, 40));
    ASSERT_EQ(b.Mouvement, mvRoule);
    ASSERT_LT(b.tFinRoule, b.tFinPivot);
    physique.Avance(b, 0, b.tFinRoule + 0.01);
    EXPECT_EQ(b.Mouvement, mvPivote);
    EXPECT_EQ(b.Vitesse, VecteurNul);
    EXPECT_EQ(b.Rotation.x, 0.0);
    EXPECT_GT(b.Rotation.z, 0.0);

    // the vertical spin falls linearly while the centre stays
    const TVecteur p = b.Position;
    double t = b.tFinRoule + 0.01;
    const double wz = b.Rotation.z;
    physique.Avance(b, t, 0.1);
    EXPECT_EQ(b.Position, p);
    EXPECT_NEAR(b.Rotation.z, wz - b.DecelPivot * 0.1, 1e-12);
    t += 0.1;

    // the call that reaches the spin's end leaves the ball at rest
    physique.Avance(b, t, b.tFinPivot - t);
    EXPECT_EQ(b.Rotation.z, 0.0);
    EXPECT_EQ(b.Mouvement, mvArret);
}

TEST_F(MouvementsTest, VerticalSpin_IsTakenOnceOverTheWholeInterval_EvenAcrossAPhaseChange) {
    TEtatBille b = SurTapis(Vecteur(80, 0, 0), Vecteur(0, 0, 30));
    ASSERT_EQ(b.Mouvement, mvGlisse);
    ASSERT_GT(b.tFinPivot, 0.5);
    const double attendu = 30 - b.DecelPivot * 0.5;
    physique.Avance(b, 0, 0.5);
    EXPECT_EQ(b.Mouvement, mvRoule);
    EXPECT_EQ(b.Rotation.z, attendu);
}

TEST_F(MouvementsTest, StepBackAcrossAPhaseEnd_FindsTheStateOfThatTime_WithNoMoreEnergyThanBefore) {
    // The shot loop steps back to a contact the previous step overshot. When that step crossed the
    // end of sliding or of the vertical spin, going back must follow the law of the earlier time:
    // the rolling law run backwards raised the speed by the small rolling brake instead of the
    // sliding one, and the spin grew again from zero over the whole step back, both adding energy.
    struct Cas {
        const char* nom;
        TVecteur v, w;
        double TEtatBille::*fin;
    };
    const double wz = 0.02 * 5 * f.FrotBiTapPivot() * f.G() / (2 * f.Rayon2());  // spins 0.02 s
    const Cas cas[] = {
        {"end of sliding", Vecteur(100, 0, 0), VecteurNul, &TEtatBille::tFinGlisse},
        {"end of the vertical spin", Vecteur(0.3, 0, 0), Vecteur(0, 0.3 / R, wz), &TEtatBille::tFinPivot},
    };
    const auto energie = [this](const TEtatBille& b) {
        return 0.5 * Norme2(b.Vitesse) + 0.2 * f.Rayon2() * Norme2(b.Rotation);
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TEtatBille b = SurTapis(c.v, c.w);
        // from 1 ms before the phase end: 10 ms on, then back to 0.5 ms before it
        const double t0 = b.*c.fin - 0.001;
        physique.Avance(b, 0, t0);
        TEtatBille direct = b;
        physique.Avance(direct, t0, 0.0005);
        const double e0 = energie(b);
        physique.Avance(b, t0, 0.01);
        physique.Avance(b, t0 + 0.01, -0.0095);

        EXPECT_EQ(b.Mouvement, direct.Mouvement);
        for (const auto& [retour, attendu] : {std::pair{b.Position, direct.Position},
                                              {b.Vitesse, direct.Vitesse},
                                              {b.Rotation, direct.Rotation}}) {
            EXPECT_NEAR(retour.x, attendu.x, 1e-9);
            EXPECT_NEAR(retour.y, attendu.y, 1e-9);
            EXPECT_NEAR(retour.z, attendu.z, 1e-9);
        }
        EXPECT_LE(energie(b), e0);
    }
}

TEST_F(MouvementsTest, FlyingBall_FollowsGravity_AndLeavesPlayOnlyBeyondTheLimits) {
    TEtatBille b;
    b.Position = Vecteur(10, 20, 30);
    b.Vitesse = Vecteur(100, 0, 50);
    physique.ApresChoc(b, 0);
    ASSERT_EQ(b.Mouvement, mvVole);
    physique.Avance(b, 0, 0.1);
    EXPECT_NEAR(b.Position.x, 20, 1e-12);
    EXPECT_NEAR(b.Position.z, 30 + 5 - 490.5 * 0.01, 1e-12);
    EXPECT_NEAR(b.Vitesse.z, 50 - 98.1, 1e-12);

    // just inside the limit it still moves; beyond it becomes out of play without moving
    const double xLim = f.largeurJeu() / 2 + R;
    b.Position = Vecteur(xLim, 0, 30);
    physique.Avance(b, 0, 0.01);
    EXPECT_EQ(b.Mouvement, mvVole);
    const TVecteur dehors = Vecteur(0, -(f.largeurJeu() + R) - 1e-9, 30);
    b.Position = dehors;
    physique.Avance(b, 0, 0.01);
    EXPECT_EQ(b.Mouvement, mvDehors);
    EXPECT_EQ(b.Position, dehors);
}

TEST_F(MouvementsTest, BallAtRestOrOut_IsLeftUntouched_WhateverTheInterval) {
    for (TMouvement m : {mvArret, mvDehors}) {
        TEtatBille b;
        b.Position = Vecteur(1, 2, 3);
        b.Vitesse = Vecteur(4, 5, 6);
        b.Rotation = Vecteur(7, 8, 9);
        b.Mouvement = m;
        for (double dt : {0.0, -0.01, 0.01, 1e6}) physique.Avance(b, 0, dt);
        EXPECT_EQ(b.Position, Vecteur(1, 2, 3));
        EXPECT_EQ(b.Vitesse, Vecteur(4, 5, 6));
        EXPECT_EQ(b.Rotation, Vecteur(7, 8, 9));
        EXPECT_EQ(b.Mouvement, m);
    }
}

}  // namespace
