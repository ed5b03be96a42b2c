// The three balls on the table: picking with the mouse, dragging on the cloth, and the constraint
// that keeps every ball inside the cushion noses and off the other balls, whatever moved it (the
// rule is the table's, jeu/TableJeu.h; the balls show where it puts them).
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "jeu/TableJeu.h"
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
    // the playing box and the no-overlap rule, for the radius the balls have at creation
    TTableJeu Table;
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
    // The three balls of a load (position file, shot handed over) where the table's load rule puts
    // them, silently; then OnBilleDeplacee for each.
    void PlaceEnOrdre(const std::array<TGLBilles*, 3>& billes, const std::array<TVecteur3f, 3>& positions);
    // The three balls at centres the table's rule already placed, silently; then OnBilleDeplacee
    // for each.
    void Place(const std::array<TGLBilles*, 3>& billes, const std::array<TCentreBille, 3>& centres);

private:
    std::unique_ptr<TGLBilles> blanche_, jaune_, rouge_;
};
