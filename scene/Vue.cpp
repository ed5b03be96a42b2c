#include "scene/Vue.h"

#include <algorithm>
#include <cmath>

#include "scene/Scene.h"

void TVue::SetCamera(TCamera* c) {
    camera_ = c;
    scene_.Modifie();
}

void TVue::SetTaille(int largeur, int hauteur) {
    largeur_ = std::max(largeur, 1);
    hauteur_ = std::max(hauteur, 1);
}

TVecteur3f TVue::PositionCamera() const {
    return camera_ ? camera_->PositionAbsolue() : TVecteur3f{};
}

TMatrice4f TVue::MatriceVue() const {
    if (!camera_) return {};
    const TVecteur3f v = camera_->Visee();
    const TVecteur3f h = camera_->HautImage();
    const TVecteur3f d = Unitaire(Vect(v, h));
    return TMatrice4f::Repere(d, h, -v, camera_->PositionAbsolue()).InverseRigide();
}

void TVue::Ouverture(float& tanX, float& tanY) const {
    const float focale = camera_ ? camera_->Focale() : 50;
    const float t = TCamera::FilmFocale / focale;
    // the smaller side of the picture gets the nominal angle
    if (largeur_ >= hauteur_) {
        tanY = t;
        tanX = t * float(largeur_) / float(hauteur_);
    } else {
        tanX = t;
        tanY = t * float(hauteur_) / float(largeur_);
    }
}

TMatrice4f TVue::MatriceProjection() const {
    float tx, ty;
    Ouverture(tx, ty);
    const float loin = camera_ ? camera_->Profondeur() : 1000;
    const float proche = std::max(loin / 1000, 0.01f);
    return TMatrice4f::Perspective(tx, ty, proche, loin);
}

TVecteur3f TVue::VecteurEcran(float x, float y) const {
    float tx, ty;
    Ouverture(tx, ty);
    const float nx = 2 * x / float(largeur_) - 1;
    const float ny = 2 * y / float(hauteur_) - 1;
    const TMatrice4f camVersScene = MatriceVue().InverseRigide();
    return Unitaire(camVersScene.Vecteur({nx * tx, ny * ty, -1}));
}

bool TVue::IntersectionPlanZ(float x, float y, float z, TVecteur3f& point) const {
    const TVecteur3f o = PositionCamera();
    const TVecteur3f d = VecteurEcran(x, y);
    if (std::fabs(d.z) < 1e-7f) return false;
    const float t = (z - o.z) / d.z;
    if (t < 0) return false;
    point = o + d * t;
    return true;
}

bool TVue::Projette(const TVecteur3f& p, float& x, float& y) const {
    const TVecteur3f c = MatriceVue().Point(p);
    if (c.z >= 0) return false;
    float tx, ty;
    Ouverture(tx, ty);
    x = (c.x / -c.z / tx + 1) * 0.5f * float(largeur_);
    y = (c.y / -c.z / ty + 1) * 0.5f * float(hauteur_);
    return true;
}

bool IntersectionRayonSphere(const TVecteur3f& depart, const TVecteur3f& direction, const TVecteur3f& centre,
                             float rayon, TVecteur3f& point) {
    // |o + t d - c|^2 = r^2 with |d| = 1
    const TVecteur3f oc = depart - centre;
    const float b = Scal(oc, direction);
    const float c = Scal(oc, oc) - rayon * rayon;
    const float disc = b * b - c;
    if (disc < 0) return false;
    const float s = std::sqrt(disc);
    float t = -b - s;
    // the start inside the sphere: the way out
    if (t < 0) t = -b + s;
    if (t < 0) return false;
    point = depart + direction * t;
    return true;
}
