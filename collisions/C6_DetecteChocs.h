// Analytic forecast of the next contact: ball-cushion, ball-ball and landing on the cloth.
// Detection moves nothing; it fills the forecast record that the shot driver acts on.
#pragma once

#include <cmath>

#include "collisions/C5_ApresChocs.h"

// collision routine bound to the chain object, taking (A, B)
using TTraitementChoc = TMethode<TEtatBille&, const void*>;

inline constexpr double DelaiAucunChoc = 10000.0;

// The forecast contact of the current step.
struct TChocPrevu {
    TEtatBille* A = nullptr;  // the ball that collides (the lower-numbered one of a pair)
    const void* B =
        nullptr;  // the other ball's TEtatBille, the cushion's TBande in Fisik, or nullptr (cloth)
    double Delai = DelaiAucunChoc;  // s from now; may be zero or negative down to -dtPrecedent
    double dtPrecedent = 0.0;       // length of the previous step, 0 after a contact
    // s: a contact later than this cannot be the one acted on (the step is shorter), so detection
    // may leave it out without solving for it
    double Horizon = DelaiAucunChoc;
    TTraitementChoc Traitement;  // ChocBilles, ChocBande or ChocTapis
};

class TVelmoraDetecteChocs : public TVelmoraApresChocs {
public:
    // roots of a.t² + b.t + c = 0: the first replaces a, the second b (both hold a single root)
    static int ResoudEq2(TEtendu& a, TEtendu& b, TEtendu& c);
    // contact time with the step-back limit; DelaiAucunChoc when there is no root
    static double TempsChoc(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent);

    // The forecasts. Their first tests, which end most calls, are written here so that they
    // inline into the shot loop (up to nine forecasts a pass); the solving is out of line.
    void DetecteChocBande(TEtatBille& bille, TChocPrevu& prevu) const {
        if (bille.Mouvement > mvRoule) return;
        const TVecteur& p = bille.Position;
        const TVecteur& v = bille.Vitesse;
        const double marge = 1.5 * Fisik.Diametre();
        // one candidate per axis: the cushion the ball moves towards, when the ball is near it
        const TBande* bx = nullptr;
        if (v.x > 0) {
            if (p.x > Fisik.Bandes()[0].Point.x - marge) bx = &Fisik.Bandes()[0];
        } else if (p.x < Fisik.Bandes()[1].Point.x + marge) {
            bx = &Fisik.Bandes()[1];
        }
        const TBande* by = nullptr;
        if (v.y > 0) {
            if (p.y > Fisik.Bandes()[2].Point.y - marge) by = &Fisik.Bandes()[2];
        } else if (p.y < Fisik.Bandes()[3].Point.y + marge) {
            by = &Fisik.Bandes()[3];
        }
        if (bx != nullptr || by != nullptr) PrevoitChocBande(bille, bx, by, prevu);
    }

    void DetecteChocBilles(TEtatBille& A, TEtatBille& B, TChocPrevu& prevu) const {
        // one moving ball is enough: it may hit a ball at rest or pivoting, never one out of play
        // (frozen where it left the table, it would stand there as a post)
        if (A.Mouvement > mvRoule && B.Mouvement > mvRoule) return;
        if (A.Mouvement == mvDehors || B.Mouvement == mvDehors) return;
        // proximity margin of two diameters on either axis
        const TVecteur d = DiffVect(B.Position, A.Position);
        const double marge = 2 * Fisik.Diametre();
        if (std::fabs(d.x) < marge || std::fabs(d.y) < marge) PrevoitChocBilles(A, B, d, prevu);
    }

    void DetecteChocTapis(TEtatBille& bille, TChocPrevu& prevu) const;

private:
    // the contact with candidate cushions (either may be null), the x side first
    void PrevoitChocBande(TEtatBille& bille, const TBande* bx, const TBande* by, TChocPrevu& prevu) const;
    // the contact of a pair near each other; d = B - A
    void PrevoitChocBilles(TEtatBille& A, TEtatBille& B, const TVecteur& d, TChocPrevu& prevu) const;

    // the routines in the (A, B) shape that the forecast record carries
    void TraiteChocBilles(TEtatBille& A, const void* B) const;
    void TraiteChocBande(TEtatBille& A, const void* B) const;
    void TraiteChocTapis(TEtatBille& A, const void* B) const;
};
