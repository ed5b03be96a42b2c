#include "view3d/GLBillard.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "jeu/Diamants.h"
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
    // the cloth with its nap, the rails in grained wood, the diamonds inlaid in mother-of-pearl
    Tapis->SetFini(TFini::Drap);
    // lit per pixel, the cloth needs few triangles (each edge between two is shaded twice with
    // multisampling); enough that without shaders the lamps still show
    Tapis->SetMaille(75);
    for (TDisque* m : Mouches) m->SetFini(TFini::Mat);
    for (TCylindre* b : ProfilsBandes) b->SetFini(TFini::Drap);
    for (TBoite* c : Cadres) {
        c->SetFini(TFini::Bois);
        for (const auto& e : c->Enfants()) e->SetFini(TFini::Nacre);
    }
    CreePiece();
    Dimensionne(LargeurCadreJeu, LargeurBandeJeu, LargeurTableJeu, HautBandesJeu);
}

void TGLBillard::CreePiece() {
    TNoeud& racine = Scene.Racine();
    NezBandes = racine.AjouteEnfant<TLignes>();
    NezBandes->SetSegments(true);
    NezBandes->SetCouleur({0.03f, 0.24f, 0.19f, 1});
    NezBandes->SetLargeurLigne(1.2f);
    // seen only from low down, mostly hidden by the rails: plainly lit, they cost little
    const TCouleur boisSombre{0.30f, 0.14f, 0.12f, 1};
    Caisse = racine.AjouteEnfant<TBoite>();
    CouleursMateriau(*Caisse, clrGris20, boisSombre, clrNoir, clrNoir);
    Caisse->SetSousObjet(true);
    for (auto& p : Pieds) {
        p = racine.AjouteEnfant<TBoite>();
        CouleursMateriau(*p, clrGris20, boisSombre, clrNoir, clrNoir);
        p->SetSousObjet(true);
    }
    for (auto& s : Sol) {
        s = racine.AjouteEnfant<TPlan>();
        CouleursMateriau(*s, clrGris20, CouleurSol, clrNoir, clrNoir);
        s->SetFini(TFini::Sol);
        // lit per pixel, far from the lamps: a few triangles do
        s->SetMaille(4000);
    }
    // as dark as the planks at the table's edge: light only of its own
    OmbreTable = racine.AjouteEnfant<TPlan>();
    OmbreTable->SetSousObjet(true);
    OmbreTable->SetMaille(1000);
    const float k = 0.35f;
    CouleursMateriau(*OmbreTable, clrNoir, clrNoir, {CouleurSol.r * k, CouleurSol.g * k, CouleurSol.b * k, 1},
                     clrNoir);
}

void TGLBillard::PlacePiece(float D, float C, float W, float A) {
    // the noses on the border of the playing area, at height A
    const float x = W / 2, y = W;
    NezBandes->DebutMaj();
    NezBandes->EffaceNoeuds();
    for (const auto& [a, b] : {std::pair<TVecteur3f, TVecteur3f>{{x, -y, A}, {x, y, A}},
                               {{-x, -y, A}, {-x, y, A}},
                               {{-x, y, A}, {x, y, A}},
                               {{-x, -y, A}, {x, -y, A}}}) {
        NezBandes->AjouteNoeud(a);
        NezBandes->AjouteNoeud(b);
    }
    NezBandes->FinMaj();
    // the body just inside the rails' outer edges, under them; the legs under the body
    const TBoite& cadre = *Cadres[0];
    const float dessousCadres = cadre.Position().z - cadre.Profondeur() / 2;
    const float xExt = W / 2 + C + D, yExt = W + C + D;
    const float hauteurCaisse = 12;
    Caisse->SetDimensions(2 * (xExt - 2), 2 * (yExt - 2), hauteurCaisse);
    Caisse->SetPosition({0, 0, dessousCadres - hauteurCaisse / 2});
    const float sol = -HauteurTapis;
    const float hautPieds = dessousCadres - hauteurCaisse;
    const float cote = 15;
    int i = 0;
    for (float py : {-(yExt - 24), 0.0f, yExt - 24})
        for (float px : {-(xExt - 14), xExt - 14}) {
            TBoite& p = *Pieds[size_t(i++)];
            p.SetDimensions(cote, cote, hautPieds - sol);
            p.SetPosition({px, py, (hautPieds + sol) / 2});
        }
    // the planks around the table's outline, out to 20 m; its shade inside
    constexpr float loin = 2000;
    const TVecteur3f bandes[4][2] = {{{-loin, -loin, sol}, {-xExt, loin, sol}},
                                     {{xExt, -loin, sol}, {loin, loin, sol}},
                                     {{-xExt, -loin, sol}, {xExt, -yExt, sol}},
                                     {{-xExt, yExt, sol}, {xExt, loin, sol}}};
    for (size_t k = 0; k < Sol.size(); ++k) {
        const TVecteur3f& a = bandes[k][0];
        const TVecteur3f& b = bandes[k][1];
        Sol[k]->SetDimensions(b.x - a.x, b.y - a.y);
        Sol[k]->SetPosition((a + b) * 0.5f);
    }
    OmbreTable->SetDimensions(2 * xExt, 2 * yExt);
    OmbreTable->SetPosition({0, 0, sol});
}

float TGLBillard::DistanceAuNez(const TVecteur3f& depart, float ux, float uy, float marge) const {
    float d = 1e9f;
    if (std::fabs(ux) > 1e-6f)
        d = std::min(d, ((ux > 0 ? DemiLargeur + marge : -DemiLargeur - marge) - depart.x) / ux);
    if (std::fabs(uy) > 1e-6f)
        d = std::min(d, ((uy > 0 ? Largeur + marge : -Largeur - marge) - depart.y) / uy);
    return std::max(d, 0.0f);
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
    PlacePiece(D, C, W, A);
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
