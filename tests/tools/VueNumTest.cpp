#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QThread>

#include "sim/C8_BillardVelmora.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/VueNum.h"
#include "tools/VueNumGraphe.h"
#include "widgets/NombresAffiches.h"

namespace {

// the numeric view shown, refreshed after every shot as the main window does
struct VueNum : testing::Test {
    TOutilFactice<TVueNumFrm> w;
    TVueNumFrm* v = nullptr;
    void SetUp() override {
        v = w.f.get();
        w.h.ApresFeu = [this] {
            if (v->isVisible()) v->RafraichitVue();
        };
        v->show();
        QApplication::processEvents();
    }
    TBillardVelmora& Simu() { return *w.B().Simu; }
    // the opening shot, fired from the main window
    void Tire() {
        w.h.Feu();
        ASSERT_GT(Simu().NbPhotos, 10);
    }
    static QString Texte(double x) { return TexteFixe(x, 8, 3); }
};

// runs f, answering the modal box it leads to, even one that comes later; the box's text
QString BoiteDifferee(const std::function<void()>& f) {
    auto texte = std::make_shared<QString>();
    QTimer veille;
    veille.setInterval(5);
    QObject::connect(&veille, &QTimer::timeout, [texte] {
        if (auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *texte = boite->text();
            boite->done(QMessageBox::Ok);
        }
    });
    veille.start();
    f();
    for (int i = 0; i < 100 && texte->isEmpty(); ++i) {
        QApplication::processEvents();
        QThread::msleep(2);
    }
    return *texte;
}

QStringList Lignes(const QString& nom) {
    QFile f(nom);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray contenu = f.readAll();
    EXPECT_FALSE(contenu.contains('\r'));
    EXPECT_TRUE(contenu.endsWith('\n'));
    QStringList lignes = QString::fromLatin1(contenu).split(QLatin1Char('\n'));
    lignes.removeLast();
    return lignes;
}

}  // namespace

TEST_F(VueNum, WithoutAShotTheGridShowsTheBallsAsTheyStand) {
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Aucun trajet"));
    EXPECT_EQ(v->ContexteAide(), 1410);
    EXPECT_FALSE(v->TrajetPresent);
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->minimum(), 0);
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->maximum(), 0);
    EXPECT_EQ(ControleDe<QLabel>(*v, "PosLbl")->text(), QStringLiteral("0 à t= 0,000"));
    // the captions of the fixed cells
    EXPECT_EQ(v->Cellule(0, 0), QStringLiteral("coord. sph."));
    EXPECT_EQ(v->Cellule(2, 0), QStringLiteral("Angle/Ox"));
    EXPECT_EQ(v->Cellule(4, 0), QStringLiteral("Norme"));
    EXPECT_EQ(v->Cellule(0, 1), QStringLiteral("B. Joueur"));
    EXPECT_EQ(v->Cellule(0, 4), QStringLiteral("Non Joueur"));
    EXPECT_EQ(v->Cellule(0, 7), QStringLiteral("Rouge"));
    EXPECT_EQ(v->Cellule(1, 9), QStringLiteral(" R "));
    // photo 0 holds the balls' current places
    v->PVRGridFixedCellClick(2, 0);
    const TVecteur3f rouge = w.B().Rouge->LitPosition();
    EXPECT_EQ(v->Cellule(2, 7), Texte(rouge.x));
    EXPECT_EQ(v->Cellule(3, 7), Texte(rouge.y));
    EXPECT_EQ(v->Cellule(4, 7), Texte(rouge.z));
}

TEST_F(VueNum, AnyHeaderCellSwitchesBetweenAnglesAndCoordinates) {
    Simu().Trajets[1][0].Vitesse = {3, 4, 0};
    v->RemplitGrille(0);
    EXPECT_EQ(v->Cellule(2, 2), QStringLiteral("53,130"));
    EXPECT_EQ(v->Cellule(3, 2), QStringLiteral("90,000"));
    EXPECT_EQ(v->Cellule(4, 2), QStringLiteral("5,000"));
    v->PVRGridFixedCellClick(3, 0);
    EXPECT_FALSE(v->Spherique);
    EXPECT_EQ(v->Cellule(0, 0), QStringLiteral("coord. cart."));
    EXPECT_EQ(v->Cellule(2, 0), QStringLiteral(" X "));
    EXPECT_EQ(v->Cellule(4, 0), QStringLiteral(" Z "));
    EXPECT_EQ(v->Cellule(2, 2), QStringLiteral("3,000"));
    EXPECT_EQ(v->Cellule(3, 2), QStringLiteral("4,000"));
    EXPECT_EQ(v->Cellule(4, 2), QStringLiteral("0,000"));
    v->PVRGridFixedCellClick(0, 0);
    EXPECT_TRUE(v->Spherique);
    EXPECT_EQ(v->Cellule(3, 0), QStringLiteral("Angle/Oz"));
}

TEST_F(VueNum, ACursorMoveShowsThePhotoInTheGridAndTheTable) {
    Tire();
    const int n = Simu().NbPhotos;
    EXPECT_TRUE(v->TrajetPresent);
    EXPECT_EQ(v->windowTitle(), QString::number(n) + QStringLiteral(" mesures pour le trajet"));
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->maximum(), n);
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), 0);
    const int k = n / 2;
    ControleDe<QScrollBar>(*v, "Curseur")->setValue(k);
    EXPECT_EQ(ControleDe<QLabel>(*v, "PosLbl")->text(),
              QString::number(k) + QStringLiteral(" à t= ") + TexteFixe(Simu().Temps[k], 10, 3));
    EXPECT_EQ(ControleDe<QLabel>(*v, "ChocLbl")->text(),
              QString::fromUtf8(TexteTypeChoc(Simu().TypesChocs[k])));
    EXPECT_EQ(v->Cellule(0, 8), QString::fromUtf8(TexteMouvement(Simu().Mouvements[3][k])));
    EXPECT_EQ(v->Cellule(4, 3), Texte(Norme(Simu().Trajets[1][k].Rotation)));
    // the balls stand where the photo has them, and the status bar says so
    const TVecteur p = Simu().Trajets[1][k].Position;
    EXPECT_FLOAT_EQ(w.B().BilleJoueur->LitPosition().x, float(p.x));
    EXPECT_FLOAT_EQ(w.B().BilleJoueur->LitPosition().y, float(p.y));
    // the chart's cursor follows, and a click on the chart moves the cursor
    EXPECT_EQ(ControleDe<TVueNumGraphe>(*v, "Graphe")->Photo(), k);
    emit ControleDe<TVueNumGraphe>(*v, "Graphe")->PhotoChoisie(3);
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), 3);
    // the next shot brings the cursor back to photo 0
    w.h.Feu();
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), 0);
}

TEST_F(VueNum, CartesianEditsWriteThroughAndKeepTheBallOnTheCloth) {
    v->PVRGridFixedCellClick(2, 0);
    const float rayon = w.B().RayonBille;
    ASSERT_GT(rayon, 1.0f);
    ASSERT_TRUE(v->PVRGridSetEditText(2, 1, QStringLiteral("10.5")));
    EXPECT_DOUBLE_EQ(Simu().Trajets[1][0].Position.x, 10.5);
    EXPECT_EQ(v->Cellule(2, 1), QStringLiteral("10,500"));
    EXPECT_FLOAT_EQ(w.B().BilleJoueur->LitPosition().x, 10.5f);
    // a centre below the cloth is raised to the ball radius, and the grid shows it
    ASSERT_TRUE(v->PVRGridSetEditText(4, 1, QStringLiteral("1")));
    EXPECT_DOUBLE_EQ(Simu().Trajets[1][0].Position.z, double(rayon));
    EXPECT_EQ(v->Cellule(4, 1), Texte(rayon));
    // velocities may point anywhere
    ASSERT_TRUE(v->PVRGridSetEditText(4, 2, QStringLiteral("-2,5")));
    EXPECT_DOUBLE_EQ(Simu().Trajets[1][0].Vitesse.z, -2.5);
}

TEST_F(VueNum, SphericalEditsRebuildTheVectorFromItsThreeCells) {
    Simu().Trajets[2][0].Vitesse = {3, 4, 0};
    v->RemplitGrille(0);
    ASSERT_TRUE(v->PVRGridSetEditText(4, 5, QStringLiteral("10")));
    const TVecteur& vitesse = Simu().Trajets[2][0].Vitesse;
    EXPECT_NEAR(vitesse.x, 6, 1e-4);
    EXPECT_NEAR(vitesse.y, 8, 1e-4);
    EXPECT_NEAR(vitesse.z, 0, 1e-4);
    EXPECT_EQ(v->Cellule(4, 5), QStringLiteral("10,000"));
    // straight up
    ASSERT_TRUE(v->PVRGridSetEditText(3, 5, QStringLiteral("0")));
    EXPECT_NEAR(vitesse.x, 0, 1e-4);
    EXPECT_NEAR(vitesse.z, 10, 1e-4);
}

TEST_F(VueNum, ATextThatIsNotANumberChangesNothing) {
    Simu().Trajets[1][0].Rotation = {1, 2, 3};
    v->RemplitGrille(0);
    QString erreur;
    EXPECT_FALSE(v->PVRGridSetEditText(2, 3, QStringLiteral("-"), &erreur));
    EXPECT_EQ(erreur, QStringLiteral("« - » n'est pas un nombre correct."));
    EXPECT_FALSE(v->PVRGridSetEditText(4, 3, QString(), &erreur));
    EXPECT_EQ(Simu().Trajets[1][0].Rotation, (TVecteur{1, 2, 3}));
    // beyond the last photo there is nothing to edit
    v->RemplitGrille(Simu().NbPhotos + 1);
    EXPECT_EQ(v->Cellule(2, 1), QString());
    EXPECT_EQ(v->Cellule(0, 2), QString());
    EXPECT_EQ(ControleDe<QLabel>(*v, "ChocLbl")->text(), QString());
    EXPECT_TRUE(v->PVRGridSetEditText(2, 1, QStringLiteral("5")));
    EXPECT_EQ(v->Cellule(2, 1), QString());
}

TEST_F(VueNum, TheCellEditorTakesNumbersOnlyAndToldErrorsAfterClosing) {
    v->PVRGridFixedCellClick(2, 0);
    QTableWidget* g = ControleDe<QTableWidget>(*v, "PVRGrid");
    // typing on a value cell opens the editor with what was typed
    g->setCurrentCell(1, 3);
    g->setFocus();
    QTest::keyClicks(g, QStringLiteral("7"));
    auto* editeur = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editeur, nullptr);
    QTest::keyClicks(editeur, QStringLiteral("x.5a"));
    EXPECT_EQ(editeur->text(), QStringLiteral("7.5"));
    // the editor commits once the key is through
    QTest::keyClick(editeur, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_DOUBLE_EQ(Simu().Trajets[1][0].Vitesse.y, 7.5);
    EXPECT_EQ(v->Cellule(3, 2), QStringLiteral("7,500"));
    // a lone "-" is told in a box once the editor has closed; the value stays
    g->setCurrentCell(1, 3);
    QTest::keyClicks(g, QStringLiteral("-"));
    editeur = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editeur, nullptr);
    const QString message = BoiteDifferee([&] { QTest::keyClick(editeur, Qt::Key_Return); });
    EXPECT_EQ(message, QStringLiteral("« - » n'est pas un nombre correct."));
    EXPECT_DOUBLE_EQ(Simu().Trajets[1][0].Vitesse.y, 7.5);
}

TEST_F(VueNum, AFixedCellCopiesTheBallsIntoTheCurrentPhoto) {
    Tire();
    const int k = 12;
    ControleDe<QScrollBar>(*v, "Curseur")->setValue(k);
    w.B().Rouge->PlaceSilencieux({10, 20, w.B().RayonBille});
    v->PVRGridFixedCellClick(1, 8);
    EXPECT_DOUBLE_EQ(Simu().Trajets[3][k].Position.x, 10.0);
    EXPECT_DOUBLE_EQ(Simu().Trajets[3][k].Position.y, 20.0);
    // the velocities stay
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), k);
}

TEST_F(VueNum, TheZoomLabelsAndScales) {
    EXPECT_EQ(ControleDe<QLabel>(*v, "zoomLbl")->text(), QStringLiteral("/5"));
    EXPECT_EQ(v->ZoomPosition(), -4);
    EXPECT_DOUBLE_EQ(v->EchelleVR(), 1.0 / 5);
    v->SetZoomPosition(-20);
    EXPECT_EQ(ControleDe<QLabel>(*v, "zoomLbl")->text(), QStringLiteral(":21"));
    EXPECT_DOUBLE_EQ(v->EchelleVR(), 1.0 / 21);
    EXPECT_FLOAT_EQ(w.B().Rouge->FacteurVR, 1.0f / 21);
    v->SetZoomPosition(-21);
    EXPECT_EQ(v->ZoomPosition(), -20);
    v->SetZoomPosition(0);
    EXPECT_EQ(ControleDe<QLabel>(*v, "zoomLbl")->text(), QStringLiteral("x1"));
    v->SetZoomPosition(10);
    EXPECT_EQ(ControleDe<QLabel>(*v, "zoomLbl")->text(), QStringLiteral("x11"));
    EXPECT_FLOAT_EQ(w.B().BilleJoueur->FacteurVR, 11.0f);
    v->SetZoomPosition(11);
    EXPECT_EQ(ControleDe<QLabel>(*v, "zoomLbl")->text(), QStringLiteral("x11"));
}

TEST_F(VueNum, TheHandLaunchPlaysFromTheCurrentPhotoWithItsLinesShown) {
    Tire();
    const int k = 20;
    ControleDe<QScrollBar>(*v, "Curseur")->setValue(k);
    const TPVR depart[3] = {Simu().Trajets[1][k], Simu().Trajets[2][k], Simu().Trajets[3][k]};
    v->FeuBtnClick();
    for (int b = 1; b <= 3; ++b) EXPECT_EQ(Simu().Trajets[b][0], depart[b - 1]);
    EXPECT_FALSE(w.B().BilleJoueur->TrajetVide());
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), 0);
    EXPECT_EQ(v->windowTitle(), QString::number(Simu().NbPhotos) + QStringLiteral(" mesures pour le trajet"));
    // not a shot of the main window (its result stays); the lines are asked for before the
    // launch, the animation after it
    EXPECT_EQ(w.h.NbFeux, 1);
    EXPECT_EQ(w.h.Montres,
              (std::vector<TResultatMontre>{TResultatMontre::Lignes, TResultatMontre::Animation}));
}

TEST_F(VueNum, ALaunchFileIsPlayedFromItsOwnPhoto0) {
    Tire();
    const QString nom = w.h.dossier.filePath(QStringLiteral("lancer.vel2"));
    const TPVR photo0 = Simu().Trajets[1][0];
    ASSERT_TRUE(v->SauveVel2(nom));
    ControleDe<QScrollBar>(*v, "Curseur")->setValue(30);
    ASSERT_NE(Simu().Trajets[1][30].Position, photo0.Position);
    ASSERT_TRUE(v->ChargeVel2(nom));
    // the file keeps 15 significant digits
    const TPVR& lu = Simu().Trajets[1][0];
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR((&lu.Position.x)[i], (&photo0.Position.x)[i], 1e-12);
        EXPECT_NEAR((&lu.Vitesse.x)[i], (&photo0.Vitesse.x)[i], 1e-10);
    }
    EXPECT_EQ(ControleDe<QScrollBar>(*v, "Curseur")->value(), 0);
    EXPECT_GT(Simu().NbPhotos, 10);
    // a file that cannot be read is said and changes nothing
    Simu().Trajets[2][0].Position.x = 7;
    const QString message = TexteBoiteModale([&] { EXPECT_FALSE(v->ChargeVel2(nom + QStringLiteral("x"))); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Impossible d'ouvrir"))) << message.toStdString();
    EXPECT_EQ(Simu().Trajets[2][0].Position.x, 7);
}

TEST_F(VueNum, TheExportHasALineOfThirtyTwoFieldsPerPhotoInTheUsersLocale) {
    Tire();
    const int n = Simu().NbPhotos;
    const QString nom = w.h.dossier.filePath(QStringLiteral("coup.txt"));
    ASSERT_TRUE(v->Exporte(nom));
    const QStringList lignes = Lignes(nom);
    ASSERT_EQ(lignes.size(), n + 1);
    for (const QString& l : lignes) ASSERT_EQ(l.split(QLatin1Char('\t')).size(), 32) << l.toStdString();
    EXPECT_EQ(lignes.first().split(QLatin1Char('\t')).first(), QStringLiteral("0"));
    // French decimals, no dots
    EXPECT_TRUE(lignes.at(n / 2).contains(QLatin1Char(',')));
    EXPECT_FALSE(lignes.join(QString()).contains(QLatin1Char('.')));
}

TEST_F(VueNum, AnExportThatCannotBeWrittenIsToldAndLeavesNoFile) {
    Tire();
    const QString nom = w.h.dossier.filePath(QStringLiteral("absent/coup.pvr"));
    bool ecrit = true;
    const QString message = TexteBoiteModale([&] { ecrit = v->Exporte(nom); });
    EXPECT_FALSE(ecrit);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Impossible d'écrire ") + nom)) << message.toStdString();
    EXPECT_FALSE(QFile::exists(nom));
    EXPECT_TRUE(QDir(w.h.dossier.path()).entryList({QStringLiteral("*.pvr*")}, QDir::Files).isEmpty());
}

TEST(VueNumAide, F1ShowsTheNumericViewsTopic) {
    TOutilFactice<TVueNumFrm> w;
    TVueNumFrm* v = w.f.get();
    v->show();
    v->activateWindow();
    ControleDe<QTableWidget>(*v, "PVRGrid")->setFocus();
    QTest::keyClick(ControleDe<QTableWidget>(*v, "PVRGrid"), Qt::Key_F1);
    EXPECT_EQ(w.h.Aides, std::vector<int>{1410});
}

TEST_F(VueNum, TheHeaderSaysTheStrokeAndWhereTheBallsMetTheCushionsInDiamonds) {
    ASSERT_TRUE(w.B().ChargeFichier(Exemple("trois_bandes.vel").toStdString()));
    Tire();
    QLabel* entete = ControleDe<QLabel>(*v, "EnteteLbl");
    const QStringList lignes = entete->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 2) << entete->text().toStdString();
    EXPECT_TRUE(lignes[0].startsWith(QStringLiteral("coup : bricole : longue gauche ")))
        << lignes[0].toStdString();
    EXPECT_TRUE(lignes[1].contains(QRegularExpression(
        QStringLiteral("^bille joueur : longue gauche [0-8],[0-9] → longue droite [0-8],[0-9] → Rouge"))))
        << lignes[1].toStdString();
    // on demand, the other two balls' cushions as well
    ControleDe<QCheckBox>(*v, "ToutesBillesChk")->setChecked(true);
    const QStringList toutes = entete->text().split(QLatin1Char('\n'));
    ASSERT_EQ(toutes.size(), 4);
    EXPECT_TRUE(toutes[2].startsWith(QStringLiteral("non joueur : ")));
    EXPECT_TRUE(toutes[3].startsWith(QStringLiteral("rouge : longue gauche "))) << toutes[3].toStdString();
}
