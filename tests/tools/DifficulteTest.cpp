#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <numbers>

#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tests/tools/PiloteDifficulte.h"
#include "tools/Difficulte.h"
#include "tools/DifficulteCarte.h"

namespace {

struct TFenetreDifficulte : TPiloteDifficulte {
    TOutilFactice<TDifficulteFrm> w;

    explicit TFenetreDifficulte(const char* position = nullptr) {
        // opened and played, as the main window opens a position
        if (position) {
            EXPECT_TRUE(w.B().ChargeFichier(Exemple(position).toStdString()));
            w.h.Feu();
        }
        Montre(w.f.get());
    }
};

}  // namespace

TEST(Difficulte, OpensWithTheDefaultGridItsVolumeAndThisMachinesEstimateInFrench) {
    TFenetreDifficulte f;
    TDifficulteFrm& d = *f.d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("évaluation de la difficulté"));
    EXPECT_EQ(d.ContexteAide(), 1420);
    EXPECT_EQ(ControleDe<QLabel>(d, "dVTestLbl")->text(), QStringLiteral("1331,00"));
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), QStringLiteral("6655"));
    // timed on a few trials here, not a fixed 3 s per 1000 (a shot takes well under a millisecond,
    // a sanitized build included)
    EXPECT_GT(d.DureeMille, 0.0);
    EXPECT_LT(d.DureeMille, 1.5);
    EXPECT_EQ(ControleDe<QLabel>(d, "TempsRestantLbl")->text(),
              TDifficulteFrm::TexteDuree(6655 * d.DureeMille / 1000));
    EXPECT_EQ(ControleDe<QLabel>(d, "ReussisLbl")->text(), QStringLiteral("0"));
    EXPECT_EQ(ControleDe<QLabel>(d, "DvReussiLbl")->text(), QStringLiteral("0"));
    const char* comptes[] = {"5", "5", "5", "2", "0", "0"};
    const char* increments[] = {"0,10", "0,10", "0,10", "10,00", "2,00", "10,00"};
    for (int ligne = 1; ligne <= NbParamsEssai; ++ligne) {
        EXPECT_EQ(f.Cellule(1, ligne), QString::fromLatin1(comptes[ligne - 1]));
        EXPECT_EQ(f.Cellule(2, ligne), QString::fromLatin1(increments[ligne - 1]));
    }
    EXPECT_EQ(ControleDe<QTableWidget>(d, "QGrid")->verticalHeaderItem(2)->text(),
              QStringLiteral("Angle visée"));
    EXPECT_EQ(ControleDe<QTableWidget>(d, "QGrid")->horizontalHeaderItem(1)->text(),
              QStringLiteral("incrément"));
    EXPECT_EQ(ControleDe<QTableWidget>(d, "QGrid")->statusTip(),
              QStringLiteral("nombre d'essais à réaliser de part et d'autre de la valeur du "
                             "param queue concerné, et incrément du param "));
    EXPECT_EQ(ControleDe<QLabel>(d, "Label2")->text(), QStringLiteral("Volume à tester :"));
    EXPECT_TRUE(ControleDe<QLabel>(d, "Label2")->font().bold());
    EXPECT_EQ(ControleDe<QToolButton>(d, "EscBtn")->statusTip(),
              QStringLiteral("interrompt les calculs en cours [ECHAP]"));
    EXPECT_FALSE(ControleDe<QToolButton>(d, "EscBtn")->isEnabled());
    EXPECT_FALSE(ControleDe<TDifficulteCarte>(d, "Carte")->ACarte());
}

TEST(Difficulte, CellsAreBroughtIntoTheirLimitsAndTheFiguresFollow) {
    TFenetreDifficulte f;
    TDifficulteFrm& d = *f.d;
    // counts rounded, negative ones as 0
    d.ChangeCellule(1, 1, -3);
    EXPECT_EQ(f.Cellule(1, 1), QStringLiteral("0"));
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), QStringLiteral("605"));
    EXPECT_EQ(ControleDe<QLabel>(d, "TempsRestantLbl")->text(),
              TDifficulteFrm::TexteDuree(605 * d.DureeMille / 1000));
    d.ChangeCellule(1, 1, 2.6);
    EXPECT_EQ(f.Cellule(1, 1), QStringLiteral("3"));
    // a step below 0.01 becomes 0.01
    d.ChangeCellule(2, 2, 0.001);
    EXPECT_EQ(f.Cellule(2, 2), QStringLiteral("0,01"));
    EXPECT_FLOAT_EQ(d.Grille().Increment[peHauteur], 0.01f);
    // 7 × 11 × 11 × 5 trials of 0.1 × 0.01 × 0.1 × 10 × 2 × 10
    EXPECT_EQ(ControleDe<QLabel>(d, "dVTestLbl")->text(), QStringLiteral("84,70"));
    // typed text: "." and "," are both the separator; anything else is refused and changes nothing
    EXPECT_TRUE(d.QGridSetEditText(2, 4, QStringLiteral("12.5")));
    EXPECT_EQ(f.Cellule(2, 4), QStringLiteral("12,50"));
    EXPECT_TRUE(d.QGridSetEditText(2, 4, QStringLiteral("7,25")));
    EXPECT_FLOAT_EQ(d.Grille().Increment[peVitesse], 7.25f);
    EXPECT_FALSE(d.QGridSetEditText(2, 4, QStringLiteral("1,2,3")));
    EXPECT_FALSE(d.QGridSetEditText(1, 4, QString()));
    EXPECT_FLOAT_EQ(d.Grille().Increment[peVitesse], 7.25f);
    EXPECT_EQ(d.Grille().NbEssais[peVitesse], 2);
    // durations beyond a day keep their days
    EXPECT_EQ(TDifficulteFrm::TexteDuree(90061), QStringLiteral("1 j 01:01:01"));
    EXPECT_EQ(TDifficulteFrm::TexteDuree(std::nan("")), QStringLiteral("00:00:00"));
}

TEST(Difficulte, ClicksOnTheHalvesOfEssaisLowerAndRaiseTheCurrentRow) {
    TFenetreDifficulte f;
    TDifficulteFrm& d = *f.d;
    QHeaderView* entete = ControleDe<QTableWidget>(d, "QGrid")->horizontalHeader();
    const int milieu = entete->sectionViewportPosition(0) + entete->sectionSize(0) / 2;
    const int y = entete->height() / 2;
    const auto clic = [&](int x) { QTest::mouseClick(entete->viewport(), Qt::LeftButton, {}, QPoint(x, y)); };
    // "Inclinaison" at 0 stays at 0 on the left half
    ControleDe<QTableWidget>(d, "QGrid")->setCurrentCell(peInclinaison, 1);
    clic(milieu - 3);
    EXPECT_EQ(d.Grille().NbEssais[peInclinaison], 0);
    // the middle belongs to the right half
    clic(milieu);
    clic(milieu + 3);
    EXPECT_EQ(d.Grille().NbEssais[peInclinaison], 2);
    EXPECT_EQ(f.Cellule(1, 5), QStringLiteral("2"));
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), QStringLiteral("33275"));
    clic(2);
    EXPECT_EQ(d.Grille().NbEssais[peInclinaison], 1);
    // the step heading does nothing
    clic(entete->sectionViewportPosition(1) + 3);
    EXPECT_EQ(d.Grille().NbEssais[peInclinaison], 1);
}

TEST(Difficulte, EveryCountAtZeroPlaysTheCurrentCueOnce) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), QStringLiteral("1"));
    ASSERT_TRUE(f.Calcule());
    const TResultatDifficulte& r = d.DernierResultat();
    EXPECT_EQ(r.NbEssais, 1);
    EXPECT_TRUE(r.Complet);
    // the opening shot makes the point, as the main window says
    EXPECT_EQ(r.NbReussis, f.w.B().Simu->PointReussi ? 1 : 0);
    EXPECT_EQ(ControleDe<QLabel>(d, "ReussisLbl")->text(), QString::number(r.NbReussis));
    EXPECT_EQ(ControleDe<QLabel>(d, "DvReussiLbl")->text(),
              r.NbReussis ? QStringLiteral("0,200") : QStringLiteral("0,000"));
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), QStringLiteral("1"));
    EXPECT_TRUE(ControleDe<TDifficulteCarte>(d, "Carte")->ACarte());
    EXPECT_EQ(ControleDe<TDifficulteCarte>(d, "Carte")->Carte().NbX, 1);
}

TEST(Difficulte, CancelledFileDialogWithSavingOnIsRefusedAndChangesNoResult) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({1, 1, 0, 0, 0, 0});
    ASSERT_TRUE(f.Calcule());
    const QString reussis = ControleDe<QLabel>(d, "ReussisLbl")->text(),
                  volume = ControleDe<QLabel>(d, "DvReussiLbl")->text();
    const TEvaluationDifficulte* avant = d.Evaluation();
    ControleDe<QToolButton>(d, "SaveResultBtn")->setChecked(true);
    d.DemandeNomBul = [] { return QString(); };
    const QString texte = Boite([&] { d.CalculBtnClick(); });
    EXPECT_EQ(texte,
              QStringLiteral("Vous devez donner un nom de fichier si le bouton de sauvegarde est enfoncé"));
    EXPECT_FALSE(d.EnCours());
    EXPECT_EQ(d.Evaluation(), avant);
    EXPECT_EQ(ControleDe<QLabel>(d, "ReussisLbl")->text(), reussis);
    EXPECT_EQ(ControleDe<QLabel>(d, "DvReussiLbl")->text(), volume);
    EXPECT_FALSE(f.w.h.CoupVerrouille());
}

TEST(Difficulte, SavedResultsGoToABulFileWhateverTheExtensionGiven) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({1, 1, 1, 0, 0, 0});
    ControleDe<QToolButton>(d, "SaveResultBtn")->setChecked(true);
    const QString donne = f.w.h.dossier.filePath(QStringLiteral("essais.txt"));
    d.DemandeNomBul = [donne] { return donne; };
    ASSERT_TRUE(f.Calcule());
    const QFileInfo bul(f.w.h.dossier.filePath(QStringLiteral("essais.bul")));
    ASSERT_TRUE(bul.isFile());
    EXPECT_FALSE(QFileInfo::exists(donne));
    EXPECT_EQ(bul.size(), 84 + 24 * d.DernierResultat().NbReussis);
}

TEST(Difficulte, AResultsFileThatCannotBeCreatedIsReportedAndNothingIsCounted) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({1, 1, 0, 0, 0, 0});
    ControleDe<QToolButton>(d, "SaveResultBtn")->setChecked(true);
    const QString perdu = f.w.h.dossier.filePath(QStringLiteral("absent/essais.bul"));
    d.DemandeNomBul = [perdu] { return perdu; };
    // the box comes when the calculation has ended
    TGuetteBoites guet;
    d.CalculBtnClick();
    ASSERT_TRUE(Attends([&] { return !guet.texte.isEmpty(); }));
    const QString texte = guet.texte;
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Impossible d'écrire ") + perdu)) << texte.toStdString();
    EXPECT_EQ(d.DernierResultat().NbEssais, 0);
    EXPECT_EQ(ControleDe<QLabel>(d, "ReussisLbl")->text(), QStringLiteral("0"));
    EXPECT_FALSE(ControleDe<TDifficulteCarte>(d, "Carte")->ACarte());
    EXPECT_FALSE(f.w.h.CoupVerrouille());
    EXPECT_FALSE(QFileInfo::exists(perdu));
}

TEST(Difficulte, EscapeStopsARunningCalculationWithinAFractionOfASecond) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.GrandeGrille();
    const QString total = ControleDe<QLabel>(d, "nEssaisLbl")->text();
    d.CalculBtnClick();
    // the labels move while the trials run
    ASSERT_TRUE(Attends([&] { return ControleDe<QLabel>(d, "nEssaisLbl")->text() != total; }, 5000));
    QTest::qWait(150);
    EXPECT_GT(ControleDe<QProgressBar>(d, "AvancementBar")->value(), 0);
    ASSERT_TRUE(d.EnCours());

    QElapsedTimer t;
    t.start();
    QTest::keyClick(&d, Qt::Key_Escape);
    ASSERT_TRUE(Attends([&] { return !d.EnCours(); }, 3000));
    EXPECT_LT(t.elapsed(), 300);
    const TResultatDifficulte& r = d.DernierResultat();
    EXPECT_TRUE(r.Interrompu);
    EXPECT_GT(r.NbEssais, 0);
    EXPECT_LT(r.NbEssais, r.NbTotal);
    // the figures of the whole grid again, and no map of a partial run
    EXPECT_EQ(ControleDe<QLabel>(d, "nEssaisLbl")->text(), total);
    EXPECT_EQ(ControleDe<QLabel>(d, "ReussisLbl")->text(), QString::number(r.NbReussis));
    EXPECT_FALSE(ControleDe<TDifficulteCarte>(d, "Carte")->ACarte());
    // the time is now estimated at the pace measured
    EXPECT_NEAR(d.DureeMille, r.DureeMille, 1e-12);
    EXPECT_LT(d.DureeMille, 3.0);
    // shown again, the window keeps the pace of the last calculation
    d.hide();
    d.show();
    EXPECT_NEAR(d.DureeMille, r.DureeMille, 1e-12);
    EXPECT_EQ(ControleDe<QLabel>(d, "TempsRestantLbl")->text(),
              TDifficulteFrm::TexteDuree(double(d.NbTotal()) * r.DureeMille / 1000));
}

TEST(Difficulte, MapOfARunCountsLikeThePlainLoopsAndFollowsTheChosenAxes) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({2, 2, 1, 1, 0, 0});
    d.ChangeCellule(2, 1, 0.3);
    d.ChangeCellule(2, 2, 0.3);
    ASSERT_TRUE(f.Calcule());
    ASSERT_TRUE(ControleDe<TDifficulteCarte>(d, "Carte")->ACarte());
    const TCarteReussites& c = ControleDe<TDifficulteCarte>(d, "Carte")->Carte();
    EXPECT_EQ(c.ParamX, peEffet);
    EXPECT_EQ(c.ParamY, peHauteur);
    EXPECT_EQ(c.NbX, 5);
    EXPECT_EQ(c.TotalEssais(), d.DernierResultat().NbEssais);
    EXPECT_EQ(c.TotalReussis(), d.DernierResultat().NbReussis);

    // the trials counted one by one from the balls and the cue of the 3D view
    TGLBillardVelmora& b = f.w.B();
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik = b.Simu->Fisik;
    s->ModeDeJeu = b.Simu->ModeDeJeu;
    const TGLBilles* billes[3] = {b.BilleJoueur, b.BilleNonJoueur, b.Rouge};
    const TGLQueue& q = *b.Queue;
    const TGrilleDifficulte& g = d.Grille();
    std::vector<std::int64_t> essais(25), reussis(25);
    for (int e = -2; e <= 2; ++e)
        for (int h = -2; h <= 2; ++h)
            for (int a = -1; a <= 1; ++a)
                for (int v = -1; v <= 1; ++v) {
                    for (int i = 1; i <= 3; ++i) {
                        const TVecteur3f p = billes[i - 1]->LitPosition();
                        s->Trajets[i][0] = {Vecteur(p.x, p.y, p.z), VecteurNul, VecteurNul};
                    }
                    s->Effet = double(q.Effet()) + e * double(g.Increment[peEffet]);
                    s->Hauteur = double(q.Hauteur()) + h * double(g.Increment[peHauteur]);
                    s->AngleOx =
                        (double(q.Visee()) + a * double(g.Increment[peVisee])) * std::numbers::pi / 180;
                    s->VitesseQueue = double(q.Vitesse()) + v * double(g.Increment[peVitesse]);
                    s->AngleTapis = double(q.Inclinaison()) * std::numbers::pi / 180;
                    s->MasseQueue = q.Masse();
                    s->Joue();
                    const std::size_t cellule = std::size_t(h + 2) * 5 + std::size_t(e + 2);
                    ++essais[cellule];
                    reussis[cellule] += s->PointReussi;
                }
    EXPECT_EQ(c.Essais, essais);
    EXPECT_EQ(c.Reussis, reussis);
    EXPECT_GT(c.TotalReussis(), 0);

    // another pair of axes; a parameter cannot be on both
    TDifficulteCarte& carte = *ControleDe<TDifficulteCarte>(d, "Carte");
    carte.ChoisitAxes(peVitesse, peVisee);
    EXPECT_EQ(carte.Carte().NbX, 3);
    EXPECT_EQ(carte.Carte().TotalReussis(), c.TotalReussis());
    QComboBox& axeX = *ControleDe<QComboBox>(carte, "AxeXCbx");
    axeX.setCurrentIndex(peVisee);
    emit axeX.activated(peVisee);
    EXPECT_EQ(carte.Carte().ParamX, peVisee);
    EXPECT_EQ(carte.Carte().ParamY, peVitesse);
}

TEST(Difficulte, MapIsExportedAsPngAndAFailureIsShown) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({2, 2, 0, 0, 0, 0});
    ASSERT_TRUE(f.Calcule());
    // the extension is always ".png"
    const QString donne = f.w.h.dossier.filePath(QStringLiteral("carte.jpg"));
    ControleDe<TDifficulteCarte>(d, "Carte")->DemandeNomPng = [donne] { return donne; };
    EXPECT_TRUE(Boite([&] { ControleDe<TDifficulteCarte>(d, "Carte")->ExporteBtnClick(); }).isEmpty());
    QImage image(f.w.h.dossier.filePath(QStringLiteral("carte.png")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(800, 600));
    // a folder that does not exist: the user is told, nothing is left behind
    const QString perdu = f.w.h.dossier.filePath(QStringLiteral("absent/carte.png"));
    ControleDe<TDifficulteCarte>(d, "Carte")->DemandeNomPng = [perdu] { return perdu; };
    const QString texte = Boite([&] { ControleDe<TDifficulteCarte>(d, "Carte")->ExporteBtnClick(); });
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Impossible d'écrire ") + perdu)) << texte.toStdString();
    EXPECT_FALSE(QFileInfo::exists(perdu));
    // a cancelled dialog writes nothing
    ControleDe<TDifficulteCarte>(d, "Carte")->DemandeNomPng = [] { return QString(); };
    EXPECT_TRUE(Boite([&] { ControleDe<TDifficulteCarte>(d, "Carte")->ExporteBtnClick(); }).isEmpty());
}

TEST(Difficulte, TheMapOfAnotherPositionIsFadedAndSaysSo) {
    TFenetreDifficulte f("ouverture.vel");
    TDifficulteFrm& d = *f.d;
    f.Comptes({1, 1, 1, 1, 0, 0});
    ASSERT_TRUE(f.Calcule());
    TDifficulteCarte& carte = *ControleDe<TDifficulteCarte>(d, "Carte");
    QLabel* reussis = ControleDe<QLabel>(d, "ReussisLbl");
    ASSERT_TRUE(carte.ACarte());
    TGLBillardVelmora& b = f.w.B();
    d.MajValidite(b.EtatPosition());
    EXPECT_FALSE(carte.Perimee());
    TVecteur3f p = b.Rouge->LitPosition();
    b.Rouge->SetPosition({p.x + 5, p.y, p.z});
    d.MajValidite(b.EtatPosition());
    EXPECT_TRUE(carte.Perimee());
    QLabel* raison = ControleDe<QLabel>(carte, "RaisonLbl");
    EXPECT_TRUE(raison->isVisibleTo(&carte));
    EXPECT_EQ(raison->text(), QStringLiteral("position modifiée — relancer"));
    EXPECT_FALSE(reussis->isEnabled());
    // the ball back: the map is this position's again
    b.Rouge->SetPosition(p);
    d.MajValidite(b.EtatPosition());
    EXPECT_FALSE(carte.Perimee());
    EXPECT_TRUE(reussis->isEnabled());
}
