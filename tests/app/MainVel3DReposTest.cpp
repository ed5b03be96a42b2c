// What one shot leaves behind must not change the next: positions, the opening position, handed-over
// shots and cue shots start from balls at rest; only the hand launch plays photo 0's motion.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>

#include "sim/C8_BillardVelmora.h"
#include "tests/app/Fenetres.h"
#include "tests/support/ControleParNom.h"
#include "tools/VueNum.h"

namespace {

struct TRepos {
    TFenetres w;
    TRepos() {
        w.Cree();
        w.F().VueNumFrm->show();
        QApplication::processEvents();
    }
    TBillardVelmora& S() { return *w.B().Simu; }
    // a hand launch from a photo where the red is moving: photo 0 then carries motion
    void LanceALaMainEnMouvement() {
        TVueNumFrm& v = *w.F().VueNumFrm;
        ControleDe<QScrollBar>(v, "Curseur")->setValue(30);
        ASSERT_GT(Norme(S().Trajets[3][30].Vitesse), 1.0);
        v.FeuBtnClick();
        ASSERT_GT(Norme(S().Trajets[3][0].Vitesse), 1.0);
    }
    bool Photo0AuRepos() {
        for (int b = 1; b <= 3; ++b)
            if (Norme(S().Trajets[b][0].Vitesse) != 0 || Norme(S().Trajets[b][0].Rotation) != 0) return false;
        return true;
    }
    double QteTouchee() { return w.B().QuantiteTouchee(); }
};

}  // namespace

TEST(MainVel3DRepos, ReopeningAPositionAfterAHandLaunchGivesTheSameResult) {
    TRepos r;
    const QString ouverture = Exemple("ouverture.vel");
    ASSERT_TRUE(r.w.F().OuvrePosition(ouverture));
    const QString resultat = Controle<QLabel>(r.w.F(), "IsPointLbl")->text();
    const QString touchee = Controle<QLabel>(r.w.F(), "QToucheeLbl")->text();
    const int photos = r.S().NbPhotos;
    r.LanceALaMainEnMouvement();
    ASSERT_TRUE(r.w.F().OuvrePosition(ouverture));
    EXPECT_EQ(Controle<QLabel>(r.w.F(), "IsPointLbl")->text(), resultat);
    EXPECT_EQ(Controle<QLabel>(r.w.F(), "QToucheeLbl")->text(), touchee);
    EXPECT_EQ(r.S().NbPhotos, photos);
    // only the player's ball moves at photo 0, given its motion by the cue
    for (int b = 2; b <= 3; ++b) {
        EXPECT_EQ(Norme(r.S().Trajets[b][0].Vitesse), 0) << b;
        EXPECT_EQ(Norme(r.S().Trajets[b][0].Rotation), 0) << b;
    }
}

TEST(MainVel3DRepos, CueShotsHandedOverShotsAndTheOpeningPositionStartFromRest) {
    TRepos r;
    TMainVel3DFrm& f = r.w.F();
    f.FeuBtnClick();
    const QString resultat = Controle<QLabel>(f, "IsPointLbl")->text();
    const int photos = r.S().NbPhotos;

    // the next cue shot, the balls put back where they stood
    TGLBilles* billes[3] = {r.w.B().BilleJoueur, r.w.B().BilleNonJoueur, r.w.B().Rouge};
    TVecteur3f places[3];
    for (int b = 0; b < 3; ++b) places[b] = billes[b]->LitPosition();
    r.LanceALaMainEnMouvement();
    for (int b = 0; b < 3; ++b) billes[b]->SetPosition(places[b]);
    f.FeuBtnClick();
    EXPECT_EQ(r.S().NbPhotos, photos);
    EXPECT_EQ(Controle<QLabel>(f, "IsPointLbl")->text(), resultat);

    // the opening position shows balls at rest
    r.LanceALaMainEnMouvement();
    Controle<QAction>(f, "PosDepartMnu")->trigger();
    EXPECT_TRUE(r.Photo0AuRepos());

    // a shot handed over by another program
    r.LanceALaMainEnMouvement();
    TCopieCoup coup;
    TGLQueue& q = *r.w.B().Queue;
    coup.Effet = q.Effet();
    coup.Hauteur = q.Hauteur();
    coup.Visee = q.Visee();
    coup.Vitesse = q.Vitesse();
    coup.Inclinaison = q.Inclinaison();
    coup.Masse = q.Masse();
    const auto centre = [](const TVecteur3f& p) { return std::array<float, 3>{p.x, p.y, p.z}; };
    coup.Joueur = centre(places[0]);
    coup.NonJoueur = centre(places[1]);
    coup.Rouge = centre(places[2]);
    f.WMCopyData(coup);
    EXPECT_EQ(r.S().NbPhotos, photos);
    EXPECT_EQ(Controle<QLabel>(f, "IsPointLbl")->text(), resultat);
}

TEST(MainVel3DRepos, TheThicknessHitStaysWithinAWholeBall) {
    TRepos r;
    TMainVel3DFrm& f = r.w.F();
    TGLBillardVelmora& b = r.w.B();
    // a hand launch where the other two balls collide while the player's ball rolls past:
    // their contact is not the player's, and no thickness was hit
    const double R = b.RayonBille;
    r.S().Trajets[1][0] = {Vecteur(-50, -50, R), Vecteur(10, 0, 0), VecteurNul};
    r.S().Trajets[2][0] = {Vecteur(0, 0, R), Vecteur(0, 100, 0), VecteurNul};
    r.S().Trajets[3][0] = {Vecteur(0, 30, R), VecteurNul, VecteurNul};
    b.JoueALaMain(0);
    int i = 1;
    while (i <= r.S().NbPhotos && r.S().TypesChocs[i] != tcBilleBille) ++i;
    ASSERT_LE(i, r.S().NbPhotos) << "balls 2 and 3 meet";
    EXPECT_EQ(r.QteTouchee(), 0);

    // a contact photo a little short of touching gives at most a whole ball
    ASSERT_TRUE(f.OuvrePosition(Exemple("ouverture.vel")));
    i = 1;
    while (i <= r.S().NbPhotos && r.S().TypesChocs[i] != tcBilleBille) ++i;
    ASSERT_LE(i, r.S().NbPhotos);
    const int touchee = r.S().Contacts[i];
    ASSERT_TRUE(touchee == 2 || touchee == 3);
    TVecteur& p = r.S().Trajets[touchee][i].Position;
    const TVecteur d = DiffVect(p, r.S().Trajets[1][i].Position);
    p = SommeVect(r.S().Trajets[1][i].Position, MultVect(d, 3.0));
    EXPECT_GE(r.QteTouchee(), -1);
    EXPECT_LE(r.QteTouchee(), 1);
}
