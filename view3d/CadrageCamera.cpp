#include "view3d/CadrageCamera.h"

#include <algorithm>
#include <cmath>
#include <limits>

TCoinsBoite CoinsBoite(const TVecteur3f& min, const TVecteur3f& max) {
    TCoinsBoite c;
    for (int i = 0; i < 8; ++i)
        c[size_t(i)] = {(i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z};
    return c;
}

namespace {

// the corners in the camera's frame around its target: across, up, and forward of the target
struct TCoinsCamera {
    std::array<TVecteur3f, 8> p;
};

TCoinsCamera DansLeRepere(const TCamera& camera, const TCoinsBoite& coins) {
    const TVecteur3f cible = camera.Cible()->PositionAbsolue();
    const TVecteur3f v = camera.Visee();
    const TVecteur3f h = camera.HautImage();
    const TVecteur3f d = Unitaire(Vect(v, h));
    TCoinsCamera r;
    for (size_t i = 0; i < coins.size(); ++i) {
        const TVecteur3f q = coins[i] - cible;
        r.p[i] = {Scal(q, d), Scal(q, h), Scal(q, v)};
    }
    return r;
}

// nearest distance at which every corner lies within the tangents tx, ty of the picture's centre
float DistancePour(const TCoinsCamera& c, float tx, float ty) {
    if (!(tx > 0) || !(ty > 0)) return std::numeric_limits<float>::infinity();
    float d = 0;
    for (const TVecteur3f& p : c.p) {
        // in front of the camera, whatever the tangents
        d = std::max({d, 1 - p.z, std::fabs(p.x) / tx - p.z, std::fabs(p.y) / ty - p.z});
    }
    return d;
}

// whether, seen from distance d, the corners' extent reaches into the reserve (top right)
bool EmpieteReserve(const TCoinsCamera& c, float d, float tx, float ty, float largeur, float hauteur,
                    float marge, const TReserveImage& reserve) {
    if (reserve.Largeur <= 0 || reserve.Hauteur <= 0) return false;
    float xMax = -1e9f, yMax = -1e9f;
    for (const TVecteur3f& p : c.p) {
        const float profondeur = d + p.z;
        xMax = std::max(xMax, (p.x / profondeur / tx + 1) * 0.5f * largeur);
        yMax = std::max(yMax, (p.y / profondeur / ty + 1) * 0.5f * hauteur);
    }
    return xMax > largeur - float(reserve.Largeur) - marge && yMax > hauteur - float(reserve.Hauteur) - marge;
}

}  // namespace

float DistanceCadrage(const TCamera& camera, int largeur, int hauteur, const TCoinsBoite& coins, float marge,
                      const TReserveImage& reserve) {
    if (!camera.Cible()) return 0;
    const float l = float(std::max(largeur, 1)), h = float(std::max(hauteur, 1));
    // the picture's half angles, the smaller side getting the nominal one (as TVue draws)
    const float t = TCamera::FilmFocale / camera.Focale();
    const float tx = l >= h ? t * l / h : t;
    const float ty = l >= h ? t : t * h / l;
    const TCoinsCamera c = DansLeRepere(camera, coins);
    const auto reduit = [](float tangente, float cote, float retrait) {
        return tangente * (1 - 2 * retrait / cote);
    };
    const float d = DistancePour(c, reduit(tx, l, marge), reduit(ty, h, marge));
    if (!EmpieteReserve(c, d, tx, ty, l, h, marge, reserve)) return d;
    // clear of the reserve: narrower on both sides, or lower at top and bottom, the nearer of the two
    const float dLargeur =
        DistancePour(c, reduit(tx, l, marge + float(reserve.Largeur)), reduit(ty, h, marge));
    const float dHauteur =
        DistancePour(c, reduit(tx, l, marge), reduit(ty, h, marge + float(reserve.Hauteur)));
    const float meilleure = std::min(dLargeur, dHauteur);
    return std::isfinite(meilleure) ? meilleure : d;
}
