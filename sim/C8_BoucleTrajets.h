// The shot loop of TBillardVelmora, written once for every watcher: CalculTrajets runs it with a
// watcher that sees nothing (the whole shot, every photo), the solver's verdicts with one that
// ends the computation as soon as its outcome is certain. A watcher is a type with
//   static constexpr bool Photos;   // false: photos are counted (the store-full end) but not copied
//   bool ApresContact(const TBillardVelmora&, const TEtatBille& A);  // after each contact
//   bool ApresPas(const TBillardVelmora&, double t);                 // after each pass, at time t
// where true ends the computation at once (the final out-of-table check still applies).
#pragma once

#include <algorithm>
#include <cmath>

#include "sim/C8_BillardVelmora.h"
#include "sim/RepitDetection.h"

namespace boucle_trajets {

// beyond this a value of photo 0 would overflow the squares of the forecasts
inline constexpr double kLimiteValeur = 1e9;
// passes of one computation; a real shot needs a few thousand (a pathological one is cut here)
inline constexpr long kPassesMax = 2'000'000;
// the two pairs (1-2 is 0, 1-3 is 1, 2-3 is 2) of each ball
inline constexpr int kPairesDeLaBille[NbBilles + 1][2] = {{}, {0, 1}, {0, 2}, {1, 2}};

inline bool Fini(const TVecteur& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// a value of photo 0 fit for the physics: finite and bounded
inline double Sain(double v) {
    if (!std::isfinite(v)) return 0.0;
    return std::clamp(v, -kLimiteValeur, kLimiteValeur);
}

inline TVecteur Sain(const TVecteur& v) { return {Sain(v.x), Sain(v.y), Sain(v.z)}; }

}  // namespace boucle_trajets

// the watcher of CalculTrajets: every photo, never an early end
struct TSuiviComplet {
    static constexpr bool Photos = true;
    bool ApresContact(const TBillardVelmora&, const TEtatBille&) { return false; }
    bool ApresPas(const TBillardVelmora&, double) { return false; }
};

template <class TSuivi>
void TBillardVelmora::CalculTrajetsSuivi(TSuivi& suivi) {
    using namespace boucle_trajets;
    PointReussi = false;
    NbPhotos = 0;
    double t = 0;

    // a photo, or only its count when the watcher needs none
    const auto photo = [&](TTypeChoc genre, double instant) {
        if constexpr (TSuivi::Photos) {
            AjoutePhoto(genre, instant);
        } else {
            if (NbPhotos < NbPhotosMax) ++NbPhotos;
        }
    };

    // constants the loop divides by or steps with; a direct assignment may have bypassed their floor
    for (double* p : {&Fisik.G, &Fisik.FrotBiTapGlisse, &Fisik.FrotBiTapPivot, &Fisik.FrotBiTapRoule,
                      &Fisik.dtAnal, &Fisik.dtEnr})
        if (!(*p >= PlancherParam)) *p = PlancherParam;
    const double dtAnal = Fisik.dtAnal;
    const double dtEnr = Fisik.dtEnr;
    const double diametre = Fisik.Diametre;
    double tEnr = dtEnr;

    // working records from photo 0, each ball with its motion plan from time 0
    for (int b = 1; b <= NbBilles; ++b) {
        TPVR& p0 = Trajets[b][0];
        p0 = {Sain(p0.Position), Sain(p0.Vitesse), Sain(p0.Rotation)};
        TEtatBille& e = etats_[b];
        e = TEtatBille{};
        e.SetPvr(p0);
        ApresChoc(e, 0);
        e.NumBille = b;
        Mouvements[b][0] = e.Mouvement;
    }
    TEtatBille& b1 = etats_[1];
    switch (ModeDeJeu) {
        case j3Bandes:
            b1.SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::Valide3Bandes>(this);
            break;
        case j1Bande:
            b1.SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::Valide1Bande>(this);
            break;
        default:
            b1.SurDeuxiemeBille = TValidation::Lie<&TBillardVelmora::ValideLibre>(this);
            break;
    }

    TChocPrevu E;
    E.dtPrecedent = 0;
    E.A = nullptr;
    // the ball of the latest contact applied, which gives the final photo its kind
    const TEtatBille* dernier = nullptr;
    // a speed below this never shortens the step (margin against rounding of the square)
    const double vPleinPas = diametre / dtAnal;
    const double vPleinPas2 = vPleinPas * vPleinPas * (1 - 1e-9);

    TEtatBille& b2 = etats_[2];
    TEtatBille& b3 = etats_[3];
    // a pair, or a ball and the cushions, too far apart for a contact within the next passes is
    // not forecast during them: the same contacts, fewer forecasts (pairs 1-2, 1-3, 2-3)
    const TBornesRepit bornes = BornesRepit(Fisik);
    std::array<TRepit, 3> repitPaires{};
    std::array<TRepit, NbBilles + 1> repitBandes{};
    // a forecast unless within a respite, and then a new respite from this pass
    const auto bandes = [&](TEtatBille& e, TRepit& repit) {
        if (repit.Couvre(t)) return;
        DetecteChocBande(e, E);
        repit = {t, t + RepitBandes(e, bornes)};
    };
    const auto paire = [&](TEtatBille& a, TEtatBille& b, TRepit& repit) {
        if (repit.Couvre(t)) return;
        DetecteChocBilles(a, b, E);
        repit = {t, t + RepitPaire(a, b, bornes)};
    };
    long passes = 0;
    while (NbPhotos < NbPhotosMax && passes < kPassesMax) {
        ++passes;
        b1.NumTouche = 0;
        E.Delai = DelaiAucunChoc;
        E.Traitement = {};

        // no ball travels more than one diameter in a straight-line step
        double dt = dtAnal;
        for (const TEtatBille* e : {&b1, &b2, &b3}) {
            const double v2 = Norme2(e->Vitesse);
            if (v2 < vPleinPas2) continue;
            const double v = std::sqrt(v2);
            if (v > 0.001) dt = std::min(dt, diametre / v);
        }

        // contacts beyond the step are never acted on: detection need not solve for them
        E.Horizon = dt;

        // the earliest contact: cushions, then pairs, then landings; ties keep the first found
        // (the motion tests spare the calls that would return at once)
        const bool m1 = b1.Mouvement <= mvRoule, m2 = b2.Mouvement <= mvRoule, m3 = b3.Mouvement <= mvRoule;
        if (m1) bandes(b1, repitBandes[1]);
        if (m2) bandes(b2, repitBandes[2]);
        if (m3) bandes(b3, repitBandes[3]);
        if (m1 || m2) paire(b1, b2, repitPaires[0]);
        if (m1 || m3) paire(b1, b3, repitPaires[1]);
        if (m2 || m3) paire(b2, b3, repitPaires[2]);
        if (b1.Mouvement == mvVole) DetecteChocTapis(b1, E);
        if (b2.Mouvement == mvVole) DetecteChocTapis(b2, E);
        if (b3.Mouvement == mvVole) DetecteChocTapis(b3, E);

        // a step without contact or the move to the contact: balls at rest or out stay as they are
        const bool contact = !(E.Delai > dt) && E.Traitement;
        const double pas = contact ? E.Delai : dt;
        if (b1.Mouvement < mvArret) Avance(b1, t, pas);
        if (b2.Mouvement < mvArret) Avance(b2, t, pas);
        if (b3.Mouvement < mvArret) Avance(b3, t, pas);
        t += pas;

        if (!contact) {
            // one clock photo at most per step
            E.dtPrecedent = dt;
            if (t > tEnr) {
                photo(tcAucun, t);
                tEnr += dtEnr;
            }
        } else {
            // the collision, then the motion plans of the balls it involved
            E.Traitement(*E.A, E.B);
            E.dtPrecedent = 0;
            ApresChoc(*E.A, t);
            if (E.B == &b1 || E.B == &b2 || E.B == &b3) ApresChoc(*static_cast<TEtatBille*>(E.B), t);
            // the balls of the contact have new motions: their respites end
            for (int b = 1; b <= NbBilles; ++b) {
                if (E.A != &etats_[b] && E.B != &etats_[b]) continue;
                repitBandes[b] = {};
                for (int k : kPairesDeLaBille[b]) repitPaires[k] = {};
            }
            dernier = E.A;
            photo(E.A->DernierChoc, t);
            if (suivi.ApresContact(*this, *E.A)) break;
        }

        // every ball at rest or out: the final photo ends the shot
        if (b1.Mouvement >= mvArret && b2.Mouvement >= mvArret && b3.Mouvement >= mvArret) {
            photo(dernier ? dernier->DernierChoc : tcAucun, t);
            break;
        }
        if (suivi.ApresPas(*this, t)) break;
    }
    NbPasses = passes;

    // a ball that left the table cancels the point
    for (int b = 1; b <= NbBilles; ++b)
        if (etats_[b].Mouvement == mvDehors) PointReussi = false;
}
