// The background behind the scene: a gradient from the viewer's background colour, darker at the
// top and in the corners, drawn where nothing else was (the far depth), so it costs only the
// pixels it shows. A grid of coloured vertices: no shader, no allocation once built.
#pragma once

#include <array>

#include "scene/Vecteur3f.h"

class TFondGL {
public:
    // after the scene, in the current context, over the whole viewport
    void Dessine(const TCouleur& fond);

private:
    static constexpr int N = 9;  // vertices a side
    void Construit(const TCouleur& fond);
    std::array<float, N * N * 3> sommets_{};
    std::array<float, N * N * 4> couleurs_{};
    std::array<unsigned short, (N - 1) * (N - 1) * 6> indices_{};
    TCouleur fond_{-1, -1, -1, -1};
};
