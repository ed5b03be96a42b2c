#include "scene/Camera.h"

#include <algorithm>
#include <cmath>

void TCamera::SetCible(TNoeud* cible) {
    cible_ = cible;
    Modifie();
}

void TCamera::SetFocale(float f) {
    if (!(f > 0)) return;
    focale_ = f;
    Modifie();
}

void TCamera::SetProfondeur(float p) {
    if (!(p > 0)) return;
    profondeur_ = p;
    Modifie();
}

float TCamera::DistanceCible() const {
    return cible_ ? Norme(cible_->PositionAbsolue() - PositionAbsolue()) : 0;
}

void TCamera::AjusteDistanceCible(float facteur) {
    if (!cible_ || !(facteur > 0)) return;
    const TVecteur3f c = cible_->PositionAbsolue();
    const TVecteur3f p = c + (PositionAbsolue() - c) * facteur;
    SetPosition(Parent() ? Parent()->AbsoluVersLocal(p) : p);
}

void TCamera::TourneAutourCible(float tangage, float virage) {
    if (!cible_) return;
    const TVecteur3f c = cible_->PositionAbsolue();
    const TVecteur3f haut = Unitaire(HautAbsolu());
    TVecteur3f v = PositionAbsolue() - c;
    const float d = Norme(v);
    if (d == 0) return;
    // turn about the up vector
    v = Tourne(v, haut, virage);
    // pitch about the horizontal axis of the picture, stopping short of the poles
    const float hauteurDeg = std::asin(std::clamp(Scal(v, haut) / d, -1.0f, 1.0f)) * DegParRad;
    const float cible = std::clamp(hauteurDeg + tangage, -89.0f, 89.0f);
    const TVecteur3f axe = Unitaire(Vect(v, haut));
    if (Norme(axe) > 0) v = Tourne(v, axe, cible - hauteurDeg);
    const TVecteur3f p = c + v;
    SetPosition(Parent() ? Parent()->AbsoluVersLocal(p) : p);
}

TVecteur3f TCamera::Visee() const {
    if (cible_) {
        const TVecteur3f v = Unitaire(cible_->PositionAbsolue() - PositionAbsolue());
        if (Norme(v) > 0) return v;
    }
    return Unitaire(Parent() ? Parent()->MatriceAbsolue().Vecteur(Direction()) : Direction());
}

TVecteur3f TCamera::HautImage() const {
    const TVecteur3f v = Visee();
    TVecteur3f h = HautAbsolu();
    h = h - v * Scal(v, h);
    // looking along the up vector: take the camera's own direction as the top
    if (Norme(h) < 1e-6f) {
        TVecteur3f d = Parent() ? Parent()->MatriceAbsolue().Vecteur(Direction()) : Direction();
        h = d - v * Scal(v, d);
        if (Norme(h) < 1e-6f) h = std::fabs(v.x) < 0.9f ? Vect(v, TVecteur3f{1, 0, 0}) : Vect(v, {0, 1, 0});
    }
    return Unitaire(h);
}

void TLumiere::SetAttenuationConstante(float a) {
    attenuation_ = a;
    Modifie();
}
