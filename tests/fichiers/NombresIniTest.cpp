#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "fichiers/NombresIni.h"

TEST(NombresIni, WritesShortestGeneralFormWithFifteenDigits) {
    EXPECT_EQ(FormatReel(142.25), "142.25");
    EXPECT_EQ(FormatReel(0.015), "0.015");
    EXPECT_EQ(FormatReel(981), "981");
    EXPECT_EQ(FormatReel(double(0.1f)), "0.100000001490116");
    EXPECT_EQ(FormatReel(-3.075), "-3.075");
    EXPECT_EQ(FormatReel(0.0), "0");
    EXPECT_EQ(FormatReel(-0.0), "0");
    EXPECT_EQ(FormatReel(1e-5), "0.00001");
    EXPECT_EQ(FormatReel(1.5e-7), "1.5E-7");
    EXPECT_EQ(FormatReel(1e15), "1E15");
    EXPECT_EQ(FormatReel(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatReel(1.0 / 3.0), "0.333333333333333");
}

TEST(NombresIni, ReadsOnlyFiniteNumbersWithDot) {
    EXPECT_EQ(LitReelTexte(" 2.5 "), 2.5);
    EXPECT_EQ(LitReelTexte("1E-6"), 1e-6);
    EXPECT_EQ(LitReelTexte("+3"), 3.0);
    EXPECT_FALSE(LitReelTexte("2,5"));
    EXPECT_FALSE(LitReelTexte("nan"));
    EXPECT_FALSE(LitReelTexte("-inf"));
    EXPECT_FALSE(LitReelTexte("1e999"));
    EXPECT_FALSE(LitReelTexte(""));
    EXPECT_FALSE(LitReelTexte("12abc"));
    EXPECT_EQ(LitEntierTexte("$FF"), 255);
    EXPECT_EQ(LitEntierTexte("-12"), -12);
    EXPECT_FALSE(LitEntierTexte("99999999999999999999"));
}

TEST(NombresIni, FormatDoesNotDependOnTheProcessLocale) {
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale installed";
    EXPECT_EQ(FormatReel(142.25), "142.25");
    EXPECT_EQ(LitReelTexte("142.25"), 142.25);
    std::setlocale(LC_ALL, "C");
}

TEST(NombresIni, RoundTripsEveryValueToFifteenDigits) {
    for (double v : {142.25, 3.075, 0.006, 1.0 / 7.0, 4.2315e-3, 6.02e23, -1e-9}) {
        const double relu = *LitReelTexte(FormatReel(v));
        EXPECT_EQ(FormatReel(relu), FormatReel(v));
        EXPECT_NEAR(relu, v, std::abs(v) * 1e-14);
    }
}
