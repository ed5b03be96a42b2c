#include "scene/Maillage.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float Pi = 3.14159265358979f;

// a triangle with its own corners, for flat faces
void TriangleFacette(TMaillage& m, const TVecteur3f& a, const TVecteur3f& b, const TVecteur3f& c,
                     const TVecteur3f& dehors) {
    TVecteur3f n = Unitaire(Vect(b - a, c - a));
    if (Scal(n, dehors) < 0) n = -n;
    const auto base = static_cast<std::uint32_t>(m.Sommets.size());
    for (const auto& p : {a, b, c}) {
        m.Sommets.push_back(p);
        m.Normales.push_back(n);
    }
    m.Indices.insert(m.Indices.end(), {base, base + 1, base + 2});
}

// a fan of triangles around a centre, one normal
void Eventail(TMaillage& m, const TVecteur3f& centre, const std::vector<TVecteur3f>& bord,
              const TVecteur3f& n) {
    const auto base = static_cast<std::uint32_t>(m.Sommets.size());
    m.Sommets.push_back(centre);
    m.Normales.push_back(n);
    for (const auto& p : bord) {
        m.Sommets.push_back(p);
        m.Normales.push_back(n);
    }
    const auto k = static_cast<std::uint32_t>(bord.size());
    for (std::uint32_t i = 0; i < k; ++i)
        m.Indices.insert(m.Indices.end(), {base, base + 1 + i, base + 1 + (i + 1) % k});
}

TMaillage Plan(const TPlan& p) {
    TMaillage m;
    // cells of the plane's mesh size: enough for vertex lighting to show the lamps, few enough
    // triangles for software OpenGL
    const int nx = std::clamp(int(p.Largeur() / p.Maille()), 1, 64);
    const int ny = std::clamp(int(p.Hauteur() / p.Maille()), 1, 64);
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            m.Sommets.push_back(
                {p.Largeur() * (float(i) / nx - 0.5f), p.Hauteur() * (float(j) / ny - 0.5f), 0});
            m.Normales.push_back({0, 0, 1});
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const auto a = static_cast<std::uint32_t>(j * (nx + 1) + i);
            const auto b = a + 1, c = a + static_cast<std::uint32_t>(nx + 1), d = c + 1;
            m.Indices.insert(m.Indices.end(), {a, b, d, a, d, c});
        }
    return m;
}

TMaillage Disque(const TDisque& d) {
    TMaillage m;
    std::vector<TVecteur3f> bord;
    for (int i = 0; i < d.Tranches(); ++i) {
        const float a = 2 * Pi * float(i) / float(d.Tranches());
        bord.push_back({d.RayonExterieur() * std::cos(a), d.RayonExterieur() * std::sin(a), 0});
    }
    Eventail(m, {}, bord, {0, 0, 1});
    return m;
}

TMaillage Cylindre(const TCylindre& c) {
    TMaillage m;
    const int n = c.Tranches();
    std::vector<TVecteur3f> haut, bas;
    for (int i = 0; i < n; ++i) {
        haut.push_back(CoinCylindre(c, i, true));
        bas.push_back(CoinCylindre(c, i, false));
    }
    // sides: flat facets for a prism, smooth for a round body
    const bool facettes = n <= 8;
    const float pente = c.Hauteur() > 0 ? (c.RayonBas() - c.RayonHaut()) / c.Hauteur() : 0;
    for (int i = 0; i < n; ++i) {
        const int k = (i + 1) % n;
        const TVecteur3f dehors = (haut[i] + haut[k] + bas[i] + bas[k]) * 0.25f;
        const TVecteur3f radial{dehors.x, 0, dehors.z};
        if (facettes) {
            TriangleFacette(m, bas[i], bas[k], haut[k], radial);
            TriangleFacette(m, bas[i], haut[k], haut[i], radial);
            continue;
        }
        const auto base = static_cast<std::uint32_t>(m.Sommets.size());
        for (int j : {i, k}) {
            const TVecteur3f r = Unitaire(TVecteur3f{bas[j].x + haut[j].x, 0, bas[j].z + haut[j].z});
            const TVecteur3f nrm = Unitaire({r.x, pente, r.z});
            m.Sommets.push_back(bas[j]);
            m.Normales.push_back(nrm);
            m.Sommets.push_back(haut[j]);
            m.Normales.push_back(nrm);
        }
        m.Indices.insert(m.Indices.end(), {base, base + 2, base + 3, base, base + 3, base + 1});
    }
    // the two ends
    Eventail(m, {0, c.Hauteur() / 2, 0}, haut, {0, 1, 0});
    Eventail(m, {0, -c.Hauteur() / 2, 0}, bas, {0, -1, 0});
    return m;
}

TMaillage Boite(const TBoite& b) {
    TMaillage m;
    const float x = b.Largeur() / 2, y = b.Hauteur() / 2, z = b.Profondeur() / 2;
    // each face: its normal and two in-plane half axes
    const TVecteur3f faces[6][3] = {{{1, 0, 0}, {0, y, 0}, {0, 0, z}}, {{-1, 0, 0}, {0, 0, z}, {0, y, 0}},
                                    {{0, 1, 0}, {0, 0, z}, {x, 0, 0}}, {{0, -1, 0}, {x, 0, 0}, {0, 0, z}},
                                    {{0, 0, 1}, {x, 0, 0}, {0, y, 0}}, {{0, 0, -1}, {0, y, 0}, {x, 0, 0}}};
    for (const auto& f : faces) {
        const TVecteur3f n = f[0];
        const TVecteur3f c{n.x * x, n.y * y, n.z * z};
        const auto base = static_cast<std::uint32_t>(m.Sommets.size());
        for (const auto& p : {c - f[1] - f[2], c + f[1] - f[2], c + f[1] + f[2], c - f[1] + f[2]}) {
            m.Sommets.push_back(p);
            m.Normales.push_back(n);
        }
        m.Indices.insert(m.Indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    return m;
}

TMaillage Sphere(const TSphere& s) {
    TMaillage m;
    constexpr int tranches = 32;
    const float lat0 = s.LatitudeBas() * RadParDeg;
    // about 24 stacks for a whole sphere
    const int piles = std::max(2, int(std::ceil((Pi / 2 - lat0) / Pi * 24)));
    for (int j = 0; j <= piles; ++j) {
        const float lat = lat0 + (Pi / 2 - lat0) * float(j) / float(piles);
        for (int i = 0; i <= tranches; ++i) {
            const float lon = 2 * Pi * float(i) / tranches;
            const TVecteur3f n{std::cos(lat) * std::cos(lon), std::sin(lat), -std::cos(lat) * std::sin(lon)};
            m.Sommets.push_back(n * s.Rayon());
            m.Normales.push_back(n);
        }
    }
    for (int j = 0; j < piles; ++j)
        for (int i = 0; i < tranches; ++i) {
            const auto a = static_cast<std::uint32_t>(j * (tranches + 1) + i);
            const auto b = a + 1, c = a + tranches + 1, d = c + 1;
            m.Indices.insert(m.Indices.end(), {a, b, d, a, d, c});
        }
    return m;
}
}  // namespace

TVecteur3f CoinCylindre(const TCylindre& c, int i, bool haut) {
    // corner 0 points down (-Z), the others follow towards +X
    const float a = (270.0f + 360.0f * float(i) / float(c.Tranches())) * RadParDeg;
    const float r = haut ? c.RayonHaut() : c.RayonBas();
    return {r * std::cos(a), (haut ? 0.5f : -0.5f) * c.Hauteur(), r * std::sin(a)};
}

TMaillage MaillageDe(const TNoeud& noeud) {
    TMaillage m;
    switch (noeud.Genre()) {
        case TGenreNoeud::Plan:
            m = Plan(static_cast<const TPlan&>(noeud));
            break;
        case TGenreNoeud::Disque:
            m = Disque(static_cast<const TDisque&>(noeud));
            break;
        case TGenreNoeud::Cylindre:
            m = Cylindre(static_cast<const TCylindre&>(noeud));
            m.Ferme = true;
            break;
        case TGenreNoeud::Boite:
            m = Boite(static_cast<const TBoite&>(noeud));
            m.Ferme = true;
            break;
        case TGenreNoeud::Sphere:
            m = Sphere(static_cast<const TSphere&>(noeud));
            m.Ferme = static_cast<const TSphere&>(noeud).LatitudeBas() <= -90;
            break;
        default:
            return {};
    }
    // every triangle counter-clockwise seen from outside, so that hidden faces can be skipped
    for (size_t t = 0; t + 2 < m.Indices.size(); t += 3) {
        const TVecteur3f &a = m.Sommets[m.Indices[t]], &b = m.Sommets[m.Indices[t + 1]],
                         &c = m.Sommets[m.Indices[t + 2]];
        const TVecteur3f n =
            m.Normales[m.Indices[t]] + m.Normales[m.Indices[t + 1]] + m.Normales[m.Indices[t + 2]];
        if (Scal(Vect(b - a, c - a), n) < 0) std::swap(m.Indices[t + 1], m.Indices[t + 2]);
    }
    return m;
}
