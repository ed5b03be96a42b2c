#include "moteurs/MesuresContacts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "moteurs/TrajetEnregistre.h"

namespace {

constexpr double kDegre = 180 / std::numbers::pi;
// the samples of a velocity: within this of the contact (s), kept clear of it and of the next
constexpr double kFenetre = 0.12;
constexpr double kMarge = 0.02;
// a velocity needs this many samples
constexpr int kEchantillonsMin = 3;
// the end of the sliding after a contact (s), and the shortest last roll measured
constexpr double kFinGlissement = 0.5;
constexpr double kRoulementMin = 0.8;

int Compte(const std::vector<TEchantillon>& s, double ta, double tb) {
    int n = 0;
    for (const TEchantillon& e : s) n += e.t >= ta && e.t <= tb;
    return n;
}

// the velocity over [ta, tb] when enough samples lie there
bool Vitesse(const std::vector<TEchantillon>& s, double ta, double tb, TLigneTemps& l) {
    return tb > ta && Compte(s, ta, tb) >= kEchantillonsMin && AjusteLigne(s, ta, tb, l);
}

// the inward normal and the direction along cushion c (1 +x, 2 +y, 3 -x, 4 -y)
void Repere(int c, double& nx, double& ny, double& tx, double& ty) {
    nx = c == 1 ? -1 : c == 3 ? 1 : 0;
    ny = c == 2 ? -1 : c == 4 ? 1 : 0;
    tx = ny;
    ty = -nx;
}

}  // namespace

TMesureBande MesureBande(const std::vector<TEchantillon>& s, const TEvenement& e, double tPrec,
                         double tSuiv) {
    TMesureBande m;
    TLigneTemps avant, apres;
    if (!Vitesse(s, std::max(e.t - kFenetre, tPrec + kMarge), e.t - kMarge, avant) ||
        !Vitesse(s, e.t + kMarge, std::min(e.t + kFenetre, tSuiv - kMarge), apres))
        return m;
    double nx, ny, tx, ty;
    Repere(e.Partie, nx, ny, tx, ty);
    const double vnAvant = avant.vx * nx + avant.vy * ny, vtAvant = avant.vx * tx + avant.vy * ty;
    const double vnApres = apres.vx * nx + apres.vy * ny, vtApres = apres.vx * tx + apres.vy * ty;
    const double vAvant = std::hypot(vnAvant, vtAvant);
    // coming into the cushion and going away from it
    if (vnAvant >= 0 || vnApres <= 0 || vAvant < 1e-6) return m;
    const double sens = vtAvant < 0 ? -1.0 : 1.0;
    m.AngleEntree = std::atan2(std::abs(vtAvant), -vnAvant) * kDegre;
    m.AngleSortie = std::atan2(sens * vtApres, vnApres) * kDegre;
    m.RapportVitesse = std::hypot(vnApres, vtApres) / vAvant;
    m.PositionRail = e.x * tx + e.y * ty;
    m.Valide = true;
    return m;
}

TMesureBille MesureBille(const std::vector<TEchantillon>& frappeur, const std::vector<TEchantillon>& objet,
                         double t, double diametre, double tPrecFrappeur, double tSuivObjet) {
    TMesureBille m;
    TLigneTemps avant, apres;
    if (!DemarreVers(objet, t) ||
        !Vitesse(frappeur, std::max(t - kFenetre, tPrecFrappeur + kMarge), t - kMarge, avant) ||
        !Vitesse(objet, t + kMarge, std::min(t + kFenetre, tSuivObjet - kMarge), apres))
        return m;
    const double v = std::hypot(avant.vx, avant.vy);
    if (v < 1e-6) return m;
    const double ux = avant.vx / v, uy = avant.vy / v;
    // the striker's centre at the contact: on its line, a diameter from the resting ball (the
    // nearest point of the line when the tracking puts it wider)
    const TPoint2 repos = PositionTrajet(objet, t - kFenetre);
    const double px = repos.x - avant.x0, py = repos.y - avant.y0;
    const double le = px * ux + py * uy, lat = ux * py - uy * px;
    const double recul = std::abs(lat) < diametre ? std::sqrt(diametre * diametre - lat * lat) : 0.0;
    const double cx = avant.x0 + (le - recul) * ux, cy = avant.y0 + (le - recul) * uy;
    const double dn = std::hypot(repos.x - cx, repos.y - cy);
    if (dn < 1e-6) return m;
    const double nx = (repos.x - cx) / dn, ny = (repos.y - cy) / dn;
    m.Coupe = std::acos(std::clamp(ux * nx + uy * ny, -1.0, 1.0)) * kDegre;
    // the side the striker slides across the line of centres
    const double cote = (ux * ny - uy * nx) < 0 ? 1.0 : -1.0;
    const double wx = apres.vx, wy = apres.vy;
    m.Jet = cote * std::atan2(nx * wy - ny * wx, nx * wx + ny * wy) * kDegre;
    m.RapportVitesse = std::hypot(wx, wy) / v;
    m.Valide = true;
    return m;
}

bool DecelerationFinale(const std::vector<TEchantillon>& s, double tDernierContact, double& deceleration) {
    // the roll: from the end of the sliding to the last sample before the ball rests
    const double debut = tDernierContact + kFinGlissement;
    std::size_t i0 = 0;
    while (i0 < s.size() && s[i0].t < debut) ++i0;
    std::size_t i1 = i0;
    while (i1 + 1 < s.size() && s[i1 + 1].t - s[i1].t <= EcartRepos) ++i1;
    if (i0 >= s.size() || i1 - i0 + 1 < 10 || s[i1].t - s[i0].t < kRoulementMin) return false;
    // the distance along the roll's line against time: a parabola
    const double dx = s[i1].x - s[i0].x, dy = s[i1].y - s[i0].y, l = std::hypot(dx, dy);
    if (l < 1) return false;
    const double tm = 0.5 * (s[i0].t + s[i1].t);
    TMoindresCarres mc(3);
    for (std::size_t i = i0; i <= i1; ++i) {
        const double u = s[i].t - tm;
        const double x[3] = {1, u, u * u};
        mc.Ajoute(x, ((s[i].x - s[i0].x) * dx + (s[i].y - s[i0].y) * dy) / l);
    }
    double sol[3];
    if (!mc.Resout(sol)) return false;
    deceleration = -2 * sol[2];
    return true;
}

TCoupEnregistre EchantillonneCalcul(const TStockTrajets& stock, double frappe) {
    TOptionsEnregistrement o;
    o.Bruit = 0;
    o.Decalage = frappe;
    return EnregistreStock(stock, o);
}
