// The scene graph: a tree of nodes, each placed in its parent's frame. A node's frame has
// Z = Direction, Y = Up (Haut) and X = Up x Direction; a new node's frame is its parent's.
// Only data here: drawing lives in scene/gl, so placement and picking are tested without a display.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/Matrice4f.h"

class TScene;

enum class TGenreNoeud { Factice, Plan, Disque, Cylindre, Boite, Sphere, Lignes, Camera, Lumiere };

// How the renderer shades a surface beyond its four colours. Auto: spheres polished, the rest as
// the fixed-function lights make them; the others are finishes lit per pixel, whose average
// colour stays the material's: a matte or polished surface, cloth with its nap, wood with its
// grain and a satin sheen, mother-of-pearl, a floor of planks fading into the room.
enum class TFini : std::uint8_t { Auto, Mat, Poli, Drap, Bois, Nacre, Sol };

// the four front-material colours
struct TMateriau {
    TCouleur Ambiante{0.2f, 0.2f, 0.2f, 1};
    TCouleur Diffuse{0.8f, 0.8f, 0.8f, 1};
    TCouleur Emission{0, 0, 0, 1};
    TCouleur Speculaire{0, 0, 0, 1};

    friend bool operator==(const TMateriau&, const TMateriau&) = default;
};

class TNoeud {
public:
    TNoeud(TScene& scene, TGenreNoeud genre);
    virtual ~TNoeud();
    TNoeud(const TNoeud&) = delete;
    TNoeud& operator=(const TNoeud&) = delete;

    TGenreNoeud Genre() const { return genre_; }
    // unique among all nodes ever made: caches keyed by node use it to spot a reused address
    unsigned long Identifiant() const { return identifiant_; }
    TScene& Scene() const { return scene_; }
    TNoeud* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<TNoeud>>& Enfants() const { return enfants_; }

    // a new child of kind T (TFactice, TPlan, ...), owned by this node
    template <class T>
    T* AjouteEnfant() {
        auto e = std::make_unique<T>(scene_);
        T* p = e.get();
        Adopte(std::move(e));
        return p;
    }
    // moves the node under another parent; its placement relative to its parent is kept
    void ChangeParent(TNoeud& nouveau);
    // frees a child with its subtree; false (nothing freed) when it is not a child of this node
    bool SupprimeEnfant(const TNoeud* enfant);
    // frees every child
    void SupprimeEnfants();

    // placement in the parent's frame
    const TVecteur3f& Position() const { return position_; }
    void SetPosition(const TVecteur3f& p);
    void SetX(float x) { SetPosition({x, position_.y, position_.z}); }
    void SetY(float y) { SetPosition({position_.x, y, position_.z}); }
    void SetZ(float z) { SetPosition({position_.x, position_.y, z}); }
    const TVecteur3f& Direction() const { return direction_; }
    const TVecteur3f& Haut() const { return haut_; }
    // the other vector is made perpendicular again, keeping its side
    void SetDirection(const TVecteur3f& d);
    void SetHaut(const TVecteur3f& h);
    // local X axis: Up x Direction
    TVecteur3f Droite() const { return Vect(haut_, direction_); }

    // roll: rotation about Direction; turn: rotation about Up. Degrees, right-hand rule;
    // setting one turns the node by the difference with the value it had.
    float Roulis() const { return roulis_; }
    void SetRoulis(float degres);
    float Virage() const { return virage_; }
    void SetVirage(float degres);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // under the room's object (TSalle): not drawn when the eye looks on it from above, the
    // object's top then hiding it whole
    bool SousObjet() const { return sousObjet_; }
    void SetSousObjet(bool s) { sousObjet_ = s; }
    // visible itself and through all its ancestors
    bool VisibleDansScene() const;

    const TMateriau& Materiau() const { return materiau_; }
    void SetMateriau(const TMateriau& m);
    TFini Fini() const { return fini_; }
    void SetFini(TFini f);

    TMatrice4f MatriceLocale() const;
    TMatrice4f MatriceAbsolue() const;
    TVecteur3f PositionAbsolue() const;
    TVecteur3f HautAbsolu() const;
    // a point of this node's frame in the scene's frame, and back
    TVecteur3f LocalVersAbsolu(const TVecteur3f& p) const;
    TVecteur3f AbsoluVersLocal(const TVecteur3f& p) const;

    // tells the viewers that something changed (setters do it themselves)
    void Modifie();
    // counts changes of the node's own shape data (sizes, nodes of a line): drawing caches use it
    unsigned RevisionForme() const { return revisionForme_; }

protected:
    void FormeModifiee();

private:
    void Adopte(std::unique_ptr<TNoeud> enfant);

    TScene& scene_;
    TGenreNoeud genre_;
    unsigned long identifiant_;
    TNoeud* parent_ = nullptr;
    std::vector<std::unique_ptr<TNoeud>> enfants_;
    TVecteur3f position_{};
    TVecteur3f direction_{0, 0, 1};
    TVecteur3f haut_{0, 1, 0};
    float roulis_ = 0;
    float virage_ = 0;
    bool visible_ = true;
    bool sousObjet_ = false;
    TMateriau materiau_;
    TFini fini_ = TFini::Auto;
    unsigned revisionForme_ = 0;
};

// invisible node used as a pivot or a target
class TFactice : public TNoeud {
public:
    explicit TFactice(TScene& s) : TNoeud(s, TGenreNoeud::Factice) {}
};

// rectangle in the node's XY plane, facing +Z
class TPlan : public TNoeud {
public:
    explicit TPlan(TScene& s) : TNoeud(s, TGenreNoeud::Plan) {}
    float Largeur() const { return largeur_; }  // along X
    float Hauteur() const { return hauteur_; }  // along Y
    void SetDimensions(float largeur, float hauteur);
    // the size of the cells its triangles make (at most 64 a side): fine enough for lights
    // computed at the corners to show the lamps; a plane lit per pixel needs none
    float Maille() const { return maille_; }
    void SetMaille(float m);

private:
    float largeur_ = 1;
    float hauteur_ = 1;
    float maille_ = 30;
};

// disk in the node's XY plane, facing +Z; 4 slices make a rhombus
class TDisque : public TNoeud {
public:
    explicit TDisque(TScene& s) : TNoeud(s, TGenreNoeud::Disque) {}
    float RayonExterieur() const { return rayon_; }
    void SetRayonExterieur(float r);
    int Tranches() const { return tranches_; }
    void SetTranches(int n);

private:
    float rayon_ = 0.5f;
    int tranches_ = 24;
};

// closed cylinder or cone along the node's Y axis, centred on the origin; 3 slices make a
// triangular prism whose corners lie at 270, 30 and 150 degrees counted in the XZ plane from +X
// towards +Z (a point down, a flat face up)
class TCylindre : public TNoeud {
public:
    explicit TCylindre(TScene& s) : TNoeud(s, TGenreNoeud::Cylindre) {}
    float RayonHaut() const { return rayonHaut_; }  // at +Y
    float RayonBas() const { return rayonBas_; }    // at -Y
    float Hauteur() const { return hauteur_; }
    int Tranches() const { return tranches_; }
    void SetRayons(float haut, float bas);
    void SetHauteur(float h);
    void SetTranches(int n);

private:
    float rayonHaut_ = 0.5f;
    float rayonBas_ = 0.5f;
    float hauteur_ = 1;
    int tranches_ = 24;
};

// box centred on the origin
class TBoite : public TNoeud {
public:
    explicit TBoite(TScene& s) : TNoeud(s, TGenreNoeud::Boite) {}
    float Largeur() const { return largeur_; }        // X
    float Hauteur() const { return hauteur_; }        // Y
    float Profondeur() const { return profondeur_; }  // Z
    void SetDimensions(float largeur, float hauteur, float profondeur);

private:
    float largeur_ = 1;
    float hauteur_ = 1;
    float profondeur_ = 1;
};

// sphere with its poles on the node's Y axis; may be cut below a latitude (degrees, -90 = whole)
class TSphere : public TNoeud {
public:
    explicit TSphere(TScene& s) : TNoeud(s, TGenreNoeud::Sphere) {}
    float Rayon() const { return rayon_; }
    void SetRayon(float r);
    float LatitudeBas() const { return latitudeBas_; }
    void SetLatitudeBas(float degres);

private:
    float rayon_ = 0.5f;
    float latitudeBas_ = -90;
};

// line through nodes given in the node's frame, drawn unlit in one colour; its node markers are
// never drawn. Changes between DebutMaj and FinMaj reach the viewers once, at FinMaj.
class TLignes : public TNoeud {
public:
    explicit TLignes(TScene& s) : TNoeud(s, TGenreNoeud::Lignes) {}
    const std::vector<TVecteur3f>& Noeuds() const { return noeuds_; }
    void AjouteNoeud(const TVecteur3f& p);
    void SetNoeud(size_t i, const TVecteur3f& p);
    void EffaceNoeuds();
    void Reserve(size_t n) { noeuds_.reserve(n); }
    const TCouleur& Couleur() const { return couleur_; }
    void SetCouleur(const TCouleur& c);
    float LargeurLigne() const { return largeurLigne_; }
    void SetLargeurLigne(float l);
    // nodes taken in pairs, each pair a segment of its own (dotted lines, marks) instead of one line
    bool Segments() const { return segments_; }
    void SetSegments(bool s);
    // dash pattern, one bit per pixel along the line from the low bit, 0xFFFF for a solid line;
    // each bit stands for `facteur` pixels
    std::uint16_t Motif() const { return motif_; }
    int FacteurMotif() const { return facteurMotif_; }
    void SetMotif(std::uint16_t motif, int facteur = 1);
    void DebutMaj() { ++crochet_; }
    void FinMaj();

private:
    void Change();

    std::vector<TVecteur3f> noeuds_;
    TCouleur couleur_{1, 1, 1, 1};
    float largeurLigne_ = 1;
    bool segments_ = false;
    std::uint16_t motif_ = 0xFFFF;
    int facteurMotif_ = 1;
    int crochet_ = 0;
    bool enAttente_ = false;
};
