// The keys and mouse actions of the program in one table: the main window's key handler
// dispatches its direct keys through it, its menu items take their shortcuts from it, and the
// help names each key as written here with the effect written here (a test holds the help to it).
// Keys that only a tool window's controls take (a field, a dial) are listed too, as the help
// names them.
#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

enum class TAction {
    Aucune,
    Tire,               // Space
    ArreteAnimation,    // Esc
    DebutCoup,          // Home
    FinCoup,            // End
    EffaceBillard,      // Delete
    Aide,               // F1
    Camera,             // F2
    FenetreQueue,       // F3
    Entrainement,       // F6
    Solutions,          // F7
    Partie,             // F8
    Progres,            // F9
    QueueVisible,       // Ctrl+Q
    OuvreEntrainement,  // Ctrl+T
    Lettre,             // a letter or digit held with the arrows
    Fleche,             // an arrow
    Molette,            // the mouse wheel
    Outil               // taken by a tool window's own controls
};

struct TActionVel3D {
    TAction Action = TAction::Aucune;
    QKeySequence Touche;  // none for the mouse
    QString Nom;          // as the help writes it: "[ESPACE]", "[Ctrl]+[Q]", "A", "molette"
    // what it does, as the help's table of shortcuts says it on the key's line ("" : not checked)
    QString Effet;
    // the help says that effect wherever it names the key
    bool EffetPartout = false;
};

const std::vector<TActionVel3D>& ActionsVel3D();
// the action of a key pressed in the main window (its keyboard's digits normalised), or Aucune
TAction ActionDeTouche(int touche, Qt::KeyboardModifiers modificateurs);
// the shortcut of an action
QKeySequence ToucheDe(TAction action);
