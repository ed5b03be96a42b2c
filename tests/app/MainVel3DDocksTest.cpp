// The tool windows dock around the table: their layout kept in the settings file, the default
// layout that leaves the whole table in sight on a large and a small screen, and docks that stay
// put while the balls move.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include "app/FenetresOutils.h"
#include "fichiers/FichierIni.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"
#include "tools/DockOutil.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"

namespace {

// the windows created, sized as a maximised window on a screen of that size, then shown
TMainVel3DFrm& CreeALaTaille(TFenetres& w, QSize taille) {
    TMainVel3DFrm& f = w.Cree(false);
    f.resize(taille);
    w.Montre();
    QApplication::processEvents();
    return f;
}

void Declenche(TMainVel3DFrm& f, const char* item) {
    Controle<QAction>(f, item)->trigger();
    QApplication::processEvents();
}

// every outer corner of the table (rails included) inside the view, none under the corner panel
::testing::AssertionResult TableDegagee(TMainVel3DFrm& f) {
    const TVue& vue = f.VueTable;
    const QRect rect = f.RectangleVue();
    if (vue.Largeur() != rect.width() || vue.Hauteur() != rect.height())
        return ::testing::AssertionFailure() << "the picture is not the view's size";
    auto* panneau = Controle<QFrame>(f, "DisplayInfos");
    const QRect surPanneau(Controle<TVueGL>(f, "Scn")->mapFromGlobal(panneau->mapToGlobal(QPoint(0, 0))),
                           panneau->size());
    const TGLBillardVelmora& b = *f.Billard;
    const float x = b.DemiLargeur + b.LargeurBande + b.Cadres[0]->Largeur();
    const float y = b.Largeur + b.LargeurBande + b.Cadres[0]->Largeur();
    for (float z : {0.0f, 5.1f})
        for (float sx : {-1.0f, 1.0f})
            for (float sy : {-1.0f, 1.0f}) {
                float px, py;
                if (!vue.Projette({sx * x, sy * y, z}, px, py))
                    return ::testing::AssertionFailure() << "a corner is behind the camera";
                const QPointF pixel(px, float(rect.height()) - py);
                if (!QRectF(QPointF(0, 0), QSizeF(rect.size())).contains(pixel))
                    return ::testing::AssertionFailure() << "corner out of the view at " << px << ", " << py;
                if (QRectF(surPanneau).contains(pixel))
                    return ::testing::AssertionFailure() << "corner under the panel at " << px << ", " << py;
            }
    // no dock over the view
    for (QDockWidget* d : f.findChildren<QDockWidget*>())
        if (d->isVisible() && !d->isFloating() && d->geometry().intersects(rect))
            return ::testing::AssertionFailure() << d->objectName().toStdString() << " covers the view";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(MainVel3DDocks, TheDefaultLayoutLeavesTheWholeTableAndThePanelInSightOnLargeAndSmallScreens) {
    for (const QSize ecran : {QSize(1600, 1000), QSize(1280, 720)}) {
        TFenetres w;
        TMainVel3DFrm& f = CreeALaTaille(w, ecran);
        // the cue window on the right, Solutions under it, the numeric view under the table
        ASSERT_TRUE(f.QueueFrm->isVisible());
        EXPECT_EQ(f.dockWidgetArea(f.QueueFrm->Dock()), Qt::RightDockWidgetArea);
        Declenche(f, "SolutionsMnu");
        Declenche(f, "VueNumMnu");
        Declenche(f, "DispositionMnu");
        EXPECT_EQ(f.size(), ecran) << "the window does not fit the screen";
        EXPECT_EQ(f.dockWidgetArea(f.SolutionsFrm->Dock()), Qt::RightDockWidgetArea);
        EXPECT_EQ(f.dockWidgetArea(f.VueNumFrm->Dock()), Qt::BottomDockWidgetArea);
        for (bool mobile : {false, true}) {
            if (f.Billard->CamMobileActive != mobile) Declenche(f, "CamFixeMobileMnu");
            EXPECT_TRUE(TableDegagee(f)) << ecran.width() << (mobile ? " mobile" : " plafond");
        }
        // the fire button and the verdict in sight
        for (QWidget* c : {static_cast<QWidget*>(Controle<QToolButton>(f, "FeuBtn")),
                           static_cast<QWidget*>(Controle<QLabel>(f, "IsPointLbl"))}) {
            EXPECT_TRUE(c->isVisible());
            EXPECT_TRUE(f.RectangleVue().contains(QRect(c->mapTo(&f, QPoint(0, 0)), c->size())));
        }
        // nothing cut off: a window larger than its dock scrolls in it
        for (TFenetreOutil* o :
             {static_cast<TFenetreOutil*>(f.QueueFrm), static_cast<TFenetreOutil*>(f.SolutionsFrm),
              static_cast<TFenetreOutil*>(f.VueNumFrm)}) {
            const QSize minimum = o->minimumSizeHint();
            EXPECT_GE(o->width(), minimum.width()) << o->windowTitle().toStdString();
            EXPECT_GE(o->height(), minimum.height()) << o->windowTitle().toStdString();
        }
    }
}

TEST(MainVel3DDocks, TheLayoutComesBackWithAFloatingDockAndAClosedOne) {
    QByteArray reglages;
    QRect flottante;
    {
        TFenetres w;
        TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
        Declenche(f, "SolutionsMnu");
        QDockWidget* solutions = f.SolutionsFrm->Dock();
        solutions->setFloating(true);
        solutions->setGeometry(60, 70, 380, 300);
        QApplication::processEvents();
        flottante = solutions->geometry();
        Declenche(f, "VueParamQueueMnu");
        ASSERT_FALSE(f.QueueFrm->Ouverte());
        f.close();
        QFile ini(w.dossier.filePath(QStringLiteral("Velmora3D.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        reglages = ini.readAll();
    }
    EXPECT_TRUE(reglages.contains("[Disposition]")) << reglages.toStdString();
    TFenetres w;
    w.EcritReglages(reglages);
    TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
    EXPECT_TRUE(f.SolutionsFrm->Dock()->isFloating());
    EXPECT_TRUE(f.SolutionsFrm->isVisible());
    EXPECT_EQ(f.SolutionsFrm->Dock()->geometry(), flottante);
    EXPECT_TRUE(Controle<QAction>(f, "SolutionsMnu")->isChecked());
    EXPECT_FALSE(f.QueueFrm->Ouverte());
    EXPECT_FALSE(Controle<QAction>(f, "VueParamQueueMnu")->isChecked());
    // the default layout puts everything back, the cue window open
    Declenche(f, "DispositionMnu");
    EXPECT_FALSE(f.SolutionsFrm->Dock()->isFloating());
    EXPECT_TRUE(f.QueueFrm->isVisible());
    EXPECT_TRUE(Controle<QAction>(f, "VueParamQueueMnu")->isChecked());
}

TEST(MainVel3DDocks, AnInstanceThatChangedNothingLeavesAnotherOnesLayout) {
    TFenetres a, b;
    b.demarrage.Reglages = a.demarrage.Reglages;
    TMainVel3DFrm& fa = CreeALaTaille(a, {1000, 700});
    TMainVel3DFrm& fb = CreeALaTaille(b, {1000, 700});
    Declenche(fa, "VueNumMnu");
    fa.VueNumFrm->Dock()->setFloating(true);
    QApplication::processEvents();
    fa.close();
    fb.close();
    TFenetres c;
    c.demarrage.Reglages = a.demarrage.Reglages;
    TMainVel3DFrm& fc = CreeALaTaille(c, {1000, 700});
    EXPECT_TRUE(fc.VueNumFrm->Dock()->isFloating());
    EXPECT_TRUE(fc.VueNumFrm->isVisible());
}

TEST(MainVel3DDocks, AnUnreadableLayoutIsSaidAndTheDefaultOneTakesItsPlace) {
    for (const char* etat : {"pas du base64 !", "AAAA", "dGV4dGUgcXVlbGNvbnF1ZQ=="}) {
        TFenetres w;
        w.EcritReglages(QByteArray("[Disposition]\nEtat=") + etat + "\n");
        TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
        EXPECT_TRUE(f.TextePanneau(3).contains(QStringLiteral("disposition"))) << etat;
        EXPECT_TRUE(f.QueueFrm->isVisible()) << etat;
        EXPECT_EQ(f.dockWidgetArea(f.QueueFrm->Dock()), Qt::RightDockWidgetArea) << etat;
    }
}

TEST(MainVel3DDocks, DocksStayPutWhileTheBallsMoveSoTheTableKeepsItsSize) {
    TFenetres w;
    TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
    Declenche(f, "VueNumMnu");
    const QRect vue = f.RectangleVue();
    Controle<QAction>(f, "AnimationMnu")->setChecked(true);
    f.FeuBtnClick();
    QApplication::processEvents();
    ASSERT_TRUE(f.Anime());
    // the windows step aside, their docks stay
    EXPECT_FALSE(f.QueueFrm->isVisible());
    EXPECT_TRUE(f.QueueFrm->Dock()->isVisible());
    EXPECT_FALSE(f.VueNumFrm->isVisible());
    EXPECT_EQ(f.RectangleVue(), vue);
    while (f.Anime()) f.GLCadencerProgress(0.016, f.DebutAnimationCourant() + 1e6);
    QApplication::processEvents();
    EXPECT_TRUE(f.QueueFrm->isVisible());
    EXPECT_TRUE(f.VueNumFrm->isVisible());
    EXPECT_EQ(f.RectangleVue(), vue);
}

TEST(MainVel3DDocks, ClosingADockAsksItsWindowAndUnchecksItsItem) {
    TFenetres w;
    TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
    Declenche(f, "VueNumMnu");
    ASSERT_TRUE(Controle<QAction>(f, "VueNumMnu")->isChecked());
    f.VueNumFrm->Dock()->close();
    EXPECT_FALSE(f.VueNumFrm->isVisible());
    EXPECT_FALSE(Controle<QAction>(f, "VueNumMnu")->isChecked());
    // shown again, its tab comes to the front
    Declenche(f, "VueNumMnu");
    EXPECT_TRUE(f.VueNumFrm->isVisible());
}

TEST(MainVel3DDocks, NoTwoCommandsShareAShortcut) {
    TFenetres w;
    TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
    QMap<QString, QString> prises;
    for (QAction* a : f.findChildren<QAction*>()) {
        if (a->shortcut().isEmpty() || DansUnOutil(a)) continue;
        const QString touche = a->shortcut().toString();
        EXPECT_FALSE(prises.contains(touche))
            << touche.toStdString() << " : " << prises.value(touche).toStdString() << " et "
            << a->text().toStdString();
        prises.insert(touche, a->text());
    }
    EXPECT_TRUE(prises.contains(QStringLiteral("F7")));
}

TEST(MainVel3DDocks, TheRoomsLightIsKeptFromOneSessionToTheNext) {
    TFenetres w;
    TMainVel3DFrm& f = CreeALaTaille(w, {1000, 700});
    EXPECT_FALSE(f.VueTable.Salle.LampeSeule);
    Declenche(f, "LumiereSalleMnu");
    EXPECT_TRUE(f.VueTable.Salle.LampeSeule);
    f.close();
    w.principale.reset();
    TMainVel3DFrm& g = CreeALaTaille(w, {1000, 700});
    EXPECT_TRUE(g.VueTable.Salle.LampeSeule);
    EXPECT_TRUE(Controle<QAction>(g, "LumiereSalleMnu")->isChecked());
}

TEST(MainVel3DDocks, TheTrainingWindowsDockBesideTheCueWindowAndUnderTheTableAndComeBackWhereTheyWere) {
    QByteArray reglages;
    {
        TFenetres w;
        TMainVel3DFrm& f = CreeALaTaille(w, {1600, 1000});
        for (const char* item : {"EntrainementMnu", "PartieMnu", "ProgresMnu"}) Declenche(f, item);
        Declenche(f, "DispositionMnu");
        // the drill panel and the score board beside the cue window, tabbed; the charts under the table
        EXPECT_EQ(f.dockWidgetArea(f.EntrainementFrm->Dock()), Qt::RightDockWidgetArea);
        EXPECT_EQ(f.dockWidgetArea(f.PartieFrm->Dock()), Qt::RightDockWidgetArea);
        EXPECT_TRUE(f.tabifiedDockWidgets(f.EntrainementFrm->Dock()).contains(f.PartieFrm->Dock()));
        EXPECT_EQ(f.dockWidgetArea(f.ProgresFrm->Dock()), Qt::BottomDockWidgetArea);
        EXPECT_TRUE(TableDegagee(f));
        // the charts and the drills whole in their low dock, not scrolled
        QApplication::processEvents();
        auto* progres = static_cast<TDockOutil*>(f.ProgresFrm->Dock());
        EXPECT_FALSE(progres->Defilement()->verticalScrollBar()->isVisible());
        EXPECT_LE(f.ProgresFrm->height(), progres->Defilement()->viewport()->height());
        // the items close them as the others
        Declenche(f, "PartieMnu");
        EXPECT_FALSE(f.PartieFrm->Ouverte());
        EXPECT_TRUE(f.EntrainementFrm->isVisible());
        f.close();
        QFile ini(w.dossier.filePath(QStringLiteral("Velmora3D.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        reglages = ini.readAll();
    }
    TFenetres w;
    w.EcritReglages(reglages);
    TMainVel3DFrm& f = CreeALaTaille(w, {1600, 1000});
    EXPECT_TRUE(f.EntrainementFrm->Ouverte());
    EXPECT_TRUE(Controle<QAction>(f, "EntrainementMnu")->isChecked());
    EXPECT_FALSE(f.PartieFrm->Ouverte());
    EXPECT_FALSE(Controle<QAction>(f, "PartieMnu")->isChecked());
    EXPECT_TRUE(f.ProgresFrm->Ouverte());
    EXPECT_EQ(f.dockWidgetArea(f.ProgresFrm->Dock()), Qt::BottomDockWidgetArea);
}
