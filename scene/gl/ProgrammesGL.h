// The per-pixel programs of the renderer, one per finish (TFini), built for the current OpenGL
// context, and the noise texture their finishes read. The fixed-function lights and materials
// feed them, so a shape looks the same, its average colour included, whichever way it is drawn.
#pragma once

#include <array>

#include "scene/Matrice4f.h"
#include "scene/Noeud.h"

class QOpenGLFunctions;

// what every program needs for one frame
struct TUniformesImage {
    TMatrice4f VueVersScene;       // eye coordinates to the scene's frame
    float SalleX = 0, SalleY = 0;  // half extents of the object the room surrounds
    float LargeurPixels = 1, HauteurPixels = 1;
    TCouleur AmbianteLampes{0, 0, 0, 1};  // sum of the lights' ambient colours over their attenuation
    // the point lights in the scene's frame, their diffuse and specular colours over their
    // attenuation (rgb in x, y, z); the fill light's direction and colour; the eye
    int NbLumieres = 0;
    std::array<TVecteur3f, 7> Lampes{}, DiffuseLampes{}, SpeculaireLampes{};
    TVecteur3f AppointDirection{1, 0, 0}, AppointCouleur{0, 0, 0};
    TVecteur3f Oeil{};
    TCouleur Horizon{0.4f, 0.4f, 0.4f, 1};  // what the floor fades into far away
};

class TProgrammesGL {
public:
    // what is compiled in: the point lights' count (0 .. n-1, besides the fill light 7) and
    // whether the lamp lights alone
    struct TVariante {
        int NbLumieres = -1;
        bool LampeSeule = false;
        friend bool operator==(const TVariante&, const TVariante&) = default;
    };

    // builds the programs of that variant and the textures in the current context; false (said
    // on stderr) when the driver cannot, the fixed pipeline then draws everything
    bool Construit(QOpenGLFunctions& f, TVariante variante);
    // forgets them (their context is gone), or frees them in the current context
    void Oublie();
    void Libere(QOpenGLFunctions& f);
    // no programs for that variant: the fixed pipeline draws, nothing is tried again
    void Abandonne(TVariante variante) {
        Oublie();
        variante_ = variante;
    }
    bool Valides() const { return valides_; }
    // the variant they were built (or abandoned) for
    const TVariante& Variante() const { return variante_; }

    // the program of a finish (0 for Auto)
    unsigned Programme(TFini fini) const { return programmes_[size_t(fini)]; }
    // sets the frame's values in every program and binds the texture to unit 0
    void PrepareImage(QOpenGLFunctions& f, const TUniformesImage& u) const;

private:
    struct TEmplacements {
        int vueVersScene = -1, salle = -1, taille = -1, horizon = -1, bruits = -1, ambianteLampes = -1,
            lampes = -1, diffuseLampes = -1, speculaireLampes = -1, appointDirection = -1,
            appointCouleur = -1, oeil = -1;
    };
    std::array<unsigned, 7> programmes_{};
    std::array<TEmplacements, 7> emplacements_{};
    unsigned texture_ = 0;
    TVariante variante_;
    bool valides_ = false;
};
