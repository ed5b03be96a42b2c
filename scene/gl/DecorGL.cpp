#include "scene/gl/DecorGL.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

// VELMORA_SANS_DECOR=1 draws every frame whole, to compare
TDecorGL::TDecorGL() : actif_(!qEnvironmentVariableIsSet("VELMORA_SANS_DECOR")) {}
TDecorGL::~TDecorGL() = default;

void TDecorGL::Oublie() {
    // the framebuffer went with its context: Qt's guard knows it, the object only is freed
    image_.reset();
    garde_ = false;
    impossible_ = false;
    precedente_ = {};
    cible_ = 0;
}

bool TDecorGL::Cree(int echantillons) {
    QOpenGLFramebufferObjectFormat f;
    f.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    f.setSamples(echantillons);
    image_ = std::make_unique<QOpenGLFramebufferObject>(cle_.Largeur, cle_.Hauteur, f);
    // a copy between framebuffers needs the same samples on both sides
    if (!image_->isValid() || image_->format().samples() != echantillons) {
        image_.reset();
        return false;
    }
    return true;
}

TDecorGL::TUsage TDecorGL::Prepare(const TCleDecor& cle) {
    QOpenGLContext* c = QOpenGLContext::currentContext();
    GLint cible = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &cible);
    cible_ = unsigned(cible);
    // a standing part that changes from frame to frame (the camera orbits, a window is resized)
    // would cost a copy more each time: kept only once it held still for a frame
    const bool stable = cle == precedente_;
    precedente_ = cle;
    if (!actif_ || impossible_ || !stable || !c) return TUsage::Aucun;
    if (garde_ && cle == cle_) return TUsage::Copier;
    // copying between framebuffers came with OpenGL 3.0
    if (c->format().version() < qMakePair(3, 0) || !QOpenGLFramebufferObject::hasOpenGLFramebufferBlit()) {
        impossible_ = true;
        return TUsage::Aucun;
    }
    GLint echantillons = 0;
    glGetIntegerv(GL_SAMPLES, &echantillons);
    garde_ = false;
    const bool taille = image_ && image_->width() == cle.Largeur && image_->height() == cle.Hauteur &&
                        image_->format().samples() == echantillons;
    cle_ = cle;
    if (!taille && !Cree(echantillons)) {
        impossible_ = true;
        c->functions()->glBindFramebuffer(GL_FRAMEBUFFER, cible_);
        return TUsage::Aucun;
    }
    c->functions()->glBindFramebuffer(GL_FRAMEBUFFER, image_->handle());
    garde_ = true;
    return TUsage::Refaire;
}

bool TDecorGL::Copie() {
    QOpenGLExtraFunctions& f = *QOpenGLContext::currentContext()->extraFunctions();
    // errors left by others are not this copy's
    while (glGetError() != GL_NO_ERROR) continue;
    f.glBindFramebuffer(GL_READ_FRAMEBUFFER, image_->handle());
    f.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, cible_);
    // depth and stencil together: the driver then copies the packed buffer as it is
    const int l = image_->width(), h = image_->height();
    f.glBlitFramebuffer(0, 0, l, h, 0, 0, l, h,
                        GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
    f.glBindFramebuffer(GL_FRAMEBUFFER, cible_);
    if (glGetError() == GL_NO_ERROR) return true;
    // formats the driver will not copy between: every frame is drawn whole in this context
    impossible_ = true;
    garde_ = false;
    return false;
}
