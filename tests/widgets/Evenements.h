// Mouse and wheel events sent straight to a widget, as the window system would deliver them.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

inline void Presse(QWidget* w, QPoint p, Qt::MouseButton bouton = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), bouton, bouton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Bouge(QWidget* w, QPoint p, Qt::MouseButtons boutons = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, boutons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Lache(QWidget* w, QPoint p, Qt::MouseButton bouton = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), bouton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Molette(QWidget* w, QPoint p, int angle) {
    QWheelEvent e(QPointF(p), w->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}
