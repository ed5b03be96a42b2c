// Cameras and point lights of the scene graph.
#pragma once

#include "scene/Noeud.h"

// A camera looks at its target node (or along its Direction without one), with its Up vector
// as the top of the picture. The focal length sets the field of view: the smaller side of the
// picture spans 2 * FilmFocale / Focale at unit distance.
class TCamera : public TNoeud {
  public:
    explicit TCamera(TScene& s) : TNoeud(s, TGenreNoeud::Camera) {}

    static constexpr float FilmFocale = 32;

    TNoeud* Cible() const { return cible_; }
    void SetCible(TNoeud* cible);
    float Focale() const { return focale_; }
    void SetFocale(float f);
    // far plane: nothing farther than this from the camera is drawn
    float Profondeur() const { return profondeur_; }
    void SetProfondeur(float p);

    // distance from the camera to its target (0 without a target)
    float DistanceCible() const;
    // moves the camera along the line to its target so that the distance is scaled by the factor
    void AjusteDistanceCible(float facteur);
    // moves the camera around its target: pitch raises it over the target, turn rotates it about
    // its Up vector (right-hand rule); degrees. The camera never passes over the pole.
    void TourneAutourCible(float tangage, float virage);

    // unit vector of sight and the Up of the picture, in the scene's frame
    TVecteur3f Visee() const;
    TVecteur3f HautImage() const;

  private:
    TNoeud* cible_ = nullptr;
    float focale_ = 50;
    float profondeur_ = 1000;
};

// point light: radiates from its position, dimmed by a constant attenuation
class TLumiere : public TNoeud {
  public:
    explicit TLumiere(TScene& s) : TNoeud(s, TGenreNoeud::Lumiere) {}

    float AttenuationConstante() const { return attenuation_; }
    void SetAttenuationConstante(float a);
    TCouleur Ambiante{0, 0, 0, 1};
    TCouleur Diffuse{0.8f, 0.8f, 0.8f, 1};
    TCouleur Speculaire{0.8f, 0.8f, 0.8f, 1};

  private:
    float attenuation_ = 1;
};
