// Numbers written with line segments, for labels laid in the 3D scene (which has no text): digits
// as on a seven-segment display, the comma and the point, the minus sign. Other characters leave
// a blank.
#pragma once

#include <string>

#include "scene/Noeud.h"

// Adds the segments of `texte` to `traits` (a TLignes in segments mode): the text starts at
// `origine` and runs along `droite`, `haut` pointing up the characters (both unit vectors),
// characters `hauteur` tall. Returns the width written.
float AjouteChiffres(TLignes& traits, const std::string& texte, const TVecteur3f& origine,
                     const TVecteur3f& droite, const TVecteur3f& haut, float hauteur);
// the width `texte` takes at that height
float LargeurChiffres(const std::string& texte, float hauteur);
