// The picture of what stands still, kept between frames: every node outside the animated ones
// (TNoeud::Anime) and the background, colour and depth, in a framebuffer of the target's size
// and samples. While the camera, the size, the lights and the standing nodes are those of the
// frame before, a frame copies it into the target and draws only the balls, the cue and the
// lines over it: software OpenGL then shades a few thousand pixels instead of the whole room.
#pragma once

#include <array>
#include <memory>

#include "scene/Vue.h"

class QOpenGLFramebufferObject;

// everything the standing picture depends on
struct TCleDecor {
    unsigned long Scene = 0;     // the root's identifier: another scene at the same address differs
    unsigned long Revision = 0;  // TScene::RevisionDecor
    int Largeur = 0, Hauteur = 0;
    std::array<float, 16> Vue{}, Projection{};
    TCouleur Fond;
    TSalle Salle;
    bool ParPixel = false;
    int NbLumieres = 0;
    std::array<TVecteur3f, 7> Lampes{}, DiffuseLampes{}, SpeculaireLampes{};
    TVecteur3f AmbianteLampes{};

    friend bool operator==(const TCleDecor&, const TCleDecor&) = default;
};

class TDecorGL {
public:
    TDecorGL();
    ~TDecorGL();
    TDecorGL(const TDecorGL&) = delete;
    TDecorGL& operator=(const TDecorGL&) = delete;

    // what a frame does: draw everything into the target (the picture would not serve: the
    // standing part changed since the frame before, or the driver cannot copy), draw the
    // standing part into the kept picture first (it is bound), or only copy it
    enum class TUsage { Aucun, Refaire, Copier };
    // at the start of a frame, its target bound; remembers the target
    TUsage Prepare(const TCleDecor& cle);
    // copies the kept picture into the target and binds the target; false (the picture is not
    // tried again in this context) when the driver refused
    bool Copie();
    // the context is gone: the picture's names with it
    void Oublie();
    // on unless VELMORA_SANS_DECOR is set; off, every frame draws everything (to compare)
    void SetActif(bool actif) { actif_ = actif; }
    bool Actif() const { return actif_; }

private:
    bool Cree(int echantillons);

    std::unique_ptr<QOpenGLFramebufferObject> image_;
    TCleDecor cle_;         // of the picture kept
    TCleDecor precedente_;  // of the frame before
    bool garde_ = false;
    bool impossible_ = false;
    bool actif_ = true;
    unsigned cible_ = 0;
};
