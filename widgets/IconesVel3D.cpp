#include "widgets/IconesVel3D.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "widgets/IconesBilles.h"

namespace {

QPixmap Toile(int taille, qreal ratioPixels) {
    const int cote = static_cast<int>(std::ceil(taille * ratioPixels));
    QPixmap image(cote, cote);
    image.setDevicePixelRatio(ratioPixels);
    image.fill(Qt::transparent);
    return image;
}

// a ball of diameter d centred at c, drawn by the status bar's ball picture
void DessineBille(QPainter& p, int indice, QPointF c, qreal d, qreal ratioPixels) {
    const QPixmap bille = IconeBille(indice, static_cast<int>(std::round(d)), ratioPixels);
    p.drawPixmap(QPointF(c.x() - d / 2, c.y() - d / 2), bille);
}

}  // namespace

QPixmap ImageProgramme(int taille, qreal ratioPixels) {
    QPixmap image = Toile(taille, ratioPixels);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal t = taille;
    // the cloth in its wooden rail
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 64, 64));
    p.drawRoundedRect(QRectF(0, 0, t, t), t * 0.16, t * 0.16);
    p.setBrush(QColor(28, 125, 100));
    p.drawRoundedRect(QRectF(t * 0.08, t * 0.08, t * 0.84, t * 0.84), t * 0.1, t * 0.1);
    // white, yellow and red, as in the opening position
    const qreal d = t * 0.34;
    DessineBille(p, 0, {t * 0.32, t * 0.66}, d, ratioPixels);
    DessineBille(p, 1, {t * 0.68, t * 0.66}, d, ratioPixels);
    DessineBille(p, 2, {t * 0.50, t * 0.31}, d, ratioPixels);
    return image;
}

QIcon IconeProgramme() {
    QIcon icone;
    for (int taille : {16, 24, 32, 48, 64, 128, 256}) icone.addPixmap(ImageProgramme(taille));
    return icone;
}

QPixmap ImageFeu(int taille, qreal ratioPixels) {
    QPixmap image = Toile(taille, ratioPixels);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal t = taille;
    // the cue, level, striking from the left: a shot, not a lens on a handle
    p.setPen(QPen(QColor(150, 105, 70), t * 0.13, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(0, t * 0.5), QPointF(t * 0.3, t * 0.5));
    p.setPen(QPen(QColor(50, 50, 204), t * 0.13, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(t * 0.3, t * 0.5), QPointF(t * 0.37, t * 0.5));
    // the flash of the impact, a burst behind the ball
    QPainterPath eclat;
    const QPointF c(t * 0.45, t * 0.5);
    for (int i = 0; i < 18; ++i) {
        const qreal a = i * M_PI / 9;
        const qreal r = (i % 2 ? 0.1 : 0.3) * t;
        const QPointF q(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            eclat.moveTo(q);
        else
            eclat.lineTo(q);
    }
    eclat.closeSubpath();
    QRadialGradient feu(c, t * 0.3);
    feu.setColorAt(0, QColor(255, 240, 120));
    feu.setColorAt(0.5, QColor(255, 160, 0));
    feu.setColorAt(1, QColor(230, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(feu);
    p.drawPath(eclat);
    // the ball leaving to the right, with its speed streaks
    p.setPen(QPen(QColor(60, 60, 60, 170), std::max(1.0, t * 0.05), Qt::SolidLine, Qt::RoundCap));
    for (qreal y : {0.36, 0.5, 0.64}) p.drawLine(QPointF(t * 0.5, t * y), QPointF(t * 0.6, t * y));
    DessineBille(p, 0, {t * 0.79, t * 0.5}, t * 0.4, ratioPixels);
    return image;
}
