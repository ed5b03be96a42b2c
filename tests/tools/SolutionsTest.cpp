// The solutions window driven as a user drives it: a search that locks the shot, the routes
// listed with their drawing and a French rate, a chosen route set on the cue and played as
// scored, Escape keeping the routes found so far, Mémoriser and Enregistrer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/MemTrajets.h"
#include "tools/Solutions.h"
#include "widgets/CaseLed.h"

namespace {

// the window on the opening position, with a trajectory memory beside it
struct TFenetreSolutions {
    TOutilFactice<TSolutionsFrm> w;
    std::unique_ptr<TMemTrajetsFrm> memo = std::make_unique<TMemTrajetsFrm>(w.h);
    TSolutionsFrm* s = nullptr;

    TFenetreSolutions() {
        // opened and played, as the main window opens a position
        EXPECT_TRUE(w.B().ChargeFichier(Exemple("ouverture.vel").toStdString()));
        w.h.Feu();
        s = w.f.get();
        s->Memo = memo.get();
        w.h.ApresFeu = [this] { memo->Memorise(); };
        s->Budget = 20'000;
        s->show();
        QApplication::processEvents();
    }
    bool Cherche() {
        s->ChercheBtnClick();
        return Attends([this] { return !s->EnCours(); });
    }
};

}  // namespace

TEST(SolutionsFrm, SearchLocksTheShotThenListsRoutesThatPlayAsScored) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    EXPECT_EQ(ControleDe<QLabel>(s, "ModeLbl")->text(), QStringLiteral("mode : 3 bandes"));
    s.ChercheBtnClick();
    // the shot commands wait for the search
    EXPECT_TRUE(s.EnCours());
    EXPECT_TRUE(f.w.h.CoupVerrouille());
    EXPECT_FALSE(ControleDe<QToolButton>(s, "ChercheBtn")->isEnabled());
    EXPECT_TRUE(ControleDe<QToolButton>(s, "EscBtn")->isEnabled());
    ASSERT_TRUE(Attends([&] { return !s.EnCours(); }));
    EXPECT_FALSE(f.w.h.CoupVerrouille());

    const TResultatSolveur& r = s.DernierResultat();
    ASSERT_FALSE(r.Routes.empty()) << ControleDe<QLabel>(s, "EtatLbl")->text().toStdString();
    ASSERT_EQ(ControleDe<QListWidget>(s, "RoutesList")->count(), int(r.Routes.size()));
    // each route: its drawing, its sequence and its rate with the French decimal comma
    const QListWidgetItem* premier = ControleDe<QListWidget>(s, "RoutesList")->item(0);
    EXPECT_FALSE(premier->icon().isNull());
    EXPECT_TRUE(
        premier->text().startsWith(QStringLiteral("1. ") + QString::fromStdString(r.Routes[0].Libelle)));
    EXPECT_TRUE(premier->text().contains(QRegularExpression(QStringLiteral("réussite [0-9]+,[0-9] %"))))
        << premier->text().toStdString();

    for (int i = 0; i < ControleDe<QListWidget>(s, "RoutesList")->count(); ++i) {
        s.ChoisitRoute(i);
        const TGLQueue& q = *f.w.B().Queue;
        const TQueueDegres& attendu = r.Routes[size_t(i)].Queue;
        EXPECT_EQ(q.Visee(), attendu.Visee);
        EXPECT_EQ(q.Vitesse(), attendu.Vitesse);
        EXPECT_FLOAT_EQ(q.Effet(), attendu.Effet);
        EXPECT_FLOAT_EQ(q.Hauteur(), attendu.Hauteur);
        // fired by the main window, its player's ball's line shown
        EXPECT_EQ(f.w.h.NbFeux, i + 2);
        EXPECT_TRUE(f.w.B().Simu->PointReussi) << r.Routes[size_t(i)].Libelle;
        EXPECT_EQ(f.w.h.Montres.back(), TResultatMontre::LigneJoueur);
    }
}

TEST(SolutionsFrm, EscapeStopsAndKeepsTheRoutesFoundSoFar) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    s.Budget = 3'000'000;
    s.ChercheBtnClick();
    // some scoring shots seen, then Escape
    ASSERT_TRUE(Attends([&] {
        return ControleDe<QLabel>(s, "EtatLbl")->text().contains(QStringLiteral("réussis")) &&
               !ControleDe<QLabel>(s, "EtatLbl")->text().contains(QStringLiteral(", 0 réussis"));
    }));
    QTest::keyClick(&s, Qt::Key_Escape);
    ASSERT_TRUE(Attends([&] { return !s.EnCours(); }, 10000));
    EXPECT_TRUE(s.DernierResultat().Interrompu);
    EXPECT_GT(ControleDe<QListWidget>(s, "RoutesList")->count(), 0);
    EXPECT_TRUE(ControleDe<QLabel>(s, "EtatLbl")->text().contains(QStringLiteral("recherche arrêtée")))
        << ControleDe<QLabel>(s, "EtatLbl")->text().toStdString();
    EXPECT_FALSE(f.w.h.CoupVerrouille());
}

TEST(SolutionsFrm, MemoriserAndEnregistrerKeepTheChosenRoute) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    ASSERT_TRUE(f.Cherche());
    ASSERT_GT(ControleDe<QListWidget>(s, "RoutesList")->count(), 0);
    s.ChoisitRoute(0);
    // memorization off: the route is kept all the same, and memorization stays off
    TMemTrajetsFrm& memo = *f.memo;
    ASSERT_FALSE(ControleDe<QPushButton>(memo, "MemOn")->isChecked());
    s.MemoriserBtnClick();
    EXPECT_TRUE(memo.LigneUtilisee(1));
    EXPECT_FALSE(ControleDe<QPushButton>(memo, "MemOn")->isChecked());

    // saved as a position file (the extension forced)
    const QString nom = f.w.h.dossier.filePath(QStringLiteral("route"));
    s.DemandeNomVel = [&] { return nom; };
    s.EnregistrerBtnClick();
    EXPECT_EQ(f.w.h.Sauvees, std::vector<QString>{nom + QStringLiteral(".vel")});
    QFile fichier(nom + QStringLiteral(".vel"));
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    const QString texte = QString::fromUtf8(fichier.readAll());
    EXPECT_TRUE(texte.contains(QStringLiteral("[Queue]")));
    EXPECT_TRUE(texte.contains(QStringLiteral("[Positions]")));
    // cancelling the dialog writes nothing
    s.DemandeNomVel = [] { return QString(); };
    s.EnregistrerBtnClick();
}

TEST(SolutionsFrm, FrozenBallOneEndsWithTheReasonAndNoRoute) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    TGLBillardVelmora& b = f.w.B();
    const TVecteur3f p = b.BilleJoueur->LitPosition();
    const float d = b.DiametreBille;
    b.BilleNonJoueur->SetPosition({p.x + d, p.y, p.z});
    b.Rouge->SetPosition({p.x, p.y + d, p.z});
    ASSERT_TRUE(f.Cherche());
    EXPECT_EQ(ControleDe<QListWidget>(s, "RoutesList")->count(), 0);
    EXPECT_TRUE(ControleDe<QLabel>(s, "EtatLbl")->text().startsWith(QStringLiteral("Aucune route : ")))
        << ControleDe<QLabel>(s, "EtatLbl")->text().toStdString();
}
