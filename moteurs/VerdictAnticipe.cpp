#include "moteurs/VerdictAnticipe.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

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
int Quartet(int contact) { return EstContactBille(contact) ? BilleDuContact(contact) + 3 : contact; }

int Contact(int quartet) { return quartet >= 5 ? ContactBille + quartet - 3 : quartet; }

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
// passes between two looks at the reach of the balls' energy: at least, and at most
constexpr long kPassesEntrePortees = 2;
constexpr long kPassesEntrePorteesMax = 256;
// a reach this many times what is required is not looked at again after a contact
constexpr double kRapportPorteeLointaine = 2;
// cm kept against rounding and against a contact forecast a little before it happens
constexpr double kMarge = 0.5;

// the lines |x| = LigneBandeX, |y| = LigneBandeY that a centre crosses before it touches a cushion
// (a radius from the noses), brought in by the margin
double LigneBandeX(const TPARAMPHYS& f) { return f.Bandes()[0].Point.x - f.RayonBilles() - kMarge; }
double LigneBandeY(const TPARAMPHYS& f) { return f.Bandes()[2].Point.y - f.RayonBilles() - kMarge; }

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
    const double xMax = LigneBandeX(f), yMax = LigneBandeY(f);
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
            if (Distance(traces[a], traces[b]) <= traces[a].rayon + traces[b].rayon + f.Diametre() + kMarge)
                return false;
        }
    return true;
}

// Rolling, every centimetre costs 1.4·m·a_r of kinetic energy (the rotation tied to the speed
// goes with it; a_r = FrotBiTapRoule·g). Other motions travel more cheaply only for a while: a
// slide near its end, while the slip is below λ = 1.4·a_r/(FrotBiTapGlisse·g) of the speed, gains
// at most 0.57·λ² of the rolling reach of the energy then held; a flight (no friction) at most
// 2.8·FrotBiTapRoule of it, and its hops on the cloth, each a share ElastBiTap of the one before,
// 1/(1 − ElastBiTap) times that. Contacts spend energy and never make any (up to rounding far
// below a per cent). The reach is widened for a dozen such slides or hops at full energy.
double PorteeParEnergie(const TPARAMPHYS& fisik) {
    const double aRoule = fisik.FrotBiTapRoule() * fisik.G();
    const double glisse = fisik.FrotBiTapGlisse() * fisik.G();
    if (!(aRoule > 0) || !(glisse > 0) || !(fisik.ElastBiTap() < 1)) return 0;
    const double lambda = 1.4 * aRoule / glisse;
    const double parEvenement =
        2.8 * fisik.FrotBiTapRoule() / (1 - fisik.ElastBiTap()) + 0.57 * lambda * lambda;
    const double elargi = 1.05 + 12 * parEvenement;
    // a reach widened this much would hardly ever end a candidate early: not worth its cost
    if (!(elargi <= 2)) return 0;
    return elargi / (1.4 * aRoule);
}

namespace {

// the distance of two centres in the table's plane
double Ecart(const TVecteur& a, const TVecteur& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// The shortest way from a to b that first touches a cushion: a way from inside the cushions'
// lines to beyond one of them crosses it, and a way through a point of a line is no shorter than
// the straight line to the mirror image of its end. From a nearer than `marge` to a line, the
// straight line only.
double ParUneBande(const TVecteur& a, const TVecteur& b, double xC, double yC, double marge) {
    if (std::abs(a.x) + marge >= xC || std::abs(a.y) + marge >= yC) return Ecart(a, b);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double mx = 2 * xC - std::abs(b.x + a.x);
    const double my = 2 * yC - std::abs(b.y + a.y);
    return std::sqrt(std::min(mx * mx + dy * dy, dx * dx + my * my));
}

bool Immobile(const TEtatBille& e) { return e.Mouvement == mvPivote || e.Mouvement == mvArret; }

}  // namespace

double ParcoursRequis(const TBillardVelmora& simu) {
    const TPARAMPHYS& f = simu.Fisik;
    const TEtatBille& b1 = simu.Etat(1);
    const double d = f.Diametre();
    // the cushion line a centre crosses before any contact with that cushion
    const double xC = LigneBandeX(f), yC = LigneBandeY(f);
    // the second ball counts only after the cushions the mode asks
    const int bandesRequises = simu.ModeDeJeu == j3Bandes ? 3 : simu.ModeDeJeu == j1Bande ? 1 : 0;
    const bool bandeDue = b1.NbBandes < bandesRequises;
    const TVecteur& p1 = b1.Position;
    if (b1.PremiereBille) {
        // the other ball is the second: ball 1 and it close their gap by their own travel
        const TVecteur& px = simu.Etat(b1.PremiereBille == &simu.Etat(2) ? 3 : 2).Position;
        return (bandeDue ? ParUneBande(p1, px, xC, yC, 0) : Ecart(p1, px)) - d;
    }
    // both still to touch: at least the farther one
    const TEtatBille& e2 = simu.Etat(2);
    const TEtatBille& e3 = simu.Etat(3);
    double requis = std::max(Ecart(p1, e2.Position), Ecart(p1, e3.Position)) - d;
    // Both at rest, they stay so until touched: ball 1 goes to one (within a diameter of where it
    // lies), then to the other (the cushion due on either way)
    if (Immobile(e2) && Immobile(e3)) {
        const double entre = Ecart(e2.Position, e3.Position);
        double chemin = std::numeric_limits<double>::infinity();
        for (const auto& [a, b] : {std::pair{&e2, &e3}, std::pair{&e3, &e2}}) {
            double c = Ecart(p1, a->Position) + entre;
            if (bandeDue)
                c = std::min(ParUneBande(p1, a->Position, xC, yC, 0) + entre,
                             Ecart(p1, a->Position) + ParUneBande(a->Position, b->Position, xC, yC, d));
            chemin = std::min(chemin, c);
        }
        requis = std::max(requis, chemin - 3 * d);
    }
    return requis;
}

namespace {

// the wait before the point can be out of reach, and the reach over what is required then
struct TAttentePortee {
    double attente = std::numeric_limits<double>::infinity();
    double rapport = std::numeric_limits<double>::infinity();
};

TAttentePortee AttentePortee(const TBillardVelmora& simu, double porteeParEnergie, double t) {
    constexpr double jamais = std::numeric_limits<double>::infinity();
    if (!simu.Etat(1).SurDeuxiemeBille || !(porteeParEnergie > 0)) return {};
    const TPARAMPHYS& f = simu.Fisik;
    // kinetic energy per unit mass (the rotation's share for a solid ball, I = 2/5·m·r²; a height
    // above the cloth counted); how fast the cloth can take it, and how fast the balls can move,
    // while every ball keeps its plan
    double energie = 0, vitesses2 = 0, vitesses2Roule = 0, glissePivote = 0;
    int mobiles = 0, roulent = 0;
    const double aRoule = f.FrotBiTapRoule() * f.G(), aGlisse = f.FrotBiTapGlisse() * f.G();
    for (int b = 1; b <= NbBilles; ++b) {
        const TEtatBille& e = simu.Etat(b);
        if (e.Mouvement == mvDehors) continue;
        const double k = 0.5 * Norme2(e.Vitesse) + 0.2 * f.Rayon2() * Norme2(e.Rotation) +
                         f.G() * std::max(e.Position.z - f.RayonBilles(), 0.0);
        energie += k;
        if (t < e.tFinPivot) glissePivote += 0.4 * f.Rayon2() * std::abs(e.Rotation.z * e.DecelPivot);
        if (e.Mouvement >= mvPivote) continue;
        ++mobiles;
        // rolling takes 1.4·a_r·|v| and only slows the ball; a slide takes a_g·|slip| (the slip
        // is 7/2 of the speed change left) and may speed it up, within what its energy allows,
        // then rolls; a flight keeps its speed in the plane and takes nothing until it lands,
        // which is a contact
        const double v2 = e.Vitesse.x * e.Vitesse.x + e.Vitesse.y * e.Vitesse.y;
        if (e.Mouvement == mvGlisse) {
            glissePivote += 3.5 * aGlisse * aGlisse * std::max(e.tFinGlisse - t, 0.0);
            ++roulent;
            vitesses2Roule += 2 * k;
            vitesses2 += 2 * k;
        } else {
            if (e.Mouvement == mvRoule) {
                ++roulent;
                vitesses2Roule += v2;
            }
            vitesses2 += v2;
        }
    }
    // no ball is faster than its energy allows (sums of square roots bounded by one)
    const double vitesses = std::sqrt(mobiles * vitesses2);
    const double dissipation = glissePivote + 1.4 * aRoule * std::sqrt(roulent * vitesses2Roule);
    // until the next contact the reach shrinks no faster than the cloth takes the energy, and the
    // travel required no faster than twice the balls' speeds (a ball counts in two of its gaps)
    const double retrecit = dissipation * porteeParEnergie + 2 * vitesses;
    const double portee = energie * porteeParEnergie + kMarge;
    // far beyond anything the point can require (two ways across the table, one through a
    // cushion), the required travel is not worth computing
    const double requisMax = 6 * (f.Bandes()[0].Point.x + f.Bandes()[2].Point.y);
    const double requis = portee > requisMax ? requisMax : ParcoursRequis(simu);
    const double surplus = portee - requis;
    if (surplus < 0) return {0, portee / requis};
    return {retrecit > 0 ? surplus / retrecit : jamais, requis > 0 ? portee / requis : jamais};
}

}  // namespace

bool PointHorsDePortee(const TBillardVelmora& simu, double porteeParEnergie) {
    return AttentePortee(simu, porteeParEnergie, 0).attente == 0;
}

namespace {

// ends the loop once the outcome can no longer change
struct TSuiviVerdict {
    static constexpr bool Photos = false;

    bool enAttente = true;  // the second-ball hook has not fired yet
    bool certain = false;
    double porteeParEnergie = -1;  // from the table's constants, at the first pass
    long prochainePortee = 1;      // the pass of the next look at the reach
    double rapportPortee = 0;      // the reach over the travel required, at the last look
    TSequenceContacts sequence;
    long passes = 0;
    long prochainBilan = kPassesEntreBilans;
    long intervalle = kPassesEntreBilans;

    bool ApresContact(const TBillardVelmora& simu, const TEtatBille& A) {
        // new motion plans: the reaches are worth a look again soon
        intervalle = kPassesEntreBilans;
        prochainBilan = passes + intervalle;
        // a contact can spend much of the energy at once: a look soon, unless the reach was
        // still far beyond what is required
        if (rapportPortee < kRapportPorteeLointaine) prochainePortee = passes + 1;
        if (!enAttente) return false;
        const TEtatBille& b1 = simu.Etat(1);
        if (&A == &b1) {
            if (A.DernierChoc == tcBilleBande)
                sequence.Ajoute(A.NumTouche);
            else if (A.DernierChoc == tcBilleBille)
                sequence.Ajoute(ContactBille + A.NumTouche);
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
        ++passes;
        // the point out of reach: a verdict that never comes (looked at again when it could be)
        if (enAttente && passes >= prochainePortee) {
            if (porteeParEnergie < 0) porteeParEnergie = PorteeParEnergie(simu.Fisik);
            const TAttentePortee a = AttentePortee(simu, porteeParEnergie, t);
            const double attente = a.attente;
            rapportPortee = a.rapport;
            if (attente == 0) {
                certain = true;
                return true;
            }
            const double pas = simu.Fisik.dtAnal();
            prochainePortee = passes + long(std::clamp(attente / pas, double(kPassesEntrePortees),
                                                       double(kPassesEntrePorteesMax)));
        }
        // nothing can change any more: the verdict taken stands, a pending one never comes
        // (it costs about a pass: looked at less and less often while it keeps failing)
        if (passes < prochainBilan) return false;
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

TVerdict JugeTrajets(TBillardVelmora& simu) { return Juge(simu); }

TVerdict JugeCoup(TBillardVelmora& simu) {
    simu.ImpactQueue();
    return Juge(simu);
}
