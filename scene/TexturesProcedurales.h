// Textures made by code rather than loaded: tileable noise that the renderer reads to give the
// cloth its nap, the wood its grain and the large surfaces a soft mottling. No OpenGL here, so
// that what they hold is tested without a display.
#pragma once

#include <cstdint>
#include <vector>

struct TTextureBruits {
    int Cote = 0;                    // square, Cote x Cote texels
    std::vector<std::uint8_t> Rgba;  // rows from the bottom, 4 bytes a texel
    // channel c (0 r, 1 g, 2 b, 3 a) of texel (x, y), wrapping around the edges
    std::uint8_t Texel(int x, int y, int c) const;
};

// Every channel tiles seamlessly and spans most of 0..255 around a middle grey:
//   r: fine isotropic noise (the cloth's nap), g: noise stretched along y (fibres, wood grain),
//   b: sharper noise (mother-of-pearl), a: soft large blotches (mottling).
// The same size and seed give the same bytes on every machine.
TTextureBruits TextureBruits(int cote = 256, std::uint32_t graine = 1);
