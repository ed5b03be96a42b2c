#include "view3d/GLBillardQueue.h"

#include <cmath>

TGLBillardQueue::TGLBillardQueue(TScene& scene, TVue& vueTable, TVue& vueQueue)
    : TGLBillard3B(scene, vueTable) {
    Queue = std::make_unique<TGLQueue>(Scene, vueQueue);
    SetBilleJoueur(Blanche);
}

TGLBillardQueue::~TGLBillardQueue() { Queue.reset(); }

void TGLBillardQueue::SetBilleJoueur(TGLBilles* bille) {
    BilleJoueur = bille ? bille : Blanche;
    Queue->Attache(BilleJoueur);
    if (OnBilleJoueur) OnBilleJoueur(bille);
    BilleNonJoueur = BilleJoueur == Blanche ? Jaune : Blanche;
}

void TGLBillardQueue::PositionDepart(bool cote) {
    if (!BilleJoueur) return;
    TGLBilles* autre = BilleJoueur == Blanche ? Jaune : Blanche;
    // every placement goes through the constraint
    BilleJoueur->SetPosition(Mouches[cote ? 2 : 0]->PositionAbsolue());
    autre->SetPosition(Mouches[1]->PositionAbsolue());
    Rouge->SetPosition(Mouches[4]->PositionAbsolue());
    for (TGLBilles* b : {Blanche, Jaune, Rouge}) b->SetCoord(2, b->Rayon() + Tapis->Position().z);
    // the opening shot
    Queue->SetVisee(99.14f);
    Queue->SetInclinaison(3);
    Queue->SetEffetHauteur(0.62f, 1.17f);
    Queue->SetVitesse(430);
    Queue->Attache(BilleJoueur);
}

void TGLBillardQueue::ViseSouris(int X, int Y) {
    if (!BilleJoueur) return;
    const TVecteur3f b = BilleJoueur->LitPosition();
    TVecteur3f p;
    if (!Vue->IntersectionPlanZ(float(X), float(Vue->Hauteur() - Y), b.z, p)) return;
    Queue->SetVisee(std::atan2(p.y - b.y, p.x - b.x) * DegParRad);
}
