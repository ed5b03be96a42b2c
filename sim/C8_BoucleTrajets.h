// The shot loop of TBillardVelmora, written once for every watcher: CalculTrajets runs it with a
// watcher that sees nothing (the whole shot, every photo), the solver's verdicts with one that
// ends the computation as soon as its outcome is certain. A watcher is a type with
//   static constexpr bool Photos;   // false: photos are counted (the store-full end) but not copied
//   bool ApresContact(const TBillardVelmora&, const TEtatBille& A);  // after each contact
//   bool ApresPas(const TBillardVelmora&, double t);                 // after each pass, at time t
// where true ends the computation at once (the final out-of-table check still applies).
// The loop body is the sequence of its stages, each a private inline member below; they must stay
// inline (thousands of passes a shot, and the solver's loop is built at the callers' -O2).
#pragma once

#include <algorithm>
#include <cmath>

#include "sim/C8_BillardVelmora.h"
#include "sim/RepitDetection.h"

// the stages are inlined whatever the optimisation level of the file that runs the loop
#define VELMORA_ETAPE [[gnu::always_inline]] inline

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

// Kept apart from the forecast and from the respites' bounds, whose addresses reach the
// out-of-line forecasts: nothing here escapes, so the compiler keeps it in registers.
struct TBillardVelmora::TBoucle {
    // constants of the shot that the passes read
    double dtAnal = 0;
    double dtEnr = 0;
    double diametre = 0;
    // a speed below this never shortens the step (margin against rounding of the square)
    double vPleinPas2 = 0;
    // shot time, and the time after which the next clock photo is taken
    double t = 0;
    double tEnr = 0;
    // the last step ended after tEnr: its clock photo waits for the next forecast, which may find
    // that the step overshot a contact and step back to it
    bool photoDue = false;
    // the ball of the latest contact applied, which gives the final photo its kind
    const TEtatBille* dernier = nullptr;
    // a pair, or a ball and the cushions, too far apart for a contact within the next passes is
    // not forecast during them: the same contacts, fewer forecasts (pairs 1-2, 1-3, 2-3)
    std::array<TRepit, 3> repitPaires{};
    std::array<TRepit, NbBilles + 1> repitBandes{};
};

template <class TSuivi>
void TBillardVelmora::CalculTrajetsSuivi(TSuivi& suivi) {
    TBoucle c;
    TChocPrevu E;
    PrepareTrajets(c, E);
    const TBornesRepit bornes = BornesRepit(Fisik);
    long passes = 0;
    while (NbPhotos < NbPhotosMax && passes < boucle_trajets::kPassesMax) {
        // the step and the earliest contact within it
        const double dt = BornePas(c);
        Prevoit(c, E, bornes, dt);
        const bool contact = !(E.Delai > dt) && E.Traitement;
        // the clock photo of the previous step, now that this forecast tells whether it stands
        if (PhotoDue<TSuivi::Photos>(c, contact && E.Delai < 0)) break;

        // the balls moved to the contact or to the step's end
        ++passes;
        AvanceTout(c, contact ? E.Delai : dt);
        if (contact) {
            AppliqueContact(c, E);
            Photo<TSuivi::Photos>(E.A->DernierChoc, c.t);
            if (suivi.ApresContact(*this, *E.A)) break;
        } else {
            // the next forecast may find a contact overshot within this step
            E.dtPrecedent = dt;
            c.photoDue = c.t > c.tEnr;
        }

        // every ball at rest or out: the final photo ends the shot
        if (ToutArrete()) {
            PhotoDue<TSuivi::Photos>(c, false);
            Photo<TSuivi::Photos>(c.dernier ? c.dernier->DernierChoc : tcAucun, c.t);
            break;
        }
        if (suivi.ApresPas(*this, c.t)) break;
    }
    // a shot cut short keeps the clock photo of its last step
    PhotoDue<TSuivi::Photos>(c, false);
    NbPasses = passes;

    // a ball that left the table cancels the point
    for (int b = 1; b <= NbBilles; ++b)
        if (etats_[b].Mouvement == mvDehors) PointReussi = false;
}

VELMORA_ETAPE void TBillardVelmora::PrepareTrajets(TBoucle& c, TChocPrevu& E) {
    using namespace boucle_trajets;
    PointReussi = false;
    NbPhotos = 0;

    // the constants, bounded whenever they change: the shot only reads them
    const TPARAMPHYS& fisik = Fisik;
    c.dtAnal = fisik.dtAnal();
    c.dtEnr = fisik.dtEnr();
    c.diametre = fisik.Diametre();
    c.t = 0;
    c.tEnr = c.dtEnr;

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
    // the player's ball judges the point when it first touches a second ball
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

    E.dtPrecedent = 0;
    E.A = nullptr;
    const double vPleinPas = c.diametre / c.dtAnal;
    c.vPleinPas2 = vPleinPas * vPleinPas * (1 - 1e-9);
}

VELMORA_ETAPE double TBillardVelmora::BornePas(const TBoucle& c) const {
    double dt = c.dtAnal;
    for (int b = 1; b <= NbBilles; ++b) {
        const double v2 = Norme2(etats_[b].Vitesse);
        if (v2 < c.vPleinPas2) continue;
        const double v = std::sqrt(v2);
        if (v > 0.001) dt = std::min(dt, c.diametre / v);
    }
    return dt;
}

VELMORA_ETAPE void TBillardVelmora::Prevoit(TBoucle& c, TChocPrevu& E, const TBornesRepit& bornes,
                                            double dt) {
    TEtatBille& b1 = etats_[1];
    TEtatBille& b2 = etats_[2];
    TEtatBille& b3 = etats_[3];
    // a new pass: nothing touched, nothing forecast; contacts beyond the step are never acted on,
    // so detection need not solve for them
    b1.NumTouche = 0;
    E.Delai = DelaiAucunChoc;
    E.Traitement = {};
    E.Horizon = dt;

    // a forecast unless within a respite, and then a new respite from this pass
    const auto bandes = [&](TEtatBille& e, TRepit& repit) {
        if (repit.Couvre(c.t)) return;
        DetecteChocBande(e, E);
        repit = {c.t, c.t + RepitBandes(e, bornes)};
    };
    const auto paire = [&](TEtatBille& a, TEtatBille& b, TRepit& repit) {
        if (repit.Couvre(c.t)) return;
        DetecteChocBilles(a, b, E);
        repit = {c.t, c.t + RepitPaire(a, b, bornes)};
    };

    // the earliest contact: cushions, then pairs, then landings; ties keep the first found
    // (the motion tests spare the calls that would return at once)
    const bool m1 = b1.Mouvement <= mvRoule, m2 = b2.Mouvement <= mvRoule, m3 = b3.Mouvement <= mvRoule;
    if (m1) bandes(b1, c.repitBandes[1]);
    if (m2) bandes(b2, c.repitBandes[2]);
    if (m3) bandes(b3, c.repitBandes[3]);
    if (m1 || m2) paire(b1, b2, c.repitPaires[0]);
    if (m1 || m3) paire(b1, b3, c.repitPaires[1]);
    if (m2 || m3) paire(b2, b3, c.repitPaires[2]);
    if (b1.Mouvement == mvVole) DetecteChocTapis(b1, E);
    if (b2.Mouvement == mvVole) DetecteChocTapis(b2, E);
    if (b3.Mouvement == mvVole) DetecteChocTapis(b3, E);
}

VELMORA_ETAPE void TBillardVelmora::AvanceTout(TBoucle& c, double pas) {
    // balls at rest or out stay as they are
    if (etats_[1].Mouvement < mvArret) Avance(etats_[1], c.t, pas);
    if (etats_[2].Mouvement < mvArret) Avance(etats_[2], c.t, pas);
    if (etats_[3].Mouvement < mvArret) Avance(etats_[3], c.t, pas);
    c.t += pas;
}

VELMORA_ETAPE void TBillardVelmora::AppliqueContact(TBoucle& c, TChocPrevu& E) {
    using boucle_trajets::kPairesDeLaBille;
    E.Traitement(*E.A, E.B);
    E.dtPrecedent = 0;
    ApresChoc(*E.A, c.t);
    for (int b = 1; b <= NbBilles; ++b)
        if (E.B == &etats_[b]) ApresChoc(etats_[b], c.t);
    // the balls of the contact have new motions: their respites end
    for (int b = 1; b <= NbBilles; ++b) {
        if (E.A != &etats_[b] && E.B != &etats_[b]) continue;
        c.repitBandes[b] = {};
        for (int k : kPairesDeLaBille[b]) c.repitPaires[k] = {};
    }
    c.dernier = E.A;
}

template <bool Copie>
VELMORA_ETAPE void TBillardVelmora::Photo(TTypeChoc genre, double t) {
    if constexpr (Copie) {
        AjoutePhoto(genre, t);
    } else {
        if (NbPhotos < NbPhotosMax) ++NbPhotos;
    }
}

template <bool Copie>
VELMORA_ETAPE bool TBillardVelmora::PhotoDue(TBoucle& c, bool depassee) {
    if (!c.photoDue) return false;
    c.photoDue = false;
    // a step that overshot a contact showed the balls past it, later than the contact's own
    // photo: the next step end after the contact takes its place
    if (depassee) return false;
    Photo<Copie>(tcAucun, c.t);
    c.tEnr += c.dtEnr;
    return NbPhotos >= NbPhotosMax;
}

VELMORA_ETAPE bool TBillardVelmora::ToutArrete() const {
    return etats_[1].Mouvement >= mvArret && etats_[2].Mouvement >= mvArret && etats_[3].Mouvement >= mvArret;
}

#undef VELMORA_ETAPE
