#include "scene/TexturesProcedurales.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// integer hash (no library generator: the same bytes everywhere)
std::uint32_t Hache(std::uint32_t x, std::uint32_t y, std::uint32_t graine) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ graine * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

float Lisse(float t) { return t * t * (3 - 2 * t); }

// value noise on a lattice of px x py cells that wraps, at a point of [0, 1)^2
float Bruit(float u, float v, int px, int py, std::uint32_t graine) {
    const float x = u * float(px), y = v * float(py);
    const int i = int(std::floor(x)), j = int(std::floor(y));
    const float fx = Lisse(x - float(i)), fy = Lisse(y - float(j));
    const auto valeur = [&](int a, int b) {
        const auto ca = std::uint32_t(((a % px) + px) % px), cb = std::uint32_t(((b % py) + py) % py);
        return float(Hache(ca, cb, graine) & 0xffffu) / 65535.0f;
    };
    const float bas = valeur(i, j) + (valeur(i + 1, j) - valeur(i, j)) * fx;
    const float haut = valeur(i, j + 1) + (valeur(i + 1, j + 1) - valeur(i, j + 1)) * fx;
    return bas + (haut - bas) * fy;
}

// octaves of noise, each twice as fine; periods stay whole so the sum tiles
float Octaves(float u, float v, int px, int py, int octaves, float gain, std::uint32_t graine) {
    float somme = 0, poids = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        somme += poids * Bruit(u, v, px << o, py << o, graine + std::uint32_t(o) * 101u);
        total += poids;
        poids *= gain;
    }
    return somme / total;
}

// spread a channel over most of 0..255 around its mean (noise sums bunch up in the middle)
void Etale(std::vector<float>& canal) {
    double moyenne = 0;
    for (float x : canal) moyenne += x;
    moyenne /= double(canal.size());
    double ecart = 0;
    for (float x : canal) ecart += (x - moyenne) * (x - moyenne);
    ecart = std::sqrt(ecart / double(canal.size()));
    const double k = ecart > 1e-9 ? 0.19 / ecart : 0;
    for (float& x : canal) x = float(std::clamp(0.5 + (x - moyenne) * k, 0.0, 1.0));
}

}  // namespace

std::uint8_t TTextureBruits::Texel(int x, int y, int c) const {
    const int cx = ((x % Cote) + Cote) % Cote, cy = ((y % Cote) + Cote) % Cote;
    return Rgba[size_t((cy * Cote + cx) * 4 + c)];
}

TTextureBruits TextureBruits(int cote, std::uint32_t graine) {
    TTextureBruits t;
    t.Cote = std::max(cote, 16);
    const int n = t.Cote;
    std::array<std::vector<float>, 4> canaux;
    for (auto& c : canaux) c.resize(size_t(n * n));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float u = float(x) / float(n), v = float(y) / float(n);
            const size_t k = size_t(y * n + x);
            canaux[0][k] = Octaves(u, v, n / 8, n / 8, 3, 0.55f, graine);
            canaux[1][k] = Octaves(u, v, n / 4, 4, 3, 0.6f, graine + 7);
            const float b = Octaves(u, v, n / 16, n / 16, 2, 0.5f, graine + 13);
            canaux[2][k] = std::fabs(b - 0.5f);
            canaux[3][k] = Octaves(u, v, 4, 4, 3, 0.5f, graine + 29);
        }
    for (auto& c : canaux) Etale(c);
    t.Rgba.resize(size_t(n * n * 4));
    for (size_t k = 0; k < size_t(n * n); ++k)
        for (size_t c = 0; c < 4; ++c) t.Rgba[k * 4 + c] = std::uint8_t(std::lround(canaux[c][k] * 255));
    return t;
}
