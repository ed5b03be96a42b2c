// How far a camera must stand from its target, looking the way it looks, for a box (the table) to
// fit whole in its picture: the ceiling camera fits the table to the view the docks leave, and
// every camera keeps the table in view when that view changes size.
#pragma once

#include <array>

#include "scene/Camera.h"

// a corner of the picture, at its top right, that the box must leave free (the main window's
// panel with the fire button and the results), in pixels
struct TReserveImage {
    int Largeur = 0;
    int Hauteur = 0;
};

using TCoinsBoite = std::array<TVecteur3f, 8>;
TCoinsBoite CoinsBoite(const TVecteur3f& min, const TVecteur3f& max);

// The distance from its target at which the camera, keeping its target, its direction and its
// focal length, shows every corner inside a picture of largeur x hauteur pixels with `marge`
// pixels to spare and clear of the reserve. A camera without a target gets 0.
float DistanceCadrage(const TCamera& camera, int largeur, int hauteur, const TCoinsBoite& coins, float marge,
                      const TReserveImage& reserve = {});
