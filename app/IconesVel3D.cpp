#include "app/IconesVel3D.h"

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
    // the cue coming from the lower left towards the ball
    QPen queue(QColor(166, 128, 100), t * 0.11, Qt::SolidLine, Qt::RoundCap);
    p.setPen(queue);
    p.drawLine(QPointF(t * 0.04, t * 0.96), QPointF(t * 0.36, t * 0.64));
    p.setPen(QPen(QColor(50, 50, 204), t * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(t * 0.36, t * 0.64), QPointF(t * 0.42, t * 0.58));
    // the spark of the impact
    QPainterPath eclat;
    const QPointF c(t * 0.47, t * 0.53);
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * M_PI / 8;
        const qreal r = (i % 2 ? 0.07 : 0.17) * t;
        const QPointF q(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            eclat.moveTo(q);
        else
            eclat.lineTo(q);
    }
    eclat.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 0));
    p.drawPath(eclat);
    // the ball going away
    DessineBille(p, 0, {t * 0.68, t * 0.32}, t * 0.5, ratioPixels);
    return image;
}
