// The solutions window driven as a user drives it: a search that locks the shot, the routes
// listed with their drawing, their named cushions and diamonds, how to play them and a French
// rate, their variants unfolding under them; a chosen route or variant set on the cue and played
// as scored; routes greyed once the position is another; Escape keeping the routes found so far,
// Mémoriser and Enregistrer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

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
    QTreeWidget* liste = ControleDe<QTreeWidget>(s, "RoutesList");
    ASSERT_EQ(liste->topLevelItemCount(), int(r.Routes.size()));
    // each route: its drawing, its exact contacts with diamonds, how to play it, its rate with the
    // French decimal comma, its variants under it
    const QTreeWidgetItem* premier = liste->topLevelItem(0);
    const QString texte = premier->text(0);
    EXPECT_FALSE(premier->icon(0).isNull());
    EXPECT_TRUE(texte.startsWith(QStringLiteral("1. "))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QRegularExpression(
        QStringLiteral("(longue (droite|gauche)|courte du (haut|bas)) [0-8],[0-9] → .*(Jaune|Rouge)\\n"))))
        << texte.toStdString();
    EXPECT_TRUE(texte.contains(QRegularExpression(QStringLiteral("vitesse ([1-9]|10)/10\\n"))))
        << texte.toStdString();
    EXPECT_TRUE(texte.contains(QRegularExpression(QStringLiteral("réussite [0-9]+,[0-9] %"))))
        << texte.toStdString();
    EXPECT_EQ(premier->childCount(), int(r.Routes[0].Variantes.size()));
    EXPECT_EQ(texte.contains(QStringLiteral(" variante")), !r.Routes[0].Variantes.empty());

    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
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
    EXPECT_GT(ControleDe<QTreeWidget>(s, "RoutesList")->topLevelItemCount(), 0);
    EXPECT_TRUE(ControleDe<QLabel>(s, "EtatLbl")->text().contains(QStringLiteral("recherche arrêtée")))
        << ControleDe<QLabel>(s, "EtatLbl")->text().toStdString();
    EXPECT_FALSE(f.w.h.CoupVerrouille());
}

TEST(SolutionsFrm, MemoriserAndEnregistrerKeepTheChosenRoute) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    ASSERT_TRUE(f.Cherche());
    ASSERT_GT(ControleDe<QTreeWidget>(s, "RoutesList")->topLevelItemCount(), 0);
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
    EXPECT_EQ(ControleDe<QTreeWidget>(s, "RoutesList")->topLevelItemCount(), 0);
    EXPECT_TRUE(ControleDe<QLabel>(s, "EtatLbl")->text().startsWith(QStringLiteral("Aucune route : ")))
        << ControleDe<QLabel>(s, "EtatLbl")->text().toStdString();
}

TEST(SolutionsFrm, AVariantPlaysTheRoutesContactsWithItsOwnCue) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    ASSERT_TRUE(f.Cherche());
    const TResultatSolveur& r = s.DernierResultat();
    int i = 0;
    while (i < int(r.Routes.size()) && r.Routes[size_t(i)].Variantes.empty()) ++i;
    ASSERT_LT(i, int(r.Routes.size())) << "no route with a variant";
    const TVarianteRoute& v = r.Routes[size_t(i)].Variantes.front();
    s.ChoisitVariante(i, 0);
    EXPECT_EQ(s.RouteCourante(), i);
    EXPECT_EQ(f.w.B().Queue->Visee(), v.Queue.Visee);
    EXPECT_EQ(f.w.B().Queue->Vitesse(), v.Queue.Vitesse);
    EXPECT_TRUE(f.w.B().Simu->PointReussi);
    // the same contacts as the route, cushion by cushion
    EXPECT_EQ(JugeTrajets(*f.w.B().Simu).Sequence.Code(), r.Routes[size_t(i)].Sequence.Code());
}

TEST(SolutionsFrm, RoutesOfAnotherPositionAreGreyedUntilTheSearchsPositionComesBack) {
    TFenetreSolutions f;
    TSolutionsFrm& s = *f.s;
    ASSERT_TRUE(f.Cherche());
    QTreeWidget* liste = ControleDe<QTreeWidget>(s, "RoutesList");
    QLabel* etat = ControleDe<QLabel>(s, "EtatLbl");
    ASSERT_GT(liste->topLevelItemCount(), 0);
    const QString avant = etat->text();
    TGLBillardVelmora& b = f.w.B();
    s.MajValidite(b.EtatPosition());
    EXPECT_FALSE(s.Perimee());
    // the red moved: the routes are another position's
    TVecteur3f p = b.Rouge->LitPosition();
    p.x += 10;
    b.Rouge->SetPosition(p);
    s.MajValidite(b.EtatPosition());
    EXPECT_TRUE(s.Perimee());
    EXPECT_EQ(etat->text(), QStringLiteral("position modifiée — relancer"));
    EXPECT_EQ(liste->topLevelItem(0)->foreground(0).color(), QColor(Qt::gray));
    // another table, the balls back: still another position
    p.x -= 10;
    b.Rouge->SetPosition(p);
    const double frottement = b.Simu->Fisik.FrotBiBde();
    b.Simu->Fisik.Change(&TConstantesPhys::FrotBiBde, 1.5 * frottement);
    s.MajValidite(b.EtatPosition());
    EXPECT_TRUE(s.Perimee());
    b.Simu->Fisik.Change(&TConstantesPhys::FrotBiBde, frottement);
    s.MajValidite(b.EtatPosition());
    EXPECT_FALSE(s.Perimee());
    EXPECT_EQ(etat->text(), avant);
    // a route chosen from a greyed list puts the search's balls back: the list is current again
    b.Rouge->SetPosition({p.x + 10, p.y, p.z});
    s.MajValidite(b.EtatPosition());
    ASSERT_TRUE(s.Perimee());
    s.ChoisitRoute(0);
    s.MajValidite(b.EtatPosition());
    EXPECT_FALSE(s.Perimee());
}
