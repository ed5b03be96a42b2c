// The table is symmetric about its long axis: a shot mirrored across it (x → −x, the aim mirrored,
// the side effect reversed) must give the mirrored photos. A sign slip in any layer of the physics
// (a cushion, a spin term, the cue impact) breaks this where a pinned result might not show it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "tests/sim/OutilsSimu.h"

namespace {

// the mirror image of a ball state: positions and velocities change the sign of x; the rotation is
// an axial vector, so its y and z parts change sign instead
TPVR Miroir(const TPVR& e) {
    return {Vecteur(-e.Position.x, e.Position.y, e.Position.z),
            Vecteur(-e.Vitesse.x, e.Vitesse.y, e.Vitesse.z),
            Vecteur(e.Rotation.x, -e.Rotation.y, -e.Rotation.z)};
}

void JoueMiroir(const TBillardVelmora& original, TBillardVelmora& miroir) {
    miroir.ModeDeJeu = original.ModeDeJeu;
    for (int b = 1; b <= NbBilles; ++b) miroir.Trajets[b][0] = Miroir(original.Trajets[b][0]);
    TParamQueue q = original.ParamQueue();
    q.AngleOx = std::numbers::pi - q.AngleOx;
    q.Effet = -q.Effet;
    miroir.SetParamQueue(q);
    miroir.Joue();
}

// rounding differs on the two sides (cos(π − a) is not −cos(a) to the last bit) and a long shot
// amplifies it a little at each contact: a micrometre over a whole shot is still a mirrored shot
constexpr double kTolerance = 1e-4;  // cm, cm/s, rad/s

void AttendMiroir(const TBillardVelmora& a, const TBillardVelmora& b, const std::string& nom) {
    EXPECT_EQ(a.FausseQueue, b.FausseQueue) << nom;
    EXPECT_EQ(a.PointReussi, b.PointReussi) << nom;
    ASSERT_EQ(a.NbPhotos, b.NbPhotos) << nom;
    for (int p = 0; p <= a.NbPhotos; ++p) {
        ASSERT_EQ(a.TypesChocs[p], b.TypesChocs[p]) << nom << " photo " << p;
        ASSERT_NEAR(a.Temps[p], b.Temps[p], 1e-9) << nom << " photo " << p;
        for (int bille = 1; bille <= NbBilles; ++bille) {
            const TPVR m = Miroir(a.Trajets[bille][p]);
            const TPVR& e = b.Trajets[bille][p];
            ASSERT_EQ(a.Mouvements[bille][p], b.Mouvements[bille][p])
                << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Position.x, e.Position.x, kTolerance)
                << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Position.y, e.Position.y, kTolerance)
                << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Position.z, e.Position.z, kTolerance)
                << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Vitesse.x, e.Vitesse.x, kTolerance) << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Vitesse.y, e.Vitesse.y, kTolerance) << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Rotation.y, e.Rotation.y, kTolerance)
                << nom << " photo " << p << " bille " << bille;
            ASSERT_NEAR(m.Rotation.z, e.Rotation.z, kTolerance)
                << nom << " photo " << p << " bille " << bille;
        }
    }
}

}  // namespace

TEST(Symetrie, EveryExampleMirroredAcrossTheLongAxisGivesTheMirroredPhotos) {
    for (const char* nom : {"ouverture.vel", "trois_bandes.vel", "une_bande.vel", "manque.vel", "saut.vel"}) {
        auto original = NouvelleSimu();
        TFichierIni ini;
        ASSERT_TRUE(ini.Charge(Exemple(nom)));
        ChargePosition(*original, ini);
        original->Joue();
        auto miroir = NouvelleSimu();
        JoueMiroir(*original, *miroir);
        AttendMiroir(*original, *miroir, nom);
    }
}

TEST(Symetrie, SideEffectShotsIntoTheCushionsAreMirrored) {
    // strong side and a low or high tip into a corner: spin at the cushions and at the cloth
    for (double effet : {-1.2, 0.9}) {
        for (double hauteur : {-1.0, 1.1}) {
            auto original = NouvelleSimu();
            PlaceBilles(*original, Vecteur(20, -60, 0), Vecteur(-30, 40, 0), Vecteur(45, 100, 0));
            TParamQueue q;
            q.VitesseQueue = 450;
            q.Effet = effet;
            q.Hauteur = hauteur;
            q.AngleOx = 1.2;
            q.AngleTapis = 0.05;
            original->SetParamQueue(q);
            original->Joue();
            ASSERT_FALSE(original->FausseQueue);
            ASSERT_GT(original->NbPhotos, 50);
            auto miroir = NouvelleSimu();
            JoueMiroir(*original, *miroir);
            AttendMiroir(*original, *miroir,
                         "effet " + std::to_string(effet) + " hauteur " + std::to_string(hauteur));
        }
    }
}
