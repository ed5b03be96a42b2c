#include <gtest/gtest.h>

#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "jeu/Procedes.h"
#include "scene/gl/VueGL.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/PilotQueue.h"
#include "widgets/Molette.h"

namespace {

// the cue window shown on its host, the graphic page in front
struct FenetreQueue : testing::Test {
    TOutilFactice<TQueueFrm> w;
    TQueueFrm* q = nullptr;
    void SetUp() override {
        q = w.f.get();
        q->show();
        QApplication::processEvents();
    }
    TGLQueue& Queue() { return *w.B().Queue; }
    // the window's controls by their names
    QLineEdit* Champ(const char* nom) const { return ControleDe<QLineEdit>(*q, nom); }
    QLabel* Etiquette(const char* nom) const { return ControleDe<QLabel>(*q, nom); }
    TMolette* Roue(const char* nom) const { return ControleDe<TMolette>(*q, nom); }
    // a key pressed and released on a control of the window
    static void Tape(QWidget* controle, const QString& texte) { QTest::keyClicks(controle, texte); }
    static void Touche(QWidget* controle, int touche, QEvent::Type genre = QEvent::KeyPress) {
        QKeyEvent e(genre, touche, Qt::NoModifier);
        QApplication::sendEvent(controle, &e);
    }
    // the number of change events of one parameter while f runs
    int Evenements(std::function<void(TGLQueue&)> TGLQueue::*evenement, const std::function<void()>& f) {
        int n = 0;
        auto avant = Queue().*evenement;
        Queue().*evenement = [&n, avant](TGLQueue& x) {
            ++n;
            avant(x);
        };
        f();
        Queue().*evenement = avant;
        return n;
    }
    static void Souris(QWidget* controle, QEvent::Type genre, QPoint p, Qt::MouseButtons boutons) {
        QMouseEvent e(genre, QPointF(p), controle->mapToGlobal(QPointF(p)),
                      genre == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, boutons, Qt::NoModifier);
        QApplication::sendEvent(controle, &e);
    }
};

}  // namespace

TEST_F(FenetreQueue, ShowsBothPagesAndTheSixValuesOfTheCue) {
    EXPECT_EQ(q->windowTitle(), QStringLiteral("paramètres queue"));
    EXPECT_EQ(q->ContexteAide(), 1450);
    ASSERT_EQ(ControleDe<QTabWidget>(*q, "PagesQueue")->count(), 2);
    EXPECT_EQ(ControleDe<QTabWidget>(*q, "PagesQueue")->tabText(0), QStringLiteral("(graph)"));
    EXPECT_EQ(ControleDe<QTabWidget>(*q, "PagesQueue")->tabText(1), QStringLiteral("(num)"));
    EXPECT_EQ(ControleDe<QTabWidget>(*q, "PagesQueue")->currentIndex(), 0);
    // the mass re-applied at the first show fills its displays
    EXPECT_EQ(Champ("mEdit")->text(), QStringLiteral("520,00"));
    EXPECT_EQ(Etiquette("mLbl")->text(), QStringLiteral("520,00 gr"));
    EXPECT_DOUBLE_EQ(Roue("mJog")->valeur(), 520.0);
    Queue().SetEffet(0.25f);
    Queue().SetHauteur(-0.5f);
    EXPECT_EQ(Etiquette("EHlbl")->text(), QStringLiteral("E=0,25 H=-0,50 (cm)"));
    QSignalSpy visee(q, &TQueueFrm::ViseeAffichee);
    Queue().SetVisee(33.333f);
    EXPECT_EQ(Champ("visEdit")->text(), QStringLiteral("33,33"));
    EXPECT_EQ(Etiquette("visLbl")->text(), QStringLiteral("33,33 deg"));
    Queue().SetInclinaison(12);
    EXPECT_EQ(Etiquette("iLbl")->text(), QStringLiteral("12,00 deg"));
    // the main window's aimed thickness follows the aim
    EXPECT_EQ(visee.count(), 1);
}

TEST_F(FenetreQueue, TypedSpeedWithADotShowsEverywhereAndFiresUnderAutoFire) {
    w.h.TirAutoActif = true;
    w.B().Simu->NbPhotos = 0;
    Champ("vitEdit")->clear();
    Tape(Champ("vitEdit"), QStringLiteral("12.5"));
    EXPECT_EQ(Champ("vitEdit")->text(), QStringLiteral("12,5"));
    Touche(Champ("vitEdit"), Qt::Key_Return);
    EXPECT_FLOAT_EQ(Queue().Vitesse(), 12.5f);
    EXPECT_EQ(Champ("vitEdit")->text(), QStringLiteral("12,50"));
    EXPECT_FALSE(Champ("vitEdit")->isModified());
    EXPECT_DOUBLE_EQ(Roue("vitJog")->valeur(), 12.5);
    EXPECT_EQ(Etiquette("vitLbl")->text(), QStringLiteral("12,50 cm/s"));
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
}

TEST_F(FenetreQueue, TheCueSettersRuleOutOfRangeValues) {
    // an inclination of 95 degrees is refused and said: no change, and the field shows the value in force
    Queue().SetInclinaison(3);
    Champ("iEdit")->clear();
    Tape(Champ("iEdit"), QStringLiteral("95"));
    int evenements = -1;
    const QString message = TexteBoiteModale([&] {
        evenements = Evenements(&TGLQueue::OnInclinaison, [&] { Touche(Champ("iEdit"), Qt::Key_Enter); });
    });
    EXPECT_EQ(evenements, 0);
    EXPECT_TRUE(message.contains(QStringLiteral("90"))) << message.toStdString();
    EXPECT_FLOAT_EQ(Queue().Inclinaison(), 3.0f);
    EXPECT_EQ(Champ("iEdit")->text(), QStringLiteral("3,00"));
    EXPECT_FALSE(Champ("iEdit")->isModified());
    // a mass of -3 g is raised to 1 g
    Champ("mEdit")->clear();
    Tape(Champ("mEdit"), QStringLiteral("-3"));
    Touche(Champ("mEdit"), Qt::Key_Return);
    EXPECT_FLOAT_EQ(Queue().Masse(), 1.0f);
    EXPECT_EQ(Champ("mEdit")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(Etiquette("mLbl")->text(), QStringLiteral("1,00 gr"));
    // a negative speed is 0
    Champ("vitEdit")->clear();
    Tape(Champ("vitEdit"), QStringLiteral("-40"));
    Touche(Champ("vitEdit"), Qt::Key_Return);
    EXPECT_EQ(Etiquette("vitLbl")->text(), QStringLiteral("0,00 cm/s"));
}

TEST_F(FenetreQueue, FieldsTakeDigitsMinusAndBothSeparators) {
    Champ("eEdit")->clear();
    Tape(Champ("eEdit"), QStringLiteral("a-1x2.5 e"));
    EXPECT_EQ(Champ("eEdit")->text(), QStringLiteral("-12,5"));
    Touche(Champ("eEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Champ("eEdit")->text(), QStringLiteral("-12,"));
    Touche(Champ("eEdit"), Qt::Key_Return);
    EXPECT_FLOAT_EQ(Queue().Effet(), -12.0f);
    // the comma every number on screen uses is the separator too: 0,5 is half a centimetre
    ControleDe<QTabWidget>(*q, "PagesQueue")->setCurrentIndex(1);
    for (const char* texte : {"0,5", "0.5"}) {
        Champ("eEdit")->clear();
        Tape(Champ("eEdit"), QString::fromLatin1(texte));
        EXPECT_EQ(Champ("eEdit")->text(), QStringLiteral("0,5")) << texte;
        Touche(Champ("eEdit"), Qt::Key_Return);
        EXPECT_FLOAT_EQ(Queue().Effet(), 0.5f) << texte;
        EXPECT_EQ(Champ("eEdit")->text(), QStringLiteral("0,50")) << texte;
    }
}

TEST_F(FenetreQueue, EscapeRestoresAModifiedFieldFromTheCueOnly) {
    Queue().SetVitesse(300);
    Tape(Champ("vitEdit"), QStringLiteral("7"));
    // the cue is not touched: nothing is fired again
    EXPECT_EQ(Evenements(&TGLQueue::OnVitesse, [&] { Touche(Champ("vitEdit"), Qt::Key_Escape); }), 0);
    EXPECT_EQ(Champ("vitEdit")->text(), QStringLiteral("300,00"));
    EXPECT_FALSE(Champ("vitEdit")->isModified());
    EXPECT_FLOAT_EQ(Queue().Vitesse(), 300.0f);
    // nothing to restore: nothing happens
    EXPECT_EQ(Evenements(&TGLQueue::OnVitesse, [&] { Touche(Champ("vitEdit"), Qt::Key_Escape); }), 0);
}

TEST_F(FenetreQueue, LeavingAModifiedFieldAppliesItButNotLeavingTheWindow) {
    const float hauteur = Queue().Hauteur();
    Champ("hEdit")->clear();
    Tape(Champ("hEdit"), QStringLiteral("0.5"));
    QFocusEvent fenetre(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(Champ("hEdit"), &fenetre);
    EXPECT_TRUE(Champ("hEdit")->isModified());
    EXPECT_FLOAT_EQ(Queue().Hauteur(), hauteur);
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Champ("hEdit"), &tab);
    EXPECT_FLOAT_EQ(Queue().Hauteur(), 0.5f);
    EXPECT_EQ(Champ("hEdit")->text(), QStringLiteral("0,50"));
}

TEST_F(FenetreQueue, ATextThatIsNotANumberIsToldAndChangesNothing) {
    Queue().SetVitesse(250);
    for (const char* texte : {"-", ""}) {
        Champ("vitEdit")->setText(QString::fromLatin1(texte));
        Champ("vitEdit")->setModified(true);
        const QString message = TexteBoiteModale([&] { Touche(Champ("vitEdit"), Qt::Key_Return); });
        EXPECT_EQ(message,
                  QStringLiteral("« %1 » n'est pas un nombre correct.").arg(QString::fromLatin1(texte)));
        EXPECT_FLOAT_EQ(Queue().Vitesse(), 250.0f);
        // the field never shows a value that is not in force
        EXPECT_EQ(Champ("vitEdit")->text(), QStringLiteral("250,00"));
    }
    Champ("vitEdit")->setText(QStringLiteral("1e39"));
    EXPECT_EQ(TexteBoiteModale([&] { q->ValideSaisie(Champ("vitEdit")); }),
              QStringLiteral("« 1e39 » est trop grand."));
    EXPECT_FLOAT_EQ(Queue().Vitesse(), 250.0f);
    EXPECT_EQ(Champ("vitEdit")->text(), QStringLiteral("250,00"));
}

TEST_F(FenetreQueue, HeldKeysTypedHereActOnTheCueAsInTheMainWindow) {
    // E held and Up go to the main window, once each; the arrow does not reach the field
    ControleDe<QTabWidget>(*q, "PagesQueue")->setCurrentIndex(1);
    Touche(Champ("eEdit"), Qt::Key_E);
    EXPECT_EQ(w.h.ToucheTenue, Qt::Key_E);
    const QString texte = Champ("eEdit")->text();
    Touche(Champ("eEdit"), Qt::Key_Up);
    Touche(Champ("eEdit"), Qt::Key_E, QEvent::KeyRelease);
    EXPECT_EQ(w.h.ToucheTenue, 0);
    EXPECT_EQ(w.h.Fleches, std::vector<int>{Qt::Key_Up});
    EXPECT_EQ(Champ("eEdit")->text(), texte);
    // without a held key the arrow is the field's
    Champ("eEdit")->setCursorPosition(1);
    Touche(Champ("eEdit"), Qt::Key_Left);
    EXPECT_EQ(Champ("eEdit")->cursorPosition(), 0);
    EXPECT_EQ(w.h.Fleches.size(), 1u);
    // space fires the shot
    w.B().Simu->NbPhotos = 0;
    Touche(Champ("eEdit"), Qt::Key_Space);
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
}

TEST_F(FenetreQueue, TheWheelWithAHeldKeyIsAnArrow) {
    const float vitesse = Queue().Vitesse();
    const QPoint nulle = q->mapToGlobal(QPoint(-500, -500));
    // the main window turns it into its arrow (E: forward is Left, backward Right)
    w.h.ToucheTenue = Qt::Key_E;
    EXPECT_TRUE(q->FormMouseWheel(120, nulle));
    EXPECT_TRUE(q->FormMouseWheel(-120, nulle));
    EXPECT_EQ(w.h.Fleches, (std::vector<int>{Qt::Key_Left, Qt::Key_Right}));
    // even over a dial, which does not move
    w.h.ToucheTenue = Qt::Key_A;
    q->FormMouseWheel(-120, Roue("vitJog")->mapToGlobal(Roue("vitJog")->rect().center()));
    EXPECT_EQ(w.h.Fleches.back(), Qt::Key_Down);
    EXPECT_FLOAT_EQ(Queue().Vitesse(), vitesse);
}

TEST_F(FenetreQueue, TheWheelStepsTheDialUnderTheMouseFinerInItsTopStrip) {
    const auto sur = [](TMolette* jog, int y) { return jog->mapToGlobal(QPoint(jog->width() / 2, y)); };
    Queue().SetVitesse(100);
    q->FormMouseWheel(120, sur(Roue("vitJog"), 12));
    EXPECT_FLOAT_EQ(Queue().Vitesse(), 105.0f);
    q->FormMouseWheel(-120, sur(Roue("vitJog"), 8));
    EXPECT_FLOAT_EQ(Queue().Vitesse(), 104.5f);
    // one notch or a small turn: the same step
    q->FormMouseWheel(-15, sur(Roue("mJog"), 12));
    EXPECT_FLOAT_EQ(Queue().Masse(), 515.0f);
    Queue().SetVisee(10);
    q->FormMouseWheel(120, sur(Roue("visJog"), 10));
    EXPECT_NEAR(Queue().Visee(), 10.05f, 1e-5f);
    q->FormMouseWheel(120, sur(Roue("visJog"), 7));
    EXPECT_NEAR(Queue().Visee(), 10.055f, 1e-5f);
    Queue().SetInclinaison(5);
    q->FormMouseWheel(-120, sur(Roue("iJog"), 12));
    EXPECT_NEAR(Queue().Inclinaison(), 4.95f, 1e-5f);
    // a real wheel event over the dial goes the same way, not to the dial's own steps
    QWheelEvent e(QPointF(Roue("mJog")->width() / 2, 12), QPointF(sur(Roue("mJog"), 12)), QPoint(),
                  QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Roue("mJog"), &e);
    EXPECT_FLOAT_EQ(Queue().Masse(), 520.0f);
}

TEST_F(FenetreQueue, TheWheelZoomsTheViewUnderTheMouseAndNothingElse) {
    // forward (a positive delta) brings the camera nearer, backward takes it away
    const float queue = Queue().CamQueue->DistanceCible();
    q->FormMouseWheel(
        120, ControleDe<TVueGL>(*q, "Scn")->mapToGlobal(ControleDe<TVueGL>(*q, "Scn")->rect().center()));
    EXPECT_NEAR(Queue().CamQueue->DistanceCible(), queue * std::pow(1.1f, -60.0f / 120), 1e-3f);
    EXPECT_LT(Queue().CamQueue->DistanceCible(), queue);
    // away from this window the wheel is left to the main window's controls
    const float table = w.B().CamMobile->DistanceCible();
    EXPECT_FALSE(q->FormMouseWheel(-120, q->mapToGlobal(QPoint(-500, -500))));
    EXPECT_FLOAT_EQ(w.B().CamMobile->DistanceCible(), table);
    // over a caption nothing moves
    const float vitesse = Queue().Vitesse();
    q->FormMouseWheel(120, Etiquette("vitLbl")->mapToGlobal(Etiquette("vitLbl")->rect().center()));
    EXPECT_FLOAT_EQ(Queue().Vitesse(), vitesse);
    EXPECT_NEAR(Queue().CamQueue->DistanceCible(), queue * std::pow(1.1f, -60.0f / 120), 1e-3f);
}

TEST_F(FenetreQueue, DraggingADialFromItsTopStripIsFiftyTimesFiner) {
    Queue().SetVitesse(100);
    Roue("vitJog")->setFixedWidth(122);
    QApplication::processEvents();
    ASSERT_EQ(Roue("vitJog")->width(), 122);
    // 122 px to the left from the top 8 px: 300 / 50
    Souris(Roue("vitJog"), QEvent::MouseButtonPress, {100, 3}, Qt::LeftButton);
    Souris(Roue("vitJog"), QEvent::MouseMove, {-22, 3}, Qt::LeftButton);
    Souris(Roue("vitJog"), QEvent::MouseButtonRelease, {-22, 3}, Qt::NoButton);
    EXPECT_NEAR(Queue().Vitesse(), 106.0f, 1e-4f);
    EXPECT_EQ(Etiquette("vitLbl")->text(), QStringLiteral("106,00 cm/s"));
    // lower on the dial: the whole aperture
    Souris(Roue("vitJog"), QEvent::MouseButtonPress, {100, 20}, Qt::LeftButton);
    Souris(Roue("vitJog"), QEvent::MouseMove, {-22, 20}, Qt::LeftButton);
    Souris(Roue("vitJog"), QEvent::MouseButtonRelease, {-22, 20}, Qt::NoButton);
    EXPECT_NEAR(Queue().Vitesse(), 406.0f, 1e-3f);
    // the aim's strip is 7 px: a press at 7 is below it; to the right lowers the value
    Queue().SetVisee(0);
    const int largeur = Roue("visJog")->width();
    Souris(Roue("visJog"), QEvent::MouseButtonPress, {0, 7}, Qt::LeftButton);
    Souris(Roue("visJog"), QEvent::MouseMove, {largeur, 7}, Qt::LeftButton);
    Souris(Roue("visJog"), QEvent::MouseButtonRelease, {largeur, 7}, Qt::NoButton);
    EXPECT_NEAR(Queue().Visee(), -60.0f, 1e-3f);
    // an inclination dragged past 90 degrees stays where the cue refused it
    Queue().SetInclinaison(80);
    Souris(Roue("iJog"), QEvent::MouseButtonPress, {Roue("iJog")->width(), 20}, Qt::LeftButton);
    Souris(Roue("iJog"), QEvent::MouseMove, {0, 20}, Qt::LeftButton);
    Souris(Roue("iJog"), QEvent::MouseButtonRelease, {0, 20}, Qt::NoButton);
    EXPECT_FLOAT_EQ(Queue().Inclinaison(), 80.0f);
    EXPECT_DOUBLE_EQ(Roue("iJog")->valeur(), 80.0);
}

TEST_F(FenetreQueue, F1ShowsTheCueWindowsTopic) {
    Touche(Champ("vitEdit"), Qt::Key_F1);
    EXPECT_EQ(w.h.Aides, std::vector<int>{1450});
}

TEST_F(FenetreQueue, TheLineUnderTheControlsSaysTheStrokeInAPlayersWords) {
    QLabel* ligne = ControleDe<QLabel>(*q, "CoupLbl");
    // the opening: ball 1 aimed at the red
    const QString ouverture = ligne->text();
    EXPECT_TRUE(ouverture.startsWith(QStringLiteral("Rouge "))) << ouverture.toStdString();
    EXPECT_TRUE(ouverture.endsWith(QStringLiteral("vitesse 8/10 (forte)"))) << ouverture.toStdString();
    // two tips at 3 o'clock, a soft stroke: the line follows each change, with the decimal comma
    const double limite = DeportSansFausseQueue(w.B().Simu->Fisik, Queue().Masse());
    const TEffetHauteur eh = EffetHauteur(3, 1.5, limite);
    Queue().SetEffetHauteur(float(eh.Effet), float(eh.Hauteur));
    Queue().SetVitesse(100);
    EXPECT_TRUE(ligne->text().contains(
        QStringLiteral(" · 1,5 procédé à 3 h (effet à droite) · vitesse 2/10 (douce)")))
        << ligne->text().toStdString();
    // aimed at no ball: the cushion first, with its diamond
    Queue().SetVisee(-90);
    EXPECT_TRUE(ligne->text().startsWith(QStringLiteral("bricole : courte du bas ")))
        << ligne->text().toStdString();
    // a heavy cue miscues sooner: the same tip is more tips away
    Queue().SetMasse(1200);
    EXPECT_TRUE(ligne->text().contains(QStringLiteral("fausse queue"))) << ligne->text().toStdString();
}
