// Keyboard and mouse of the main window: the key map, held keys with the arrows, the mouse on the
// 3D view and the wheel.
#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

#include "app/ActionsVel3D.h"
#include "app/FenetresOutils.h"
#include "app/GlobalClavier.h"
#include "app/MainVel3D.h"
#include "scene/gl/VueGL.h"
#include "view3d/GLBillardVelmora.h"

namespace {

// the digit keys of a French keyboard give &, é and " without Shift: they hold 1, 2 and 3 too
int ToucheNormalisee(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Ampersand:
            return Qt::Key_1;
        case Qt::Key_Eacute:
            return Qt::Key_2;
        case Qt::Key_QuoteDbl:
            return Qt::Key_3;
        default:
            return e->key();
    }
}

}  // namespace

void TMainVel3DFrm::keyPressEvent(QKeyEvent* e) { FormKeyDown(e); }

void TMainVel3DFrm::keyReleaseEvent(QKeyEvent* e) { FormKeyUp(e); }

void TMainVel3DFrm::wheelEvent(QWheelEvent* e) { FormMouseWheel(e); }

void TMainVel3DFrm::FormKeyDown(QKeyEvent* e) {
    const int touche = ToucheNormalisee(e);
    e->accept();
    switch (ActionDeTouche(touche, e->modifiers())) {
        case TAction::ArreteAnimation:
            anime_ = false;
            return;
        case TAction::Tire:
            if (!e->isAutoRepeat()) FeuDuJoueur();
            return;
        case TAction::FinCoup:
            if (!coupVerrouille_) LastCoupEndMnuClick();
            return;
        case TAction::DebutCoup:
            if (!coupVerrouille_) LastCoupBeginMnuClick();
            return;
        case TAction::Fleche:
            // without a held key the arrow goes on
            if (!ToucheFleche(touche)) e->ignore();
            return;
        case TAction::EffaceBillard:
            ResettrajetsVRMnuClick();
            return;
        case TAction::Aide:
            AfficheAide(ContexteAide);
            return;
        // the menu shortcuts, for the keys that the cue window passes on
        case TAction::Camera:
            CamFixeMobileMnu->trigger();
            return;
        case TAction::FenetreQueue:
            VueParamQueueMnu->trigger();
            return;
        case TAction::QueueVisible:
            QueuevisibleMnu->trigger();
            return;
        case TAction::Entrainement:
        case TAction::Solutions:
        case TAction::Partie:
        case TAction::Progres: {
            const TAction a = ActionDeTouche(touche, e->modifiers());
            QAction* item = a == TAction::Entrainement ? EntrainementMnu
                            : a == TAction::Solutions  ? SolutionsMnu
                            : a == TAction::Partie     ? PartieMnu
                                                       : ProgresMnu;
            if (item) item->trigger();
            return;
        }
        default:
            break;
    }
    if (EstToucheModificatrice(touche) && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        ToucheTenue = static_cast<std::uint16_t>(touche);
        return;
    }
    e->ignore();
}

void TMainVel3DFrm::FormKeyUp(QKeyEvent* e) {
    // the system repeats a held key as press/release pairs: those releases are not releases
    if (e->isAutoRepeat()) return;
    if (ToucheNormalisee(e) == ToucheTenue) ToucheTenue = 0;
    if (!bullesBranchees_) BrancheBulles();
}

bool TMainVel3DFrm::ToucheFleche(int fleche) {
    if (ToucheTenue == 0) return false;
    // a locked shot keeps its cue and balls; the views and the rate may still change
    const bool changeCoup = ToucheTenue != Qt::Key_R && ToucheTenue != Qt::Key_Z && ToucheTenue != Qt::Key_Q;
    if (coupVerrouille_ && changeCoup) return true;
    const bool gauche = fleche == Qt::Key_Left;
    const bool droite = fleche == Qt::Key_Right;
    const bool haut = fleche == Qt::Key_Up;
    // +1 for Right and Up, -1 for Left and Down
    const int sens = (droite || haut) ? 1 : -1;
    switch (ToucheTenue) {
        case Qt::Key_R:
            SetTauxRalenti(tauxRalenti_ + 0.1 * sens);
            return true;
        case Qt::Key_A:
            if (Billard) Billard->Queue->SetVisee(Billard->Queue->Visee() + 0.01f * static_cast<float>(sens));
            return true;
        case Qt::Key_E:
        case Qt::Key_H:
            if (!Billard) return true;
            if (gauche || droite)
                Billard->Queue->SetEffet(Billard->Queue->Effet() + 0.05f * static_cast<float>(sens));
            else
                Billard->Queue->SetHauteur(Billard->Queue->Hauteur() + 0.05f * static_cast<float>(sens));
            return true;
        case Qt::Key_Z:
            if (Billard) Billard->Zoom(-50 * sens);
            return true;
        case Qt::Key_Q:
            if (Billard) Billard->Queue->Zoom(-50 * sens);
            return true;
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3: {
            if (!Billard) return true;
            // Left/Right along y (-/+), Up/Down across x (-/+)
            TVecteur3f d{0, 0, 0};
            if (gauche || droite)
                d.y = droite ? 0.5f : -0.5f;
            else
                d.x = haut ? -0.5f : 0.5f;
            BilleDeRang(ToucheTenue - Qt::Key_0)->Deplace(d);
            return true;
        }
        default:
            return true;
    }
}

// -- mouse on the 3D view

void TMainVel3DFrm::ScnMouseDown(QMouseEvent* e) {
    SourisEnfoncee = true;
    if (!Billard) return;
    const QPoint p = e->position().toPoint();
    // on empty cloth the press only seeds the camera's last position
    if (coupVerrouille_ || !Billard->PrendBille(p.x(), p.y())) Billard->SourisCamera(p.x(), p.y(), 0);
}

void TMainVel3DFrm::ScnMouseMove(QMouseEvent* e) {
    if (!SourisEnfoncee) return;
    if (!Billard) return;
    const QPoint p = e->position().toPoint();
    const bool gauche = e->buttons() & Qt::LeftButton;
    // a locked shot: only the camera moves
    if (coupVerrouille_) {
        Billard->SourisCamera(p.x(), p.y(),
                              (gauche ? ssGauche : 0u) | (e->buttons() & Qt::RightButton ? ssDroit : 0u));
        return;
    }
    if (Billard->BilleChoisie) {
        // dragging a ball erases the drawings once the player's ball has a trajectory
        if (gauche) {
            Billard->GlisseBille(p.x(), p.y());
            if (!Billard->BilleJoueur->TrajetVide()) ResettrajetsVRMnuClick();
        }
    } else if (ToucheTenue == Qt::Key_A && gauche) {
        Billard->ViseSouris(p.x(), p.y());
    } else {
        TEtatTouches etat = 0;
        if (gauche) etat |= ssGauche;
        if (e->buttons() & Qt::RightButton) etat |= ssDroit;
        if (e->buttons() & Qt::MiddleButton) etat |= ssMilieu;
        if (e->modifiers() & Qt::ShiftModifier) etat |= ssMaj;
        if (e->modifiers() & Qt::ControlModifier) etat |= ssCtrl;
        if (e->modifiers() & Qt::AltModifier) etat |= ssAlt;
        Billard->SourisCamera(p.x(), p.y(), etat);
    }
}

void TMainVel3DFrm::ScnMouseUp(QMouseEvent*) { SourisEnfoncee = false; }

void TMainVel3DFrm::PasseTouche(QKeyEvent* e) {
    if (e->type() == QEvent::KeyRelease)
        FormKeyUp(e);
    else
        FormKeyDown(e);
}

bool TMainVel3DFrm::RoueFleche(bool avant) {
    if (ToucheTenue == 0) return false;
    if (ToucheTenue == Qt::Key_E)
        ToucheFleche(avant ? Qt::Key_Left : Qt::Key_Right);
    else
        ToucheFleche(avant ? Qt::Key_Up : Qt::Key_Down);
    return true;
}

void TMainVel3DFrm::FormMouseWheel(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    const QPoint pos = e->globalPosition().toPoint();
    e->accept();
    if (delta == 0) return;
    // the cue window decides first (held keys, its own controls)
    if (QueueFrm ? QueueFrm->FormMouseWheel(delta, pos) : RoueFleche(delta > 0)) return;
    // over the table's view the wheel zooms it; forward brings the camera nearer
    if (Billard && isVisible() && frameGeometry().contains(pos) && childAt(mapFromGlobal(pos)) == Scn)
        Billard->Zoom(-int(std::lround(delta / 2.0)));
}
