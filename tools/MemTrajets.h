// The trajectory memory: while memorization is on, every shot fired from the main window leaves
// its cue parameters in a row of the grid and, for each chosen ball, a thinned trajectory line on
// the table, so that several shots can be compared and any of them set up again. The lines hang
// under one container node of the scene; each row owns its lines and frees them when deleted.
// Each kept shot has its own style (a tint over the balls' colours and a dash pattern), shown at
// the head of its row, so that neither two kept shots nor a kept shot and the live lines look alike.
#pragma once

#include <array>
#include <vector>

#include "tools/FenetreOutil.h"
#include "view3d/GLBillardVelmora.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TCaseLed;
class TFactice;
class TGLBilles;
class TLignes;

class TMemTrajetsFrm : public TFenetreOutil {
    Q_OBJECT

public:
    // cue fields (Effet, Hauteur, VitesseQueue, AngleOx, AngleTapis, MasseQueue), then x, y, z of
    // the player's ball, the other cue ball and the red at photo 0
    using TEnregistrement = std::array<float, 15>;
    // E, H, aim, inclination, speed, mass, then the stroke in a player's words
    static constexpr int NbColonnes = 7;

    explicit TMemTrajetsFrm(THoteOutils& hote, QWidget* parent = nullptr);

    // created under the scene's root at the first memorization
    TFactice* ConteneurTrajets = nullptr;

    // memorization is on (its button is down)
    bool MemorisationActive() const;
    // keeps the shot just computed, when memorization is on (forcee: in any case)
    void Memorise(bool forcee = false);
    // deletes row r (1..max) and its lines; the rows below move up
    void Supprime(int r);
    // sets the cue and the balls as they were for the shot of row r; nothing for an empty row
    void Replacer(int r);

    void MemOnClick();
    void DelBtnClick();
    void DelAllBtnClick();
    void ReplaceBtnClick();
    // the maximum goes from its old value to NewValue (Direction 0: no change)
    void MaxTrajetsChangingEx(int NewValue, int Direction);
    void MaxTrajetsClick();
    void DensiteClick();

    // what the grid shows: row 0 is the header, rows 1..max the kept shots
    QString Cellule(int col, int ligne) const;
    int NbLignes() const { return int(lignes_.size()); }
    int LigneCourante() const;
    void SelectionneLigne(int ligne);
    bool LigneUtilisee(int ligne) const;
    // the line of ball b (0 player's, 1 other cue ball, 2 red) kept in row r, or nullptr
    TLignes* Ligne(int r, int b) const;
    // the style of row r (0 .. NbStyles - 1), -1 for an empty row
    static constexpr int NbStyles = 6;
    int Style(int r) const;
    // the table is cleared: every kept line goes, the rows and their records stay
    void EffaceTraits();
    const TEnregistrement& Enregistrement(int r) const { return lignes_.at(size_t(r)).enregistrement; }
    // a kept shot computed on another table than `actuel`'s is greyed ("table modifiée")
    void MajValidite(const TEtatPosition& actuel);
    bool LignePerimee(int r) const { return r >= 1 && r < NbLignes() && lignes_[size_t(r)].perimee; }

private:
    // the controls are the window's own; the tests find them by their object names
    QWidget* Panel1 = nullptr;
    QPushButton* MemOn = nullptr;
    TCaseLed* Jcheck = nullptr;
    TCaseLed* njCheck = nullptr;
    TCaseLed* rgeCheck = nullptr;
    QLabel* DensiteLbl = nullptr;
    QSpinBox* Densite = nullptr;
    QLabel* MaxTrajetsLbl = nullptr;
    QSpinBox* MaxTrajets = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* ReplaceBtn = nullptr;
    QPushButton* DelBtn = nullptr;
    QPushButton* DelAllBtn = nullptr;
    QTableWidget* MemGrid = nullptr;
    // one grid row: its texts, its lines and the record of the shot
    struct TLigneMemo {
        std::array<QString, NbColonnes> textes;
        std::array<TLignes*, 3> lignes{};
        TEnregistrement enregistrement{};
        int style = -1;
        TPARAMPHYS fisik;  // the table the shot was computed on
        bool perimee = false;
    };

    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void CreePanneau();
    // the stages of CreePanneau: the balls kept, the thinning and capacity, the buttons
    void CreeChoixBilles(QGridLayout& grille);
    void CreeCompteurs(QGridLayout& grille);
    void CreeBoutons(QGridLayout& grille);
    // the first style no kept shot uses (the least used when all are)
    int StyleLibre() const;
    void AfficheLigne(int r);
    // frees the lines of a row and forgets its texts
    void VideLigne(int r);
    TGLBilles* BilleDeColonne(int b) const;

    // rows 0..max; row 0 stands for the header and stays empty
    std::vector<TLigneMemo> lignes_;
    int maxPrecedent_ = 3;
};
