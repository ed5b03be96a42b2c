// Recorded shots in the program: the items that open one and show its window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

#include "app/FenetresOutils.h"
#include "scene/Noeud.h"
#include "tests/app/Fenetres.h"
#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/ControleParNom.h"
#include "tools/Enregistrement.h"
#include "tools/EnregistrementGraphe.h"

namespace {

struct TAvecEnregistrement {
    TFenetres w;
    TMainVel3DFrm* f = nullptr;
    QTemporaryDir dossier;
    TCoupGenere g;
    QString nom;

    TAvecEnregistrement() {
        f = &w.Cree();
        // a three-cushion shot on the program's own table
        g = GenereCoup(w.B().Simu->Fisik, {-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5, 3);
        nom = dossier.filePath(QStringLiteral("coup.csv"));
        std::string erreur;
        EXPECT_TRUE(EcritCoupEnregistre(nom.toStdString(), g.Coup, &erreur)) << erreur;
    }
    TEnregistrementFrm& E() { return *f->EnregistrementFrm; }
    TVecteur3f Position(int rang) {
        TGLBilles* billes[3] = {w.B().BilleJoueur, w.B().BilleNonJoueur, w.B().Rouge};
        return billes[rang - 1]->LitPosition();
    }
};

}  // namespace

TEST(Enregistrement, OpeningFromTheMainWindowShowsTheWindowAndChecksItsItem) {
    TAvecEnregistrement a;
    EXPECT_EQ(Controle<QAction>(*a.f, "OuvreEnregistrementMnu")->text(),
              QStringLiteral("Ouvrir un coup enregistré…"));
    EXPECT_TRUE(Controle<QMenu>(*a.f, "Fichiers1")
                    ->actions()
                    .contains(Controle<QAction>(*a.f, "OuvreEnregistrementMnu")));
    EXPECT_TRUE(Controle<QMenu>(*a.f, "FenetresMnu")
                    ->actions()
                    .contains(Controle<QAction>(*a.f, "EnregistrementMnu")));
    ASSERT_TRUE(a.f->OuvreEnregistrement(a.nom));
    EXPECT_TRUE(a.E().isVisible());
    EXPECT_TRUE(Controle<QAction>(*a.f, "EnregistrementMnu")->isChecked());
    // every shot the main window fires is scored there
    a.f->FeuBtnClick();
    EXPECT_GT(a.E().Scores().Bille1, 0.0);
    EXPECT_EQ(ControleDe<TGrapheEcarts>(a.E(), "Graphe")->Points().size(), a.g.Coup.Billes[1].size());
}
