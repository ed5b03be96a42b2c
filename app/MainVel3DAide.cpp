// Help requests of every window, and the about box.
#include <QFileInfo>
#include <QMessageBox>

#include "app/AideVel3D.h"
#include "app/Apropos.h"
#include "app/MainVel3D.h"

bool TMainVel3DFrm::OuvreAide() {
    if (demarrage_.FichierAide.isEmpty()) {
        AideManquante();
        return false;
    }
    if (!aide_) aide_ = new TAideVel3D(demarrage_.FichierAide, this);
    if (!aide_->Valide()) {
        AideManquante();
        return false;
    }
    return true;
}

void TMainVel3DFrm::AfficheAide(int contexte) {
    if (!OuvreAide()) return;
    // an unknown topic falls back to the contents
    if (!aide_->Contexte(contexte)) {
        aide_->Sommaire();
        AfficheMessage(QStringLiteral("rubrique d'aide %1 introuvable").arg(contexte));
    }
}

void TMainVel3DFrm::SommaireChmMnuClick() {
    if (OuvreAide()) aide_->Sommaire();
}

void TMainVel3DFrm::IndexChmMnuClick() {
    if (OuvreAide()) aide_->Index();
}

void TMainVel3DFrm::AideManquante() {
    QMessageBox boite(QMessageBox::Critical, QStringLiteral("Erreur"),
                      QStringLiteral("Le fichier d'aide %1 est manquant").arg(nomFichierAide_),
                      QMessageBox::Ok, this);
    boite.setObjectName(QStringLiteral("AideManquante"));
    boite.exec();
}

void TMainVel3DFrm::AproposMnuClick() {
    AfficheApropos();
}

void TMainVel3DFrm::AfficheApropos() {
    // created when asked, freed when closed
    TAproposFrm apropos(this);
    apropos.exec();
}
