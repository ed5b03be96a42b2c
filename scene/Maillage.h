// Triangles of the solid node kinds in the node's own frame, with outward normals: the one
// source of the shapes that the renderer draws and that the tests measure.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/Noeud.h"

struct TMaillage {
    std::vector<TVecteur3f> Sommets;
    std::vector<TVecteur3f> Normales;
    std::vector<std::uint32_t> Indices;  // three per triangle, counter-clockwise seen from outside
    bool Ferme = false;                  // a closed solid: its inside is never seen
};

// empty for the kinds that are not solids (dummy, line, camera, light)
TMaillage MaillageDe(const TNoeud& noeud);

// corner i of the cross-section of a cylinder at height y (-h/2 bottom, +h/2 top)
TVecteur3f CoinCylindre(const TCylindre& c, int i, bool haut);
