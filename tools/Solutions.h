// The solutions window: from the balls as they stand, the scoring routes of the current game mode,
// easiest first, each with a small top-down drawing of the player's ball's path, its contact
// sequence and its success rate. The search runs on every core through TSolveurCoups; the window
// polls it, shows the progress and the time left, and locks the shot meanwhile. Choosing a route
// sets the cue through the cue model (every window follows), puts the balls back where the search
// saw them and plays it.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "moteurs/SolveurCoups.h"
#include "tools/FenetreOutil.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QShortcut;
class QSpinBox;
class QToolButton;
class TMemTrajetsFrm;

class TSolutionsFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAideSolutions = 1470;

    explicit TSolutionsFrm(THoteOutils& hote, QWidget* parent = nullptr);
    ~TSolutionsFrm() override;

    // -- state
    bool EnCours() const { return enCours_; }
    const TResultatSolveur& DernierResultat() const { return resultat_; }
    // candidates of the coarse pass (the engine's default unless a test asks for less)
    std::int64_t Budget = TOptionsSolveur{}.Budget;
    int NbThreads = 0;

    // -- operations
    void ChercheBtnClick();
    void EscBtnClick();
    // sets the cue and the balls of route i (0 = easiest) and plays it
    void ChoisitRoute(int i);
    void MemoriserBtnClick();
    void EnregistrerBtnClick();
    // asks where to save the route (the save dialog); empty when cancelled. Replaced by tests.
    std::function<QString()> DemandeNomVel;
    // the trajectory memory that keeps a route on request (none: the button does nothing)
    TMemTrajetsFrm* Memo = nullptr;

signals:
    // a search has ended (finished or stopped), the list filled
    void RechercheTerminee();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QLabel* ModeLbl = nullptr;
    QSpinBox* NbRoutesEdit = nullptr;
    QCheckBox* MasseChk = nullptr;
    QToolButton* ChercheBtn = nullptr;
    QToolButton* EscBtn = nullptr;
    QProgressBar* AvancementBar = nullptr;
    QLabel* TempsRestantLbl = nullptr;
    QLabel* EtatLbl = nullptr;
    QListWidget* RoutesList = nullptr;
    QToolButton* MemoriserBtn = nullptr;
    QToolButton* EnregistrerBtn = nullptr;
    void Suivi();
    void Fin(const TResultatSolveur& r);
    // the window's controls, then the main window's shot commands
    void Verrouille(bool enCours);
    void EtatControles(bool enCours);
    void AfficheMode();
    // the drawing of the player's ball's path of a route, from the balls of the search
    QPixmap Dessin(const TRouteSolveur& route) const;

    std::unique_ptr<TSolveurCoups> solveur_;
    std::unique_ptr<TBillardVelmora> depart_;  // the balls and constants the search used
    TResultatSolveur resultat_;
    QTimer suivi_;
    QShortcut* echap_ = nullptr;
    bool enCours_ = false;
    bool joueurJaune_ = false;
};
