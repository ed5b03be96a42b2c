// Velmora 3D: creates the windows and runs the event loop until the main window closes.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QScreen>
#include <QSocketNotifier>
#include <QSurfaceFormat>
#include <csignal>
#include <cstdio>

#include "app/Demarrage.h"
#include "scene/gl/VueGL.h"
#include "widgets/IconesVel3D.h"

namespace {

// a termination, a hang-up or Ctrl-C closes the program as its window does: settings merged, a
// difficulty calculation stopped and its temporary file removed
int tubeArret[2] = {-1, -1};
extern "C" void SurArret(int) {
    const char c = 1;
    const ssize_t n = ::write(tubeArret[1], &c, 1);
    (void)n;
}

}  // namespace

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TVueGL::Format());
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora3D"));
    QApplication::setDesktopFileName(QStringLiteral("velmora3d"));
    QApplication::setWindowIcon(IconeProgramme());
    ChargeTraductionsQt();

    // without OpenGL the table cannot be drawn, and the toolkit would crash at the first redraw:
    // say so and stop instead
    if (QOpenGLContext essai; !essai.create()) {
        const QString texte = QStringLiteral(
                                  "OpenGL n'est pas disponible sur cet affichage (%1) : le billard en 3D "
                                  "ne peut pas être dessiné.")
                                  .arg(QGuiApplication::platformName());
        std::fprintf(stderr, "velmora3d : %s\n", texte.toLocal8Bit().constData());
        // a box only where someone can close it
        if (QGuiApplication::platformName() != QLatin1String("offscreen") &&
            QGuiApplication::platformName() != QLatin1String("minimal"))
            QMessageBox::critical(nullptr, QStringLiteral("Velmora 3D"), texte);
        return 1;
    }

    auto principale = CreeFenetres(DemarrageProgramme(QApplication::arguments()));
    // where it was left, else the whole screen even without a window manager to maximise it
    if (principale->RestaureGeometrie()) {
        principale->show();
    } else {
        if (const QScreen* ecran = QGuiApplication::primaryScreen())
            principale->setGeometry(ecran->availableGeometry());
        principale->showMaximized();
    }
    std::unique_ptr<QSocketNotifier> arret;
    if (::pipe2(tubeArret, O_CLOEXEC | O_NONBLOCK) == 0) {
        arret = std::make_unique<QSocketNotifier>(tubeArret[0], QSocketNotifier::Read);
        QObject::connect(arret.get(), &QSocketNotifier::activated, [&principale] {
            char c;
            while (::read(tubeArret[0], &c, 1) > 0) {
            }
            principale->close();
            QApplication::quit();
        });
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SurArret);
    }
    const int code = QApplication::exec();
    principale.reset();
    return code;
}
