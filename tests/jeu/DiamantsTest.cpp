// Cushions and diamonds: the names from the player's side, the diamonds of a rail both ways, and
// where the balls of a computed shot meet the cushions.
#include <gtest/gtest.h>

#include <cmath>

#include "jeu/ContactsBandes.h"
#include "jeu/Diamants.h"
#include "tests/sim/OutilsSimu.h"

namespace {
constexpr double W = 142.25;
}

TEST(Diamants, CushionsAreNamedFromThePlayersSideAndCountedFromHisLeftCorner) {
    EXPECT_STREQ(NomBande(1), "longue droite");
    EXPECT_STREQ(NomBande(2), "courte du haut");
    EXPECT_STREQ(NomBande(3), "longue gauche");
    EXPECT_STREQ(NomBande(4), "courte du bas");
    EXPECT_STREQ(NomBande(0), "");
    // corners and middles
    EXPECT_DOUBLE_EQ(DiamantSurBande(1, W / 2, -W, W), 0);
    EXPECT_DOUBLE_EQ(DiamantSurBande(3, -W / 2, 0, W), 4);
    EXPECT_DOUBLE_EQ(DiamantSurBande(1, W / 2, W, W), 8);
    EXPECT_DOUBLE_EQ(DiamantSurBande(2, -W / 2, W, W), 0);
    EXPECT_DOUBLE_EQ(DiamantSurBande(4, W / 4, -W, W), 3);
    for (int bande = 1; bande <= 4; ++bande)
        for (double d = 0; d <= (BandeLongue(bande) ? 8 : 4); d += 0.25) {
            const double c = CoordonneeDiamant(bande, d, W);
            const double x = BandeLongue(bande) ? 0 : c, y = BandeLongue(bande) ? c : 0;
            EXPECT_NEAR(DiamantSurBande(bande, x, y, W), d, 1e-12) << bande;
        }
    EXPECT_EQ(TexteContactBande(1, 2.04, ','), "longue droite 2,0");
}

TEST(Diamants, ABallCrossingALongRailAtTheSecondDiamondReadsTwo) {
    // ball 1 sent square into the longue droite level with its second diamond (y = −W/2)
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(0, -W / 2, 0), Vecteur(-40, 60, 0), Vecteur(-20, 100, 0));
    s->VitesseQueue = 150;
    s->AngleOx = 0;
    s->Joue();
    const std::vector<TContactBande> c = ContactsBandes(*s);
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c[0].Bille, 1);
    EXPECT_EQ(c[0].Bande, 1);
    EXPECT_NEAR(c[0].Diamant, 2.0, 0.05);
    EXPECT_GT(c[0].t, 0);
    // and back across the table to the longue gauche, level with the same diamond
    EXPECT_EQ(c[1].Bande, 3);
    EXPECT_NEAR(c[1].Diamant, 2.0, 0.05);
    EXPECT_GT(c[1].t, c[0].t);
    EXPECT_EQ(TexteParcours(c, 1, ',').rfind("longue droite 2,0 → longue gauche 2,0", 0), 0u);
}

TEST(Diamants, OtherBallsCushionsAreFoundOnlyWhenAsked) {
    // ball 1 drives ball 2 full into the courte du haut, three quarters of the way across
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(W / 4, 80, 0), Vecteur(W / 4, 100, 0), Vecteur(-40, -100, 0));
    s->VitesseQueue = 120;
    s->AngleOx = M_PI / 2;
    s->Joue();
    const std::vector<TContactBande> bille1 = ContactsBandes(*s);
    const std::vector<TContactBande> toutes = ContactsBandes(*s, true);
    ASSERT_FALSE(toutes.empty());
    const TContactBande& b2 = toutes.front();
    EXPECT_EQ(b2.Bille, 2);
    EXPECT_EQ(b2.Bande, 2);
    EXPECT_NEAR(b2.Diamant, 3.0, 0.05);
    EXPECT_EQ(s->TypesChocs[b2.Photo], tcBilleBande);
    // ball 1's own contacts are the same whether or not the others are asked for
    size_t n1 = 0;
    for (const TContactBande& c : toutes)
        if (c.Bille == 1) {
            ASSERT_LT(n1, bille1.size());
            EXPECT_EQ(c.Photo, bille1[n1++].Photo);
        }
    EXPECT_EQ(n1, bille1.size());
    EXPECT_GE(PhotosContactsBilles(*s).size(), 1u);
}
