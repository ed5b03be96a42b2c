#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "moteurs/CoupEnregistre.h"
#include "tests/moteurs/CoupsGeneres.h"
#include "tests/support/DossierDeTest.h"

using ::testing::HasSubstr;

namespace {

bool Lit(const std::string& texte, TCoupEnregistre& coup, std::string& erreur) {
    std::istringstream flux(texte);
    return LitCoupEnregistre(flux, coup, &erreur);
}

std::string Refus(const std::string& texte) {
    TCoupEnregistre coup;
    std::string erreur;
    EXPECT_FALSE(Lit(texte, coup, erreur)) << texte;
    return erreur;
}

const std::string kEnTete = "ball,t,x,y\n";
const std::string kBilles23 = "2,0,10,20\n3,0,-10,-20\n";

}  // namespace

TEST(CoupEnregistre, ReadsSamplesPerBallWithCommentsBlanksBomAndWindowsLineEnds) {
    TCoupEnregistre coup;
    std::string erreur;
    const std::string texte =
        "\xEF\xBB\xBF# tracked from a video\r\n\r\nball,t,x,y\r\n1,0,17.778,70.733\r\n# a comment between\r\n"
        "2,0,-5,3\r\n1,0.04,16.273,60.763\r\n3,0,1,2\r\n1,0.04,16.2,60.7\r\n3,2.5,1,2\r\n";
    ASSERT_TRUE(Lit(texte, coup, erreur)) << erreur;
    ASSERT_EQ(coup.Billes[1].size(), 3u);  // a repeated time is kept, as trackers give them
    EXPECT_DOUBLE_EQ(coup.Billes[1][1].y, 60.763);
    EXPECT_EQ(coup.Billes[2].size(), 1u);
    EXPECT_EQ(coup.Billes[3].size(), 2u);
    EXPECT_EQ(coup.NbEchantillons(), 6);
    EXPECT_DOUBLE_EQ(coup.Duree(), 2.5);
}

TEST(CoupEnregistre, RefusesWhatCannotBeARecordingNamingTheLine) {
    EXPECT_THAT(Refus("1,0,0,0\n"), HasSubstr("ligne 1 : en-tête"));
    EXPECT_THAT(Refus("# only a comment\n"), HasSubstr("en-tête"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n4,0,0,0\n"), HasSubstr("ligne 3 : bille « 4 » inconnue"));
    EXPECT_THAT(Refus(kEnTete + "1.5,0,0,0\n"), HasSubstr("ligne 2 : bille"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n2,0,0,0\n1,0.5,1,1\n1,0.4,2,2\n"),
                HasSubstr("ligne 5 : le temps recule pour la bille 1"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n1,0.1,80,0\n"),
                HasSubstr("ligne 3 : position (80, 0) loin hors de la table"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,-150\n"), HasSubstr("ligne 2 : position"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0\n"), HasSubstr("ligne 2 : quatre valeurs attendues"));
    EXPECT_THAT(Refus(kEnTete + "1,0,abc,0\n"), HasSubstr("ligne 2 : x « abc » n'est pas un nombre"));
    EXPECT_THAT(Refus(kEnTete + "1,nan,0,0\n"), HasSubstr("ligne 2 : t « nan »"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n" + kBilles23), HasSubstr("la bille 1 a 1 échantillon(s)"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n1,1,0,0\n3,0,0,0\n"), HasSubstr("aucun échantillon de la bille 2"));
    // three balls on one spot, or two within a ball's width, cannot be where a shot starts (the fit
    // used to report a perfect score for them); nor can a time of another age
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n1,0.02,0,0\n2,0,0,0\n3,0,0,0\n"),
                HasSubstr("ligne 4 : les billes 1 et 2 partent l'une dans l'autre (centres à 0 cm)"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n1,0.02,1,0\n2,0,10,20\n3,0.5,2,3\n3,1,30,30\n"),
                HasSubstr("ligne 5 : les billes 1 et 3 partent l'une dans l'autre (centres à 3.61 cm)"));
    EXPECT_THAT(Refus(kEnTete + "1,0,0,0\n1,1e300,1,1\n" + kBilles23),
                HasSubstr("ligne 3 : t = 1e300 s : un coup dure moins de 600 s"));
    // a little beyond a cushion line is tracking noise, not a refusal
    TCoupEnregistre coup;
    std::string erreur;
    EXPECT_TRUE(Lit(kEnTete + "1,0,68.5,139.5\n1,1,0,0\n" + kBilles23, coup, erreur)) << erreur;
    // two balls frozen together, their centres read a little nearer than their width
    EXPECT_TRUE(Lit(kEnTete + "1,0,0,0\n1,1,0,0\n2,0,5.8,0\n3,0,-10,-20\n", coup, erreur)) << erreur;
}

class CoupEnregistreFichier : public TestAvecDossier {
protected:
    CoupEnregistreFichier() : TestAvecDossier("coup-enregistre") {}
};

TEST_F(CoupEnregistreFichier, WrittenInAFrenchLocaleWithPointsAndReadBackTheSame) {
    TCoupEnregistre coup;
    coup.Billes[1] = {{0, 1.25, -3.5}, {0.02, 2.125, -3.25}};
    coup.Billes[2] = {{0, 10, 20}};
    coup.Billes[3] = {{0, -10, -20}, {3.5, -10.5, -20}};
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale installed";
    std::string erreur;
    const bool ecrit = EcritCoupEnregistre(Chemin("coup.csv"), coup, &erreur);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(ecrit) << erreur;
    EXPECT_THAT(LitFichierEntier(Chemin("coup.csv")), HasSubstr("1,0.02,2.125,-3.25\n"));
    TCoupEnregistre relu;
    ASSERT_TRUE(LitCoupEnregistre(Chemin("coup.csv"), relu, &erreur)) << erreur;
    for (int b = 1; b <= NbBilles; ++b) {
        ASSERT_EQ(relu.Billes[b].size(), coup.Billes[b].size());
        for (size_t i = 0; i < coup.Billes[b].size(); ++i) {
            EXPECT_EQ(relu.Billes[b][i].t, coup.Billes[b][i].t);
            EXPECT_EQ(relu.Billes[b][i].x, coup.Billes[b][i].x);
        }
    }
    EXPECT_FALSE(LitCoupEnregistre(Chemin("absent.csv"), relu, &erreur));
    EXPECT_THAT(erreur, HasSubstr("absent.csv"));
}

TEST(CoupEnregistre, ATrackedShotKeepsOnlyFirstAndLastSamplesOfABallAtRest) {
    TPARAMPHYS fisik;
    // ball 1 rolls away from the others along the table: balls 2 and 3 never move
    const TCoupGenere g = GenereCoup(fisik, {0, -100, 40, 100, -40, 100}, -90, 150, 0, 0, 1, 0.0);
    const TCoupEnregistre& c = g.Coup;
    ASSERT_EQ(c.Billes[2].size(), 2u);
    EXPECT_DOUBLE_EQ(c.Billes[2][0].x, 40);
    EXPECT_DOUBLE_EQ(c.Billes[2][1].t, c.Duree());
    // the first sample is 0.02 s before the stroke: ball 1 has not moved at 0.02 s, so the
    // sample then is left out, and from 0.04 s on it moves more than 2 mm every 0.02 s
    ASSERT_GT(c.Billes[1].size(), 10u);
    EXPECT_DOUBLE_EQ(c.Billes[1][0].t, 0);
    EXPECT_DOUBLE_EQ(c.Billes[1][1].t, 0.04);
    EXPECT_DOUBLE_EQ(c.Billes[1][2].t, 0.06);
    for (size_t i = 1; i < c.Billes[1].size(); ++i) {
        const double pas = c.Billes[1][i].t - c.Billes[1][i - 1].t;
        EXPECT_NEAR(pas / 0.02, std::round(pas / 0.02), 1e-9);
    }
    // bounced off cushion 4, then slowing down: it ends at rest on the table
    EXPECT_LT(std::abs(c.Billes[1].back().y), DemiLongueurEnregistree);
}
