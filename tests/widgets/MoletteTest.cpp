#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "Evenements.h"
#include "widgets/Molette.h"

namespace {

// the cue speed dial: aperture 300, step 50, small step 10, marks 15 and 8 px, 5 per wheel notch
struct DialVitesse : testing::Test {
    TMolette dial;
    void SetUp() override {
        dial.setEchelle(0, 50, 10, 300);
        dial.setHauteurGrandeMarque(15);
        dial.setHauteurPetiteMarque(8);
        dial.setPasMolette(5);
        dial.resize(122, 34);
        dial.setValeur(100);
    }
};

}  // namespace

TEST_F(DialVitesse, FullWidthDragLeftAddsOneAperture_OrAFiftiethFromTheTopStrip) {
    // a press in the top 8 px: 122 px to the left is worth 300 / 50
    Presse(&dial, {100, 3});
    Bouge(&dial, {-22, 3});
    Lache(&dial, {-22, 3});
    EXPECT_NEAR(dial.valeur(), 106.0, 1e-9);

    // the same drag started lower on the dial is worth the whole aperture
    Presse(&dial, {100, 20});
    Bouge(&dial, {-22, 20});
    Lache(&dial, {-22, 20});
    EXPECT_NEAR(dial.valeur(), 406.0, 1e-9);

    // to the right the value goes down
    Presse(&dial, {0, 20});
    Bouge(&dial, {61, 20});
    EXPECT_NEAR(dial.valeur(), 256.0, 1e-9);
}

TEST_F(DialVitesse, TopStripEndsStrictlyAboveTheSmallMarkHeight) {
    EXPECT_DOUBLE_EQ(dial.ratioGlisse(7), 300.0 / (122 * 50));
    EXPECT_DOUBLE_EQ(dial.ratioGlisse(8), 300.0 / 122);
    dial.setHauteurPetiteMarque(7);
    EXPECT_DOUBLE_EQ(dial.ratioGlisse(6), 300.0 / (122 * 50));
    EXPECT_DOUBLE_EQ(dial.ratioGlisse(7), 300.0 / 122);
}

TEST_F(DialVitesse, DragFollowsThePressNotThePreviousMove) {
    QSignalSpy demandes(&dial, &TMolette::valeurDemandee);
    Presse(&dial, {60, 20});
    for (int x = 59; x >= 40; --x) Bouge(&dial, {x, 20});
    // moving up and down at the same x asks for nothing new
    Bouge(&dial, {40, 25});
    Bouge(&dial, {40, 2});
    EXPECT_NEAR(dial.valeur(), 100.0 + 20 * 300.0 / 122, 1e-9);
    EXPECT_EQ(demandes.count(), 20);

    // without the left button down nothing happens
    Lache(&dial, {40, 20});
    Bouge(&dial, {0, 20}, Qt::NoButton);
    Presse(&dial, {60, 20}, Qt::RightButton);
    Bouge(&dial, {0, 20}, Qt::RightButton);
    EXPECT_EQ(demandes.count(), 20);
}

TEST_F(DialVitesse, SetValueNotifiesChangesOnly_UserActionsAlsoAskForTheValue) {
    QSignalSpy changes(&dial, &TMolette::valeurChangee);
    QSignalSpy demandes(&dial, &TMolette::valeurDemandee);
    dial.setValeur(120);
    dial.setValeur(120);
    dial.setValeur(std::nan(""));
    dial.setValeur(INFINITY);
    EXPECT_EQ(dial.valeur(), 120.0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(demandes.count(), 0);

    Presse(&dial, {61, 20});
    Bouge(&dial, {0, 20});
    ASSERT_EQ(demandes.count(), 1);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_DOUBLE_EQ(demandes.at(0).at(0).toDouble(), dial.valeur());
}

TEST_F(DialVitesse, ServoDialWaitsForItsOwnerWhoMayClampTheValue) {
    // the owner keeps the value: it floors it at 1, like the cue mass
    dial.setAsservie(true);
    QObject::connect(&dial, &TMolette::valeurDemandee, &dial,
                     [this](double v) { dial.setValeur(std::max(1.0, v)); });
    Presse(&dial, {0, 20});
    Bouge(&dial, {61, 20});
    EXPECT_DOUBLE_EQ(dial.valeur(), 1.0);
    // the drag still counts from the value at the press, not from the clamped one
    Bouge(&dial, {10, 20});
    EXPECT_NEAR(dial.valeur(), 100.0 - 10 * 300.0 / 122, 1e-9);

    // an owner that refuses the value leaves the dial where it was
    QObject::disconnect(&dial, &TMolette::valeurDemandee, nullptr, nullptr);
    const double avant = dial.valeur();
    Bouge(&dial, {50, 20});
    Molette(&dial, {60, 20}, 120);
    QTest::keyClick(&dial, Qt::Key_Up);
    EXPECT_EQ(dial.valeur(), avant);
}

TEST_F(DialVitesse, WheelNotchStepsTheValue_ATenthOverTheTopStrip) {
    Molette(&dial, {60, 20}, 120);
    EXPECT_NEAR(dial.valeur(), 105.0, 1e-12);
    Molette(&dial, {60, 20}, -120);
    Molette(&dial, {60, 20}, -120);
    EXPECT_NEAR(dial.valeur(), 95.0, 1e-12);
    // the wheel strip includes the small-mark height itself
    Molette(&dial, {60, 8}, 120);
    EXPECT_NEAR(dial.valeur(), 95.5, 1e-12);
    // a high-resolution wheel sends fractions of a notch
    Molette(&dial, {60, 20}, 60);
    EXPECT_NEAR(dial.valeur(), 98.0, 1e-12);

    // an event without any turn changes nothing
    QSignalSpy demandes(&dial, &TMolette::valeurDemandee);
    Molette(&dial, {60, 20}, 0);
    EXPECT_EQ(demandes.count(), 0);
}

TEST(TMolette, ForwardedWheelOnTheAimDialTurnsByFiveHundredthsOfADegree) {
    TMolette vis;
    vis.setEchelle(0, 10, 2, 60);
    vis.setHauteurPetiteMarque(7);
    vis.setPasMolette(0.05);
    vis.resize(122, 34);
    vis.setValeur(99.14);
    vis.tourneMolette(120, {10, 20});
    EXPECT_NEAR(vis.valeur(), 99.19, 1e-12);
    vis.tourneMolette(-120, {10, 7});
    EXPECT_NEAR(vis.valeur(), 99.185, 1e-12);
}

TEST_F(DialVitesse, KeysStepBySmallStepOrStep_ShiftForATenth) {
    dial.setFocus();
    QTest::keyClick(&dial, Qt::Key_Right);
    QTest::keyClick(&dial, Qt::Key_Up);
    EXPECT_NEAR(dial.valeur(), 120.0, 1e-12);
    QTest::keyClick(&dial, Qt::Key_Left);
    EXPECT_NEAR(dial.valeur(), 110.0, 1e-12);
    QTest::keyClick(&dial, Qt::Key_PageUp);
    EXPECT_NEAR(dial.valeur(), 160.0, 1e-12);
    QTest::keyClick(&dial, Qt::Key_PageDown);
    QTest::keyClick(&dial, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NEAR(dial.valeur(), 109.0, 1e-12);

    // other keys are left to the window
    QSignalSpy demandes(&dial, &TMolette::valeurDemandee);
    QTest::keyClick(&dial, Qt::Key_A);
    EXPECT_EQ(demandes.count(), 0);
}

TEST_F(DialVitesse, NonsenseScalesAreRefusedAndNarrowDialsStillDrag) {
    dial.setOuverture(0);
    dial.setOuverture(-5);
    dial.setPas(std::nan(""));
    dial.setPetitPas(0);
    EXPECT_EQ(dial.ouverture(), 300.0);
    EXPECT_EQ(dial.pas(), 50.0);
    EXPECT_EQ(dial.petitPas(), 10.0);

    dial.resize(0, 34);
    EXPECT_TRUE(std::isfinite(dial.ratioGlisse(20)));
}

TEST(TMolette, PaintsTheMarkerInTheMiddleInItsColour) {
    TMolette roue;
    roue.setEchelle(3, 0.1, 0.02, 0.3);
    roue.setCouleurRepere(Qt::red);
    roue.setValeur(0.05);
    roue.resize(161, 40);
    const QImage image = roue.grab().toImage();
    const QColor milieu = image.pixelColor(image.width() / 2, image.height() / 2);
    EXPECT_GT(milieu.red(), 200);
    EXPECT_LT(milieu.green(), 80);
}

TEST(TMolette, AbsurdlyDenseScalePaintsQuickly) {
    TMolette dial;
    dial.setEchelle(3, 0.01, 0.001, 1e6);
    dial.setValeur(12345.678);
    dial.resize(300, 40);
    QElapsedTimer chrono;
    chrono.start();
    const QImage image = dial.grab().toImage();
    EXPECT_FALSE(image.isNull());
    EXPECT_LT(chrono.elapsed(), 10000);
}
