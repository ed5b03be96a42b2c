// The "Système" panel: the corner-five diamond system beside the physics. The player chooses the
// way round the table (first long cushion, far short cushion), a start and an arrival; the panel
// gives the system's first-cushion number (start − arrival) and its line, puts the player's ball
// on that line and aims along it, and plays it on request. After every shot it shows what the
// system predicts for the third cushion and where the simulated ball arrived, so that a player
// can calibrate the system on this table.
#pragma once

#include "jeu/SystemeCoin5.h"
#include "tools/FenetreOutil.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QToolButton;

class TSystemeFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAideSysteme = 1500;

    explicit TSystemeFrm(THoteOutils& hote, QWidget* parent = nullptr);

    TOrientationSysteme Orientation() const;
    // the system's aim for the numbers chosen; false with the reason shown
    bool Visee(TViseeSysteme& v);
    // puts the player's ball on the system's line (the point of the line inside the table nearest
    // to it) and aims at the first cushion's diamond; false with the reason shown
    bool PlacerBtnClick();
    // the same, then the shot
    void JouerBtnClick();
    // the system against the shot just computed (the main window calls it after every shot)
    void CoupJoue();

private:
    // the controls are the window's own; the tests find them by their object names
    QComboBox* PremiereBandeCbx = nullptr;
    QComboBox* CourteCbx = nullptr;
    QDoubleSpinBox* DepartEdit = nullptr;
    QDoubleSpinBox* ArriveeEdit = nullptr;
    QLabel* ViseeLbl = nullptr;
    QToolButton* PlacerBtn = nullptr;
    QToolButton* JouerBtn = nullptr;
    QLabel* ResultatLbl = nullptr;

    void MajVisee();
};
