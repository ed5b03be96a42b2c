#include "view3d/GLBillard3B.h"

#include <cmath>

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

    const float r = Blanche->Rayon();
    DiamBille = 2 * r;
    DiamBille2 = DiamBille * DiamBille;
    XMax = Largeur / 2 - r;
    XMin = r - Largeur / 2;
    YMax = Largeur - r;
    YMin = r - Largeur;
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
    TVecteur3f p = bille.LitPosition();
    bool deplace = Borne(p);
    // the other two balls, in a fixed order per ball; only one of them pushes
    TGLBilles* premiere;
    TGLBilles* seconde;
    if (&bille == Blanche) {
        premiere = Jaune;
        seconde = Rouge;
    } else if (&bille == Jaune) {
        premiere = Blanche;
        seconde = Rouge;
    } else {
        premiere = Jaune;
        seconde = Blanche;
    }
    if (Repousse(p, *premiere))
        deplace = true;
    else if (Repousse(p, *seconde))
        deplace = true;
    if (deplace) bille.PlaceSilencieux(p);
}

bool TGLBillard3B::Borne(TVecteur3f& p) const {
    bool change = false;
    if (p.x > XMax) {
        p.x = XMax;
        change = true;
    } else if (p.x < XMin) {
        p.x = XMin;
        change = true;
    }
    if (p.y > YMax) {
        p.y = YMax;
        change = true;
    } else if (p.y < YMin) {
        p.y = YMin;
        change = true;
    }
    return change;
}

bool TGLBillard3B::Repousse(TVecteur3f& p, const TGLBilles& autre) const {
    const TVecteur3f o = autre.LitPosition();
    const float dx = p.x - o.x, dy = p.y - o.y;
    const float d2 = dx * dx + dy * dy;
    if (d2 >= DiamBille2) return false;
    // same centre: push along +X
    float ux = 1, uy = 0;
    if (d2 > 0) {
        const float d = std::sqrt(d2);
        ux = dx / d;
        uy = dy / d;
    }
    p.x = o.x + DiamBille * ux;
    p.y = o.y + DiamBille * uy;
    return true;
}

void TGLBillard3B::PlaceEnOrdre(const std::array<TGLBilles*, 3>& billes, const std::array<TVecteur3f, 3>& positions) {
    for (size_t i = 0; i < billes.size(); ++i) {
        TVecteur3f p = positions[i];
        Borne(p);
        for (size_t j = i; j-- > 0;)
            if (Repousse(p, *billes[j])) break;
        billes[i]->PlaceSilencieux(p);
    }
    for (TGLBilles* b : billes)
        if (OnBilleDeplacee) OnBilleDeplacee(*b);
}
