// Single-precision vectors and colours of the 3D view (the physics keeps its doubles).
#pragma once

#include <cmath>

struct TVecteur3f {
    float x = 0;
    float y = 0;
    float z = 0;

    friend bool operator==(const TVecteur3f&, const TVecteur3f&) = default;
};

constexpr TVecteur3f operator+(const TVecteur3f& a, const TVecteur3f& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr TVecteur3f operator-(const TVecteur3f& a, const TVecteur3f& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr TVecteur3f operator-(const TVecteur3f& a) {
    return {-a.x, -a.y, -a.z};
}
constexpr TVecteur3f operator*(const TVecteur3f& a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
constexpr TVecteur3f operator*(float k, const TVecteur3f& a) {
    return a * k;
}

constexpr float Scal(const TVecteur3f& a, const TVecteur3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// right-hand rule: X x Y = Z
constexpr TVecteur3f Vect(const TVecteur3f& a, const TVecteur3f& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Norme(const TVecteur3f& a) {
    return std::sqrt(Scal(a, a));
}

// the zero vector stays zero
inline TVecteur3f Unitaire(const TVecteur3f& a) {
    const float n = Norme(a);
    return n > 0 ? a * (1 / n) : TVecteur3f{};
}

inline constexpr float DegParRad = 57.29577951308232f;
inline constexpr float RadParDeg = 0.017453292519943295f;

// rotation of v about the unit axis by an angle in degrees (right-hand rule)
TVecteur3f Tourne(const TVecteur3f& v, const TVecteur3f& axe, float degres);

// RGBA, components in [0, 1]
struct TCouleur {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;

    friend bool operator==(const TCouleur&, const TCouleur&) = default;
};
