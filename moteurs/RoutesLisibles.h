// The solver's routes in a player's words, for the windows and the command line alike (the
// decimal separator is the reader's): how to play a setting, and the route's exact contacts with
// the named cushions and the diamonds where ball 1 meets them.
#pragma once

#include <string>
#include <vector>

#include "moteurs/SolveurCoups.h"

// the ball ball 1 meets first when no cushion comes before it (2 or 3), else 0
int BilleEnTete(const TSequenceContacts& s);
// "Jaune 1/2 bille à gauche, effet 2 procédés à 3 h, vitesse 6/10": the route's setting or one of
// its variants
std::string TexteCoupRoute(const TResultatSolveur& r, const TRouteSolveur& route, const TQueueDegres& q,
                           char separateur = '.');
// "Jaune → longue droite 2,5 → courte du haut 1,0 → longue gauche 6,2 → Rouge" (without the
// diamonds when they are not known)
std::string TexteParcoursRoute(const TRouteSolveur& route, const std::string& nomBille2,
                               char separateur = '.');
// the names of the route's cushions, in order
std::vector<std::string> NomsBandesRoute(const TRouteSolveur& route);
// "3 variantes", "1 variante"; "" for none
std::string TexteVariantes(std::size_t n);
