#include "collisions/C5_ApresChocs.h"

#include <cmath>

namespace {
// vertical unit vector, normal of the cloth
constexpr TVecteur K{0.0, 0.0, 1.0};
}  // namespace

void TVelmoraApresChocs::ApresChoc(TEtatBille& bille, double t) const {
    // out of play for the rest of the shot
    if (bille.Mouvement == mvDehors) return;
    const double r = Fisik.RayonBilles();
    const double g = Fisik.G();

    // above the cloth or rising: free flight, the rest of the plan is kept
    if (bille.Position.z > r || bille.Vitesse.z > 0) {
        // a ball leaving the cloth leaves from it: a centre a hair below (heights rounded to a
        // single-precision radius) would need a hop that reaches R before its landing could be
        // forecast, and a smaller one would fall through the cloth for ever. As the cloth impact
        // does, put it back on the cloth; a hop from there always comes back down to R.
        if (bille.Position.z < r) bille.Position.z = r;
        bille.Mouvement = mvVole;
        bille.AccVol = MultVect(K, g);
        bille.DemiAccVol = MultVect(K, g / 2);
        return;
    }

    // spin about the vertical decays on its own at a constant rate
    const double wz = bille.Rotation.z;
    bool pivote = false;
    double tFinPivot;
    if (std::fabs(wz) > 0.001) {
        double decel = 5 * Fisik.FrotBiTapPivot() * g / (2 * Fisik.Rayon2());
        tFinPivot = std::fabs(wz / decel);
        if (wz < 0) decel = -decel;
        bille.DecelPivot = decel;
        pivote = true;
    } else {
        bille.Rotation.z = 0;
        tFinPivot = 0;
    }

    // velocity at which rolling begins (angular momentum about the contact point is kept)
    const TVecteur v = bille.Vitesse;
    const TVecteur w = bille.Rotation;
    const TVecteur vRoule = MultVect(DiffVect(v, MultVect(ProdVect(K, w), Fisik.Diametre() / 5)), 5.0 / 7.0);
    const TVecteur dv = DiffVect(v, vRoule);

    // sliding phase: constant friction along the initial slip until the contact point grips
    double tFinGlisse = Norme(dv) / (g * Fisik.FrotBiTapGlisse());
    if (tFinGlisse > 0) {
        bille.Mouvement = mvGlisse;
        bille.DecelGlisse = Vecteur(dv.x / tFinGlisse, dv.y / tFinGlisse, dv.z / tFinGlisse);
        bille.DemiDecelGlisse = MultVect(bille.DecelGlisse, 0.5);
        bille.AccRotGlisse = MultVect(ProdVect(K, dv), 5 / (Fisik.Diametre() * tFinGlisse));
    } else {
        bille.Mouvement = mvRoule;
    }

    // rolling phase: constant resistance along the rolling velocity until the ball stops
    double tFinRoule;
    const double normeRoule = Norme(vRoule);
    if (normeRoule > 0.001) {
        const double decel = Fisik.FrotBiTapRoule() * g / normeRoule;
        tFinRoule = (decel * tFinGlisse + 1) / decel;
        bille.DecelRoule = MultVect(vRoule, decel);
        bille.DemiDecelRoule = MultVect(bille.DecelRoule, 0.5);
        bille.LienRoule = Vecteur(0, 0, 1 / r);
    } else {
        // nothing to roll: at rest, unless it still slides or pivots
        if (bille.Mouvement == mvRoule && !pivote) bille.Mouvement = mvArret;
        tFinRoule = tFinGlisse;
    }

    // end times become absolute shot times
    bille.tFinGlisse = tFinGlisse + t;
    bille.tFinRoule = tFinRoule + t;
    bille.tFinPivot = tFinPivot + t;
}
