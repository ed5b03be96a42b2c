// The cameras keep the table in sight: the fit to a picture, the reserve corner, the zoom limits
// and the mobile camera's eye kept over the cloth whatever the mouse does.
#include <gtest/gtest.h>

#include <random>

#include "view3d/GLBillardCam.h"

namespace {

struct Table {
    TScene scene;
    TVue vue{scene};
    TGLBillard2Cam billard{scene, vue};
};

// the table's outer corners at the rails' top (the widest the table shows from above) and on the cloth
std::vector<TVecteur3f> CoinsTable(const TGLBillard2Cam& b) {
    const float x = b.DemiLargeur + b.LargeurBande + b.Cadres[0]->Largeur();
    const float y = b.Largeur + b.LargeurBande + b.Cadres[0]->Largeur();
    const float haut = b.Cadres[0]->PositionAbsolue().z + b.Cadres[0]->Profondeur() / 2;
    std::vector<TVecteur3f> c;
    for (float z : {0.0f, haut})
        for (float sx : {-1.0f, 1.0f})
            for (float sy : {-1.0f, 1.0f}) c.push_back({sx * x, sy * y, z});
    return c;
}

// every corner inside the picture, none in the reserve at its top right (rows from the bottom)
::testing::AssertionResult TableEnVue(const TVue& vue, const TGLBillard2Cam& b, TReserveImage reserve = {}) {
    for (const TVecteur3f& p : CoinsTable(b)) {
        float x, y;
        if (!vue.Projette(p, x, y)) return ::testing::AssertionFailure() << "corner behind the camera";
        if (x < 0 || y < 0 || x > float(vue.Largeur()) || y > float(vue.Hauteur()))
            return ::testing::AssertionFailure() << "corner at " << x << ", " << y << " out of the picture";
        if (x > float(vue.Largeur() - reserve.Largeur) && y > float(vue.Hauteur() - reserve.Hauteur))
            return ::testing::AssertionFailure() << "corner at " << x << ", " << y << " in the reserve";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(CadrageCamera, TheCeilingCameraFitsTheWholeTableToWideNarrowAndTallPictures) {
    for (const auto& [l, h] : {std::pair{1200, 700}, {700, 700}, {500, 900}, {1600, 300}}) {
        Table t;
        t.billard.ActiveCamMobile(false);
        t.vue.SetTaille(l, h);
        t.billard.Cadre(l, h);
        EXPECT_TRUE(TableEnVue(t.vue, t.billard)) << l << 'x' << h;
        // fitted, not lost in the distance: one notch nearer and a corner leaves the picture
        t.billard.Zoom(-120);
        EXPECT_FALSE(TableEnVue(t.vue, t.billard)) << l << 'x' << h;
    }
}

TEST(CadrageCamera, TheTableLeavesTheReservedCornerFreeAndTheMobileCameraSeesItWholeToo) {
    Table t;
    const TReserveImage panneau{135, 97};
    t.vue.SetTaille(1000, 560);
    t.billard.Cadre(1000, 560, panneau);
    EXPECT_TRUE(TableEnVue(t.vue, t.billard, panneau));
    t.billard.ActiveCamMobile(false);
    EXPECT_TRUE(TableEnVue(t.vue, t.billard, panneau));
}

TEST(CadrageCamera, WhenTheViewChangesSizeTheZoomIsKeptRelativeToTheFit) {
    Table t;
    t.billard.ActiveCamMobile(false);
    t.billard.Cadre(1200, 800);
    const float ajuste = t.billard.CamFixe->DistanceCible();
    t.billard.Zoom(-240);
    const float zoome = t.billard.CamFixe->DistanceCible();
    // docks take half the width: the table must stand farther, the zoom stays what it was
    t.billard.Cadre(600, 800);
    const float ajusteEtroit = t.billard.DistanceCadrage(*t.billard.CamFixe, 600, 800, {});
    EXPECT_GT(ajusteEtroit, ajuste);
    EXPECT_NEAR(t.billard.CamFixe->DistanceCible() / ajusteEtroit, zoome / ajuste, 1e-4f);
    // and back: the same distance as before
    t.billard.Cadre(1200, 800);
    EXPECT_NEAR(t.billard.CamFixe->DistanceCible(), zoome, 1e-2f);
}

TEST(CadrageCamera, ZoomStaysWithinItsLimitsAndNeverBringsTheEyeDownToTheCloth) {
    for (bool mobile : {true, false}) {
        Table t;
        t.billard.ActiveCamMobile(mobile);
        TCamera& cam = *t.vue.Camera();
        for (int i = 0; i < 60; ++i) t.billard.Zoom(-120);
        EXPECT_GE(cam.DistanceCible(), TGLBillard2Cam::DistanceMin - 1e-3f);
        EXPECT_GE(cam.PositionAbsolue().z, TGLBillard2Cam::HauteurOeilMin - 1e-3f);
        for (int i = 0; i < 80; ++i) t.billard.Zoom(120);
        EXPECT_LE(cam.DistanceCible(), TGLBillard2Cam::DistanceMax + 1e-2f);
        // the far plane follows: the table is never cut off behind
        EXPECT_GT(cam.Profondeur(), cam.DistanceCible() + 300);
    }
    // low over the cloth, zooming in stops short instead of sliding along the line of sight
    Table t;
    t.billard.SourisCamera(0, 0, 0);
    t.billard.SourisCamera(0, 200, ssDroit);
    for (int i = 0; i < 60; ++i) t.billard.Zoom(-120);
    EXPECT_GE(t.billard.CamMobile->PositionAbsolue().z, TGLBillard2Cam::HauteurOeilMin - 1e-3f);
}

TEST(CadrageCamera, NoDragSequenceTakesTheEyeBelowTheClothIntoARailOrABallOrTheTargetAway) {
    std::mt19937 alea(20250);
    std::uniform_int_distribution<int> pas(-120, 120), bouton(0, 3);
    for (int essai = 0; essai < 40; ++essai) {
        Table t;
        t.vue.SetTaille(900, 600);
        int x = 450, y = 300;
        t.billard.SourisCamera(x, y, 0);
        for (int i = 0; i < 60; ++i) {
            x += pas(alea);
            y += pas(alea);
            const int b = bouton(alea);
            if (b == 3)
                t.billard.Zoom(pas(alea) * 4);
            else
                t.billard.SourisCamera(x, y, b == 0 ? ssGauche : b == 1 ? ssDroit : 0u);
            const TVecteur3f oeil = t.billard.CamMobile->PositionAbsolue();
            const TVecteur3f cible = t.billard.CibleMobile->PositionAbsolue();
            // over the balls (2 radii) and the rails' top
            ASSERT_GE(oeil.z, TGLBillard2Cam::HauteurOeilMin - 1e-3f) << essai << ' ' << i;
            ASSERT_LE(std::fabs(cible.x), t.billard.DemiLargeur + TGLBillard2Cam::MargeCible + 1e-3f);
            ASSERT_LE(std::fabs(cible.y), t.billard.Largeur + TGLBillard2Cam::MargeCible + 1e-3f);
            ASSERT_GE(t.billard.CamMobile->DistanceCible(), TGLBillard2Cam::DistanceMin - 1e-2f);
        }
    }
}
