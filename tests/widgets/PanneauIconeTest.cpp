#include <gtest/gtest.h>

#include <QImage>

#include "widgets/IconesBilles.h"
#include "widgets/PanneauIcone.h"

TEST(IconesBilles, EachBallIsDrawnInItsColourOnATransparentGround) {
    for (int i = 0; i < 3; ++i) {
        const QImage image = IconeBille(i, 16).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        const QColor centre = image.pixelColor(9, 10);
        const QColor attendue = CouleurBille(i);
        EXPECT_NEAR(centre.hueF() < 0 ? 0 : centre.hueF(), attendue.hueF() < 0 ? 0 : attendue.hueF(), 0.05)
            << "ball " << i;
    }
    // sharp on a high-density screen: twice the pixels, the same logical size
    const QPixmap double_ = IconeBille(2, 16, 2.0);
    EXPECT_EQ(double_.size(), QSize(32, 32));
    EXPECT_EQ(double_.deviceIndependentSize(), QSizeF(16, 16));
}

TEST(TPanneauIcone, ShowsTheTextAfterThePicture) {
    TPanneauIcone panneau(IconeBille(1), QString());
    panneau.resize(130, 20);
    panneau.setTexte(QStringLiteral("(12,50 -3,25 3,08)"));
    EXPECT_EQ(panneau.texte(), QStringLiteral("(12,50 -3,25 3,08)"));
    EXPECT_EQ(panneau.toolTip(), panneau.texte());

    // the text column starts after the picture: the space between them stays empty
    const QImage image = panneau.grab().toImage();
    const QColor fond = image.pixelColor(18, 2);
    bool encre = false;
    for (int x = 20; x < 120 && !encre; ++x)
        for (int y = 0; y < 20 && !encre; ++y) encre = image.pixelColor(x, y) != fond;
    EXPECT_TRUE(encre);
    EXPECT_GE(panneau.sizeHint().width(), 130);
}
