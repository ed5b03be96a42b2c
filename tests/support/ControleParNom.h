// For window tests: a window's control found by its object name (the windows keep their controls
// to themselves); the test fails when the window has no control of that name and kind.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

template <class T>
T* ControleDe(const QWidget& fenetre, const char* nom) {
    T* c = fenetre.findChild<T*>(QString::fromLatin1(nom));
    if (!c) ADD_FAILURE() << fenetre.windowTitle().toStdString() << " n'a pas de " << nom;
    return c;
}
