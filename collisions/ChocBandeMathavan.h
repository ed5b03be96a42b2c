// The second ball-cushion model: the impact followed step by step in normal impulse, with slip
// and friction at the cushion's contact point and at the cloth under the ball, a compression until
// the ball stops going into the cushion and a restitution that gives back e² of the work the
// compression stored (S. Mathavan, M. R. Jackson, R. M. Parkin, "A theoretical analysis of billiard
// ball dynamics under cushion impacts", Proc. IMechE Part C 224 (2010) 1863-1873).
#pragma once

#include "sim/ProcsVecteurs.h"

struct TImpactBandeMathavan {
    double Rayon = 3.075;      // cm
    double SinTheta = 0.2033;  // (nose height - radius) / radius: the contact above the centre
    double Elasticite = 0.9;   // e, the share of the compression's work given back is e²
    double FrotBande = 0.2;    // ball-cushion friction
    double FrotTapis = 0.2;    // ball-cloth friction
    int PasParPhase = 40;      // steps of normal impulse over the compression (and about as many after)
};

// A ball on the cloth meeting a cushion whose inward normal is `normale` (horizontal, unit): its
// velocity and rotation after the impact, leaving the cloth with no vertical speed. False, nothing
// changed, when the ball does not move into the cushion.
bool ChocBandeMathavan(const TImpactBandeMathavan& impact, const TVecteur& normale, TVecteur& vitesse,
                       TVecteur& rotation);
