#include "widgets/Bulles.h"

#include <QAction>
#include <QWidget>

QString BulleCourte(const QString& bulle) {
    const qsizetype barre = bulle.indexOf(QLatin1Char('|'));
    return barre < 0 ? bulle : bulle.left(barre);
}

QString BulleLongue(const QString& bulle) {
    const qsizetype barre = bulle.indexOf(QLatin1Char('|'));
    return barre < 0 ? bulle : bulle.mid(barre + 1);
}

void PoseBulle(QWidget* controle, const QString& bulle) {
    if (controle == nullptr) return;
    controle->setToolTip(BulleCourte(bulle));
    controle->setStatusTip(BulleLongue(bulle));
}

void PoseBulle(QAction* action, const QString& bulle) {
    if (action == nullptr) return;
    // a menu item shows no tooltip of its own: an empty one must not fall back to the caption
    action->setToolTip(BulleCourte(bulle));
    action->setStatusTip(BulleLongue(bulle));
}
