#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/Maillage.h"
#include "view3d/GLBillard.h"
#include "view3d/GLBillardCam.h"

namespace {
constexpr float W = 142.25f, C = 5.25f, A = 3.7f, D = 7.75f;

// the corners of a cushion prism in the scene's frame, at one end
std::vector<TVecteur3f> Coins(const TCylindre& b, bool haut) {
    std::vector<TVecteur3f> v;
    for (int i = 0; i < b.Tranches(); ++i) v.push_back(b.LocalVersAbsolu(CoinCylindre(b, i, haut)));
    return v;
}

struct Table {
    TScene scene;
    TVue vue{scene};
    TGLBillard2Cam billard{scene, vue};
};
}  // namespace

TEST(GLBillard, CushionNoseLiesOnTheBorderOfThePlayingAreaAlongItsWholeLength) {
    Table t;
    // +X, -X, +Y, -Y: the nose is the corner nearest the table centre
    for (int k = 0; k < 4; ++k) {
        for (bool bout : {false, true}) {
            auto coins = Coins(*t.billard.ProfilsBandes[k], bout);
            const auto distance = [k](const TVecteur3f& p) {
                return k < 2 ? std::fabs(p.x) : std::fabs(p.y);
            };
            std::sort(coins.begin(), coins.end(),
                      [&](const TVecteur3f& a, const TVecteur3f& b) { return distance(a) < distance(b); });
            const TVecteur3f nez = coins[0];
            EXPECT_NEAR(distance(nez), k < 2 ? W / 2 : W, 1e-4f) << "cushion " << k;
            EXPECT_NEAR(nez.z, A, 1e-4f) << "cushion " << k;
            // the upper face rises at 15 degrees to the rail, level with its top
            const TVecteur3f haut = coins[2];
            EXPECT_NEAR(distance(haut), distance(nez) + C, 1e-3f);
            EXPECT_NEAR(haut.z, A + C * std::tan(15 * RadParDeg), 1e-3f);
        }
    }
    // the +X nose runs the whole length of the cushion
    const auto a = Coins(*t.billard.ProfilsBandes[0], false), b = Coins(*t.billard.ProfilsBandes[0], true);
    EXPECT_NEAR(std::fabs(a[0].y - b[0].y), 2 * (W + C), 1e-3f);
}

TEST(GLBillard, DiamondsSitOnTheRailsEveryEighthOfTheLength) {
    Table t;
    const float dessus = A + C * std::tan(15 * RadParDeg);
    for (int k = 0; k < 4; ++k) {
        const TBoite& cadre = *t.billard.Cadres[k];
        EXPECT_NEAR(cadre.PositionAbsolue().z + cadre.Profondeur() / 2, dessus, 1e-4f);
        const int n = k < 2 ? 9 : 5;
        ASSERT_EQ(int(cadre.Enfants().size()), n);
        for (int i = 0; i < n; ++i) {
            const auto& d = static_cast<const TDisque&>(*cadre.Enfants()[size_t(i)]);
            const TVecteur3f p = d.PositionAbsolue();
            EXPECT_EQ(d.Tranches(), 4);
            EXPECT_NEAR(d.RayonExterieur(), D / 6, 1e-6f);
            EXPECT_NEAR(p.z, dessus + 0.1f, 1e-4f);
            if (k < 2) {
                EXPECT_NEAR(p.y, -W + float(i) * W / 4, 1e-3f);
                EXPECT_NEAR(std::fabs(p.x), W / 2 + C + D / 2, 1e-4f);
            } else {
                EXPECT_NEAR(std::fabs(p.x), std::fabs(-W / 2 + float(i) * W / 4), 1e-3f);
                EXPECT_NEAR(std::fabs(p.y), W + C + D / 2, 1e-4f);
            }
        }
    }
}

TEST(GLBillard, ClothAndSpotsHaveTheMatchTableSizes) {
    Table t;
    EXPECT_FLOAT_EQ(t.billard.Tapis->Largeur(), 152.75f);
    EXPECT_FLOAT_EQ(t.billard.Tapis->Hauteur(), 295);
    EXPECT_FLOAT_EQ(t.billard.Mouches[0]->Position().x, -18.25f);
    EXPECT_FLOAT_EQ(t.billard.Mouches[2]->Position().x, 18.25f);
    EXPECT_FLOAT_EQ(t.billard.Mouches[4]->Position().y, W / 2);
    EXPECT_FLOAT_EQ(TGLBillard::EcartMouche(127.5f), 16.3f);
}

TEST(GLBillard2Cam, CamerasStartMobileAndSwitchInTheViewer) {
    Table t;
    EXPECT_TRUE(t.billard.CamMobileActive);
    EXPECT_EQ(t.vue.Camera(), t.billard.CamMobile);
    EXPECT_FLOAT_EQ(t.billard.CamFixe->Profondeur(), 900);
    EXPECT_FLOAT_EQ(t.billard.CamMobile->Profondeur(), 900);
    t.billard.ActiveCamMobile(false);
    EXPECT_EQ(t.vue.Camera(), t.billard.CamFixe);
    // the ceiling camera shows the long axis across the picture
    float x1, y1, x2, y2;
    t.vue.SetTaille(1280, 800);
    ASSERT_TRUE(t.vue.Projette({0, -W, 0}, x1, y1));
    ASSERT_TRUE(t.vue.Projette({0, W, 0}, x2, y2));
    EXPECT_NEAR(y1, y2, 1e-2f);
    EXPECT_GT(std::fabs(x2 - x1), 400);
}

TEST(GLBillard2Cam, ZoomByNotchesIsReversible) {
    Table t;
    const float d = t.billard.CamMobile->DistanceCible();
    t.billard.Zoom(0);
    EXPECT_FLOAT_EQ(t.billard.CamMobile->DistanceCible(), d);
    t.billard.Zoom(120);
    EXPECT_NEAR(t.billard.CamMobile->DistanceCible(), d * 1.1f, 1e-3f);
    t.billard.Zoom(-120);
    EXPECT_NEAR(t.billard.CamMobile->DistanceCible(), d, 1e-3f);
}

TEST(GLBillard2Cam, MouseMovesOnlyTheMobileCameraButTheWheelZoomsBoth) {
    Table t;
    t.billard.ActiveCamMobile(false);
    const TVecteur3f avant = t.billard.CamFixe->PositionAbsolue();
    t.billard.SourisCamera(10, 10, 0);
    t.billard.SourisCamera(200, 300, ssGauche);
    t.billard.SourisCamera(100, 30, ssDroit);
    EXPECT_EQ(t.billard.CamFixe->PositionAbsolue(), avant);
    EXPECT_EQ(t.billard.CibleMobile->Position(), (TVecteur3f{}));
    t.billard.Zoom(-120);
    EXPECT_NEAR(t.billard.CamFixe->DistanceCible(), 600 / 1.1f, 1e-3f);
}

TEST(GLBillard2Cam, PanningMakesTheTableFollowTheMouse) {
    Table t;
    t.vue.SetTaille(800, 600);
    TVecteur3f sous1, sous2;
    ASSERT_TRUE(t.vue.IntersectionPlanZ(400, 300, 0, sous1));
    t.billard.SourisCamera(400, 300, 0);
    t.billard.SourisCamera(450, 340, ssGauche);
    // the table point first under the mouse moved the same way as the mouse
    float x, y;
    ASSERT_TRUE(t.vue.Projette(sous1, x, y));
    EXPECT_GT(x, 400);
    EXPECT_LT(y, 300);  // rows from the bottom: the mouse went down
    EXPECT_EQ(t.billard.CibleMobile->Position().z, 0);
    EXPECT_EQ(t.billard.DernierX, 450);
    EXPECT_EQ(t.billard.DernierY, 340);
    (void)sous2;
}

TEST(GLBillard2Cam, RightDragOrbitsOneDegreePerPixel) {
    Table t;
    const float d = t.billard.CamMobile->DistanceCible();
    t.billard.SourisCamera(0, 0, 0);
    t.billard.SourisCamera(-90, 0, ssDroit);
    const TVecteur3f p = t.billard.CamMobile->Position();
    EXPECT_NEAR(p.x, 0, 1e-2f);
    EXPECT_NEAR(p.y, 300, 1e-2f);
    EXPECT_NEAR(t.billard.CamMobile->DistanceCible(), d, 1e-2f);
}
