// The story of a shot at a glance, under the numeric view's grid: each ball's speed (or spin)
// over the shot's time in the ball's colour, the collisions marked along the time axis and the
// current photo as a cursor line. A click or a drag on the chart chooses the photo under the
// mouse.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>

struct TStockTrajets;

class TVueNumGraphe : public QWidget {
    Q_OBJECT

public:
    enum TGrandeur { gVitesse, gRotation };

    explicit TVueNumGraphe(QWidget* parent = nullptr);

    // the photos shown (nullptr: none); the store must outlive the chart
    void SetTrajets(const TStockTrajets* trajets);
    // colours of balls 1, 2, 3 (player's, other cue ball, red)
    void SetCouleurs(const std::array<QColor, 3>& couleurs);
    void SetGrandeur(TGrandeur g);
    int Photo() const { return photo_; }
    // the cursor line; photos beyond the store show no line
    void SetPhoto(int k);

    // last photo shown: the store's NbPhotos, or -1 without a store
    int NbPhotos() const;
    // speed (cm/s) or spin (rad/s) of ball b (1..3) at photo k
    double Valeur(int b, int k) const;
    // top of the value axis: a round number above every value shown
    double Maximum() const;
    // the plotting area in widget coordinates
    QRectF Zone() const;
    double XDePhoto(int k) const;
    // the photo whose time is nearest to the time under x (the first of equal times)
    int PhotoEnX(double x) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // the user clicked or dragged on the chart
    void PhotoChoisie(int k);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    double Duree() const;
    void DessineAxes(QPainter& p, const QRectF& zone, double maximum) const;
    void DessineChocs(QPainter& p, const QRectF& zone) const;
    void DessineCourbes(QPainter& p, const QRectF& zone, double maximum) const;
    void DessineCurseur(QPainter& p, const QRectF& zone) const;

    const TStockTrajets* trajets_ = nullptr;
    std::array<QColor, 3> couleurs_{QColor(240, 240, 240), QColor(240, 200, 40), QColor(220, 40, 40)};
    TGrandeur grandeur_ = gVitesse;
    int photo_ = 0;
};
