// The main window as the tool windows see it (THoteOutils): what each request does to the table
// and to the main window's own commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "app/GlobalClavier.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"
#include "widgets/CaseLed.h"

namespace {

QAction* Item(TMainVel3DFrm& f, const char* nom) {
    return f.findChild<QAction*>(QString::fromLatin1(nom));
}

}  // namespace

TEST(MainVel3DHote, TheShotStaysLockedUntilTheLastComputationHoldingItHasEnded) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    THoteOutils& hote = f;
    QObject difficulte, solutions;
    hote.VerrouilleCoup(&difficulte, true);
    hote.VerrouilleCoup(&solutions, true);
    // the search ends first: the evaluation still works on the shot
    hote.VerrouilleCoup(&solutions, false);
    EXPECT_TRUE(hote.CoupVerrouille());
    EXPECT_FALSE(f.findChild<QToolButton*>(QStringLiteral("FeuBtn"))->isEnabled());
    w.B().Simu->NbPhotos = 0;
    hote.Feu();
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
    // a holder letting go twice changes nothing
    hote.VerrouilleCoup(&solutions, false);
    EXPECT_TRUE(hote.CoupVerrouille());
    hote.VerrouilleCoup(&difficulte, false);
    EXPECT_FALSE(hote.CoupVerrouille());
    EXPECT_TRUE(f.findChild<QToolButton*>(QStringLiteral("FeuBtn"))->isEnabled());
    hote.Feu();
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
}

TEST(MainVel3DHote, SettingAutoFireFromAToolNeitherFiresNorStopsTheAnimation) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    THoteOutils& hote = f;
    Item(f, "AnimationMnu")->setChecked(true);
    w.B().Simu->NbPhotos = 0;
    hote.SetTirAuto(true);
    EXPECT_TRUE(hote.TirAuto());
    EXPECT_TRUE(f.findChild<TCaseLed*>(QStringLiteral("TirAutoChk"))->isChecked());
    EXPECT_TRUE(Item(f, "AnimationMnu")->isChecked());
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
    hote.SetTirAuto(false);
    EXPECT_FALSE(hote.TirAuto());
}

TEST(MainVel3DHote, AShotPlayedFromAToolIsShownAsTheMenusAsk) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    THoteOutils& hote = f;
    // no lines and no animation: the lines come back, all of them
    Item(f, "TrajetsMnu")->trigger();
    ASSERT_FALSE(Item(f, "TrajetsMnu")->isChecked());
    hote.MontreResultat(TResultatMontre::Lignes);
    EXPECT_TRUE(Item(f, "TrajetsMnu")->isChecked());
    EXPECT_TRUE(Item(f, "TrajetRougeMnu")->isChecked());
    EXPECT_TRUE(w.B().Rouge->TrajetVisible);
    // the player's ball's line alone
    Item(f, "TrajetsMnu")->trigger();
    hote.MontreResultat(TResultatMontre::LigneJoueur);
    EXPECT_TRUE(Item(f, "TrajetBillejoueurMnu")->isChecked());
    EXPECT_TRUE(w.B().BilleJoueur->TrajetVisible);
    EXPECT_FALSE(Item(f, "TrajetRougeMnu")->isChecked());
    // with the animation on, the lines stay as they are and the animation runs
    Item(f, "TrajetsMnu")->setChecked(false);
    Item(f, "AnimationMnu")->setChecked(true);
    hote.MontreResultat(TResultatMontre::Lignes);
    EXPECT_FALSE(Item(f, "TrajetsMnu")->isChecked());
    EXPECT_FALSE(f.Anime());
    hote.MontreResultat(TResultatMontre::Animation);
    EXPECT_TRUE(f.Anime());
    // the vectors follow their item; the memory's state shows in its item
    EXPECT_FALSE(hote.VecteursAffiches());
    Item(f, "VRMnu")->trigger();
    EXPECT_TRUE(hote.VecteursAffiches());
    hote.SignaleMemoire(true);
    EXPECT_EQ(Item(f, "VueMemoMnu")->text(), QStringLiteral("Params mémo trajets (on)"));
    hote.SignaleMemoire(false);
    EXPECT_EQ(Item(f, "VueMemoMnu")->text(), QStringLiteral("Params mémo trajets (off)"));
}

TEST(MainVel3DHote, KeysAndWheelTurnsPassedOnActAsInTheMainWindow) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    THoteOutils& hote = f;
    ToucheTenue = 0;
    EXPECT_FALSE(hote.RoueFleche(true));
    QKeyEvent e(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier);
    hote.PasseTouche(&e);
    EXPECT_EQ(ToucheTenue, Qt::Key_E);
    // E held: forward is Left, which lowers the side effect
    const float effet = w.B().Queue->Effet();
    EXPECT_TRUE(hote.RoueFleche(true));
    EXPECT_NEAR(w.B().Queue->Effet(), effet - 0.05f, 1e-6f);
    QKeyEvent relache(QEvent::KeyRelease, Qt::Key_E, Qt::NoModifier);
    hote.PasseTouche(&relache);
    EXPECT_EQ(ToucheTenue, 0);
    // a wheel turn over the table's view zooms it, whatever the cue window says
    const float table = w.B().CamMobile->DistanceCible();
    TVueGL* scn = Controle<TVueGL>(f, "Scn");
    const QPoint coin(scn->width() - 20, scn->height() - 20);
    QWheelEvent roue(QPointF(coin), QPointF(scn->mapToGlobal(coin)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    f.FormMouseWheel(&roue);
    EXPECT_NEAR(w.B().CamMobile->DistanceCible(), table * std::pow(1.1f, 60.0f / 120), 1e-3f);
    // the scene is the one the 3D billiard lives in
    EXPECT_EQ(&hote.SceneTable(), &f.gls);
    EXPECT_EQ(hote.Billard3D(), f.Billard.get());
}
