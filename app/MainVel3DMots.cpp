// The shot in a player's words in the main window: the diamonds of the cushion contacts written on
// the rails (a display option), the corner panel's thicknesses as ball fractions, and the
// corner-five system's panel with its item of the "&Outils" menu.
#include <QLabel>
#include <QMenu>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "jeu/Epaisseurs.h"
#include "tools/Systeme.h"
#include "view3d/EtiquettesDiamants.h"
#include "widgets/Bulles.h"
#include "widgets/NombresAffiches.h"

void TMainVel3DFrm::CreeMenuDiamants() {
    DiamantsMnu = new QAction(QStringLiteral("Diamants aux bandes"), OptionsJeu);
    DiamantsMnu->setObjectName(QStringLiteral("DiamantsMnu"));
    PoseBulle(DiamantsMnu,
              QStringLiteral("écrit sur le cadre le diamant où la bille joueur touche chaque bande"));
    DiamantsToutesMnu = new QAction(QStringLiteral("Diamants de toutes les billes"), OptionsJeu);
    DiamantsToutesMnu->setObjectName(QStringLiteral("DiamantsToutesMnu"));
    PoseBulle(DiamantsToutesMnu, QStringLiteral("les diamants des bandes touchées par les trois billes"));
    for (QAction* a : {DiamantsMnu, DiamantsToutesMnu}) {
        a->setCheckable(true);
        OptionsJeu->insertAction(ResettrajetsVRMnu, a);
        connect(a, &QAction::triggered, this, [this] { DiamantsMnuClick(); });
    }
}

void TMainVel3DFrm::DiamantsMnuClick() {
    if (!Billard) return;
    // every ball's diamonds show the player's too
    if (DiamantsToutesMnu->isChecked()) DiamantsMnu->setChecked(true);
    Billard->DiamantsVisibles = DiamantsMnu->isChecked();
    Billard->DiamantsToutesBilles = DiamantsToutesMnu->isChecked();
    Billard->SeparateurDiamants = SeparateurDecimal();
    Billard->MajDiamants();
}

void TMainVel3DFrm::MajMotsVisee() {
    if (!Billard) return;
    const TQueueDegres& q = Billard->Queue->Valeurs();
    QviseeMotsLbl->setText(
        QString::fromStdString(TexteVisee(q.Visee, Billard->ContexteCoup(), 0, SeparateurDecimal())));
}

void TMainVel3DFrm::MajMotsTouchee() {
    if (!Billard) return;
    const TBilleEpaisseur t = Billard->BilleTouchee();
    QToucheeMotsLbl->setText(t.Bille == 0
                                 ? QString()
                                 : QString::fromStdString(NomBille(t.Bille, Billard->ContexteCoup()) + " " +
                                                          TexteEpaisseur(t.Epaisseur)));
}

void TMainVel3DFrm::BrancheSysteme(TSystemeFrm* systeme) {
    SystemeFrm = systeme;
    SystemeMnu = FenetresMnu->addAction(QStringLiteral("Système des diamants"));
    SystemeMnu->setObjectName(QStringLiteral("SystemeMnu"));
    PoseBulle(SystemeMnu,
              QStringLiteral("le système des 5 : la visée qu'il donne et où la bille arrive vraiment"));
    SystemeMnu->setCheckable(true);
    AjouteOutil(SystemeFrm, "SystemeFrm", TPlaceOutil::SousQueue, SystemeMnu);
    connect(this, &TMainVel3DFrm::CoupJoue, SystemeFrm, &TSystemeFrm::CoupJoue);
}
