#include "scene/gl/VueGL.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

#include "scene/Scene.h"

TVueGL::TVueGL(TVue& vue, QWidget* parent) : QOpenGLWidget(parent), vue_(vue) {
    setFormat(Format());
    setMouseTracking(false);
    abonnement_ = vue_.Scene().Abonne([this] { update(); });
}

TVueGL::~TVueGL() {
    vue_.Scene().Desabonne(abonnement_);
}

QSurfaceFormat TVueGL::Format() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    f.setSamples(Echantillons());
    return f;
}

int TVueGL::Echantillons() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("VELMORA_ECHANTILLONS", &ok);
    return ok && n >= 0 && n <= 16 ? n : 4;
}

void TVueGL::BrancheCadenceur(TCadenceur& cadenceur) {
    cadenceur.OnDemandeImage = [this] { update(); };
    connect(this, &QOpenGLWidget::frameSwapped, this, [&cadenceur] { cadenceur.ImageRendue(); });
}

void TVueGL::initializeGL() {
    // a new context: shapes are rebuilt on demand
    rendu_.Oublie();
}

void TVueGL::resizeGL(int w, int h) {
    vue_.SetTaille(w, h);
}

void TVueGL::paintGL() {
    vue_.SetTaille(width(), height());
    const qreal r = devicePixelRatioF();
    rendu_.Dessine(vue_, int(width() * r), int(height() * r));
}

void TVueGL::mousePressEvent(QMouseEvent* e) {
    emit SourisEnfoncee(e);
}
void TVueGL::mouseMoveEvent(QMouseEvent* e) {
    emit SourisBouge(e);
}
void TVueGL::mouseReleaseEvent(QMouseEvent* e) {
    emit SourisRelachee(e);
}
void TVueGL::wheelEvent(QWheelEvent* e) {
    emit Molette(e);
}
