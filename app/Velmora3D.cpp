// Velmora 3D: creates the windows and runs the event loop until the main window closes.
#include <QApplication>
#include <QScreen>
#include <QSurfaceFormat>

#include "app/Demarrage.h"
#include "app/IconesVel3D.h"
#include "scene/gl/VueGL.h"

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TVueGL::Format());
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora3D"));
    QApplication::setDesktopFileName(QStringLiteral("velmora3d"));
    QApplication::setWindowIcon(IconeProgramme());
    ChargeTraductionsQt();

    auto principale = CreeFenetres(DemarrageProgramme(QApplication::arguments()));
    // the whole screen even without a window manager to maximise it
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) principale->setGeometry(ecran->availableGeometry());
    principale->showMaximized();
    const int code = QApplication::exec();
    principale.reset();
    return code;
}
