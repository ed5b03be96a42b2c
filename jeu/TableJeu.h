// Where the balls may lie: the box of centres inside the cushion noses and the rule that keeps
// them apart, in the single precision of the 3D models. Every placement goes through it: a drag
// with the mouse, a position file, a shot handed over.
#pragma once

#include <array>

#include "sim/ParamPhys.h"

// the centre of a ball as the 3D models hold it (cm, the table frame)
struct TCentreBille {
    float x = 0;
    float y = 0;
    float z = 0;

    friend bool operator==(const TCentreBille&, const TCentreBille&) = default;
};

// the match table the models are built on, and the radius of their balls, in their precision
inline constexpr float LargeurTableJeu = float(LargeurJeuUsine);
inline constexpr float HautBandesJeu = float(HautBdesUsine);
inline constexpr float RayonBilleJeu = float(RayonBillesUsine);

// ball numbers of the table: 0 white, 1 yellow, 2 red
enum TBilleJeu : int { bjBlanche, bjJaune, bjRouge };

class TTableJeu {
public:
    // playing width W (the length is 2W) and ball radius r
    TTableJeu(float largeur = LargeurTableJeu, float rayon = RayonBilleJeu);

    float Rayon = 0;
    float DiamBille = 0;
    float DiamBille2 = 0;
    // the box of centres for which a ball lies inside the cushion noses
    float XMax = 0, XMin = 0;
    float YMax = 0, YMin = 0;

    // clamps p into the box; whether it changed (Z never)
    bool Borne(TCentreBille& p) const;
    // puts p at one diameter from the other ball, on the line of centres, when nearer; whether it
    // changed (on the very centre: along +X)
    bool Repousse(TCentreBille& p, const TCentreBille& autre) const;
    // a ball moved to p: bounded, then pushed off the first of the other two, in the fixed order
    // of OrdreRepousse, that it overlaps (only one pushes); whether p changed
    bool Contraint(TCentreBille& p, TBilleJeu bille, const std::array<TCentreBille, 3>& centres) const;
    // Where the three balls of a load (position file, shot handed over) end, in this order: each
    // bounded and, when it overlaps a ball placed before it in this load, pushed off it (the one
    // placed last first, only one pushes). Where the balls stood before the load does not count.
    std::array<TCentreBille, 3> PlaceEnOrdre(const std::array<TCentreBille, 3>& centres) const;
};

// the other two balls in the order they push a moved one: for the white the yellow then the red,
// for the yellow the white then the red, for the red the yellow then the white
std::array<TBilleJeu, 2> OrdreRepousse(TBilleJeu bille);
