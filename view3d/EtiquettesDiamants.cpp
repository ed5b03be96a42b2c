#include "view3d/EtiquettesDiamants.h"

#include <cmath>

#include "jeu/Decimales.h"
#include "jeu/Diamants.h"
#include "scene/Scene.h"
#include "view3d/TraitsChiffres.h"

namespace {

// just above the rails' top face (5.1 cm over the cloth on the match table)
constexpr float ZEtiquettes = 5.4f;
constexpr float HauteurChiffres = 3.2f;
// between the tick and the number beside it: clear of a rail mark, whose radius is a sixth of
// the rail's width, even by the comma's tail under the line when the digits run across the rail
constexpr float EcartChiffresTrait = 2.4f;

// Centred on the contact, a number would be crossed by the rail's mark when the contact is near
// one (a mark between the 7 and the 0 of "7,0"): it goes beside the tick instead, on the side
// away from the nearest mark, which leaves it half a diamond of room. The number is l wide along
// `droite` and HauteurChiffres high.
TVecteur3f DecalageLeLongDuRail(const TContactBande& c, double largeur, const TVecteur3f& droite,
                                const TVecteur3f& haut, float l) {
    const bool longue = BandeLongue(c.Bande);
    const TVecteur3f rail = longue ? TVecteur3f{0, 1, 0} : TVecteur3f{1, 0, 0};
    const double ici = longue ? c.Position.y : c.Position.x;
    const double marque = CoordonneeDiamant(c.Bande, std::round(c.Diamant), largeur);
    const float cote = ici >= marque ? 1.0f : -1.0f;
    const float demiEtendue = (std::fabs(droite.x * rail.x + droite.y * rail.y) * l +
                               std::fabs(haut.x * rail.x + haut.y * rail.y) * HauteurChiffres) /
                              2;
    return rail * (cote * (demiEtendue + EcartChiffresTrait));
}

}  // namespace

TEtiquettesDiamants::TEtiquettesDiamants(TScene& scene) {
    conteneur_ = scene.Racine().AjouteEnfant<TFactice>();
    for (auto& t : traits_) {
        t = conteneur_->AjouteEnfant<TLignes>();
        t->SetSegments(true);
        t->SetLargeurLigne(2);
    }
}

void TEtiquettesDiamants::Efface() {
    for (TLignes* t : traits_) {
        t->DebutMaj();
        t->EffaceNoeuds();
        t->FinMaj();
    }
    textes_.clear();
    nb_ = 0;
}

void TEtiquettesDiamants::Montre(const std::vector<TContactBande>& contacts,
                                 const std::array<TCouleur, 3>& couleurs, double largeur,
                                 const TVecteur3f& droite, const TVecteur3f& haut, char separateur) {
    Efface();
    for (TLignes* t : traits_) t->DebutMaj();
    for (int b = 1; b <= 3; ++b) traits_[size_t(b - 1)]->SetCouleur(couleurs[size_t(b - 1)]);
    const float demi = float(largeur / 2);
    for (const TContactBande& c : contacts) {
        if (c.Bille < 1 || c.Bille > 3 || c.Bande < 1 || c.Bande > 4) continue;
        TLignes& t = *traits_[size_t(c.Bille - 1)];
        // the cushion's outward normal and where along it the contact lies
        const bool longue = BandeLongue(c.Bande);
        const float signe = (c.Bande == 1 || c.Bande == 2) ? 1.0f : -1.0f;
        const TVecteur3f dehors = longue ? TVecteur3f{signe, 0, 0} : TVecteur3f{0, signe, 0};
        const float nez = longue ? demi : float(largeur);
        const TVecteur3f surNez = longue ? TVecteur3f{signe * nez, float(c.Position.y), ZEtiquettes}
                                         : TVecteur3f{float(c.Position.x), signe * nez, ZEtiquettes};
        // the tick across the cushion, then the number on the line of the diamonds beside it
        t.AjouteNoeud(surNez);
        t.AjouteNoeud(surNez + dehors * LargeurBandeJeu);
        const std::string texte = Decimales(c.Diamant, 1, separateur);
        const float l = LargeurChiffres(texte, HauteurChiffres);
        const TVecteur3f centre =
            surNez + dehors * float(RetraitDiamants) + DecalageLeLongDuRail(c, largeur, droite, haut, l);
        AjouteChiffres(t, texte, centre + droite * (-l / 2) + haut * (-HauteurChiffres / 2), droite, haut,
                       HauteurChiffres);
        textes_.push_back(texte);
        ++nb_;
    }
    for (TLignes* t : traits_) {
        t->SetVisible(true);
        t->FinMaj();
    }
}
