#include "moteurs/VerdictAnticipe.h"

#include <algorithm>
#include <cmath>

#include "sim/C8_BoucleTrajets.h"

void TSequenceContacts::Ajoute(int contact) {
    if (Nb >= NbMax) {
        Tronquee = true;
        return;
    }
    Contacts[Nb++] = static_cast<std::uint8_t>(contact);
}

namespace {

// 4 bits per contact: cushions 1..4, ball 2 as 5, ball 3 as 6; 15 marks a cut sequence
int Quartet(int contact) {
    return contact >= 10 ? contact - 10 + 3 : contact;
}

int Contact(int quartet) {
    return quartet >= 5 ? quartet - 3 + 10 : quartet;
}

}  // namespace

std::uint64_t TSequenceContacts::Code() const {
    std::uint64_t code = 0;
    for (int i = 0; i < Nb; ++i) code |= std::uint64_t(Quartet(Contacts[i])) << (4 * i);
    if (Tronquee) code |= std::uint64_t(15) << 60;
    return code;
}

TSequenceContacts TSequenceContacts::DepuisCode(std::uint64_t code) {
    TSequenceContacts s;
    s.Tronquee = (code >> 60) == 15;
    for (int i = 0; i < NbMax; ++i) {
        const int q = int((code >> (4 * i)) & 15);
        if (q == 0 || q == 15) break;
        s.Ajoute(Contact(q));
    }
    return s;
}

namespace {

// passes between two looks at the balls' reaches: at first, and at most
constexpr long kPassesEntreBilans = 8;
constexpr long kPassesEntreBilansMax = 64;
// cm kept against rounding and against a contact forecast a little before it happens
constexpr double kMarge = 0.5;

// Where a ball can still go without a contact, in the table plane: a rolling ball runs straight
// along its velocity and stops after v·T/2 (a constant deceleration); a sliding one is only bounded
// by a disc (its speed never exceeds the larger of the current one and the one it rolls with, until
// its plan stops it); a pivoting, resting or out ball stays where it is.
struct TTrace {
    double ax = 0, ay = 0, bx = 0, by = 0;  // a segment from a to b (a point when equal)
    double rayon = 0;                       // widened by this much
};

TTrace Trace(const TEtatBille& e, double t) {
    TTrace tr;
    tr.ax = tr.bx = e.Position.x;
    tr.ay = tr.by = e.Position.y;
    if (e.Mouvement == mvRoule) {
        const double demi = std::max(e.tFinRoule - t, 0.0) / 2;
        tr.bx += e.Vitesse.x * demi;
        tr.by += e.Vitesse.y * demi;
    } else if (e.Mouvement == mvGlisse) {
        const double d = std::max(e.tFinGlisse - t, 0.0);
        const TVecteur vRoule = DiffVect(e.Vitesse, MultVect(e.DecelGlisse, d));
        tr.rayon = std::max(Norme(e.Vitesse), Norme(vRoule)) * std::max(e.tFinRoule - t, 0.0);
    }
    return tr;
}

// squared distance from point p to segment ab
double Distance2PointSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double l2 = dx * dx + dy * dy;
    double u = l2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / l2 : 0.0;
    u = std::clamp(u, 0.0, 1.0);
    const double ex = ax + u * dx - px, ey = ay + u * dy - py;
    return ex * ex + ey * ey;
}

bool SeCroisent(const TTrace& a, const TTrace& b) {
    const auto cote = [](double ox, double oy, double px, double py, double qx, double qy) {
        return (px - ox) * (qy - oy) - (py - oy) * (qx - ox);
    };
    const double d1 = cote(a.ax, a.ay, a.bx, a.by, b.ax, b.ay);
    const double d2 = cote(a.ax, a.ay, a.bx, a.by, b.bx, b.by);
    const double d3 = cote(b.ax, b.ay, b.bx, b.by, a.ax, a.ay);
    const double d4 = cote(b.ax, b.ay, b.bx, b.by, a.bx, a.by);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

// the distance between two traces' segments (zero when they cross)
double Distance(const TTrace& a, const TTrace& b) {
    if (SeCroisent(a, b)) return 0;
    const double d2 = std::min({Distance2PointSegment(a.ax, a.ay, b.ax, b.ay, b.bx, b.by),
                                Distance2PointSegment(a.bx, a.by, b.ax, b.ay, b.bx, b.by),
                                Distance2PointSegment(b.ax, b.ay, a.ax, a.ay, a.bx, a.by),
                                Distance2PointSegment(b.bx, b.by, a.ax, a.ay, a.bx, a.by)});
    return std::sqrt(d2);
}

}  // namespace

bool PlusAucunContact(const TBillardVelmora& simu, double t) {
    const TPARAMPHYS& f = simu.Fisik;
    std::array<TTrace, NbBilles + 1> traces{};
    std::array<bool, NbBilles + 1> bouge{};
    // the cushions: the ball's centre stays a radius and the margin inside the nose lines
    const double xMax = f.Bandes[0].Point.x - f.RayonBilles - kMarge;
    const double yMax = f.Bandes[2].Point.y - f.RayonBilles - kMarge;
    for (int b = 1; b <= NbBilles; ++b) {
        const TEtatBille& e = simu.Etat(b);
        if (e.Mouvement == mvVole) return false;
        const TTrace& tr = traces[b] = Trace(e, t);
        if (!(tr.rayon < 1e6) || !std::isfinite(tr.bx) || !std::isfinite(tr.by)) return false;
        bouge[b] = tr.rayon > 0 || tr.ax != tr.bx || tr.ay != tr.by;
        if (!bouge[b]) continue;
        // both ends inside the rectangle: the whole (convex) trace is
        for (double x : {tr.ax, tr.bx})
            if (std::abs(x) + tr.rayon >= xMax) return false;
        for (double y : {tr.ay, tr.by})
            if (std::abs(y) + tr.rayon >= yMax) return false;
    }
    // the pairs: their traces stay a diameter and the margin apart
    for (int a = 1; a <= NbBilles; ++a)
        for (int b = a + 1; b <= NbBilles; ++b) {
            if (!bouge[a] && !bouge[b]) continue;
            if (Distance(traces[a], traces[b]) <= traces[a].rayon + traces[b].rayon + f.Diametre + kMarge)
                return false;
        }
    return true;
}

namespace {

// ends the loop once the outcome can no longer change
struct TSuiviVerdict {
    static constexpr bool Photos = false;

    bool enAttente = true;  // the second-ball hook has not fired yet
    bool certain = false;
    TSequenceContacts sequence;
    long passes = 0;
    long prochainBilan = kPassesEntreBilans;
    long intervalle = kPassesEntreBilans;

    bool ApresContact(const TBillardVelmora& simu, const TEtatBille& A) {
        // new motion plans: the reaches are worth a look again soon
        intervalle = kPassesEntreBilans;
        prochainBilan = passes + intervalle;
        if (!enAttente) return false;
        const TEtatBille& b1 = simu.Etat(1);
        if (&A == &b1) {
            if (A.DernierChoc == tcBilleBande)
                sequence.Ajoute(A.NumTouche);
            else if (A.DernierChoc == tcBilleBille)
                sequence.Ajoute(10 + A.NumTouche);
        }
        if (b1.SurDeuxiemeBille) return false;
        // the verdict is taken: a refused point stays refused whatever follows
        enAttente = false;
        if (!simu.PointReussi) {
            certain = true;
            return true;
        }
        return false;
    }

    bool ApresPas(const TBillardVelmora& simu, double t) {
        const TEtatBille& b1 = simu.Etat(1);
        const TEtatBille& b2 = simu.Etat(2);
        const TEtatBille& b3 = simu.Etat(3);
        // a ball out of the table: no point, whatever follows
        if (b1.Mouvement == mvDehors || b2.Mouvement == mvDehors || b3.Mouvement == mvDehors) {
            certain = true;
            return true;
        }
        // nothing can change any more: the verdict taken stands, a pending one never comes
        // (it costs about a pass: looked at less and less often while it keeps failing)
        if (++passes < prochainBilan) return false;
        if (PlusAucunContact(simu, t)) {
            certain = true;
            return true;
        }
        intervalle = std::min(intervalle * 2, kPassesEntreBilansMax);
        prochainBilan = passes + intervalle;
        return false;
    }
};

TVerdict Juge(TBillardVelmora& simu) {
    TSuiviVerdict suivi;
    simu.CalculTrajetsSuivi(suivi);
    TVerdict v;
    v.Reussi = simu.PointReussi;
    v.Anticipe = suivi.certain;
    v.Sequence = suivi.sequence;
    v.NbPasses = simu.NbPasses;
    return v;
}

}  // namespace

TVerdict JugeTrajets(TBillardVelmora& simu) {
    return Juge(simu);
}

TVerdict JugeCoup(TBillardVelmora& simu) {
    simu.ImpactQueue();
    return Juge(simu);
}
