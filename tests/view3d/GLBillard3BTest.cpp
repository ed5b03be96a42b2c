#include <gtest/gtest.h>

#include <cmath>

#include "view3d/GLBillard3B.h"
#include "view3d/GLBillardQueue.h"

namespace {
struct Table3B {
    TScene scene;
    TVue vue{scene};
    TGLBillard3B billard{scene, vue};
    Table3B() {
        vue.SetTaille(1280, 800);
        billard.ActiveCamMobile(false);
        // the balls start together at the centre: the red leaves first
        billard.Rouge->SetPosition({30, 50, 3.075f});
        billard.Blanche->SetPosition({-30, -50, 3.075f});
        billard.Jaune->SetPosition({0, 0, 3.075f});
    }
    // pixel (rows from the top, as the mouse gives them) of a scene point; false when it is not
    // in front of the camera (the caller asserts, so no test goes on with a made-up pixel)
    [[nodiscard]] bool Pixel(const TVecteur3f& p, int& x, int& y) const {
        float fx = 0, fy = 0;
        if (!vue.Projette(p, fx, fy)) return false;
        x = int(std::lround(fx));
        y = vue.Hauteur() - int(std::lround(fy));
        return true;
    }
};

struct TableQueue {
    TScene scene;
    TVue vue{scene}, vueQueue{scene};
    TGLBillardQueue billard{scene, vue, vueQueue};
};
}  // namespace

TEST(GLBillard3B, DraggingBeyondACushionStopsTheCentreAtTheBound) {
    Table3B t;
    int x = 0, y = 0;
    ASSERT_TRUE(t.Pixel(t.billard.Jaune->LitPosition() + TVecteur3f{0, 0, 3.075f}, x, y));
    ASSERT_TRUE(t.billard.PrendBille(x, y));
    ASSERT_EQ(t.billard.BilleChoisie, t.billard.Jaune);
    int deplacements = 0;
    t.billard.OnBilleDeplacee = [&](TGLBilles&) { ++deplacements; };
    // the ceiling camera has -X at the top of the picture
    for (int i = 1; i <= 40; ++i) t.billard.GlisseBille(x, y - 10 * i);
    EXPECT_FLOAT_EQ(t.billard.Jaune->Coord(0), -68.05f);
    EXPECT_NEAR(t.billard.Jaune->Coord(1), 0, 0.05f);
    EXPECT_EQ(deplacements, 40);
    // the grab point went on with the mouse
    EXPECT_LT(t.billard.Jaune->PointPris.x, -90);
    t.billard.Jaune->SetPosition({0, 500, 3.075f});
    EXPECT_FLOAT_EQ(t.billard.Jaune->Coord(1), 139.175f);
}

TEST(GLBillard3B, DroppingOnAnotherBallLeavesThemExactlyOneDiameterApart) {
    Table3B t;
    const TVecteur3f rouge = t.billard.Rouge->LitPosition();
    t.billard.Jaune->SetPosition(rouge + TVecteur3f{1, 2, 0});
    const TVecteur3f j = t.billard.Jaune->LitPosition();
    EXPECT_NEAR(std::hypot(j.x - rouge.x, j.y - rouge.y), 6.15f, 1e-5f);
    // on the line from the red through the dropped position
    EXPECT_NEAR((j.y - rouge.y) / (j.x - rouge.x), 2, 1e-4f);
    EXPECT_FLOAT_EQ(t.billard.Rouge->LitPosition().x, rouge.x);
    // on the very centre: pushed along a fixed direction
    t.billard.Jaune->SetPosition(rouge);
    EXPECT_NEAR(Norme(t.billard.Jaune->LitPosition() - rouge), 6.15f, 1e-5f);
}

TEST(GLBillard3B, PickingFollowsTheFixedOrderNotTheDistance) {
    Table3B t;
    // the red and the yellow between the camera and the white: the ray meets the red first
    const TVecteur3f blanche{20, 20, 3.075f};
    const TVecteur3f camera = t.vue.PositionCamera();
    t.billard.Blanche->PlaceSilencieux(blanche);
    t.billard.Jaune->PlaceSilencieux(blanche + (camera - blanche) * 0.1f);
    t.billard.Rouge->PlaceSilencieux(blanche + (camera - blanche) * 0.2f);
    int x = 0, y = 0;
    ASSERT_TRUE(t.Pixel(blanche, x, y));
    ASSERT_TRUE(t.billard.PrendBille(x, y));
    EXPECT_EQ(t.billard.BilleChoisie, t.billard.Blanche);
    t.billard.Blanche->PlaceSilencieux({-20, -20, 3.075f});
    ASSERT_TRUE(t.billard.PrendBille(x, y));
    EXPECT_EQ(t.billard.BilleChoisie, t.billard.Jaune);
}

TEST(GLBillard3B, EmptyPressChoosesNoneOnce) {
    Table3B t;
    int choix = 0;
    TGLBilles* dernier = t.billard.Rouge;
    t.billard.OnChoix = [&](TGLBilles* b) {
        ++choix;
        dernier = b;
    };
    int x = 0, y = 0;
    ASSERT_TRUE(t.Pixel(t.billard.Rouge->LitPosition(), x, y));
    ASSERT_TRUE(t.billard.PrendBille(x, y));
    EXPECT_FALSE(t.billard.PrendBille(5, 5));
    EXPECT_FALSE(t.billard.PrendBille(6, 5));
    EXPECT_EQ(choix, 2);
    EXPECT_EQ(dernier, nullptr);
    EXPECT_EQ(t.billard.BilleChoisie, nullptr);
    t.billard.GlisseBille(100, 100);
}

TEST(GLBillardQueue, PlayersBallChoiceAndTheOtherCueBall) {
    TableQueue t;
    EXPECT_EQ(t.billard.BilleJoueur, t.billard.Blanche);
    EXPECT_EQ(t.billard.BilleNonJoueur, t.billard.Jaune);
    int appels = 0;
    TGLBilles* recu = t.billard.Rouge;
    t.billard.OnBilleJoueur = [&](TGLBilles* b) {
        ++appels;
        recu = b;
    };
    t.billard.SetBilleJoueur(t.billard.Jaune);
    EXPECT_EQ(t.billard.BilleNonJoueur, t.billard.Blanche);
    EXPECT_EQ(t.billard.Queue->Bille, t.billard.Jaune);
    EXPECT_EQ(recu, t.billard.Jaune);
    t.billard.SetBilleJoueur(nullptr);
    EXPECT_EQ(t.billard.BilleJoueur, t.billard.Blanche);
    EXPECT_EQ(t.billard.BilleNonJoueur, t.billard.Jaune);
    EXPECT_EQ(recu, nullptr);
    EXPECT_EQ(appels, 2);
}

TEST(GLBillardQueue, OpeningPositionPutsTheBallsOnTheirSpotsAndSetsTheCue) {
    TableQueue t;
    t.billard.SetBilleJoueur(t.billard.Jaune);
    t.billard.PositionDepart(false);
    EXPECT_EQ(t.billard.Jaune->LitPosition(), (TVecteur3f{-18.25f, -71.125f, 3.075f}));
    EXPECT_EQ(t.billard.Blanche->LitPosition(), (TVecteur3f{0, -71.125f, 3.075f}));
    EXPECT_EQ(t.billard.Rouge->LitPosition(), (TVecteur3f{0, 71.125f, 3.075f}));
    auto& q = *t.billard.Queue;
    EXPECT_FLOAT_EQ(q.Visee(), 99.14f);
    EXPECT_FLOAT_EQ(q.Inclinaison(), 3);
    EXPECT_FLOAT_EQ(q.Effet(), 0.62f);
    EXPECT_FLOAT_EQ(q.Hauteur(), 1.17f);
    EXPECT_FLOAT_EQ(q.Vitesse(), 430);
    EXPECT_EQ(q.Bille, t.billard.Jaune);
    t.billard.SetBilleJoueur(t.billard.Blanche);
    t.billard.PositionDepart(true);
    EXPECT_FLOAT_EQ(t.billard.Blanche->Coord(0), 18.25f);
}

TEST(GLBillardQueue, MouseAimPointsTheCueFromTheBallTowardsTheMouse) {
    TableQueue t;
    t.vue.SetTaille(1000, 700);
    t.billard.ActiveCamMobile(false);
    t.billard.PositionDepart(true);
    const TVecteur3f b = t.billard.Blanche->LitPosition();
    const TVecteur3f cible{b.x - 20, b.y + 20, b.z};
    float x, y;
    ASSERT_TRUE(t.vue.Projette(cible, x, y));
    t.billard.ViseSouris(int(std::lround(x)), 700 - int(std::lround(y)));
    EXPECT_NEAR(t.billard.Queue->Visee(), 135, 0.5f);
}

TEST(GLBillardQueue, TheDrawnCueRisesOverTheRailsBehindABallNearACushion) {
    TableQueue t;
    TGLBillardQueue& b = t.billard;
    TGLQueue& q = *b.Queue;
    q.SetInclinaison(3);
    q.SetEffetHauteur(0, 0);
    // in the middle, aimed along the table: the usual 3 degrees clear the far rail
    b.Blanche->SetPosition({0, 0, 3.075f});
    q.SetVisee(90);
    EXPECT_FLOAT_EQ(q.Releve->Virage(), 0);
    // a level cue would hit the rail's side, even from the middle
    q.SetInclinaison(0);
    EXPECT_GT(q.Releve->Virage(), 0);
    // close to the side cushion, aimed away from it: the butt would pass through the rail
    b.Blanche->SetPosition({b.DemiLargeur - 20, 0, 3.075f});
    q.SetVisee(180);
    const float releve = q.Releve->Virage();
    EXPECT_GT(releve, 5);
    // the shaft passes over the rail's top at the cushion's nose line
    const float angle = (q.Inclinaison() + releve) * RadParDeg;
    const TVecteur3f pointe = q.Releve->PositionAbsolue();
    const float d = b.DemiLargeur - pointe.x;
    const float dessus = b.Cadres[0]->PositionAbsolue().z + b.Cadres[0]->Profondeur() / 2;
    EXPECT_GT(pointe.z + d * std::tan(angle), dessus + 1);
    // the inclination itself, the one the physics plays, is untouched; a steeper one needs no lift
    EXPECT_FLOAT_EQ(q.Inclinaison(), 0);
    q.SetInclinaison(60);
    EXPECT_FLOAT_EQ(q.Releve->Virage(), 0);
    // a ball against the cushion: the tip lies over it, the cue rises steeply but stays a cue
    q.SetInclinaison(0);
    b.Blanche->SetPosition({b.DemiLargeur - 4, 0, 3.075f});
    EXPECT_GT(q.Releve->Virage(), 20);
    EXPECT_LT(q.Releve->Virage(), 85);
    // the cue follows its ball back to the middle
    q.SetInclinaison(3);
    b.Blanche->SetPosition({0, 0, 3.075f});
    q.SetVisee(90);
    EXPECT_FLOAT_EQ(q.Releve->Virage(), 0);
}

TEST(GLBillardQueue, TheAimLineEndsOnTheCushionNoseItMeetsWhereverTheBallAndTheAim) {
    TableQueue t;
    TGLBillardQueue& b = t.billard;
    const float W = b.Largeur;
    for (const TVecteur3f depart : {TVecteur3f{0, 0, 0}, {60, -130, 0}, {-67, 139, 0}, {10, 100, 0}}) {
        b.BilleJoueur->SetPosition({depart.x, depart.y, b.BilleJoueur->Rayon()});
        for (float visee = -180; visee < 180; visee += 7.5f) {
            b.Queue->SetVisee(visee);
            const TVecteur3f centre = b.BilleJoueur->LitPosition();
            const TVecteur3f fin = b.Queue->LigneVisee->LocalVersAbsolu(b.Queue->LigneVisee->Noeuds()[1]);
            // on one of the nose lines, within the playing area's border
            const bool surLongue =
                std::fabs(std::fabs(fin.x) - W / 2) < 1e-3f && std::fabs(fin.y) <= W + 1e-3f;
            const bool surCourte =
                std::fabs(std::fabs(fin.y) - W) < 1e-3f && std::fabs(fin.x) <= W / 2 + 1e-3f;
            EXPECT_TRUE(surLongue || surCourte)
                << visee << " from " << centre.x << ',' << centre.y << " ends at " << fin.x << ',' << fin.y;
            // straight ahead of the ball, along the aim
            const TVecteur3f u = b.Queue->DirectionVisee();
            const TVecteur3f d = fin - centre;
            EXPECT_NEAR(d.x * u.y - d.y * u.x, 0, 1e-2f) << visee;
            EXPECT_GE(d.x * u.x + d.y * u.y, 0) << visee;
        }
    }
}
