#include "app/FenetresOutils.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "app/GlobalClavier.h"
#include "app/MainVel3D.h"
#include "scene/gl/VueGL.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"

#include "view3d/GLBillardVelmora.h"

namespace {

// a frame whose contents are still to come: one line saying what it is for
[[maybe_unused]] void Contenu(QWidget* fenetre, const QString& texte, QSize taille) {
    auto* pile = new QVBoxLayout(fenetre);
    auto* l = new QLabel(texte, fenetre);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    pile->addWidget(l);
    fenetre->resize(taille);
}

}  // namespace

#ifdef VELMORA_QUEUE_PROVISOIRE
TQueueFrm::TQueueFrm(TMainVel3DFrm& principale)
    : TFenetreOutil(principale, QStringLiteral("paramètres queue"), 1450), VueQueue(principale.gls) {
    auto* pile = new QVBoxLayout(this);
    pile->setContentsMargins(2, 2, 2, 2);
    Scn = new TVueGL(VueQueue, this);
    Scn->setObjectName(QStringLiteral("Scn"));
    PoseBulle(Scn, QStringLiteral("Effet/Hauteur|effet/hauteur, déplacer le point de choc par souris ou clavier "
                                  "[E/H]+[flèches]"));
    pile->addWidget(Scn);
    connect(Scn, &TVueGL::Molette, this, &TQueueFrm::FormMouseWheel);
    resize(260, 300);
}

void TQueueFrm::BrancheQueue(TGLQueue& queue) {
    queue.OnEffetHauteur = [this](TGLQueue&) { AfficheEH(); };
    queue.OnVisee = [this](TGLQueue&) { AfficheVisee(); };
    queue.OnInclinaison = [this](TGLQueue&) { AfficheInclinaison(); };
    queue.OnVitesse = [this](TGLQueue&) { AfficheVitesse(); };
    queue.OnMasse = [this](TGLQueue&) { AfficheMasse(); };
}

void TQueueFrm::TirSiAuto() {
    if (Principale().TirAutoChk->isChecked()) Principale().FeuBtnClick();
}

void TQueueFrm::AfficheEH() { TirSiAuto(); }

void TQueueFrm::AfficheVisee() {
    Principale().MajQteVisee();
    TirSiAuto();
}

void TQueueFrm::AfficheInclinaison() { TirSiAuto(); }
void TQueueFrm::AfficheVitesse() { TirSiAuto(); }
void TQueueFrm::AfficheMasse() { TirSiAuto(); }

void TQueueFrm::FormMouseWheel(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    // with a held key the wheel is an arrow: forward is Up (Left with E), backward Down (Right)
    if (ToucheTenue != 0) {
        if (ToucheTenue == Qt::Key_E)
            Principale().ToucheFleche(delta >= 0 ? Qt::Key_Left : Qt::Key_Right);
        else
            Principale().ToucheFleche(delta >= 0 ? Qt::Key_Up : Qt::Key_Down);
        return;
    }
    // otherwise it zooms the view under the mouse
    const int n = static_cast<int>(std::lround(delta / 2.0));
    QWidget* sous = QApplication::widgetAt(e->globalPosition().toPoint());
    if (!Principale().Billard) return;
    if (sous == Scn)
        Principale().Billard->Queue->Zoom(n);
    else if (sous == Principale().Scn)
        Principale().Billard->Zoom(n);
}
#endif

#ifdef VELMORA_MEMO_PROVISOIRE
TMemTrajetsFrm::TMemTrajetsFrm(TMainVel3DFrm& principale)
    : TFenetreOutil(principale, QStringLiteral("Paramètres de mémorisation des trajets"), 1440) {
    Contenu(this, QStringLiteral("trajets mémorisés"), {320, 240});
}
#endif

#ifdef VELMORA_VUENUM_PROVISOIRE
TVueNumFrm::TVueNumFrm(TMainVel3DFrm& principale) : TFenetreOutil(principale, QStringLiteral("Aucun trajet"), 1410) {
    Contenu(this, QStringLiteral("valeurs numériques des positions, vitesses et rotations"), {420, 300});
}
#endif

#ifdef VELMORA_CALIBRAGE_PROVISOIRE
TCalibrageFrm::TCalibrageFrm(TMainVel3DFrm& principale)
    : TFenetreOutil(principale, QStringLiteral("Réglage du billard"), 1430) {
    Contenu(this, QStringLiteral("constantes physiques du billard"), {360, 420});
}
#endif

#ifdef VELMORA_DIFFICULTE_PROVISOIRE
TDifficulteFrm::TDifficulteFrm(TMainVel3DFrm& principale)
    : TFenetreOutil(principale, QStringLiteral("évaluation de la difficulté"), 1420) {
    Contenu(this, QStringLiteral("évaluation de la difficulté objective du point en cours"), {360, 300});
}
#endif
