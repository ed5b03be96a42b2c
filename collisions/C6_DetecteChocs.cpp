#include "collisions/C6_DetecteChocs.h"

#include <cmath>

int TVelmoraDetecteChocs::ResoudEq2(TEtendu& a, TEtendu& b, TEtendu& c) {
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

double TVelmoraDetecteChocs::TempsChoc(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent) {
    if (ResoudEq2(a, b, c) == 0) return DelaiAucunChoc;
    // a contact further back than the previous step happens now
    if (a + dtPrecedent < 0) a = 0;
    if (b + dtPrecedent < 0) b = 0;
    return double(b < a ? b : a);
}

void TVelmoraDetecteChocs::DetecteChocBande(TEtatBille& bille, TChocPrevu& prevu) {
    if (bille.Mouvement > mvRoule) return;
    const TVecteur& p = bille.Position;
    const TVecteur& v = bille.Vitesse;
    const double marge = 1.5 * Fisik.Diametre;

    // contact with the nose line in the vertical plane across the cushion, straight-line motion
    const auto essaie = [&](TBande& bande, double d, double vit) {
        const double dz = p.z - bande.Point.z;
        const TEtendu a = TEtendu(vit) * vit + TEtendu(v.z) * v.z;
        const TEtendu b = 2 * (TEtendu(vit) * d + TEtendu(v.z) * dz);
        const TEtendu c = TEtendu(d) * d + TEtendu(dz) * dz - Fisik.Rayon2;
        const double t = TempsChoc(a, b, c, prevu.dtPrecedent);
        if (t < prevu.Delai) {
            prevu.A = &bille;
            prevu.B = &bande;
            prevu.Delai = t;
            prevu.Traitement = TTraitementChoc::Lie<&TVelmoraDetecteChocs::TraiteChocBande>(this);
        }
    };

    // x side: only the cushion the ball moves towards, and only when it is near
    if (v.x > 0) {
        TBande& b1 = Fisik.Bandes[0];
        if (p.x > b1.Point.x - marge) essaie(b1, p.x - b1.Point.x, v.x);
    } else {
        TBande& b3 = Fisik.Bandes[1];
        if (p.x < b3.Point.x + marge) essaie(b3, p.x - b3.Point.x, v.x);
    }
    // then the y side, which loses a tie against the x side
    if (v.y > 0) {
        TBande& b2 = Fisik.Bandes[2];
        if (p.y > b2.Point.y - marge) essaie(b2, p.y - b2.Point.y, v.y);
    } else {
        TBande& b4 = Fisik.Bandes[3];
        if (p.y < b4.Point.y + marge) essaie(b4, p.y - b4.Point.y, v.y);
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
    const double t = TempsChoc(a, b, c, prevu.dtPrecedent);
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
    if (ResoudEq2(a, b, c) == 0) return;
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

void TVelmoraDetecteChocs::TraiteChocBilles(TEtatBille& A, void* B) { ChocBilles(A, *static_cast<TEtatBille*>(B)); }

void TVelmoraDetecteChocs::TraiteChocBande(TEtatBille& A, void* B) { ChocBande(A, *static_cast<TBande*>(B)); }

void TVelmoraDetecteChocs::TraiteChocTapis(TEtatBille& A, void* B) { ChocTapis(A, B); }
