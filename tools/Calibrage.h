// The table tuning window: fourteen physical constants of the simulation in a grid, each with its
// initial value (last load, save or reset) and its current value, a jog wheel for the selected
// one, restore and factory buttons, and the parameter files (".fsk"). Every change goes straight
// into the simulation's constants through ChangeParam, so the next shot uses it.
#pragma once

#include <array>
#include <functional>

#include "tools/FenetreOutil.h"

class QLabel;
class QPushButton;
class QTableWidget;
class TBillardVelmora;
class TMolette;

class TCalibrageFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int NbParams = 14;
    // below this no constant of the grid can go
    static constexpr float Plancher = 0.001f;

    explicit TCalibrageFrm(THoteOutils& hote, QWidget* parent = nullptr);

    // binds the window to a simulation; its constants become the initial and current values
    void ChargeGrille(TBillardVelmora& simu);
    // the same with the main window's simulation; nothing before the 3D billiard exists
    void ChargeGrille();
    // the parameter file's name, or the text saying there is none
    void AfficheFichier();
    // the one way a constant is written: floor, the constants' bounding, grid, and the shot when
    // auto-fire is on
    void ChangeParam(int ligne, bool tirer, float valeur);

    // the cell editor's text changed (the user typed); a text that is no number is reported
    void FisikGridSetEditText(int ACol, int ARow, const QString& texte);
    // the wheel takes the row's current value and a scale that suits it
    void FisikGridSelectCell(int ACol, int ARow);
    // the wheel asks for a value (drag, wheel or keys)
    void RoueValeurDemandee(double valeur);

    void RetabCurrentBtnClick();
    void RetabAllBtnClick();
    void ValeursUsineBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();
    // the buttons' work once a name is chosen; false (after telling why) when nothing changed
    bool ChargeFichier(const QString& nom);
    bool SauveFichier(const QString& nom);
    // the chosen name with its extension replaced by ".fsk"
    static QString NomFsk(const QString& nom);

    // what the grid shows: row 0 is the header, rows 1..14 the constants
    QString Cellule(int col, int ligne) const;
    int LigneCourante() const;
    void SelectionneLigne(int ligne);
    float ValeurInitiale(int ligne) const { return EnLigne(ligne) ? initiales_[ligne] : 0.f; }
    float ValeurActuelle(int ligne) const { return EnLigne(ligne) ? actuelles_[ligne] : 0.f; }

    // asks for a parameter file name (true: to save); empty when cancelled. Tests replace it.
    std::function<QString(bool enregistrer)> DemandeFichier;

private:
    // the controls are the window's own; the tests find them by their object names
    QLabel* FisikLbl = nullptr;
    QTableWidget* FisikGrid = nullptr;
    QWidget* Panel1 = nullptr;
    TMolette* Roue = nullptr;
    QPushButton* RetabCurrentBtn = nullptr;
    QPushButton* RetabAllBtn = nullptr;
    QPushButton* ValeursUsineBtn = nullptr;
    QPushButton* LoadBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    static bool EnLigne(int ligne) { return ligne >= 1 && ligne <= NbParams; }
    void CreeGrille();
    void CreePanneau();
    void EcritCellule(int col, int ligne, float valeur);
    // the value of a row as the simulation holds it
    float LitParam(int ligne) const;

    TBillardVelmora* simu_ = nullptr;
    std::array<float, NbParams + 1> initiales_{};
    std::array<float, NbParams + 1> actuelles_{};
};
