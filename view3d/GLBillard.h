// The carom table in the 3D scene: cloth, spots, cushions, rails and diamonds, always drawn with
// the match-table dimensions. Units are centimetres: X across the table, Y along it, Z up, the
// cloth is the plane Z = 0 and the table centre the origin.
#pragma once

#include <array>

#include "scene/Scene.h"

class TGLBillard {
  public:
    explicit TGLBillard(TScene& scene);
    virtual ~TGLBillard() = default;
    TGLBillard(const TGLBillard&) = delete;
    TGLBillard& operator=(const TGLBillard&) = delete;

    TScene& Scene;
    // cushion prisms, in the order +X side, -X side, +Y end, -Y end
    std::array<TCylindre*, 4> ProfilsBandes{};
    // rail boxes, same order; their children are the diamonds
    std::array<TBoite*, 4> Cadres{};
    TPlan* Tapis = nullptr;
    float DemiLargeur = 0;
    float Largeur = 0;
    float LargeurBande = 0;  // from the cushion's nose to the rail
    // spots, children of the cloth: (-e, -W/2), (0, -W/2), (e, -W/2), (0, 0), (0, W/2)
    std::array<TDisque*, 5> Mouches{};

    // rail width D, cushion width C, playing width W (the length is 2W), nose height A
    void Dimensionne(float D, float C, float W, float A);
    // distance of the side spots from the long axis
    static float EcartMouche(float W);

  protected:
    void CreeReperes(TBoite& cadre, int n);
    void PlaceReperes(TBoite& cadre, float D, float C, float W, float A);
};
