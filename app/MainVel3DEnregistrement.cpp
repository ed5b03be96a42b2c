// Recorded shots in the main window: the "Fichiers" item that opens one, the "Outils" item of its
// window, and the window itself, created at its first use and fed with every computed shot and
// every animation frame.
#include <QFileDialog>
#include <QMenu>

#include "app/MainVel3D.h"
#include "tools/Enregistrement.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"

void TMainVel3DFrm::CreeMenusEnregistrement() {
    OuvreEnregistrementMnu = new QAction(QStringLiteral("Ouvrir un coup enregistré…"), Fichiers1);
    OuvreEnregistrementMnu->setObjectName(QStringLiteral("OuvreEnregistrementMnu"));
    PoseBulle(OuvreEnregistrementMnu,
              QStringLiteral(
                  "ouvrir un coup réel suivi sur une vidéo (.csv) pour le comparer et ajuster la queue"));
    Fichiers1->insertAction(SaveToFileMnu, OuvreEnregistrementMnu);
    EnregistrementMnu = FenetresMnu->addAction(QStringLiteral("Coup enregistré"));
    EnregistrementMnu->setObjectName(QStringLiteral("EnregistrementMnu"));
    EnregistrementMnu->setCheckable(true);
    PoseBulle(EnregistrementMnu, QStringLiteral("écarts au coup enregistré ouvert, ajustement de la queue"));
    connect(OuvreEnregistrementMnu, &QAction::triggered, this, [this] { OuvreEnregistrementMnuClick(); });
    // the item's first use makes the window; from then on its dock's item does the work
    connect(EnregistrementMnu, &QAction::triggered, this, [this] {
        if (!EnregistrementFrm) EnregistrementMnuClick();
    });
}

TEnregistrementFrm& TMainVel3DFrm::FenetreEnregistrement() {
    if (!EnregistrementFrm) {
        EnregistrementFrm = new TEnregistrementFrm(*this, this);
        AjouteOutil(EnregistrementFrm, "EnregistrementFrm", TPlaceOutil::Bas, EnregistrementMnu);
        connect(this, &TMainVel3DFrm::CoupJoue, EnregistrementFrm, &TEnregistrementFrm::CoupJoue);
        connect(this, &TMainVel3DFrm::ImageAnimee, EnregistrementFrm, &TEnregistrementFrm::ImageAnimee);
    }
    return *EnregistrementFrm;
}

bool TMainVel3DFrm::OuvreEnregistrement(const QString& nom) {
    TEnregistrementFrm& f = FenetreEnregistrement();
    if (!f.Ouvre(nom)) return false;
    f.show();
    EnregistrementMnu->setChecked(true);
    return true;
}

void TMainVel3DFrm::OuvreEnregistrementMnuClick() {
    const QString nom = DemandeFichierOuvrir(this, QStringLiteral("Ouvrir un coup enregistré"),
                                             QStringLiteral("coups enregistrés (*.csv)"));
    if (!nom.isEmpty()) OuvreEnregistrement(nom);
}

void TMainVel3DFrm::EnregistrementMnuClick() { BasculeOutil(&FenetreEnregistrement(), EnregistrementMnu); }
