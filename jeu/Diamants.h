// The cushions and their diamonds as a player reads them. The player stands at the short cushion
// of the opening (cushion 4, −y) looking along the table: cushion 1 (+x) is the "longue droite",
// 3 (−x) the "longue gauche", 2 (+y) the "courte du haut", 4 the "courte du bas". Diamonds count
// from the corner at the player's left: the long cushions from 0 (courte du bas) to 8 (courte du
// haut), the short ones from 0 (longue gauche) to 4 (longue droite); one diamond is a quarter of
// the playing width, so they are the marks drawn on the rails.
#pragma once

#include <string>

// the cushion (from its nose to the rail) and the rail of the match table (cm)
inline constexpr float LargeurBandeJeu = 5.25f;
inline constexpr float LargeurCadreJeu = 7.75f;
// the line of the diamonds, on the middle of the rail, behind the cushion's nose (cm)
inline constexpr double RetraitDiamants = LargeurBandeJeu + LargeurCadreJeu / 2.0;

inline constexpr double DiamantsLongue = 8;
inline constexpr double DiamantsCourte = 4;

// "longue droite", "courte du haut", "longue gauche", "courte du bas"; "" outside 1..4
const char* NomBande(int numero);
// 1 and 3
bool BandeLongue(int numero);
// where a point lies along cushion `numero`, in its diamonds (the table's playing width given)
double DiamantSurBande(int numero, double x, double y, double largeur);
// the coordinate along the cushion of its diamond d (y for the long cushions, x for the short)
double CoordonneeDiamant(int numero, double diamant, double largeur);
// "longue droite 2,5"
std::string TexteContactBande(int numero, double diamant, char separateur = '.');
