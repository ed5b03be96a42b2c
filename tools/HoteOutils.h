// What the tool windows ask of the window that hosts them (the main window in the program, a
// fake in the tests): the 3D billiard and its scene, the shot commands, what the table shows,
// the help and the keys. No tool window knows more of the main window than this.
#pragma once

#include "sim/C1_Types.h"

class QKeyEvent;
class QObject;
class QString;
class TGLBillardVelmora;
class TScene;

// what a shot played from a tool window needs the table to show
enum class TResultatMontre {
    Lignes,       // the trajectory lines, unless an animation shows the shot
    LigneJoueur,  // the player's ball's line
    Animation     // the animation, when that is how shots are shown
};

class THoteOutils {
public:
    virtual ~THoteOutils() = default;

    // the 3D billiard (and with it the simulation); null until the main window is first shown
    virtual TGLBillardVelmora* Billard3D() const = 0;
    // the scene of the table: the cue's close-up looks at it, the tools hang their drawings in it
    virtual TScene& SceneTable() = 0;

    // fires the shot as the fire button does (nothing while the shot is locked)
    virtual void Feu() = 0;
    // the automatic fire switch; setting it fires nothing, so a shot can be set up whole first
    virtual bool TirAuto() const = 0;
    virtual void SetTirAuto(bool actif) = 0;
    virtual void MontreResultat(TResultatMontre quoi) = 0;
    // the speed and spin vectors are drawn
    virtual bool VecteursAffiches() const = 0;

    // While a computation works on the current shot, nothing changes the cue, the balls or the
    // rule and nothing is fired: locked as long as one holder keeps its lock.
    virtual void VerrouilleCoup(const QObject* detenteur, bool verrou) = 0;
    virtual bool CoupVerrouille() const = 0;

    // the player's ball and the game mode, chosen as the "Jeu" menu chooses them (its items follow)
    virtual void ChoisitBilleJoueur(bool jaune) = 0;
    virtual void ChoisitModeJeu(TModeDeJeu mode) = 0;
    // puts a table in play: a parameter file read over the factory values, or the factory table
    // itself when the name is empty; false with the reason, and the table in play unchanged
    virtual bool ChargeTable(const QString& fichier, QString* erreur = nullptr) = 0;

    // writes the cue and the balls to a position file; false after telling the user
    virtual bool SauvePosition(const QString& nom) = 0;
    virtual void AfficheAide(int contexte) = 0;

    // a key pressed or released in a tool window, for the main window's keys (held keys, the
    // arrows with a held key, space, Esc, Home, End, Delete, the menu shortcuts); the event is
    // accepted when the main window took it
    virtual void PasseTouche(QKeyEvent* e) = 0;
    // a wheel turn with a held key is an arrow (forward Up, or Left with E); false when no key is held
    virtual bool RoueFleche(bool avant) = 0;

    // the trajectory memory was switched on or off
    virtual void SignaleMemoire(bool active) = 0;
    // a tool window changed the table (or the balls without moving the 3D models): the results
    // shown for the former position are marked
    virtual void SignalePositionModifiee() {}
};
