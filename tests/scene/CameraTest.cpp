#include <gtest/gtest.h>

#include <cmath>

#include "scene/Cadenceur.h"
#include "scene/Camera.h"
#include "scene/Scene.h"
#include "scene/Vue.h"

namespace {
struct Montage {
    TScene scene;
    TVue vue{scene};
    TFactice* cible = scene.Racine().AjouteEnfant<TFactice>();
    TCamera* camera = cible->AjouteEnfant<TCamera>();
    Montage() {
        cible->SetPosition({10, 20, 0});
        camera->SetPosition({300, 0, 300});
        camera->SetHaut({0, 0, 1});
        camera->SetCible(cible);
        vue.SetCamera(camera);
        vue.SetTaille(800, 500);
    }
};
}  // namespace

TEST(Camera, DistanceScalesAlongTheLineToTheTarget) {
    Montage m;
    const float d = m.camera->DistanceCible();
    EXPECT_NEAR(d, 300 * std::sqrt(2.0f), 1e-3f);
    m.camera->AjusteDistanceCible(std::pow(1.1f, 1.0f));
    m.camera->AjusteDistanceCible(std::pow(1.1f, -1.0f));
    EXPECT_NEAR(m.camera->DistanceCible(), d, 1e-3f);
    m.camera->AjusteDistanceCible(0.5f);
    EXPECT_NEAR(m.camera->Position().x, 150, 1e-3f);
    EXPECT_NEAR(m.camera->Position().z, 150, 1e-3f);
}

TEST(Camera, OrbitKeepsTheDistanceAndStopsShortOfThePole) {
    Montage m;
    const float d = m.camera->DistanceCible();
    m.camera->TourneAutourCible(0, 90);
    EXPECT_NEAR(m.camera->Position().x, 0, 1e-3f);
    EXPECT_NEAR(m.camera->Position().y, 300, 1e-3f);
    m.camera->TourneAutourCible(10, 0);
    EXPECT_GT(m.camera->Position().z, 300);
    EXPECT_NEAR(m.camera->DistanceCible(), d, 1e-2f);
    m.camera->TourneAutourCible(500, 0);
    EXPECT_NEAR(std::asin(m.camera->Position().z / d) * DegParRad, 89, 1e-2f);
}

TEST(Vue, CentrePixelLooksAtTheTarget) {
    Montage m;
    const TVecteur3f v = m.vue.VecteurEcran(400, 250);
    const TVecteur3f attendu = Unitaire(m.cible->PositionAbsolue() - m.camera->PositionAbsolue());
    EXPECT_NEAR(Scal(v, attendu), 1, 1e-6f);
    TVecteur3f p;
    ASSERT_TRUE(m.vue.IntersectionPlanZ(400, 250, 0, p));
    EXPECT_NEAR(p.x, 10, 1e-2f);
    EXPECT_NEAR(p.y, 20, 1e-2f);
}

TEST(Vue, ProjectionAndPickingRayAgree) {
    Montage m;
    const TVecteur3f point{-30, 45, 2};
    float x, y;
    ASSERT_TRUE(m.vue.Projette(point, x, y));
    TVecteur3f p;
    ASSERT_TRUE(m.vue.IntersectionPlanZ(x, y, 2, p));
    EXPECT_NEAR(p.x, -30, 1e-2f);
    EXPECT_NEAR(p.y, 45, 1e-2f);
    // the top of the picture is the camera's up side
    float xh, yh;
    ASSERT_TRUE(m.vue.Projette({10, 20, 50}, xh, yh));
    EXPECT_GT(yh, 250);
}

TEST(Vue, RayAwayFromThePlaneHasNoIntersection) {
    Montage m;
    TVecteur3f p;
    EXPECT_FALSE(m.vue.IntersectionPlanZ(400, 250, 1000, p));
}

TEST(Vue, RaySphereGivesTheNearSideOrNothing) {
    TVecteur3f p;
    ASSERT_TRUE(IntersectionRayonSphere({0, 0, 10}, {0, 0, -1}, {0, 0, 0}, 2, p));
    EXPECT_FLOAT_EQ(p.z, 2);
    EXPECT_FALSE(IntersectionRayonSphere({0, 0, 10}, {0, 0, 1}, {0, 0, 0}, 2, p));
    EXPECT_FALSE(IntersectionRayonSphere({3, 0, 10}, {0, 0, -1}, {0, 0, 0}, 2, p));
    ASSERT_TRUE(IntersectionRayonSphere({0, 0, 0}, {1, 0, 0}, {0, 0, 0}, 2, p));
    EXPECT_FLOAT_EQ(p.x, 2);
}

TEST(Cadenceur, RaisesOneProgressPerFrameOnlyWhileEnabled) {
    double t = 5;
    TCadenceur c([&] { return t; });
    int images = 0, demandes = 0;
    double dernierEcoule = -1, dernierMaintenant = -1;
    c.OnProgression = [&](double e, double m) {
        ++images;
        dernierEcoule = e;
        dernierMaintenant = m;
    };
    c.OnDemandeImage = [&] { ++demandes; };
    c.ImageRendue();
    EXPECT_EQ(images, 0);
    c.SetActif(true);
    EXPECT_EQ(demandes, 1);
    t = 6;
    c.ImageRendue();
    EXPECT_EQ(dernierEcoule, 0);
    EXPECT_EQ(dernierMaintenant, 1);
    t = 6.5;
    c.ImageRendue();
    EXPECT_EQ(images, 2);
    EXPECT_DOUBLE_EQ(dernierEcoule, 0.5);
    EXPECT_DOUBLE_EQ(c.Temps(), 1.5);
    c.SetActif(false);
    c.ImageRendue();
    EXPECT_EQ(images, 2);
}
