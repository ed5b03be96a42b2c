#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/FenetresOutils.h"
#include "app/GlobalClavier.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"

namespace {

// a key press or release as the window receives it; whether it was consumed
bool Touche(TMainVel3DFrm& f, int touche, QEvent::Type genre = QEvent::KeyPress, bool repetee = false) {
    QKeyEvent e(genre, touche, Qt::NoModifier, QString(), repetee);
    if (genre == QEvent::KeyPress)
        f.FormKeyDown(&e);
    else
        f.FormKeyUp(&e);
    return e.isAccepted();
}

// holds a key, presses an arrow, releases the key
bool AvecTouche(TMainVel3DFrm& f, int tenue, int fleche) {
    Touche(f, tenue);
    const bool consomme = Touche(f, fleche);
    Touche(f, tenue, QEvent::KeyRelease);
    return consomme;
}

}  // namespace

TEST(MainVel3DClavier, HeldKeysAreRememberedUntilReleasedButNotByRepeats) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    for (int t : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_A, Qt::Key_E, Qt::Key_H, Qt::Key_Q, Qt::Key_R,
                  Qt::Key_Z}) {
        Touche(f, t);
        EXPECT_EQ(ToucheTenue, t);
        // the system's repeat sends releases that are not releases
        Touche(f, t, QEvent::KeyRelease, true);
        EXPECT_EQ(ToucheTenue, t);
        Touche(f, t, QEvent::KeyRelease);
        EXPECT_EQ(ToucheTenue, 0);
    }
    // another key released leaves the held one
    Touche(f, Qt::Key_A);
    Touche(f, Qt::Key_B, QEvent::KeyRelease);
    EXPECT_EQ(ToucheTenue, Qt::Key_A);
    Touche(f, Qt::Key_A, QEvent::KeyRelease);
    // the digits of a French keyboard without Shift
    Touche(f, Qt::Key_Eacute);
    EXPECT_EQ(ToucheTenue, Qt::Key_2);
    Touche(f, Qt::Key_Eacute, QEvent::KeyRelease);
    EXPECT_EQ(ToucheTenue, 0);
}

TEST(MainVel3DClavier, AnArrowWithoutAHeldKeyIsNotConsumed) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    for (int fleche : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down})
        EXPECT_FALSE(Touche(f, fleche));
    EXPECT_TRUE(AvecTouche(f, Qt::Key_R, Qt::Key_Up));
}

TEST(MainVel3DClavier, HeldRAndArrowsChangeTheSlowDownRateWithinItsRange) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    AvecTouche(f, Qt::Key_R, Qt::Key_Up);
    AvecTouche(f, Qt::Key_R, Qt::Key_Right);
    EXPECT_NEAR(f.TauxRalenti(), 1.2, 1e-12);
    EXPECT_EQ(f.TextePanneau(3), QStringLiteral("Ralenti = 1,2"));
    EXPECT_EQ(Controle<QAction>(f, "AnimationMnu")->text(), QStringLiteral("Animation (1,2)"));
    for (int i = 0; i < 30; ++i) AvecTouche(f, Qt::Key_R, Qt::Key_Down);
    EXPECT_EQ(f.TauxRalenti(), 0.0);
    AvecTouche(f, Qt::Key_R, Qt::Key_Left);
    EXPECT_EQ(f.TauxRalenti(), 0.0);
}

TEST(MainVel3DClavier, HeldLettersAndArrowsStepTheCue) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    TGLQueue& q = *w.B().Queue;
    const float visee = q.Visee(), effet = q.Effet(), hauteur = q.Hauteur();
    AvecTouche(f, Qt::Key_A, Qt::Key_Left);
    EXPECT_NEAR(q.Visee(), visee - 0.01f, 1e-4f);
    AvecTouche(f, Qt::Key_A, Qt::Key_Up);
    EXPECT_NEAR(q.Visee(), visee, 1e-4f);
    // E and H act alike: Left/Right the side effect, Up/Down the height
    AvecTouche(f, Qt::Key_E, Qt::Key_Up);
    EXPECT_NEAR(q.Hauteur(), hauteur + 0.05f, 1e-5f);
    EXPECT_FLOAT_EQ(q.Effet(), effet);
    AvecTouche(f, Qt::Key_H, Qt::Key_Right);
    EXPECT_NEAR(q.Effet(), effet + 0.05f, 1e-5f);
}

TEST(MainVel3DClavier, HeldDigitsAndArrowsMoveTheirBall) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    TGLBillardVelmora& b = w.B();
    const TVecteur3f rouge = b.Rouge->LitPosition();
    AvecTouche(f, Qt::Key_3, Qt::Key_Up);
    EXPECT_FLOAT_EQ(b.Rouge->LitPosition().x, rouge.x - 0.5f);
    AvecTouche(f, Qt::Key_3, Qt::Key_Right);
    EXPECT_FLOAT_EQ(b.Rouge->LitPosition().y, rouge.y + 0.5f);
    const TVecteur3f joueur = b.BilleJoueur->LitPosition();
    AvecTouche(f, Qt::Key_1, Qt::Key_Down);
    EXPECT_FLOAT_EQ(b.BilleJoueur->LitPosition().x, joueur.x + 0.5f);
    // the move shows in the ball's status panel
    EXPECT_TRUE(f.TextePanneau(b.BilleJoueur->Indice).startsWith(QStringLiteral("(18,75 ")));
}

TEST(MainVel3DClavier, HeldZAndQZoomTheTableAndTheCueViews) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    const float table = w.B().CamMobile->DistanceCible();
    const float queue = w.B().Queue->CamQueue->DistanceCible();
    AvecTouche(f, Qt::Key_Z, Qt::Key_Left);
    EXPECT_NEAR(w.B().CamMobile->DistanceCible(), table * std::pow(1.1f, 50.0f / 120), 1e-3f);
    AvecTouche(f, Qt::Key_Q, Qt::Key_Up);
    EXPECT_NEAR(w.B().Queue->CamQueue->DistanceCible(), queue * std::pow(1.1f, -50.0f / 120), 1e-3f);
}

TEST(MainVel3DClavier, SpaceFiresAndDeleteErasesTheDrawings) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Touche(f, Qt::Key_Space);
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
    EXPECT_FALSE(w.B().BilleJoueur->TrajetVide());
    Touche(f, Qt::Key_Delete);
    EXPECT_TRUE(w.B().BilleJoueur->TrajetVide());
    EXPECT_TRUE(w.B().Rouge->TrajetVide());
}

TEST(MainVel3DClavier, TheWheelWithAHeldKeyActsAsAnArrow) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    TGLQueue& q = *w.B().Queue;
    const float effet = q.Effet(), hauteur = q.Hauteur();
    const auto molette = [&f](int angle) {
        QWheelEvent e(QPointF(10, 10), Controle<TVueGL>(f, "Scn")->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        f.FormMouseWheel(&e);
    };
    // E held: forward is Left (less side effect); H held: forward is Up (higher)
    Touche(f, Qt::Key_E);
    molette(120);
    Touche(f, Qt::Key_E, QEvent::KeyRelease);
    EXPECT_NEAR(q.Effet(), effet - 0.05f, 1e-5f);
    Touche(f, Qt::Key_H);
    molette(120);
    Touche(f, Qt::Key_H, QEvent::KeyRelease);
    EXPECT_NEAR(q.Hauteur(), hauteur + 0.05f, 1e-5f);
}

TEST(MainVel3DClavier, DraggingWithAHeldAimsAndWithoutItPansTheMobileCamera) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    TGLBillardVelmora& b = w.B();
    f.VueTable.SetTaille(800, 600);
    // a pixel of empty cloth to the right of the player's ball
    const TVecteur3f centre = b.BilleJoueur->LitPosition();
    float px = 0, py = 0;
    ASSERT_TRUE(f.VueTable.Projette({centre.x + 30, centre.y, centre.z}, px, py));
    const QPointF point(px, f.VueTable.Hauteur() - py);
    const auto souris = [&f](QEvent::Type genre, QPointF p, Qt::MouseButtons boutons) {
        QMouseEvent e(genre, p, Controle<TVueGL>(f, "Scn")->mapToGlobal(p),
                      genre == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, boutons, Qt::NoModifier);
        if (genre == QEvent::MouseButtonPress) f.ScnMouseDown(&e);
        if (genre == QEvent::MouseMove) f.ScnMouseMove(&e);
        if (genre == QEvent::MouseButtonRelease) f.ScnMouseUp(&e);
    };
    Touche(f, Qt::Key_A);
    souris(QEvent::MouseButtonPress, point, Qt::LeftButton);
    ASSERT_EQ(b.BilleChoisie, nullptr);
    souris(QEvent::MouseMove, point, Qt::LeftButton);
    souris(QEvent::MouseButtonRelease, point, Qt::NoButton);
    Touche(f, Qt::Key_A, QEvent::KeyRelease);
    EXPECT_NEAR(b.Queue->Visee(), 0.0f, 0.5f);
    // without A the same drag pans the table under the mouse
    const TVecteur3f cible = b.CibleMobile->Position();
    souris(QEvent::MouseButtonPress, point, Qt::LeftButton);
    souris(QEvent::MouseMove, point + QPointF(40, 0), Qt::LeftButton);
    souris(QEvent::MouseButtonRelease, point + QPointF(40, 0), Qt::NoButton);
    const TVecteur3f apres = b.CibleMobile->Position();
    EXPECT_GT(std::abs(apres.x - cible.x) + std::abs(apres.y - cible.y), 0.1f);
    // a move without a pressed button does nothing
    souris(QEvent::MouseMove, point, Qt::NoButton);
    EXPECT_EQ(b.CibleMobile->Position().x, apres.x);
}

TEST(MainVel3DClavier, MenuShortcutsPassedOnByTheCueWindowWorkToo) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Touche(f, Qt::Key_F2);
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Fixe"));
    Touche(f, Qt::Key_F3);
    EXPECT_FALSE(Controle<QAction>(f, "VueParamQueueMnu")->isChecked());
    EXPECT_FALSE(f.QueueFrm->isVisible());
    QKeyEvent ctrlQ(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier);
    f.FormKeyDown(&ctrlQ);
    EXPECT_FALSE(Controle<QAction>(f, "QueuevisibleMnu")->isChecked());
    EXPECT_FALSE(w.B().Queue->Procede->Visible());
    // Ctrl+Q is no held Q
    EXPECT_EQ(ToucheTenue, 0);
}
