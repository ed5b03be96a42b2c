// The solutions window's place in the main window: its checkable item of the "&Outils" menu
// (F7), which follows the window's visibility.
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
    connect(SolutionsMnu, &QAction::triggered, this, [this] {
        if (SolutionsMnu->isChecked())
            SolutionsFrm->show();
        else
            SolutionsFrm->close();
        SolutionsMnu->setChecked(SolutionsFrm->isVisible());
    });
    connect(SolutionsFrm, &TFenetreOutil::Fermee, this, [this] { SolutionsMnu->setChecked(false); });
}
