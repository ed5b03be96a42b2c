// The two movable models of the 3D view: a ball (TGLBilles) with its shadow, trajectory line and
// velocity/rotation drawing, and the cue (TGLQueue) with its impact point, aim and inclination.
// Events are plain functions, fired after the value is stored.
#pragma once

#include <functional>
#include <string>

#include "jeu/Queue.h"
#include "scene/Scene.h"
#include "scene/Vue.h"

class TGLBilles {
public:
    // kind 0 yellow "Jaune", 1 white "Blanche", 2 red "Rouge"; the shadow lies 0.4 above zBase
    TGLBilles(TScene& scene, float zBase, int genre);
    TGLBilles(const TGLBilles&) = delete;
    TGLBilles& operator=(const TGLBilles&) = delete;

    TSphere* Sphere = nullptr;  // its centre is the ball's position
    TDisque* Ombre = nullptr;   // the core of the shadow; two fainter rings around it soften its edge
    float ZOmbre = 0;
    // after every move except PlaceSilencieux
    std::function<void(TGLBilles&)> OnDeplace;
    TLignes* Trajet = nullptr;    // child of the root, scene coordinates
    TLignes* LignesVR = nullptr;  // child of Sphere: velocity tip, centre, rotation tip
    TLignes* FlecheV = nullptr;   // children of Sphere: the arrowheads of the two vectors
    TLignes* FlecheR = nullptr;
    TLignes* Parcouru = nullptr;  // child of the root: the path already travelled, dashed
    bool TrajetVisible = false;
    std::string Nom;
    int Indice = 0;  // 0 white, 1 yellow, 2 red: set by the owner
    TVecteur3f PointPris;
    // asks the owner to fill the trajectory line
    std::function<void(TGLBilles&, TLignes&)> OnDessineTrajet;
    float FacteurVR = 0.2f;

    // radius of the sphere and the shadow; the ball rests on the cloth
    void SetRayon(float r);
    float Rayon() const { return Sphere->Rayon(); }
    TCouleur Couleur() const { return Sphere->Materiau().Diffuse; }

    void MajOmbre();
    void SetPosition(const TVecteur3f& v);
    // moves the ball and its shadow without firing OnDeplace
    void PlaceSilencieux(const TVecteur3f& v);
    // axis 0, 1, 2 for X, Y, Z; other axes set nothing (OnDeplace still fires)
    void SetCoord(int axe, float valeur);
    void Deplace(const TVecteur3f& v);
    // X for 0, Y for 1, Z otherwise
    float Coord(int axe) const;
    TVecteur3f LitPosition() const { return Sphere->Position(); }

    // picking: on a hit the point goes to PointPris
    bool Intersecte(const TVecteur3f& depart, const TVecteur3f& direction);

    void SetTrajetVisible(bool b);
    void DemandeTrajet();
    void EffaceTrajet();
    bool TrajetVide() const { return Trajet->Noeuds().empty(); }
    void SetVRVisible(bool b);
    // during an animation: the path up to the ball, dashed (empty: none)
    void SetParcouru(const std::vector<TVecteur3f>& points);
    // velocity and rotation, scaled by FacteurVR, drawn from the ball centre
    void SetVR(const TVecteur3f& V, const TVecteur3f& R);
};

// The cue. In the frame of PivotInclinaison the ball centre is the origin, +X points from the
// cue towards the ball, Z is up and Y to the left. Angles in degrees: Visee is the aim from +X
// counter-clockwise, Inclinaison raises the butt. Its values and their limits are a TQueueDegres
// (jeu/Queue.h); the nodes show them.
class TGLQueue {
public:
    // the viewer of the cue window shows CamQueue; it must outlive this object
    TGLQueue(TScene& scene, TVue& vue);
    TGLQueue(const TGLQueue&) = delete;
    TGLQueue& operator=(const TGLQueue&) = delete;

    TVue* Vue = nullptr;
    TFactice* Support = nullptr;  // parking place without a ball
    TFactice* PorteProcede = nullptr;
    TFactice* Releve = nullptr;  // lifts the drawn cue about its tip, over the rails; no physics
    TFactice* PivotVisee = nullptr;
    TFactice* PivotInclinaison = nullptr;
    TSphere* MarqueImpact = nullptr;
    TSphere* Procede = nullptr;
    TGLBilles* BilleMemo = nullptr;
    TGLBilles* Bille = nullptr;
    TLignes* LigneVisee = nullptr;
    float RayonCible = 0;
    float RayonCible2 = 0;
    std::function<void(TGLQueue&)> OnEffetHauteur;
    std::function<void(TGLQueue&)> OnVisee;
    std::function<void(TGLQueue&)> OnInclinaison;
    std::function<void(TGLQueue&)> OnVitesse;
    std::function<void(TGLQueue&)> OnMasse;
    TCamera* CamQueue = nullptr;

    // the six cue values; each setter fires its event (Inclinaison only when accepted)
    const TQueueDegres& Valeurs() const { return valeurs_; }
    float Effet() const { return valeurs_.Effet; }
    void SetEffet(float e);
    float Hauteur() const { return valeurs_.Hauteur; }
    void SetHauteur(float h);
    float Visee() const { return valeurs_.Visee; }
    void SetVisee(float degres);
    float Inclinaison() const { return valeurs_.Inclinaison; }
    // only 0 <= value < 90; other values are ignored
    void SetInclinaison(float degres);
    float Vitesse() const { return valeurs_.Vitesse; }
    // negative speeds become 0
    void SetVitesse(float v);
    float Masse() const { return valeurs_.Masse; }
    // masses below 1 become 1
    void SetMasse(float m);

    // puts the cue on a ball (keeping the aim) or parks it hidden (nullptr)
    void Attache(TGLBilles* bille);
    void Detache();
    void Rattache();
    // the cue body and the aim line
    void SetVisible(bool b);
    void SetEffetHauteur(float e, float h);
    // distance of the cue view's camera to its target times 1.1^(delta/120)
    void Zoom(int delta);
    // mouse press or drag in the cue view: the tip goes behind the clicked point of the ball
    void PointeSouris(int X, int Y);
    // unit aim vector in the table plane
    TVecteur3f DirectionVisee() const;
    // impact marker where the cue axis enters the ball (hidden when it misses), then OnEffetHauteur
    void MajImpact();
    // degrees the drawn cue must rise above its inclination to clear what lies behind the ball
    // (the owner knows the table); asked after each change of the cue's pose
    std::function<float(const TGLQueue&)> ReleveRequis;
    // length of the aim line from the ball's centre (the owner knows where the table's edge is)
    std::function<float(const TGLQueue&)> LongueurVisee;
    // the drawn cue's lift and the aim line's end, after each change of the cue's pose
    void MajReleve();

private:
    TQueueDegres valeurs_;
};
