// The trajectory memory with the main window: its Delete key and item clear the kept lines.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <tuple>

#include "app/FenetresOutils.h"
#include "tests/app/Fenetres.h"
#include "tests/support/ControleParNom.h"
#include "widgets/CaseLed.h"

namespace {

// the window with memorization switched on
TMemTrajetsFrm& Memoire(TFenetres& w) {
    w.Cree();
    TMemTrajetsFrm& m = *w.F().MemTrajetsFrm;
    ControleDe<QPushButton>(m, "MemOn")->click();
    return m;
}

// a shot at this cue speed, fired as the main window fires
void Tire(TFenetres& w, float vitesse) {
    w.B().Queue->SetVitesse(vitesse);
    w.F().FeuBtnClick();
}

size_t NbTraits(const TMemTrajetsFrm& m) {
    return m.ConteneurTrajets ? m.ConteneurTrajets->Enfants().size() : 0;
}

}  // namespace

TEST(MemTrajets, ClearingTheTableAndClosingTheWindowTakeTheKeptLinesAway) {
    TFenetres w;
    TMemTrajetsFrm& m = Memoire(w);
    m.show();
    Tire(w, 200);
    Tire(w, 300);
    ASSERT_EQ(NbTraits(m), 2u);
    ASSERT_TRUE(m.ConteneurTrajets->Visible());
    // closed, the window leaves only the live lines; shown again, its lines come back
    m.close();
    EXPECT_FALSE(m.ConteneurTrajets->Visible());
    m.show();
    EXPECT_TRUE(m.ConteneurTrajets->Visible());
    // the Delete key ("Efface le billard") clears the kept lines too; the rows and records stay
    QKeyEvent suppr(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    w.F().FormKeyDown(&suppr);
    EXPECT_EQ(NbTraits(m), 0u);
    EXPECT_EQ(m.Ligne(1, 0), nullptr);
    EXPECT_TRUE(m.LigneUtilisee(1));
    EXPECT_EQ(m.Cellule(4, 2), QStringLiteral("300"));
    EXPECT_TRUE(ControleDe<QTableWidget>(m, "MemGrid")->verticalHeaderItem(0)->icon().isNull());
    Tire(w, 400);
    EXPECT_EQ(NbTraits(m), 1u);
    Controle<QAction>(w.F(), "ResettrajetsVRMnu")->trigger();
    EXPECT_EQ(NbTraits(m), 0u);
}
