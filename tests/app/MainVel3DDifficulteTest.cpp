// The difficulty evaluation in the program: while it runs, the main window's shot commands wait.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QMenu>
#include <QTableWidget>
#include <QToolButton>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tests/app/Fenetres.h"
#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/PiloteDifficulte.h"
#include "tools/Difficulte.h"

namespace {

struct TFenetreDifficulte : TPiloteDifficulte {
    TFenetres w;

    explicit TFenetreDifficulte(const char* position = nullptr) {
        w.Cree();
        if (position) w.F().OuvrePosition(Exemple(position));
        Montre(w.F().DifficulteFrm);
    }
};

}  // namespace

TEST(Difficulte, WhileRunningTheWindowRefusesToCloseAndTheShotIsLocked) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    TMainVel3DFrm& m = f.w.F();
    f.GrandeGrille();
    d.CalculBtnClick();
    ASSERT_TRUE(d.EnCours());
    // the commands that would change the cue, the balls or the grid wait
    EXPECT_FALSE(ControleDe<QTableWidget>(d, "QGrid")->isEnabled());
    EXPECT_FALSE(ControleDe<QToolButton>(d, "CalculBtn")->isEnabled());
    EXPECT_TRUE(ControleDe<QToolButton>(d, "EscBtn")->isEnabled());
    EXPECT_FALSE(Controle<QToolButton>(m, "FeuBtn")->isEnabled());
    EXPECT_FALSE(m.QueueFrm->isEnabled());
    EXPECT_FALSE(Controle<QMenu>(m, "Fichiers1")->menuAction()->isEnabled());
    EXPECT_FALSE(Controle<QMenu>(m, "Jeu1")->menuAction()->isEnabled());
    const TVecteur3f avant = f.w.B().BilleJoueur->LitPosition();
    m.OuvrePosition(Exemple("manque.vel"));
    EXPECT_EQ(f.w.B().BilleJoueur->LitPosition().y, avant.y);
    d.ChangeCellule(1, 1, 0);
    EXPECT_EQ(d.Grille().NbEssais[peEffet], 30);

    const QString texte = Boite([&] { d.close(); });
    EXPECT_EQ(texte, QStringLiteral("Calculs en cours, fermeture impossible"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.EnCours());
    // nor does its dock's close button close it
    EXPECT_EQ(Boite([&] { d.Dock()->close(); }), QStringLiteral("Calculs en cours, fermeture impossible"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(Controle<QAction>(m, "DifficulteMnu")->isChecked());

    d.EscBtnClick();
    ASSERT_TRUE(Attends([&] { return !d.EnCours(); }, 3000));
    EXPECT_TRUE(Controle<QToolButton>(m, "FeuBtn")->isEnabled());
    EXPECT_TRUE(m.QueueFrm->isEnabled());
    EXPECT_TRUE(ControleDe<QTableWidget>(d, "QGrid")->isEnabled());
    d.close();
    EXPECT_FALSE(d.isVisible());
}
