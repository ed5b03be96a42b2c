// The corner-five diamond system ("système des 5") of three-cushion play, beside the physics.
// A ball sent to a first long cushion goes on to the far short cushion and back to the other long
// one (the third cushion); the system predicts where: arrival = start − first.
// Its standard numbering, on the lines of the diamonds (the ball's path is sighted through the
// cushion to the diamond behind it):
// - first and third cushions: diamonds counted from the far corner, 0 to 8;
// - start, where the ball's line comes from: on the long cushion of the arrival 1 at the far
//   corner, then a half per diamond up to 5 at the near corner ("coin 5"), then a whole one per
//   diamond along the near short cushion (6, 7, 8).
// The orientation is the first long cushion (1 or 3) and the short cushion it heads for (2 or 4).
#pragma once

#include <string>

#include "sim/C8_BillardVelmora.h"

struct TOrientationSysteme {
    int PremiereBande = 1;  // 1 or 3
    int Courte = 2;         // the far short cushion, 2 or 4
    // the other long cushion: the third one, whose line the start numbers run along
    int TroisiemeBande() const { return PremiereBande == 1 ? 3 : 1; }
};

struct TPointTable {
    double x = 0;
    double y = 0;
};

inline double ArriveeSysteme(double depart, double premiere) { return depart - premiere; }
inline double PremiereSysteme(double depart, double arrivee) { return depart - arrivee; }

// the points of the numbers, on the lines of the diamonds (table of playing width `largeur`)
TPointTable PointDepart(double depart, const TOrientationSysteme& o, double largeur);      // 1..8
TPointTable PointPremiere(double premiere, const TOrientationSysteme& o, double largeur);  // 0..8
TPointTable PointArrivee(double arrivee, const TOrientationSysteme& o, double largeur);    // 0..8

// the numbers of a straight line through p heading for the first cushion along (ux, uy); false
// when it does not come from the start lines or does not reach the first cushion's line
bool NumerosLigne(TPointTable p, double ux, double uy, const TOrientationSysteme& o, double largeur,
                  double& depart, double& premiere);
// the third cushion's number where a line through p along (ux, uy) crosses its line of diamonds
bool NumeroArrivee(TPointTable p, double ux, double uy, const TOrientationSysteme& o, double largeur,
                   double& arrivee);

// The system's aim for a start and an arrival: the first cushion's number and the line from the
// start point to it (degrees from +x, as the cue's aim). False when the first number falls off
// the cushion (start − arrival outside 0..8) or a number is outside its range.
struct TViseeSysteme {
    double Premiere = 0;
    TPointTable Depart, Vers;
    double Visee = 0;
};
bool ViseeSysteme(double depart, double arrivee, const TOrientationSysteme& o, double largeur,
                  TViseeSysteme& v, std::string* erreur = nullptr);

// The system against a computed shot: when ball 1 goes from a first long cushion to a short one
// and then to the other long one, touching no ball in between, the start and first numbers of
// its line into the first cushion, the arrival they predict and where the ball arrived.
struct TComparaisonSysteme {
    bool Applicable = false;
    TOrientationSysteme Orientation;
    double Depart = 0, Premiere = 0, Predite = 0, Simulee = 0;
    double Ecart() const { return Simulee - Predite; }
};
TComparaisonSysteme CompareAuSysteme(const TBillardVelmora& simu);
// "départ 5,0 − première 2,0 = arrivée 3,0 ; bille à 3,4 (écart +0,4)"
std::string TexteComparaison(const TComparaisonSysteme& c, char separateur = '.');
