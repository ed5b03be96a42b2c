#include <gtest/gtest.h>

#include "fichiers/FichierFisik.h"
#include "moteurs/EvenementsCoup.h"
#include "tests/moteurs/CoupsGeneres.h"

namespace {

TPARAMPHYS Match() {
    TPARAMPHYS f;
    EXPECT_TRUE(ChargeFisik(f, VELMORA_EXAMPLES_DIR "/match.fsk"));
    return f;
}

// a contact where the computed one is, with `decale` added to its instant
TEvenement Contact(TGenreEvenement genre, int partie, double t) { return {genre, partie, t, 0, 0}; }

// every computed contact of every ball against the one the recording shows, in order
struct TComparaison {
    int Contacts = 0;
    int Retrouves = 0;
    int EnTrop = 0;
    int SequencesEgales = 0;
    int AUnEchantillon = 0;  // found within 0.02 s
    double PireEcart = 0;    // s
};

TComparaison Compare(const std::vector<TCoupGenere>& coups, const TPARAMPHYS& fisik) {
    TComparaison c;
    for (const TCoupGenere& g : coups) {
        const TEvenementsCoup vus = DetecteEvenements(g.Coup, GeometrieTable(fisik));
        const auto paires = AppareEvenements(g.Evenements, vus);
        bool egales = true;
        for (int b = 1; b <= NbBilles; ++b) {
            c.Contacts += int(g.Evenements[b].size());
            c.EnTrop += int(vus[b].size());
            egales = egales && vus[b].size() == g.Evenements[b].size();
        }
        for (const TPaireEvenements& p : paires) {
            const double ecart = std::abs(g.Evenements[p.Bille][p.Enregistre].t - vus[p.Bille][p.Calcule].t);
            c.PireEcart = std::max(c.PireEcart, ecart);
            c.AUnEchantillon += ecart <= 0.02;
            egales = egales && p.Enregistre == p.Calcule;
        }
        c.Retrouves += int(paires.size());
        c.EnTrop -= int(paires.size());
        c.SequencesEgales += egales && int(paires.size()) == [&] {
            int n = 0;
            for (int b = 1; b <= NbBilles; ++b) n += int(g.Evenements[b].size());
            return n;
        }();
    }
    return c;
}

}  // namespace

// The first contacts of each ball of these shots are brisk (a ball meets a cushion or a ball
// briskly across it): each is found, in order, within one sample (0.02 s) of the instant it was
// computed, through 3 mm of noise.
TEST(DetecteEvenements, FindsTheContactsOfBriskShotsWithinOneSample) {
    const TPARAMPHYS fisik = Match();
    struct TCas {
        std::array<double, 6> billes;
        double visee, vitesse, effet, hauteur;
    };
    const TCas cas[] = {
        {{-30, -40, 25, 60, -45, 90}, 55, 220, -1.0, -0.5},   // ball 2, two cushions, ball 3
        {{40, 20, -20, -80, 10, 110}, 200, 180, 1.2, 0.3},    // cushions only
        {{-50, -120, 20, 30, 40, 100}, 80, 200, 0.8, 0.5},    // ball 2 then cushions
        {{30, -100, -20, 0, 50, 60}, 105, 150, -0.8, 0.4},    // ball 2 across the table
        {{-20, 100, 10, -60, -40, 20}, -80, 250, 0.5, -0.6},  // down the table
        {{0, 0, 40, -40, -50, 120}, -45, 300, 0, 0.9},        // ball 2 full, follow
    };
    int contacts = 0;
    for (const TCas& c : cas) {
        const TCoupGenere g = GenereCoup(fisik, c.billes, c.visee, c.vitesse, c.effet, c.hauteur, 3);
        const TEvenementsCoup vus = DetecteEvenements(g.Coup, GeometrieTable(fisik));
        SCOPED_TRACE(c.visee);
        for (int b = 1; b <= NbBilles; ++b) {
            // the last contacts of a ball nearly at rest are not brisk: the first two of each ball
            const std::size_t n = std::min<std::size_t>(2, g.Evenements[b].size());
            ASSERT_GE(vus[b].size(), n) << "bille " << b;
            for (std::size_t k = 0; k < n; ++k) {
                EXPECT_TRUE(vus[b][k].MemeContact(g.Evenements[b][k])) << "bille " << b << ", contact " << k;
                EXPECT_NEAR(vus[b][k].t, g.Evenements[b][k].t, 0.02) << "bille " << b << ", contact " << k;
                ++contacts;
            }
        }
    }
    EXPECT_GE(contacts, 15);
}

// Random shots of 200 to 400 cm/s with any spin, played to rest: slow grazing contacts blur into
// the noise (a ball crossing a cushion line at 10 cm/s stays within 3 mm of it for 0.03 s), so
// the contacts are found in order on almost every shot, nine in ten within one sample, and the
// slowest within a few.
TEST(DetecteEvenements, FindsTheContactSequencesOfRandomShots) {
    const TPARAMPHYS fisik = Match();
    const TComparaison c = Compare(GenereCoups(fisik, 60, 11), fisik);
    EXPECT_GT(c.Contacts, 250);
    EXPECT_GE(c.Retrouves, c.Contacts * 97 / 100);
    EXPECT_LE(c.EnTrop, 3);
    EXPECT_GE(c.SequencesEgales, 54);
    EXPECT_GE(c.AUnEchantillon, c.Retrouves * 9 / 10);
    EXPECT_LT(c.PireEcart, 0.15);
}

// A ball rolling past another a centimetre wide of it does not touch it.
TEST(DetecteEvenements, ABallPassingCloseByTouchesNothing) {
    const TPARAMPHYS fisik = Match();
    const double d = fisik.Diametre() + 1.0;
    // ball 1 straight up the table along x = -58, ball 2 beside its path
    const TCoupGenere g = GenereCoup(fisik, {-58, -100, -58 + d, 0, 40, 100}, 90, 250, 0, 0.8, 5);
    const TEvenementsCoup vus = DetecteEvenements(g.Coup, GeometrieTable(fisik));
    // the computed shot touches only cushion 2, as the recording shows
    ASSERT_FALSE(g.Evenements[1].empty());
    EXPECT_EQ(g.Evenements[2].size(), 0u);
    for (const TEvenement& e : vus[1]) EXPECT_NE(e.Genre, geBille) << e.t;
    EXPECT_TRUE(vus[2].empty());
    ASSERT_FALSE(vus[1].empty());
    EXPECT_TRUE(vus[1].front().MemeContact(g.Evenements[1].front()));
}

// The route is a ball's first three contacts: a computed shot plays it when each comes in order
// at about the recorded instant, whatever it plays between them; from the first it does not play
// on, every contact of the route counts.
TEST(ContactsManques, CountsTheRouteFromTheFirstContactThatDiffers) {
    TEvenementsCoup enregistres, calcules;
    enregistres[1] = {Contact(geBille, 2, 0.5), Contact(geBande, 1, 1.0), Contact(geBande, 2, 1.6),
                      Contact(geBande, 3, 2.5), Contact(geBille, 3, 3.0)};
    enregistres[2] = {Contact(geBille, 1, 0.5), Contact(geBande, 4, 0.9)};
    calcules = enregistres;
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 0);
    EXPECT_EQ(NbContacts(enregistres, false), 3);
    EXPECT_EQ(NbContacts(enregistres, true), 5);
    // beyond the route, a different end does not count
    calcules[1].back().Partie = 2;
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 0);
    // a contact the recording does not show, between two of the route
    calcules[1].insert(calcules[1].begin() + 1, Contact(geBande, 4, 0.8));
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 0);
    calcules = enregistres;
    // the second contact on another cushion: it and the third
    calcules[1][1].Partie = 3;
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 2);
    calcules = enregistres;
    // the right cushion far too late (beyond 0.1 s and 15 % of the time)
    calcules[1][2].t = 1.6 + 0.3;
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 1);
    calcules[1][2].t = 1.6 + 0.2;
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 0);
    // the object ball's own route counts only when every ball is fitted
    calcules[2].clear();
    EXPECT_EQ(ContactsManques(enregistres, calcules, false), 0);
    EXPECT_EQ(ContactsManques(enregistres, calcules, true), 2);
}

// Contacts matched in order, a contact only one side shows left unmatched on both, and so is the
// same contact much later.
TEST(AppareEvenements, MatchesTheLongestCommonSequenceOfEachBall) {
    TEvenementsCoup a, b;
    a[1] = {Contact(geBande, 1, 0.2), Contact(geBande, 2, 0.6), Contact(geBille, 3, 1.0),
            Contact(geBande, 3, 2.0)};
    b[1] = {Contact(geBande, 1, 0.2), Contact(geBande, 4, 0.4), Contact(geBande, 2, 0.6),
            Contact(geBille, 3, 1.1), Contact(geBande, 3, 2.5)};
    a[3] = {Contact(geBille, 1, 1.0)};
    const auto paires = AppareEvenements(a, b);
    ASSERT_EQ(paires.size(), 3u);
    EXPECT_EQ(paires[0].Enregistre, 0);
    EXPECT_EQ(paires[0].Calcule, 0);
    EXPECT_EQ(paires[1].Enregistre, 1);
    EXPECT_EQ(paires[1].Calcule, 2);
    EXPECT_EQ(paires[2].Enregistre, 2);
    EXPECT_EQ(paires[2].Calcule, 3);
    for (const auto& p : paires) EXPECT_EQ(p.Bille, 1);
}
