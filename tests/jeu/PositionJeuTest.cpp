#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "fichiers/EcritureAtomique.h"
#include "jeu/PositionJeu.h"
#include "tests/support/DossierDeTest.h"

namespace {

struct PositionJeuTest : TestAvecDossier {
    PositionJeuTest() : TestAvecDossier("velmora-jeu") {}
    std::string Ecrit(const std::string& nom, const std::string& texte) {
        const std::string chemin = Chemin(nom);
        EXPECT_TRUE(EcritFichierAtomique(chemin, texte));
        return chemin;
    }
};

TEST_F(PositionJeuTest, OpeningAFile_TheCueAndBallsTakeItsValuesThroughTheirRules) {
    // the red overlaps the player's ball and the yellow is off the table; 97 degrees of inclination
    const std::string nom =
        Ecrit("serre.vel",
              "[Queue]\nVq=400\nAngleOx=0.3\nAngleTapis=1.7\nEffet=0.1\nHauteur=0.2\n"
              "[Positions]\nP1x=0\nP1y=0\nP1z=3.075\nP2x=90\nP2y=0\nP2z=3.075\nP3x=2\nP3y=0\nP3z=3.075\n"
              "[GLBillard]\nHrelatif=1\n");
    TPositionOuverte o;
    std::string erreur;
    ASSERT_TRUE(LitPositionJeu(nom, o, &erreur)) << erreur;
    const TPositionJeu& p = o.Position;
    EXPECT_EQ(p.Billes[1].x, 68.05f);
    EXPECT_NEAR(std::hypot(p.Billes[2].x - p.Billes[0].x, p.Billes[2].y - p.Billes[0].y), 6.15f, 1e-5f);
    // refused: the opening inclination stays; the rest rounded to singles in degrees
    EXPECT_EQ(p.Queue.Inclinaison, 3);
    EXPECT_EQ(p.Queue.Visee, float(0.3 * (180 / M_PI)));
    EXPECT_EQ(p.Queue.Hauteur, 0.2f);
    EXPECT_EQ(p.Queue.Vitesse, 400);
    // no mass in the file: the simulation's, 520 g
    EXPECT_EQ(p.Queue.Masse, 520);
    EXPECT_TRUE(o.Vue.Hrelatif);
}

TEST_F(PositionJeuTest,
       ReadOverThePresentState_MissingSpeedAndMassKeepTheSimulationsAndTheBallsTakeTheTable) {
    const std::string nom =
        Ecrit("sans-masse.vel",
              "[Queue]\nAngleTapis=1.7\nEffet=0.1\n"
              "[Positions]\nP1x=90\nP1y=0\nP1z=4\nP2x=90\nP2y=1\nP2z=4\n[GLBillard]\nHrelatif=1\n");
    TParamQueue simu;
    simu.VitesseQueue = 250;
    simu.MasseQueue = 300;
    TQueueDegres queue = QueueDepart();
    queue.Inclinaison = 12;
    const TTableJeu grosses(LargeurTableJeu, 4);
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, simu, queue, grosses, o));
    EXPECT_EQ(o.Position.Queue.Vitesse, 250);
    EXPECT_EQ(o.Position.Queue.Masse, 300);
    // 97 degrees refused: the cue's own stays
    EXPECT_EQ(o.Position.Queue.Inclinaison, 12);
    EXPECT_EQ(o.Position.Queue.Effet, 0.1f);
    // the box of that table, and its balls' diameter between the two
    EXPECT_EQ(o.Position.Billes[0].x, grosses.XMax);
    EXPECT_NEAR(std::hypot(o.Position.Billes[1].x - o.Position.Billes[0].x,
                           o.Position.Billes[1].y - o.Position.Billes[0].y),
                8, 1e-5);
}

TEST_F(PositionJeuTest, AFileWithoutViewSection_ConvertsTheTipHeightAndUsesTheCeilingCamera) {
    const std::string nom = Ecrit("ancien.vel", "[Queue]\nAngleTapis=0.2\nHauteur=1\nEffet=0.5\n");
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.Position.Queue.Hauteur, float(ConvertitHauteur(1, 0.5, 0.2, double(RayonBilleJeu))));
    EXPECT_FALSE(o.Vue.CamMobile);
    EXPECT_FALSE(o.Vue.Camera[0].has_value());
    // no speed in the file: the simulation has none before its first shot
    EXPECT_EQ(o.Position.Queue.Vitesse, 0);
    // missing positions read as the centre of the table, the balls then pushed apart
    EXPECT_EQ(o.Position.Billes[0], (TCentreBille{0, 0, 0}));
    EXPECT_EQ(o.Position.Billes[1], (TCentreBille{6.15f, 0, 0}));
}

TEST_F(PositionJeuTest, FilesThatAreNotPositionsAreRefusedWithTheirReason) {
    TPositionOuverte o;
    o.Position.Queue.Vitesse = 77;
    std::string erreur;
    EXPECT_FALSE(LitPositionJeu(Chemin("absent.vel"), o, &erreur));
    EXPECT_NE(erreur.find("absent.vel"), std::string::npos) << erreur;
    erreur.clear();
    EXPECT_FALSE(LitPositionJeu(std::string(VELMORA_EXAMPLES_DIR) + "/usine.fsk", o, &erreur));
    EXPECT_NE(erreur.find("ce n'est pas un fichier de positions"), std::string::npos) << erreur;
    EXPECT_EQ(o.Position.Queue.Vitesse, 77);
}

TEST_F(PositionJeuTest, TheParameterFileIsFoundAsWrittenOrBesideThePosition) {
    Ecrit("table.fsk", "[Autres]\nG=981\n");
    const std::string nom = Ecrit("p.vel", "[Queue]\nVq=1\n[GLBillard]\nFisikFile=table.fsk\n");
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.CheminFisik, Chemin("table.fsk"));
    EXPECT_EQ(CheminFisik(Chemin("table.fsk"), "/ailleurs/p.vel"), Chemin("table.fsk"));
    EXPECT_EQ(CheminFisik("disparu.fsk", nom), "");
    EXPECT_EQ(CheminFisik("", nom), "");
}

TEST_F(PositionJeuTest, APositionSavedThenOpenedIsTheSameToTheBit) {
    TPositionJeu p;
    p.Queue = {-0.7f, 1.3f, 212.345f, 512.5f, 4.25f, 480};
    p.Billes = {TCentreBille{12.345f, -33.3f, 3.075f}, TCentreBille{-60.1f, 100.7f, 3.075f},
                TCentreBille{0.1f, 0.2f, 3.075f}};
    TSectionGLBillard vue;
    vue.CamMobile = true;
    vue.Camera = {0.1f, 250, 310};
    vue.Cible = {1, 2, 3};
    const std::string nom = Chemin("route.vel");
    ASSERT_TRUE(SauvePositionJeu(nom, p, vue));
    // singles are written widened, to 15 digits
    EXPECT_NE(LitFichierEntier(nom).find("CamActX=0.100000001490116\n"), std::string::npos);
    TPositionOuverte o;
    ASSERT_TRUE(LitPositionJeu(nom, o));
    EXPECT_EQ(o.Position.Queue, p.Queue);
    EXPECT_EQ(o.Position.Billes, p.Billes);
    EXPECT_TRUE(o.Vue.Hrelatif);
    EXPECT_TRUE(o.Vue.CamMobile);
    const TPlacementCamera c = PlacementLu(o.Vue, CamFixeDepart);
    EXPECT_EQ(c.Position, (std::array<float, 3>{0.1f, 250, 310}));
    EXPECT_EQ(c.Cible, (std::array<float, 3>{1, 2, 3}));
}

TEST_F(PositionJeuTest, ViewKeysThatAreMissingOrNotNumbersKeepThePresentCamera) {
    TFichierIni ini;
    ini.ChargeTexte("[GLBillard]\nTypeCamActive=1\nCamActX=12\nCamActY=abc\nTatgetZ=nan\nFisikFile=x.fsk\n");
    const TSectionGLBillard vue = LitSectionGLBillard(ini);
    EXPECT_TRUE(vue.CamMobile);
    EXPECT_FALSE(vue.Hrelatif);
    const TPlacementCamera c = PlacementLu(vue, CamMobileDepart);
    EXPECT_EQ(c.Position, (std::array<float, 3>{12, 0, 300}));
    EXPECT_EQ(c.Cible, CamMobileDepart.Cible);
    EXPECT_EQ(vue.FisikFile, "x.fsk");
    // written back: the keys in their order, FisikFile only when named
    TFichierIni sortie;
    TSectionGLBillard sansFisik = vue;
    sansFisik.FisikFile.clear();
    EcritSectionGLBillard(sortie, sansFisik);
    EXPECT_EQ(sortie.Texte(), "[GLBillard]\nHrelatif=0\nTypeCamActive=1\nCamActX=12\n");
}

// a position file drawn at random: keys missing, out of range, overlapping or off the table,
// not numbers, with and without the view section and its parameter file
std::string FichierAuHasard(std::mt19937& alea, const std::string& fsk) {
    std::uniform_real_distribution<double> u(0, 1);
    const auto entre = [&](double a, double b) { return a + (b - a) * u(alea); };
    const auto nombre = [&](double a, double b) -> std::string {
        const double r = u(alea);
        if (r < 0.04) return "abc";
        if (r < 0.06) return "nan";
        if (r < 0.08) return "1e999";
        std::ostringstream s;
        s.precision(17);
        s << entre(a, b);
        return s.str();
    };
    std::ostringstream f;
    if (u(alea) < 0.9) {
        f << "[Queue]\n";
        const std::pair<const char*, std::pair<double, double>> cles[] = {
            {"Vq", {-50, 900}},        {"m", {-5, 900}},       {"AngleOx", {-7, 7}},
            {"AngleTapis", {-0.5, 2}}, {"Effet", {-3.5, 3.5}}, {"Hauteur", {-3.5, 3.5}}};
        for (const auto& [cle, bornes] : cles)
            if (u(alea) < 0.85) f << cle << "=" << nombre(bornes.first, bornes.second) << "\n";
    }
    if (u(alea) < 0.9) {
        f << "[Positions]\n";
        for (int b = 1; b <= 3; ++b) {
            // the later balls often near the first, to overlap it
            const double portee = b > 1 && u(alea) < 0.4 ? 6 : 1;
            if (u(alea) < 0.9) f << "P" << b << "x=" << nombre(-80 / portee, 80 / portee) << "\n";
            if (u(alea) < 0.9) f << "P" << b << "y=" << nombre(-150 / portee, 150 / portee) << "\n";
            if (u(alea) < 0.9) f << "P" << b << "z=" << nombre(3, 3.2) << "\n";
        }
    }
    if (u(alea) < 0.7) {
        f << "[GLBillard]\n";
        if (u(alea) < 0.6) f << "Hrelatif=" << (u(alea) < 0.5 ? "1" : "0") << "\n";
        if (u(alea) < 0.6) f << "TypeCamActive=" << (u(alea) < 0.5 ? "1" : "0") << "\n";
        for (const char* cle : {"CamActX", "CamActY", "CamActZ", "TatgetX", "TatgetY", "TatgetZ"})
            if (u(alea) < 0.4) f << cle << "=" << nombre(-300, 300) << "\n";
        if (u(alea) < 0.2) f << "FisikFile=" << (u(alea) < 0.5 ? fsk : std::string("disparu.fsk")) << "\n";
    }
    return f.str();
}

bool DansLaBoiteEtApart(const TTableJeu& t, const std::array<TCentreBille, 3>& b) {
    for (size_t i = 0; i < 3; ++i) {
        if (b[i].x < t.XMin || b[i].x > t.XMax || b[i].y < t.YMin || b[i].y > t.YMax) return false;
        for (size_t j = 0; j < i; ++j)
            if (std::hypot(b[i].x - b[j].x, b[i].y - b[j].y) < t.DiamBille - 1e-4f) return false;
    }
    return true;
}

// Whatever a file holds, it opens to values the program can show and play (finite, the cue
// within its limits), and the position saved right after opening opens again as it was: the tip
// height converted once, the camera and the parameter file kept, the balls where they stood when
// the rule had nothing left to move.
TEST_F(PositionJeuTest, AnyFileOpensToAPlayablePosition_AndSavedBackOpensAgainAsItWas) {
    const std::string fsk = Ecrit("table.fsk", "[Dimensions]\nRayonBilles=3.1\n[Autres]\nG=975\n");
    const TTableJeu table;
    std::mt19937 alea(15);
    int stables = 0;
    for (int i = 0; i < 120; ++i) {
        const std::string texte = FichierAuHasard(alea, fsk);
        SCOPED_TRACE(texte);
        const std::string nom = Ecrit("p.vel", texte);
        TPositionOuverte o;
        std::string erreur;
        if (!LitPositionJeu(nom, o, &erreur)) {
            EXPECT_NE(erreur.find("fichier de positions"), std::string::npos) << erreur;
            continue;
        }
        const TQueueDegres& q = o.Position.Queue;
        for (int rang = 0; rang < 6; ++rang) EXPECT_TRUE(std::isfinite(q.Valeur(rang))) << rang;
        EXPECT_GE(q.Vitesse, VitesseQueueMin);
        EXPECT_GE(q.Masse, MasseQueueMin);
        EXPECT_TRUE(InclinaisonAdmise(q.Inclinaison));
        for (const TCentreBille& b : o.Position.Billes)
            EXPECT_TRUE(std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.z));

        const TSectionGLBillard vue = VueOuverte(o);
        const std::string sauve = Chemin("relu" + std::to_string(i) + ".vel");
        ASSERT_TRUE(SauvePositionJeu(sauve, o.Position, vue));
        TPositionOuverte relu;
        ASSERT_TRUE(LitPositionJeu(sauve, relu));
        EXPECT_EQ(relu.Position.Queue, q);
        EXPECT_TRUE(relu.Vue.Hrelatif);
        EXPECT_EQ(relu.Vue.CamMobile, o.Vue.CamMobile);
        EXPECT_EQ(relu.Vue.Camera, vue.Camera);
        EXPECT_EQ(relu.Vue.Cible, vue.Cible);
        EXPECT_EQ(relu.CheminFisik, o.CheminFisik);
        if (DansLaBoiteEtApart(table, o.Position.Billes)) {
            ++stables;
            for (size_t b = 0; b < 3; ++b) {
                EXPECT_NEAR(relu.Position.Billes[b].x, o.Position.Billes[b].x, 1e-4f) << b;
                EXPECT_NEAR(relu.Position.Billes[b].y, o.Position.Billes[b].y, 1e-4f) << b;
                EXPECT_EQ(relu.Position.Billes[b].z, o.Position.Billes[b].z) << b;
            }
        }
    }
    // the draw holds enough well-placed positions for the last check to mean something
    EXPECT_GT(stables, 60);
}

}  // namespace
