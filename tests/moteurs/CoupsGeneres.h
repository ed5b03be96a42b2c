// Recordings made from the simulation with a known cue and known constants, seen the way a
// tracker sees a real shot: 50 samples a second, a sample left out while a ball has moved less
// than 2 mm, 3 mm of noise, the first sample 0.02 s before the stroke.
#pragma once

#include <memory>
#include <numbers>

#include "moteurs/CoupEnregistre.h"
#include "sim/C8_BillardVelmora.h"

struct TCoupGenere {
    TParamQueue Queue;
    TCoupEnregistre Coup;
};

inline constexpr double kDegre = std::numbers::pi / 180;

// the balls at (x, y) in cm; visee in degrees
inline TCoupGenere GenereCoup(const TPARAMPHYS& fisik, const std::array<double, 6>& billes, double visee,
                              double vitesse, double effet, double hauteur, std::uint32_t graine = 1,
                              double bruit = 0.3) {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik = fisik;
    // a photo nearly every pass (shots of up to 12 s): the recording follows the path closely
    s->Fisik.dtEnr = 0.01;
    const double r = s->Fisik.RayonBilles;
    for (int b = 1; b <= NbBilles; ++b)
        s->Trajets[b][0] = {Vecteur(billes[2 * (b - 1)], billes[2 * (b - 1) + 1], r), VecteurNul, VecteurNul};
    TCoupGenere g;
    g.Queue = {vitesse, 520, effet, hauteur, visee * kDegre, 0};
    s->SetParamQueue(g.Queue);
    s->Joue();
    TOptionsEnregistrement o;
    o.Graine = graine;
    o.Bruit = bruit;
    g.Coup = EnregistreStock(*s, o);
    return g;
}
