// Analytic forecast of the next contact: ball-cushion, ball-ball and landing on the cloth.
// Detection moves nothing; it fills the forecast record that the shot driver acts on.
#pragma once

#include "collisions/C5_ApresChocs.h"

// collision routine bound to the chain object, taking (A, B)
using TTraitementChoc = TMethode<TEtatBille&, void*>;

inline constexpr double DelaiAucunChoc = 10000.0;

// The forecast contact of the current step.
struct TChocPrevu {
    TEtatBille* A = nullptr;  // the ball that collides (the lower-numbered one of a pair)
    void* B = nullptr;        // the other ball's TEtatBille, the cushion's TBande in Fisik, or nullptr (cloth)
    double Delai = DelaiAucunChoc;  // s from now; may be zero or negative down to -dtPrecedent
    double dtPrecedent = 0.0;       // length of the previous step, 0 after a contact
    TTraitementChoc Traitement;     // ChocBilles, ChocBande or ChocTapis
};

class TVelmoraDetecteChocs : public TVelmoraApresChocs {
public:
    // roots of a.t² + b.t + c = 0: the first replaces a, the second b (both hold a single root)
    static int ResoudEq2(TEtendu& a, TEtendu& b, TEtendu& c);
    // contact time with the step-back limit; DelaiAucunChoc when there is no root
    static double TempsChoc(TEtendu a, TEtendu b, TEtendu c, double dtPrecedent);

    void DetecteChocBande(TEtatBille& bille, TChocPrevu& prevu);
    void DetecteChocBilles(TEtatBille& A, TEtatBille& B, TChocPrevu& prevu);
    void DetecteChocTapis(TEtatBille& bille, TChocPrevu& prevu);

private:
    // the routines in the (A, B) shape that the forecast record carries
    void TraiteChocBilles(TEtatBille& A, void* B);
    void TraiteChocBande(TEtatBille& A, void* B);
    void TraiteChocTapis(TEtatBille& A, void* B);
};
