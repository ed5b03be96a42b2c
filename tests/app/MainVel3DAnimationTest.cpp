#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QScrollBar>

#include "app/FenetresOutils.h"
#include "tests/app/Fenetres.h"
#include "tests/support/ControleParNom.h"
#include "tools/VueNum.h"

namespace {

// the balls stand exactly where photo k put them
bool AuPhoto(TGLBillardVelmora& b, int k) {
    TGLBilles* billes[3] = {b.BilleJoueur, b.BilleNonJoueur, b.Rouge};
    for (int n = 1; n <= 3; ++n) {
        const TVecteur3f p = billes[n - 1]->LitPosition();
        const TVecteur& q = b.Simu->Trajets[n][k].Position;
        if (p.x != static_cast<float>(q.x) || p.y != static_cast<float>(q.y) ||
            p.z != static_cast<float>(q.z))
            return false;
    }
    return true;
}

struct TAnimation {
    TFenetres w;
    TMainVel3DFrm* f = nullptr;

    explicit TAnimation(const char* position = "trois_bandes.vel") {
        f = &w.Cree();
        Controle<QAction>(*f, "AnimationMnu")->setChecked(true);
        EXPECT_TRUE(f->OuvrePosition(Exemple(position)));
    }
    // one frame at t seconds after the start
    void Image(double t) { f->GLCadencerProgress(0.016, f->DebutAnimationCourant() + t); }
    const TBillardVelmora& S() { return *w.B().Simu; }
};

}  // namespace

TEST(MainVel3DAnimation, FiringWithAnimationStartsTheClockWithTheCueAside) {
    TAnimation a;
    EXPECT_TRUE(a.f->Anime());
    EXPECT_TRUE(a.f->GLCadencer.Actif());
    EXPECT_EQ(a.f->GLCadencer.Tag, 0);
    EXPECT_EQ(a.w.B().Queue->Bille, nullptr);
    EXPECT_FALSE(a.f->QueueFrm->isVisible());
    EXPECT_EQ(a.f->TextePanneau(3), QStringLiteral("[ECHAP] pour arrêter l'animation"));
}

TEST(MainVel3DAnimation, APhotoIsShownNoEarlierThanItsTimeTimesTheRate) {
    for (double taux : {1.0, 2.0}) {
        TAnimation a;
        a.f->SetTauxRalenti(taux);
        a.f->DemarreAnimation();
        // photo 0 at once, then photo 1 only once its time has come
        a.Image(0);
        EXPECT_EQ(a.f->GLCadencer.Tag, 1);
        int k = 1;
        while (k < a.S().NbPhotos && a.S().TypesChocs[k] == tcBilleTapis) ++k;
        const double t = a.S().Temps[k] * taux;
        a.Image(t * 0.99);
        EXPECT_EQ(a.f->GLCadencer.Tag, 1) << taux;
        a.Image(t + 1e-9);
        EXPECT_EQ(a.f->GLCadencer.Tag, k + 1) << taux;
        EXPECT_TRUE(AuPhoto(a.w.B(), k));
    }
}

TEST(MainVel3DAnimation, AtMostOnePhotoPerFrameAndTheLastEndsTheAnimation) {
    TAnimation a;
    const int n = a.S().NbPhotos;
    int images = 0;
    while (a.f->Anime() && images < 5000) {
        a.Image(1e6);
        ++images;
    }
    EXPECT_FALSE(a.f->Anime());
    EXPECT_LE(images, n + 1);
    EXPECT_FALSE(a.f->GLCadencer.Actif());
    // back to rest: the balls at the last photo, the cue and its window back
    EXPECT_TRUE(AuPhoto(a.w.B(), n));
    EXPECT_EQ(a.w.B().Queue->Bille, a.w.B().BilleJoueur);
    EXPECT_TRUE(a.f->QueueFrm->isVisible());
}

TEST(MainVel3DAnimation, TheEndLeavesTheBallsAtRestWhateverWindowIsOpenAndClearsTheHint) {
    for (bool vueNum : {false, true}) {
        TAnimation a;
        if (vueNum) {
            Controle<QAction>(*a.f, "VueNumMnu")->trigger();
            ASSERT_TRUE(Controle<QAction>(*a.f, "VueNumMnu")->isChecked());
            a.f->DemarreAnimation();
            ASSERT_FALSE(a.f->VueNumFrm->isVisible());
        }
        while (a.f->Anime()) a.Image(1e6);
        const int n = a.S().NbPhotos;
        EXPECT_TRUE(AuPhoto(a.w.B(), n)) << vueNum;
        EXPECT_EQ(a.f->VueNumFrm->isVisible(), vueNum);
        if (vueNum) {
            EXPECT_EQ(ControleDe<QScrollBar>(*a.f->VueNumFrm, "Curseur")->value(), n);
        }
        EXPECT_NE(a.f->TextePanneau(3), QStringLiteral("[ECHAP] pour arrêter l'animation")) << vueNum;
        // the status bar tells where the balls stopped
        EXPECT_TRUE(a.f->TextePanneau(0).contains(
            QLocale().toString(double(float(a.S().Trajets[1][n].Position.x)), 'f', 2)))
            << a.f->TextePanneau(0).toStdString();
    }
}

TEST(MainVel3DAnimation, ThePathAlreadyTravelledIsDashedBehindTheBall) {
    TAnimation a;
    TGLBilles& joueur = *a.w.B().BilleJoueur;
    ASSERT_TRUE(joueur.TrajetVisible);
    a.Image(0);
    a.Image(a.S().Temps[5] + 1e-9);
    const int k = a.f->GLCadencer.Tag - 1;
    ASSERT_GT(k, 0);
    // behind: photos 0..k, dashed; ahead: from the ball to the end, solid
    EXPECT_TRUE(joueur.Parcouru->Visible());
    EXPECT_EQ(joueur.Parcouru->Noeuds().size(), size_t(k) + 1);
    EXPECT_NE(joueur.Parcouru->Motif(), 0xFFFF);
    EXPECT_EQ(joueur.Trajet->Noeuds().size(), size_t(a.S().NbPhotos - k) + 1);
    EXPECT_EQ(joueur.Trajet->Noeuds().front().x, joueur.LitPosition().x);
    while (a.f->Anime()) a.Image(1e6);
    // at rest the whole line is back
    EXPECT_FALSE(joueur.Parcouru->Visible());
    EXPECT_EQ(joueur.Trajet->Noeuds().size(), size_t(a.S().NbPhotos) + 1);
}

TEST(MainVel3DAnimation, LandingPhotosAreSkipped) {
    TAnimation a("saut.vel");
    std::vector<int> atterrissages;
    for (int k = 1; k < a.S().NbPhotos; ++k)
        if (a.S().TypesChocs[k] == tcBilleTapis) atterrissages.push_back(k);
    ASSERT_FALSE(atterrissages.empty()) << "the jump shot lands on the cloth";
    std::vector<int> montrees;
    while (a.f->Anime()) {
        const int avant = a.f->GLCadencer.Tag;
        a.Image(1e6);
        if (a.f->GLCadencer.Tag != avant) montrees.push_back(a.f->GLCadencer.Tag - 1);
    }
    for (int k : atterrissages) EXPECT_EQ(std::count(montrees.begin(), montrees.end(), k), 0) << k;
}

TEST(MainVel3DAnimation, EscapeStopsAtTheNextFrameAndBringsTheCueBack) {
    TAnimation a;
    a.Image(0);
    a.Image(a.S().Temps[3] * 1.0 + 1e-9);
    QKeyEvent echap(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    a.f->FormKeyDown(&echap);
    EXPECT_TRUE(a.f->GLCadencer.Actif());
    const int suivante = a.f->GLCadencer.Tag;
    a.Image(0.0);
    EXPECT_FALSE(a.f->Anime());
    EXPECT_FALSE(a.f->GLCadencer.Actif());
    EXPECT_TRUE(AuPhoto(a.w.B(), suivante));
    EXPECT_EQ(a.w.B().Queue->Bille, a.w.B().BilleJoueur);
}

TEST(MainVel3DAnimation, HomeAndEndJumpToTheFirstAndLastPhoto) {
    TAnimation a;
    a.Image(0);
    // Home during an animation stops it at once and shows photo 0
    a.f->LastCoupBeginMnuClick();
    EXPECT_FALSE(a.f->Anime());
    EXPECT_FALSE(a.f->GLCadencer.Actif());
    EXPECT_TRUE(AuPhoto(a.w.B(), 0));
    QKeyEvent fin(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    a.f->FormKeyDown(&fin);
    EXPECT_TRUE(AuPhoto(a.w.B(), a.S().NbPhotos));
}

TEST(MainVel3DAnimation, HomeAndEndBeforeAnyShotDoNothing) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    ASSERT_EQ(w.B().Simu->NbPhotos, 0);
    const TVecteur3f avant = w.B().BilleJoueur->LitPosition();
    for (int touche : {Qt::Key_Home, Qt::Key_End}) {
        QKeyEvent e(QEvent::KeyPress, touche, Qt::NoModifier);
        f.FormKeyDown(&e);
    }
    EXPECT_EQ(w.B().BilleJoueur->LitPosition().x, avant.x);
    EXPECT_EQ(w.B().BilleJoueur->LitPosition().y, avant.y);
}

TEST(MainVel3DAnimation, StartingAgainWhileRunningRestartsInsteadOfFreezing) {
    TAnimation a;
    a.Image(0);
    a.Image(1e6);
    ASSERT_GT(a.f->GLCadencer.Tag, 0);
    a.f->DemarreAnimation();
    EXPECT_TRUE(a.f->GLCadencer.Actif());
    EXPECT_TRUE(a.f->Anime());
    EXPECT_EQ(a.f->GLCadencer.Tag, 0);
}

TEST(MainVel3DAnimation, VelocityAndRotationVectorsFollowTheAnimationWhenAsked) {
    TAnimation a;
    Controle<QAction>(*a.f, "VRMnu")->trigger();
    a.Image(0);
    a.Image(1e6);
    const int k = a.f->GLCadencer.Tag - 1;
    const auto& vr = a.w.B().BilleJoueur->LignesVR->Noeuds();
    ASSERT_EQ(vr.size(), 3u);
    const float attendu = static_cast<float>(a.S().Trajets[1][k].Vitesse.x) * a.w.B().BilleJoueur->FacteurVR;
    EXPECT_NEAR(vr[0].x, attendu, 1e-4f);
}
