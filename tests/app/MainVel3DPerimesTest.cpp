// Nothing on the table or in a window belongs to another position, through the real windows: the
// verdict goes when a ball moves or the rule changes, the routes of a position are greyed once
// another is loaded, Delete clears every drawing, a recording's drawings go with its window and
// its position, and its ghosts follow the shot's time shown, not the wall clock.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/FenetresOutils.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"
#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/ControleParNom.h"
#include "tools/Enregistrement.h"
#include "view3d/EtiquettesDiamants.h"

namespace {

struct TPerimes {
    TFenetres w;
    TMainVel3DFrm* f = nullptr;
    QTemporaryDir dossier;
    QString enregistrement;

    TPerimes() { f = &w.Cree(); }
    QString Verdict() { return Controle<QLabel>(*f, "IsPointLbl")->text(); }
    // a recorded three-cushion shot on the program's table
    void EcritEnregistrement() {
        const TCoupGenere g =
            GenereCoup(w.B().Simu->Fisik, {-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5, 3);
        enregistrement = dossier.filePath(QStringLiteral("coup.csv"));
        std::string erreur;
        EXPECT_TRUE(EcritCoupEnregistre(enregistrement.toStdString(), g.Coup, &erreur)) << erreur;
    }
    void Deplace(TGLBilles* bille, float dx) {
        TVecteur3f p = bille->LitPosition();
        p.x += dx;
        bille->SetPosition(p);
    }
};

}  // namespace

TEST(MainVel3DPerimes, TheVerdictStaysWhileTheBallsShowTheShotAndGoesWhenABallMovesOrTheRuleChanges) {
    TPerimes t;
    ASSERT_TRUE(t.f->OuvrePosition(Exemple("trois_bandes.vel")));
    EXPECT_EQ(t.Verdict(), QStringLiteral("réussi"));
    EXPECT_FALSE(Controle<QLabel>(*t.f, "QToucheeMotsLbl")->text().isEmpty());
    // its end and its start are still that shot
    t.f->LastCoupEndMnuClick();
    EXPECT_EQ(t.Verdict(), QStringLiteral("réussi"));
    t.f->LastCoupBeginMnuClick();
    EXPECT_EQ(t.Verdict(), QStringLiteral("réussi"));
    // the red moved: another position
    t.Deplace(t.w.B().Rouge, 10);
    EXPECT_EQ(t.Verdict(), QString());
    EXPECT_EQ(Controle<QLabel>(*t.f, "QToucheeLbl")->text(), QString());
    EXPECT_EQ(Controle<QLabel>(*t.f, "QToucheeMotsLbl")->text(), QString());
    // fired again, then another rule
    t.f->FeuBtnClick();
    EXPECT_FALSE(t.Verdict().isEmpty());
    Controle<QAction>(*t.f, "MnuLibre")->trigger();
    EXPECT_EQ(t.Verdict(), QString());
}

TEST(MainVel3DPerimes, LoadingAnotherPositionGreysTheRoutesOfTheFormer) {
    TPerimes t;
    ASSERT_TRUE(t.f->OuvrePosition(Exemple("ouverture.vel")));
    TSolutionsFrm& s = *t.f->SolutionsFrm;
    s.Budget = 20'000;
    s.ChercheBtnClick();
    ASSERT_TRUE(Attends([&] { return !s.EnCours(); }));
    ASSERT_FALSE(s.DernierResultat().Routes.empty());
    EXPECT_FALSE(s.Perimee());
    ASSERT_TRUE(t.f->OuvrePosition(Exemple("trois_bandes.vel")));
    EXPECT_TRUE(s.Perimee());
    EXPECT_EQ(ControleDe<QLabel>(s, "EtatLbl")->text(), QStringLiteral("position modifiée — relancer"));
    // a table tuned meanwhile keeps them another position's, even with the balls back
    ASSERT_TRUE(t.f->OuvrePosition(Exemple("ouverture.vel")));
    EXPECT_FALSE(s.Perimee());
    t.w.B().Simu->Fisik.Change(&TConstantesPhys::ElastBiBde, 0.7);
    t.f->SignalePositionModifiee();
    EXPECT_TRUE(s.Perimee());
}

TEST(MainVel3DPerimes, DeleteClearsEveryDrawing_DiamondsRecordingAndKeptLines) {
    TPerimes t;
    t.EcritEnregistrement();
    Controle<QAction>(*t.f, "DiamantsToutesMnu")->trigger();
    EXPECT_TRUE(Controle<QAction>(*t.f, "DiamantsMnu")->isChecked());
    ASSERT_TRUE(t.f->OuvreEnregistrement(t.enregistrement));
    TEnregistrementFrm& e = *t.f->EnregistrementFrm;
    ControleDe<QPushButton>(*t.f->MemTrajetsFrm, "MemOn")->setChecked(true);
    t.f->FeuBtnClick();
    ASSERT_GT(t.w.B().Diamants->NbEtiquettes(), 0);
    ASSERT_NE(e.Traces()[0], nullptr);
    ASSERT_NE(t.f->MemTrajetsFrm->Ligne(1, 0), nullptr);

    Controle<QAction>(*t.f, "ResettrajetsVRMnu")->trigger();
    EXPECT_EQ(t.w.B().Diamants->NbEtiquettes(), 0);
    EXPECT_TRUE(t.w.B().Diamants->Traits(1).Noeuds().empty());
    EXPECT_EQ(e.Traces()[0], nullptr);
    EXPECT_EQ(t.f->MemTrajetsFrm->Ligne(1, 0), nullptr);
    // a shot from the recording's position draws it again
    t.f->FeuBtnClick();
    EXPECT_NE(e.Traces()[0], nullptr);
    EXPECT_GT(t.w.B().Diamants->NbEtiquettes(), 0);
}

TEST(MainVel3DPerimes, ARecordingsDrawingsGoWithItsWindowAndWithItsPosition) {
    TPerimes t;
    t.EcritEnregistrement();
    ASSERT_TRUE(t.f->OuvreEnregistrement(t.enregistrement));
    TEnregistrementFrm& e = *t.f->EnregistrementFrm;
    ASSERT_NE(e.Traces()[0], nullptr);
    e.close();
    EXPECT_EQ(e.Traces()[0], nullptr);
    e.show();
    EXPECT_NE(e.Traces()[0], nullptr);
    // another position loaded: nothing of the recording stays on its table
    ASSERT_TRUE(t.f->OuvrePosition(Exemple("trois_bandes.vel")));
    EXPECT_TRUE(e.Perimee());
    EXPECT_EQ(e.Traces()[0], nullptr);
    EXPECT_EQ(ControleDe<QLabel>(e, "ScoresLbl")->text(), QStringLiteral("position modifiée — relancer"));
}

TEST(MainVel3DPerimes, GhostsFollowTheSimulatedTimeOfThePhotoShown) {
    TPerimes t;
    t.EcritEnregistrement();
    ASSERT_TRUE(t.f->OuvreEnregistrement(t.enregistrement));
    TEnregistrementFrm& e = *t.f->EnregistrementFrm;
    Controle<QAction>(*t.f, "AnimationMnu")->setChecked(true);
    t.f->SetTauxRalenti(2.5);
    t.f->FeuBtnClick();
    ASSERT_TRUE(t.f->Anime());
    const TBillardVelmora& simu = *t.w.B().Simu;
    // a slow display: two seconds late at every frame, one photo a frame
    for (int image = 1; image <= 40 && t.f->Anime(); ++image) {
        t.f->GLCadencerProgress(0.016, t.f->DebutAnimationCourant() + 2.0 * image);
        const int montree = t.f->GLCadencer.Tag - 1;
        ASSERT_GE(montree, 0);
        const auto attendues = e.PositionsEnregistrees(simu.Temps[size_t(montree)]);
        for (int b = 1; b <= NbBilles; ++b) {
            const TSphere* fantome = e.Fantomes()[size_t(b - 1)];
            ASSERT_TRUE(fantome->Visible());
            EXPECT_FLOAT_EQ(fantome->Position().x, float(attendues[b].x)) << "image " << image;
            EXPECT_FLOAT_EQ(fantome->Position().y, float(attendues[b].y)) << "image " << image;
        }
    }
}

TEST(MainVel3DPerimes, DraggingABallWithTheMouseClearsTheVerdictTheDiamondsAndGreysTheRoutes) {
    TPerimes t;
    TMainVel3DFrm& f = *t.f;
    TGLBillardVelmora& b = t.w.B();
    Controle<QAction>(f, "DiamantsMnu")->trigger();
    ASSERT_TRUE(f.OuvrePosition(Exemple("trois_bandes.vel")));
    TSolutionsFrm& s = *f.SolutionsFrm;
    s.Budget = 3'000;
    s.ChercheBtnClick();
    ASSERT_TRUE(Attends([&] { return !s.EnCours(); }));
    f.FeuBtnClick();
    ASSERT_FALSE(t.Verdict().isEmpty());
    ASSERT_GT(b.Diamants->NbEtiquettes(), 0);
    ASSERT_FALSE(s.Perimee());
    // the red picked on the table's view and dragged 40 pixels
    f.VueTable.SetTaille(800, 600);
    const TVecteur3f rouge = b.Rouge->LitPosition();
    float px = 0, py = 0;
    ASSERT_TRUE(f.VueTable.Projette(rouge, px, py));
    const QPointF point(px, f.VueTable.Hauteur() - py);
    const auto souris = [&f](QEvent::Type genre, QPointF p, Qt::MouseButtons boutons) {
        QMouseEvent e(genre, p, Controle<TVueGL>(f, "Scn")->mapToGlobal(p),
                      genre == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, boutons, Qt::NoModifier);
        if (genre == QEvent::MouseButtonPress) f.ScnMouseDown(&e);
        if (genre == QEvent::MouseMove) f.ScnMouseMove(&e);
        if (genre == QEvent::MouseButtonRelease) f.ScnMouseUp(&e);
    };
    souris(QEvent::MouseButtonPress, point, Qt::LeftButton);
    ASSERT_EQ(b.BilleChoisie, b.Rouge);
    souris(QEvent::MouseMove, point + QPointF(40, 0), Qt::LeftButton);
    souris(QEvent::MouseButtonRelease, point + QPointF(40, 0), Qt::NoButton);
    ASSERT_NE(b.Rouge->LitPosition().y, rouge.y);
    EXPECT_EQ(t.Verdict(), QString());
    EXPECT_EQ(b.Diamants->NbEtiquettes(), 0);
    EXPECT_TRUE(s.Perimee());
}
