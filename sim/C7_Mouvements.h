// Motion between events: closed-form flight, sliding, rolling and vertical-spin decay,
// switching phase exactly at the end times set after the last collision.
#pragma once

#include "collisions/C6_DetecteChocs.h"

class TVelmoraMouvements : public TVelmoraDetecteChocs {
public:
    // advances the ball in place from shot time t over dt; dt may be zero or slightly negative (a
    // step back to an overshot contact), which goes back along the laws in force at those times
    void Avance(TEtatBille& bille, double t, double dt) const {
        // the common case, rolling on through the whole interval, inlines into the shot loop:
        // the phase steps without their tests (a step back may cross a phase end: not here)
        if (bille.Mouvement == mvRoule && !(t + dt > bille.tFinRoule) && dt >= 0) {
            const double wz = t + dt < bille.tFinPivot ? bille.Rotation.z - bille.DecelPivot * dt : 0.0;
            bille.Position = SommeVect(bille.Position, DiffVect(MultVect(bille.Vitesse, dt),
                                                                MultVect(bille.DemiDecelRoule, dt * dt)));
            bille.Vitesse = DiffVect(bille.Vitesse, MultVect(bille.DecelRoule, dt));
            bille.Rotation = ProdVect(bille.LienRoule, bille.Vitesse);
            bille.Rotation.z = wz;
            return;
        }
        AvanceParPhases(bille, t, dt);
    }

private:
    // every other case: flight, then sliding, rolling and pivot up to their ends within dt
    void AvanceParPhases(TEtatBille& bille, double t, double dt) const;
};
