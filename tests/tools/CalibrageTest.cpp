#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>

#include "fichiers/FichierFisik.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/Calibrage.h"
#include "widgets/Molette.h"

namespace {

const QString SansFichier =
    QStringLiteral("aucun fichier chargé (val par défaut ou dernière modif non sauvée de la cession)");

// counts the cue impacts of the simulation, i.e. the shots fired
struct TCompteurCoups {
    int n = 0;
    void Coup(void*) { ++n; }
    void Branche(TBillardVelmora& simu) {
        simu.ApresQueueBille = TNotifyEvent::Lie<&TCompteurCoups::Coup>(this);
    }
};

// a drag on the wheel from (x0, y) to x1 with the left button held
void Glisse(TMolette& roue, int x0, int y, int x1) {
    QMouseEvent appui(QEvent::MouseButtonPress, QPointF(x0, y), roue.mapToGlobal(QPointF(x0, y)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&roue, &appui);
    QMouseEvent bouge(QEvent::MouseMove, QPointF(x1, y), roue.mapToGlobal(QPointF(x1, y)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&roue, &bouge);
    QMouseEvent lache(QEvent::MouseButtonRelease, QPointF(x1, y), roue.mapToGlobal(QPointF(x1, y)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&roue, &lache);
}

}  // namespace

TEST(Calibrage, ShowsTheFourteenConstantsWithInitialAndCurrentValues) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    EXPECT_EQ(c.windowTitle(), QStringLiteral("Réglage du billard"));
    EXPECT_EQ(ControleDe<QTableWidget>(c, "FisikGrid")->rowCount() + 1, 15);
    EXPECT_EQ(ControleDe<QTableWidget>(c, "FisikGrid")->columnCount(), 3);
    EXPECT_EQ(c.Cellule(0, 0), QStringLiteral("Paramètre"));
    EXPECT_EQ(c.Cellule(2, 0), QStringLiteral("Val actuelle"));
    EXPECT_EQ(c.Cellule(0, 1), QStringLiteral("Frot Bille Tapis (Glissemt)"));
    EXPECT_EQ(c.Cellule(0, 10), QStringLiteral("Perte Ec (choc Queue-Bille)"));
    EXPECT_EQ(c.Cellule(0, 14), QStringLiteral("Vit. saut mini (cm/s)"));
    // factory values, three decimals, French separator, in both columns
    EXPECT_EQ(c.Cellule(1, 3), QStringLiteral("0,006"));
    EXPECT_EQ(c.Cellule(2, 11), QStringLiteral("981,000"));
    EXPECT_EQ(c.Cellule(1, 13), QStringLiteral("215,000"));
    // the initial values stand out
    EXPECT_EQ(ControleDe<QTableWidget>(c, "FisikGrid")->item(0, 1)->background().color(),
              QColor(240, 202, 166));
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->text(), SansFichier);
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->toolTip(), QStringLiteral("fichier de paramètres en cours"));
}

TEST(Calibrage, TypedValuesBelowTheFloorAreStoredAsOneThousandth) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    c.FisikGridSetEditText(2, 2, QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(p.FrotBiTapPivot(), double(0.001f));
    EXPECT_EQ(c.Cellule(2, 2), QStringLiteral("0,001"));
    EXPECT_FLOAT_EQ(c.ValeurActuelle(2), 0.001f);
    // the initial value stays for a later restore
    EXPECT_EQ(c.Cellule(1, 2), QStringLiteral("0,015"));
    // "." and "," both separate decimals; a number still being typed is read as far as it goes
    c.FisikGridSetEditText(2, 1, QStringLiteral("0.25"));
    EXPECT_DOUBLE_EQ(p.FrotBiTapGlisse(), double(0.25f));
    c.FisikGridSetEditText(2, 1, QStringLiteral(",5"));
    EXPECT_DOUBLE_EQ(p.FrotBiTapGlisse(), 0.5);
    c.FisikGridSetEditText(2, 1, QStringLiteral("2,"));
    EXPECT_DOUBLE_EQ(p.FrotBiTapGlisse(), 2.0);
    // no thousands grouping in the grid
    c.FisikGridSetEditText(2, 11, QStringLiteral("1011.5"));
    EXPECT_EQ(c.Cellule(2, 11), QStringLiteral("1011,500"));
    // the cushion height goes through the setter that keeps it between radius and diameter
    c.FisikGridSetEditText(2, 12, QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(p.HautBdes(), 0.98 * p.Diametre());
    EXPECT_DOUBLE_EQ(p.Bandes()[0].Point.z, p.HautBdes());
    EXPECT_EQ(c.Cellule(2, 12), QStringLiteral("10,000"));
}

TEST(Calibrage, TypedValuesBeyondThePhysicalRangeAreBroughtToItsBound) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    // a restitution above 1 would create energy; a huge friction breaks the numbers
    c.FisikGridSetEditText(2, 8, QStringLiteral("1e30"));
    EXPECT_EQ(p.ElastBiBi(), 1.0);
    EXPECT_EQ(c.Cellule(2, 8), QStringLiteral("1,000"));
    c.ChangeParam(5, false, 3e38f);
    EXPECT_EQ(p.FrotBiBi(), PlageParam(&TConstantesPhys::FrotBiBi).Max);
    c.ChangeParam(11, false, 3e38f);
    EXPECT_EQ(p.G(), PlageParam(&TConstantesPhys::G).Max);
}

TEST(Calibrage, OutOfRangeValues_AreBoundedAlikeByTheGridAFileAndTheSetter) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    // rows with their file keys, each value beyond its range (none below the grid's own floor)
    struct TCas {
        int ligne;
        const char* section;
        const char* cle;
        float valeur;
    };
    const TCas cas[] = {{5, "Frottements", "FrotBiBi", 50},
                        {8, "Elasticite", "ElastBiBi", 7},
                        {11, "Autres", "G", 1e9f},
                        {12, "Dimensions", "HautBdes", 10},
                        {13, "Dimensions", "MasseBilles", 0.5f},
                        {14, "Dimensions", "VzRebondNul", 5000}};
    QByteArray texte;
    for (const TCas& k : cas) {
        c.ChangeParam(k.ligne, false, k.valeur);
        texte += QStringLiteral("[%1]\n%2=%3\n")
                     .arg(QLatin1String(k.section), QLatin1String(k.cle))
                     .arg(double(k.valeur), 0, 'g', 17)
                     .toLatin1();
    }
    TPARAMPHYS parFenetre = w.B().Simu->Fisik;
    parFenetre.NomFichierFisik.clear();

    // the same values from a file, on the model's radius
    QFile f(w.h.dossier.filePath(QStringLiteral("hors.fsk")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texte);
    f.close();
    TPARAMPHYS parFichier;
    parFichier.SetParam(2, w.B().RayonBille);
    ASSERT_TRUE(ChargeFisik(parFichier, f.fileName().toStdString()));
    parFichier.NomFichierFisik.clear();
    EXPECT_EQ(parFenetre, parFichier);
    EXPECT_EQ(parFenetre.G(), PlageParam(&TConstantesPhys::G).Max);
    EXPECT_EQ(parFenetre.MasseBilles(), PlageParam(&TConstantesPhys::MasseBilles).Min);

    // and the cushion height through the setter
    TPARAMPHYS parSetter;
    parSetter.SetParam(2, w.B().RayonBille);
    parSetter.SetParam(1, 10);
    EXPECT_EQ(parSetter.HautBdes(), parFenetre.HautBdes());
    EXPECT_EQ(parSetter.Bandes(), parFenetre.Bandes());
}

TEST(Calibrage, TextThatIsNoNumberIsReportedAndChangesNothing) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const TPARAMPHYS avant = w.B().Simu->Fisik;
    for (const char* texte : {"0,1,2", "1,5,"}) {
        const QString t = QString::fromLatin1(texte);
        const QString message = TexteBoiteModale([&] { c.FisikGridSetEditText(2, 5, t); });
        EXPECT_TRUE(message.contains(t)) << message.toStdString();
    }
    EXPECT_EQ(w.B().Simu->Fisik, avant);
    EXPECT_EQ(c.Cellule(2, 5), QStringLiteral("0,030"));
}

TEST(Calibrage, CellEditorTakesDigitsAndSeparatorsOnly) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    c.show();
    c.SelectionneLigne(3);
    ControleDe<QTableWidget>(c, "FisikGrid")
        ->edit(ControleDe<QTableWidget>(c, "FisikGrid")->model()->index(2, 2));
    auto* edit = ControleDe<QTableWidget>(c, "FisikGrid")->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("0,006"));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("-x0.0 2"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("0.02"));
    EXPECT_DOUBLE_EQ(w.B().Simu->Fisik.FrotBiTapRoule(), double(0.02f));
    // typing is not overwritten by the value it produces
    EXPECT_EQ(c.Cellule(2, 3), QStringLiteral("0,020"));
}

TEST(Calibrage, WheelScaleFollowsTheSizeOfTheSelectedValue) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const struct {
        int ligne;
        double valeur, pas, ouverture;
        int decimales;
    } cas[] = {
        {11, 981, 30, 90, 0},       // gravity
        {3, 0.006, 0.01, 0.03, 3},  // rolling
        {5, 0.03, 0.1, 0.3, 2},    {9, 0.8, 1, 3, 1}, {12, 3.7, 10, 30, 1}, {14, 0.5, 1, 3, 1},
    };
    for (const auto& k : cas) {
        c.SelectionneLigne(k.ligne);
        EXPECT_FLOAT_EQ(float(ControleDe<TMolette>(c, "Roue")->valeur()), float(k.valeur)) << k.ligne;
        EXPECT_EQ(ControleDe<TMolette>(c, "Roue")->decimales(), k.decimales) << k.ligne;
        EXPECT_DOUBLE_EQ(ControleDe<TMolette>(c, "Roue")->pas(), k.pas) << k.ligne;
        EXPECT_DOUBLE_EQ(ControleDe<TMolette>(c, "Roue")->petitPas(), k.pas / 5) << k.ligne;
        EXPECT_DOUBLE_EQ(ControleDe<TMolette>(c, "Roue")->ouverture(), k.ouverture) << k.ligne;
    }
    // a bound belongs to the upper band; 10..100 has its own
    c.ChangeParam(5, false, 0.01f);
    c.ChangeParam(13, false, 50.f);
    c.SelectionneLigne(5);
    EXPECT_EQ(ControleDe<TMolette>(c, "Roue")->decimales(), 2);
    c.SelectionneLigne(13);
    EXPECT_DOUBLE_EQ(ControleDe<TMolette>(c, "Roue")->ouverture(), 60);
    EXPECT_EQ(ControleDe<TMolette>(c, "Roue")->decimales(), 0);
}

TEST(Calibrage, DraggingTheWheelLeftRaisesTheValueFinelyInTheTopStrip) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    c.show();
    ControleDe<TMolette>(c, "Roue")->resize(200, ControleDe<TMolette>(c, "Roue")->height());
    c.SelectionneLigne(11);  // 981, aperture 90
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    // a hundred pixels to the left: half an aperture
    Glisse(*ControleDe<TMolette>(c, "Roue"), 150, 12, 50);
    EXPECT_DOUBLE_EQ(p.G(), 981 + 45);
    EXPECT_FLOAT_EQ(float(ControleDe<TMolette>(c, "Roue")->valeur()), 1026.f);
    // in the top strip a fiftieth of that, back to the right
    Glisse(*ControleDe<TMolette>(c, "Roue"), 150, 2, 250);
    EXPECT_NEAR(p.G(), 1026 - 0.9, 1e-3);
    // far to the right the value stops at the floor, and the wheel shows it
    c.SelectionneLigne(3);
    Glisse(*ControleDe<TMolette>(c, "Roue"), 0, 12, 190);
    EXPECT_DOUBLE_EQ(p.FrotBiTapRoule(), double(0.001f));
    EXPECT_FLOAT_EQ(float(ControleDe<TMolette>(c, "Roue")->valeur()), 0.001f);
}

TEST(Calibrage, RestoreAllWithAutoFireFiresExactlyOneShot) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const TPARAMPHYS usine = w.B().Simu->Fisik;
    for (int ligne = 1; ligne <= TCalibrageFrm::NbParams; ++ligne) c.ChangeParam(ligne, true, 0.5f);
    TCompteurCoups coups;
    coups.Branche(*w.B().Simu);
    w.h.TirAutoActif = true;
    c.RetabAllBtnClick();
    EXPECT_EQ(coups.n, 1);
    // restored as the grid keeps them, in single precision
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    EXPECT_FLOAT_EQ(float(p.FrotBiTapGlisse()), float(usine.FrotBiTapGlisse()));
    EXPECT_FLOAT_EQ(float(p.HautBdes()), float(usine.HautBdes()));
    EXPECT_FLOAT_EQ(float(p.VzRebondNul()), float(usine.VzRebondNul()));
    EXPECT_EQ(c.Cellule(2, 11), QStringLiteral("981,000"));
    // one row, one shot; without auto-fire, none
    c.ChangeParam(4, false, 0.7f);
    c.ChangeParam(6, false, 0.7f);
    c.SelectionneLigne(4);
    c.RetabCurrentBtnClick();
    EXPECT_EQ(coups.n, 2);
    EXPECT_FLOAT_EQ(float(p.FrotBiTapChoc()), float(usine.FrotBiTapChoc()));
    EXPECT_DOUBLE_EQ(p.FrotBiBde(), double(0.7f));
    w.h.TirAutoActif = false;
    c.RetabAllBtnClick();
    EXPECT_EQ(coups.n, 2);
    w.B().Simu->ApresQueueBille = {};
}

TEST(Calibrage, FactoryResetShowsNoFileAndKeepsTheModelsBallRadius) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    ASSERT_TRUE(c.ChargeFichier(Exemple("match.fsk")));
    EXPECT_TRUE(ControleDe<QLabel>(c, "FisikLbl")->text().endsWith(QStringLiteral("match.fsk")));
    w.B().SetRayonBilles(3.0f);
    c.ValeursUsineBtnClick();
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->text(), SansFichier);
    EXPECT_DOUBLE_EQ(p.RayonBilles(), 3.0);
    EXPECT_DOUBLE_EQ(p.ElastBiBi(), 0.87);
    for (int ligne : {1, 8, 9, 11}) {
        EXPECT_EQ(c.Cellule(1, ligne), c.Cellule(2, ligne)) << ligne;
        EXPECT_FLOAT_EQ(c.ValeurInitiale(ligne), c.ValeurActuelle(ligne)) << ligne;
    }
    EXPECT_EQ(c.Cellule(1, 8), QStringLiteral("0,870"));
}

TEST(Calibrage, SavingForcesTheFskExtensionAndMakesTheSavedValuesInitial) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    const QString txt = w.h.dossier.filePath(QStringLiteral("mon billard.txt"));
    const QString fsk = w.h.dossier.filePath(QStringLiteral("mon billard.fsk"));
    c.DemandeFichier = [&](bool enregistrer) { return enregistrer ? txt : QString(); };
    c.ChangeParam(3, false, 0.009f);
    c.SaveBtnClick();
    EXPECT_FALSE(QFile::exists(txt));
    ASSERT_TRUE(QFile::exists(fsk));
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->text(), fsk);
    EXPECT_EQ(c.Cellule(1, 3), QStringLiteral("0,009"));
    TPARAMPHYS relu;
    ASSERT_TRUE(ChargeFisik(relu, fsk.toStdString()));
    EXPECT_DOUBLE_EQ(relu.FrotBiTapRoule(), double(0.009f));
    // a cancelled dialog does nothing
    c.LoadBtnClick();
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->text(), fsk);
    EXPECT_EQ(TCalibrageFrm::NomFsk(QStringLiteral("/a.b/c")), QStringLiteral("/a.b/c.fsk"));
    EXPECT_EQ(TCalibrageFrm::NomFsk(QStringLiteral("/a/c.tar.txt")), QStringLiteral("/a/c.tar.fsk"));
}

TEST(Calibrage, LoadingTakesTheFilesValuesButTheModelsRadius) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    c.DemandeFichier = [](bool) { return Exemple("match.txt"); };
    c.LoadBtnClick();
    const TPARAMPHYS& p = w.B().Simu->Fisik;
    EXPECT_EQ(QString::fromStdString(p.NomFichierFisik), Exemple("match.fsk"));
    EXPECT_DOUBLE_EQ(p.ElastBiBi(), 0.94);
    EXPECT_FLOAT_EQ(float(p.RayonBilles()), w.B().RayonBille);
    EXPECT_EQ(c.Cellule(1, 8), QStringLiteral("0,940"));
    EXPECT_EQ(c.Cellule(2, 8), QStringLiteral("0,940"));
}

TEST(Calibrage, FailedLoadOrSaveTellsWhyAndChangesNothing) {
    TOutilFactice<TCalibrageFrm> w;
    TCalibrageFrm& c = w.F();
    c.ChangeParam(1, false, 0.3f);
    const TPARAMPHYS avant = w.B().Simu->Fisik;
    const QString manquant = w.h.dossier.filePath(QStringLiteral("absent.fsk"));
    QString message = TexteBoiteModale([&] { EXPECT_FALSE(c.ChargeFichier(manquant)); });
    EXPECT_TRUE(message.contains(manquant)) << message.toStdString();
    const QString impossible = w.h.dossier.filePath(QStringLiteral("pas/de/dossier.fsk"));
    message = TexteBoiteModale([&] { EXPECT_FALSE(c.SauveFichier(impossible)); });
    EXPECT_TRUE(message.contains(impossible)) << message.toStdString();
    EXPECT_FALSE(QFile::exists(impossible));
    EXPECT_EQ(w.B().Simu->Fisik, avant);
    EXPECT_EQ(ControleDe<QLabel>(c, "FisikLbl")->text(), SansFichier);
    EXPECT_EQ(c.Cellule(1, 1), QStringLiteral("0,150"));
    EXPECT_EQ(c.Cellule(2, 1), QStringLiteral("0,300"));
}

TEST(Calibrage, ShippedSetsAreTheFactoryValuesAndAMatchTableWithinPublishedRanges) {
    TPARAMPHYS usine;
    ASSERT_TRUE(ChargeFisik(usine, Exemple("usine.fsk").toStdString()));
    usine.NomFichierFisik.clear();
    EXPECT_EQ(usine, TPARAMPHYS());
    TPARAMPHYS match;
    ASSERT_TRUE(ChargeFisik(match, Exemple("match.fsk").toStdString()));
    EXPECT_GE(match.ElastBiBi(), 0.93);
    EXPECT_LE(match.ElastBiBi(), 0.95);
    EXPECT_NEAR(match.ElastBiBde(), 0.85, 0.01);
    EXPECT_GE(match.FrotBiTapGlisse(), 0.15);
    EXPECT_LE(match.FrotBiTapGlisse(), 0.2);
    EXPECT_GE(match.FrotBiTapRoule(), 0.005);
    EXPECT_LE(match.FrotBiTapRoule(), 0.01);
}
