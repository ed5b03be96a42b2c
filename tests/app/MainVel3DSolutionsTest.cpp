// The solutions window in the program: its item of the "&Outils" menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tests/app/Fenetres.h"

TEST(SolutionsFrm, MenuItemWithItsShortcutShowsAndHidesTheWindow) {
    TFenetres w;
    w.Cree();
    QAction* item = Controle<QAction>(w.F(), "SolutionsMnu");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Solutions"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_TRUE(Controle<QMenu>(w.F(), "FenetresMnu")->actions().contains(item));
    EXPECT_FALSE(w.F().SolutionsFrm->isVisible());
    item->trigger();
    EXPECT_TRUE(w.F().SolutionsFrm->isVisible());
    EXPECT_EQ(w.F().SolutionsFrm->ContexteAide(), 1470);
    w.F().SolutionsFrm->close();
    EXPECT_FALSE(item->isChecked());
}
