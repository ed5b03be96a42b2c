// Nothing on the table or in a window belongs to another position: the verdict of the last shot
// stays while the balls show one of its photos on its table under its rule; the tool windows
// compare their results' position with the present one and grey or clear them.
#include <QLabel>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tools/Enregistrement.h"

void TMainVel3DFrm::MajResultats() {
    if (!Billard) return;
    const TEtatPosition actuel = Billard->EtatPosition();
    if (coupJoue_) {
        const bool memeCoup = Billard->PhotoMontree() >= 0 && actuel.Fisik == etatCoup_.Fisik &&
                              actuel.Mode == etatCoup_.Mode && actuel.JoueurJaune == etatCoup_.JoueurJaune;
        if (!memeCoup) {
            coupJoue_ = false;
            for (QLabel* l : {IsPointLbl, QToucheeLbl, QToucheeMotsLbl}) l->clear();
        }
    }
    if (SolutionsFrm) SolutionsFrm->MajValidite(actuel);
    if (DifficulteFrm) DifficulteFrm->MajValidite(actuel);
    if (EnregistrementFrm) EnregistrementFrm->MajValidite(actuel);
    if (MemTrajetsFrm) MemTrajetsFrm->MajValidite(actuel);
}
