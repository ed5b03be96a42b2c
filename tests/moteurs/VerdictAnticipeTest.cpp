// The early verdict against the whole computation: the same point on a large random sample of
// candidates, and ball 1's contacts as the photos of the whole shot record them.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/VerdictAnticipe.h"
#include "sim/C8_BoucleTrajets.h"

namespace {

std::unique_ptr<TBillardVelmora> Simulation() {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik.SetParam(2, 3.075f);  // the radius of the 3D models, as the program plays
    return s;
}

// ball 1's contacts until the verdict, read from the photos of the whole computation: a contact
// photo of ball 1 carries its cushion or ball number; the final photo repeats the last contact
TSequenceContacts SequenceDesPhotos(const TBillardVelmora& s) {
    TSequenceContacts seq;
    int premiere = 0;
    for (int n = 1; n <= s.NbPhotos; ++n) {
        const int c = s.Contacts[n];
        if (c == 0 || s.Temps[n] == s.Temps[n - 1]) continue;
        if (s.TypesChocs[n] == tcBilleBande) seq.Ajoute(c);
        if (s.TypesChocs[n] != tcBilleBille) continue;
        seq.Ajoute(10 + c);
        if (premiere == 0)
            premiere = c;
        else if (c != premiere)
            break;  // the verdict: the second object ball
    }
    return seq;
}

// random balls apart on the table and a random cue: aim, speed, tip offset up to the miscue
// limit (beyond it sometimes), inclination small or massé, mass
void Tirage(TBillardVelmora& s, std::mt19937_64& g) {
    std::uniform_real_distribution<double> u(0, 1);
    const double r = s.Fisik.RayonBilles;
    const double lx = s.Fisik.Bandes[0].Point.x - r - 0.5;
    const double ly = s.Fisik.Bandes[2].Point.y - r - 0.5;
    TVecteur p[NbBilles + 1];
    for (int b = 1; b <= NbBilles; ++b) {
        for (bool libre = false; !libre;) {
            p[b] = Vecteur((2 * u(g) - 1) * lx, (2 * u(g) - 1) * ly, r);
            libre = true;
            for (int c = 1; c < b; ++c)
                libre = libre && Norme(DiffVect(p[b], p[c])) > s.Fisik.Diametre + 0.01;
        }
        s.Trajets[b][0] = {p[b], VecteurNul, VecteurNul};
    }
    s.AngleOx = u(g) * 2 * std::numbers::pi;
    s.VitesseQueue = 10 + u(g) * 800;
    const double d = 2.1 * std::sqrt(u(g)), a = u(g) * 2 * std::numbers::pi;
    s.Effet = d * std::cos(a);
    s.Hauteur = d * std::sin(a);
    s.AngleTapis = (u(g) < 0.7 ? u(g) * 6 : u(g) * 80) * std::numbers::pi / 180;
    s.MasseQueue = 300 + u(g) * 400;
    s.ModeDeJeu = static_cast<TModeDeJeu>(g() % 3);
}

}  // namespace

TEST(VerdictAnticipe, SameVerdictAsTheWholeComputationOnAHundredThousandRandomCandidates) {
    auto entier = Simulation();
    auto anticipe = Simulation();
    std::mt19937_64 g(20261208);
    int anticipes = 0, reussis = 0, sequencesComparees = 0;
    constexpr int n = 100'000;
    for (int i = 0; i < n; ++i) {
        Tirage(*entier, g);
        anticipe->SetParamQueue(entier->ParamQueue());
        anticipe->ModeDeJeu = entier->ModeDeJeu;
        for (int b = 1; b <= NbBilles; ++b) anticipe->Trajets[b][0] = entier->Trajets[b][0];

        entier->Joue();
        const TVerdict v = JugeCoup(*anticipe);
        ASSERT_EQ(v.Reussi, entier->PointReussi) << "candidate " << i;
        // the early end is never later than the whole computation
        ASSERT_LE(v.NbPasses, entier->NbPasses) << "candidate " << i;
        anticipes += v.Anticipe;
        reussis += v.Reussi;
        // a scoring shot names its route the way its photos show it (photos at distinct instants)
        if (v.Reussi && entier->NbPhotos < NbPhotosMax) {
            const TSequenceContacts photos = SequenceDesPhotos(*entier);
            if (photos.Nb == v.Sequence.Nb) {
                ++sequencesComparees;
                EXPECT_EQ(photos.Code(), v.Sequence.Code()) << "candidate " << i;
            }
        }
    }
    // the sample must exercise both outcomes and the early ends
    EXPECT_GT(reussis, n / 100);
    EXPECT_GT(anticipes, n / 4);
    EXPECT_GT(sequencesComparees, reussis / 2);
}

TEST(VerdictAnticipe, NamesTheThreeCushionRouteOfTheExample) {
    auto s = Simulation();
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(std::string(VELMORA_EXAMPLES_DIR) + "/trois_bandes.vel"));
    ChargePosition(*s, ini);
    s->ModeDeJeu = j3Bandes;
    const TVerdict v = JugeCoup(*s);
    ASSERT_TRUE(v.Reussi);
    // both object balls, the second one last, and at least three cushions before it
    ASSERT_GE(v.Sequence.Nb, 5);
    int premiere = 0, bandes = 0;
    for (int i = 0; i + 1 < v.Sequence.Nb; ++i) {
        const int c = v.Sequence.Contacts[i];
        if (c < 10) ++bandes;
        if (c >= 12 && premiere == 0) premiere = c;
    }
    const int derniere = v.Sequence.Contacts[v.Sequence.Nb - 1];
    EXPECT_GE(premiere, 12);
    EXPECT_GE(derniere, 12);
    EXPECT_NE(derniere, premiere);
    EXPECT_GE(bandes, 3);
}

TEST(VerdictAnticipe, SequenceCodeRoundTripsAndTellsSequencesApart) {
    TSequenceContacts a;
    for (int c : {13, 1, 2, 3, 12}) a.Ajoute(c);
    EXPECT_EQ(TSequenceContacts::DepuisCode(a.Code()).Code(), a.Code());
    EXPECT_EQ(TSequenceContacts::DepuisCode(a.Code()).Nb, 5);
    TSequenceContacts b;
    for (int c : {13, 3, 2, 1, 12}) b.Ajoute(c);
    EXPECT_NE(a.Code(), b.Code());
    // too many contacts: cut, and marked as cut
    TSequenceContacts longue;
    for (int i = 0; i < 20; ++i) longue.Ajoute(1 + i % 4);
    EXPECT_TRUE(longue.Tronquee);
    EXPECT_TRUE(TSequenceContacts::DepuisCode(longue.Code()).Tronquee);
}

namespace {

// a watcher that ends the loop after its first pass
struct TUnPas {
    static constexpr bool Photos = false;
    bool ApresContact(const TBillardVelmora&, const TEtatBille&) { return true; }
    bool ApresPas(const TBillardVelmora&, double) { return true; }
};

}  // namespace

// A rolling ball stops at v·T/2 along its velocity: what it can still reach decides
TEST(VerdictAnticipe, NoMoreContactOnlyWhenEveryStopIsClearOfCushionsAndBalls) {
    auto s = Simulation();
    const double r = s->Fisik.RayonBilles;
    const auto place = [&](TVecteur v1, TVecteur p2, bool roule = true) {
        s->Trajets[1][0] = {Vecteur(0, 0, r), v1, VecteurNul};
        // rolling from the start: spin matching the speed (no slip)
        if (roule) s->Trajets[1][0].Rotation = Vecteur(-v1.y / r, v1.x / r, 0);
        s->Trajets[2][0] = {Vecteur(p2.x, p2.y, r), VecteurNul, VecteurNul};
        s->Trajets[3][0] = {Vecteur(-50, -100, r), VecteurNul, VecteurNul};
        // one pass of the loop sets the motion plans up
        TUnPas unPas;
        s->CalculTrajetsSuivi(unPas);
        // the time of the pass start: what is left of the plans is overestimated, never less
        return PlusAucunContact(*s, 0.0);
    };
    // slow, in open table, nothing in its way: it stops where nothing can change any more
    EXPECT_TRUE(place(Vecteur(0, 20, 0), Vecteur(40, 0, 0)));
    // the same speed (it rolls 34 cm), a ball on its line beyond that, then within it
    EXPECT_TRUE(place(Vecteur(0, 20, 0), Vecteur(0, 60, 0)));
    EXPECT_FALSE(place(Vecteur(0, 20, 0), Vecteur(0, 30, 0)));
    // fast enough to reach the cushion
    EXPECT_FALSE(place(Vecteur(0, 150, 0), Vecteur(40, 0, 0)));
    // still sliding: only a disc bounds it, so a ball to its side is within reach
    EXPECT_TRUE(place(Vecteur(0, 20, 0), Vecteur(12, 0, 0)));
    EXPECT_FALSE(place(Vecteur(0, 20, 0), Vecteur(12, 0, 0), false));
}
