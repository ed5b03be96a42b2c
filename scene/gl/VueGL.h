// A window area that shows a scene through a viewer (TVue): OpenGL compatibility profile with
// multisampling, redrawn whenever the scene changes; mouse events are passed on as signals.
#pragma once

#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include "scene/Cadenceur.h"
#include "scene/Vue.h"
#include "scene/gl/RenduGL.h"

class TVueGL : public QOpenGLWidget {
    Q_OBJECT
  public:
    // the viewer and its scene must outlive the widget
    explicit TVueGL(TVue& vue, QWidget* parent = nullptr);
    ~TVueGL() override;

    TVue& Vue() const { return vue_; }
    // the format every viewer asks for: compatibility profile, depth, 4 samples (the environment
    // variable VELMORA_ECHANTILLONS, 0 to 16, changes the samples on a slow software OpenGL)
    static QSurfaceFormat Format();
    static int Echantillons();

    // drives the frame clock: a progress event after every frame, frames as long as it runs
    void BrancheCadenceur(TCadenceur& cadenceur);

  signals:
    void SourisEnfoncee(QMouseEvent* e);
    void SourisBouge(QMouseEvent* e);
    void SourisRelachee(QMouseEvent* e);
    void Molette(QWheelEvent* e);

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    TVue& vue_;
    TRenduGL rendu_;
    int abonnement_ = 0;
};
