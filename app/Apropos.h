// The about box: the program's name, its picture, what it is, its version from the build, and a
// link to the project's page when the build names one.
#pragma once

#include <QDialog>

class QLabel;

class TAproposFrm : public QDialog {
    Q_OBJECT

  public:
    explicit TAproposFrm(QWidget* parent = nullptr);

    // the version line: "No version " and the build's version, or "non disponible"
    static QString LigneVersion();
    // the project's page, empty when the build names none
    static QString AdresseProjet();

    QLabel* VersionLbl = nullptr;
    QLabel* MisesAJourLbl = nullptr;
};
