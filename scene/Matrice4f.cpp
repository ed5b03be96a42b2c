#include "scene/Matrice4f.h"

TVecteur3f Tourne(const TVecteur3f& v, const TVecteur3f& axe, float degres) {
    // Rodrigues' formula
    const float a = degres * RadParDeg;
    const float c = std::cos(a), s = std::sin(a);
    return v * c + Vect(axe, v) * s + axe * (Scal(axe, v) * (1 - c));
}

TMatrice4f TMatrice4f::Repere(const TVecteur3f& x, const TVecteur3f& y, const TVecteur3f& z,
                              const TVecteur3f& o) {
    TMatrice4f r;
    r.m = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, o.x, o.y, o.z, 1};
    return r;
}

TMatrice4f TMatrice4f::Perspective(float tanDemiLargeur, float tanDemiHauteur, float proche, float loin) {
    TMatrice4f r;
    r.m.fill(0);
    r(0, 0) = 1 / tanDemiLargeur;
    r(1, 1) = 1 / tanDemiHauteur;
    r(2, 2) = -(loin + proche) / (loin - proche);
    r(2, 3) = -2 * loin * proche / (loin - proche);
    r(3, 2) = -1;
    return r;
}

TVecteur3f TMatrice4f::Point(const TVecteur3f& p) const {
    const auto& a = *this;
    return {a(0, 0) * p.x + a(0, 1) * p.y + a(0, 2) * p.z + a(0, 3),
            a(1, 0) * p.x + a(1, 1) * p.y + a(1, 2) * p.z + a(1, 3),
            a(2, 0) * p.x + a(2, 1) * p.y + a(2, 2) * p.z + a(2, 3)};
}

TVecteur3f TMatrice4f::Vecteur(const TVecteur3f& v) const {
    const auto& a = *this;
    return {a(0, 0) * v.x + a(0, 1) * v.y + a(0, 2) * v.z, a(1, 0) * v.x + a(1, 1) * v.y + a(1, 2) * v.z,
            a(2, 0) * v.x + a(2, 1) * v.y + a(2, 2) * v.z};
}

TMatrice4f TMatrice4f::InverseRigide() const {
    // transpose the rotation, rotate the translation back
    TMatrice4f r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r(i, j) = (*this)(j, i);
    const TVecteur3f t = r.Vecteur(Colonne(3));
    r(0, 3) = -t.x;
    r(1, 3) = -t.y;
    r(2, 3) = -t.z;
    return r;
}

TMatrice4f operator*(const TMatrice4f& a, const TMatrice4f& b) {
    TMatrice4f r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a(i, k) * b(k, j);
            r(i, j) = s;
        }
    return r;
}
