#include "tools/VueNumGraphe.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "sim/C1_Types.h"
#include "sim/ProcsVecteurs.h"

namespace {

// the chart is drawn on the colour of the cloth: the white and the yellow ball show on it
const QColor Tapis(22, 88, 58);
const QColor Graduation(255, 255, 255, 45);
const QColor TexteAxes(90, 90, 90);
const QColor CouleurCurseur(80, 220, 255);

// colour of a collision mark by its kind
QColor CouleurChoc(TTypeChoc genre) {
    switch (genre) {
        case tcBilleBille:
            return {255, 150, 30};
        case tcBilleBande:
            return {130, 190, 255};
        case tcBilleTapis:
            return {215, 185, 130};
        default:
            return {};
    }
}

// a round step (1, 2, 2.5 or 5 times a power of ten) at least v
double PasRond(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (const double f : {1.0, 2.0, 2.5, 5.0})
        if (f * p >= v * (1 - 1e-9)) return f * p;
    return 10 * p;
}

QString TexteGraduation(double v) { return QLocale().toString(v, 'g', 4); }

}  // namespace

TVueNumGraphe::TVueNumGraphe(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::PointingHandCursor);
}

void TVueNumGraphe::SetTrajets(const TStockTrajets* trajets) {
    trajets_ = trajets;
    update();
}

void TVueNumGraphe::SetCouleurs(const std::array<QColor, 3>& couleurs) {
    couleurs_ = couleurs;
    update();
}

void TVueNumGraphe::SetGrandeur(TGrandeur g) {
    if (g == grandeur_) return;
    grandeur_ = g;
    update();
}

void TVueNumGraphe::SetPhoto(int k) {
    if (k == photo_) return;
    photo_ = k;
    update();
}

int TVueNumGraphe::NbPhotos() const {
    return trajets_ ? std::clamp<int>(trajets_->NbPhotos, 0, NbPhotosMax) : -1;
}

double TVueNumGraphe::Valeur(int b, int k) const {
    if (!trajets_ || b < 1 || b > NbBilles || k < 0 || k > NbPhotosMax) return 0;
    const TPVR& pvr = trajets_->Trajets[b][k];
    return Norme(grandeur_ == gVitesse ? pvr.Vitesse : pvr.Rotation);
}

double TVueNumGraphe::Maximum() const {
    double m = 0;
    for (int b = 1; b <= NbBilles; ++b)
        for (int k = 0; k <= NbPhotos(); ++k) {
            const double v = Valeur(b, k);
            if (std::isfinite(v)) m = std::max(m, v);
        }
    // four round steps up to the highest value
    const double pas = PasRond(m / 4);
    return std::max(pas, std::ceil(m / pas - 1e-9) * pas);
}

double TVueNumGraphe::Duree() const {
    const int n = NbPhotos();
    if (n < 1) return 0;
    const double t = trajets_->Temps[n];
    return std::isfinite(t) && t > 0 ? t : 0;
}

QRectF TVueNumGraphe::Zone() const {
    const QFontMetricsF fm(font());
    const double gauche = fm.horizontalAdvance(QStringLiteral("00000")) + 8;
    const double haut = fm.height() + 4;
    const double bas = fm.height() + 4;
    return QRectF(gauche, haut, std::max(1.0, width() - gauche - 8), std::max(1.0, height() - haut - bas));
}

double TVueNumGraphe::XDePhoto(int k) const {
    const QRectF z = Zone();
    const double duree = Duree();
    if (duree <= 0 || k < 0 || k > NbPhotos()) return z.left();
    return z.left() + std::clamp(trajets_->Temps[k] / duree, 0.0, 1.0) * z.width();
}

int TVueNumGraphe::PhotoEnX(double x) const {
    const int n = NbPhotos();
    const double duree = Duree();
    if (n < 1 || duree <= 0) return 0;
    const QRectF z = Zone();
    const double t = std::clamp((x - z.left()) / z.width(), 0.0, 1.0) * duree;
    // the times grow with the photos: the nearest of the two around t
    const double* debut = trajets_->Temps.data();
    const double* fin = debut + n + 1;
    int i = int(std::lower_bound(debut, fin, t) - debut);
    if (i > n) i = n;
    if (i > 0 && t - debut[i - 1] <= debut[i] - t) --i;
    while (i > 0 && debut[i - 1] == debut[i]) --i;
    return i;
}

QSize TVueNumGraphe::sizeHint() const { return {320, 150}; }

QSize TVueNumGraphe::minimumSizeHint() const { return {160, 80}; }

void TVueNumGraphe::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || NbPhotos() < 0) return QWidget::mousePressEvent(e);
    emit PhotoChoisie(PhotoEnX(e->position().x()));
    e->accept();
}

void TVueNumGraphe::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton) || NbPhotos() < 0) return QWidget::mouseMoveEvent(e);
    // dragging scrubs through the photos
    const int k = PhotoEnX(e->position().x());
    if (k != photo_) emit PhotoChoisie(k);
    e->accept();
}

void TVueNumGraphe::DessineAxes(QPainter& p, const QRectF& zone, double maximum) const {
    const QFontMetricsF fm(p.font());
    // the values: four steps, labelled on the left
    for (int i = 0; i <= 4; ++i) {
        const double v = maximum * i / 4;
        const double y = zone.bottom() - zone.height() * i / 4;
        if (i > 0 && i < 4) {
            p.setPen(QPen(Graduation, 1));
            p.drawLine(QPointF(zone.left(), y), QPointF(zone.right(), y));
        }
        p.setPen(TexteAxes);
        const QString texte = TexteGraduation(v);
        p.drawText(QPointF(zone.left() - 4 - fm.horizontalAdvance(texte), y + fm.ascent() / 2 - 1), texte);
    }
    // the quantity and its unit above the values
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QPointF(2, fm.ascent() + 1),
               grandeur_ == gVitesse ? QStringLiteral("vitesse (cm/s)") : QStringLiteral("rotation (rad/s)"));

    // the time: round steps, labelled under the chart, the unit at the end
    const double duree = Duree();
    if (duree <= 0) return;
    const double pas = PasRond(duree / 5);
    const double base = zone.bottom() + fm.ascent() + 2;
    for (int i = 0; pas * i <= duree * (1 + 1e-9); ++i) {
        const double x = zone.left() + pas * i / duree * zone.width();
        if (i > 0) {
            p.setPen(QPen(Graduation, 1));
            p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
        }
        p.setPen(TexteAxes);
        const QString texte = TexteGraduation(pas * i);
        const double w = fm.horizontalAdvance(texte);
        p.drawText(
            QPointF(std::min(x - w / 2, zone.right() - w - fm.horizontalAdvance(QStringLiteral(" s"))), base),
            texte);
    }
    p.drawText(QPointF(zone.right() - fm.horizontalAdvance(QStringLiteral("s")), base), QStringLiteral("s"));
}

void TVueNumGraphe::DessineChocs(QPainter& p, const QRectF& zone) const {
    // a tick along the bottom per collision, a faint line up the chart for the ball-ball ones
    for (int k = 1; k <= NbPhotos(); ++k) {
        const TTypeChoc genre = trajets_->TypesChocs[k];
        if (genre == tcAucun) continue;
        const QColor c = CouleurChoc(genre);
        if (!c.isValid()) continue;
        const double x = XDePhoto(k);
        if (genre == tcBilleBille) {
            QColor voile = c;
            voile.setAlpha(90);
            QPen pointilles(voile, 1, Qt::DashLine);
            p.setPen(pointilles);
            p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
        }
        p.setPen(QPen(c, 2));
        p.drawLine(QPointF(x, zone.bottom() - 7), QPointF(x, zone.bottom()));
    }
}

void TVueNumGraphe::DessineCourbes(QPainter& p, const QRectF& zone, double maximum) const {
    const int n = NbPhotos();
    // the red last, so that it lies on top of the two cue balls
    for (int b = 1; b <= NbBilles; ++b) {
        QPolygonF ligne;
        ligne.reserve(n + 1);
        for (int k = 0; k <= n; ++k) {
            const double v = Valeur(b, k);
            if (!std::isfinite(v)) continue;
            const double y = zone.bottom() - std::clamp(v / maximum, 0.0, 1.0) * zone.height();
            ligne << QPointF(XDePhoto(k), y);
        }
        QPen pen(couleurs_[std::size_t(b - 1)], 1.6);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.drawPolyline(ligne);
    }
}

void TVueNumGraphe::DessineCurseur(QPainter& p, const QRectF& zone) const {
    if (photo_ < 0 || photo_ > NbPhotos()) return;
    const double x = XDePhoto(photo_);
    p.setPen(QPen(CouleurCurseur, 1.5));
    p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
    QPainterPath pointe;
    pointe.moveTo(x - 4, zone.top());
    pointe.lineTo(x + 4, zone.top());
    pointe.lineTo(x, zone.top() + 5);
    pointe.closeSubpath();
    p.fillPath(pointe, CouleurCurseur);
}

void TVueNumGraphe::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont police = font();
    police.setPointSizeF(std::max(6.0, police.pointSizeF() * 0.85));
    p.setFont(police);

    const QRectF zone = Zone();
    p.fillRect(zone, Tapis);
    p.setPen(QPen(Tapis.darker(140), 1));
    p.drawRect(zone);
    if (NbPhotos() < 1 || Duree() <= 0) {
        p.setPen(QColor(230, 230, 230));
        p.drawText(zone, Qt::AlignCenter, QStringLiteral("Aucun trajet"));
        return;
    }
    const double maximum = Maximum();
    DessineAxes(p, zone, maximum);
    p.save();
    p.setClipRect(zone.adjusted(-1, -2, 1, 1));
    DessineChocs(p, zone);
    DessineCourbes(p, zone, maximum);
    DessineCurseur(p, zone);
    p.restore();
}
