// The folder the file dialogs open in: the last one a file was chosen in, whatever the window
// (a position, a launch, an export, a parameter file, a recording); at the start, the folder the
// program was given. The open and save dialogs of every window go through here.
#pragma once

#include <QString>

class QWidget;

QString DossierDialogues();
// the start: the dialogs open here until a file is chosen
void SetDossierInitial(const QString& dossier);
// a file was chosen (or typed) in a dialog: its folder is the next dialogs'
void RetientDossier(const QString& fichier);

// the toolkit's dialogs in that folder; the name chosen, empty when cancelled
QString DemandeFichierOuvrir(QWidget* parent, const QString& titre, const QString& filtre);
QString DemandeFichierEnregistrer(QWidget* parent, const QString& titre, const QString& filtre);
