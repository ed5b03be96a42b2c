#include "app/ActionsVel3D.h"

const std::vector<TActionVel3D>& ActionsVel3D() {
    using A = TAction;
    static const std::vector<TActionVel3D> table = {
        {A::Tire, QKeySequence(Qt::Key_Space), QStringLiteral("[ESPACE]"), QStringLiteral("joue le coup")},
        {A::ArreteAnimation, QKeySequence(Qt::Key_Escape), QStringLiteral("[ECHAP]"),
         QStringLiteral("arrête l'animation en cours")},
        {A::DebutCoup, QKeySequence(Qt::Key_Home), QStringLiteral("[HOME]"),
         QStringLiteral("replace les billes au début du dernier coup joué")},
        {A::FinCoup, QKeySequence(Qt::Key_End), QStringLiteral("[FIN]"),
         QStringLiteral("place les billes à la fin du dernier coup joué")},
        {A::EffaceBillard, QKeySequence(Qt::Key_Delete), QStringLiteral("[SUPPR]"),
         QStringLiteral("efface le billard"), true},
        {A::Aide, QKeySequence(Qt::Key_F1), QStringLiteral("[F1]"),
         QStringLiteral("l'aide de la fenêtre active")},
        {A::Camera, QKeySequence(Qt::Key_F2), QStringLiteral("[F2]"),
         QStringLiteral("bascule entre la caméra mobile et la caméra fixe du plafond")},
        {A::FenetreQueue, QKeySequence(Qt::Key_F3), QStringLiteral("[F3]"),
         QStringLiteral("montre ou cache la fenêtre des paramètres de la queue")},
        {A::Entrainement, QKeySequence(Qt::Key_F6), QStringLiteral("[F6]"),
         QStringLiteral("montre ou cache la fenêtre de l'entraînement")},
        {A::Solutions, QKeySequence(Qt::Key_F7), QStringLiteral("[F7]"),
         QStringLiteral("montre ou cache la fenêtre des solutions")},
        {A::Partie, QKeySequence(Qt::Key_F8), QStringLiteral("[F8]"),
         QStringLiteral("montre ou cache la fenêtre de la partie")},
        {A::Progres, QKeySequence(Qt::Key_F9), QStringLiteral("[F9]"),
         QStringLiteral("montre ou cache la fenêtre des progrès")},
        {A::QueueVisible, QKeySequence(Qt::CTRL | Qt::Key_Q), QStringLiteral("[Ctrl]+[Q]"),
         QStringLiteral("queue visible ou invisible")},
        {A::OuvreEntrainement, QKeySequence(Qt::CTRL | Qt::Key_T), QStringLiteral("[Ctrl]+[T]"),
         QStringLiteral("ouvre un entraînement")},
        {A::Lettre, QKeySequence(Qt::Key_A), QStringLiteral("A"), QStringLiteral("visée, en degrés")},
        {A::Lettre, QKeySequence(Qt::Key_E), QStringLiteral("E"),
         QStringLiteral("point de choc de la queue")},
        {A::Lettre, QKeySequence(Qt::Key_H), QStringLiteral("H"),
         QStringLiteral("point de choc de la queue")},
        {A::Lettre, QKeySequence(Qt::Key_R), QStringLiteral("R"), QStringLiteral("facteur de ralenti")},
        {A::Lettre, QKeySequence(Qt::Key_Z), QStringLiteral("Z"),
         QStringLiteral("zoom de la vue du billard")},
        {A::Lettre, QKeySequence(Qt::Key_Q), QStringLiteral("Q"),
         QStringLiteral("zoom de la vue de la queue")},
        {A::Lettre, QKeySequence(Qt::Key_1), QStringLiteral("1"), QStringLiteral("votre bille")},
        {A::Lettre, QKeySequence(Qt::Key_2), QStringLiteral("2"), QStringLiteral("l'autre bille de choix")},
        {A::Lettre, QKeySequence(Qt::Key_3), QStringLiteral("3"), QStringLiteral("la rouge")},
        {A::Fleche, QKeySequence(Qt::Key_Left), QStringLiteral("&larr;"), {}},
        {A::Fleche, QKeySequence(Qt::Key_Right), QStringLiteral("&rarr;"), {}},
        {A::Fleche, QKeySequence(Qt::Key_Up), QStringLiteral("&uarr;"), {}},
        {A::Fleche, QKeySequence(Qt::Key_Down), QStringLiteral("&darr;"), {}},
        // forward brings the camera nearer, on the table's view as on the cue's
        {A::Molette, {}, QStringLiteral("molette"), QStringLiteral("vers l'avant la caméra se rapproche")},
        // the tool windows' controls: a field applied or restored, a dial stepped
        {A::Outil, QKeySequence(Qt::Key_Return), QStringLiteral("[ENTREE]"), {}},
        {A::Outil, QKeySequence(Qt::Key_PageUp), QStringLiteral("[PAGE HAUT]"), {}},
        {A::Outil, QKeySequence(Qt::Key_PageDown), QStringLiteral("[PAGE BAS]"), {}},
        {A::Outil, QKeySequence(Qt::Key_Shift), QStringLiteral("[MAJ]"), {}},
    };
    return table;
}

TAction ActionDeTouche(int touche, Qt::KeyboardModifiers modificateurs) {
    const bool ctrl = modificateurs & Qt::ControlModifier;
    for (const TActionVel3D& a : ActionsVel3D()) {
        if (a.Touche.isEmpty() || a.Action == TAction::Outil) continue;
        const QKeyCombination k = a.Touche[0];
        if (k.key() == touche &&
            (k.keyboardModifiers() & Qt::ControlModifier) == (ctrl ? Qt::ControlModifier : Qt::NoModifier))
            return a.Action;
    }
    return TAction::Aucune;
}

QKeySequence ToucheDe(TAction action) {
    for (const TActionVel3D& a : ActionsVel3D())
        if (a.Action == action) return a.Touche;
    return {};
}
