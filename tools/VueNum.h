// The numeric view: photo by photo, the position P, velocity V and rotation R of the three balls
// of the last computed shot, with each ball's motion and the event of the photo. The values of
// the current photo can be edited (they are written into the photo store), the balls' current
// 3D positions copied into it, and the shot replayed by hand from it without the cue. Launch
// files (".vel2") are read and written, and every photo is exported to a ".pvr" text file.
// Under the grid, a chart tells the shot's story: each ball's speed or spin over time.
#pragma once

#include <array>

#include "sim/ProcsVecteurs.h"
#include "tools/FenetreOutil.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QTableWidget;
class QToolButton;
class TVueNumGraphe;

class TVueNumFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int NbColonnes = 5;
    static constexpr int NbLignes = 10;

    explicit TVueNumFrm(THoteOutils& hote, QWidget* parent = nullptr);

    // true: angles and norm; false: x, y, z
    bool Spherique = true;
    // the store holds a computed trajectory
    bool TrajetPresent = false;

    // re-reads the store after a shot and goes to photo k (0 unless told), within the shot
    void RafraichitVue(int k = 0);
    // shows the photo of the cursor, in the grid and (with a trajectory) in the 3D view
    void CurseurChange();
    void RemplitGrille(int k);
    void AfficheLigne(int r);
    QString Cellule(int colonne, int ligne) const;
    // the vector of the current photo that row r shows, or none
    TVecteur* Vecteur(int r) const { return (r >= 0 && r < NbLignes) ? vecteurs_[std::size_t(r)] : nullptr; }

    // the V/R drawing scale: position p of the up-down gives 1/(1 - p) below 0, p + 1 from 0 up
    int ZoomPosition() const { return zoomPosition_; }
    void SetZoomPosition(int p);
    void ZoomUpDownClick();
    double EchelleVR() const;

    // a header cell toggles the display mode; another fixed cell copies the balls into the photo
    void PVRGridFixedCellClick(int colonne, int ligne);
    // applies a typed cell; false with the message when the text is not a number (nothing changes)
    bool PVRGridSetEditText(int colonne, int ligne, const QString& texte, QString* erreur = nullptr);

    // the hand launch from the photo of the cursor
    void FeuBtnClick();
    // the file commands: a dialog, then the operation on the chosen name
    void LoadVel2BtnClick();
    void SaveVel2BtnClick();
    void ExportBtnClick();
    // the operations themselves; false after telling the user why
    bool ChargeVel2(const QString& nom);
    bool SauveVel2(const QString& nom);
    bool Exporte(const QString& nom);

protected:
    void showEvent(QShowEvent* e) override;
    // F1 reaching the window (when the window's F1 shortcut did not take it)
    void keyPressEvent(QKeyEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* PosLbl = nullptr;
    // the shot in a player's words, and where the balls met the cushions, in diamonds (ball 1's,
    // or every ball's when ToutesBillesChk is checked)
    QLabel* EnteteLbl = nullptr;
    QCheckBox* ToutesBillesChk = nullptr;
    QScrollBar* Curseur = nullptr;
    QToolButton* FeuBtn = nullptr;
    QTableWidget* PVRGrid = nullptr;
    TVueNumGraphe* Graphe = nullptr;
    QToolButton* GrapheVitesseBtn = nullptr;
    QToolButton* GrapheRotationBtn = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* ChocLbl = nullptr;
    QToolButton* LoadVel2Btn = nullptr;
    QToolButton* SaveVel2Btn = nullptr;
    QToolButton* ExportBtn = nullptr;
    QLabel* zoomLbl = nullptr;
    QWidget* ZoomUpDown = nullptr;

    void CreePanneauHaut();
    void MajEntete();
    void CreeGrille();
    void CreeGraphe(QWidget* conteneur);
    void CreePanneauBas();
    void EcritCellule(int colonne, int ligne, const QString& texte);
    void EcritEntetes();
    // the balls at the current photo and, when asked for, their V and R
    void MontrePhoto(int k);
    void JoueALaMain(int k);
    void Erreur(const QString& texte);

    std::array<TVecteur*, NbLignes> vecteurs_{};
    int zoomPosition_ = -4;
};
