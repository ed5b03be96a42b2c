#include "scene/gl/RenduImage.h"

#include <GL/gl.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include "scene/gl/VueGL.h"

TRenduImage::TRenduImage(int echantillons) : echantillons_(echantillons) {
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(TVueGL::Format());
    surface_->create();
    contexte_ = std::make_unique<QOpenGLContext>();
    contexte_->setFormat(TVueGL::Format());
    if (!surface_->isValid() || !contexte_->create()) {
        Erreur = "pas de contexte OpenGL sur cette plateforme";
        return;
    }
    if (!contexte_->makeCurrent(surface_.get())) {
        Erreur = "le contexte OpenGL ne peut pas être activé";
        return;
    }
    valide_ = true;
}

TRenduImage::~TRenduImage() {
    // the framebuffer goes with its context current
    if (contexte_ && valide_) contexte_->makeCurrent(surface_.get());
    tampon_.reset();
    if (contexte_ && valide_) contexte_->doneCurrent();
}

QString TRenduImage::Moteur() const {
    if (!valide_) return {};
    contexte_->makeCurrent(surface_.get());
    return QString::fromLatin1(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

bool TRenduImage::Dessine(TVue& vue, int w, int h) {
    if (!valide_ || !contexte_->makeCurrent(surface_.get())) return false;
    if (!tampon_ || tampon_->size() != QSize(w, h)) {
        // multisampled when the driver offers it, else plain rather than nothing
        for (const int echantillons : {echantillons_, 0}) {
            QOpenGLFramebufferObjectFormat f;
            f.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
            f.setSamples(echantillons);
            tampon_ = std::make_unique<QOpenGLFramebufferObject>(w, h, f);
            if (tampon_->isValid()) break;
            tampon_.reset();
            if (echantillons == 0) break;
        }
        if (!tampon_) {
            Erreur = "tampon d'image refusé";
            return false;
        }
    }
    tampon_->bind();
    vue.SetTaille(w, h);
    rendu_.Dessine(vue, w, h);
    glFinish();
    tampon_->release();
    return true;
}

QImage TRenduImage::Image() const {
    if (!tampon_) return {};
    contexte_->makeCurrent(surface_.get());
    return tampon_->toImage();
}
