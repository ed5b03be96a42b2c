#include <gtest/gtest.h>

#include "jeu/PartieCarambole.h"

namespace {

TPositionBilles Billes(float decalage) {
    return {TCentreBille{decalage, -70, 3.075f}, TCentreBille{0, -71, 3.075f}, TCentreBille{0, 71, 3.075f}};
}

TReglesPartie Regles(int distance, int limite = 0) {
    TReglesPartie r;
    r.Joueurs = {"Anne", "Bruno"};
    r.Distance = distance;
    r.LimiteReprises = limite;
    return r;
}

// plays a list of outcomes ('x' point, '.' miss), each shot moving the white a little
void Joue(TPartieCarambole& p, const std::string& coups) {
    for (char c : coups) ASSERT_TRUE(p.Joue(c == 'x', Billes(float(p.Coups().size() + 1))));
}

}  // namespace

TEST(PartieCarambole, APointKeepsTheTurnAndAMissPassesItToTheOtherBall) {
    TPartieCarambole p(Regles(10), Billes(0));
    EXPECT_EQ(p.Joueur(), 0);
    EXPECT_EQ(p.BilleJoueur(), bjBlanche);
    Joue(p, "x");
    EXPECT_EQ(p.BilleJoueur(), bjBlanche);
    Joue(p, ".");
    EXPECT_EQ(p.Joueur(), 1);
    EXPECT_EQ(p.BilleJoueur(), bjJaune);
    Joue(p, "xx.");
    EXPECT_EQ(p.BilleJoueur(), bjBlanche);
    // play goes on from where the balls came to rest
    EXPECT_EQ(p.Positions(), Billes(5));
    EXPECT_EQ(p.Coups().back().Avant, Billes(4));
}

TEST(PartieCarambole, InningsSeriesAndGeneralAverageFollowCaromScoring) {
    TPartieCarambole p(Regles(50), Billes(0));
    // A: 3 then miss; B: miss; A: 1 then miss; B: 4 then miss; A: at the table, one point so far
    Joue(p,
         "xxx."
         ".");
    Joue(p,
         "x."
         "xxxx."
         "x");
    const TScoreJoueur& a = p.Score(0);
    const TScoreJoueur& b = p.Score(1);
    EXPECT_EQ(a.Points, 5);
    EXPECT_EQ(a.Reprises, 3);  // the inning in progress counts
    EXPECT_EQ(a.Serie, 1);
    EXPECT_EQ(a.MeilleureSerie, 3);
    EXPECT_DOUBLE_EQ(a.Moyenne(), 5.0 / 3.0);
    EXPECT_EQ(b.Points, 4);
    EXPECT_EQ(b.Reprises, 2);
    EXPECT_EQ(b.Serie, 0);
    EXPECT_EQ(b.MeilleureSerie, 4);
    EXPECT_DOUBLE_EQ(b.Moyenne(), 2.0);
    EXPECT_EQ(p.PointsParReprise(0), (std::vector<int>{3, 1, 1}));
    EXPECT_EQ(p.PointsParReprise(1), (std::vector<int>{0, 4}));
    // before any shot the average is 0, not a division by zero
    EXPECT_DOUBLE_EQ(TPartieCarambole(Regles(5), Billes(0)).Score(1).Moyenne(), 0.0);
}

TEST(PartieCarambole, TheSecondPlayerAtTheDistanceEndsTheMatchAtOnce) {
    TPartieCarambole p(Regles(2), Billes(0));
    Joue(p,
         "."
         "xx");
    EXPECT_TRUE(p.Finie());
    EXPECT_EQ(p.Fin(), TFinPartie::Distance);
    EXPECT_EQ(p.Gagnant(), 1);
    // nothing is recorded once the match is over
    EXPECT_FALSE(p.Joue(true, Billes(9)));
    EXPECT_EQ(p.Coups().size(), 3u);
}

TEST(PartieCarambole, TheStartingPlayerAtTheDistanceLeavesTheOtherOneInningToDrawLevel) {
    TPartieCarambole gagne(Regles(2), Billes(0));
    Joue(gagne,
         "x."
         "x."
         "x");
    EXPECT_FALSE(gagne.Finie());
    EXPECT_TRUE(gagne.RepriseEgalisation());
    EXPECT_EQ(gagne.Joueur(), 1);
    Joue(gagne, ".");
    EXPECT_EQ(gagne.Fin(), TFinPartie::Distance);
    EXPECT_EQ(gagne.Gagnant(), 0);

    TPartieCarambole nul(Regles(2), Billes(0));
    Joue(nul,
         "xx"
         "xx");
    EXPECT_TRUE(nul.Finie());
    EXPECT_EQ(nul.Gagnant(), -1);
    EXPECT_EQ(nul.Score(0).Reprises, nul.Score(1).Reprises);

    TReglesPartie sans = Regles(2);
    sans.Egalisation = false;
    TPartieCarambole sec(sans, Billes(0));
    Joue(sec, "xx");
    EXPECT_TRUE(sec.Finie());
    EXPECT_EQ(sec.Gagnant(), 0);
}

TEST(PartieCarambole, TheInningsLimitEndsTheMatchOnceBothPlayedIt) {
    TPartieCarambole p(Regles(30, 2), Billes(0));
    Joue(p,
         "xx."
         "."
         "x.");
    EXPECT_FALSE(p.Finie());  // the second player still has his second inning
    Joue(p, "xxxx.");
    EXPECT_EQ(p.Fin(), TFinPartie::LimiteReprises);
    EXPECT_EQ(p.Score(0).Reprises, 2);
    EXPECT_EQ(p.Score(1).Reprises, 2);
    EXPECT_EQ(p.Gagnant(), 1);
}

TEST(PartieCarambole, UndoRestoresTheScoreTheTurnAndTheBalls) {
    TPartieCarambole p(Regles(3), Billes(0));
    Joue(p, "xx.");
    ASSERT_EQ(p.Joueur(), 1);
    ASSERT_TRUE(p.Annule());  // the miss taken back: A is at the table again, series of 2
    EXPECT_EQ(p.Joueur(), 0);
    EXPECT_EQ(p.Score(0).Serie, 2);
    EXPECT_EQ(p.Positions(), Billes(2));
    Joue(p, "x");  // the distance, and the other's equalising inning
    ASSERT_TRUE(p.RepriseEgalisation());
    ASSERT_TRUE(p.Annule());
    EXPECT_FALSE(p.RepriseEgalisation());
    EXPECT_EQ(p.Score(0).Points, 2);
    // back to the start, then nothing left to take back
    ASSERT_TRUE(p.Annule());
    ASSERT_TRUE(p.Annule());
    EXPECT_EQ(p.Positions(), Billes(0));
    EXPECT_EQ(p.Score(0).Reprises, 0);
    EXPECT_FALSE(p.Annule());
}

TEST(PartieCarambole, AResumedMatchHasTheScoreItHadAndRefusesShotsOutOfTurn) {
    TPartieCarambole p(Regles(20, 10), Billes(0));
    Joue(p,
         "xx."
         "x."
         "xxx.x");
    TPartieCarambole reprise(p.Regles(), p.Depart());
    ASSERT_TRUE(reprise.Reprend(p.Coups()));
    EXPECT_EQ(reprise.Joueur(), p.Joueur());
    EXPECT_EQ(reprise.Score(0).Points, p.Score(0).Points);
    EXPECT_EQ(reprise.Score(1).MeilleureSerie, p.Score(1).MeilleureSerie);
    EXPECT_EQ(reprise.PointsParReprise(0), p.PointsParReprise(0));

    // a shot given to the wrong player: refused, the match stays as it was
    std::vector<TCoupPartie> faux = p.Coups();
    faux[3].Joueur = 0;
    EXPECT_FALSE(reprise.Reprend(faux));
    EXPECT_EQ(reprise.Coups().size(), p.Coups().size());
    EXPECT_EQ(reprise.Score(0).Points, p.Score(0).Points);
}

TEST(PartieCarambole, RulesAreBroughtIntoRange) {
    TReglesPartie r;
    r.Distance = 0;
    r.LimiteReprises = -3;
    const TPartieCarambole p(r, Billes(0));
    EXPECT_EQ(p.Regles().Distance, 1);
    EXPECT_EQ(p.Regles().LimiteReprises, 0);
}
