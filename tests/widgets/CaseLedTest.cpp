#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "widgets/CaseLed.h"

namespace {

// the LED's centre: it sits at the left, vertically centred, its box as high as it is wide
QColor CentreLed(TCaseLed& led) {
    const QImage image = led.grab().toImage();
    const int cote = led.minimumSizeHint().width();
    return image.pixelColor(cote / 2 + 1, image.height() / 2 + 1);
}

}  // namespace

TEST(TCaseLed, ClickAndSpaceToggleTheCheckAndNotify) {
    TCaseLed led(QStringLiteral("Joueur"));
    led.resize(led.sizeHint());
    QSignalSpy bascules(&led, &TCaseLed::toggled);
    EXPECT_TRUE(led.isCheckable());
    EXPECT_FALSE(led.isChecked());

    QTest::mouseClick(&led, Qt::LeftButton, Qt::NoModifier, QPoint(5, led.height() / 2));
    EXPECT_TRUE(led.isChecked());
    QTest::keyClick(&led, Qt::Key_Space);
    EXPECT_FALSE(led.isChecked());
    ASSERT_EQ(bascules.count(), 2);
    EXPECT_TRUE(bascules.at(0).at(0).toBool());
    EXPECT_FALSE(bascules.at(1).at(0).toBool());

    // a click on the caption counts as well; a disabled box does not move
    QTest::mouseClick(&led, Qt::LeftButton, Qt::NoModifier, QPoint(led.width() - 4, led.height() / 2));
    EXPECT_TRUE(led.isChecked());
    led.setEnabled(false);
    QTest::mouseClick(&led, Qt::LeftButton, Qt::NoModifier, QPoint(5, led.height() / 2));
    EXPECT_TRUE(led.isChecked());
}

TEST(TCaseLed, LitLedShowsItsColour_UnlitLedIsDark) {
    TCaseLed led(QStringLiteral("Rge"));
    led.setCouleur(QColor(230, 30, 30));
    led.resize(led.sizeHint());
    const QColor eteinte = CentreLed(led);
    led.setChecked(true);
    const QColor allumee = CentreLed(led);
    EXPECT_GT(allumee.red(), 180);
    EXPECT_GT(allumee.red(), allumee.green() + 80);
    EXPECT_GT(allumee.lightness(), eteinte.lightness() + 40);

    // an invalid colour is refused
    led.setCouleur(QColor());
    EXPECT_EQ(led.couleur(), QColor(230, 30, 30));
}

TEST(TCaseLed, SizeFollowsTheCaption) {
    TCaseLed court(QStringLiteral("Rge"));
    TCaseLed long_(QStringLiteral("mémorisation de la bille non joueur"));
    EXPECT_GT(long_.sizeHint().width(), court.sizeHint().width());
    EXPECT_EQ(long_.sizeHint().height(), court.sizeHint().height());
    EXPECT_GE(court.sizeHint().height(), court.fontMetrics().height());
}
