#include "collisions/C6_DetecteChocs.h"

#include <cmath>

namespace {

// roots of a.t² + b.t + c = 0 into a and b (kept inline: the forecasts are on the hot path)
inline int Resoud(TEtendu& a, TEtendu& b, TEtendu& c) {
    // degenerate: linear, or no equation at all
    if (a == 0) {
        if (b == 0) return 0;
        const TEtendu racine = -c / b;
        a = racine;
        b = racine;
        return 1;
    }
    // the discriminant is held as a double
    const double delta = double(b * b - 4 * a * c);
    if (delta < 0) return 0;
    if (delta > 0) {
        const TEtendu rac = std::sqrt(TEtendu(delta));
        const TEtendu r1 = (-b + rac) / (2 * a);
        const TEtendu r2 = (-b - rac) / (2 * a);
        a = r1;
        b = r2;
        return 2;
    }
    const TEtendu racine = -b / (2 * a);
    a = racine;
    b = racine;
    return 1;
}

inline double Temps(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent) {
    if (Resoud(a, b, c) == 0) return DelaiAucunChoc;
    // a contact further back than the previous step happens now
    if (a + dtPrecedent < 0) a = 0;
    if (b + dtPrecedent < 0) b = 0;
    return double(b < a ? b : a);
}

// Temps for a >= 0, as the forecasts have it (a sum of squares). With a > 0 and two roots the
// second root is the smaller one, so when it is not stepped back it is the answer and the first
// is not needed: one division less, same result to the bit.
inline double TempsPositif(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent) {
    if (a > 0) {
        const double delta = double(b * b - 4 * a * c);
        if (delta > 0) {
            const TEtendu rac = std::sqrt(TEtendu(delta));
            const TEtendu r2 = (-b - rac) / (2 * a);
            if (!(r2 + dtPrecedent < 0)) return double(r2);
            TEtendu r1 = (-b + rac) / (2 * a);
            if (r1 + dtPrecedent < 0) r1 = 0;
            return double(0 < r1 ? TEtendu(0) : r1);
        }
    }
    return Temps(a, b, c, dtPrecedent);
}

// True when the contact of a.t² + b.t + c = 0 (a centre approaching from outside: b < 0 < c)
// surely comes after the horizon, so its square root and divisions can be spared. Above its
// tangent c + b.t, the curve stays positive up to twice the horizon; and b² < 1e6.a.c keeps the
// rounding of the root formula (large only for grazing or near-parallel motion) far inside that
// margin, so the computed root is beyond the horizon too.
inline bool ApresHorizon(TEtendu a, TEtendu b, TEtendu c, double horizon) {
    return b < 0 && c > 0 && c + 2 * b * horizon > 0 && b * b < 1e6 * a * c;
}

// contact of a centre moving in a straight line with a nose line, in the vertical plane across
// it: d and vit along the axis, dz and vz upwards
inline double TempsBande(double d, double vit, double dz, double vz, double rayon2, const TChocPrevu& prevu) {
    const TEtendu a = TEtendu(vit) * vit + TEtendu(vz) * vz;
    const TEtendu b = 2 * (TEtendu(vit) * d + TEtendu(vz) * dz);
    const TEtendu c = TEtendu(d) * d + TEtendu(dz) * dz - rayon2;
    // only a centre approaching the nose line: one moving away (its contact roots, if any, in the
    // past) would be "hit now" by a cushion it is leaving, and gain energy from it
    if (b >= 0) return DelaiAucunChoc;
    if (ApresHorizon(a, b, c, prevu.Horizon)) return DelaiAucunChoc;
    return TempsPositif(a, b, c, prevu.dtPrecedent);
}

}  // namespace

int TVelmoraDetecteChocs::ResoudEq2(TEtendu& a, TEtendu& b, TEtendu& c) { return Resoud(a, b, c); }

double TVelmoraDetecteChocs::TempsChoc(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent) {
    return Temps(a, b, c, dtPrecedent);
}

void TVelmoraDetecteChocs::PrevoitChocBande(TEtatBille& bille, const TBande* bx, const TBande* by,
                                            TChocPrevu& prevu) const {
    const TVecteur& p = bille.Position;
    const TVecteur& v = bille.Vitesse;

    // the x side first, so that it wins a tie
    const TBande* gagnante = nullptr;
    double delai = prevu.Delai;
    if (bx != nullptr) {
        const double t = TempsBande(p.x - bx->Point.x, v.x, p.z - bx->Point.z, v.z, Fisik.Rayon2(), prevu);
        if (t < delai) {
            delai = t;
            gagnante = bx;
        }
    }
    if (by != nullptr) {
        const double t = TempsBande(p.y - by->Point.y, v.y, p.z - by->Point.z, v.z, Fisik.Rayon2(), prevu);
        if (t < delai) {
            delai = t;
            gagnante = by;
        }
    }
    if (gagnante != nullptr) {
        prevu.A = &bille;
        prevu.B = gagnante;
        prevu.Delai = delai;
        prevu.Traitement = TTraitementChoc::Lie<&TVelmoraDetecteChocs::TraiteChocBande>(this);
    }
}

void TVelmoraDetecteChocs::PrevoitChocBilles(TEtatBille& A, TEtatBille& B, const TVecteur& d,
                                             TChocPrevu& prevu) const {
    // only approaching balls
    const TVecteur vr = DiffVect(B.Vitesse, A.Vitesse);
    const TEtendu b = 2 * (TEtendu(d.x) * vr.x + TEtendu(d.y) * vr.y + TEtendu(d.z) * vr.z);
    if (b >= 0) return;

    const TEtendu a = TEtendu(vr.x) * vr.x + TEtendu(vr.y) * vr.y + TEtendu(vr.z) * vr.z;
    const TEtendu c = (TEtendu(d.x) * d.x + TEtendu(d.y) * d.y + TEtendu(d.z) * d.z) - Fisik.Diametre2();
    if (ApresHorizon(a, b, c, prevu.Horizon)) return;
    const double t = TempsPositif(a, b, c, prevu.dtPrecedent);
    if (t < prevu.Delai) {
        prevu.A = &A;
        prevu.B = &B;
        prevu.Delai = t;
        prevu.Traitement = TTraitementChoc::Lie<&TVelmoraDetecteChocs::TraiteChocBilles>(this);
    }
}

void TVelmoraDetecteChocs::DetecteChocTapis(TEtatBille& bille, TChocPrevu& prevu) const {
    if (bille.Mouvement != mvVole) return;
    // centre height under gravity alone meets the resting height R
    TEtendu a = -TEtendu(bille.DemiAccVol.z);
    TEtendu b = bille.Vitesse.z;
    TEtendu c = TEtendu(bille.Position.z) - Fisik.RayonBilles();
    if (Resoud(a, b, c) == 0) return;
    // only a descending ball lands
    const TEtendu acc = bille.AccVol.z;
    const TEtendu vz = bille.Vitesse.z;
    if (!(a * acc > vz)) a = DelaiAucunChoc;
    if (!(b * acc > vz)) b = DelaiAucunChoc;
    const double t = double(b < a ? b : a);
    if (t < prevu.Delai) {
        prevu.A = &bille;
        prevu.B = nullptr;
        prevu.Delai = t;
        prevu.Traitement = TTraitementChoc::Lie<&TVelmoraDetecteChocs::TraiteChocTapis>(this);
    }
}

void TVelmoraDetecteChocs::TraiteChocBilles(TEtatBille& A, const void* B) const {
    // the other ball is a working record of the shot, never const: only a cushion is
    ChocBilles(A, *static_cast<TEtatBille*>(const_cast<void*>(B)));
}

void TVelmoraDetecteChocs::TraiteChocBande(TEtatBille& A, const void* B) const {
    ChocBande(A, *static_cast<const TBande*>(B));
}

void TVelmoraDetecteChocs::TraiteChocTapis(TEtatBille& A, const void* B) const { ChocTapis(A, B); }
