// The table with its lighting and two cameras: one fixed on the ceiling, looking straight down,
// and a mobile one that the user pans, orbits and zooms with the mouse. The ceiling camera fits
// the table to the view; the mobile one never goes below the cloth nor into a rail or a ball, and
// both zoom within sane limits.
#pragma once

#include "scene/Vue.h"
#include "view3d/CadrageCamera.h"
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
    // (within DistanceMin..DistanceMax, and never down to the cloth)
    void Zoom(int delta);
    // mobile camera only: left drag pans the table under the mouse, right drag orbits, one degree
    // per pixel; always remembers the position (call with no button on a press to seed it)
    void SourisCamera(int X, int Y, TEtatTouches etat);

    // The view's picture is now largeur x hauteur pixels, with a reserve (its top right corner)
    // that the table leaves free. The first time, both cameras stand where the whole table fits;
    // afterwards each camera's distance follows its fit, so a zoom is kept and a table seen whole
    // stays whole when docks take or give back room.
    void Cadre(int largeur, int hauteur, const TReserveImage& reserve = {});
    // the distance at which the camera shows the whole table in such a picture
    float DistanceCadrage(const TCamera& camera, int largeur, int hauteur,
                          const TReserveImage& reserve) const;

    // the mobile camera's eye stays this high over the cloth: above the balls and the rails
    static constexpr float HauteurOeilMin = 8;
    static constexpr float DistanceMin = 30;
    static constexpr float DistanceMax = 1500;
    // how far the mobile camera's target may go from the table's edge
    static constexpr float MargeCible = 100;
    // pixels kept free around the fitted table
    static constexpr float MargeCadrage = 12;

private:
    void ContraintCamMobile();
    // the camera at this distance from its target, its far plane following
    static void PlaceADistance(TCamera& camera, float distance);
    struct {
        bool fait = false;
        int largeur = 0, hauteur = 0;
        TReserveImage reserve;
    } cadre_;
};
