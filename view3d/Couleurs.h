// The named colours of the 3D view and the routines that give an object its material.
#pragma once

#include "scene/Noeud.h"

inline constexpr TCouleur clrNoir{0, 0, 0, 1};
inline constexpr TCouleur clrGris20{0.2f, 0.2f, 0.2f, 1};
inline constexpr TCouleur clrGris25{0.25f, 0.25f, 0.25f, 1};
inline constexpr TCouleur clrGris40{0.4f, 0.4f, 0.4f, 1};
inline constexpr TCouleur clrBlanc{1, 1, 1, 1};
inline constexpr TCouleur clrArgent{0.9f, 0.91f, 0.98f, 1};
inline constexpr TCouleur clrBleu{0.196078f, 0.196078f, 0.8f, 1};
inline constexpr TCouleur clrBois{0.65f, 0.5f, 0.39f, 1};
inline constexpr TCouleur clrRouge{1, 0, 0, 1};
inline constexpr TCouleur clrJaune{1, 1, 0, 1};

// the four front-material colours of an object
inline void CouleursMateriau(TNoeud& objet, const TCouleur& ambiante, const TCouleur& diffuse,
                             const TCouleur& emission, const TCouleur& speculaire) {
    objet.SetMateriau({ambiante, diffuse, emission, speculaire});
}

// the same colour for all four
inline void CouleurUnie(TNoeud& objet, const TCouleur& c) {
    CouleursMateriau(objet, c, c, c, c);
}
