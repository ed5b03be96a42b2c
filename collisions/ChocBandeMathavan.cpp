#include "collisions/ChocBandeMathavan.h"

#include <algorithm>
#include <cmath>

namespace {

// The ball in the frame of the impact: x along the cushion, y into it, z up; velocities per unit
// of mass, impulses too (cm/s). The ball stays on the cloth: vz = 0 throughout.
struct TEtat {
    double vx, vy, wx, wy, wz;
};

// what one step of normal impulse dp at the cushion does: the friction there along x and along
// the cushion's tangent t = (0, -sinθ, cosθ), the cloth's normal reaction, the cloth's friction
struct TImpulsions {
    double fx = 0, ft = 0;
    double normale = 0;
    double gx = 0, gy = 0;
};

// no phase takes more steps than this many times the planned count (a loop must end whatever the
// constants)
constexpr int kPasMaxFacteur = 20;

// A friction impulse on a contact whose slip it changes by `raideur` times itself: the one that
// stops the slip when the friction cone allows it, else the limit against the slip.
void Frottement(double glx, double gly, double raideurX, double raideurY, double limite, double& fx,
                double& fy) {
    fx = -glx / raideurX;
    fy = -gly / raideurY;
    const double n = std::sqrt(glx * glx + gly * gly);
    if (fx * fx + fy * fy <= limite * limite || n <= 0) return;
    fx = -limite * glx / n;
    fy = -limite * gly / n;
}

// The impulses of a step. The slips at the cushion and at the cloth change by 7/2 of each one's
// own friction, by a cross term of the other's (1 - 5/2·sinθ along x, 5/2 - sinθ across), and by
// the normal impulses; each friction is worked out on the slip the rest of the step leaves (the
// cushion's first, the cloth's then with it).
TImpulsions Impulsions(const TImpactBandeMathavan& m, const TEtat& s, double sinT, double cosT, double dp) {
    const double r = m.Rayon;
    const double sx = s.vx + s.wy * r * sinT - s.wz * r * cosT;
    const double st = -s.vy * sinT + s.wx * r;
    const double cx = s.vx - s.wy * r;
    const double cy = s.vy + s.wx * r;
    const double ax = 1 - 2.5 * sinT, at = 2.5 - sinT;
    TImpulsions i;
    // the cushion: the cloth's reaction sinθ·dp - cosθ·ft keeps the ball down, and moves the slip
    Frottement(sx, st + cosT * sinT * dp, 3.5, 3.5 - cosT * cosT, m.FrotBande * dp, i.fx, i.ft);
    i.normale = std::max(0.0, sinT * dp - cosT * i.ft);
    Frottement(cx + ax * i.fx, cy + at * i.ft - cosT * dp, 3.5, 3.5, m.FrotTapis * i.normale, i.gx, i.gy);
    return i;
}

void Pas(TEtat& s, const TImpulsions& i, double dp, double sinT, double cosT, double rot) {
    s.vx += i.fx + i.gx;
    s.vy += -cosT * dp - sinT * i.ft + i.gy;
    s.wx += rot * (i.ft + i.gy);
    s.wy += rot * (i.fx * sinT - i.gx);
    s.wz += -rot * i.fx * cosT;
}

// Compression: steps until the ball stops going into the cushion (the last one cut to land there);
// the work the normal impulse took.
double Compression(const TImpactBandeMathavan& m, TEtat& s, double sinT, double cosT, double dp) {
    const double rot = 5 / (2 * m.Rayon);
    double travail = 0;
    for (int n = 0; s.vy > 0 && n < kPasMaxFacteur * m.PasParPhase; ++n) {
        TImpulsions i = Impulsions(m, s, sinT, cosT, dp);
        double d = dp;
        const double dvy = -cosT * dp - sinT * i.ft + i.gy;
        if (dvy < 0 && s.vy + dvy < 0) {
            d = dp * s.vy / -dvy;
            i = Impulsions(m, s, sinT, cosT, d);
        }
        const double avant = s.vy;
        Pas(s, i, d, sinT, cosT, rot);
        if (d < dp) s.vy = 0;
        travail += 0.5 * (avant + s.vy) * cosT * d;
    }
    return travail;
}

// Restitution: steps until the normal impulse has given back `rendu` of work (the last one cut)
void Restitution(const TImpactBandeMathavan& m, TEtat& s, double sinT, double cosT, double dp, double rendu) {
    const double rot = 5 / (2 * m.Rayon);
    double travail = 0;
    for (int n = 0; travail < rendu && n < kPasMaxFacteur * m.PasParPhase; ++n) {
        TImpulsions i = Impulsions(m, s, sinT, cosT, dp);
        double d = dp;
        const double dvy = -cosT * dp - sinT * i.ft + i.gy;
        // the work of a step, along the speed out of the cushion at its middle
        const double dw = -(s.vy + 0.5 * dvy) * cosT * dp;
        if (dw > 0 && travail + dw > rendu) {
            d = dp * (rendu - travail) / dw;
            i = Impulsions(m, s, sinT, cosT, d);
        }
        const double avant = s.vy;
        Pas(s, i, d, sinT, cosT, rot);
        travail += -0.5 * (avant + s.vy) * cosT * d;
        if (d < dp) break;
    }
}

}  // namespace

bool ChocBandeMathavan(const TImpactBandeMathavan& m, const TVecteur& normale, TVecteur& vitesse,
                       TVecteur& rotation) {
    // the frame of the impact: y into the cushion, z up, x = y × z
    const TVecteur ey = MultVect(normale, -1.0);
    const TVecteur ez = Vecteur(0, 0, 1);
    const TVecteur ex = ProdVect(ey, ez);
    TEtat s{ProdScal(vitesse, ex), ProdScal(vitesse, ey), ProdScal(rotation, ex), ProdScal(rotation, ey),
            ProdScal(rotation, ez)};
    if (!(s.vy > 0) || m.PasParPhase < 1) return false;
    const double sinT = m.SinTheta, cosT = std::sqrt(std::max(0.0, 1 - sinT * sinT));
    // the compression's impulse is about the speed into the cushion: that many steps
    const double dp = s.vy / m.PasParPhase;
    const double travail = Compression(m, s, sinT, cosT, dp);
    Restitution(m, s, sinT, cosT, dp, m.Elasticite * m.Elasticite * travail);
    vitesse = SommeVect(MultVect(ex, s.vx), MultVect(ey, s.vy));
    rotation = SommeVect(SommeVect(MultVect(ex, s.wx), MultVect(ey, s.wy)), MultVect(ez, s.wz));
    return true;
}
