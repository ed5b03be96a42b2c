#include "widgets/PanneauIcone.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// the picture sits one pixel in; the text starts at a fixed column so that panels line up,
// further right only when the picture is wider than usual
constexpr int MargeIcone = 1;
constexpr int ColonneTexteMin = 20;

}  // namespace

int TPanneauIcone::colonneTexte() const {
    const int icone =
        icone_.isNull() ? 0 : static_cast<int>(std::ceil(icone_.deviceIndependentSize().width()));
    return std::max(ColonneTexteMin, MargeIcone + icone + 3);
}

TPanneauIcone::TPanneauIcone(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

TPanneauIcone::TPanneauIcone(const QPixmap& icone, const QString& texte, QWidget* parent)
    : TPanneauIcone(parent) {
    icone_ = icone;
    texte_ = texte;
}

void TPanneauIcone::setIcone(const QPixmap& icone) {
    icone_ = icone;
    updateGeometry();
    update();
}

void TPanneauIcone::setTexte(const QString& texte) {
    if (texte == texte_) return;
    texte_ = texte;
    setToolTip(texte);
    update();
}

QSize TPanneauIcone::sizeHint() const {
    const int texte = fontMetrics().horizontalAdvance(texte_);
    const int icone =
        icone_.isNull() ? 0 : static_cast<int>(std::ceil(icone_.deviceIndependentSize().height()));
    return {std::max(130, colonneTexte() + texte + 4), std::max({18, fontMetrics().height() + 4, icone + 2})};
}

QSize TPanneauIcone::minimumSizeHint() const { return {colonneTexte() + 8, fontMetrics().height() + 2}; }

void TPanneauIcone::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!icone_.isNull()) {
        // the picture, centred in height, in its own device pixels
        const QSizeF taille = icone_.deviceIndependentSize();
        p.drawPixmap(QPointF(MargeIcone, (height() - taille.height()) / 2.0), icone_);
    }
    const int colonne = colonneTexte();
    const QRect zone(colonne, 0, std::max(0, width() - colonne - 2), height());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(zone, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(texte_, Qt::ElideRight, zone.width()));
}
