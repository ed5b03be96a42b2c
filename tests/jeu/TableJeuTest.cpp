#include <gtest/gtest.h>

#include <cmath>

#include "jeu/TableJeu.h"

namespace {
float Distance(const TCentreBille& a, const TCentreBille& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}
}  // namespace

TEST(TableJeu, BoundsAndDiameterOfTheMatchTable) {
    const TTableJeu t;
    EXPECT_FLOAT_EQ(t.XMax, 68.05f);
    EXPECT_FLOAT_EQ(t.XMin, -68.05f);
    EXPECT_FLOAT_EQ(t.YMax, 139.175f);
    EXPECT_FLOAT_EQ(t.YMin, -139.175f);
    EXPECT_FLOAT_EQ(t.DiamBille, 6.15f);
    EXPECT_FLOAT_EQ(t.DiamBille2, 37.8225f);
}

TEST(TableJeu, OnlyTheFirstOverlappingBallInTheFixedOrderPushes) {
    const TTableJeu t;
    const TCentreBille jaune{0, 0, 3.075f};
    TCentreBille p{0.5f, 0, 3.075f};
    EXPECT_TRUE(t.Repousse(p, jaune));
    EXPECT_FLOAT_EQ(p.x, 6.15f);
    TCentreBille loin{20, 0, 3};
    EXPECT_FALSE(t.Repousse(loin, jaune));
    TCentreBille dedans{1, 2, 3};
    EXPECT_FALSE(t.Borne(dedans));
    TCentreBille dehors{-100, 200, 3};
    EXPECT_TRUE(t.Borne(dehors));
    EXPECT_EQ(dehors, (TCentreBille{t.XMin, t.YMax, 3}));

    // the white dropped where it overlaps both: the yellow pushes, the red is not tried
    const std::array<TCentreBille, 3> centres{TCentreBille{}, TCentreBille{0, 0, 3}, TCentreBille{4, 0, 3}};
    TCentreBille blanche{2, 1, 3};
    EXPECT_TRUE(t.Contraint(blanche, bjBlanche, centres));
    EXPECT_NEAR(Distance(blanche, centres[bjJaune]), 6.15f, 1e-5f);
    EXPECT_LT(Distance(blanche, centres[bjRouge]), 6.15f);
    // the red: the yellow first as well; the yellow: the white first
    EXPECT_EQ(OrdreRepousse(bjRouge), (std::array<TBilleJeu, 2>{bjJaune, bjBlanche}));
    EXPECT_EQ(OrdreRepousse(bjJaune), (std::array<TBilleJeu, 2>{bjBlanche, bjRouge}));
}

TEST(TableJeu, DroppedOnAnotherBall_TheCentresEndOneDiameterApartOnTheLineOfCentres) {
    const TTableJeu t;
    const TCentreBille rouge{30, 50, 3.075f};
    TCentreBille j{31, 52, 3.075f};
    ASSERT_TRUE(t.Repousse(j, rouge));
    EXPECT_NEAR(Distance(j, rouge), 6.15f, 1e-5f);
    EXPECT_NEAR((j.y - rouge.y) / (j.x - rouge.x), 2, 1e-4f);
    // on the very centre: a fixed direction, still one diameter
    TCentreBille meme = rouge;
    ASSERT_TRUE(t.Repousse(meme, rouge));
    EXPECT_EQ(meme, (TCentreBille{rouge.x + 6.15f, rouge.y, rouge.z}));
}

TEST(TableJeu, LoadPlacesEachBallOffTheOnesPlacedBeforeIt) {
    const TTableJeu t;
    // ball 1 off the table; ball 2 overlaps ball 1 where it is bounded; ball 3 overlaps ball 2
    // where that one was pushed
    const auto places = t.PlaceEnOrdre(
        {TCentreBille{0, 200, 3.075f}, TCentreBille{3, 139.175f, 3.075f}, TCentreBille{6, 136, 3.075f}});
    EXPECT_EQ(places[0], (TCentreBille{0, t.YMax, 3.075f}));
    EXPECT_NEAR(Distance(places[1], places[0]), 6.15f, 1e-5f);
    EXPECT_NEAR(Distance(places[2], places[1]), 6.15f, 1e-5f);
    // the first ball is never moved by the later ones
    const auto seul =
        t.PlaceEnOrdre({TCentreBille{1, 1, 3}, TCentreBille{1.5f, 1, 3}, TCentreBille{50, 50, 3}});
    EXPECT_EQ(seul[0], (TCentreBille{1, 1, 3}));
    EXPECT_EQ(seul[2], (TCentreBille{50, 50, 3}));
}
