#include "tools/FenetreOutil.h"

#include <QCloseEvent>
#include <QShortcut>
#include <algorithm>

TFenetreOutil::TFenetreOutil(THoteOutils& hote, QWidget* parent, const QString& titre, int contexteAide)
    : QWidget(parent, Qt::Tool), hote_(hote), contexteAide_(contexteAide) {
    setWindowTitle(titre);
    setAttribute(Qt::WA_DeleteOnClose, false);
    hide();
    // F1 wherever the focus is inside the window
    auto* aide =
        new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(aide, &QShortcut::activated, this, [this] { hote_.AfficheAide(contexteAide_); });
}

void TFenetreOutil::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted()) emit Fermee();
}

QPoint PlaceOutil(const QRect& ecran, const QRect& principale, const QRect& table, const QSize& taille,
                  const QList<QRect>& placees, const QRect& panneau) {
    // the middle half of the table, where the balls mostly are
    const QRect milieu(table.left() + table.width() / 4, table.top() + table.height() / 4, table.width() / 2,
                       table.height() / 2);
    const int ecart = 4;
    const int colonnes[] = {principale.right() + 1 + ecart, principale.left() - ecart - taille.width(),
                            ecran.right() + 1 - taille.width(), ecran.left()};
    QList<int> lignes{table.top(), ecran.top()};
    if (!panneau.isNull()) lignes << panneau.bottom() + 1 + ecart;
    for (const QRect& r : placees) lignes << r.bottom() + 1 + ecart;
    lignes << ecran.bottom() + 1 - taille.height();
    const auto libre = [&](const QRect& r, bool seul) {
        if (!ecran.contains(r) || r.intersects(milieu) || r.intersects(panneau)) return false;
        if (seul)
            for (const QRect& p : placees)
                if (r.intersects(p)) return false;
        return true;
    };
    // first a place of its own, then one over another tool window, never one over the middle
    for (const bool seul : {true, false})
        for (const int x : colonnes)
            for (const int y : lignes)
                if (const QRect r(QPoint(x, y), taille); libre(r, seul)) return r.topLeft();
    // a window too big for any such place: beside the centre of the table, as much of it on the
    // screen as can be, its title bar always
    const QPoint c = table.center();
    const QPoint coins[] = {{c.x() + ecart, ecran.top()},
                            {c.x() - ecart - taille.width(), ecran.top()},
                            {ecran.left(), c.y() + ecart},
                            {ecran.left(), std::max(ecran.top(), c.y() - ecart - taille.height())}};
    QPoint meilleur = ecran.topLeft();
    long long vuMax = -1;
    for (const QPoint& coin : coins) {
        const QRect r(coin, taille), vu = r.intersected(ecran);
        if (r.contains(c) || vu.isEmpty()) continue;
        if (const long long aire = 1LL * vu.width() * vu.height(); aire > vuMax) {
            vuMax = aire;
            meilleur = coin;
        }
    }
    return meilleur;
}
