// The three-ball table with the cue: the player's ball (white or yellow), the opening position of
// three-cushion play, and aiming the cue at the mouse.
#pragma once

#include <memory>

#include "view3d/GLBillard3B.h"

class TGLBillardQueue : public TGLBillard3B {
  public:
    // the cue viewer shows the cue's camera; both viewers must outlive this object
    TGLBillardQueue(TScene& scene, TVue& vueTable, TVue& vueQueue);
    ~TGLBillardQueue() override;

    TGLBilles* BilleJoueur = nullptr;
    TGLBilles* BilleNonJoueur = nullptr;
    // fired with the very argument of SetBilleJoueur (nullptr stays nullptr)
    std::function<void(TGLBilles*)> OnBilleJoueur;
    std::unique_ptr<TGLQueue> Queue;

    // nullptr means the white ball
    void SetBilleJoueur(TGLBilles* bille);
    // player's ball on the right spot (Cote true) or the left one, the other cue ball on the
    // middle spot, the red on the far spot; the opening cue values
    void PositionDepart(bool cote);
    // aims the cue from the player's ball towards the point of the cloth under the mouse
    void ViseSouris(int X, int Y);
    // degrees the drawn cue must rise above its inclination so that its shaft passes over the
    // cushions and rails behind the ball (0 when it already does)
    float ReleveSurBandes(const TGLQueue& queue) const;
};
