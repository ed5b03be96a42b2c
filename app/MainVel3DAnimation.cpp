// The animation of a computed shot through its photos on the frame clock, and the jumps to the
// first and last photo of the last shot.
#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "view3d/GLBillardVelmora.h"

namespace {
const QString MessageAnimation = QStringLiteral("[ECHAP] pour arrêter l'animation");
}  // namespace

void TMainVel3DFrm::DemarreAnimation() {
    if (!Billard) return;
    // the cue and its window step aside while the balls move (the dock stays: the table keeps its size)
    if (QueueFrm) QueueFrm->SetEscamotee(true);
    Billard->Queue->Detache();
    GLCadencer.Tag = 0;
    anime_ = true;
    if (VueNumFrm) VueNumFrm->SetEscamotee(true);
    AfficheMessage(MessageAnimation);
    // enabled whatever its state: a second start restarts instead of freezing
    GLCadencer.SetActif(true);
    DebutAnimation = GLCadencer.Temps();
}

void TMainVel3DFrm::GLCadencerProgress(double, double maintenant) {
    if (!Billard) return;
    const TBillardVelmora& simu = *Billard->Simu;
    const int dernier = std::max(0, static_cast<int>(simu.NbPhotos));
    int i = std::clamp(GLCadencer.Tag, 0, dernier);
    // landings on the cloth are never shown, unless one is the last photo
    while (i < dernier && simu.TypesChocs[static_cast<size_t>(i)] == tcBilleTapis) ++i;
    // at most one photo per frame, not before its time
    if (simu.Temps[static_cast<size_t>(i)] * tauxRalenti_ <= maintenant - DebutAnimation) {
        Billard->AffichePhoto(i, true);
        // what is drawn beside the balls (a recording's ghosts) follows the shot's time shown,
        // however slow the display or the slow-motion rate
        if (anime_) emit ImageAnimee(simu.Temps[static_cast<size_t>(i)]);
        Billard->MontreParcours(i);
        if (VRMnu->isChecked()) Billard->DessineVR(i);
        GLCadencer.Tag = i + 1;
    }
    if (i == dernier || !anime_) FinAnimation(i);
}

void TMainVel3DFrm::FinAnimation(int i) {
    GLCadencer.SetActif(false);
    emit ImageAnimee(-1);
    BrancheBulles();
    anime_ = false;
    if (TextePanneau(3) == MessageAnimation) SetTextePanneau(3, QString());
    // with events: the status bar shows where the balls stopped
    Billard->AffichePhoto(i, false);
    Billard->FinParcours();
    Billard->Queue->Rattache();
    if (QueueFrm) QueueFrm->setVisible(VueParamQueueMnu->isChecked());
    if (VueNumMnu->isChecked() && VueNumFrm) {
        // the view opens on the photo where the balls came to rest, not on photo 0
        VueNumFrm->show();
        VueNumFrm->RafraichitVue(i);
    } else {
        activateWindow();
        setFocus();
    }
}

void TMainVel3DFrm::LastCoupBeginMnuClick() {
    if (!Billard || Billard->Simu->NbPhotos <= 0) return;
    if (anime_) {
        anime_ = false;
        GLCadencerProgress(0, 0);
    }
    Billard->AffichePhoto(0, false);
    if (VRMnu->isChecked()) Billard->DessineVR(0);
}

void TMainVel3DFrm::LastCoupEndMnuClick() {
    if (!Billard || Billard->Simu->NbPhotos <= 0) return;
    if (anime_) {
        anime_ = false;
        GLCadencerProgress(0, 0);
    }
    const int fin = Billard->Simu->NbPhotos;
    Billard->AffichePhoto(fin, false);
    if (VRMnu->isChecked()) Billard->DessineVR(fin);
}
