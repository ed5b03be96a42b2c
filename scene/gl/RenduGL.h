// Draws a scene from a viewer's camera with OpenGL. Balls are lit per pixel by a small shader reading
// the fixed-function lights and materials, with a polish of their own (the fixed-function pipeline
// when the shader cannot be built); other shapes stay matte as their materials say. Point lights with
// constant attenuation and a level fill light from the viewer's side, front materials (ambient, diffuse,
// emission, specular; a diffuse alpha below 1 blends), unlit anti-aliased lines whose width grows
// with the view.
// Needs a current compatibility-profile context; keeps the shapes' triangles between frames.
#pragma once

#include <unordered_map>

#include "scene/Maillage.h"
#include "scene/Vue.h"

class TRenduGL {
  public:
    // one frame into the current framebuffer of the given size in device pixels
    void Dessine(const TVue& vue, int largeurPixels, int hauteurPixels);
    // forget the cached shapes (the context changed)
    void Oublie() {
        cache_.clear();
        programme_ = 0;
        contexte_ = nullptr;
    }
    // whether the last frame's balls were lit per pixel
    bool ParPixel() const { return programme_ != 0; }

  private:
    struct TEntree {
        unsigned long identifiant = 0;
        unsigned revision = 0;
        unsigned long image = 0;  // last frame that drew it
        TMaillage maillage;
    };
    void PoseLumieres(const TNoeud& racine);
    void PoseEclairageAppoint(const TVue& vue);
    void DessineNoeud(const TNoeud& n);
    void PrepareProgramme();
    const TMaillage& Maillage(const TNoeud& n);

    std::unordered_map<const TNoeud*, TEntree> cache_;
    int nbLumieres_ = 0;
    float echelleLignes_ = 1;
    bool lignesLissees_ = false;
    unsigned long image_ = 0;
    // the lighting shader of the current context; 0 when it could not be built there
    const void* contexte_ = nullptr;
    unsigned programme_ = 0;
    int uNbLumieres_ = -1, uVernis_ = -1, uBrillance_ = -1;
};
