// Qt's own dialogs speak French like the rest of the program.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include "app/Demarrage.h"

TEST(TraductionsQt, StandardButtonsAndFileDialogsSpeakFrench) {
    ASSERT_TRUE(ChargeTraductionsQt()) << "Qt's translations missing (qt6-translations-l10n)";
    // a second call changes nothing
    EXPECT_TRUE(ChargeTraductionsQt());
    QDialogButtonBox boutons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    EXPECT_EQ(boutons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(boutons.button(QDialogButtonBox::Open)->text(), QStringLiteral("Ouvrir"));
    // Qt's own file dialog, as the program opens it
    QFileDialog dialogue;
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    QStringList textes;
    for (const QLabel* l : dialogue.findChildren<QLabel*>()) textes << l->text();
    EXPECT_FALSE(textes.contains(QStringLiteral("Look in:"))) << textes.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(textes.join(QLatin1Char('|')).contains(QStringLiteral("Voir dans")))
        << textes.join(QLatin1Char('|')).toStdString();
}
