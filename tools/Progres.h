// "Progrès": the history as charts (Qt Charts): success rate and mean robustness of the made shots
// per week or per day, the general average of each match over time, and per drill a row with its attempts,
// success and best robustness, the weakest first ("à retravailler"). The figures are read once
// when the window opens (TStatistiques); "Exporter en PNG" saves the window's picture.
#pragma once

#include <memory>

#include "historique/StatistiquesHistorique.h"
#include "tools/FenetreOutil.h"

class QBoxLayout;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QToolButton;

class TProgresFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAideProgres = 1485;

    TProgresFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent = nullptr);

    // reads the figures again; false with the reason shown in the window
    bool Actualise();
    // writes the window's picture; false after telling the user
    bool ExportePng(const QString& fichier);

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QLineEdit* JoueurEdit = nullptr;
    QComboBox* PeriodeCombo = nullptr;  // the first chart per week or per day
    QToolButton* ActualiserBtn = nullptr;
    QToolButton* ExporterBtn = nullptr;
    QLabel* ResumeLbl = nullptr;
    QChartView* SemainesChart = nullptr;
    QChartView* PartiesChart = nullptr;
    QTableWidget* ExercicesGrid = nullptr;

    QBoxLayout* haut_ = nullptr;   // the player, the period, the buttons (and the summary when wide)
    QBoxLayout* corps_ = nullptr;  // the charts, then the drills: side by side or one above the other

    // the drills beside the charts when the window is low and wide, under them otherwise
    void Dispose();
    // the summary (kept whole in its tip), cut short with an ellipsis when it lies beside the controls
    void MontreResume();
    void EspaceDates(QChartView& vue);

    std::shared_ptr<TBaseHistorique> base_;
};
