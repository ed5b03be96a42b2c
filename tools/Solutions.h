// The solutions window: from the balls as they stand, the scoring routes of the current game mode,
// easiest first, each with a small top-down drawing of the player's ball's path, its exact
// contacts with the named cushions and their diamonds, how to play it in a player's words, its
// success rate, and its variants (other strokes making the same contacts) to unfold. The search
// runs on every core through TSolveurCoups; the window polls it, shows the progress and the time
// left, and locks the shot meanwhile. Choosing a route or a variant sets the cue through the cue
// model (every window follows), puts the balls back where the search saw them and plays it. The
// routes belong to the position and table of their search: when either changes, the list is
// greyed with "position modifiée — relancer" until the search's position comes back.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "moteurs/SolveurCoups.h"
#include "tools/FenetreOutil.h"
#include "view3d/GLBillardVelmora.h"

class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
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
    // sets the cue and the balls of route i (0 = easiest), or of its variant k, and plays it
    void ChoisitRoute(int i);
    void ChoisitVariante(int i, int k);
    // the route of the current item (its own or its parent's), −1 for none
    int RouteCourante() const;
    // the routes belong to the position and table of their search: greyed when `actuel` is
    // another one (and back when it is that one again)
    void MajValidite(const TEtatPosition& actuel);
    bool Perimee() const { return perimee_; }
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
    bool eventFilter(QObject* objet, QEvent* e) override;

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
    // one top-level item per route, its variants as children
    QTreeWidget* RoutesList = nullptr;
    QLabel* LegendeLbl = nullptr;
    QToolButton* MemoriserBtn = nullptr;
    QToolButton* EnregistrerBtn = nullptr;

    // the window's parts, top to bottom, and what their controls do
    void CreeReglages(QVBoxLayout& pile);
    void CreeCommandes(QVBoxLayout& pile);
    void CreeListe(QVBoxLayout& pile);
    void Branche();
    void Suivi();
    void Fin(const TResultatSolveur& r);
    // the window's controls, then the main window's shot commands
    void Verrouille(bool enCours);
    void EtatControles(bool enCours);
    void AfficheMode();
    // the drawing of the player's ball's path of a route, from the balls of the search
    QPixmap Dessin(const TRouteSolveur& route) const;
    // the list's item of a route with its variants
    QTreeWidgetItem* Element(const TRouteSolveur& route) const;
    void ChoisitCoup(int i, const TQueueDegres& q);
    // a route or a variant of the list, played
    void JoueElement(QTreeWidgetItem* item);
    void EtatFin(const TResultatSolveur& r);

    std::unique_ptr<TSolveurCoups> solveur_;
    std::unique_ptr<TBillardVelmora> depart_;  // the balls and constants the search used
    TResultatSolveur resultat_;
    QTimer suivi_;
    QShortcut* echap_ = nullptr;
    bool enCours_ = false;
    bool joueurJaune_ = false;
    TEtatPosition etatRecherche_;
    bool perimee_ = false;
    QString etatTexte_;  // what EtatLbl said of the search
};
