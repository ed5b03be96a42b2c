#include "widgets/IconesBilles.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

QColor CouleurBille(int indice) {
    switch (indice) {
        case 0:
            return QColor(245, 245, 240);
        case 1:
            return QColor(255, 255, 0);
        case 2:
            return QColor(255, 0, 0);
        default:
            return QColor(150, 150, 150);
    }
}

QPixmap IconeBille(int indice, int taille, qreal ratioPixels) {
    taille = std::max(4, taille);
    ratioPixels = std::max<qreal>(1.0, ratioPixels);
    const int cote = static_cast<int>(std::ceil(taille * ratioPixels));
    QPixmap image(cote, cote);
    image.setDevicePixelRatio(ratioPixels);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal r = taille / 2.0 - 0.75;
    const QPointF centre(taille / 2.0, taille / 2.0);
    const QColor c = CouleurBille(indice);

    // the body, lit from the upper left
    QRadialGradient corps(centre + QPointF(-r * 0.35, -r * 0.4), r * 1.45);
    corps.setColorAt(0.0, c.lighter(135));
    corps.setColorAt(0.5, c);
    corps.setColorAt(1.0, c.darker(indice == 0 ? 175 : 220));
    p.setPen(QPen(c.darker(250), 0.8));
    p.setBrush(corps);
    p.drawEllipse(centre, r, r);

    // the glint
    QRadialGradient reflet(centre + QPointF(-r * 0.38, -r * 0.42), r * 0.45);
    reflet.setColorAt(0.0, QColor(255, 255, 255, 220));
    reflet.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(reflet);
    p.drawEllipse(centre + QPointF(-r * 0.38, -r * 0.42), r * 0.45, r * 0.45);
    return image;
}
