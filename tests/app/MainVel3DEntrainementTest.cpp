// The drill panel in the program: a pack opened on its own table, the player's ball and the mode
// through the "Jeu" menu, each shot fired by the player written to the history with its analysis,
// and the shots that are not attempts of the drill left out.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "app/MainVel3D.h"
#include "historique/StatistiquesHistorique.h"
#include "tests/app/Fenetres.h"
#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"

namespace {

struct TFenetreEntrainement {
    TFenetres w;
    TEntrainementFrm* e = nullptr;

    TFenetreEntrainement() {
        w.Cree();
        e = w.F().EntrainementFrm;
        e->NbThreads = 2;
        e->show();
        QApplication::processEvents();
    }
    QString Historique() const { return w.demarrage.Historique; }
    QString Texte(const char* etiquette) const { return ControleDe<QLabel>(*e, etiquette)->text(); }
    QToolButton* Bouton(const char* nom) const { return ControleDe<QToolButton>(*e, nom); }
    std::int64_t NombreTentatives() const {
        TBaseHistorique b;
        return b.Ouvre(Historique().toStdString()) ? b.NombreTentatives() : -1;
    }
    // fired as the player fires: the fire button
    void Tire() { Controle<QToolButton>(w.F(), "FeuBtn")->click(); }
    QString Joueur() { return Controle<QAction>(w.F(), "BilleJoueurMnu")->text(); }
    bool ModeCoche(const char* item) { return Controle<QAction>(w.F(), item)->isChecked(); }
    // a pack of two drills in the test's folder, on a table of its own
    QString PetitPack() {
        const QDir d(w.dossier.path());
        QFile::copy(Exemple("entrainement/ex01.vel"), d.filePath(QStringLiteral("a.vel")));
        QFile::copy(Exemple("entrainement/ex02.vel"), d.filePath(QStringLiteral("b.vel")));
        QFile::copy(Exemple("match.fsk"), d.filePath(QStringLiteral("table.fsk")));
        const QString nom = d.filePath(QStringLiteral("petit.ven"));
        QFile f(nom);
        f.open(QIODevice::WriteOnly);
        f.write(
            "[Entrainement]\nTitre=Petit pack\nTable=table.fsk\n\n"
            "[Exercice 1]\nPosition=a.vel\nTitre=Premier\nMode=3bandes\nJoueur=Blanche\n\n"
            "[Exercice 2]\nPosition=b.vel\nTitre=Second\nMode=1bande\nJoueur=Jaune\nNotes=la jaune\n");
        return nom;
    }
};

std::array<TVecteur3f, 3> Billes(TGLBillardVelmora& b) {
    return {b.Blanche->LitPosition(), b.Jaune->LitPosition(), b.Rouge->LitPosition()};
}

bool Egales(const std::array<TVecteur3f, 3>& a, const std::array<TVecteur3f, 3>& b) {
    for (size_t i = 0; i < 3; ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z) return false;
    return true;
}

}  // namespace

TEST(EntrainementFrm, TheProgramKeepsItsHistoryInTheFileItWasGiven) {
    TFenetreEntrainement f;
    EXPECT_TRUE(QFileInfo(f.Historique()).isFile());
    EXPECT_EQ(f.NombreTentatives(), 0);
}

TEST(EntrainementFrm, AnAttemptIsWrittenAtOnceAndItsLineTellsTheStrokesRobustnessAndThePacksBestRoute) {
    TFenetreEntrainement f;
    ASSERT_TRUE(f.e->OuvrePack(Exemple("entrainement/entrainement.ven")));
    EXPECT_TRUE(f.Texte("PackLbl").contains(QStringLiteral("exercice 1 sur 30 (table d'usine)")));
    ControleDe<QLineEdit>(*f.e, "JoueurEdit")->setText(QStringLiteral("Léa"));
    f.Tire();
    // in the history before its analysis ends
    EXPECT_EQ(f.NombreTentatives(), 1);
    ASSERT_TRUE(Attends([&] { return f.e->AnalyseFinie(); }));
    const QString ligne = f.Texte("ResultatLbl");
    EXPECT_TRUE(ligne.contains(QStringLiteral(" — votre coup passe à "))) << ligne.toStdString();
    // the pack states the drill's best route: no search, and the route can be shown
    EXPECT_TRUE(
        ligne.contains(QStringLiteral("; la meilleure route à 85 % (courte · Rouge · courte · longue · "
                                      "Jaune)")))
        << ligne.toStdString();
    EXPECT_TRUE(f.Bouton("RouteBtn")->isEnabled());
    TBaseHistorique b;
    ASSERT_TRUE(b.Ouvre(f.Historique().toStdString()));
    TStatistiques s;
    ASSERT_TRUE(LitStatistiques(b, "Léa", s));
    ASSERT_EQ(s.Exercices.size(), 1u);
    EXPECT_EQ(s.Exercices[0].Titre, "Exercice 1 (facile)");
    ASSERT_TRUE(s.Exercices[0].MeilleurTaux);
    EXPECT_NEAR(*s.Exercices[0].MeilleurTaux, 0.851, 0.001);
}

TEST(EntrainementFrm, ThePackSetsItsTablePlayersBallAndModeThroughTheGameMenu) {
    TFenetreEntrainement f;
    ASSERT_TRUE(f.e->OuvrePack(f.PetitPack()));
    TGLBillardVelmora& b = f.w.B();
    EXPECT_TRUE(QString::fromStdString(b.Simu->Fisik.NomFichierFisik).endsWith(QStringLiteral("table.fsk")));
    EXPECT_TRUE(f.Texte("PackLbl").contains(QStringLiteral("(table table.fsk)")));
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Blanche"));
    EXPECT_TRUE(f.ModeCoche("Mnu3bandes"));
    EXPECT_FALSE(f.Bouton("PrecedentBtn")->isEnabled());
    f.Bouton("SuivantBtn")->click();
    EXPECT_EQ(f.Texte("TitreLbl"), QStringLiteral("Second"));
    EXPECT_EQ(f.Texte("NotesLbl"), QStringLiteral("la jaune"));
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Jaune"));
    EXPECT_EQ(b.BilleJoueur, b.Jaune);
    EXPECT_TRUE(f.ModeCoche("Mnu1bande"));
    EXPECT_EQ(b.Simu->ModeDeJeu, j1Bande);
    EXPECT_FALSE(f.Bouton("SuivantBtn")->isEnabled());
    // the menu's own choice goes on from the drill's: one click gives the white back
    Controle<QAction>(f.w.F(), "BilleJoueurMnu")->trigger();
    EXPECT_EQ(b.BilleJoueur, b.Blanche);
    f.Bouton("PrecedentBtn")->click();
    EXPECT_EQ(f.Texte("TitreLbl"), QStringLiteral("Premier"));
    EXPECT_TRUE(f.ModeCoche("Mnu3bandes"));
}

TEST(EntrainementFrm, RecommencerPutsBackTheDrillsBallsAndCueExactly) {
    TFenetreEntrainement f;
    ASSERT_TRUE(f.e->OuvrePack(Exemple("entrainement/entrainement.ven")));
    f.Bouton("SuivantBtn")->click();
    TGLBillardVelmora& b = f.w.B();
    const auto depart = Billes(b);
    const TQueueDegres queue = b.Queue->Valeurs();
    b.Rouge->SetPosition({10, 20, b.Rouge->LitPosition().z});
    b.Queue->SetVisee(queue.Visee + 40);
    b.Queue->SetVitesse(100);
    f.Bouton("RecommencerBtn")->click();
    EXPECT_TRUE(Egales(Billes(b), depart));
    EXPECT_EQ(b.Queue->Valeurs().Visee, queue.Visee);
    EXPECT_EQ(b.Queue->Valeurs().Vitesse, queue.Vitesse);
    EXPECT_TRUE(f.Texte("PackLbl").contains(QStringLiteral("exercice 2 sur 30")));
}

TEST(EntrainementFrm, OnlyThePlayersShotsFromTheDrillAreAttempts) {
    TFenetreEntrainement f;
    ASSERT_TRUE(f.e->OuvrePack(Exemple("entrainement/entrainement.ven")));
    // a preview of auto-fire, a route shown: no attempt
    f.w.F().FeuBtnClick();
    EXPECT_EQ(f.NombreTentatives(), 0);
    EXPECT_TRUE(f.Texte("ResultatLbl").isEmpty());
    // balls moved, mode or ball changed since the drill was set: said, not counted
    TGLBillardVelmora& b = f.w.B();
    b.Rouge->SetPosition({10, 20, b.Rouge->LitPosition().z});
    f.Tire();
    EXPECT_TRUE(
        f.Texte("ResultatLbl").startsWith(QStringLiteral("coup hors exercice, non compté : les billes")))
        << f.Texte("ResultatLbl").toStdString();
    f.Bouton("RecommencerBtn")->click();
    Controle<QAction>(f.w.F(), "MnuLibre")->trigger();
    f.Tire();
    EXPECT_TRUE(
        f.Texte("ResultatLbl").contains(QStringLiteral("le mode de jeu n'est plus celui de l'exercice")));
    f.Bouton("RecommencerBtn")->click();
    Controle<QAction>(f.w.F(), "BilleJoueurMnu")->trigger();
    f.Tire();
    EXPECT_TRUE(f.Texte("ResultatLbl").contains(QStringLiteral("le joueur n'a plus la bille de l'exercice")));
    EXPECT_EQ(f.NombreTentatives(), 0);
    // its tab behind the Solutions window's, the panel is still open: the shot is an attempt
    f.Bouton("RecommencerBtn")->click();
    Controle<QAction>(f.w.F(), "SolutionsMnu")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(f.e->Ouverte());
    f.Tire();
    EXPECT_EQ(f.NombreTentatives(), 1);
    // the panel closed: the shots are the player's own business
    f.Bouton("RecommencerBtn")->click();
    f.e->close();
    f.Tire();
    EXPECT_EQ(f.NombreTentatives(), 1);
}

TEST(EntrainementFrm, APackThatCannotBeOpenedIsRefusedByNameAndThePackInPlayStays) {
    TFenetreEntrainement f;
    ASSERT_TRUE(f.e->OuvrePack(f.PetitPack()));
    const QDir d(f.w.dossier.path());
    // its table gone
    QFile::remove(d.filePath(QStringLiteral("table.fsk")));
    QString texte = Boite([&] { EXPECT_FALSE(f.e->OuvrePack(d.filePath(QStringLiteral("petit.ven")))); });
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Entraînement refusé :"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("table.fsk introuvable"))) << texte.toStdString();
    // not a pack at all
    texte = Boite([&] { EXPECT_FALSE(f.e->OuvrePack(Exemple("ouverture.vel"))); });
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Entraînement refusé :"))) << texte.toStdString();
    EXPECT_EQ(f.Texte("TitreLbl"), QStringLiteral("Premier"));
    EXPECT_TRUE(f.e->PackOuvert());
}

TEST(EntrainementFrm, WithoutHistoryTheDrillsWorkAndTheAttemptIsAnalysed) {
    TFenetres w;
    // a file that is not a database: refused, left as it was
    QFile f(w.dossier.filePath(QStringLiteral("historique.sqlite")));
    f.open(QIODevice::WriteOnly);
    f.write("pas une base");
    f.close();
    w.Cree();
    EXPECT_TRUE(w.F().TextePanneau(3).contains(QStringLiteral("le programme continue sans historique")))
        << w.F().TextePanneau(3).toStdString();
    TEntrainementFrm& e = *w.F().EntrainementFrm;
    e.NbThreads = 2;
    e.show();
    ASSERT_TRUE(e.OuvrePack(Exemple("entrainement/entrainement.ven")));
    Controle<QToolButton>(w.F(), "FeuBtn")->click();
    ASSERT_TRUE(Attends([&] { return e.AnalyseFinie(); }));
    EXPECT_TRUE(
        ControleDe<QLabel>(e, "ResultatLbl")->text().contains(QStringLiteral("la meilleure route à 85 %")));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("pas une base"));
}

TEST(EntrainementFrm, TheTrainingItemsHaveTheirShortcutsAlsoFromTheCueWindow) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    const struct {
        const char* item;
        QKeySequence touches;
        QWidget* fenetre;
    } items[] = {{"OuvrirEntrainementMnu", QKeySequence(Qt::CTRL | Qt::Key_T), nullptr},
                 {"EntrainementMnu", QKeySequence(Qt::Key_F6), f.EntrainementFrm},
                 {"PartieMnu", QKeySequence(Qt::Key_F8), f.PartieFrm},
                 {"ProgresMnu", QKeySequence(Qt::Key_F9), f.ProgresFrm}};
    for (const auto& i : items) {
        QAction* a = Controle<QAction>(f, i.item);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->shortcut(), i.touches) << i.item;
        if (!i.fenetre) continue;
        // F6, F8 and F9 passed on as the cue window passes its keys
        QKeyEvent e(QEvent::KeyPress, i.touches[0].key(), Qt::NoModifier);
        f.PasseTouche(&e);
        EXPECT_TRUE(i.fenetre->isVisible()) << i.item;
        EXPECT_TRUE(a->isChecked()) << i.item;
        f.PasseTouche(&e);
        EXPECT_FALSE(i.fenetre->isVisible()) << i.item;
    }
    // no other item of the menus has one of these shortcuts
    for (QAction* a : f.findChildren<QAction*>()) {
        for (const auto& i : items) {
            if (a->objectName() != QLatin1String(i.item)) {
                EXPECT_NE(a->shortcut(), i.touches) << a->text().toStdString();
            }
        }
    }
}
