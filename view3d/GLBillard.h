// The carom table in the 3D scene: cloth, spots, cushions, rails and diamonds, always drawn with
// the match-table dimensions, and what makes it stand somewhere: the line of each cushion's
// nose, the body under the rails, its legs and the floor of the room. Units are centimetres: X
// across the table, Y along it, Z up, the cloth is the plane Z = 0 and the table centre the origin.
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
    // the noses of the four cushions, a dark line on the border of the playing area
    TLignes* NezBandes = nullptr;
    // the body under the rails, its six legs, and the floor they stand on: planks all around,
    // the shade under the table (no pixel is lit twice where the table hides the floor)
    TBoite* Caisse = nullptr;
    std::array<TBoite*, 6> Pieds{};
    std::array<TPlan*, 4> Sol{};
    TPlan* OmbreTable = nullptr;
    // height of the cloth above the floor, and the floor's planks
    static constexpr float HauteurTapis = 77;
    static constexpr TCouleur CouleurSol{0.21f, 0.145f, 0.10f, 1};

    // rail width D, cushion width C, playing width W (the length is 2W), nose height A
    void Dimensionne(float D, float C, float W, float A);
    // distance of the side spots from the long axis
    static float EcartMouche(float W);
    // how far a point of the playing area goes in the horizontal direction (ux, uy) (a unit
    // vector) before its centre crosses the border of the playing area pushed out by marge,
    // i.e. the line under the cushions' noses when marge is 0; 0 when it is already beyond
    float DistanceAuNez(const TVecteur3f& depart, float ux, float uy, float marge = 0) const;

protected:
    void CreeReperes(TBoite& cadre, int n);
    void PlaceReperes(TBoite& cadre, float D, float C, float W, float A);
    void CreePiece();
    void PlacePiece(float D, float C, float W, float A);
};
