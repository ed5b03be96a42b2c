// The speed scale: ten levels rising with the cue speed, each band with its word.
#include <gtest/gtest.h>

#include "jeu/EchelleVitesse.h"

TEST(EchelleVitesse, LevelsRiseFromOneToTenAtTheirBreakpointsWithTheirWords) {
    EXPECT_EQ(NiveauVitesse(0), 1);
    EXPECT_EQ(NiveauVitesse(79.9), 1);
    EXPECT_EQ(NiveauVitesse(80), 2);
    EXPECT_EQ(NiveauVitesse(430), 8);
    EXPECT_EQ(NiveauVitesse(560), 10);
    EXPECT_EQ(NiveauVitesse(5000), 10);
    int avant = 0;
    for (double v = 0; v < 700; v += 5) {
        EXPECT_GE(NiveauVitesse(v), avant);
        avant = NiveauVitesse(v);
    }
    EXPECT_EQ(TexteVitesse(100), "2/10 (douce)");
    EXPECT_EQ(TexteVitesse(300), "6/10 (moyenne)");
    EXPECT_EQ(TexteVitesse(350), "7/10 (forte)");
    EXPECT_EQ(TexteVitesse(600), "10/10 (très forte)");
}
