#include "view3d/GLBillardCam.h"

#include <algorithm>
#include <cmath>

#include "jeu/PositionJeu.h"

TGLBillard2Cam::TGLBillard2Cam(TScene& scene, TVue& vue) : TGLBillard(scene), Vue(&vue) {
    TNoeud& racine = Scene.Racine();
    CibleFixe = racine.AjouteEnfant<TFactice>();
    // ceiling camera, the long axis across the picture
    CamFixe = racine.AjouteEnfant<TCamera>();
    const auto place = [](const std::array<float, 3>& v) { return TVecteur3f{v[0], v[1], v[2]}; };
    CibleFixe->SetPosition(place(CamFixeDepart.Cible));
    CamFixe->SetPosition(place(CamFixeDepart.Position));
    CamFixe->SetHaut({-1, 0, 0});
    CamFixe->SetCible(CibleFixe);
    CamFixe->SetFocale(180);
    CamFixe->SetProfondeur(1.5f * CamFixe->DistanceCible());
    // mobile camera, carried by its target
    CibleMobile = racine.AjouteEnfant<TFactice>();
    CibleMobile->SetPosition(place(CamMobileDepart.Cible));
    CibleMobile->SetDirection({0, 0, 1});
    CibleMobile->SetHaut({0, 1, 0});
    CamMobile = CibleMobile->AjouteEnfant<TCamera>();
    CamMobile->SetPosition(place(CamMobileDepart.Position));
    CamMobile->SetHaut({0, 0, 1});
    CamMobile->SetCible(CibleMobile);
    CamMobile->SetFocale(130);
    CamMobile->SetProfondeur(1.5f * CamFixe->DistanceCible());
    // three lamps over the long axis
    for (float y : {0.0f, 94.8333f, -94.8333f}) {
        auto* l = racine.AjouteEnfant<TLumiere>();
        l->SetPosition({0, y, 100});
        l->SetAttenuationConstante(1.5f);
    }
    // the room around the table: its floor darker under it, the lamp's pool of light on it
    Vue->Salle.DemiLargeur = Cadres[0]->Position().x + Cadres[0]->Largeur() / 2;
    Vue->Salle.DemiLongueur = Largeur + LargeurBande + Cadres[0]->Largeur();
    Vue->Salle.Dessus = Cadres[0]->Position().z + Cadres[0]->Profondeur() / 2;
    Vue->Salle.Sol = Sol[0]->Position().z;
    Vue->Salle.EtendueSol = Sol[0]->Hauteur() / 2;
    ActiveCamMobile(true);
}

void TGLBillard2Cam::ActiveCamMobile(bool mobile) {
    CamMobileActive = mobile;
    Vue->SetCamera(mobile ? CamMobile : CamFixe);
}

void TGLBillard2Cam::Zoom(int delta) {
    TCamera* c = Vue->Camera();
    if (!c || !c->Cible()) return;
    const float d = c->DistanceCible();
    if (!(d > 0)) return;
    float facteur = std::pow(1.1f, float(delta) / 120);
    float voulue = std::clamp(d * facteur, DistanceMin, DistanceMax);
    // coming nearer along the line of sight stops before the eye comes down to the cloth
    if (c == CamMobile && voulue < d) {
        const float z = c->Cible()->PositionAbsolue().z;
        const float sinus = (c->PositionAbsolue().z - z) / d;
        if (sinus > 0) voulue = std::max(voulue, std::min(d, (HauteurOeilMin - z) / sinus));
    }
    if (voulue != d * facteur) facteur = voulue / d;
    c->AjusteDistanceCible(facteur);
    c->SetProfondeur(std::max(c->Profondeur(), c->DistanceCible() + 500));
}

void TGLBillard2Cam::SourisCamera(int X, int Y, TEtatTouches etat) {
    if (!CamMobileActive) return;
    if (etat & ssGauche) {
        // pan: the table follows the mouse, faster when far away
        const float k = CamMobile->DistanceCible() * 0.12f / CamMobile->Focale();
        const TVecteur3f v = CibleMobile->PositionAbsolue() - CamMobile->PositionAbsolue();
        TVecteur3f d{v.x, v.y, 0};
        const float l = Norme(d);
        if (l > 1e-10f) d = d * (1 / l);
        const TVecteur3f r{d.y, -d.x, 0};
        const TVecteur3f m = (r * float(DernierX - X) + d * float(Y - DernierY)) * k;
        CibleMobile->SetPosition(CibleMobile->Position() + TVecteur3f{m.x, m.y, 0});
        ContraintCamMobile();
    } else if (etat & ssDroit) {
        CamMobile->TourneAutourCible(float(DernierY - Y), float(DernierX - X));
        ContraintCamMobile();
    }
    DernierX = X;
    DernierY = Y;
}

float TGLBillard2Cam::DistanceCadrage(const TCamera& camera, int largeur, int hauteur,
                                      const TReserveImage& reserve) const {
    // the table whole: out to the rails' outer edges, up to their top
    const TBoite& cadre = *Cadres[0];
    const float x = cadre.Position().x + cadre.Largeur() / 2;
    const float y = Largeur + LargeurBande + cadre.Largeur();
    const float haut = cadre.Position().z + cadre.Profondeur() / 2;
    return ::DistanceCadrage(camera, largeur, hauteur, CoinsBoite({-x, -y, 0}, {x, y, haut}), MargeCadrage,
                             reserve);
}

void TGLBillard2Cam::Cadre(int largeur, int hauteur, const TReserveImage& reserve) {
    if (largeur <= 0 || hauteur <= 0) return;
    for (TCamera* c : {CamFixe, CamMobile}) {
        const float nouvelle = DistanceCadrage(*c, largeur, hauteur, reserve);
        if (!(nouvelle > 0)) continue;
        float d = nouvelle;
        if (cadre_.fait) {
            // the zoom the user chose stays, relative to the fit
            const float ancienne = DistanceCadrage(*c, cadre_.largeur, cadre_.hauteur, cadre_.reserve);
            if (ancienne > 0) d = c->DistanceCible() * nouvelle / ancienne;
        }
        PlaceADistance(*c, std::clamp(d, DistanceMin, DistanceMax));
    }
    cadre_ = {true, largeur, hauteur, reserve};
    ContraintCamMobile();
}

void TGLBillard2Cam::PlaceADistance(TCamera& camera, float distance) {
    const float d = camera.DistanceCible();
    if (d > 0 && distance > 0) camera.AjusteDistanceCible(distance / d);
    // the far plane always reaches past the table
    camera.SetProfondeur(std::max(camera.Profondeur(), camera.DistanceCible() + 500));
}

void TGLBillard2Cam::ContraintCamMobile() {
    // the target stays near the table, on the cloth or a little above
    const TVecteur3f c = CibleMobile->Position();
    const float xMax = DemiLargeur + MargeCible, yMax = Largeur + MargeCible;
    CibleMobile->SetPosition(
        {std::clamp(c.x, -xMax, xMax), std::clamp(c.y, -yMax, yMax), std::clamp(c.z, 0.0f, HauteurOeilMin)});
    // the eye over the cloth, the balls and the rails: raised about the target, at the same distance
    const TVecteur3f cible = CibleMobile->PositionAbsolue();
    TVecteur3f v = CamMobile->PositionAbsolue() - cible;
    float d = Norme(v);
    if (d < DistanceMin) {
        v = d > 1e-6f ? v * (DistanceMin / d) : TVecteur3f{0, 0, DistanceMin};
        d = DistanceMin;
    }
    const float dz = HauteurOeilMin - cible.z;
    if (v.z < dz) {
        const TVecteur3f horizontal{v.x, v.y, 0};
        const float h = Norme(horizontal);
        const float reste = std::sqrt(std::max(d * d - dz * dz, 0.0f));
        v = h > 1e-6f ? horizontal * (reste / h) + TVecteur3f{0, 0, dz} : TVecteur3f{reste, 0, dz};
    }
    const TVecteur3f oeil = cible + v;
    if (Norme(oeil - CamMobile->PositionAbsolue()) > 1e-5f)
        CamMobile->SetPosition(CibleMobile->AbsoluVersLocal(oeil));
}
