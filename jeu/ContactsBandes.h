// Where the balls of a computed shot meet the cushions: ball, cushion, the diamond of that
// cushion at the contact, the time and the photo, read from the photo store (a photo is taken at
// every contact). Ball 1's cushion contacts are named by the store itself; another ball's
// contact is the ball that lies against a cushion at that photo.
#pragma once

#include <string>
#include <vector>

#include "sim/C8_BillardVelmora.h"

struct TContactBande {
    int Bille = 1;  // 1..3, the simulation's numbers
    int Bande = 0;  // 1..4
    double Diamant = 0;
    double t = 0;
    int Photo = 0;
    TVecteur Position;  // the ball's centre at the contact
};

// in the order of the photos; only ball 1's unless toutesBilles
std::vector<TContactBande> ContactsBandes(const TBillardVelmora& simu, bool toutesBilles = false);
// ball 1's contacts with a ball (2 or 3), as photo numbers, in order
std::vector<int> PhotosContactsBilles(const TBillardVelmora& simu);
// "longue droite 2,5 → courte du haut 1,0 → longue gauche 6,2" (ball `bille`'s contacts only)
std::string TexteParcours(const std::vector<TContactBande>& contacts, int bille, char separateur = '.');
// ball 1's contacts in order, balls by name: "Jaune → longue droite 2,5 → … → Rouge"
std::string TexteContactsBille1(const TBillardVelmora& simu, const std::string& nomBille2,
                                char separateur = '.');
// the ball ball 1 meets first when no cushion comes before it (2 or 3), else 0
int BilleEnTete(const TBillardVelmora& simu);
