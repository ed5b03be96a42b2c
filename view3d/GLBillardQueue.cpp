#include "view3d/GLBillardQueue.h"

#include <algorithm>
#include <cmath>

TGLBillardQueue::TGLBillardQueue(TScene& scene, TVue& vueTable, TVue& vueQueue)
    : TGLBillard3B(scene, vueTable) {
    Queue = std::make_unique<TGLQueue>(Scene, vueQueue);
    Queue->ReleveRequis = [this](const TGLQueue& q) { return ReleveSurBandes(q); };
    // the aim line stops at the cushion's nose it meets
    Queue->LongueurVisee = [this](const TGLQueue& q) {
        const TVecteur3f u = q.DirectionVisee();
        return DistanceAuNez(q.Bille->LitPosition(), u.x, u.y);
    };
    // the cue follows its ball over the rails
    for (TGLBilles* b : {Blanche, Jaune, Rouge}) {
        auto avant = b->OnDeplace;
        b->OnDeplace = [this, avant](TGLBilles& x) {
            if (avant) avant(x);
            if (Queue && &x == Queue->Bille) Queue->MajReleve();
        };
    }
    SetBilleJoueur(Blanche);
}

float TGLBillardQueue::ReleveSurBandes(const TGLQueue& q) const {
    // backwards from the tip, level, to the cushions' nose line (to the rails' inner edge when the
    // tip already lies over a cushion)
    const TVecteur3f pointe = q.Releve->PositionAbsolue();
    const float a = q.Visee() * RadParDeg;
    const float ux = -std::cos(a), uy = -std::sin(a);
    float d = DistanceAuNez(pointe, ux, uy);
    if (d < 1) d = std::max(DistanceAuNez(pointe, ux, uy, LargeurBande), 1.0f);
    // the shaft, a couple of centimetres thick there, passes over the top of the rails
    const TBoite& cadre = *Cadres[0];
    const float haut = cadre.PositionAbsolue().z + cadre.Profondeur() / 2 + 2.2f;
    const float requise = std::atan2(haut - pointe.z, d) * DegParRad;
    return std::clamp(requise - q.Inclinaison(), 0.0f, 85.0f - q.Inclinaison());
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
    const TQueueDegres q = QueueDepart();
    Queue->SetVisee(q.Visee);
    Queue->SetInclinaison(q.Inclinaison);
    Queue->SetEffetHauteur(q.Effet, q.Hauteur);
    Queue->SetVitesse(q.Vitesse);
    Queue->Attache(BilleJoueur);
}

void TGLBillardQueue::ViseSouris(int X, int Y) {
    if (!BilleJoueur) return;
    const TVecteur3f b = BilleJoueur->LitPosition();
    TVecteur3f p;
    if (!Vue->IntersectionPlanZ(float(X), float(Vue->Hauteur() - Y), b.z, p)) return;
    Queue->SetVisee(std::atan2(p.y - b.y, p.x - b.x) * DegParRad);
}
