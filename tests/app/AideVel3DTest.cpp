#include <gtest/gtest.h>

#include <QFileInfo>
#include <QKeyEvent>

#include "app/AideVel3D.h"
#include "app/Demarrage.h"
#include "tests/app/Fenetres.h"

TEST(AideVel3D, WithoutTheHelpFileEveryRequestNamesTheMissingFile) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    const QString attendu = QStringLiteral("Le fichier d'aide Velmora3D.qhc est manquant");
    EXPECT_EQ(TexteBoiteModale([&] { Controle<QAction>(f, "SommaireChmMnu")->trigger(); }), attendu);
    EXPECT_EQ(TexteBoiteModale([&] { Controle<QAction>(f, "IndexChmMnu")->trigger(); }), attendu);
    EXPECT_EQ(TexteBoiteModale([&] { Controle<QAction>(f, "Raccourcisclavier1")->trigger(); }), attendu);
    EXPECT_EQ(TexteBoiteModale([&] { f.AfficheAide(1450); }), attendu);
}

TEST(AideVel3D, ContextNumbersOpenTheirPage) {
    // the help as the build makes it, next to the program
    const QString collection = CheminAide(QStringLiteral(VELMORA_APP_DIR));
    if (!QFileInfo(collection).isFile()) GTEST_SKIP() << "help not built (no qhelpgenerator)";
    TAideVel3D aide(collection);
    ASSERT_TRUE(aide.Valide());
    EXPECT_TRUE(aide.Contexte(1200));
    EXPECT_EQ(aide.PageCourante().fileName(), QStringLiteral("raccourcis.html"));
    EXPECT_TRUE(aide.Contexte(1450));
    EXPECT_EQ(aide.PageCourante().fileName(), QStringLiteral("queue.html"));
    EXPECT_FALSE(aide.Contexte(9999));
    aide.close();
}

TEST(AideVel3D, TheMainWindowShowsTheTopicOfF1) {
    const QString collection = CheminAide(QStringLiteral(VELMORA_APP_DIR));
    if (!QFileInfo(collection).isFile()) GTEST_SKIP() << "help not built (no qhelpgenerator)";
    TFenetres w;
    w.demarrage.FichierAide = collection;
    TMainVel3DFrm& f = w.Cree(false);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    EXPECT_TRUE(TexteBoiteModale([&] { f.FormKeyDown(&f1); }).isEmpty());
    auto* aide = f.findChild<TAideVel3D*>();
    ASSERT_NE(aide, nullptr);
    EXPECT_TRUE(aide->isVisible());
    EXPECT_EQ(aide->PageCourante().fileName(), QStringLiteral("fenetre-principale.html"));
}
