#include "sim/C8_BillardVelmora.h"

#include <algorithm>
#include <cmath>

#include "sim/C8_BoucleTrajets.h"

using boucle_trajets::Fini;

TParamQueue TBillardVelmora::ParamQueue() const {
    return {VitesseQueue, MasseQueue, Effet, Hauteur, AngleOx, AngleTapis};
}

void TBillardVelmora::SetParamQueue(const TParamQueue& p) {
    VitesseQueue = p.VitesseQueue;
    MasseQueue = p.MasseQueue;
    Effet = p.Effet;
    Hauteur = p.Hauteur;
    AngleOx = p.AngleOx;
    AngleTapis = p.AngleTapis;
}

void TBillardVelmora::ImpactQueue() {
    PointReussi = false;
    TPVR& bille = Trajets[1][0];
    const TPARAMPHYS& fisik = Fisik;
    const double R = fisik.RayonBilles();
    const double M = fisik.MasseBilles();
    const double m = MasseQueue;
    const double P = fisik.PerteEcQB();

    // contact offset in the cue frame (x along the cue)
    const TVecteur r = Vecteur(0, -Effet, Hauteur);
    const double d2 = Effet * Effet + Hauteur * Hauteur;

    bool fausseQueue = !(d2 <= fisik.DeportMax2());
    TVecteur V = VecteurNul;
    TVecteur W = VecteurNul;
    if (!fausseQueue) {
        // the ball's inertia seen at the contact point, then the energy balance
        const double k = 1 + 2.5 * d2 / (R * R);
        const double c = (1 - P) - k * P * m / M;
        if (c < 0) {
            fausseQueue = true;
        } else {
            const double s = (1 + std::sqrt(c)) / (k + M / m);
            V = Vecteur(VitesseQueue * s, 0, 0);
            W = MultVect(ProdVect(r, V), 5 / (2 * R * R));
            // cue inclination about y (positive drives the ball down), then the aim about z
            const double cb = std::cos(AngleTapis), sb = std::sin(AngleTapis);
            const double ca = std::cos(AngleOx), sa = std::sin(AngleOx);
            const auto tourne = [&](const TVecteur& u) {
                const double x1 = u.x * cb + u.z * sb;
                const double z1 = -u.x * sb + u.z * cb;
                return Vecteur(x1 * ca - u.y * sa, x1 * sa + u.y * ca, z1);
            };
            V = tourne(V);
            W = tourne(W);
            // unusable cue values (a NaN or an overflow) are a miscue, never a NaN in the physics
            if (!Fini(V) || !Fini(W)) fausseQueue = true;
        }
    }

    FausseQueue = fausseQueue;
    if (fausseQueue) {
        bille.Vitesse = VecteurNul;
        bille.Rotation = VecteurNul;
    } else {
        bille.Vitesse = V;
        bille.Rotation = W;
        // a plunging cue drives the ball into the cloth: it bounces at once (the jump)
        if (V.z < -0.001) {
            TEtatBille e;
            e.SetPvr(bille);
            ChocTapis(e, nullptr);
            bille = e.Pvr();
        } else if (V.z < 0) {
            bille.Vitesse.z = 0;
        }
    }
    if (ApresQueueBille) ApresQueueBille(this);
}

void TBillardVelmora::AjoutePhoto(TTypeChoc genre, double t) {
    if (NbPhotos >= NbPhotosMax) return;
    const int n = NbPhotos + 1;
    NbPhotos = n;
    for (int b = 1; b <= NbBilles; ++b) {
        Trajets[b][n] = etats_[b].Pvr();
        Mouvements[b][n] = etats_[b].Mouvement;
    }
    Temps[n] = t;
    TypesChocs[n] = genre;
    Contacts[n] = etats_[1].NumTouche;
}

void TBillardVelmora::Valide3Bandes(TEtatBille& bille) {
    if (bille.NbBandes > 2) PointReussi = true;
    bille.SurDeuxiemeBille = {};
}

void TBillardVelmora::Valide1Bande(TEtatBille& bille) {
    if (bille.NbBandes > 0) PointReussi = true;
    bille.SurDeuxiemeBille = {};
}

void TBillardVelmora::ValideLibre(TEtatBille& bille) {
    PointReussi = true;
    bille.SurDeuxiemeBille = {};
}

void TBillardVelmora::Joue() {
    ImpactQueue();
    CalculTrajets();
}

void TBillardVelmora::CalculTrajets() {
    TSuiviComplet complet;
    CalculTrajetsSuivi(complet);
}
