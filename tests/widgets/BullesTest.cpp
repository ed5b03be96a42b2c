#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>

#include "widgets/Bulles.h"

TEST(Bulles, SplitsShortAndLongPartsAtTheFirstBar) {
    const QString feu = QStringLiteral("PAN !|joue le coup, raccourci clavier : [ESPACE]");
    EXPECT_EQ(BulleCourte(feu), QStringLiteral("PAN !"));
    EXPECT_EQ(BulleLongue(feu), QStringLiteral("joue le coup, raccourci clavier : [ESPACE]"));
    // only the first bar separates
    EXPECT_EQ(BulleLongue(QStringLiteral("a|b|c")), QStringLiteral("b|c"));
    // a hint without a bar is both parts
    EXPECT_EQ(BulleCourte(QStringLiteral("Roue")), QStringLiteral("Roue"));
    EXPECT_EQ(BulleLongue(QStringLiteral("Roue")), QStringLiteral("Roue"));
}

TEST(Bulles, HintWithOnlyALongPartShowsNoTooltip) {
    QWidget controle;
    PoseBulle(&controle, QStringLiteral("|ratio zoom sur dessin vecteurs V,R"));
    EXPECT_TRUE(controle.toolTip().isEmpty());
    EXPECT_EQ(controle.statusTip(), QStringLiteral("ratio zoom sur dessin vecteurs V,R"));

    QAction action(QStringLiteral("Sommaire"));
    PoseBulle(&action, QStringLiteral("ouvrir|ouvrir un fichier de lancé manuel"));
    EXPECT_EQ(action.toolTip(), QStringLiteral("ouvrir"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("ouvrir un fichier de lancé manuel"));
    PoseBulle(static_cast<QWidget*>(nullptr), QStringLiteral("x"));
}
