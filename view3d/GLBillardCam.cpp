#include "view3d/GLBillardCam.h"

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
    ActiveCamMobile(true);
}

void TGLBillard2Cam::ActiveCamMobile(bool mobile) {
    CamMobileActive = mobile;
    Vue->SetCamera(mobile ? CamMobile : CamFixe);
}

void TGLBillard2Cam::Zoom(int delta) {
    if (TCamera* c = Vue->Camera()) c->AjusteDistanceCible(std::pow(1.1f, float(delta) / 120));
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
    } else if (etat & ssDroit) {
        CamMobile->TourneAutourCible(float(DernierY - Y), float(DernierX - X));
    }
    DernierX = X;
    DernierY = Y;
}
