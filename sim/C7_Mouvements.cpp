#include "sim/C7_Mouvements.h"

#include <cmath>

namespace {

// P + V.d - demi.d², the position under a constant acceleration
inline TVecteur Deplacement(const TVecteur& p, const TVecteur& v, const TVecteur& demi, double d) {
    return SommeVect(p, DiffVect(MultVect(v, d), MultVect(demi, d * d)));
}

}  // namespace

void TVelmoraMouvements::AvanceParPhases(TEtatBille& bille, double t, double dt) const {
    switch (bille.Mouvement) {
        case mvVole: {
            // beyond the cushion lines by more than a radius: out of play, not moved
            const double r = Fisik.RayonBilles();
            if (std::abs(bille.Position.x) > Fisik.Bandes()[0].Point.x + r ||
                std::abs(bille.Position.y) > Fisik.Bandes()[2].Point.y + r) {
                bille.Mouvement = mvDehors;
                return;
            }
            bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiAccVol, dt);
            bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.AccVol, dt));
            return;
        }
        case mvGlisse:
        case mvRoule:
        case mvPivote:
            break;
        default:
            return;  // at rest or out: final states
    }

    // the vertical spin decays on its own, computed once over the whole interval; a step back
    // past its end finds it from the end, not from the zero it was left at
    const double tFin = t + dt;
    double wz = 0.0;
    if (tFin < bille.tFinPivot)
        wz = t < bille.tFinPivot ? bille.Rotation.z - bille.DecelPivot * dt
                                 : bille.DecelPivot * (bille.tFinPivot - tFin);

    // a step back past the end of sliding: back along the roll to that end, then on the slide
    if (bille.Mouvement == mvRoule && tFin < bille.tFinGlisse) {
        const double d = bille.tFinGlisse - t;
        bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiDecelRoule, d);
        bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.DecelRoule, d));
        bille.Rotation = ProdVect(bille.LienRoule, bille.Vitesse);
        bille.Mouvement = mvGlisse;
        t = bille.tFinGlisse;
        dt = tFin - bille.tFinGlisse;
    }

    // sliding, up to its end when it falls inside the interval
    if (bille.Mouvement == mvGlisse) {
        if (tFin > bille.tFinGlisse) {
            const double d = bille.tFinGlisse - t;
            bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiDecelGlisse, d);
            bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.DecelGlisse, d));
            bille.Rotation = SommeVect(bille.Rotation, MultVect(bille.AccRotGlisse, d));
            bille.Mouvement = mvRoule;
            t = bille.tFinGlisse;
            dt = tFin - bille.tFinGlisse;
        } else {
            bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiDecelGlisse, dt);
            bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.DecelGlisse, dt));
            bille.Rotation = SommeVect(bille.Rotation, MultVect(bille.AccRotGlisse, dt));
        }
    }

    // rolling, up to the stop when it falls inside the rest of the interval
    if (bille.Mouvement == mvRoule) {
        if (t + dt > bille.tFinRoule) {
            dt = bille.tFinRoule - t;
            bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiDecelRoule, dt);
            bille.Vitesse = VecteurNul;
            bille.Rotation = VecteurNul;
            bille.Mouvement = mvPivote;
        } else {
            bille.Position = Deplacement(bille.Position, bille.Vitesse, bille.DemiDecelRoule, dt);
            bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.DecelRoule, dt));
            bille.Rotation = ProdVect(bille.LienRoule, bille.Vitesse);
        }
    }

    // the vertical spin whatever happened to the other components
    bille.Rotation.z = wz;
    if (bille.Mouvement == mvPivote && wz == 0.0) bille.Mouvement = mvArret;
}
