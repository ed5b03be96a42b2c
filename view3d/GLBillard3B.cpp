#include "view3d/GLBillard3B.h"

#include <cmath>

namespace {
TCentreBille Centre(const TGLBilles& b) {
    const TVecteur3f p = b.LitPosition();
    return {p.x, p.y, p.z};
}
}  // namespace

TGLBillard3B::TGLBillard3B(TScene& scene, TVue& vueTable) : TGLBillard2Cam(scene, vueTable) {
    const float zTapis = Tapis->Position().z;
    blanche_ = std::make_unique<TGLBilles>(Scene, zTapis, 1);
    jaune_ = std::make_unique<TGLBilles>(Scene, zTapis, 0);
    rouge_ = std::make_unique<TGLBilles>(Scene, zTapis, 2);
    Blanche = blanche_.get();
    Jaune = jaune_.get();
    Rouge = rouge_.get();
    Blanche->Indice = 0;
    Jaune->Indice = 1;
    Rouge->Indice = 2;
    for (TGLBilles* b : {Blanche, Jaune, Rouge}) b->OnDeplace = [this](TGLBilles& x) { BilleBouge(x); };

    Table = TTableJeu(Largeur, Blanche->Rayon());
}

TGLBillard3B::~TGLBillard3B() = default;

void TGLBillard3B::Choisit(TGLBilles* bille) {
    if (bille == BilleChoisie) return;
    BilleChoisie = bille;
    if (OnChoix) OnChoix(bille);
}

bool TGLBillard3B::PrendBille(int X, int Y) {
    const TVecteur3f depart = Vue->PositionCamera();
    const TVecteur3f direction = Vue->VecteurEcran(float(X), float(Vue->Hauteur() - Y));
    // fixed order, not the nearest ball
    TGLBilles* trouvee = nullptr;
    for (TGLBilles* b : {Blanche, Jaune, Rouge})
        if (b->Intersecte(depart, direction)) {
            trouvee = b;
            break;
        }
    Choisit(trouvee);
    return BilleChoisie != nullptr;
}

void TGLBillard3B::GlisseBille(int X, int Y) {
    if (!BilleChoisie) return;
    TGLBilles& b = *BilleChoisie;
    TVecteur3f p;
    if (!Vue->IntersectionPlanZ(float(X), float(Vue->Hauteur() - Y), b.PointPris.z, p)) return;
    b.Deplace({p.x - b.PointPris.x, p.y - b.PointPris.y, 0});
    // the grab point follows the mouse even when the constraint held the ball back
    b.PointPris = p;
}

void TGLBillard3B::BilleBouge(TGLBilles& bille) {
    Contraint(bille);
    if (OnBilleDeplacee) OnBilleDeplacee(bille);
}

void TGLBillard3B::Contraint(TGLBilles& bille) {
    TCentreBille p = Centre(bille);
    const std::array<TCentreBille, 3> centres{Centre(*Blanche), Centre(*Jaune), Centre(*Rouge)};
    const TBilleJeu b = &bille == Blanche ? bjBlanche : &bille == Jaune ? bjJaune : bjRouge;
    if (Table.Contraint(p, b, centres)) bille.PlaceSilencieux({p.x, p.y, p.z});
}

void TGLBillard3B::PlaceEnOrdre(const std::array<TGLBilles*, 3>& billes,
                                const std::array<TVecteur3f, 3>& positions) {
    std::array<TCentreBille, 3> centres{};
    for (size_t i = 0; i < 3; ++i) centres[i] = {positions[i].x, positions[i].y, positions[i].z};
    Place(billes, Table.PlaceEnOrdre(centres));
}

void TGLBillard3B::Place(const std::array<TGLBilles*, 3>& billes,
                         const std::array<TCentreBille, 3>& centres) {
    for (size_t i = 0; i < 3; ++i) billes[i]->PlaceSilencieux({centres[i].x, centres[i].y, centres[i].z});
    for (TGLBilles* b : billes)
        if (OnBilleDeplacee) OnBilleDeplacee(*b);
}
