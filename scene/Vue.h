// A viewer of a scene as data: the camera it shows, the size of its picture, and the maths that
// maps pixels to rays (picking) and points to pixels. The OpenGL widget (scene/gl) draws with the
// same matrices, so what is picked is what is seen. Pixel rows count from the bottom here.
#pragma once

#include "scene/Camera.h"
#include "scene/Matrice4f.h"

class TScene;

// The room around the scene's main object (the table), centred on the origin: the floor is
// darker under it, and with the room's own lamps off ("lumière de salle") the lamp over it casts
// a pool of light while the room falls dim.
struct TSalle {
    float DemiLargeur = 0;   // the object's half extent across X (0: no room)
    float DemiLongueur = 0;  // and along Y
    float Dessus = 0;        // the height of its top, which hides what is under it from above
    float Sol = 0;           // the height of the floor around it
    float EtendueSol = 0;    // the floor's half extent (0: no floor)
    bool LampeSeule = false;
};

class TVue {
public:
    explicit TVue(TScene& scene) : scene_(scene) {}

    TScene& Scene() const { return scene_; }
    TCamera* Camera() const { return camera_; }
    void SetCamera(TCamera* c);

    int Largeur() const { return largeur_; }
    int Hauteur() const { return hauteur_; }
    void SetTaille(int largeur, int hauteur);

    // the background: a gradient from it, darker at the top and in the corners
    TCouleur Fond{0.5f, 0.5f, 0.5f, 1};
    TSalle Salle;

    // absolute position of the camera (the origin without a camera)
    TVecteur3f PositionCamera() const;
    // scene to camera frame (camera looking down -Z, as OpenGL has it)
    TMatrice4f MatriceVue() const;
    TMatrice4f MatriceProjection() const;
    // tangents of the half angles of view, across and up
    void Ouverture(float& tanX, float& tanY) const;

    // unit direction, in the scene's frame, of the ray from the camera through pixel (x, y)
    TVecteur3f VecteurEcran(float x, float y) const;
    // where that ray meets the plane Z = z in front of the camera; false when it does not
    bool IntersectionPlanZ(float x, float y, float z, TVecteur3f& point) const;
    // pixel (x, y) of a scene point; false when it is behind the camera
    bool Projette(const TVecteur3f& p, float& x, float& y) const;

private:
    TScene& scene_;
    TCamera* camera_ = nullptr;
    int largeur_ = 640;
    int hauteur_ = 480;
};

// nearest point at or after the start where the ray (unit direction) meets the sphere
bool IntersectionRayonSphere(const TVecteur3f& depart, const TVecteur3f& direction, const TVecteur3f& centre,
                             float rayon, TVecteur3f& point);
