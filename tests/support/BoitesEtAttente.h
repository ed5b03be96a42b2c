// For window tests: waiting while a window works, and answering the modal boxes it shows.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// runs f, answering the first modal box with its default button; the box's text, empty if none came
inline QString TexteBoiteModale(const std::function<void()>& f) {
    auto texte = std::make_shared<QString>();
    QTimer::singleShot(0, [texte] {
        if (auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *texte = boite->text();
            boite->done(QMessageBox::Ok);
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    f();
    return *texte;
}

// the text of the modal box f shows, empty if none; the watch for it ends with the call
inline QString Boite(const std::function<void()>& f) {
    const QString texte = TexteBoiteModale(f);
    QApplication::processEvents();
    return texte;
}

// lets the windows work until the condition holds or the time runs out
inline bool Attends(const std::function<bool()>& condition, int ms = 60000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return true;
}

// answers every modal box that comes while it lives, keeping the text of the last one
struct TGuetteBoites {
    QTimer minuterie;
    QString texte;
    TGuetteBoites() {
        QObject::connect(&minuterie, &QTimer::timeout, [this] {
            if (auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texte = boite->text();
                boite->done(QMessageBox::Ok);
            }
        });
        minuterie.start(10);
    }
};
