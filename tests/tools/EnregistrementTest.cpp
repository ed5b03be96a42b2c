#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "scene/Noeud.h"
#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/Enregistrement.h"
#include "tools/EnregistrementGraphe.h"

namespace {

// the window told of every shot fired, as the main window tells it
struct TAvecEnregistrement {
    TOutilFactice<TEnregistrementFrm> w;
    THoteOutilsFactice* f = &w.h;
    QTemporaryDir dossier;
    TCoupGenere g;
    QString nom;

    TAvecEnregistrement() {
        w.h.ApresFeu = [this] { E().CoupJoue(); };
        // a three-cushion shot on the program's own table
        g = GenereCoup(w.B().Simu->Fisik, {-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5, 3);
        nom = dossier.filePath(QStringLiteral("coup.csv"));
        std::string erreur;
        EXPECT_TRUE(EcritCoupEnregistre(nom.toStdString(), g.Coup, &erreur)) << erreur;
    }
    TEnregistrementFrm& E() { return w.F(); }
    TVecteur3f Position(int rang) {
        TGLBilles* billes[3] = {w.B().BilleJoueur, w.B().BilleNonJoueur, w.B().Rouge};
        return billes[rang - 1]->LitPosition();
    }
};

}  // namespace

TEST(Enregistrement, OpeningPlacesTheBallsAndDrawsTheRecordedPathsDotted) {
    TAvecEnregistrement a;
    ASSERT_TRUE(a.E().Ouvre(a.nom));
    // the balls stand at the first samples (3 mm of noise), the cue points along the first ones
    for (int b = 1; b <= 3; ++b) {
        EXPECT_NEAR(a.Position(b).x, a.g.Coup.Billes[b][0].x, 0.5) << b;
        EXPECT_NEAR(a.Position(b).y, a.g.Coup.Billes[b][0].y, 0.5) << b;
    }
    EXPECT_NEAR(a.w.B().Simu->AngleOx, 80 * kDegre, 0.02);
    // per ball: a cross of two segments on every sample and a dash towards the next one
    for (int b = 1; b <= 3; ++b) {
        const TLignes* t = a.E().Traces()[std::size_t(b - 1)];
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(t->Segments());
        EXPECT_EQ(t->Noeuds().size(), 6 * a.g.Coup.Billes[b].size() - 2);
        EXPECT_FALSE(a.E().Fantomes()[std::size_t(b - 1)]->Visible());
    }
    // opened again: the old paths go, the new ones come
    ASSERT_TRUE(a.E().Ouvre(a.nom));
    int lignesSegments = 0;
    // (the table's own cushion noses aside)
    for (const auto& n : a.f->gls.Racine().Enfants())
        if (n->Genre() == TGenreNoeud::Lignes && static_cast<const TLignes&>(*n).Segments() &&
            n.get() != a.w.B().NezBandes)
            ++lignesSegments;
    EXPECT_EQ(lignesSegments, 3);
}

TEST(Enregistrement, AFileThatIsNotARecordingIsRefusedNamingTheLineAndChangesNothing) {
    TAvecEnregistrement a;
    const QString mauvais = a.dossier.filePath(QStringLiteral("mauvais.csv"));
    QFile fichier(mauvais);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("ball,t,x,y\n1,0,0,0\n1,0.02,500,0\n");
    fichier.close();
    const TVecteur3f avant = a.Position(1);
    bool ouvert = true;
    const QString texte = TexteBoiteModale([&] { ouvert = a.E().Ouvre(mauvais); });
    EXPECT_FALSE(ouvert);
    EXPECT_TRUE(texte.contains(QStringLiteral("ligne 3"))) << texte.toStdString();
    EXPECT_EQ(a.Position(1).x, avant.x);
    EXPECT_FALSE(a.E().Ouvert());
}

TEST(Enregistrement, AShotFiredIsScoredAndChartedAndTheGhostsFollowTheAnimation) {
    TAvecEnregistrement a;
    ASSERT_TRUE(a.E().Ouvre(a.nom));
    a.f->Feu();
    // a cue without spin misses the recorded route: where the shot parts from the recording
    EXPECT_TRUE(ControleDe<QLabel>(a.E(), "RouteLbl")->text().contains(QStringLiteral("se sépare à")))
        << ControleDe<QLabel>(a.E(), "RouteLbl")->text().toStdString();
    // the estimated cue plays some other shot: centimetres off, in the French locale's notation
    EXPECT_GT(a.E().Scores().Bille1, 1.0);
    EXPECT_TRUE(ControleDe<QLabel>(a.E(), "ScoresLbl")->text().contains(QLatin1Char(',')))
        << ControleDe<QLabel>(a.E(), "ScoresLbl")->text().toStdString();
    EXPECT_EQ(ControleDe<TGrapheEcarts>(a.E(), "Graphe")->Points().size(), a.g.Coup.Billes[1].size());

    // at 1 s of the shot the ghosts stand where the recording had the balls 1 s after the stroke
    a.E().ImageAnimee(1.0);
    const auto pos = a.E().PositionsEnregistrees(1.0);
    for (int b = 1; b <= 3; ++b) {
        const TSphere* f = a.E().Fantomes()[std::size_t(b - 1)];
        EXPECT_TRUE(f->Visible());
        EXPECT_FLOAT_EQ(f->Position().x, float(pos[b].x));
    }
    // the recording's sample nearest to 1 s + the stroke is close to the ghost
    const double t = 1.0 + a.E().Frappe();
    const auto& b1 = a.g.Coup.Billes[1];
    const auto it =
        std::lower_bound(b1.begin(), b1.end(), t, [](const TEchantillon& e, double v) { return e.t < v; });
    ASSERT_NE(it, b1.end());
    EXPECT_NEAR(pos[1].x, it->x, 5.0);
    a.E().ImageAnimee(-1);
    for (const TSphere* f : a.E().Fantomes()) EXPECT_FALSE(f->Visible());
}

TEST(Enregistrement, AdjustFitsTheCueAndPlaysIt) {
    TAvecEnregistrement a;
    ASSERT_TRUE(a.E().Ouvre(a.nom));
    QSignalSpy fin(&a.E(), &TEnregistrementFrm::AjustementTermine);
    a.E().AjusterBtnClick();
    EXPECT_TRUE(a.E().EnCours());
    EXPECT_TRUE(a.f->CoupVerrouille());
    EXPECT_FALSE(ControleDe<QToolButton>(a.E(), "AjusterBtn")->isEnabled());
    ASSERT_TRUE(fin.wait(60000));
    EXPECT_FALSE(a.E().EnCours());
    EXPECT_FALSE(a.f->CoupVerrouille());
    // played through the cue model (singles): the fitted shot scores at the level of the noise
    EXPECT_NEAR(a.w.B().Simu->AngleOx, 80 * kDegre, 0.1 * kDegre);
    EXPECT_LT(a.E().Scores().Bille1, 0.8);
    EXPECT_LT(a.E().Scores().Toutes, 0.8);
    EXPECT_TRUE(ControleDe<QLabel>(a.E(), "QueueLbl")->text().startsWith(QStringLiteral("queue ajustée")));
    // every recorded contact played: one row each, at the recorded instant, in the French notation
    const QTableWidget& grille = *ControleDe<QTableWidget>(a.E(), "ContactsGrid");
    EXPECT_TRUE(ControleDe<QLabel>(a.E(), "RouteLbl")
                    ->text()
                    .startsWith(QStringLiteral("route enregistrée jouée ; tous les contacts")))
        << ControleDe<QLabel>(a.E(), "RouteLbl")->text().toStdString();
    int contacts = 0;
    for (int b = 1; b <= NbBilles; ++b) contacts += int(a.E().Evenements()[b].size());
    ASSERT_GE(contacts, 4);
    ASSERT_EQ(grille.rowCount(), contacts);
    EXPECT_EQ(grille.item(0, 0)->text(), QStringLiteral("joueur"));
    for (int k = 0; k < grille.rowCount(); ++k) {
        const QString contact = grille.item(k, 1)->text();
        EXPECT_TRUE(contact.startsWith(QStringLiteral("bande ")) ||
                    contact.startsWith(QStringLiteral("bille ")));
        EXPECT_TRUE(grille.item(k, 2)->text().contains(QLatin1Char(',')))
            << grille.item(k, 2)->text().toStdString();
        // the slowest contacts are found within a few samples
        EXPECT_LT(std::abs(QLocale().toDouble(grille.item(k, 3)->text())), 0.06) << k;
    }

    // a stop: the fit ends soon with the best cue so far
    a.E().AjusterBtnClick();
    a.E().ArretBtnClick();
    ASSERT_TRUE(fin.wait(60000));
    EXPECT_TRUE(a.E().DernierAjustement().Interrompu);
    EXPECT_TRUE(ControleDe<QToolButton>(a.E(), "AjusterBtn")->isEnabled());
}
