// The difficulty evaluation window: a grid of variations around the current cue (trials on each
// side and step, per parameter), the volume to test, the trials and time left while the
// calculation runs, the successes and their volume, an optional results file (".bul"), and the
// map of where the successes lie. The trials run on every core through TEvaluationDifficulte;
// the window polls them and stays responsive, and the shot cannot be changed meanwhile.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "moteurs/EvaluationDifficulte.h"
#include "tools/FenetreOutil.h"
#include "view3d/GLBillardVelmora.h"

class QLabel;
class QProgressBar;
class QShortcut;
class QTableWidget;
class QToolButton;
class TDifficulteCarte;

class TDifficulteFrm : public TFenetreOutil {
    Q_OBJECT

public:
    explicit TDifficulteFrm(THoteOutils& hote, QWidget* parent = nullptr);
    ~TDifficulteFrm() override;

    // -- state: trial counts and steps (rows Effet .. Masse), estimated time of 1000 trials
    const TGrilleDifficulte& Grille() const { return grille_; }
    std::int64_t NbTotal() const { return grille_.NbTotal(); }
    double VolumeCellule() const { return grille_.VolumeCellule(); }
    double DureeMille = 3.0;
    std::int64_t NbReussis = 0;
    bool EnCours() const { return enCours_; }
    // the last calculation (Reussites, grid and cue it used), until the next one
    const TEvaluationDifficulte* Evaluation() const { return evaluation_.get(); }
    const TResultatDifficulte& DernierResultat() const { return resultat_; }

    // -- operations
    // the single write path of the grid: column 1 counts, column 2 steps, rows 1 (Effet) to 6 (Masse)
    void ChangeCellule(int colonne, int ligne, double valeur);
    // the editor's text of a cell: "." and "," are the decimal separator; false when not a number
    bool QGridSetEditText(int colonne, int ligne, const QString& texte);
    // a click on the "essais" heading: the left half lowers the current row's count, the right raises it
    void QGridFixedCellClick(int colonne, bool moitieGauche);
    // trials left and their time as a time of day (days in front beyond 24 hours)
    void AfficheTemps(std::int64_t n);
    static QString TexteDuree(double secondes);
    void CalculBtnClick();
    void EscBtnClick();
    // the results belong to the position and table they were calculated for: faded, with
    // "position modifiée — relancer", while `actuel` is another one
    void MajValidite(const TEtatPosition& actuel);

    // asks where to save the results (the save dialog); empty when cancelled. Replaced by tests.
    std::function<QString()> DemandeNomBul;
    // worker threads of a calculation; 0: one per core
    int NbThreads = 0;

signals:
    // a calculation has ended (finished, stopped or failed), labels and map updated
    void CalculTermine();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QTableWidget* QGrid = nullptr;
    QToolButton* SaveResultBtn = nullptr;
    QToolButton* CalculBtn = nullptr;
    QToolButton* EscBtn = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* dVTestLbl = nullptr;
    QLabel* nEssaisLbl = nullptr;
    QLabel* TempsRestantLbl = nullptr;
    QLabel* ReussisLbl = nullptr;
    QLabel* DvReussiLbl = nullptr;
    QProgressBar* AvancementBar = nullptr;
    TDifficulteCarte* Carte = nullptr;
    // the calculation of the shot on display with the grid as it is
    std::unique_ptr<TEvaluationDifficulte> NouvelleEvaluation() const;
    // times a few trials of the current grid for the estimate
    void EtalonneDureeMille();

    void CreeGrille();
    void CreePanneau(QWidget* panel1);
    // labels that follow the grid
    void AfficheVolume();
    void AfficheCellule(int colonne, int ligne);
    // the calculation running, polled; its end
    void Suivi();
    void Fin(const TResultatDifficulte& r);
    void Verrouille(bool enCours);

    TGrilleDifficulte grille_;
    std::unique_ptr<TEvaluationDifficulte> evaluation_;
    TResultatDifficulte resultat_;
    QTimer suivi_;
    QShortcut* echap_ = nullptr;
    bool enCours_ = false;
    // DureeMille comes from this machine (a calibration or the last calculation)
    bool dureeMesuree_ = false;
    // a cell being edited keeps the text the user types
    bool enEdition_ = false;
    QString nomResultats_;
    TEtatPosition etatCalcul_;

    friend class TEditeurCellule;
};
