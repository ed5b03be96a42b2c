#include <gtest/gtest.h>

#include <cmath>

#include "view3d/GLBilles.h"

namespace {
void ExpectVec(const TVecteur3f& a, const TVecteur3f& b, float tol = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

struct Cue {
    TScene scene;
    TVue vue{scene};
    TGLBilles bille{scene, 0, 1};
    TGLQueue queue{scene, vue};
    int effetHauteur = 0, inclinaisons = 0, vitesses = 0, masses = 0;
    Cue() {
        queue.OnEffetHauteur = [this](TGLQueue&) { ++effetHauteur; };
        queue.OnInclinaison = [this](TGLQueue&) { ++inclinaisons; };
        queue.OnVitesse = [this](TGLQueue&) { ++vitesses; };
        queue.OnMasse = [this](TGLQueue&) { ++masses; };
        bille.SetPosition({10, 20, 3.075f});
        queue.Attache(&bille);
    }
};
}  // namespace

TEST(GLBilles, BallRestsOnTheClothWithItsShadowJustAbove) {
    TScene s;
    TGLBilles b(s, 0, 2);
    EXPECT_EQ(b.Nom, "Rouge");
    EXPECT_FLOAT_EQ(b.Rayon(), 3.075f);
    EXPECT_FLOAT_EQ(b.Coord(2), 3.075f);
    EXPECT_FLOAT_EQ(b.Ombre->Position().z, 0.4f);
    EXPECT_EQ(b.Couleur(), (TCouleur{1, 0, 0, 1}));
    EXPECT_EQ(TGLBilles(s, 0, 0).Nom, "Jaune");
    b.SetRayon(3);
    EXPECT_FLOAT_EQ(b.Coord(2), 3);
    // a soft shadow: a darker core and fainter rings reaching past the ball's edge
    EXPECT_LT(b.Ombre->RayonExterieur(), 3);
    ASSERT_EQ(b.Ombre->Enfants().size(), 2u);
    const auto& anneau = static_cast<const TDisque&>(*b.Ombre->Enfants().back());
    EXPECT_GT(anneau.RayonExterieur(), 3);
    EXPECT_LT(anneau.Materiau().Diffuse.a, b.Ombre->Materiau().Diffuse.a);
}

TEST(GLBilles, MovesFireTheEventExceptTheSilentOne) {
    TScene s;
    TGLBilles b(s, 0, 1);
    int n = 0;
    b.OnDeplace = [&](TGLBilles&) { ++n; };
    b.SetPosition({1, 2, 3});
    b.Deplace({1, 1, 0});
    b.SetCoord(0, 5);
    b.SetCoord(7, 9);
    EXPECT_EQ(n, 4);
    ExpectVec(b.LitPosition(), {5, 3, 3});
    EXPECT_FLOAT_EQ(b.Coord(5), 3);
    b.PlaceSilencieux({-4, -5, 3});
    EXPECT_EQ(n, 4);
    ExpectVec(b.Ombre->Position(), {-4, -5, 0.4f});
}

TEST(GLBilles, PickingStoresTheHitPoint) {
    TScene s;
    TGLBilles b(s, 0, 1);
    b.SetPosition({0, 0, 3.075f});
    EXPECT_TRUE(b.Intersecte({0, 0, 100}, {0, 0, -1}));
    ExpectVec(b.PointPris, {0, 0, 6.15f});
    EXPECT_FALSE(b.Intersecte({10, 0, 100}, {0, 0, -1}));
    ExpectVec(b.PointPris, {0, 0, 6.15f});
}

TEST(GLBilles, TrajectoryShownOnlyThroughTheOwnersHandler) {
    TScene s;
    TGLBilles b(s, 0, 1);
    b.SetTrajetVisible(true);
    EXPECT_TRUE(b.TrajetVide());
    b.OnDessineTrajet = [](TGLBilles&, TLignes& l) {
        l.AjouteNoeud({0, 0, 0});
        l.AjouteNoeud({1, 0, 0});
        l.SetVisible(true);
    };
    b.SetTrajetVisible(true);
    EXPECT_FALSE(b.TrajetVide());
    b.SetVR({10, 0, 0}, {0, 5, 0});
    ExpectVec(b.LignesVR->Noeuds()[0], {2, 0, 0});
    ExpectVec(b.LignesVR->Noeuds()[2], {0, 1, 0});
    // each vector ends in an arrowhead: barbs behind the tip, either side of it
    const auto& v = b.FlecheV->Noeuds();
    ExpectVec(v[1], {2, 0, 0});
    EXPECT_LT(v[0].x, 2);
    EXPECT_LT(v[2].x, 2);
    EXPECT_NEAR(v[0].y, -v[2].y, 1e-5f);
    EXPECT_GT(std::abs(v[0].y), 0.1f);
    ExpectVec(b.FlecheR->Noeuds()[1], {0, 1, 0});
    b.SetTrajetVisible(false);
    EXPECT_TRUE(b.TrajetVide());
    EXPECT_FALSE(b.Trajet->Visible());
    ExpectVec(b.LignesVR->Noeuds()[0], {0, 0, 0});
    ExpectVec(b.LignesVR->Noeuds()[2], {0, 0, 0});
    ExpectVec(b.FlecheV->Noeuds()[1], {0, 0, 0});
}

TEST(GLQueue, InclinationOutsideZeroToNinetyIsIgnored) {
    Cue c;
    c.queue.SetInclinaison(90);
    c.queue.SetInclinaison(-1);
    EXPECT_EQ(c.inclinaisons, 0);
    EXPECT_FLOAT_EQ(c.queue.Inclinaison(), 0);
    c.queue.SetInclinaison(89.9f);
    EXPECT_FLOAT_EQ(c.queue.Inclinaison(), 89.9f);
    c.queue.SetInclinaison(0);
    EXPECT_EQ(c.inclinaisons, 2);
}

TEST(GLQueue, SpeedAndMassAreClampedAndStillAnnounced) {
    Cue c;
    EXPECT_FLOAT_EQ(c.queue.Masse(), 520);
    c.queue.SetVitesse(-5);
    c.queue.SetMasse(0.5f);
    EXPECT_FLOAT_EQ(c.queue.Vitesse(), 0);
    EXPECT_FLOAT_EQ(c.queue.Masse(), 1);
    EXPECT_EQ(c.vitesses, 1);
    EXPECT_EQ(c.masses, 1);
}

TEST(GLQueue, ImpactMarkerShownOnlyWhenTheAxisMeetsTheBall) {
    Cue c;
    c.queue.SetEffetHauteur(2, 2);
    EXPECT_TRUE(c.queue.MarqueImpact->Visible());
    const float k = 3.075f * 3.075f - 8;
    EXPECT_NEAR(c.queue.MarqueImpact->Position().x, 10 - std::sqrt(k), 1e-5f);
    // the marker lies on the ball's surface
    const TVecteur3f m = c.queue.MarqueImpact->PositionAbsolue();
    EXPECT_NEAR(Norme(m - c.bille.LitPosition()), 3.075f, 1e-4f);
    c.queue.SetEffetHauteur(3, 1);
    EXPECT_FALSE(c.queue.MarqueImpact->Visible());
    EXPECT_EQ(c.effetHauteur, 2);
    EXPECT_FLOAT_EQ(c.queue.Effet(), 3);
    EXPECT_FLOAT_EQ(c.queue.Hauteur(), 1);
}

TEST(GLQueue, AimAndInclinationHaveTheirGeometricMeaning) {
    Cue c;
    c.queue.SetVisee(30);
    ExpectVec(c.queue.DirectionVisee(), {0.8660254f, 0.5f, 0});
    c.queue.SetInclinaison(10);
    c.queue.SetEffetHauteur(1, 0.5f);
    // the tip lies behind the ball, right of the centre seen from the cue, raised with the butt
    const TVecteur3f pointe = c.queue.PorteProcede->PositionAbsolue() - c.bille.LitPosition();
    const TVecteur3f a = c.queue.DirectionVisee();
    EXPECT_LT(Scal(pointe, a), -9);
    EXPECT_LT(Vect(a, pointe).z, 0);
    EXPECT_GT(pointe.z, 10 * std::sin(10 * RadParDeg));
    // the tip's dome points at the ball centre
    const TVecteur3f axe = c.queue.Procede->MatriceAbsolue().Vecteur({0, 1, 0});
    EXPECT_NEAR(Scal(axe, Unitaire(TVecteur3f{a.x, a.y, 0})), std::cos(10 * RadParDeg), 1e-4f);
    EXPECT_LT(axe.z, 0);
}

TEST(GLQueue, AttachingParksHidesAndRemembers) {
    Cue c;
    EXPECT_EQ(c.queue.PivotVisee->Parent(), c.bille.Sphere);
    ExpectVec(c.queue.PivotVisee->PositionAbsolue(), c.bille.LitPosition());
    c.queue.Detache();
    EXPECT_EQ(c.queue.Bille, nullptr);
    EXPECT_FALSE(c.queue.PivotVisee->Visible());
    // parking an already parked cue keeps its visibility
    c.queue.PivotVisee->SetVisible(true);
    c.queue.Attache(nullptr);
    EXPECT_TRUE(c.queue.PivotVisee->Visible());
    c.queue.Rattache();
    EXPECT_EQ(c.queue.Bille, &c.bille);
    EXPECT_EQ(c.queue.PivotVisee->Parent(), c.bille.Sphere);
    // attaching the held ball again moves nothing
    c.queue.PivotVisee->SetPosition({1, 0, 0});
    c.queue.Attache(&c.bille);
    ExpectVec(c.queue.PivotVisee->Position(), {1, 0, 0});
}

TEST(GLQueue, ClickInTheCueViewPutsTheTipBehindTheClickedPoint) {
    Cue c;
    c.vue.SetTaille(1500, 1000);
    ASSERT_EQ(c.vue.Camera(), c.queue.CamQueue);
    // a point of the ball's surface, up and to the right, seen from the cue camera
    const TVecteur3f local{-3, -1, 1.5f};
    const TVecteur3f surface = c.queue.PivotInclinaison->LocalVersAbsolu(local * (3.075f / Norme(local)));
    float x, y;
    ASSERT_TRUE(c.vue.Projette(surface, x, y));
    c.queue.PointeSouris(int(std::lround(x)), 1000 - int(std::lround(y)));
    EXPECT_NEAR(c.queue.Effet(), 1 * 3.075f / Norme(local), 0.05f);
    EXPECT_NEAR(c.queue.Hauteur(), 1.5f * 3.075f / Norme(local), 0.05f);
    // a click beside the ball changes nothing
    c.queue.PointeSouris(0, 0);
    EXPECT_NEAR(c.queue.Hauteur(), 1.5f * 3.075f / Norme(local), 0.05f);
}
