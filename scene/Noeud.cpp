#include "scene/Noeud.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "scene/Scene.h"

namespace {
// a unit vector perpendicular to a, as near to b as possible
TVecteur3f Perpendiculaire(const TVecteur3f& a, const TVecteur3f& b) {
    TVecteur3f p = b - a * Scal(a, b);
    if (Norme(p) < 1e-6f) {
        // b along a: any perpendicular will do
        p = std::fabs(a.x) < 0.9f ? Vect(a, TVecteur3f{1, 0, 0}) : Vect(a, TVecteur3f{0, 1, 0});
    }
    return Unitaire(p);
}
}  // namespace

TNoeud::TNoeud(TScene& scene, TGenreNoeud genre) : scene_(scene), genre_(genre) {
    static std::atomic<unsigned long> compteur{0};
    identifiant_ = ++compteur;
}

TNoeud::~TNoeud() = default;

void TNoeud::Adopte(std::unique_ptr<TNoeud> enfant) {
    enfant->parent_ = this;
    enfants_.push_back(std::move(enfant));
    Modifie();
}

void TNoeud::ChangeParent(TNoeud& nouveau) {
    if (&nouveau == parent_ || parent_ == nullptr) return;
    // refuse to hang a node under itself or its descendants
    for (const TNoeud* n = &nouveau; n; n = n->parent_)
        if (n == this) return;
    auto& freres = parent_->enfants_;
    auto it = std::find_if(freres.begin(), freres.end(), [this](const auto& e) { return e.get() == this; });
    std::unique_ptr<TNoeud> moi = std::move(*it);
    freres.erase(it);
    nouveau.Adopte(std::move(moi));
}

bool TNoeud::SupprimeEnfant(const TNoeud* enfant) {
    auto it =
        std::find_if(enfants_.begin(), enfants_.end(), [enfant](const auto& e) { return e.get() == enfant; });
    if (it == enfants_.end()) return false;
    enfants_.erase(it);
    Modifie();
    return true;
}

void TNoeud::SupprimeEnfants() {
    if (enfants_.empty()) return;
    enfants_.clear();
    Modifie();
}

void TNoeud::SetPosition(const TVecteur3f& p) {
    position_ = p;
    Modifie();
}

void TNoeud::SetDirection(const TVecteur3f& d) {
    const TVecteur3f u = Unitaire(d);
    if (Norme(u) == 0) return;
    direction_ = u;
    haut_ = Perpendiculaire(direction_, haut_);
    Modifie();
}

void TNoeud::SetHaut(const TVecteur3f& h) {
    const TVecteur3f u = Unitaire(h);
    if (Norme(u) == 0) return;
    haut_ = u;
    direction_ = Perpendiculaire(haut_, direction_);
    Modifie();
}

void TNoeud::SetRoulis(float degres) {
    haut_ = Unitaire(Tourne(haut_, direction_, degres - roulis_));
    roulis_ = degres;
    Modifie();
}

void TNoeud::SetVirage(float degres) {
    direction_ = Unitaire(Tourne(direction_, haut_, degres - virage_));
    virage_ = degres;
    Modifie();
}

void TNoeud::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Modifie();
}

bool TNoeud::VisibleDansScene() const {
    for (const TNoeud* n = this; n; n = n->parent_)
        if (!n->visible_) return false;
    return true;
}

void TNoeud::SetFini(TFini f) {
    fini_ = f;
    Modifie();
}

void TNoeud::SetMateriau(const TMateriau& m) {
    materiau_ = m;
    Modifie();
}

TMatrice4f TNoeud::MatriceLocale() const {
    return TMatrice4f::Repere(Droite(), haut_, direction_, position_);
}

TMatrice4f TNoeud::MatriceAbsolue() const {
    return parent_ ? parent_->MatriceAbsolue() * MatriceLocale() : MatriceLocale();
}

TVecteur3f TNoeud::PositionAbsolue() const {
    return parent_ ? parent_->LocalVersAbsolu(position_) : position_;
}

TVecteur3f TNoeud::HautAbsolu() const { return parent_ ? parent_->MatriceAbsolue().Vecteur(haut_) : haut_; }

TVecteur3f TNoeud::LocalVersAbsolu(const TVecteur3f& p) const { return MatriceAbsolue().Point(p); }

TVecteur3f TNoeud::AbsoluVersLocal(const TVecteur3f& p) const {
    return MatriceAbsolue().InverseRigide().Point(p);
}

void TNoeud::Modifie() { scene_.Modifie(); }

void TNoeud::FormeModifiee() {
    ++revisionForme_;
    Modifie();
}

void TPlan::SetMaille(float m) {
    if (!(m > 0)) return;
    maille_ = m;
    FormeModifiee();
}

void TPlan::SetDimensions(float largeur, float hauteur) {
    largeur_ = largeur;
    hauteur_ = hauteur;
    FormeModifiee();
}

void TDisque::SetRayonExterieur(float r) {
    rayon_ = r;
    FormeModifiee();
}

void TDisque::SetTranches(int n) {
    tranches_ = std::max(n, 3);
    FormeModifiee();
}

void TCylindre::SetRayons(float haut, float bas) {
    rayonHaut_ = haut;
    rayonBas_ = bas;
    FormeModifiee();
}

void TCylindre::SetHauteur(float h) {
    hauteur_ = h;
    FormeModifiee();
}

void TCylindre::SetTranches(int n) {
    tranches_ = std::max(n, 3);
    FormeModifiee();
}

void TBoite::SetDimensions(float largeur, float hauteur, float profondeur) {
    largeur_ = largeur;
    hauteur_ = hauteur;
    profondeur_ = profondeur;
    FormeModifiee();
}

void TSphere::SetRayon(float r) {
    rayon_ = r;
    FormeModifiee();
}

void TSphere::SetLatitudeBas(float degres) {
    latitudeBas_ = std::clamp(degres, -90.0f, 89.0f);
    FormeModifiee();
}

void TLignes::AjouteNoeud(const TVecteur3f& p) {
    noeuds_.push_back(p);
    Change();
}

void TLignes::SetNoeud(size_t i, const TVecteur3f& p) {
    if (i >= noeuds_.size()) return;
    noeuds_[i] = p;
    Change();
}

void TLignes::EffaceNoeuds() {
    noeuds_.clear();
    Change();
}

void TLignes::SetCouleur(const TCouleur& c) {
    couleur_ = c;
    Change();
}

void TLignes::SetLargeurLigne(float l) {
    largeurLigne_ = l;
    Change();
}

void TLignes::SetSegments(bool s) {
    segments_ = s;
    Change();
}

void TLignes::SetMotif(std::uint16_t motif, int facteur) {
    motif_ = motif;
    facteurMotif_ = std::clamp(facteur, 1, 256);
    Change();
}

void TLignes::Change() {
    // inside a bracket the change is announced once, when it closes
    if (crochet_ > 0)
        enAttente_ = true;
    else
        FormeModifiee();
}

void TLignes::FinMaj() {
    if (crochet_ == 0) return;
    if (--crochet_ == 0 && enAttente_) {
        enAttente_ = false;
        FormeModifiee();
    }
}
