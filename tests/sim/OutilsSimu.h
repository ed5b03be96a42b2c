// Helpers shared by the tests of the simulation object.
#pragma once

#include <memory>
#include <string>

#include "sim/C8_BillardVelmora.h"

// the object holds the whole photo store: keep it off the stack
inline std::unique_ptr<TBillardVelmora> NouvelleSimu() { return std::make_unique<TBillardVelmora>(); }

// the three balls at rest on the cloth at photo 0
inline void PlaceBilles(TBillardVelmora& s, TVecteur p1, TVecteur p2, TVecteur p3) {
    const double r = s.Fisik.RayonBilles();
    const TVecteur p[] = {p1, p2, p3};
    for (int b = 1; b <= NbBilles; ++b)
        s.Trajets[b][0] = {Vecteur(p[b - 1].x, p[b - 1].y, r), VecteurNul, VecteurNul};
}

// a ball of photo 0 set in motion (a hand launch)
inline void Lance(TBillardVelmora& s, int bille, TVecteur v, TVecteur w = VecteurNul) {
    s.Trajets[bille][0].Vitesse = v;
    s.Trajets[bille][0].Rotation = w;
}

inline std::string Exemple(const std::string& nom) { return std::string(VELMORA_EXAMPLES_DIR) + "/" + nom; }
