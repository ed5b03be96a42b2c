// Vector procedures of the physics: value-returning, so a result may be stored over an input.
#pragma once

#include <cmath>

#include "sim/TypesReels.h"

struct TVecteur {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend bool operator==(const TVecteur&, const TVecteur&) = default;
};

inline constexpr TVecteur VecteurNul{0.0, 0.0, 0.0};

constexpr TVecteur Vecteur(double x, double y, double z) {
    return {x, y, z};
}

constexpr TVecteur SommeVect(const TVecteur& a, const TVecteur& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

constexpr TVecteur DiffVect(const TVecteur& a, const TVecteur& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// right-hand rule: (1,0,0) x (0,1,0) = (0,0,1)
constexpr TVecteur ProdVect(const TVecteur& a, const TVecteur& b) {
    const TEtendu ax = a.x, ay = a.y, az = a.z, bx = b.x, by = b.y, bz = b.z;
    return {double(ay * bz - az * by), double(az * bx - ax * bz), double(ax * by - ay * bx)};
}

constexpr double ProdScal(const TVecteur& a, const TVecteur& b) {
    return double(TEtendu(a.x) * b.x + TEtendu(a.y) * b.y + TEtendu(a.z) * b.z);
}

constexpr TVecteur MultVect(const TVecteur& a, double k) {
    return {k * a.x, k * a.y, k * a.z};
}

constexpr double Norme2(const TVecteur& a) {
    return ProdScal(a, a);
}

inline double Norme(const TVecteur& a) {
    return std::sqrt(Norme2(a));
}

// zero vector in, zero vector out: no division fault
inline TVecteur Unitaire(const TVecteur& a) {
    const TEtendu n = std::sqrt(TEtendu(a.x) * a.x + TEtendu(a.y) * a.y + TEtendu(a.z) * a.z);
    if (n > 0) return {double(a.x / n), double(a.y / n), double(a.z / n)};
    return VecteurNul;
}
