// Draws a scene from a viewer's camera with OpenGL. Each surface is lit per pixel by the program
// of its finish (TFini: polished balls, cloth with its nap, grained wood with a satin sheen,
// mother-of-pearl, a floor of planks), which reads the fixed-function lights and materials, so
// that its average colour is its material's; without shaders the fixed pipeline draws everything
// as plain lit materials. Point lights with constant attenuation and a level fill light from the
// viewer's side, front materials (a diffuse alpha below 1 blends), unlit lines whose width grows
// with the view (smoothed when the framebuffer has no multisampling), and a background gradient.
// Needs a current compatibility-profile context; keeps the shapes' triangles between frames and
// allocates nothing in a frame once they are built.
#pragma once

#include <array>
#include <unordered_map>
#include <vector>

#include "scene/Maillage.h"
#include "scene/Vue.h"
#include "scene/gl/FondGL.h"
#include "scene/gl/ProgrammesGL.h"

class TRenduGL {
public:
    // one frame into the current framebuffer of the given size in device pixels
    void Dessine(const TVue& vue, int largeurPixels, int hauteurPixels);
    // forget the cached shapes (the context changed)
    void Oublie() {
        cache_.clear();
        programmes_.Oublie();
        contexte_ = nullptr;
    }
    // whether the last frame's surfaces were lit per pixel
    bool ParPixel() const { return programmes_.Valides(); }
    // whether the last frame was drawn with multisampling
    bool Multiechantillonne() const { return !lignesLissees_; }

private:
    struct TEntree {
        unsigned long identifiant = 0;
        unsigned revision = 0;
        unsigned long image = 0;  // last frame that drew it
        TMaillage maillage;
    };
    void PoseLumieres(const TNoeud& racine);
    void PoseEclairageAppoint(const TVue& vue);
    // whether any of the background shows: not where the room's floor fills the picture
    static bool FondVisible(const TVue& vue);
    void PrepareProgrammes(const TVue& vue);
    // the frame's values of the programs: the view, the lights in the scene's frame, the room
    void PrepareUniformes(const TVue& vue, const TMatrice4f& matriceVue, int largeurPixels,
                          int hauteurPixels);
    void DessineNoeud(const TNoeud& n);
    void DessineLignes(const TLignes& l);
    void DessineSolide(const TNoeud& n);
    const TMaillage& Maillage(const TNoeud& n);

    std::unordered_map<const TNoeud*, TEntree> cache_;
    std::vector<const TNoeud*> pile_;  // walking the tree for lights, kept between frames
    int nbLumieres_ = 0;
    TCouleur ambianteLampes_{0, 0, 0, 1};
    std::array<TVecteur3f, 7> lampes_{}, diffuseLampes_{}, speculaireLampes_{};
    TVecteur3f appointDirection_{1, 0, 0};
    float echelleLignes_ = 1;
    bool lignesLissees_ = false;
    unsigned long image_ = 0;
    // the programs of the current context; none when they could not be built there
    const void* contexte_ = nullptr;
    TProgrammesGL programmes_;
    unsigned programmeCourant_ = 0;
    // the eye is over the room's object: what lies under it is hidden
    bool oeilAuDessus_ = false;
    TFondGL fond_;
};
