// The solutions window's place in the main window: its dock under the cue window and its
// checkable item of the "&Outils" menu (F7), which follows the window.
#include <QMenu>

#include "app/ActionsVel3D.h"
#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "widgets/Bulles.h"

void TMainVel3DFrm::BrancheSolutions(TSolutionsFrm* solutions) {
    SolutionsFrm = solutions;
    // a route kept on request goes to the trajectory memory
    SolutionsFrm->Memo = MemTrajetsFrm;
    SolutionsMnu = FenetresMnu->addAction(QStringLiteral("Solutions"));
    SolutionsMnu->setObjectName(QStringLiteral("SolutionsMnu"));
    PoseBulle(SolutionsMnu,
              QStringLiteral("les routes qui font le point depuis la position, les plus faciles d'abord"));
    SolutionsMnu->setCheckable(true);
    SolutionsMnu->setShortcut(ToucheDe(TAction::Solutions));
    AjouteOutil(SolutionsFrm, "SolutionsFrm", TPlaceOutil::SousQueue, SolutionsMnu);
}
