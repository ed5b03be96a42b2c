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

// contact of a centre moving in a straight line with a nose line, in the vertical plane across
// it: d and vit along the axis, dz and vz upwards
inline double TempsBande(double d, double vit, double dz, double vz, double rayon2, double dtPrecedent) {
    const TEtendu a = TEtendu(vit) * vit + TEtendu(vz) * vz;
    const TEtendu b = 2 * (TEtendu(vit) * d + TEtendu(vz) * dz);
    const TEtendu c = TEtendu(d) * d + TEtendu(dz) * dz - rayon2;
    return Temps(a, b, c, dtPrecedent);
}

}  // namespace

int TVelmoraDetecteChocs::ResoudEq2(TEtendu& a, TEtendu& b, TEtendu& c) {
    return Resoud(a, b, c);
}

double TVelmoraDetecteChocs::TempsChoc(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent) {
    return Temps(a, b, c, dtPrecedent);
}

void TVelmoraDetecteChocs::DetecteChocBande(TEtatBille& bille, TChocPrevu& prevu) {
    if (bille.Mouvement > mvRoule) return;
    const TVecteur& p = bille.Position;
    const TVecteur& v = bille.Vitesse;
    const double marge = 1.5 * Fisik.Diametre;

    // one candidate per axis: the cushion the ball moves towards, when the ball is near it
    TBande* bx = nullptr;
    if (v.x > 0) {
        if (p.x > Fisik.Bandes[0].Point.x - marge) bx = &Fisik.Bandes[0];
    } else if (p.x < Fisik.Bandes[1].Point.x + marge) {
        bx = &Fisik.Bandes[1];
    }
    TBande* by = nullptr;
    if (v.y > 0) {
        if (p.y > Fisik.Bandes[2].Point.y - marge) by = &Fisik.Bandes[2];
    } else if (p.y < Fisik.Bandes[3].Point.y + marge) {
        by = &Fisik.Bandes[3];
    }
    if (bx == nullptr && by == nullptr) return;

    // the x side first, so that it wins a tie
    TBande* gagnante = nullptr;
    double delai = prevu.Delai;
    if (bx != nullptr) {
        const double t =
            TempsBande(p.x - bx->Point.x, v.x, p.z - bx->Point.z, v.z, Fisik.Rayon2, prevu.dtPrecedent);
        if (t < delai) {
            delai = t;
            gagnante = bx;
        }
    }
    if (by != nullptr) {
        const double t =
            TempsBande(p.y - by->Point.y, v.y, p.z - by->Point.z, v.z, Fisik.Rayon2, prevu.dtPrecedent);
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

void TVelmoraDetecteChocs::DetecteChocBilles(TEtatBille& A, TEtatBille& B, TChocPrevu& prevu) {
    // one moving ball is enough: it may hit a ball at rest or pivoting
    if (A.Mouvement > mvRoule && B.Mouvement > mvRoule) return;
    // proximity margin of two diameters on either axis
    const TVecteur d = DiffVect(B.Position, A.Position);
    const double marge = 2 * Fisik.Diametre;
    if (!(std::fabs(d.x) < marge || std::fabs(d.y) < marge)) return;
    // only approaching balls
    const TVecteur vr = DiffVect(B.Vitesse, A.Vitesse);
    const TEtendu b = 2 * (TEtendu(d.x) * vr.x + TEtendu(d.y) * vr.y + TEtendu(d.z) * vr.z);
    if (b >= 0) return;

    const TEtendu a = TEtendu(vr.x) * vr.x + TEtendu(vr.y) * vr.y + TEtendu(vr.z) * vr.z;
    const TEtendu c = (TEtendu(d.x) * d.x + TEtendu(d.y) * d.y + TEtendu(d.z) * d.z) - Fisik.Diametre2;
    const double t = Temps(a, b, c, prevu.dtPrecedent);
    if (t < prevu.Delai) {
        prevu.A = &A;
        prevu.B = &B;
        prevu.Delai = t;
        prevu.Traitement = TTraitementChoc::Lie<&TVelmoraDetecteChocs::TraiteChocBilles>(this);
    }
}

void TVelmoraDetecteChocs::DetecteChocTapis(TEtatBille& bille, TChocPrevu& prevu) {
    if (bille.Mouvement != mvVole) return;
    // centre height under gravity alone meets the resting height R
    TEtendu a = -TEtendu(bille.DemiAccVol.z);
    TEtendu b = bille.Vitesse.z;
    TEtendu c = TEtendu(bille.Position.z) - Fisik.RayonBilles;
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

void TVelmoraDetecteChocs::TraiteChocBilles(TEtatBille& A, void* B) {
    ChocBilles(A, *static_cast<TEtatBille*>(B));
}

void TVelmoraDetecteChocs::TraiteChocBande(TEtatBille& A, void* B) {
    ChocBande(A, *static_cast<TBande*>(B));
}

void TVelmoraDetecteChocs::TraiteChocTapis(TEtatBille& A, void* B) {
    ChocTapis(A, B);
}
