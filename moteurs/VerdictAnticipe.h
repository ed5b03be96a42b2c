// The verdict of a candidate shot without computing it to the end: the computation stops as soon
// as the outcome is certain (the point refused or impossible; or the point made with no ball
// left able to leave the table), and the verdict is the one the whole computation gives.
// Also ball 1's contacts until the verdict, which name the shot's route.
// Certain means: the second-ball hook has refused the point; or a ball is out of the table; or no
// ball flies and no contact can happen any more (every moving ball stops, by its own motion plan,
// before it can reach a cushion or another ball's reach), so the verdict taken, or its absence,
// stands; or, the verdict still to come, ball 1 lies farther from a ball it still needs than the
// balls' energy can carry them.
#pragma once

#include <array>
#include <cstdint>

#include "sim/C8_BillardVelmora.h"

// the codes of ball 1's contacts: cushions 1..4 as numbered, balls as ContactBille + their number
inline constexpr int ContactBille = 10;
inline constexpr int ContactBille2 = ContactBille + 2;  // the other cue ball
inline constexpr int ContactRouge = ContactBille + 3;
inline constexpr bool EstContactBille(int contact) { return contact >= ContactBille; }
// the ball of a ball contact (2 or 3)
inline constexpr int BilleDuContact(int contact) { return contact - ContactBille; }

// ball 1's contacts in order until the verdict
struct TSequenceContacts {
    static constexpr int NbMax = 15;
    std::array<std::uint8_t, NbMax> Contacts{};
    std::int8_t Nb = 0;
    bool Tronquee = false;  // more contacts than NbMax before the verdict

    void Ajoute(int contact);
    // a nonzero code for the sequence (4 bits per contact); equal codes, same sequence
    std::uint64_t Code() const;
    static TSequenceContacts DepuisCode(std::uint64_t code);
};

struct TVerdict {
    bool Reussi = false;    // what PointReussi would be after the whole computation
    bool Anticipe = false;  // ended before the balls stopped
    TSequenceContacts Sequence;
    long NbPasses = 0;
};

// Plays photo 0 of `simu` with its cue (ImpactQueue, then the watched loop). The photo store is
// not filled (only counted): replay with Joue to draw the shot.
TVerdict JugeCoup(TBillardVelmora& simu);
// the same from photo 0 as it is (no cue impact)
TVerdict JugeTrajets(TBillardVelmora& simu);

// true when, from the working records of simu at time t, no ball flies and no contact can
// happen any more: each ball's reach (the distance its motion plan can still carry it) keeps it
// away from the cushions and from the other balls' reach
bool PlusAucunContact(const TBillardVelmora& simu, double t);

// The distance the balls together can still travel on the table's constants, per unit of their
// kinetic energy (cm per erg/g, heights above the cloth counted as energy); 0 when these
// constants leave it unbounded (a rolling resistance near the sliding friction).
double PorteeParEnergie(const TPARAMPHYS& fisik);
// the least the balls together must still travel (cm) before ball 1 can make the point: to the
// ball or balls it still has to touch, through a cushion when the mode still asks for one
double ParcoursRequis(const TBillardVelmora& simu);
// true when ball 1 still waits for its verdict and the balls cannot travel that far any more
// (porteeParEnergie from PorteeParEnergie)
bool PointHorsDePortee(const TBillardVelmora& simu, double porteeParEnergie);
