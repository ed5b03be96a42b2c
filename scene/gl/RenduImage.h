// Draws a viewer's picture into an image without a window: an offscreen OpenGL context and a
// multisampled framebuffer. For tests, benchmarks and captures; needs a platform with OpenGL
// (an X display or Xvfb; Valide() tells).
#pragma once

#include <QImage>
#include <QString>
#include <memory>

#include "scene/Vue.h"
#include "scene/gl/RenduGL.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

class TRenduImage {
public:
    // samples per pixel of the framebuffer: 4 as in the viewers, 0 for none
    explicit TRenduImage(int echantillons = 4);
    ~TRenduImage();

    // false when no OpenGL context could be made; Erreur says why
    bool Valide() const { return valide_; }
    QString Erreur;
    // the context's renderer string, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)"
    QString Moteur() const;

    // one frame of the viewer (resized to w x h) into the framebuffer, finished
    bool Dessine(TVue& vue, int w, int h);
    // the last frame drawn
    QImage Image() const;
    // whether the last frame was lit per pixel (false: the fixed pipeline drew it)
    bool ParPixel() const { return rendu_.ParPixel(); }
    // whether it was drawn multisampled (false: the driver refused, the lines were smoothed)
    bool Multiechantillonne() const { return rendu_.Multiechantillonne(); }

private:
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLContext> contexte_;
    std::unique_ptr<QOpenGLFramebufferObject> tampon_;
    TRenduGL rendu_;
    int echantillons_ = 4;
    bool valide_ = false;
};
