#include "view3d/GLBilles.h"

#include <algorithm>
#include <cmath>

#include "jeu/TableJeu.h"
#include "view3d/Couleurs.h"

// ---- ball ----

TGLBilles::TGLBilles(TScene& scene, float zBase, int genre) {
    TNoeud& racine = scene.Racine();
    Sphere = racine.AjouteEnfant<TSphere>();
    switch (genre) {
        case 0:
            Nom = "Jaune";
            CouleursMateriau(*Sphere, clrJaune, clrJaune, clrGris40, clrBlanc);
            break;
        case 1:
            Nom = "Blanche";
            CouleursMateriau(*Sphere, clrBlanc, clrBlanc, clrGris25, clrBlanc);
            break;
        default:
            Nom = "Rouge";
            CouleursMateriau(*Sphere, clrRouge, clrRouge, clrGris20, clrBlanc);
            break;
    }
    ZOmbre = zBase + 0.4f;
    Ombre = racine.AjouteEnfant<TDisque>();
    CouleurUnie(*Ombre, {0, 0, 0, 0.5f});
    // fainter rings, each a little higher than the one inside it so that they never fight
    for (float alpha : {0.22f, 0.1f}) {
        auto* anneau = Ombre->AjouteEnfant<TDisque>();
        CouleurUnie(*anneau, {0, 0, 0, alpha});
    }
    SetRayon(RayonBilleJeu);
    Trajet = racine.AjouteEnfant<TLignes>();
    Trajet->SetCouleur(Couleur());
    Trajet->SetLargeurLigne(1.5f);
    Parcouru = racine.AjouteEnfant<TLignes>();
    Parcouru->SetCouleur(Couleur());
    Parcouru->SetMotif(0x0F0F, 2);
    Parcouru->SetVisible(false);
    LignesVR = Sphere->AjouteEnfant<TLignes>();
    LignesVR->SetCouleur(clrNoir);
    LignesVR->SetLargeurLigne(2);
    for (int i = 0; i < 3; ++i) LignesVR->AjouteNoeud({0, 0, 0});
    for (TLignes** f : {&FlecheV, &FlecheR}) {
        *f = Sphere->AjouteEnfant<TLignes>();
        (*f)->SetCouleur(clrNoir);
        (*f)->SetLargeurLigne(2);
        for (int i = 0; i < 3; ++i) (*f)->AjouteNoeud({0, 0, 0});
    }
    FacteurVR = 0.2f;
}

namespace {

// the two barbs and the tip of an arrow from the centre to `pointe`, flat in the vertical plane
// holding it (the horizontal one for an upright vector)
void PoseFleche(TLignes& f, const TVecteur3f& pointe) {
    const float l = Norme(pointe);
    f.DebutMaj();
    if (l < 1e-4f) {
        for (size_t i = 0; i < 3; ++i) f.SetNoeud(i, {0, 0, 0});
    } else {
        const TVecteur3f u = pointe * (1 / l);
        TVecteur3f n = Vect(u, {0, 0, 1});
        if (Norme(n) < 1e-3f) n = {1, 0, 0};
        n = n * (1 / Norme(n));
        // a head in proportion, but readable on a short vector and not huge on a long one
        const float tete = std::clamp(0.25f * l, 0.6f, 2.5f);
        const TVecteur3f base = pointe - u * tete;
        f.SetNoeud(0, base + n * (0.45f * tete));
        f.SetNoeud(1, pointe);
        f.SetNoeud(2, base - n * (0.45f * tete));
    }
    f.FinMaj();
}

}  // namespace

void TGLBilles::SetRayon(float r) {
    Sphere->SetRayon(r);
    Ombre->SetRayonExterieur(0.85f * r);
    float rayon = 0.85f * r, z = 0;
    for (const auto& e : Ombre->Enfants()) {
        auto& anneau = static_cast<TDisque&>(*e);
        rayon += 0.2f * r;
        z += 0.02f;
        anneau.SetRayonExterieur(rayon);
        anneau.SetPosition({0, 0, z});
    }
    Sphere->SetZ(r);
    Ombre->SetZ(ZOmbre);
}

void TGLBilles::MajOmbre() {
    const TVecteur3f p = Sphere->Position();
    Ombre->SetPosition({p.x, p.y, ZOmbre});
    if (OnDeplace) OnDeplace(*this);
}

void TGLBilles::SetPosition(const TVecteur3f& v) {
    Sphere->SetPosition(v);
    MajOmbre();
}

void TGLBilles::PlaceSilencieux(const TVecteur3f& v) {
    Sphere->SetPosition(v);
    Ombre->SetPosition({v.x, v.y, ZOmbre});
}

void TGLBilles::SetCoord(int axe, float valeur) {
    switch (axe) {
        case 0:
            Sphere->SetX(valeur);
            break;
        case 1:
            Sphere->SetY(valeur);
            break;
        case 2:
            Sphere->SetZ(valeur);
            break;
        default:
            break;
    }
    MajOmbre();
}

void TGLBilles::Deplace(const TVecteur3f& v) {
    Sphere->SetPosition(Sphere->Position() + v);
    MajOmbre();
}

float TGLBilles::Coord(int axe) const {
    const TVecteur3f p = Sphere->Position();
    return axe == 0 ? p.x : axe == 1 ? p.y : p.z;
}

bool TGLBilles::Intersecte(const TVecteur3f& depart, const TVecteur3f& direction) {
    TVecteur3f p;
    if (!IntersectionRayonSphere(depart, Unitaire(direction), Sphere->PositionAbsolue(), Rayon(), p))
        return false;
    PointPris = p;
    return true;
}

void TGLBilles::SetTrajetVisible(bool b) {
    Trajet->DebutMaj();
    TrajetVisible = b;
    if (b)
        DemandeTrajet();
    else
        EffaceTrajet();
    Trajet->FinMaj();
}

void TGLBilles::DemandeTrajet() {
    if (OnDessineTrajet) OnDessineTrajet(*this, *Trajet);
}

void TGLBilles::EffaceTrajet() {
    Trajet->EffaceNoeuds();
    Trajet->SetVisible(false);
    SetParcouru({});
    SetVR({0, 0, 0}, {0, 0, 0});
}

void TGLBilles::SetParcouru(const std::vector<TVecteur3f>& points) {
    Parcouru->DebutMaj();
    Parcouru->EffaceNoeuds();
    for (const TVecteur3f& p : points) Parcouru->AjouteNoeud(p);
    Parcouru->SetVisible(points.size() >= 2);
    Parcouru->FinMaj();
}

void TGLBilles::SetVRVisible(bool b) {
    LignesVR->SetVisible(b);
    FlecheV->SetVisible(b);
    FlecheR->SetVisible(b);
    if (!b) SetVR({0, 0, 0}, {0, 0, 0});
}

void TGLBilles::SetVR(const TVecteur3f& V, const TVecteur3f& R) {
    LignesVR->DebutMaj();
    LignesVR->SetNoeud(0, V * FacteurVR);
    LignesVR->SetNoeud(2, R * FacteurVR);
    LignesVR->FinMaj();
    PoseFleche(*FlecheV, V * FacteurVR);
    PoseFleche(*FlecheR, R * FacteurVR);
}

// ---- cue ----

TGLQueue::TGLQueue(TScene& scene, TVue& vue) : Vue(&vue) {
    Support = scene.Racine().AjouteEnfant<TFactice>();
    // aim pivot at the ball centre, its roll is the aim
    PivotVisee = Support->AjouteEnfant<TFactice>();
    PivotVisee->SetDirection({0, 0, 1});
    PivotVisee->SetHaut({0, 1, 0});
    LigneVisee = PivotVisee->AjouteEnfant<TLignes>();
    LigneVisee->AjouteNoeud({0, 0, 0});
    LigneVisee->AjouteNoeud({400, 0, 0});
    LigneVisee->SetCouleur(clrNoir);
    // inclination pivot, its turn raises the butt
    PivotInclinaison = PivotVisee->AjouteEnfant<TFactice>();
    PivotInclinaison->SetDirection({0, 0, 1});
    PivotInclinaison->SetHaut({0, 1, 0});
    PorteProcede = PivotInclinaison->AjouteEnfant<TFactice>();
    PorteProcede->SetPosition({-10, 0, 0});
    // the drawn cue may rise about its tip over the rails, as a real cue rests on them
    Releve = PorteProcede->AjouteEnfant<TFactice>();
    Releve->SetDirection({0, 0, 1});
    Releve->SetHaut({0, 1, 0});
    // tip dome pointing at the ball, then ring, ferrule and shaft behind it
    Procede = Releve->AjouteEnfant<TSphere>();
    Procede->SetHaut({1, 0, 0});
    Procede->SetRayon(0.7f);
    Procede->SetLatitudeBas(37);
    CouleursMateriau(*Procede, clrGris20, clrBleu, clrBleu, clrNoir);
    auto* bague = Procede->AjouteEnfant<TCylindre>();
    bague->SetHaut({0, 1, 0});
    bague->SetRayons(0.55f, 0.55f);
    bague->SetHauteur(0.2f);
    bague->SetPosition({0, 0.41f - 0.1f, 0});
    CouleurUnie(*bague, clrNoir);
    auto* virole = Procede->AjouteEnfant<TCylindre>();
    virole->SetRayons(0.55f, 0.55f);
    virole->SetHauteur(0.6f);
    virole->SetPosition({0, 0.31f - 0.1f - 0.3f, 0});
    CouleurUnie(*virole, clrBlanc);
    auto* fut = Procede->AjouteEnfant<TCylindre>();
    fut->SetRayons(0.55f, 2);
    fut->SetHauteur(150);
    fut->SetPosition({0, -0.09f - 0.3f - 75, 0});
    CouleursMateriau(*fut, clrNoir, clrBois, clrGris20, clrGris20);
    MarqueImpact = PorteProcede->AjouteEnfant<TSphere>();
    MarqueImpact->SetRayon(0.3f);
    CouleurUnie(*MarqueImpact, clrNoir);
    // the cue's own camera, behind and above the tip
    CamQueue = PivotInclinaison->AjouteEnfant<TCamera>();
    CamQueue->SetPosition({-30, 0, 5});
    CamQueue->SetHaut({0, 0, 1});
    CamQueue->SetCible(PivotVisee);
    CamQueue->SetProfondeur(400);

    SetMasse(520);
    Vue->SetCamera(CamQueue);
    Attache(nullptr);
}

void TGLQueue::SetEffet(float e) {
    valeurs_.Effet = e;
    PorteProcede->SetY(-e);
    MajImpact();
}

void TGLQueue::SetHauteur(float h) {
    valeurs_.Hauteur = h;
    PorteProcede->SetZ(h);
    MajImpact();
}

void TGLQueue::SetVisee(float degres) {
    valeurs_.Visee = degres;
    PivotVisee->SetRoulis(degres);
    MajReleve();
    if (OnVisee) OnVisee(*this);
}

void TGLQueue::SetInclinaison(float degres) {
    if (!valeurs_.SetInclinaison(degres)) return;
    PivotInclinaison->SetVirage(degres);
    MajReleve();
    if (OnInclinaison) OnInclinaison(*this);
}

void TGLQueue::SetVitesse(float v) {
    valeurs_.SetVitesse(v);
    if (OnVitesse) OnVitesse(*this);
}

void TGLQueue::SetMasse(float m) {
    valeurs_.SetMasse(m);
    if (OnMasse) OnMasse(*this);
}

void TGLQueue::Attache(TGLBilles* bille) {
    if (!bille) {
        if (PivotVisee->Parent() != Support) {
            PivotVisee->ChangeParent(*Support);
            PivotVisee->SetVisible(false);
        }
    } else if (bille != Bille) {
        // the pivot keeps its local placement: it sits at the ball centre
        PivotVisee->ChangeParent(*bille->Sphere);
        RayonCible = bille->Rayon();
        RayonCible2 = RayonCible * RayonCible;
        PivotVisee->SetVisible(true);
    }
    Bille = bille;
    PivotVisee->Modifie();
    MajReleve();
}

void TGLQueue::MajReleve() {
    const float r = Bille && ReleveRequis ? ReleveRequis(*this) : 0;
    if (r != Releve->Virage()) Releve->SetVirage(r);
    if (Bille && LongueurVisee) {
        const TVecteur3f fin{LongueurVisee(*this), 0, 0};
        if (LigneVisee->Noeuds()[1].x != fin.x) LigneVisee->SetNoeud(1, fin);
    }
}

void TGLQueue::Detache() {
    BilleMemo = Bille;
    Attache(nullptr);
}

void TGLQueue::Rattache() { Attache(BilleMemo); }

void TGLQueue::SetVisible(bool b) {
    Procede->SetVisible(b);
    LigneVisee->SetVisible(b);
}

void TGLQueue::SetEffetHauteur(float e, float h) {
    valeurs_.Effet = e;
    valeurs_.Hauteur = h;
    PorteProcede->SetPosition({-10, -e, h});
    MajImpact();
}

void TGLQueue::Zoom(int delta) {
    if (TCamera* c = Vue->Camera()) c->AjusteDistanceCible(std::pow(1.1f, float(delta) / 120));
}

void TGLQueue::PointeSouris(int X, int Y) {
    if (!Bille) return;
    const TVecteur3f depart = Vue->PositionCamera();
    const TVecteur3f direction = Vue->VecteurEcran(float(X), float(Vue->Hauteur() - Y));
    TVecteur3f p;
    if (!IntersectionRayonSphere(depart, direction, PivotInclinaison->PositionAbsolue(), Bille->Rayon(), p))
        return;
    const TVecteur3f l = PivotInclinaison->AbsoluVersLocal(p);
    SetEffetHauteur(-l.y, l.z);
}

TVecteur3f TGLQueue::DirectionVisee() const {
    const TVecteur3f u = PivotVisee->Haut();
    return {u.y, -u.x, 0};
}

void TGLQueue::MajImpact() {
    const float e = Effet(), h = Hauteur();
    const float k = RayonCible2 - (e * e + h * h);
    if (k >= 0) {
        MarqueImpact->SetPosition({10 - std::sqrt(k), 0, 0});
        MarqueImpact->SetVisible(true);
    } else {
        MarqueImpact->SetVisible(false);
    }
    MajReleve();
    if (OnEffetHauteur) OnEffetHauteur(*this);
}
