#include "view3d/GLBillard.h"

#include <cmath>

#include "jeu/TableJeu.h"
#include "view3d/Couleurs.h"

namespace {
constexpr float Tan15 = 0.267949192f;
}

TGLBillard::TGLBillard(TScene& scene) : Scene(scene) {
    TNoeud& racine = Scene.Racine();
    // cloth and its spots
    Tapis = racine.AjouteEnfant<TPlan>();
    CouleursMateriau(*Tapis, {0.11f, 0.49f, 0.39f, 1}, {0.11f, 0.49f, 0.39f, 1}, clrNoir, clrNoir);
    for (auto& m : Mouches) {
        m = Tapis->AjouteEnfant<TDisque>();
        CouleursMateriau(*m, clrGris20, clrArgent, clrNoir, clrNoir);
    }
    // cushions
    for (auto& b : ProfilsBandes) {
        b = racine.AjouteEnfant<TCylindre>();
        b->SetTranches(3);
        CouleursMateriau(*b, {0.09f, 0.49f, 0.40f, 1}, {0.09f, 0.49f, 0.40f, 1}, clrNoir, clrNoir);
    }
    // rails and their diamonds
    for (int i = 0; i < 4; ++i) {
        Cadres[i] = racine.AjouteEnfant<TBoite>();
        CouleursMateriau(*Cadres[i], clrGris20, {0.502f, 0.251f, 0.251f, 1}, clrNoir, clrNoir);
        CreeReperes(*Cadres[i], i < 2 ? 9 : 5);
    }
    Dimensionne(7.75f, 5.25f, LargeurTableJeu, HautBandesJeu);
}

float TGLBillard::EcartMouche(float W) {
    // the smaller match table; any other width gets the spacing in proportion
    if (W == 127.5f) return 16.3f;
    if (W == LargeurTableJeu) return 18.25f;
    return 18.25f * W / LargeurTableJeu;
}

void TGLBillard::Dimensionne(float D, float C, float W, float A) {
    DemiLargeur = W / 2;
    Largeur = W;
    LargeurBande = C;

    // cloth and spots
    Tapis->SetDimensions(W + 2 * C, 2 * (W + C));
    Tapis->SetPosition({0, 0, 0});
    const float e = EcartMouche(W);
    const TVecteur3f places[5] = {
        {-e, -W / 2, 0.1f}, {0, -W / 2, 0.1f}, {e, -W / 2, 0.1f}, {0, 0, 0.1f}, {0, W / 2, 0.1f}};
    for (int i = 0; i < 5; ++i) {
        Mouches[i]->SetRayonExterieur(1);
        Mouches[i]->SetPosition(places[i]);
    }

    // cushions: a prism whose nose edge lies on the border of the playing area at height A
    const float cote = C / std::cos(15 * RadParDeg);
    const float R = cote / (2 * std::cos(30 * RadParDeg));
    const float dx = R * std::cos(15 * RadParDeg);
    const float dz = R * std::sin(15 * RadParDeg);
    const float longueurs[4] = {2 * (W + C), 2 * (W + C), 2 * C + W, 2 * C + W};
    const TVecteur3f centres[4] = {
        {W / 2 + dx, 0, A - dz}, {-W / 2 - dx, 0, A - dz}, {0, W + dx, A - dz}, {0, -(W + dx), A - dz}};
    const float virages[4] = {-15, 15, 15, -15};
    for (int i = 0; i < 4; ++i) {
        TCylindre& b = *ProfilsBandes[i];
        b.SetVirage(0);
        b.SetHaut(i < 2 ? TVecteur3f{0, 1, 0} : TVecteur3f{1, 0, 0});
        b.SetDirection({0, 0, 1});
        b.SetRayons(R, R);
        b.SetHauteur(longueurs[i]);
        b.SetPosition(centres[i]);
        b.SetVirage(virages[i]);
    }

    // rails: their top face level with the top of the cushions
    const float zr = C * Tan15 - 10 + A;
    const float longues = 2 * (W + C + D), courtes = 2 * (C + D) + W;
    const TVecteur3f placesCadres[4] = {{W / 2 + C + D / 2, 0, zr},
                                        {-(W / 2 + C + D / 2), 0, zr},
                                        {0, W + C + D / 2, zr},
                                        {0, -(W + C + D / 2), zr}};
    const TVecteur3f hauts[4] = {{0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {-1, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        TBoite& c = *Cadres[i];
        c.SetDimensions(D, i < 2 ? longues : courtes, 20);
        c.SetHaut(hauts[i]);
        c.SetDirection({0, 0, 1});
        c.SetPosition(placesCadres[i]);
        PlaceReperes(c, D, C, W, A);
    }
}

void TGLBillard::CreeReperes(TBoite& cadre, int n) {
    for (int i = 0; i < n; ++i) {
        auto* d = cadre.AjouteEnfant<TDisque>();
        d->SetTranches(4);
        CouleursMateriau(*d, clrGris20, clrArgent, clrNoir, clrNoir);
    }
}

void TGLBillard::PlaceReperes(TBoite& cadre, float D, float /*C*/, float W, float /*A*/) {
    // on the top face, every W/4 from end to end of the playing area
    int n = 0;
    for (const auto& e : cadre.Enfants()) n += e->Genre() == TGenreNoeud::Disque;
    int i = 0;
    for (const auto& e : cadre.Enfants()) {
        if (e->Genre() != TGenreNoeud::Disque) continue;
        auto& d = static_cast<TDisque&>(*e);
        d.SetRayonExterieur(D / 6);
        d.SetPosition({0, float(i - n / 2) * W / 4, cadre.Profondeur() / 2 + 0.1f});
        ++i;
    }
}
