// Thickness in ball fractions: the named fractions and their side, the aimed ball as the corner
// panel measures it, and the thickness actually struck in a computed shot.
#include <gtest/gtest.h>

#include <cmath>

#include "jeu/Epaisseurs.h"
#include "tests/sim/OutilsSimu.h"

namespace {
constexpr float D = 2 * RayonBilleJeu;
}

TEST(Epaisseurs, FractionsAreNamedWithTheSideTheCueBallTakesTheBallOn) {
    EXPECT_EQ(TexteEpaisseur(1), "pleine bille");
    EXPECT_EQ(TexteEpaisseur(-0.9), "pleine bille");
    EXPECT_EQ(TexteEpaisseur(0.75), "3/4 bille à droite");
    EXPECT_EQ(TexteEpaisseur(0.5), "1/2 bille à droite");
    EXPECT_EQ(TexteEpaisseur(-0.52), "1/2 bille à gauche");
    EXPECT_EQ(TexteEpaisseur(-0.2), "1/4 bille à gauche");
    EXPECT_EQ(TexteEpaisseur(0.05), "fine à droite");
    EXPECT_EQ(TexteEpaisseur(0), "");
    // the breakpoints lie half-way between the named fractions
    EXPECT_EQ(FractionBille(0.624), fbDemi);
    EXPECT_EQ(FractionBille(0.625), fbTroisQuarts);
    EXPECT_EQ(FractionBille(-0.125), fbQuart);
}

TEST(Epaisseurs, TheAimedBallIsTheNearerInFrontWithinADiameterOfTheLine) {
    // ball 1 at the origin aiming along +y; ball 2 far ahead, the red nearer
    std::array<TCentreBille, 3> p{{{0, 0, 3.075f}, {0, 100, 3.075f}, {0, 50, 3.075f}}};
    TBilleEpaisseur v = BilleVisee(0, 1, p, D);
    EXPECT_EQ(v.Bille, 3);
    EXPECT_DOUBLE_EQ(v.Epaisseur, -1);
    EXPECT_EQ(TexteEpaisseur(v.Epaisseur), "pleine bille");
    // the red half a diameter to the left of the line: half a ball, taken on its right
    p[2].x = -D / 2;
    v = BilleVisee(0, 1, p, D);
    EXPECT_EQ(v.Bille, 3);
    EXPECT_NEAR(v.Epaisseur, 0.5, 1e-6);
    EXPECT_EQ(TexteEpaisseur(v.Epaisseur), "1/2 bille à droite");
    // the red out of reach: ball 2 is aimed; nothing in front: no ball
    p[2].x = 2 * D;
    EXPECT_EQ(BilleVisee(0, 1, p, D).Bille, 2);
    EXPECT_EQ(BilleVisee(0, -1, p, D).Bille, 0);
    EXPECT_EQ(EpaisseurVisee(0, 1, p, D, 3), 0);
}

TEST(Epaisseurs, TheStruckThicknessOfAShotIsTheAimedOneOnAStraightStroke) {
    // a plain stroke along +y at the red placed a quarter diameter to the right: 3/4, on its left
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(0, -60, 0), Vecteur(-50, 100, 0), Vecteur(D / 4, 0, 0));
    s->VitesseQueue = 200;
    s->AngleOx = M_PI / 2;
    s->Joue();
    const TBilleEpaisseur t = BilleTouchee(*s, D);
    EXPECT_EQ(t.Bille, 3);
    EXPECT_NEAR(t.Epaisseur, -0.75, 0.01);
    EXPECT_EQ(TexteEpaisseur(t.Epaisseur), "3/4 bille à gauche");
    // without a ball-ball contact: none
    s->AngleOx = 0;
    s->Joue();
    EXPECT_EQ(BilleTouchee(*s, D).Bille, 0);
}
