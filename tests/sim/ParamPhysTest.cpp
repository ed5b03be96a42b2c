#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "sim/ParamPhys.h"
#include "tests/support/DossierDeTest.h"

namespace fs = std::filesystem;

namespace {

// the parameter file read and written in a folder of the test's own
struct ParamPhysFichier : TestAvecDossier {
    ParamPhysFichier() : TestAvecDossier("velmora-fsk") {}
    const fs::path& d = dossier_;
};

void Ecrit(const fs::path& p, const std::string& texte) { std::ofstream(p, std::ios::binary) << texte; }

}  // namespace

TEST(ParamPhys, FactoryValuesAndDerivedFields) {
    TPARAMPHYS p;
    EXPECT_DOUBLE_EQ(p.largeurJeu(), 142.25);
    EXPECT_DOUBLE_EQ(p.Diametre(), 6.15);
    EXPECT_NEAR(p.DeportMax2(), 4.2315, 1e-4);
    EXPECT_NEAR(std::sqrt(p.DeportMax2()), 2.057, 1e-3);
    EXPECT_TRUE(p.NomFichierFisik.empty());
    // cushions numbered 1, 3, 2, 4 in the slots, normals into the table
    EXPECT_EQ(p.Bandes()[0].Numero, 1);
    EXPECT_EQ(p.Bandes()[0].Point, Vecteur(71.125, 0, 3.7));
    EXPECT_EQ(p.Bandes()[1].Normale, Vecteur(1, 0, 0));
    EXPECT_EQ(p.Bandes()[2].Numero, 2);
    EXPECT_EQ(p.Bandes()[2].Point, Vecteur(0, 142.25, 3.7));
    EXPECT_EQ(p.Bandes()[3].Direction, Vecteur(1, 0, 0));
}

TEST(ParamPhys, SetParamKeepsDimensionsInRange) {
    TPARAMPHYS p;
    p.SetParam(2, 0);
    EXPECT_DOUBLE_EQ(p.RayonBilles(), 0.001);
    EXPECT_DOUBLE_EQ(p.Diametre(), 0.002);
    EXPECT_DOUBLE_EQ(p.HautBdes(), 0.00196);

    TPARAMPHYS q;
    q.SetParam(1, 10);
    EXPECT_DOUBLE_EQ(q.HautBdes(), 0.98 * 6.15);
    q.SetParam(1, 1);
    EXPECT_DOUBLE_EQ(q.HautBdes(), 3.075);
    q.SetParam(3, 0);
    EXPECT_DOUBLE_EQ(q.FrotQueueBille(), 0.001);
    EXPECT_LT(q.DeportMax2(), 1e-5);
    q.SetParam(7, 99);  // unknown index: stores nothing
    EXPECT_DOUBLE_EQ(q.largeurJeu(), 142.25);
}

TEST_F(ParamPhysFichier, ChargeOfPartialFileChangesOnlyWhatItHolds) {
    Ecrit(d / "a.fsk", "[Dimensions]\nLargJeu=100\n");
    TPARAMPHYS p;
    ASSERT_TRUE(ChargeFisik(p, (d / "a.fsk").string()));
    EXPECT_DOUBLE_EQ(p.largeurJeu(), 100);
    EXPECT_EQ(p.Bandes()[0].Point.x, 50);
    EXPECT_EQ(p.Bandes()[3].Point.y, -100);
    TPARAMPHYS usine;
    usine.Change(&TConstantesPhys::largeurJeu, 100);
    usine.NomFichierFisik = (d / "a.fsk").string();
    EXPECT_EQ(p, usine);
}

TEST_F(ParamPhysFichier, SaveThenLoadRestoresEveryValueAsPrinted) {
    TPARAMPHYS p;
    p.Change(&TConstantesPhys::largeurJeu, 1.0 / 3.0 * 400);
    p.Change(&TConstantesPhys::FrotBiTapRoule, 0.0061234567890123456);
    p.Change(&TConstantesPhys::ElastBiBi, double(0.93f));
    p.Change(&TConstantesPhys::TLIM, 1e-7);
    p.SetParam(2, 3.1);
    const std::string nom = (d / "p.fsk").string();
    ASSERT_TRUE(SauveFisik(p, nom));
    EXPECT_EQ(p.NomFichierFisik, nom);
    const std::string texte = LitFichierEntier(nom);
    EXPECT_NE(texte.find("[Dimensions]\nLargJeu=133.333333333333\n"), std::string::npos) << texte;
    EXPECT_NE(texte.find("[Durees]\nTanal=0.01\nTenr=0.05\nTmax=1E-7\n\n[Autres]\nG=981\n"),
              std::string::npos)
        << texte;

    TPARAMPHYS q;
    ASSERT_TRUE(ChargeFisik(q, nom));
    EXPECT_DOUBLE_EQ(q.RayonBilles(), 3.1);
    EXPECT_DOUBLE_EQ(q.FrotBiTapRoule(), 0.00612345678901235);
    ASSERT_TRUE(SauveFisik(q, (d / "q.fsk").string()));
    EXPECT_EQ(LitFichierEntier(d / "q.fsk"), texte);  // what is read prints back identically
}

TEST_F(ParamPhysFichier, WindowsFileWithCommentsKeepsThemAfterSave) {
    const std::string nom = (d / "w.fsk").string();
    Ecrit(nom,
          "; tuned by hand\r\n[DIMENSIONS]\r\nLARGJEU = "
          "150\r\n\r\n[Maison]\r\nclé=valeur\r\n[frottements]\r\nfrotbibi=0.05\r\n");
    TPARAMPHYS p;
    ASSERT_TRUE(ChargeFisik(p, nom));
    EXPECT_DOUBLE_EQ(p.largeurJeu(), 150);
    EXPECT_DOUBLE_EQ(p.FrotBiBi(), 0.05);
    ASSERT_TRUE(SauveFisik(p, nom));
    const std::string texte = LitFichierEntier(nom);
    EXPECT_EQ(texte.rfind("; tuned by hand\r\n[DIMENSIONS]\r\nLARGJEU=150\r\n", 0), 0u) << texte;
    EXPECT_NE(texte.find("[Maison]\r\nclé=valeur\r\n"), std::string::npos);
    EXPECT_EQ(texte.find('\n', 0), texte.find("\r\n", 0) + 1);
    EXPECT_EQ(texte.find("\n\n"), std::string::npos);  // CRLF kept everywhere
}

TEST_F(ParamPhysFichier, BadFilesKeepEveryValue) {
    TPARAMPHYS usine;
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(ChargeFisik(p, (d / "absent.fsk").string(), &erreur));
    EXPECT_NE(erreur.find("absent.fsk"), std::string::npos);
    EXPECT_EQ(p, usine);

    Ecrit(d / "vide.fsk", "");
    EXPECT_TRUE(ChargeFisik(p, (d / "vide.fsk").string()));
    std::string binaire;
    for (int i = 0; i < 100000; ++i) binaire += static_cast<char>(i * 131 % 256);
    Ecrit(d / "binaire.fsk", binaire);
    EXPECT_TRUE(ChargeFisik(p, (d / "binaire.fsk").string()));
    Ecrit(d / "nan.fsk", "[Autres]\nG=nan\n[Dimensions]\nLargJeu=inf\nRayonBilles=abc\n");
    EXPECT_TRUE(ChargeFisik(p, (d / "nan.fsk").string()));
    p.NomFichierFisik.clear();
    EXPECT_EQ(p, usine);
}

TEST_F(ParamPhysFichier, ZeroOrNegativeUnboundedConstantsAreRaisedToAFloor) {
    Ecrit(d / "z.fsk",
          "[Autres]\nG=0\n[Frottements]\nFrotBiTapGlisse=-1\nFrotBiTapRoule=0\nFrotBiTapPivot=0\n"
          "[Durees]\nTanal=0\nTenr=-5\n");
    TPARAMPHYS p;
    ASSERT_TRUE(ChargeFisik(p, (d / "z.fsk").string()));
    for (double v :
         {p.G(), p.FrotBiTapGlisse(), p.FrotBiTapRoule(), p.FrotBiTapPivot(), p.dtAnal(), p.dtEnr()})
        EXPECT_DOUBLE_EQ(v, PlancherParam);
}

TEST_F(ParamPhysFichier, HugeOrNonsenseConstantsAreBroughtIntoTheirRange) {
    Ecrit(d / "h.fsk",
          "[Dimensions]\nLargJeu=1e300\nRayonBilles=1e200\nMasseBilles=1e308\nVzRebondNul=-3\n"
          "[Frottements]\nFrotBiTapGlisse=1e150\nFrotBiTapChoc=1e308\nFrotBiBi=1e141\nFrotBiBde=-2\n"
          "FrotQueueBille=1e300\n[Elasticite]\nElastBiTap=7\nElastBiBi=1e308\nElastBiBde=1.5\n"
          "ElastQueueBi=-1\n[Durees]\nTanal=1e300\nTenr=50\nTmax=1e300\n[Autres]\nG=1e300\n");
    TPARAMPHYS p;
    ASSERT_TRUE(ChargeFisik(p, (d / "h.fsk").string()));
    // restitutions and the cue's energy loss are fractions; the rest stays within reach
    EXPECT_EQ(p.ElastBiBi(), 1);
    EXPECT_EQ(p.ElastBiTap(), 1);
    EXPECT_EQ(p.ElastBiBde(), 1);
    EXPECT_EQ(p.PerteEcQB(), 0);
    EXPECT_EQ(p.FrotBiBde(), 0);
    EXPECT_EQ(p.VzRebondNul(), 0);
    EXPECT_EQ(p.largeurJeu(), 1000);
    EXPECT_EQ(p.RayonBilles(), 20);
    EXPECT_LE(p.HautBdes(), p.Diametre());
    EXPECT_EQ(p.Bandes()[0].Point.x, 500);
    using T = TConstantesPhys;
    for (double T::*c : {&T::MasseBilles, &T::FrotBiTapGlisse, &T::FrotBiTapChoc, &T::FrotBiBi,
                         &T::FrotQueueBille, &T::dtAnal, &T::dtEnr, &T::G})
        EXPECT_EQ(p.Constantes().*c, PlageParam(c).Max);
    // the same limits through the setter
    p.SetParam(0, 1e308);
    p.SetParam(2, std::nan(""));
    p.SetParam(3, 1e308);
    EXPECT_EQ(p.largeurJeu(), 1000);
    EXPECT_EQ(p.RayonBilles(), 0.001);
    EXPECT_EQ(p.FrotQueueBille(), 10);
    EXPECT_TRUE(std::isfinite(p.DeportMax2()));
}

TEST_F(ParamPhysFichier, TheSetterAndTheFileBoundAlike_AndBoundedConstantsStayAsTheyAre) {
    // the four constants the setter writes, out of range either way: the same bounding routine
    // behind both entries gives the same table, to the bit
    struct TCas {
        int index;
        const char* section;
        const char* cle;
        double valeur;
    };
    const TCas cas[] = {{0, "Dimensions", "LargJeu", 5000},        {0, "Dimensions", "LargJeu", -3},
                        {1, "Dimensions", "HautBdes", 10},         {1, "Dimensions", "HautBdes", 0.5},
                        {2, "Dimensions", "RayonBilles", 50},      {2, "Dimensions", "RayonBilles", 0},
                        {3, "Frottements", "FrotQueueBille", 1e9}, {3, "Frottements", "FrotQueueBille", -1}};
    for (const TCas& c : cas) {
        TPARAMPHYS parSetter;
        parSetter.SetParam(c.index, c.valeur);
        std::ostringstream texte;
        texte << "[" << c.section << "]\n" << c.cle << "=" << c.valeur << "\n";
        Ecrit(d / "e.fsk", texte.str());
        TPARAMPHYS parFichier;
        ASSERT_TRUE(ChargeFisik(parFichier, (d / "e.fsk").string()));
        parFichier.NomFichierFisik.clear();
        EXPECT_EQ(parFichier, parSetter) << c.cle << "=" << c.valeur;
    }

    // bounded values, the edges of the cushion height included, go through it unchanged: the
    // next writer never moves a constant already set
    for (double hauteur : {3.075, 6.15, 0.98 * 6.15, 4.5}) {
        TPARAMPHYS q;
        q.SetParam(1, hauteur);
        q.Change(&TConstantesPhys::FrotBiBi, 0);
        q.Change(&TConstantesPhys::ElastBiBde, 1);
        q.Change(&TConstantesPhys::dtEnr, PlancherParam);
        const TPARAMPHYS avant = q;
        q.Change(q.Constantes());
        q.SetParam(7, 0);
        EXPECT_EQ(q, avant) << hauteur;
    }
}

TEST(ParamPhys, EveryWriterBoundsAtOnceAndRecomputesTheDerivedFields) {
    // a larger ball on a smaller table, with a gravity and a restitution out of range, given
    // one constant at a time, all at once, or through the setter and a file: one same table
    TConstantesPhys c;
    c.largeurJeu = 120;
    c.RayonBilles = 4;
    c.HautBdes = 9;
    c.G = 1e9;
    c.ElastBiBi = 7;
    TPARAMPHYS uneParUne;
    for (double TConstantesPhys::*k :
         {&TConstantesPhys::largeurJeu, &TConstantesPhys::RayonBilles, &TConstantesPhys::HautBdes,
          &TConstantesPhys::G, &TConstantesPhys::ElastBiBi})
        uneParUne.Change(k, c.*k);
    TPARAMPHYS ensemble;
    ensemble.Change(c);
    EXPECT_EQ(uneParUne, ensemble);

    EXPECT_EQ(ensemble.G(), PlageParam(&TConstantesPhys::G).Max);
    EXPECT_EQ(ensemble.ElastBiBi(), 1);
    EXPECT_DOUBLE_EQ(ensemble.Diametre(), 8);
    EXPECT_DOUBLE_EQ(ensemble.Rayon2(), 16);
    EXPECT_DOUBLE_EQ(ensemble.Diametre2(), 64);
    EXPECT_DOUBLE_EQ(ensemble.HautBdes(), 0.98 * 8);
    EXPECT_NEAR(ensemble.DeportMax2(), 16 * 0.81 / 1.81, 1e-12);
    EXPECT_EQ(ensemble.Bandes()[0].Point, Vecteur(60, 0, 0.98 * 8));
    EXPECT_EQ(ensemble.Bandes()[3].Point, Vecteur(0, -120, 0.98 * 8));

    // back to the factory table by the same road
    ensemble.Change(TConstantesPhys{});
    EXPECT_EQ(ensemble, TPARAMPHYS{});
}

TEST_F(ParamPhysFichier, FailedSaveChangesNeitherFileNorName) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string nom = (d / "p.fsk").string();
    Ecrit(nom, "[Autres]\nG=900\n");
    fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec);
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(SauveFisik(p, nom, &erreur));
    EXPECT_FALSE(erreur.empty());
    EXPECT_TRUE(p.NomFichierFisik.empty());
    fs::permissions(d, fs::perms::owner_all);
    EXPECT_EQ(LitFichierEntier(nom), "[Autres]\nG=900\n");
}

TEST_F(ParamPhysFichier, SaveIntoAVanishedFolderFailsWithTheReason) {
    fs::remove_all(d);
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(SauveFisik(p, (d / "p.fsk").string(), &erreur));
    EXPECT_NE(erreur.find("p.fsk"), std::string::npos);
    EXPECT_TRUE(p.NomFichierFisik.empty());
    EXPECT_FALSE(fs::exists(d));
}

// The cushion model is a key of its own section: a table written with the stepped model reads back
// with it and its constants, a file without the section plays today's model whatever was loaded
// before, and today's tables are written as before, without the section.
TEST_F(ParamPhysFichier, TheCushionModelKeyReadsBackAndItsAbsenceMeansTodaysModel) {
    TPARAMPHYS p;
    p.ChangeModeleBande(mbMathavan);
    p.Change(&TConstantesPhys::ElastMathavan, 0.91);
    p.Change(&TConstantesPhys::FrotMathavan, 0.21);
    const std::string nom = (d / "m.fsk").string();
    ASSERT_TRUE(SauveFisik(p, nom));
    EXPECT_NE(LitFichierEntier(nom).find(
                  "[ModeleBande]\nModele=Mathavan2010\nElastMathavan=0.91\nFrotMathavan=0.21\n"),
              std::string::npos)
        << LitFichierEntier(nom);
    TPARAMPHYS q;
    ASSERT_TRUE(ChargeFisik(q, nom));
    q.NomFichierFisik = p.NomFichierFisik;
    EXPECT_EQ(q, p);

    // an older file over it: today's model again
    Ecrit(d / "ancien.fsk", "[Elasticite]\nElastBiBde=0.85\n");
    ASSERT_TRUE(ChargeFisik(q, (d / "ancien.fsk").string()));
    EXPECT_EQ(q.ModeleBande(), mbImpulsion);
    TPARAMPHYS usine;
    ASSERT_TRUE(SauveFisik(usine, (d / "usine.fsk").string()));
    EXPECT_EQ(LitFichierEntier(d / "usine.fsk").find("ModeleBande"), std::string::npos);
    // written back with today's model, a file that had the section says so
    ASSERT_TRUE(SauveFisik(q, nom));
    EXPECT_NE(LitFichierEntier(nom).find("Modele=Impulsion"), std::string::npos);
    // the names are read in any case
    Ecrit(d / "casse.fsk", "[modelebande]\nmodele=MATHAVAN2010\n");
    ASSERT_TRUE(ChargeFisik(q, (d / "casse.fsk").string()));
    EXPECT_EQ(q.ModeleBande(), mbMathavan);
}

// A model this program does not know is refused with the file and the name, nothing changed; the
// stepped model's constants are bounded like every other (a restitution above 1 would create energy).
TEST_F(ParamPhysFichier, AnUnknownCushionModelIsRefusedAndItsConstantsAreBounded) {
    Ecrit(d / "x.fsk", "[Dimensions]\nLargJeu=100\n[ModeleBande]\nModele=Ressort\n");
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(ChargeFisik(p, (d / "x.fsk").string(), &erreur));
    EXPECT_NE(erreur.find("x.fsk"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find("Ressort"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find("Mathavan2010"), std::string::npos) << erreur;
    EXPECT_EQ(p, TPARAMPHYS{});

    Ecrit(d / "y.fsk", "[ModeleBande]\nModele=Mathavan2010\nElastMathavan=3\nFrotMathavan=-1\n");
    ASSERT_TRUE(ChargeFisik(p, (d / "y.fsk").string()));
    EXPECT_EQ(p.ElastMathavan(), 1);
    EXPECT_EQ(p.FrotMathavan(), 0);
    TConstantesPhys c;
    c.ModeleBande = static_cast<TModeleBande>(7);
    c.ElastMathavan = std::nan("");
    p.Change(c);
    EXPECT_EQ(p.ModeleBande(), mbImpulsion);
    EXPECT_EQ(p.ElastMathavan(), 0);
}
