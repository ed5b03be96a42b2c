// Respites of the forecasts: how long a pair of balls, or a ball and the cushions, surely stay too
// far apart for any contact to be forecast, so that the shot loop can spare those forecasts.
// Only horizontal gaps are used: between two contacts of a ball, what changes them is bounded by
// its speed and by what can speed it up: the sliding brake while it slides (its direction is the
// slip's, not the speed's); nothing once it rolls (the brake along its line only slows it), rests,
// pivots or flies — since every landing, cushion or ball contact ends the respites of the balls
// it involves.
#pragma once

#include "sim/C1_Types.h"

struct TBornesRepit {
    double Diametre = 0;   // cm
    double AccGlisse = 0;  // cm/s², horizontal acceleration of a sliding ball
    double PasMax = 0;     // s, longest step of the loop
    double DureeMax = 0;   // s, longest respite
    // a centre within these limits has no cushion candidate (the 1.5-diameter approach zone)
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    // cm kept against rounding: also keeps every pair outside a respite well apart, where the
    // forecast's roots are accurate
    static constexpr double Marge = 0.1;
};

// the bounds of a shot; the parameters must already be raised to their floors
TBornesRepit BornesRepit(const TPARAMPHYS& f);

// cm/s², the fastest the ball's speed along an axis can grow until its next contact
inline double AccHorizontale(const TEtatBille& e, const TBornesRepit& b) {
    return e.Mouvement == mvGlisse ? b.AccGlisse : 0.0;
}

// s, >= 0: every pass starting within this time forecasts no contact of the pair (none within
// the step: its straight-line contact is more than two steps away)
double RepitPaire(const TEtatBille& A, const TEtatBille& B, const TBornesRepit& bornes);

// s, >= 0: every pass starting within this time finds the ball away from every cushion
double RepitBandes(const TEtatBille& bille, const TBornesRepit& bornes);

// the pass-start times [Debut, Fin) of a respite; an empty one (Fin = Debut) covers nothing, not
// even further passes at the same time
struct TRepit {
    double Debut = 0;
    double Fin = 0;

    bool Couvre(double t) const { return t >= Debut && t < Fin; }
};
