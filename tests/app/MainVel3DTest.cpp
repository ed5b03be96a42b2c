#include <gtest/gtest.h>

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusTipEvent>
#include <QToolButton>

#include "app/FenetresOutils.h"
#include "app/GlobalClavier.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"
#include "tests/support/ControleParNom.h"
#include "tests/support/DossierDeTest.h"
#include "tests/support/FichiersNonOrdinaires.h"
#include "widgets/CaseLed.h"

TEST(MainVel3D, StartsAsVelmora3DWithEmptyResultsAndTheOpeningPosition) {
    TFenetres w;
    ToucheTenue = Qt::Key_A;
    TMainVel3DFrm& f = w.Cree();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Velmora 3D"));
    EXPECT_EQ(ToucheTenue, 0);
    EXPECT_TRUE(Controle<QLabel>(f, "QviseeLbl")->text().isEmpty() ||
                Controle<QLabel>(f, "QviseeLbl")->text().startsWith(QStringLiteral("Qté visée : ")));
    EXPECT_TRUE(Controle<QLabel>(f, "QToucheeLbl")->text().isEmpty());
    EXPECT_TRUE(Controle<QLabel>(f, "IsPointLbl")->text().isEmpty());
    EXPECT_FALSE(Controle<TCaseLed>(f, "TirAutoChk")->isChecked());
    EXPECT_EQ(Controle<QToolButton>(f, "FeuBtn")->toolTip(), QStringLiteral("PAN !"));
    EXPECT_EQ(Controle<QToolButton>(f, "FeuBtn")->statusTip(),
              QStringLiteral("joue le coup, raccourci clavier : [ESPACE]"));
    EXPECT_EQ(Controle<TCaseLed>(f, "TirAutoChk")->toolTip(), QStringLiteral("tir automatique/manuel"));
    EXPECT_EQ(Controle<TCaseLed>(f, "TirAutoChk")->statusTip(),
              QStringLiteral("click pour alterner tir auto (chaque changement queue)  ou manuel"));
    // the opening position: the player's ball on its spot, its place in the status bar
    ASSERT_TRUE(f.Billard);
    EXPECT_FLOAT_EQ(w.B().BilleJoueur->LitPosition().x, 18.25f);
    EXPECT_EQ(f.TextePanneau(0), QStringLiteral("(18,25 -71,13 3,08)"));
    EXPECT_EQ(ControleDe<TVueGL>(*f.QueueFrm, "Scn")->Vue().Camera(), w.B().Queue->CamQueue);
}

TEST(MainVel3D, StoredSlowDownRateIsClampedAndShownInStatusBarAndMenu) {
    const struct {
        const char* stocke;
        const char* texte;
    } cas[] = {{"3", "2,5"}, {"-1", "0,0"}, {"1.25", "1,3"}, {"pas un nombre", "1,0"}};
    for (const auto& c : cas) {
        TFenetres w;
        w.EcritReglages(QByteArray("[Divers]\r\nTauxRalenti=") + c.stocke + "\r\n");
        TMainVel3DFrm& f = w.Cree(false);
        const QString texte = QString::fromUtf8(c.texte);
        EXPECT_EQ(f.TextePanneau(3), QStringLiteral("Ralenti = ") + texte) << c.stocke;
        EXPECT_EQ(Controle<QAction>(f, "AnimationMnu")->text(),
                  QStringLiteral("Animation (") + texte + QLatin1Char(')'))
            << c.stocke;
    }
}

TEST(MainVel3D, ClosingWritesTheRateAndTheParameterFile) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    f.SetTauxRalenti(0.7);
    w.B().Simu->Fisik.NomFichierFisik = "/tmp/essai.fsk";
    f.close();
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(w.dossier.filePath(QStringLiteral("Velmora3D.ini")).toStdString()));
    EXPECT_DOUBLE_EQ(ini.LitReel("Divers", "TauxRalenti", 0), 0.7);
    EXPECT_EQ(ini.LitTexte("Divers", "FisikFile", "?"), "/tmp/essai.fsk");
}

TEST(MainVel3D, ParameterFileNamedInSettingsIsLoadedAtFirstShowKeepingTheBallRadius) {
    TFenetres w;
    const QString fsk = w.dossier.filePath(QStringLiteral("glissant.fsk"));
    {
        TPARAMPHYS p;
        p.Change(&TConstantesPhys::FrotBiTapRoule, 0.0123);
        p.Change(&TConstantesPhys::RayonBilles, 4);
        ASSERT_TRUE(SauveFisik(p, fsk.toStdString()));
    }
    w.EcritReglages("[Divers]\nFisikFile=" + fsk.toUtf8() + "\n");
    w.Cree();
    EXPECT_DOUBLE_EQ(w.B().Simu->Fisik.FrotBiTapRoule(), 0.0123);
    EXPECT_EQ(w.B().Simu->Fisik.NomFichierFisik, fsk.toStdString());
    EXPECT_FLOAT_EQ(static_cast<float>(w.B().Simu->Fisik.RayonBilles()), w.B().RayonBille);
}

TEST(MainVel3D, FireShowsTheOutcomeAndTheAchievedThickness) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<QToolButton>(f, "FeuBtn")->click();
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
    const QString issue = Controle<QLabel>(f, "IsPointLbl")->text();
    // the opening position's own cue is a made point
    EXPECT_EQ(issue, QStringLiteral("réussi"));
    EXPECT_EQ(Controle<QLabel>(f, "QToucheeLbl")->text(),
              QStringLiteral("Qté touchée : ") + QLocale().toString(w.B().QuantiteTouchee(), 'f', 3));
    // a miscue is said as such
    w.B().Queue->SetEffetHauteur(3.0f, 0.0f);
    f.FeuBtnClick();
    EXPECT_EQ(Controle<QLabel>(f, "IsPointLbl")->text(), QStringLiteral("fausse queue"));
}

TEST(MainVel3D, AutoFireTurnsAnimationOffAndShowsAllTrajectories) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<QAction>(f, "AnimationMnu")->setChecked(true);
    Controle<QAction>(f, "TrajetRougeMnu")->trigger();
    ASSERT_FALSE(w.B().Rouge->TrajetVisible);
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(true);
    EXPECT_FALSE(Controle<QAction>(f, "AnimationMnu")->isChecked());
    EXPECT_TRUE(Controle<QAction>(f, "TrajetsMnu")->isChecked());
    EXPECT_TRUE(Controle<QAction>(f, "TrajetRougeMnu")->isChecked());
    EXPECT_TRUE(w.B().Rouge->TrajetVisible);
    // unchecking does nothing more
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(false);
    EXPECT_TRUE(Controle<QAction>(f, "TrajetsMnu")->isChecked());
}

TEST(MainVel3D, FiringWithAutoFireAndAnimationBothOnTurnsTheAnimationOffFirst) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(true);
    Controle<QAction>(f, "AnimationMnu")->setChecked(true);
    f.FeuBtnClick();
    EXPECT_FALSE(Controle<QAction>(f, "AnimationMnu")->isChecked());
    EXPECT_FALSE(f.Anime());
    EXPECT_FALSE(f.GLCadencer.Actif());
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
}

TEST(MainVel3D, AutoFirePlaysAfterEveryCueChange) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(true);
    w.B().Simu->NbPhotos = 0;
    w.B().Queue->SetVitesse(300);
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
    EXPECT_DOUBLE_EQ(w.B().Simu->VitesseQueue, 300);
}

TEST(MainVel3D, OpeningAPositionPlaysItAtOnceWithAutoFireOff) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(true);
    ASSERT_TRUE(f.OuvrePosition(Exemple("trois_bandes.vel")));
    EXPECT_FALSE(Controle<TCaseLed>(f, "TirAutoChk")->isChecked());
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
    // the example is a three-cushion point
    EXPECT_EQ(Controle<QLabel>(f, "IsPointLbl")->text(), QStringLiteral("réussi"));
    EXPECT_FALSE(w.B().BilleJoueur->TrajetVide());
    // the next position opened says its own outcome
    ASSERT_TRUE(f.OuvrePosition(Exemple("manque.vel")));
    EXPECT_EQ(Controle<QLabel>(f, "IsPointLbl")->text(), QStringLiteral("manqué"));
}

TEST(MainVel3D, UnreadablePositionIsReportedAndChangesNothing) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    const TVecteur3f avant = w.B().Rouge->LitPosition();
    bool ouvert = true;
    const QString texte =
        TexteBoiteModale([&] { ouvert = f.OuvrePosition(w.dossier.filePath("absent.vel")); });
    EXPECT_FALSE(ouvert);
    EXPECT_TRUE(texte.contains(QStringLiteral("absent.vel"))) << texte.toStdString();
    EXPECT_EQ(w.B().Rouge->LitPosition().x, avant.x);
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
}

TEST(MainVel3D, CommandLinePositionIsOpenedPlayedAndRemembered) {
    TFenetres w;
    // the extension is replaced by ".vel"
    QFile::copy(Exemple("une_bande.vel"), w.dossier.filePath(QStringLiteral("coup.vel")));
    w.demarrage.FichierLigneCommande = w.dossier.filePath(QStringLiteral("coup.txt"));
    TMainVel3DFrm& f = w.Cree();
    EXPECT_GT(w.B().Simu->NbPhotos, 0);
    ASSERT_EQ(f.mruList().Noms().size(), 1u);
    EXPECT_EQ(QString::fromStdString(f.mruList().Noms().front()),
              w.dossier.filePath(QStringLiteral("coup.vel")));
}

TEST(MainVel3D, MissingCommandLineFileIsIgnoredSilently) {
    TFenetres w;
    w.demarrage.FichierLigneCommande = w.dossier.filePath(QStringLiteral("nulle-part.vel"));
    TMainVel3DFrm& f = w.Cree();
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
    EXPECT_TRUE(f.mruList().Noms().empty());
}

TEST(MainVel3D, SavedPositionOpensBackToTheSameCueAndBalls) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    w.B().Queue->SetVisee(42.5f);
    w.B().Rouge->SetPosition({-20, 30, w.B().Rouge->LitPosition().z});
    const QString nom = w.dossier.filePath(QStringLiteral("garde.vel"));
    ASSERT_TRUE(f.SauvePosition(nom));
    Controle<QAction>(f, "PosDepartMnu")->trigger();
    ASSERT_NE(w.B().Queue->Visee(), 42.5f);
    ASSERT_TRUE(f.OuvrePosition(nom));
    EXPECT_FLOAT_EQ(w.B().Queue->Visee(), 42.5f);
    EXPECT_FLOAT_EQ(w.B().Rouge->LitPosition().x, -20);
    EXPECT_FLOAT_EQ(w.B().Rouge->LitPosition().y, 30);
}

TEST(MainVel3D, SavingOntoAPipeOrAProtectedFileTellsWhyAndLeavesItAsItWas) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    const std::string tube = w.dossier.filePath(QStringLiteral("tube.vel")).toStdString();
    ASSERT_TRUE(CreeTube(tube));
    const std::string protege = w.dossier.filePath(QStringLiteral("vieux.vel")).toStdString();
    CreeProtege(protege, "ancien");
    bool ok = true;
    QString texte = TexteBoiteModale([&] { ok = f.SauvePosition(QString::fromStdString(tube)); });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(texte.contains(QStringLiteral("n'est pas un fichier ordinaire"))) << texte.toStdString();
    EXPECT_TRUE(EstTube(tube));
    texte = TexteBoiteModale([&] { ok = f.SauvePosition(QString::fromStdString(protege)); });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(texte.contains(QStringLiteral("protégé en écriture"))) << texte.toStdString();
    EXPECT_EQ(LitFichierEntier(protege), "ancien");
}

TEST(MainVel3D, MessagesHoldTheStatusPanelUntilTheNextKeyRelease) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree(false);
    f.AfficheMessage(QStringLiteral("message"));
    QStatusTipEvent bulle(QStringLiteral("une bulle"));
    QApplication::sendEvent(Controle<QToolButton>(f, "FeuBtn"), &bulle);
    EXPECT_EQ(f.TextePanneau(3), QStringLiteral("message"));
    QKeyEvent relache(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier);
    f.FormKeyUp(&relache);
    QApplication::sendEvent(Controle<QToolButton>(f, "FeuBtn"), &bulle);
    EXPECT_EQ(f.TextePanneau(3), QStringLiteral("une bulle"));
}

TEST(MainVel3D, MovingABallShowsItsPositionAndTheAimedThickness) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    w.B().Jaune->SetPosition({-1234.5f, 10, 3.075f});
    // clamped to the cushion, shown with two decimals in the locale
    EXPECT_EQ(f.TextePanneau(1), QStringLiteral("(-68,05 10,00 3,08)"));
    EXPECT_TRUE(Controle<QLabel>(f, "QviseeLbl")->text().startsWith(QStringLiteral("Qté visée : ")));
    EXPECT_EQ(Controle<QLabel>(f, "QviseeLbl")->text(),
              QStringLiteral("Qté visée : ") + QLocale().toString(w.B().QuantiteVisee(), 'f', 3));
}

TEST(MainVel3D, TwoInstancesKeepEachOthersSettings) {
    TFenetres a, b;
    b.demarrage.Reglages = a.demarrage.Reglages;
    a.EcritReglages("[Divers]\nTauxRalenti=1\n; gardé\n");
    TMainVel3DFrm& fa = a.Cree();
    TMainVel3DFrm& fb = b.Cree();
    fa.SetTauxRalenti(0.5);
    // B opens a file and closes; then A closes with its start-up copy of the settings
    fb.RetientFichier(Exemple("ouverture.vel"));
    fb.close();
    fa.RetientFichier(Exemple("manque.vel"));
    fa.close();
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(a.demarrage.Reglages.Ecriture.toStdString()));
    EXPECT_DOUBLE_EQ(ini.LitReel("Divers", "TauxRalenti", 0), 0.5);
    EXPECT_EQ(ini.LitTexte("DerniersVels", "Fichier1", ""),
              QFileInfo(Exemple("manque.vel")).absoluteFilePath().toStdString());
    EXPECT_EQ(ini.LitTexte("DerniersVels", "Fichier2", ""),
              QFileInfo(Exemple("ouverture.vel")).absoluteFilePath().toStdString());
    EXPECT_NE(ini.Texte().find("; gardé"), std::string::npos);
    // A's rate is not B's change: a third instance that changes nothing writes nothing over it
    TFenetres c;
    c.demarrage.Reglages = a.demarrage.Reglages;
    TMainVel3DFrm& fc = c.Cree();
    TFichierIni apres;
    ASSERT_TRUE(apres.Charge(a.demarrage.Reglages.Ecriture.toStdString()));
    apres.EcritReel("Divers", "TauxRalenti", 2);
    ASSERT_TRUE(apres.Sauve(a.demarrage.Reglages.Ecriture.toStdString()));
    fc.close();
    ASSERT_TRUE(ini.Charge(a.demarrage.Reglages.Ecriture.toStdString()));
    EXPECT_DOUBLE_EQ(ini.LitReel("Divers", "TauxRalenti", 0), 2);
}

TEST(MainVel3D, SettingsThatCouldNotBeReadAreNeverOverwritten) {
    TFenetres w;
    // too large to be settings
    const QString nom = w.dossier.filePath(QStringLiteral("Velmora3D.ini"));
    w.EcritReglages("[Divers]\nTauxRalenti=0.25\n");
    QFile(nom).resize(qint64(TailleMaxLecture) + 1);
    w.demarrage.Reglages = {nom, nom};
    TMainVel3DFrm& f = w.Cree();
    f.SetTauxRalenti(0.5);
    f.RetientFichier(Exemple("ouverture.vel"));
    // closing tells why nothing was written
    EXPECT_TRUE(TexteBoiteModale([&] { f.close(); }).contains(QStringLiteral("laissé tel quel")));
    EXPECT_EQ(QFileInfo(nom).size(), qint64(TailleMaxLecture) + 1);
    QFile lu(nom);
    ASSERT_TRUE(lu.open(QIODevice::ReadOnly));
    EXPECT_EQ(lu.read(32), QByteArray("[Divers]\nTauxRalenti=0.25\n").append(6, '\0'));
}
