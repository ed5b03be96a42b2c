// The difficulty window driven by a test, whatever hosts it (a fake of the main window or the
// program itself): shown, its grid's counts set, a run started and awaited, its cells read.
#pragma once

#include <QApplication>
#include <QTableWidget>

#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tools/Difficulte.h"

struct TPiloteDifficulte {
    TDifficulteFrm* d = nullptr;

    void Montre(TDifficulteFrm* fenetre) {
        d = fenetre;
        d->show();
        QApplication::processEvents();
    }
    void Comptes(TDecalages n) {
        for (int r = 0; r < NbParamsEssai; ++r) d->ChangeCellule(1, r + 1, n[r]);
    }
    // a grid that keeps two cores busy for a minute
    void GrandeGrille() { Comptes({30, 30, 30, 5, 0, 0}); }
    bool Calcule() {
        d->CalculBtnClick();
        return Attends([this] { return !d->EnCours(); });
    }
    QString Cellule(int colonne, int ligne) const {
        return ControleDe<QTableWidget>(*d, "QGrid")->item(ligne - 1, colonne - 1)->text();
    }
};
