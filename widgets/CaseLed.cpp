#include "widgets/CaseLed.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>

namespace {

// space between the LED and its caption; the glow reaches this far beyond the LED's radius
constexpr int Espace = 5;
constexpr double Halo = 0.4;

// the unlit LED: the same hue, greyed and dark
QColor eteinte(const QColor& c) {
    float h = 0, s = 0, v = 0, a = 0;
    c.getHsvF(&h, &s, &v, &a);
    return QColor::fromHsvF(h < 0 ? 0 : h, s * 0.45f, 0.30f, a);
}

}  // namespace

TCaseLed::TCaseLed(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

TCaseLed::TCaseLed(const QString& texte, QWidget* parent) : TCaseLed(parent) { setText(texte); }

void TCaseLed::setCouleur(const QColor& c) {
    if (!c.isValid()) return;
    couleur_ = c;
    update();
}

int TCaseLed::diametreLed() const {
    return std::max(10, static_cast<int>(std::lround(fontMetrics().height() * 0.9)));
}

int TCaseLed::marge() const {
    // room for the glow, so that it is never cut by the widget's edges
    return 1 + static_cast<int>(std::ceil(Halo * diametreLed() / 2.0));
}

QSize TCaseLed::sizeHint() const {
    const int d = diametreLed();
    const int m = marge();
    const int texte = text().isEmpty() ? 0 : Espace + fontMetrics().horizontalAdvance(text()) + 2;
    return {m + d + texte + m, std::max(d + 2 * m, fontMetrics().height() + 4)};
}

QSize TCaseLed::minimumSizeHint() const {
    const int d = diametreLed();
    const int m = marge();
    return {m + d + m, std::max(d + 2 * m, fontMetrics().height() + 4)};
}

void TCaseLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!isEnabled()) p.setOpacity(0.45);

    const int d = diametreLed();
    const int m = marge();
    const QRectF led(m + 0.5, (height() - d) / 2.0 + 0.5, d - 1.0, d - 1.0);
    const QPointF centre = led.center();
    const qreal r = led.width() / 2.0;
    const bool allumee = isChecked();
    QColor teinte = allumee ? couleur_ : eteinte(couleur_);
    if (isDown()) teinte = teinte.darker(115);

    // a soft glow around the lit LED
    if (allumee) {
        const qreal rh = r * (1.0 + Halo);
        QRadialGradient halo(centre, rh);
        QColor h = couleur_;
        h.setAlphaF(0.45f);
        halo.setColorAt(r / rh, h);
        h.setAlphaF(0.0f);
        halo.setColorAt(1.0, h);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(centre, rh, rh);
    }

    // the bezel: dark above, light below, as if the LED sat in a hole
    QLinearGradient bague(led.topLeft(), led.bottomLeft());
    bague.setColorAt(0.0, palette().color(QPalette::Shadow));
    bague.setColorAt(1.0, palette().color(QPalette::Light));
    p.setBrush(bague);
    p.drawEllipse(led);

    // the lens, lit from the upper left
    const qreal rl = r - std::max<qreal>(1.2, r * 0.16);
    QRadialGradient lentille(centre + QPointF(-rl * 0.3, -rl * 0.3), rl * 1.3);
    lentille.setColorAt(0.0, teinte.lighter(allumee ? 160 : 125));
    lentille.setColorAt(0.55, teinte);
    lentille.setColorAt(1.0, teinte.darker(170));
    p.setBrush(lentille);
    p.drawEllipse(centre, rl, rl);

    // the glint
    QRadialGradient reflet(centre + QPointF(-rl * 0.35, -rl * 0.45), rl * 0.55);
    reflet.setColorAt(0.0, QColor(255, 255, 255, allumee ? 190 : 90));
    reflet.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(reflet);
    p.drawEllipse(centre + QPointF(-rl * 0.3, -rl * 0.4), rl * 0.55, rl * 0.42);

    if (text().isEmpty()) return;

    // the caption, then the focus frame around it
    const int x = m + d + Espace;
    const QRect zone(x, 0, std::max(0, width() - x - 1), height());
    const QString texte = fontMetrics().elidedText(text(), Qt::ElideRight, zone.width());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(zone, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, texte);
    if (hasFocus()) {
        QStyleOptionFocusRect cadre;
        cadre.initFrom(this);
        cadre.rect = fontMetrics()
                         .boundingRect(zone, Qt::AlignLeft | Qt::AlignVCenter, texte)
                         .adjusted(-2, -1, 2, 1)
                         .intersected(rect());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &cadre, &p, this);
    }
}
