#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "app/Apropos.h"

TEST(Apropos, ShowsTheBuildsVersionAndHidesTheLinkWithoutAProjectPage) {
    TAproposFrm apropos;
    EXPECT_EQ(apropos.windowTitle(), QStringLiteral("à propos de ..."));
    EXPECT_EQ(apropos.VersionLbl->text(), QStringLiteral("No version " VELMORA_VERSION_ATTENDUE));
    EXPECT_EQ(apropos.MisesAJourLbl->isVisibleTo(&apropos), !TAproposFrm::AdresseProjet().isEmpty());
    EXPECT_TRUE(apropos.MisesAJourLbl->text().contains(QStringLiteral("mises à jour sur le web")));
}

TEST(Apropos, EscapeClosesIt) {
    TAproposFrm apropos;
    apropos.show();
    QKeyEvent echap(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&apropos, &echap);
    EXPECT_FALSE(apropos.isVisible());
    EXPECT_EQ(apropos.result(), QDialog::Rejected);
}
