#include "widgets/Molette.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// smallest scale quantities, so that a careless setting never divides by zero or loops forever
constexpr double MinEchelle = 1e-9;
// a wheel notch in eighths of a degree
constexpr double Cran = 120.0;
// never draw more marks than this, whatever the scale
constexpr int MaxMarques = 4000;

double positif(double v, double defaut) { return (std::isfinite(v) && v > MinEchelle) ? v : defaut; }

}  // namespace

TMolette::TMolette(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::SizeHorCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TMolette::setValeur(double v) {
    if (!std::isfinite(v) || v == valeur_) return;
    valeur_ = v;
    update();
    emit valeurChangee(valeur_);
}

void TMolette::setOuverture(double v) {
    ouverture_ = positif(v, ouverture_);
    update();
}

void TMolette::setPas(double v) {
    pas_ = positif(v, pas_);
    update();
}

void TMolette::setPetitPas(double v) {
    petitPas_ = positif(v, petitPas_);
    update();
}

void TMolette::setEchelle(int decimales, double pas, double petitPas, double ouverture) {
    decimales_ = std::clamp(decimales, 0, 10);
    pas_ = positif(pas, pas_);
    petitPas_ = positif(petitPas, petitPas_);
    ouverture_ = positif(ouverture, ouverture_);
    update();
}

void TMolette::setHauteurGrandeMarque(int px) {
    hauteurGrande_ = std::max(1, px);
    updateGeometry();
    update();
}

void TMolette::setHauteurPetiteMarque(int px) {
    hauteurPetite_ = std::max(1, px);
    update();
}

void TMolette::setDecimales(int n) {
    decimales_ = std::clamp(n, 0, 10);
    update();
}

void TMolette::setCouleurRepere(const QColor& c) {
    couleurRepere_ = c;
    update();
}

double TMolette::ratioGlisse(int y) const {
    const double largeur = std::max(1, width());
    // the fine strip along the top edge is worth a fiftieth of the normal drag
    return y < hauteurPetite_ ? ouverture_ / (largeur * 50.0) : ouverture_ / largeur;
}

double TMolette::ecartMolette(int angleDelta, int y) const {
    const double ecart = pasMolette_ * angleDelta / Cran;
    return y <= hauteurPetite_ ? ecart / 10.0 : ecart;
}

void TMolette::tourneMolette(int angleDelta, QPoint pos) {
    if (angleDelta == 0) return;
    demande(valeur_ + ecartMolette(angleDelta, pos.y()));
}

void TMolette::demande(double v) {
    if (!std::isfinite(v)) return;
    if (!asservie_) setValeur(v);
    emit valeurDemandee(v);
}

QSize TMolette::sizeHint() const { return {160, hauteurGrande_ + fontMetrics().height() + 6}; }

QSize TMolette::minimumSizeHint() const { return {48, hauteurGrande_ + fontMetrics().height() + 4}; }

void TMolette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // the drag is measured from the press: no drift however long it lasts
    const QPoint pos = event->position().toPoint();
    glisse_ = true;
    xDepart_ = pos.x();
    valeurDepart_ = valeur_;
    ratio_ = ratioGlisse(pos.y());
    derniereDemande_ = valeur_;
    event->accept();
}

void TMolette::mouseMoveEvent(QMouseEvent* event) {
    if (!glisse_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // dragging to the left brings higher values under the marker
    const double v = (xDepart_ - event->position().toPoint().x()) * ratio_ + valeurDepart_;
    if (v != derniereDemande_) {
        derniereDemande_ = v;
        demande(v);
    }
    event->accept();
}

void TMolette::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) glisse_ = false;
    QWidget::mouseReleaseEvent(event);
}

void TMolette::wheelEvent(QWheelEvent* event) {
    // a horizontal wheel turns the dial too when there is no vertical part
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : -angle.x();
    if (delta == 0) {
        event->ignore();
        return;
    }
    tourneMolette(delta, event->position().toPoint());
    event->accept();
}

void TMolette::keyPressEvent(QKeyEvent* event) {
    // shift gives a tenth of the step, as the fine strip does for the mouse
    const double fin = (event->modifiers() & Qt::ShiftModifier) ? 0.1 : 1.0;
    double ecart = 0.0;
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            ecart = petitPas_ * fin;
            break;
        case Qt::Key_Left:
        case Qt::Key_Down:
            ecart = -petitPas_ * fin;
            break;
        case Qt::Key_PageUp:
            ecart = pas_ * fin;
            break;
        case Qt::Key_PageDown:
            ecart = -pas_ * fin;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    demande(valeur_ + ecart);
    event->accept();
}

QString TMolette::texteGraduation(double u) const {
    // no "-0" under the marker
    if (std::abs(u) < petitPas_ * 1e-6) u = 0.0;
    return locale().toString(u, 'f', decimales_);
}

void TMolette::dessineMarques(QPainter& p, const QRectF& zone, const QColor& encre) const {
    const double largeur = zone.width();
    const double cx = zone.center().x();
    const double pxParUnite = largeur / ouverture_;
    const double demi = ouverture_ / 2.0;

    // small marks only when they stay apart; big marks are small marks too
    const double ecartPetit = petitPas_ * pxParUnite;
    const long long parGrand = std::max(1LL, std::llround(pas_ / petitPas_));

    // labels every n big marks so that they never overlap
    const QFontMetricsF fm(p.font());
    const double largeurTexte = std::max(fm.horizontalAdvance(texteGraduation(valeur_ - demi)),
                                         fm.horizontalAdvance(texteGraduation(valeur_ + demi)));
    const double ecartGrand = pas_ * pxParUnite;
    long long sautTexte = 1;
    while (ecartGrand * static_cast<double>(sautTexte) < largeurTexte + 8.0 && sautTexte < 1000000)
        sautTexte *= 2;

    const double bas = valeur_ - demi - pas_;
    const double haut = valeur_ + demi + pas_;
    const double k0 = std::ceil(bas / petitPas_);
    const double k1 = std::floor(haut / petitPas_);
    if (!std::isfinite(k0) || !std::isfinite(k1) || std::abs(k0) > 1e15 || std::abs(k1) > 1e15) return;
    const long long i0 = static_cast<long long>(k0);
    const long long i1 = static_cast<long long>(k1);
    // a scale far too dense for the width keeps every n-th big mark only
    long long pasIndice = ecartPetit >= 3.0 ? 1 : parGrand;
    if ((i1 - i0) / pasIndice > MaxMarques) pasIndice = parGrand;
    while ((i1 - i0) / pasIndice > MaxMarques) pasIndice *= 2;
    const long long premier = (i0 >= 0 ? (i0 + pasIndice - 1) / pasIndice : -((-i0) / pasIndice)) * pasIndice;

    // labels right under the big marks, centred in what height is left on a tall dial
    const double libre = zone.bottom() - (zone.top() + hauteurGrande_ + 1.0) - fm.height();
    const double ligneTexte =
        zone.top() + hauteurGrande_ + 1.0 + std::max(0.0, libre / 2.0 - 2.0) + fm.ascent();

    QPen trait(encre);
    trait.setCosmetic(true);
    for (long long i = premier; i <= i1; i += pasIndice) {
        const double u = static_cast<double>(i) * petitPas_;
        const double x = cx + (u - valeur_) * pxParUnite;
        if (x < zone.left() - largeurTexte || x > zone.right() + largeurTexte) continue;
        const bool grand = i % parGrand == 0;
        // marks hang from the top edge, big ones longer and a little bolder
        trait.setWidthF(grand ? 1.4 : 1.0);
        p.setPen(trait);
        const double h = grand ? hauteurGrande_ : hauteurPetite_;
        p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.top() + h));
        if (grand && (i / parGrand) % sautTexte == 0) {
            const QString texte = texteGraduation(u);
            const double w = fm.horizontalAdvance(texte);
            p.drawText(QPointF(x - w / 2.0, ligneTexte), texte);
        }
    }
}

void TMolette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    const QPalette::ColorGroup groupe =
        !isEnabled() ? QPalette::Disabled : (isActiveWindow() ? QPalette::Active : QPalette::Inactive);
    const QPalette& pal = palette();
    const QColor fond = pal.color(groupe, QPalette::Base);
    const QColor bouton = pal.color(groupe, QPalette::Button);
    const QColor encre = pal.color(groupe, QPalette::Text);
    const QColor cadre =
        hasFocus() ? pal.color(groupe, QPalette::Highlight) : pal.color(groupe, QPalette::Mid);
    QColor repere = couleurRepere_.isValid() ? couleurRepere_ : pal.color(groupe, QPalette::Highlight);
    if (!isEnabled()) repere.setAlphaF(0.4f);

    const QRectF boite = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal rayon = std::min<qreal>(4.0, boite.height() / 4.0);
    QPainterPath forme;
    forme.addRoundedRect(boite, rayon, rayon);

    // the body: base colour, lighter in the middle like the face of a drum
    QLinearGradient corps(boite.topLeft(), boite.topRight());
    corps.setColorAt(0.0, bouton.darker(112));
    corps.setColorAt(0.5, fond);
    corps.setColorAt(1.0, bouton.darker(112));
    p.fillPath(forme, corps);

    p.save();
    p.setClipPath(forme);

    // the fine strip along the top edge, where a drag is fifty times finer
    QColor bande = pal.color(groupe, QPalette::Highlight);
    bande.setAlphaF(0.10f);
    p.fillRect(QRectF(boite.left(), boite.top(), boite.width(), hauteurPetite_), bande);

    // the scale
    QFont police = font();
    police.setPointSizeF(std::max(6.0, police.pointSizeF() * 0.85));
    p.setFont(police);
    dessineMarques(p, boite, encre);

    // the edges fade out, as if the scale ran round a drum
    QLinearGradient bords(boite.topLeft(), boite.topRight());
    QColor voile = bouton;
    voile.setAlphaF(0.85f);
    QColor clair = bouton;
    clair.setAlphaF(0.0f);
    bords.setColorAt(0.0, voile);
    bords.setColorAt(0.22, clair);
    bords.setColorAt(0.78, clair);
    bords.setColorAt(1.0, voile);
    p.fillRect(boite, bords);

    // the fixed marker: a line with a small pointer at the bottom
    // a 2 px line on a whole x covers two full pixel columns: crisp at any width
    const qreal cx = std::floor(width() / 2.0);
    QPen pen(repere, 2.0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(QPointF(cx, boite.top()), QPointF(cx, boite.bottom()));
    const qreal t = std::clamp<qreal>(boite.height() / 6.0, 3.0, 6.0);
    QPainterPath pointe;
    pointe.moveTo(cx - t, boite.bottom());
    pointe.lineTo(cx + t, boite.bottom());
    pointe.lineTo(cx, boite.bottom() - t);
    pointe.closeSubpath();
    p.fillPath(pointe, repere);
    p.restore();

    // the frame, in the highlight colour when the dial has the focus
    p.setPen(QPen(cadre, hasFocus() ? 1.5 : 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(forme);
}
