// The thickness ("épaisseur") of a hit as a player reads it: the fraction of the object ball the
// cue ball covers seen along its line of travel (pleine bille, 3/4, 1/2, 1/4, fine) and the side
// it takes the ball on. The values are those the corner panel shows as "Qté visée" and "Qté
// touchée": magnitude 1 for a full ball towards 0 for a fine cut, positive when the object
// ball's centre lies left of the line, so that the cue ball takes it on its right ("à droite")
// and goes off to the right.
#pragma once

#include <string>

#include "jeu/TableJeu.h"
#include "sim/C8_BillardVelmora.h"

// the signed fraction from the offset x of the object ball's centre from the line (cm, positive
// to the left): 1 − x/D when x > 0, −1 − x/D otherwise
double Epaisseur(double x, double diametre);

enum TFractionBille { fbAucune, fbFine, fbQuart, fbDemi, fbTroisQuarts, fbPleine };
// the nearest named fraction; below 1/8 "fine", from 7/8 "pleine bille"; 0 is no ball at all
TFractionBille FractionBille(double epaisseur);
// "pleine bille", "3/4", "1/2", "1/4", "fine"; "" for fbAucune
const char* TexteFraction(TFractionBille f);
// "1/2 bille à droite", "fine à gauche", "pleine bille"; "" for 0 (no ball)
std::string TexteEpaisseur(double epaisseur);

// a ball met by a line: its number in the simulation (2 or 3; 0 for none) and the thickness
struct TBilleEpaisseur {
    int Bille = 0;
    double Epaisseur = 0;
};

// The ball the aim meets from ball 1 at p[0] along (ax, ay) (unit, horizontal): a ball in front
// whose centre lies within a diameter of the line; both: the nearer one (equal: the red).
// p[1] is ball 2, p[2] ball 3. Single precision, as the 3D models hold the balls.
TBilleEpaisseur BilleVisee(float ax, float ay, const std::array<TCentreBille, 3>& p, float diametre);
// the thickness the aim would give on ball `bille` (2 or 3) alone; 0 when it misses it
double EpaisseurVisee(float ax, float ay, const std::array<TCentreBille, 3>& p, float diametre, int bille);
// ball 1's first contact with another ball in the last computed shot, seen along its travel
// just before; Bille 0 without one
TBilleEpaisseur BilleTouchee(const TBillardVelmora& simu, double diametre);
