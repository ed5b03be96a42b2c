// The cue parameters window: a close-up of the cue ball with the impact point and four jog dials
// on one page, six edit fields on the other. It holds no value of its own: every change goes to
// the cue model's setters, and the cue model's change events come back to the display operations.
// The tag of a dial or field names its parameter: 0 speed, 1 aim, 2 inclination, 3 mass, 4 side
// effect, 5 height. Keys pressed here go to the main window's key handlers first (held keys,
// arrows, space); the main window's menu shortcuts work here as for any of its tool windows.
#pragma once

#include "scene/Vue.h"
#include "tools/FenetreOutil.h"

class QLabel;
class QLineEdit;
class QMouseEvent;
class QTabWidget;
class QWheelEvent;
class TGLQueue;
class TMolette;
class TVueGL;

class TQueueFrm : public TFenetreOutil {
    Q_OBJECT

public:
    enum TTag { tgVitesse = 0, tgVisee = 1, tgInclinaison = 2, tgMasse = 3, tgEffet = 4, tgHauteur = 5 };

    explicit TQueueFrm(THoteOutils& hote, QWidget* parent = nullptr);

    // the close-up view of the cue ball; its viewer is handed to the 3D billiard
    TVue VueQueue;

    // connects the cue's five change events to the display operations
    void BrancheQueue(TGLQueue& queue);

    // -- display operations, answering the cue's events; each fires the shot under auto-fire
    void AfficheEH();
    void AfficheVisee();
    void AfficheInclinaison();
    void AfficheVitesse();
    void AfficheMasse();
    // the line of the stroke in a player's words: the aim on the ball it meets, the tip, the
    // speed; also when a ball moves (the main window asks)
    void MajCoup();

    // the parameter of a tag as the cue holds it, and its setter (nothing before the 3D billiard)
    float Valeur(int tag) const;
    void SetValeur(int tag, float valeur);

    // applies a field; a refused text is said and the field shows the value in force again
    bool ValideSaisie(QLineEdit* edit);
    // the field shows the value in force, unmodified
    void AfficheChamp(QLineEdit* edit);

    // the wheel of this window and of the main window: a held key makes it an arrow, otherwise
    // it zooms the close-up or steps the dial under the mouse; false when the place is not
    // this window's (the main window's own controls then take it)
    bool FormMouseWheel(QWheelEvent* e);
    bool FormMouseWheel(int delta, const QPoint& posGlobale);

    static int Tag(const QObject* controle);

signals:
    // the aim shown changed (the main window shows the aimed thickness)
    void ViseeAffichee();

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QTabWidget* PagesQueue = nullptr;
    QWidget* QueueGrap = nullptr;
    QWidget* QueueNum = nullptr;
    QWidget* EHpnl = nullptr;
    QLabel* EHlbl = nullptr;
    TVueGL* Scn = nullptr;
    QWidget* RouesPnl = nullptr;
    TMolette* vitJog = nullptr;
    TMolette* visJog = nullptr;
    TMolette* iJog = nullptr;
    TMolette* mJog = nullptr;
    QLabel* vitLbl = nullptr;
    QLabel* visLbl = nullptr;
    QLabel* iLbl = nullptr;
    QLabel* mLbl = nullptr;
    QLineEdit* eEdit = nullptr;
    QLineEdit* hEdit = nullptr;
    QLineEdit* vitEdit = nullptr;
    QLineEdit* visEdit = nullptr;
    QLineEdit* iEdit = nullptr;
    QLineEdit* mEdit = nullptr;
    // the stroke in a player's words, under the pages
    QLabel* CoupLbl = nullptr;

    void CreePageGraphique();
    void CreePageNumerique();
    TMolette* CreeMolette(int tag, double ouverture, double pas, double petitPas, int petiteMarque,
                          const QString& bulle);
    TGLQueue* Queue() const;
    void TirSiAuto();
    void ScnMouseMove(QMouseEvent* e);
    // the main window's keys, seen before this window's controls; true when consumed
    bool FormKeyDown(QKeyEvent* e);
    void FormKeyUp(QKeyEvent* e);
    // the key filter of the six fields; true when the key is consumed
    bool eEditKeyPress(QLineEdit* edit, QKeyEvent* e);
    void eEditExit(QLineEdit* edit);
    // the display of one dial's parameter: dial, field and label with its unit
    void AfficheRoue(int tag, TMolette* jog, QLineEdit* edit, QLabel* lbl, const char* unite);
};
