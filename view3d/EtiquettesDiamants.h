// The diamonds where the balls met the cushions in the last shot, written on the table: for each
// contact a tick on the cushion at the contact and the diamond's number on the rail beside it, in
// the ball's colour, the digits turned to be read from the camera in use. A display option of
// the 3D billiard, redrawn after each shot and cleared with the trajectories.
#pragma once

#include <array>
#include <vector>

#include "jeu/ContactsBandes.h"
#include "scene/Noeud.h"

class TScene;

class TEtiquettesDiamants {
public:
    // hangs its container under the scene's root, empty
    explicit TEtiquettesDiamants(TScene& scene);
    TEtiquettesDiamants(const TEtiquettesDiamants&) = delete;
    TEtiquettesDiamants& operator=(const TEtiquettesDiamants&) = delete;

    // The labels of these contacts (table of playing width `largeur`); couleurs[b − 1] is ball
    // b's colour; the digits run along `droite` with `haut` up them (unit vectors in the cloth's
    // plane); the decimal separator is the reader's.
    void Montre(const std::vector<TContactBande>& contacts, const std::array<TCouleur, 3>& couleurs,
                double largeur, const TVecteur3f& droite, const TVecteur3f& haut, char separateur);
    void Efface();
    // the labels shown, in the order of the contacts
    int NbEtiquettes() const { return nb_; }
    const std::vector<std::string>& Textes() const { return textes_; }
    // the segments of ball b's labels (1..3)
    const TLignes& Traits(int bille) const { return *traits_[size_t(bille - 1)]; }

private:
    TFactice* conteneur_ = nullptr;
    std::array<TLignes*, 3> traits_{};
    std::vector<std::string> textes_;
    int nb_ = 0;
};
