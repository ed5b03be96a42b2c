// The table with its lighting and two cameras: one fixed on the ceiling, looking straight down,
// and a mobile one that the user pans, orbits and zooms with the mouse.
#pragma once

#include "scene/Vue.h"
#include "view3d/GLBillard.h"

// mouse buttons and modifier keys of a mouse event
enum TEtatTouche : unsigned {
    ssGauche = 1,
    ssDroit = 2,
    ssMilieu = 4,
    ssMaj = 8,
    ssCtrl = 16,
    ssAlt = 32,
};
using TEtatTouches = unsigned;

class TGLBillard2Cam : public TGLBillard {
  public:
    // the viewer of the table must outlive this object
    TGLBillard2Cam(TScene& scene, TVue& vue);

    TFactice* CibleFixe = nullptr;
    TFactice* CibleMobile = nullptr;
    TCamera* CamFixe = nullptr;
    TCamera* CamMobile = nullptr;  // child of CibleMobile
    bool CamMobileActive = false;
    int DernierX = 0;
    int DernierY = 0;
    TVue* Vue = nullptr;

    // shows the mobile camera (true) or the ceiling camera (false) in Vue
    void ActiveCamMobile(bool mobile);
    // distance of Vue's camera to its target times 1.1^(delta/120): +120 moves one notch away
    void Zoom(int delta);
    // mobile camera only: left drag pans the table under the mouse, right drag orbits, one degree
    // per pixel; always remembers the position (call with no button on a press to seed it)
    void SourisCamera(int X, int Y, TEtatTouches etat);
};
