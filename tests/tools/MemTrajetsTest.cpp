#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <tuple>

#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/MemTrajets.h"
#include "widgets/CaseLed.h"

namespace {

struct TCompteurCoups {
    int n = 0;
    void Coup(void*) { ++n; }
};

using TFenetres = TOutilFactice<TMemTrajetsFrm>;

// the window fed with every shot fired, as the main window feeds it
TMemTrajetsFrm& Branche(TFenetres& w) {
    TMemTrajetsFrm& m = w.F();
    w.h.ApresFeu = [&m] { m.Memorise(); };
    return m;
}

// the window with memorization switched on
TMemTrajetsFrm& Memoire(TFenetres& w) {
    TMemTrajetsFrm& m = Branche(w);
    ControleDe<QPushButton>(m, "MemOn")->click();
    return m;
}

// a shot at this cue speed, fired as the main window fires
void Tire(TFenetres& w, float vitesse) {
    w.B().Queue->SetVitesse(vitesse);
    w.h.Feu();
}

size_t NbTraits(const TMemTrajetsFrm& m) {
    return m.ConteneurTrajets ? m.ConteneurTrajets->Enfants().size() : 0;
}

}  // namespace

TEST(MemTrajets, StartsOffWithThreeEmptyRowsAndItsLabels) {
    TFenetres w;
    TMemTrajetsFrm& m = Branche(w);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Paramètres de mémorisation des trajets"));
    EXPECT_FALSE(ControleDe<QPushButton>(m, "MemOn")->isChecked());
    EXPECT_EQ(ControleDe<QPushButton>(m, "MemOn")->text(), QStringLiteral("mémorisation (off)"));
    EXPECT_TRUE(ControleDe<TCaseLed>(m, "Jcheck")->isChecked());
    EXPECT_FALSE(ControleDe<TCaseLed>(m, "njCheck")->isChecked());
    EXPECT_EQ(ControleDe<QLabel>(m, "DensiteLbl")->text(), QStringLiteral("densité : 1/5"));
    EXPECT_EQ(ControleDe<QLabel>(m, "MaxTrajetsLbl")->text(), QStringLiteral("Max mémo : 3"));
    EXPECT_EQ(m.NbLignes(), 4);
    EXPECT_EQ(m.Cellule(2, 0), QStringLiteral("Visée"));
    // off: a shot leaves nothing
    Tire(w, 200);
    EXPECT_FALSE(m.LigneUtilisee(1));
    EXPECT_EQ(m.ConteneurTrajets, nullptr);
    ControleDe<QPushButton>(m, "MemOn")->click();
    EXPECT_EQ(ControleDe<QPushButton>(m, "MemOn")->text(), QStringLiteral("mémorisation (on)"));
    // the main window is told each time, for its item
    ControleDe<QPushButton>(m, "MemOn")->click();
    EXPECT_EQ(w.h.Memoires, (std::vector<bool>{true, false}));
}

TEST(MemTrajets, FourthShotWithMaximumThreeReplacesTheThirdRow) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    for (float v : {100.f, 200.f, 300.f, 400.f}) Tire(w, v);
    EXPECT_EQ(m.Cellule(4, 1), QStringLiteral("100"));
    EXPECT_EQ(m.Cellule(4, 2), QStringLiteral("200"));
    EXPECT_EQ(m.Cellule(4, 3), QStringLiteral("400"));
    // the third row's line was refilled, not doubled
    EXPECT_EQ(NbTraits(m), 3u);
    EXPECT_FLOAT_EQ(m.Enregistrement(3)[2], 400.f);
    // texts: cm and degrees with two decimals, speed and mass whole
    const TGLQueue& q = *w.B().Queue;
    EXPECT_EQ(m.Cellule(2, 1), QLocale().toString(double(q.Visee()), 'f', 2));
    EXPECT_EQ(m.Cellule(5, 1), QLocale().toString(double(q.Masse()), 'f', 0));
    EXPECT_EQ(m.Cellule(0, 1), QLocale().toString(double(m.Enregistrement(1)[0]), 'f', 2));
    EXPECT_TRUE(m.Cellule(1, 1).contains(QLatin1Char(','))) << m.Cellule(1, 1).toStdString();
}

TEST(MemTrajets, DensityZeroKeepsEveryPhotoAndFiveEveryFifthWithTheCollisions) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    ControleDe<QSpinBox>(m, "Densite")->setValue(0);
    Tire(w, 300);
    ControleDe<QSpinBox>(m, "Densite")->setValue(5);
    Tire(w, 300);
    const TBillardVelmora& s = *w.B().Simu;
    ASSERT_GT(s.NbPhotos, 20);
    int attendus = 1;
    bool choc = false;
    for (int k = 1; k <= s.NbPhotos; ++k) {
        const bool garde = s.TypesChocs[k] != tcAucun || k % 5 == 0;
        attendus += garde;
        choc = choc || (s.TypesChocs[k] != tcAucun && k % 5 != 0);
    }
    EXPECT_TRUE(choc) << "the shot should have a collision off the sampling";
    ASSERT_NE(m.Ligne(1, 0), nullptr);
    EXPECT_EQ(m.Ligne(1, 0)->Noeuds().size(), size_t(s.NbPhotos) + 1);
    EXPECT_EQ(m.Ligne(2, 0)->Noeuds().size(), size_t(attendus));
    // drawn in its row's style (not the ball's own colour, which the live line has), from its
    // starting place
    EXPECT_NE(m.Ligne(2, 0)->Couleur(), w.B().BilleJoueur->Couleur());
    const TVecteur& p0 = s.Trajets[1][0].Position;
    EXPECT_FLOAT_EQ(m.Ligne(2, 0)->Noeuds()[0].x, float(p0.x));
}

TEST(MemTrajets, DeletingRowOneMovesTheOthersUpWithTheirLinesAndRecords) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    ControleDe<TCaseLed>(m, "rgeCheck")->setChecked(true);
    Tire(w, 100);
    w.B().Rouge->SetPosition({-30, 40, 0});
    Tire(w, 200);
    Tire(w, 300);
    TLignes* deuxieme = m.Ligne(2, 0);
    TLignes* troisieme = m.Ligne(3, 2);
    const TMemTrajetsFrm::TEnregistrement e2 = m.Enregistrement(2);
    ASSERT_EQ(NbTraits(m), 6u);
    m.SelectionneLigne(1);
    m.DelBtnClick();
    EXPECT_EQ(NbTraits(m), 4u);
    EXPECT_EQ(m.Ligne(1, 0), deuxieme);
    EXPECT_EQ(m.Ligne(2, 2), troisieme);
    EXPECT_EQ(m.Enregistrement(1), e2);
    EXPECT_EQ(m.Cellule(4, 1), QStringLiteral("200"));
    EXPECT_FALSE(m.LigneUtilisee(3));
    EXPECT_EQ(m.Ligne(3, 0), nullptr);
    // the former second shot is set up again: cue and balls
    w.B().Queue->SetVitesse(999);
    w.B().Rouge->SetPosition({10, 10, 0});
    m.ReplaceBtnClick();
    EXPECT_FLOAT_EQ(w.B().Queue->Vitesse(), 200.f);
    EXPECT_FLOAT_EQ(w.B().Rouge->LitPosition().x, e2[12]);
    EXPECT_FLOAT_EQ(w.B().Rouge->LitPosition().y, e2[13]);
    // replacing from an empty row does nothing
    m.SelectionneLigne(3);
    m.ReplaceBtnClick();
    EXPECT_FLOAT_EQ(w.B().Queue->Vitesse(), 200.f);
}

TEST(MemTrajets, UncheckedPlayerKeepsNoLineButStillWritesTheRow) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    ControleDe<TCaseLed>(m, "Jcheck")->setChecked(false);
    Tire(w, 150);
    EXPECT_TRUE(m.LigneUtilisee(1));
    EXPECT_EQ(m.Cellule(4, 1), QStringLiteral("150"));
    for (int b = 0; b < 3; ++b) EXPECT_EQ(m.Ligne(1, b), nullptr);
    EXPECT_EQ(NbTraits(m), 0u);
}

TEST(MemTrajets, LoweringTheMaximumDeletesTheShotsBeyondAndFreesTheirLines) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    ControleDe<QSpinBox>(m, "MaxTrajets")->setValue(5);
    for (float v : {100.f, 200.f, 300.f, 400.f, 500.f}) Tire(w, v);
    ASSERT_EQ(NbTraits(m), 5u);
    ControleDe<QSpinBox>(m, "MaxTrajets")->setValue(2);
    EXPECT_EQ(m.NbLignes(), 3);
    EXPECT_EQ(ControleDe<QTableWidget>(m, "MemGrid")->rowCount(), 2);
    EXPECT_EQ(NbTraits(m), 2u);
    EXPECT_EQ(ControleDe<QLabel>(m, "MaxTrajetsLbl")->text(), QStringLiteral("Max mémo : 2"));
    EXPECT_EQ(m.Cellule(4, 2), QStringLiteral("200"));
    // raising it adds empty rows, and the next shot takes the first of them
    ControleDe<QSpinBox>(m, "MaxTrajets")->setValue(4);
    EXPECT_EQ(m.NbLignes(), 5);
    Tire(w, 600);
    EXPECT_EQ(m.Cellule(4, 3), QStringLiteral("600"));
    EXPECT_FALSE(m.LigneUtilisee(4));
}

TEST(MemTrajets, DeleteAllEmptiesTheContainerAndTheRows) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    // before the first shot there is nothing to delete
    m.DelAllBtnClick();
    EXPECT_EQ(m.ConteneurTrajets, nullptr);
    Tire(w, 100);
    Tire(w, 200);
    m.DelAllBtnClick();
    ASSERT_NE(m.ConteneurTrajets, nullptr);
    EXPECT_EQ(NbTraits(m), 0u);
    EXPECT_FALSE(m.LigneUtilisee(1));
    EXPECT_EQ(m.Ligne(1, 0), nullptr);
    Tire(w, 300);
    EXPECT_EQ(m.Cellule(4, 1), QStringLiteral("300"));
}

TEST(MemTrajets, SpaceInTheWindowFiresAShotThatIsMemorized) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    m.show();
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    QTest::keyClick(ControleDe<QTableWidget>(m, "MemGrid"), Qt::Key_Space);
    EXPECT_TRUE(m.LigneUtilisee(1));
    EXPECT_FALSE(m.LigneUtilisee(2));
}

TEST(MemTrajets, ReplacingWithAutoFireOnFiresOnceTheWholeShotIsSetUp) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    Tire(w, 100);
    Tire(w, 250);
    TCompteurCoups coups;
    w.B().Simu->ApresQueueBille = TNotifyEvent::Lie<&TCompteurCoups::Coup>(&coups);
    w.h.TirAutoActif = true;
    m.Replacer(1);
    EXPECT_EQ(coups.n, 1);
    EXPECT_TRUE(w.h.TirAuto());
    // the replayed shot is memorized as any other: rows 1 and 2 stay, it lands in row 3
    EXPECT_EQ(m.Cellule(4, 3), QStringLiteral("100"));
    EXPECT_EQ(m.Cellule(4, 2), QStringLiteral("250"));
    w.B().Simu->ApresQueueBille = {};
}

TEST(MemTrajets, EachKeptShotHasItsOwnStyleShownInItsRow) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    ControleDe<TCaseLed>(m, "rgeCheck")->setChecked(true);
    Tire(w, 200);
    Tire(w, 300);
    ASSERT_TRUE(m.LigneUtilisee(1) && m.LigneUtilisee(2));
    EXPECT_NE(m.Style(1), m.Style(2));
    EXPECT_EQ(m.Style(3), -1);
    const auto style = [](const TLignes* l) {
        return std::tuple(l->Couleur(), l->Motif(), l->FacteurMotif());
    };
    for (int b : {0, 2}) {
        TLignes* un = m.Ligne(1, b);
        TLignes* deux = m.Ligne(2, b);
        ASSERT_TRUE(un && deux);
        // two kept shots never look alike, and neither looks like the live line of the ball
        EXPECT_NE(style(un), style(deux)) << b;
        EXPECT_NE(un->Motif(), 0xFFFF) << b;
        EXPECT_NE(un->Couleur(), w.B().BilleJoueur->Trajet->Couleur()) << b;
    }
    // within one shot the balls keep different colours
    EXPECT_NE(m.Ligne(1, 0)->Couleur(), m.Ligne(1, 2)->Couleur());
    // the head of each used row shows a sample of its style; an empty row none
    EXPECT_FALSE(ControleDe<QTableWidget>(m, "MemGrid")->verticalHeaderItem(0)->icon().isNull());
    EXPECT_FALSE(ControleDe<QTableWidget>(m, "MemGrid")->verticalHeaderItem(1)->icon().isNull());
    EXPECT_TRUE(ControleDe<QTableWidget>(m, "MemGrid")->verticalHeaderItem(2)->icon().isNull());
    // a row moved up keeps its style; a new shot takes one no kept shot uses
    const int deuxieme = m.Style(2);
    m.Supprime(1);
    EXPECT_EQ(m.Style(1), deuxieme);
    Tire(w, 400);
    EXPECT_NE(m.Style(2), m.Style(1));
}

TEST(MemTrajets, EachRowSaysItsStrokeInAPlayersWords_AndIsGreyedOnceTheTableChanges) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    Tire(w, 100);
    Tire(w, 400);
    EXPECT_EQ(m.Cellule(6, 0), QStringLiteral("Coup"));
    // the opening aims at the red; the speed on the player's scale
    EXPECT_TRUE(m.Cellule(6, 1).startsWith(QStringLiteral("Rouge "))) << m.Cellule(6, 1).toStdString();
    EXPECT_TRUE(m.Cellule(6, 1).endsWith(QStringLiteral("vitesse 2/10"))) << m.Cellule(6, 1).toStdString();
    EXPECT_TRUE(m.Cellule(6, 2).endsWith(QStringLiteral("vitesse 8/10"))) << m.Cellule(6, 2).toStdString();
    // the table tuned: both kept shots were another table's
    m.MajValidite(w.B().EtatPosition());
    EXPECT_FALSE(m.LignePerimee(1));
    w.B().Simu->Fisik.Change(&TConstantesPhys::FrotBiTapRoule, 0.01);
    m.MajValidite(w.B().EtatPosition());
    EXPECT_TRUE(m.LignePerimee(1));
    EXPECT_TRUE(m.LignePerimee(2));
    EXPECT_FALSE(m.LignePerimee(3));
    // a shot on the new table is current; deleting row 1 moves the greyed row 2 up
    Tire(w, 200);
    m.MajValidite(w.B().EtatPosition());
    EXPECT_FALSE(m.LignePerimee(3));
    m.Supprime(1);
    EXPECT_TRUE(m.LignePerimee(1));
    EXPECT_FALSE(m.LignePerimee(2));
}
