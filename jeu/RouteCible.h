// A route a coach wants played: the contacts of the player's ball until the point, written with
// the words the program shows ("Rouge · longue · courte · longue · Jaune"). Long cushions are
// 1 and 3, short ones 2 and 4; the other cue ball is named by its colour.
#pragma once

#include <string>
#include <vector>

#include "sim/C1_Types.h"

enum class TContactCible { Bille2, Rouge, Longue, Courte };

// Reads a target: words separated by "·", ",", ";" or blanks, case ignored: "rouge", the other cue
// ball ("jaune" or "blanche", whichever is not the player's), "longue", "courte". False with the
// reason when a word is unknown or when the sequence cannot make the point in that mode (both
// object balls once each, the second last, enough cushions before it).
bool LitRouteCible(const std::string& texte, TModeDeJeu mode, const std::string& nomBille2,
                   std::vector<TContactCible>& cible, std::string* erreur = nullptr);
// the target in the program's words
std::string TexteRouteCible(const std::vector<TContactCible>& cible, const std::string& nomBille2);
// whether ball 1's contacts (cushions 1..4, balls 12 and 13, as the solver records them) follow
// the target
bool RouteSuivie(const std::vector<TContactCible>& cible, const std::vector<int>& contacts);
