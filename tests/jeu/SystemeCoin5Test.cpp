// The corner-five system: its formula on textbook cases, its numbers on the lines of the
// diamonds for the four ways round the table, and its prediction beside a computed shot.
#include <gtest/gtest.h>

#include <cmath>

#include "jeu/Diamants.h"
#include "jeu/SystemeCoin5.h"
#include "tests/sim/OutilsSimu.h"

namespace {

constexpr double W = 142.25;
const TOrientationSysteme kOrientations[] = {{1, 2}, {1, 4}, {3, 2}, {3, 4}};

}  // namespace

TEST(SystemeCoin5, TextbookCasesGiveTheirArrivalAndTheirLineGivesBackTheirNumbers) {
    // from the corner 5 through the first cushion's 2 to 3; from 4,5 through 2 to 2,5; from the
    // short cushion's 7 through 3 to 4
    struct {
        double depart, premiere, arrivee;
    } const cas[] = {{5, 2, 3}, {4.5, 2, 2.5}, {7, 3, 4}};
    for (const auto& c : cas) {
        EXPECT_DOUBLE_EQ(ArriveeSysteme(c.depart, c.premiere), c.arrivee);
        for (const TOrientationSysteme& o : kOrientations) {
            TViseeSysteme v;
            ASSERT_TRUE(ViseeSysteme(c.depart, c.arrivee, o, W, v));
            EXPECT_DOUBLE_EQ(v.Premiere, c.premiere);
            // any point of that line, heading for the first cushion, reads the same numbers
            const double ux = v.Vers.x - v.Depart.x, uy = v.Vers.y - v.Depart.y;
            const TPointTable milieu{v.Depart.x + 0.4 * ux, v.Depart.y + 0.4 * uy};
            double depart = 0, premiere = 0;
            ASSERT_TRUE(NumerosLigne(milieu, ux, uy, o, W, depart, premiere)) << o.PremiereBande << o.Courte;
            EXPECT_NEAR(depart, c.depart, 1e-9) << o.PremiereBande << o.Courte;
            EXPECT_NEAR(premiere, c.premiere, 1e-9);
            // the aim is the direction of that line
            EXPECT_NEAR(v.Visee, std::atan2(uy, ux) * 180 / M_PI, 1e-9);
        }
    }
}

TEST(SystemeCoin5, NumbersLieOnTheDiamondLinesFromTheFarCorner) {
    const TOrientationSysteme o{1, 2};
    const double X = W / 2 + RetraitDiamants, Y = W + RetraitDiamants;
    // the start numbers run along the third cushion (x = −X) from 1 at the far corner to 5 at the
    // near one, then along the near short cushion
    EXPECT_DOUBLE_EQ(PointDepart(1, o, W).x, -X);
    EXPECT_DOUBLE_EQ(PointDepart(1, o, W).y, W);
    EXPECT_DOUBLE_EQ(PointDepart(5, o, W).y, -W);
    EXPECT_DOUBLE_EQ(PointDepart(3, o, W).y, 0);
    EXPECT_DOUBLE_EQ(PointDepart(6, o, W).x, -W / 4);
    EXPECT_DOUBLE_EQ(PointDepart(6, o, W).y, -Y);
    // first and third cushions: diamonds from the far corner
    EXPECT_DOUBLE_EQ(PointPremiere(0, o, W).x, X);
    EXPECT_DOUBLE_EQ(PointPremiere(0, o, W).y, W);
    EXPECT_DOUBLE_EQ(PointPremiere(2, o, W).y, W / 2);
    EXPECT_DOUBLE_EQ(PointArrivee(3, o, W).x, -X);
    EXPECT_DOUBLE_EQ(PointArrivee(3, o, W).y, W / 4);
    // the other way round the table is the mirror image
    const TOrientationSysteme miroir{3, 4};
    EXPECT_DOUBLE_EQ(PointDepart(6, miroir, W).x, W / 4);
    EXPECT_DOUBLE_EQ(PointDepart(6, miroir, W).y, Y);
    EXPECT_DOUBLE_EQ(PointPremiere(2, miroir, W).y, -W / 2);
}

TEST(SystemeCoin5, AnArrivalTheFirstCushionCannotGiveIsRefusedWithItsReason) {
    TViseeSysteme v;
    std::string erreur;
    EXPECT_FALSE(ViseeSysteme(3, 6, {1, 2}, W, v, &erreur));
    EXPECT_NE(erreur.find("première bande"), std::string::npos) << erreur;
    EXPECT_FALSE(ViseeSysteme(0.5, 0, {1, 2}, W, v, &erreur));
    EXPECT_NE(erreur.find("départ"), std::string::npos) << erreur;
    EXPECT_FALSE(ViseeSysteme(5, 9, {1, 2}, W, v, &erreur));
    EXPECT_FALSE(ViseeSysteme(std::nan(""), 2, {1, 2}, W, v, &erreur));
}

TEST(SystemeCoin5, AShotPlayedOnTheSystemsLineIsComparedWithItsPrediction) {
    const TOrientationSysteme o{1, 2};
    TViseeSysteme v;
    ASSERT_TRUE(ViseeSysteme(5, 3, o, W, v));
    auto s = NouvelleSimu();
    const double ux = v.Vers.x - v.Depart.x, uy = v.Vers.y - v.Depart.y;
    PlaceBilles(*s, Vecteur(v.Depart.x + 0.3 * ux, v.Depart.y + 0.3 * uy, 0), Vecteur(W / 2 - 10, -W + 10, 0),
                Vecteur(0, -W + 10, 0));
    s->VitesseQueue = 330;
    s->Effet = 0.6;  // running side, as the system assumes
    s->AngleOx = v.Visee * M_PI / 180;
    s->Joue();
    const TComparaisonSysteme c = CompareAuSysteme(*s);
    ASSERT_TRUE(c.Applicable);
    EXPECT_EQ(c.Orientation.PremiereBande, 1);
    EXPECT_EQ(c.Orientation.Courte, 2);
    EXPECT_NEAR(c.Depart, 5, 0.05);
    EXPECT_NEAR(c.Premiere, 2, 0.05);
    EXPECT_NEAR(c.Predite, 3, 0.1);
    // the physics arrives near what the system says: a numbering from the wrong corner would be
    // several diamonds off
    EXPECT_LT(std::fabs(c.Ecart()), 1.5) << c.Simulee;
    EXPECT_EQ(TexteComparaison(c, ',').rfind("départ 5,0 − première 2,0 = arrivée 3,0 ; bille à ", 0), 0u)
        << TexteComparaison(c, ',');
}

TEST(SystemeCoin5, AShotThatDoesNotGoLongShortLongIsNotCompared) {
    // square across the table: long, long
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(0, -W / 2, 0), Vecteur(-40, 60, 0), Vecteur(-20, 100, 0));
    s->VitesseQueue = 150;
    s->Joue();
    EXPECT_FALSE(CompareAuSysteme(*s).Applicable);
    EXPECT_EQ(TexteComparaison(CompareAuSysteme(*s)), "le système ne s'applique pas à ce coup");
}
