#include "sim/RepitDetection.h"

#include <algorithm>
#include <cmath>

TBornesRepit BornesRepit(const TPARAMPHYS& f) {
    TBornesRepit b;
    b.Diametre = f.Diametre();
    // the sliding brake is G times its friction; a little more against rounding
    b.AccGlisse = f.G() * f.FrotBiTapGlisse() * (1 + 1e-6);
    b.PasMax = f.dtAnal();
    b.DureeMax = 50 * f.dtAnal();
    // the cushion forecast's approach zone, with the same arithmetic
    const double marge = 1.5 * f.Diametre();
    b.xMax = f.Bandes()[0].Point.x - marge;
    b.xMin = f.Bandes()[1].Point.x + marge;
    b.yMax = f.Bandes()[2].Point.y - marge;
    b.yMin = f.Bandes()[3].Point.y + marge;
    return b;
}

namespace {

// Along one axis: a gap (cm) that closes at most at speed s plus what acceleration acc adds over
// at most DureeMax; the time during which it stays above need(τ) = 2.|relative speed|.PasMax.
double RepitAxe(double ecart, double s, double acc, const TBornesRepit& b) {
    const double vitesseMax = s + acc * b.DureeMax;
    const double utile = ecart - 2 * vitesseMax * b.PasMax;
    if (!(utile > 0)) return 0;
    const double fermeture = s + 0.5 * acc * b.DureeMax;
    if (!(fermeture > 0)) return b.DureeMax;
    return std::min(utile / fermeture, b.DureeMax);
}

}  // namespace

double RepitPaire(const TEtatBille& A, const TEtatBille& B, const TBornesRepit& bornes) {
    // either axis keeping its gap is enough: a contact needs both closed
    const double acc = AccHorizontale(A, bornes) + AccHorizontale(B, bornes);
    const double ex = std::fabs(B.Position.x - A.Position.x) - bornes.Diametre - TBornesRepit::Marge;
    const double ey = std::fabs(B.Position.y - A.Position.y) - bornes.Diametre - TBornesRepit::Marge;
    const double sx = std::fabs(A.Vitesse.x) + std::fabs(B.Vitesse.x);
    const double sy = std::fabs(A.Vitesse.y) + std::fabs(B.Vitesse.y);
    return std::max(RepitAxe(ex, sx, acc, bornes), RepitAxe(ey, sy, acc, bornes));
}

double RepitBandes(const TEtatBille& bille, const TBornesRepit& bornes) {
    // both axes must keep out of the approach zones; no step term: the zones are tested at the
    // start of a pass only
    const TVecteur& p = bille.Position;
    const double ex = std::min(bornes.xMax - p.x, p.x - bornes.xMin) - TBornesRepit::Marge;
    const double ey = std::min(bornes.yMax - p.y, p.y - bornes.yMin) - TBornesRepit::Marge;
    if (!(ex > 0 && ey > 0)) return 0;
    const double ajout = 0.5 * AccHorizontale(bille, bornes) * bornes.DureeMax;
    const double tx = ex / (std::fabs(bille.Vitesse.x) + ajout);
    const double ty = ey / (std::fabs(bille.Vitesse.y) + ajout);
    return std::min({tx, ty, bornes.DureeMax});
}
