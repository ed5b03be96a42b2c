#include <gtest/gtest.h>

#include "scene/Maillage.h"
#include "scene/Noeud.h"
#include "scene/Scene.h"

namespace {
void ExpectVec(const TVecteur3f& a, const TVecteur3f& b, float tol = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}
}  // namespace

TEST(Noeud, NewNodeHasItsParentsFrame) {
    TScene s;
    auto* n = s.Racine().AjouteEnfant<TFactice>();
    ExpectVec(n->Droite(), {1, 0, 0});
    ExpectVec(n->LocalVersAbsolu({1, 2, 3}), {1, 2, 3});
}

TEST(Noeud, RollTurnsTheUpVectorAboutTheDirection) {
    TScene s;
    auto* n = s.Racine().AjouteEnfant<TFactice>();
    n->SetRoulis(90);
    // the local X axis follows: (cos a, sin a, 0)
    ExpectVec(n->Haut(), {-1, 0, 0});
    ExpectVec(n->Droite(), {0, 1, 0});
    n->SetRoulis(30);
    EXPECT_FLOAT_EQ(n->Roulis(), 30);
    ExpectVec(n->Droite(), {0.8660254f, 0.5f, 0});
}

TEST(Noeud, TurnTiltsTheLocalXAxisDownForPositiveAngles) {
    TScene s;
    auto* n = s.Racine().AjouteEnfant<TFactice>();
    n->SetVirage(30);
    ExpectVec(n->Droite(), {0.8660254f, 0, -0.5f});
    ExpectVec(n->Haut(), {0, 1, 0});
    n->SetVirage(0);
    ExpectVec(n->Direction(), {0, 0, 1});
}

TEST(Noeud, SettingUpKeepsTheFrameOrthonormal) {
    TScene s;
    auto* n = s.Racine().AjouteEnfant<TBoite>();
    n->SetHaut({1, 0, 0});
    ExpectVec(n->Direction(), {0, 0, 1});
    ExpectVec(n->Droite(), {0, -1, 0});
    n->SetHaut({0, 0, 1});
    EXPECT_NEAR(Scal(n->Direction(), n->Haut()), 0, 1e-6f);
    EXPECT_NEAR(Norme(n->Direction()), 1, 1e-6f);
}

TEST(Noeud, ChangingParentKeepsTheLocalPlacement) {
    TScene s;
    auto* a = s.Racine().AjouteEnfant<TFactice>();
    auto* b = s.Racine().AjouteEnfant<TFactice>();
    b->SetPosition({10, 0, 0});
    b->SetRoulis(90);
    auto* n = a->AjouteEnfant<TFactice>();
    n->SetPosition({1, 0, 0});
    n->ChangeParent(*b);
    EXPECT_EQ(n->Parent(), b);
    EXPECT_TRUE(a->Enfants().empty());
    ExpectVec(n->Position(), {1, 0, 0});
    ExpectVec(n->PositionAbsolue(), {10, 1, 0});
    ExpectVec(n->AbsoluVersLocal({10, 1, 0}), {0, 0, 0});
    // never under itself
    b->ChangeParent(*n);
    EXPECT_EQ(b->Parent(), &s.Racine());
}

TEST(Noeud, RemovingAChildFreesItAndLeavesItsSiblings) {
    TScene s;
    auto* conteneur = s.Racine().AjouteEnfant<TFactice>();
    auto* a = conteneur->AjouteEnfant<TLignes>();
    auto* b = conteneur->AjouteEnfant<TLignes>();
    a->AjouteEnfant<TSphere>();
    const unsigned long r0 = s.Revision();
    EXPECT_TRUE(conteneur->SupprimeEnfant(a));
    ASSERT_EQ(conteneur->Enfants().size(), 1u);
    EXPECT_EQ(conteneur->Enfants()[0].get(), b);
    EXPECT_GT(s.Revision(), r0);
    // a node that is not a child (a grandchild, the node itself, a freed one) stays where it is
    EXPECT_FALSE(s.Racine().SupprimeEnfant(b));
    EXPECT_FALSE(conteneur->SupprimeEnfant(conteneur));
    EXPECT_EQ(b->Parent(), conteneur);
    conteneur->SupprimeEnfants();
    EXPECT_TRUE(conteneur->Enfants().empty());
    EXPECT_EQ(s.Racine().Enfants().size(), 1u);
}

TEST(Noeud, HiddenParentHidesItsChildren) {
    TScene s;
    auto* a = s.Racine().AjouteEnfant<TFactice>();
    auto* n = a->AjouteEnfant<TSphere>();
    a->SetVisible(false);
    EXPECT_TRUE(n->Visible());
    EXPECT_FALSE(n->VisibleDansScene());
}

TEST(Lignes, UpdateBracketAnnouncesTheChangeOnce) {
    TScene s;
    auto* l = s.Racine().AjouteEnfant<TLignes>();
    int appels = 0;
    s.Abonne([&] { ++appels; });
    const unsigned r0 = l->RevisionForme();
    l->DebutMaj();
    for (int i = 0; i < 100; ++i) l->AjouteNoeud({float(i), 0, 0});
    EXPECT_EQ(appels, 0);
    l->FinMaj();
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(l->RevisionForme(), r0 + 1);
    EXPECT_EQ(l->Noeuds().size(), 100u);
    // an unbalanced close does nothing
    l->FinMaj();
    EXPECT_EQ(appels, 1);
}

// a dotted line is drawn as separate segments: switching the mode is a change of shape
TEST(Lignes, SegmentsModeIsAShapeChangeAnnouncedInTheBracket) {
    TScene s;
    auto* l = s.Racine().AjouteEnfant<TLignes>();
    EXPECT_FALSE(l->Segments());
    int appels = 0;
    s.Abonne([&] { ++appels; });
    const unsigned r0 = l->RevisionForme();
    l->DebutMaj();
    l->SetSegments(true);
    l->AjouteNoeud({0, 0, 0});
    l->AjouteNoeud({1, 0, 0});
    EXPECT_EQ(appels, 0);
    l->FinMaj();
    EXPECT_EQ(appels, 1);
    EXPECT_TRUE(l->Segments());
    EXPECT_EQ(l->RevisionForme(), r0 + 1);
}

TEST(Maillage, ThreeSliceCylinderIsAPrismWithAFlatTop) {
    TScene s;
    auto* c = s.Racine().AjouteEnfant<TCylindre>();
    c->SetTranches(3);
    c->SetRayons(2, 2);
    c->SetHauteur(10);
    ExpectVec(CoinCylindre(*c, 0, true), {0, 5, -2});
    EXPECT_NEAR(CoinCylindre(*c, 1, false).z, 1, 1e-5f);
    EXPECT_NEAR(CoinCylindre(*c, 2, false).z, 1, 1e-5f);
    const TMaillage m = MaillageDe(*c);
    ASSERT_FALSE(m.Indices.empty());
    for (size_t i = 0; i < m.Sommets.size(); ++i) {
        // every corner of the mesh is a corner of the prism, normals point outwards
        EXPECT_LE(std::hypot(m.Sommets[i].x, m.Sommets[i].z), 2.0001f);
        const TVecteur3f centre{0, m.Sommets[i].y, 0};
        if (std::fabs(m.Normales[i].y) < 0.5f) {
            EXPECT_GT(Scal(m.Normales[i], m.Sommets[i] - centre), 0);
        }
    }
}

TEST(Maillage, FourSliceDiskIsARhombusAndPartialSphereStopsAtItsLatitude) {
    TScene s;
    auto* d = s.Racine().AjouteEnfant<TDisque>();
    d->SetTranches(4);
    EXPECT_EQ(MaillageDe(*d).Sommets.size(), 5u);
    auto* sp = s.Racine().AjouteEnfant<TSphere>();
    sp->SetRayon(0.7f);
    sp->SetLatitudeBas(37);
    for (const auto& p : MaillageDe(*sp).Sommets) EXPECT_GE(p.y, 0.7f * std::sin(37 * RadParDeg) - 1e-5f);
    EXPECT_TRUE(MaillageDe(s.Racine()).Sommets.empty());
}

TEST(Maillage, ClosedSolidsWindCounterClockwiseSeenFromOutside) {
    TScene s;
    auto* b = s.Racine().AjouteEnfant<TBoite>();
    b->SetDimensions(2, 4, 6);
    auto* c = s.Racine().AjouteEnfant<TCylindre>();
    c->SetTranches(3);
    auto* sp = s.Racine().AjouteEnfant<TSphere>();
    for (const TNoeud* n : {static_cast<TNoeud*>(b), static_cast<TNoeud*>(c), static_cast<TNoeud*>(sp)}) {
        const TMaillage m = MaillageDe(*n);
        EXPECT_TRUE(m.Ferme);
        for (size_t t = 0; t < m.Indices.size(); t += 3) {
            const TVecteur3f &a = m.Sommets[m.Indices[t]], &p = m.Sommets[m.Indices[t + 1]],
                             &q = m.Sommets[m.Indices[t + 2]];
            // the centre of a convex solid lies behind every face
            const TVecteur3f face = Vect(p - a, q - a);
            if (Norme(face) > 1e-9f) {
                EXPECT_GT(Scal(face, (a + p + q) * (1.0f / 3)), 0);
            }
        }
    }
    auto* pointe = s.Racine().AjouteEnfant<TSphere>();
    pointe->SetLatitudeBas(37);
    EXPECT_FALSE(MaillageDe(*pointe).Ferme);
}

TEST(Noeud, OnlyChangesOutsideTheAnimatedSubtreesDateTheStandingPicture) {
    TScene s;
    auto* table = s.Racine().AjouteEnfant<TBoite>();
    auto* bille = s.Racine().AjouteEnfant<TSphere>();
    auto* fleche = bille->AjouteEnfant<TLignes>();
    const unsigned long avant = s.RevisionDecor();
    bille->SetAnime(true);
    EXPECT_GT(s.RevisionDecor(), avant) << "the ball leaves the standing picture";

    unsigned long r = s.RevisionDecor();
    const unsigned long tout = s.Revision();
    bille->SetPosition({1, 2, 3});
    fleche->AjouteNoeud({0, 0, 1});
    EXPECT_EQ(s.RevisionDecor(), r) << "a ball and its lines move over a table that stands still";
    EXPECT_GT(s.Revision(), tout) << "the viewers still redraw";

    table->SetDimensions(2, 2, 2);
    EXPECT_GT(s.RevisionDecor(), r);

    // a standing node hung under the ball leaves the standing picture, and comes back to it
    r = s.RevisionDecor();
    table->ChangeParent(*bille);
    EXPECT_GT(s.RevisionDecor(), r);
    r = s.RevisionDecor();
    table->ChangeParent(s.Racine());
    EXPECT_GT(s.RevisionDecor(), r);
    r = s.RevisionDecor();
    bille->SupprimeEnfant(fleche);
    EXPECT_EQ(s.RevisionDecor(), r);
    s.Racine().SupprimeEnfant(bille);
    EXPECT_GT(s.RevisionDecor(), r);
}
