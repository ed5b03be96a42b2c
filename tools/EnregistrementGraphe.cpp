#include "tools/EnregistrementGraphe.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

TGrapheEcarts::TGrapheEcarts(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 140);
    setToolTip(QStringLiteral("écart entre la bille joueur enregistrée et calculée, au fil du coup"));
}

void TGrapheEcarts::SetPoints(std::vector<std::array<double, 2>> points) {
    points_ = std::move(points);
    update();
}

double TGrapheEcarts::MaxEchelle() const {
    double m = 1;
    for (const auto& p : points_) m = std::max(m, p[1]);
    // 1, 2, 5 times a power of ten
    const double dix = std::pow(10.0, std::floor(std::log10(m)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * dix >= m) return f * dix;
    return 10 * dix;
}

void TGrapheEcarts::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QLocale locale;
    const int g = 44, d = 10, h = 10, b = 24;
    const QRect zone(g, h, width() - g - d, height() - h - b);
    p.setPen(Qt::gray);
    p.drawRect(zone);
    if (points_.empty() || zone.width() < 10 || zone.height() < 10) {
        p.setPen(Qt::darkGray);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("aucun coup calculé à comparer"));
        return;
    }
    const double tMax = std::max(0.1, points_.back()[0]);
    const double eMax = MaxEchelle();
    const auto px = [&](double t) { return zone.left() + t / tMax * zone.width(); };
    const auto py = [&](double e) { return zone.bottom() - std::min(e, eMax) / eMax * zone.height(); };
    // axes' values with the locale's separator
    p.setPen(Qt::black);
    p.drawText(QRect(0, zone.top() - 6, g - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
               locale.toString(eMax, 'g', 3) + QStringLiteral(" cm"));
    p.drawText(QRect(0, zone.bottom() - 8, g - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("0"));
    p.drawText(QRect(zone.left(), zone.bottom() + 4, zone.width(), 16), Qt::AlignRight,
               locale.toString(tMax, 'f', 1) + QStringLiteral(" s"));
    p.drawText(QRect(zone.left(), zone.bottom() + 4, zone.width(), 16), Qt::AlignLeft, QStringLiteral("0"));
    QPainterPath chemin;
    chemin.moveTo(px(points_.front()[0]), py(points_.front()[1]));
    for (const auto& pt : points_) chemin.lineTo(px(pt[0]), py(pt[1]));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.drawPath(chemin);
}
