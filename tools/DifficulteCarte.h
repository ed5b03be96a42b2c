// The picture of a difficulty evaluation: the success rate over two cue parameters the user picks
// (Effet × Hauteur at first), the current cue marked, a colour legend; exportable as PNG.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "moteurs/DifficulteComptes.h"

class QComboBox;
class QLabel;
class QToolButton;

// the map itself, with its axes and legend; drawn the same on screen and into an image
class TDessinCarte : public QWidget {
    Q_OBJECT

public:
    explicit TDessinCarte(QWidget* parent = nullptr);

    void SetCarte(const TCarteReussites* carte, const TGrilleDifficulte* grille, const TQueueDegres* queue);
    // paints into any device of the given size (the screen, an exported image)
    void Dessine(QPainter& p, const QRect& zone) const;
    // a map of another position: drawn faded on screen
    bool Perimee = false;
    // the map cell under a point of the widget, false outside the map
    bool CelluleEn(const QPoint& point, int& ix, int& iy) const;

    QSize sizeHint() const override { return {420, 330}; }
    QSize minimumSizeHint() const override { return {240, 200}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    // where the cells go in a zone of that size
    QRect ZoneCellules(const QRect& zone) const;
    // the centre of cell (ix, iy) in the cells' rectangle
    QPointF CentreCellule(const QRect& cellules, int ix, int iy) const;
    // the stages of Dessine
    void DessineTitre(QPainter& p, const QRect& zone) const;
    void DessineCellules(QPainter& p, const QRect& cellules) const;
    void DessineGraduations(QPainter& p, const QRect& zone, const QRect& cellules) const;
    void DessineTitresAxes(QPainter& p, const QRect& zone, const QRect& cellules) const;
    void DessineLegende(QPainter& p, const QRect& zone, const QRect& cellules) const;

    const TCarteReussites* carte_ = nullptr;
    const TGrilleDifficulte* grille_ = nullptr;
    const TQueueDegres* queue_ = nullptr;
};

class TDifficulteCarte : public QWidget {
    Q_OBJECT

public:
    explicit TDifficulteCarte(QWidget* parent = nullptr);

    // the results of a complete calculation (the grid as the evaluation bounded it)
    void Montre(const TGrilleDifficulte& grille, const TQueueDegres& queue,
                std::vector<std::int64_t> reussites);
    // no map, and the reason instead
    void Efface(const QString& raison);
    // the map belongs to another position or table: faded, "position modifiée — relancer" above it
    void SetPerimee(bool perimee);
    bool Perimee() const { return Dessin->Perimee; }
    bool ACarte() const { return aCarte_; }
    // the two axes, different rows of the grid (TParamEssai); the map is counted again
    void ChoisitAxes(int x, int y);
    const TCarteReussites& Carte() const { return carte_; }

    // the picture at a given size, and its PNG export (false with the reason)
    QImage Image(const QSize& taille) const;
    bool ExportePng(const QString& nom, QString* erreur = nullptr) const;
    // asks the file name of the export; empty when cancelled (a file dialog, replaced by tests)
    std::function<QString()> DemandeNomPng;
    void ExporteBtnClick();

    // names of the six rows, with and without their unit
    static QString NomParam(int p);
    static QString UniteParam(int p);

private:
    // the controls are the map's own; the tests find them by their object names
    QComboBox* AxeXCbx = nullptr;
    QComboBox* AxeYCbx = nullptr;
    QToolButton* ExporteBtn = nullptr;
    QLabel* RaisonLbl = nullptr;
    TDessinCarte* Dessin = nullptr;
    void AxeChange(QComboBox* change);
    void Recompte();

    bool aCarte_ = false;
    TGrilleDifficulte grille_;
    TQueueDegres queue_;
    std::vector<std::int64_t> reussites_;
    TCarteReussites carte_;
};
