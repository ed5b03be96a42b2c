// The three balls on the table: picking with the mouse, dragging on the cloth, and the constraint
// that keeps every ball inside the cushion noses and off the other balls, whatever moved it.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "view3d/GLBillardCam.h"
#include "view3d/GLBilles.h"

class TGLBillard3B : public TGLBillard2Cam {
public:
    TGLBillard3B(TScene& scene, TVue& vueTable);
    ~TGLBillard3B() override;

    TGLBilles* BilleChoisie = nullptr;
    std::function<void(TGLBilles*)> OnChoix;
    // a ball moved (after the constraint)
    std::function<void(TGLBilles&)> OnBilleDeplacee;
    float DiamBille = 0;
    float DiamBille2 = 0;
    // the box of centres for which a ball lies inside the cushion noses
    float XMax = 0, XMin = 0;
    float YMax = 0, YMin = 0;
    // the three balls, owned
    TGLBilles* Blanche = nullptr;
    TGLBilles* Jaune = nullptr;
    TGLBilles* Rouge = nullptr;

    void Choisit(TGLBilles* bille);
    // picks the ball under the pixel (white first, then yellow, then red); whether one is chosen
    bool PrendBille(int X, int Y);
    // drags the chosen ball so that its grab point follows the mouse on the cloth
    void GlisseBille(int X, int Y);
    // OnDeplace of every ball: constraint, then OnBilleDeplacee
    void BilleBouge(TGLBilles& bille);
    void Contraint(TGLBilles& bille);
    // clamps p into the box of centres; whether it changed (Z never)
    bool Borne(TVecteur3f& p) const;
    // puts p at one diameter from the other ball when nearer; whether it changed
    bool Repousse(TVecteur3f& p, const TGLBilles& autre) const;
    // Places the three balls of a load (position file, shot handed over) in this order: each
    // bounded to the playing area and, when it overlaps a ball placed before it in this load,
    // pushed off it as a drag does (the one placed last first, only one pushes). Where the balls
    // stood before the load does not count. Then OnBilleDeplacee for each.
    void PlaceEnOrdre(const std::array<TGLBilles*, 3>& billes, const std::array<TVecteur3f, 3>& positions);

private:
    std::unique_ptr<TGLBilles> blanche_, jaune_, rouge_;
};
