#include "view3d/BillardSansEcran.h"

TBillardSansEcran::TBillardSansEcran() {
    // as the main window's first show
    Billard.PositionDepart(true);
    Billard.Queue->SetMasse(Billard.Queue->Masse());
}

bool TBillardSansEcran::ChargePosition(const std::string& nomFichier, std::string* erreur,
                                       std::string* avertissement) {
    std::string message;
    if (!Billard.ChargeFichier(nomFichier, &message)) {
        if (erreur) *erreur = message;
        return false;
    }
    if (avertissement) *avertissement = message;
    return true;
}
