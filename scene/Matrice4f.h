// 4x4 single-precision matrices, column-major as OpenGL wants them.
#pragma once

#include <array>

#include "scene/Vecteur3f.h"

struct TMatrice4f {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator()(int ligne, int colonne) { return m[colonne * 4 + ligne]; }
    float operator()(int ligne, int colonne) const { return m[colonne * 4 + ligne]; }

    // frame with axes x, y, z and origin o, given in the outer frame
    static TMatrice4f Repere(const TVecteur3f& x, const TVecteur3f& y, const TVecteur3f& z,
                             const TVecteur3f& o);
    // perspective projection: tangents of the half angles, near and far planes
    static TMatrice4f Perspective(float tanDemiLargeur, float tanDemiHauteur, float proche, float loin);

    TVecteur3f Point(const TVecteur3f& p) const;
    TVecteur3f Vecteur(const TVecteur3f& v) const;
    TVecteur3f Colonne(int c) const { return {m[c * 4], m[c * 4 + 1], m[c * 4 + 2]}; }
    // inverse of a rotation and translation (no scaling)
    TMatrice4f InverseRigide() const;

    friend TMatrice4f operator*(const TMatrice4f& a, const TMatrice4f& b);
};
