#include "widgets/DossierFichiers.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

QString& Dossier() {
    static QString dossier;
    return dossier;
}

QString Retenu(const QString& nom) {
    if (!nom.isEmpty()) RetientDossier(nom);
    return nom;
}

}  // namespace

QString DossierDialogues() { return Dossier(); }

void SetDossierInitial(const QString& dossier) { Dossier() = dossier; }

void RetientDossier(const QString& fichier) {
    if (!fichier.isEmpty()) Dossier() = QFileInfo(fichier).absolutePath();
}

QString DemandeFichierOuvrir(QWidget* parent, const QString& titre, const QString& filtre) {
    return Retenu(QFileDialog::getOpenFileName(parent, titre, Dossier(), filtre));
}

QString DemandeFichierEnregistrer(QWidget* parent, const QString& titre, const QString& filtre) {
    return Retenu(QFileDialog::getSaveFileName(parent, titre, Dossier(), filtre));
}
