// Recordings made from the simulation with a known cue and known constants, seen the way a
// tracker sees a real shot: 50 samples a second, a sample left out while a ball has moved less
// than 2 mm, 3 mm of noise, the first sample 0.02 s before the stroke.
#pragma once

#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "moteurs/CoupEnregistre.h"
#include "moteurs/EvenementsCoup.h"
#include "sim/C8_BoucleTrajets.h"

struct TCoupGenere {
    TParamQueue Queue;
    TCoupEnregistre Coup;
    TEvenementsCoup Evenements;  // the contacts as computed, on the recording's clock
};

inline constexpr double kDegre = std::numbers::pi / 180;

// the balls at (x, y) in cm; visee in degrees
inline TCoupGenere GenereCoup(const TPARAMPHYS& fisik, const std::array<double, 6>& billes, double visee,
                              double vitesse, double effet, double hauteur, std::uint32_t graine = 1,
                              double bruit = 0.3) {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik = fisik;
    // photos as close as the fit's own (shots of up to 24 s)
    s->Fisik.Change(&TConstantesPhys::dtEnr, 0.02);
    const double r = s->Fisik.RayonBilles();
    for (int b = 1; b <= NbBilles; ++b)
        s->Trajets[b][0] = {Vecteur(billes[2 * (b - 1)], billes[2 * (b - 1) + 1], r), VecteurNul, VecteurNul};
    TCoupGenere g;
    g.Queue = {vitesse, 520, effet, hauteur, visee * kDegre, 0};
    s->SetParamQueue(g.Queue);
    s->ImpactQueue();
    TSuiviEvenements suivi;
    s->CalculTrajetsSuivi(suivi);
    TOptionsEnregistrement o;
    o.Graine = graine;
    o.Bruit = bruit;
    g.Coup = EnregistreStock(*s, o);
    g.Evenements = suivi.Decale(o.Decalage);
    return g;
}

// n shots drawn at random (fixed seed): balls anywhere on the table, apart; any aim; cue speeds
// of 200 to 400 cm/s; tip offsets within 1.2 cm
inline std::vector<TCoupGenere> GenereCoups(const TPARAMPHYS& fisik, int n, std::uint32_t graine) {
    std::mt19937 alea(graine);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<TCoupGenere> coups;
    const double lx = fisik.largeurJeu() / 2 - 5, ly = fisik.largeurJeu() - 5;
    while (int(coups.size()) < n) {
        std::array<double, 6> b{};
        for (int k = 0; k < 3; ++k) {
            b[2 * k] = (2 * u(alea) - 1) * lx;
            b[2 * k + 1] = (2 * u(alea) - 1) * ly;
        }
        const double visee = 360 * u(alea), vitesse = 200 + 200 * u(alea);
        const double effet = 2.4 * u(alea) - 1.2, hauteur = 2.4 * u(alea) - 1.2;
        const auto ecart = [&](int i, int j) {
            return std::hypot(b[2 * i] - b[2 * j], b[2 * i + 1] - b[2 * j + 1]);
        };
        if (ecart(0, 1) < 10 || ecart(0, 2) < 10 || ecart(1, 2) < 10) continue;
        coups.push_back(GenereCoup(fisik, b, visee, vitesse, effet, hauteur, alea()));
    }
    return coups;
}
