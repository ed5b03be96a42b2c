// Simulation vocabulary: frame and units (cm, g, s, rad; origin at the centre of the cloth, z up),
// ball states, motion and collision kinds, game modes and the trajectory store of a shot.
#pragma once

#include <array>
#include <cstdint>

#include "sim/Methode.h"
#include "sim/ParamPhys.h"
#include "sim/ProcsVecteurs.h"

// a ball at an instant: the content of one photo for one ball
struct TPVR {
    TVecteur Position;
    TVecteur Vitesse;
    TVecteur Rotation;

    friend bool operator==(const TPVR&, const TPVR&) = default;
};

enum TMouvement : std::uint8_t { mvVole, mvGlisse, mvRoule, mvPivote, mvArret, mvDehors };

enum TTypeChoc : std::uint8_t { tcAucun, tcBilleBille, tcBilleTapis, tcBilleBande };

enum TModeDeJeu : std::uint8_t { jLibre, j1Bande, j3Bandes };

// display texts; any other value gives "(?)" for a motion, "?" for a collision
const char* TexteMouvement(int valeur);
const char* TexteTypeChoc(int valeur);

struct TEtatBille;
using TValidation = TMethode<TEtatBille&>;

// Working state of one ball during a shot computation. The first three fields have the layout
// of a TPVR, so a photo is copied in or out as one block (see Pvr()).
struct TEtatBille {
    TVecteur Position;
    TVecteur Vitesse;
    TVecteur Rotation;
    TVecteur DemiAccVol;
    TVecteur AccVol;
    TVecteur DemiDecelGlisse;
    TVecteur DecelGlisse;
    TVecteur AccRotGlisse;
    TVecteur DemiDecelRoule;
    TVecteur DecelRoule;
    TVecteur LienRoule;
    double IndGlissement = 0.0;
    double tFinGlisse = 0.0;
    double tFinRoule = 0.0;
    double tFinPivot = 0.0;
    double DecelPivot = 0.0;
    TMouvement Mouvement = mvVole;
    TTypeChoc DernierChoc = tcAucun;
    std::int32_t NbBandes = 0;
    TEtatBille* PremiereBille = nullptr;
    TValidation SurDeuxiemeBille;
    std::int32_t NumBille = 0;
    std::int32_t NumTouche = 0;

    TPVR Pvr() const { return {Position, Vitesse, Rotation}; }
    void SetPvr(const TPVR& p) {
        Position = p.Position;
        Vitesse = p.Vitesse;
        Rotation = p.Rotation;
    }
};

inline constexpr int NbBilles = 3;
inline constexpr int NbPhotosMax = 1200;

// A computed shot as photos 0..NbPhotos of the three balls. Ball indices run 1..3 as
// everywhere in the physics (slot 0 is unused). Fixed arrays: nothing is allocated per shot.
struct TStockTrajets {
    template <class T>
    using ParBille = std::array<std::array<T, NbPhotosMax + 1>, NbBilles + 1>;

    ParBille<TPVR> Trajets{};
    ParBille<TMouvement> Mouvements{};
    std::array<double, NbPhotosMax + 1> Temps{};
    std::array<TTypeChoc, NbPhotosMax + 1> TypesChocs{};
    std::array<std::int32_t, NbPhotosMax + 1> Contacts{};
    std::int32_t NbPhotos = 0;

    // the first photo holding a number that is not finite (a broken result), -1 when none
    int PremierePhotoNonFinie() const;
};
