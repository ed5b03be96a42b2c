#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "widgets/NombresAffiches.h"

namespace {

const QLocale Francais(QLocale::French, QLocale::France);
const QLocale Anglais(QLocale::English, QLocale::UnitedStates);

}  // namespace

TEST(NombresAffiches, FixedTextUsesTheLocaleSeparatorAndPadsTheDecimals) {
    EXPECT_EQ(TexteFixe(12.5, 5, 2, Francais), QStringLiteral("12,50"));
    EXPECT_EQ(TexteFixe(12.5, 5, 2, Anglais), QStringLiteral("12.50"));
    EXPECT_EQ(TexteFixe(520, 5, 2, Francais), QStringLiteral("520,00"));
    EXPECT_EQ(TexteFixe(0, 5, 2, Francais), QStringLiteral("0,00"));
    EXPECT_EQ(TexteFixe(-0.3, 5, 2, Francais), QStringLiteral("-0,30"));
    // a single float as the cue keeps it
    EXPECT_EQ(TexteFixe(double(0.05f), 5, 2, Francais), QStringLiteral("0,05"));
    EXPECT_EQ(TexteFixe(53.130102, 8, 3, Francais), QStringLiteral("53,130"));
}

TEST(NombresAffiches, FixedTextKeepsNoMoreThanThePrecisionInSignificantDigits) {
    // five significant digits leave one decimal to a four-digit number
    EXPECT_EQ(TexteFixe(1234.567, 5, 2, Francais), QStringLiteral("1234,60"));
    EXPECT_EQ(TexteFixe(12345.678, 5, 2, Francais), QStringLiteral("12346,00"));
    // rounding that reaches the next power of ten
    EXPECT_EQ(TexteFixe(9.99996, 5, 2, Francais), QStringLiteral("10,00"));
    // more integer digits than the precision: exponent form
    EXPECT_EQ(TexteFixe(123456.0, 5, 2, Francais), QStringLiteral("1,2346E+05"));
    EXPECT_EQ(TexteFixe(99999.7, 5, 2, Francais), QStringLiteral("1,0000E+05"));
}

TEST(NombresAffiches, FixedTextNeverShowsMinusZeroAndNamesNonFiniteValues) {
    EXPECT_EQ(TexteFixe(-0.001, 5, 2, Francais), QStringLiteral("0,00"));
    EXPECT_EQ(TexteFixe(-0.0, 8, 3, Francais), QStringLiteral("0,000"));
    EXPECT_EQ(TexteFixe(std::numeric_limits<double>::quiet_NaN(), 5, 2), QStringLiteral("NAN"));
    EXPECT_EQ(TexteFixe(-std::numeric_limits<double>::infinity(), 5, 2), QStringLiteral("-INF"));
}

TEST(NombresAffiches, TypedNumbersTakeDotOrCommaAsTheSeparator) {
    EXPECT_EQ(LitNombreSaisi(QStringLiteral("12,5"), Francais), 12.5);
    EXPECT_EQ(LitNombreSaisi(QStringLiteral("12.5"), Francais), 12.5);
    EXPECT_EQ(LitNombreSaisi(QStringLiteral(" -3 "), Francais), -3.0);
    EXPECT_EQ(LitNombreSaisi(QStringLiteral("12,5"), Anglais), 12.5);
    EXPECT_EQ(LitNombreSaisi(QStringLiteral("0.25"), Anglais), 0.25);
}

TEST(NombresAffiches, TextsThatAreNotNumbersAreRefused) {
    for (const char* texte : {"", " ", "-", ",", "1,2,3", "1.2.3", "abc", "12a", "1 000", "inf", "nan"})
        EXPECT_FALSE(LitNombreSaisi(QString::fromLatin1(texte), Francais).has_value()) << texte;
    EXPECT_TRUE(MessageNombreInvalide(QStringLiteral("-")).contains(QStringLiteral("« - »")));
}

TEST(NombresAffiches, SingleFloatsRefuseWhatTheyCannotHold) {
    QString message;
    EXPECT_EQ(LitSimpleSaisi(QStringLiteral("0,1"), &message, Francais), 0.1f);
    EXPECT_FALSE(LitSimpleSaisi(QStringLiteral("1e39"), &message, Francais).has_value());
    EXPECT_EQ(message, QStringLiteral("« 1e39 » est trop grand."));
    EXPECT_FALSE(LitSimpleSaisi(QStringLiteral("-"), &message, Francais).has_value());
    EXPECT_EQ(message, MessageNombreInvalide(QStringLiteral("-")));
}

TEST(NombresAffiches, TheSeparatorIsOneCharacter) {
    EXPECT_EQ(SeparateurDecimal(Francais), ',');
    EXPECT_EQ(SeparateurDecimal(Anglais), '.');
}

TEST(NombresAffiches, FixedTextIgnoresTheCLocaleTheApplicationTookFromTheEnvironment) {
    // QApplication sets the C library's locale from LC_ALL/LANG: under a French one printf writes ","
    const std::string avant = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale installed";
    const QString anglais = TexteFixe(12.5, 5, 2, Anglais), exposant = TexteFixe(123456.0, 5, 2, Anglais);
    const QString moinsZero = TexteFixe(-0.001, 5, 2, Francais);
    std::setlocale(LC_ALL, avant.c_str());
    EXPECT_EQ(anglais, QStringLiteral("12.50"));
    EXPECT_EQ(exposant, QStringLiteral("1.2346E+05"));
    EXPECT_EQ(moinsZero, QStringLiteral("0,00"));
}
