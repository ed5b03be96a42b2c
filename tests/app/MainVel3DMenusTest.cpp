#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/FenetresOutils.h"
#include "tests/app/Fenetres.h"

namespace {

struct TItemAttendu {
    QAction* action;
    const char* titre;
    bool cochable;
    bool coche;
    QKeySequence raccourci;
    const char* bulle;  // status tip: the part after "|"
};

}  // namespace

TEST(MainVel3DMenus, EveryItemHasItsCaptionCheckShortcutAndHint) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    const TItemAttendu items[] = {
        {Controle<QMenu>(f, "Fichiers1")->menuAction(), "&Fichiers", false, false, {}, ""},
        {Controle<QMenu>(f, "LoadFrmFileMnu")->menuAction(), "charger une position", false, false, {}, ""},
        {Controle<QAction>(f, "ouvrirMnu"),
         "(ouvrir)",
         false,
         false,
         {},
         "charger un fichier vel (queue et position intiales des billes)"},
        {Controle<QAction>(f, "SaveToFileMnu"),
         "Sauver la position",
         false,
         false,
         {},
         "sauve la queue et les positions initiales des billes"},
        {Controle<QMenu>(f, "Jeu1")->menuAction(), "&Jeu", false, false, {}, ""},
        {Controle<QAction>(f, "BilleJoueurMnu"),
         "Joueur : Blanche",
         false,
         false,
         {},
         "click pour alterner blanche/jaune"},
        {Controle<QMenu>(f, "Modedejeu1")->menuAction(),
         "Mode de jeu",
         false,
         false,
         {},
         "fixe le mode de jeu pour validation du point"},
        {Controle<QAction>(f, "Mnu3bandes"), "3 bandes", true, true, {}, ""},
        {Controle<QAction>(f, "Mnu1bande"), "1 bandes", true, false, {}, ""},
        {Controle<QAction>(f, "MnuLibre"), "Libre", true, false, {}, ""},
        {Controle<QAction>(f, "LastCoupBeginMnu"),
         "Début dernier coup        HOME",
         false,
         false,
         {},
         "replace au début du dernier coup joué"},
        {Controle<QAction>(f, "LastCoupEndMnu"),
         "Fin dernier coup              FIN",
         false,
         false,
         {},
         "place à la fin du dernier coup joué"},
        {Controle<QAction>(f, "PosDepartMnu"),
         "Remettre position départ",
         false,
         false,
         {},
         "place en position début de partie"},
        {Controle<QMenu>(f, "OptionsJeu")->menuAction(), "&Affichage", false, false, {}, ""},
        {Controle<QAction>(f, "CamFixeMobileMnu"), "cam actuelle : Mobile", false, false,
         QKeySequence(Qt::Key_F2), "basculer vue Fixe (du plafond) / mobile"},
        {Controle<QAction>(f, "TrajetsMnu"),
         "Lignes trajets",
         true,
         true,
         {},
         "affichage des trajets toutes billes"},
        {Controle<QMenu>(f, "Lignes1")->menuAction(),
         "Détail lignes trajets",
         false,
         false,
         {},
         "affichage individuel des trajets de chaque bille"},
        {Controle<QAction>(f, "TrajetBillejoueurMnu"), "Bille joueur", true, true, {}, ""},
        {Controle<QAction>(f, "TrajetBillenonjoueurMnu"), "Bille non joueur", true, true, {}, ""},
        {Controle<QAction>(f, "TrajetRougeMnu"), "Rouge", true, true, {}, ""},
        {Controle<QAction>(f, "VRMnu"),
         "Vecteurs V et R",
         true,
         false,
         {},
         "affichage des vecteurs vitesse et rotation en animation ou outil PVR"},
        {Controle<QAction>(f, "AnimationMnu"),
         "Animation (1,0)",
         true,
         false,
         {},
         "deplace automatiquement les billes (facteur de ralenti 1=normal)"},
        {Controle<QAction>(f, "QueuevisibleMnu"), "Queue visible", true, true,
         QKeySequence(Qt::CTRL | Qt::Key_Q), "queue visible/invisible"},
        {Controle<QAction>(f, "ResettrajetsVRMnu"),
         "Efface le billard (trajets et V/R)   SUPPR",
         false,
         false,
         {},
         "efface les trajets visibles"},
        {Controle<QAction>(f, "LumiereSalleMnu"),
         "Lumière de salle",
         true,
         false,
         {},
         "seule la lampe du billard éclaire : un halo sur le tapis, la salle dans la pénombre"},
        {Controle<QAction>(f, "DispositionMnu"),
         "Disposition par défaut",
         false,
         false,
         {},
         "remet les fenêtres outils à leur place : la queue à droite, les autres en onglets à droite ou "
         "sous le billard"},
        {Controle<QMenu>(f, "FenetresMnu")->menuAction(), "&Outils", false, false, {}, ""},
        {Controle<QAction>(f, "VueParamQueueMnu"), "Params queue", true, true, QKeySequence(Qt::Key_F3),
         "fenêtre de réglaqe queue (effet, hauteur etc)"},
        {Controle<QAction>(f, "DifficulteMnu"),
         "Evaluation de la difficulté",
         true,
         false,
         {},
         "évaluation de la difficulté objective du point en cours"},
        {Controle<QAction>(f, "VueMemoMnu"),
         "Mémorisation trajets (off)",
         true,
         false,
         {},
         "caractéristiques des trajets mémorisés"},
        {Controle<QAction>(f, "VueNumMnu"),
         "Valeurs P, V, R",
         true,
         false,
         {},
         "valeurs numériques des positions, vitesses et rotations"},
        {Controle<QAction>(f, "CalibreBdMnu"),
         "Reglage du billard",
         true,
         false,
         {},
         "pour rendre le tapis plus glissant, les bandes plus rugueuses etc"},
        {Controle<QMenu>(f, "AideMnu")->menuAction(), "Aide", false, false, {}, ""},
        {Controle<QAction>(f, "SommaireChmMnu"), "Sommaire", false, false, {}, ""},
        {Controle<QAction>(f, "IndexChmMnu"), "Index de l'aide", false, false, {}, ""},
        {Controle<QAction>(f, "Raccourcisclavier1"), "Raccourcis clavier", false, false, {}, ""},
        {Controle<QAction>(f, "AproposMnu"), "A propos ...", false, false, {}, ""},
    };
    for (const TItemAttendu& i : items) {
        const QString titre = QString::fromUtf8(i.titre);
        EXPECT_EQ(i.action->text(), titre);
        EXPECT_EQ(i.action->isCheckable(), i.cochable) << i.titre;
        EXPECT_EQ(i.action->isChecked(), i.coche) << i.titre;
        EXPECT_EQ(i.action->shortcut(), i.raccourci) << i.titre;
        EXPECT_EQ(i.action->statusTip(), QString::fromUtf8(i.bulle)) << i.titre;
    }
    // the menu bar in its order
    QStringList barre;
    for (QAction* a : f.menuBar()->actions()) barre << a->text();
    EXPECT_EQ(barre, QStringList({"&Fichiers", "&Jeu", "&Affichage", "&Outils", "Aide"}));
}

TEST(MainVel3DMenus, GameModesFormOneRadioGroupThatSetsTheRule) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    EXPECT_TRUE(Controle<QActionGroup>(f, "ModesDeJeu")->isExclusive());
    EXPECT_EQ(w.B().Simu->ModeDeJeu, j3Bandes);
    Controle<QAction>(f, "MnuLibre")->trigger();
    EXPECT_FALSE(Controle<QAction>(f, "Mnu3bandes")->isChecked());
    EXPECT_TRUE(Controle<QAction>(f, "MnuLibre")->isChecked());
    EXPECT_EQ(w.B().Simu->ModeDeJeu, jLibre);
    Controle<QAction>(f, "Mnu1bande")->trigger();
    EXPECT_EQ(w.B().Simu->ModeDeJeu, j1Bande);
    // choosing the checked mode again changes nothing
    Controle<QAction>(f, "Mnu1bande")->trigger();
    EXPECT_TRUE(Controle<QAction>(f, "Mnu1bande")->isChecked());
    EXPECT_EQ(w.B().Simu->ModeDeJeu, j1Bande);
}

TEST(MainVel3DMenus, PlayerBallAndCameraItemsAlternateTheirCaption) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<QAction>(f, "BilleJoueurMnu")->trigger();
    EXPECT_EQ(Controle<QAction>(f, "BilleJoueurMnu")->text(), QStringLiteral("Joueur : Jaune"));
    EXPECT_EQ(w.B().BilleJoueur, w.B().Jaune);
    EXPECT_EQ(w.B().Queue->Bille, w.B().Jaune);
    Controle<QAction>(f, "BilleJoueurMnu")->trigger();
    EXPECT_EQ(Controle<QAction>(f, "BilleJoueurMnu")->text(), QStringLiteral("Joueur : Blanche"));
    EXPECT_EQ(w.B().BilleJoueur, w.B().Blanche);

    ASSERT_TRUE(w.B().CamMobileActive);
    Controle<QAction>(f, "CamFixeMobileMnu")->trigger();
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Fixe"));
    EXPECT_FALSE(w.B().CamMobileActive);
    EXPECT_EQ(f.VueTable.Camera(), w.B().CamFixe);
    Controle<QAction>(f, "CamFixeMobileMnu")->trigger();
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Mobile"));
    EXPECT_TRUE(w.B().CamMobileActive);
}

TEST(MainVel3DMenus, TheCameraItemAndF2FollowTheCameraAPositionChose) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    ASSERT_TRUE(w.B().CamMobileActive);
    // this position is seen from the ceiling
    ASSERT_TRUE(f.OuvrePosition(Exemple("ouverture.vel")));
    ASSERT_FALSE(w.B().CamMobileActive);
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Fixe"));
    // the first F2 goes to the mobile camera
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    f.FormKeyDown(&f2);
    EXPECT_TRUE(w.B().CamMobileActive);
    EXPECT_EQ(f.VueTable.Camera(), w.B().CamMobile);
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Mobile"));
    f.FormKeyDown(&f2);
    EXPECT_EQ(f.VueTable.Camera(), w.B().CamFixe);
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->text(), QStringLiteral("cam actuelle : Fixe"));
}

TEST(MainVel3DMenus, DetailItemsDriveTheTrajectoryLinesItem) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    f.FeuBtnClick();
    ASSERT_FALSE(w.B().BilleJoueur->TrajetVide());
    // unchecking all three unchecks "Lignes trajets" and hides each line
    for (QAction* a :
         {Controle<QAction>(f, "TrajetBillejoueurMnu"), Controle<QAction>(f, "TrajetBillenonjoueurMnu"),
          Controle<QAction>(f, "TrajetRougeMnu")}) {
        EXPECT_TRUE(Controle<QAction>(f, "TrajetsMnu")->isChecked());
        a->trigger();
    }
    EXPECT_FALSE(Controle<QAction>(f, "TrajetsMnu")->isChecked());
    EXPECT_TRUE(w.B().BilleJoueur->TrajetVide());
    EXPECT_FALSE(w.B().Rouge->TrajetVisible);
    // checking one of them checks it again and redraws that ball only
    Controle<QAction>(f, "TrajetRougeMnu")->trigger();
    EXPECT_TRUE(Controle<QAction>(f, "TrajetsMnu")->isChecked());
    EXPECT_TRUE(w.B().Rouge->TrajetVisible);
    EXPECT_FALSE(w.B().Rouge->TrajetVide());
    EXPECT_FALSE(w.B().BilleJoueur->TrajetVisible);
    // "Lignes trajets" sets the three at once
    Controle<QAction>(f, "TrajetsMnu")->trigger();
    EXPECT_FALSE(Controle<QAction>(f, "TrajetRougeMnu")->isChecked());
    EXPECT_FALSE(w.B().Rouge->TrajetVisible);
    Controle<QAction>(f, "TrajetsMnu")->trigger();
    for (QAction* a :
         {Controle<QAction>(f, "TrajetBillejoueurMnu"), Controle<QAction>(f, "TrajetBillenonjoueurMnu"),
          Controle<QAction>(f, "TrajetRougeMnu")})
        EXPECT_TRUE(a->isChecked());
    EXPECT_FALSE(w.B().BilleNonJoueur->TrajetVide());
}

TEST(MainVel3DMenus, ToolWindowsAreHiddenDocksToggledByTheirItem) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    const struct {
        TFenetreOutil* fenetre;
        QAction* item;
        int contexte;
    } outils[] = {{f.MemTrajetsFrm, Controle<QAction>(f, "VueMemoMnu"), 1440},
                  {f.VueNumFrm, Controle<QAction>(f, "VueNumMnu"), 1410},
                  {f.CalibrageFrm, Controle<QAction>(f, "CalibreBdMnu"), 1430},
                  {f.DifficulteFrm, Controle<QAction>(f, "DifficulteMnu"), 1420},
                  {f.QueueFrm, Controle<QAction>(f, "VueParamQueueMnu"), 1450}};
    for (const auto& o : outils) {
        ASSERT_TRUE(o.fenetre->Dock());
        EXPECT_EQ(o.fenetre->Dock()->parentWidget(), &f);
        EXPECT_EQ(o.fenetre->Dock()->windowTitle(), o.fenetre->windowTitle());
        EXPECT_FALSE(o.fenetre->isVisible());
        EXPECT_EQ(o.fenetre->ContexteAide(), o.contexte);
    }
    w.Montre();
    for (const auto& o : outils) {
        if (o.fenetre != f.QueueFrm) {
            o.item->trigger();
            EXPECT_TRUE(o.fenetre->isVisible());
        }
        // the user closes it: the item unchecks
        o.fenetre->close();
        EXPECT_FALSE(o.item->isChecked()) << o.fenetre->windowTitle().toStdString();
        o.item->trigger();
        EXPECT_TRUE(o.fenetre->isVisible());
        o.item->trigger();
        EXPECT_FALSE(o.fenetre->isVisible());
    }
}

TEST(MainVel3DMenus, RecentFilesShowMostRecentFirstAndSurviveARestart) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    QStringList noms;
    for (int i = 1; i <= 5; ++i) noms << w.dossier.filePath(QStringLiteral("p%1.vel").arg(i));
    for (const QString& n : noms) f.RetientFichier(n);
    f.RetientFichier(noms[2]);
    const auto recents = [&f] {
        QStringList l;
        for (QAction* a : Controle<QMenu>(f, "LoadFrmFileMnu")->actions())
            if (a != Controle<QAction>(f, "ouvrirMnu")) l << a->data().toString();
        return l;
    };
    EXPECT_EQ(Controle<QMenu>(f, "LoadFrmFileMnu")->actions().first(), Controle<QAction>(f, "ouvrirMnu"));
    EXPECT_EQ(recents(), QStringList({noms[2], noms[4], noms[3], noms[1]}));
    // stored at once, read back by the next start
    w.principale.reset();
    TMainVel3DFrm& g = w.Cree(false);
    QStringList relus;
    for (const std::string& n : g.mruList().Noms()) relus << QString::fromStdString(n);
    EXPECT_EQ(relus, QStringList({noms[2], noms[4], noms[3], noms[1]}));
}
