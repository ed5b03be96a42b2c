// The early verdict against the whole computation: the same point on a large random sample of
// candidates, and ball 1's contacts as the photos of the whole shot record them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
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
    const double r = s.Fisik.RayonBilles();
    const double lx = s.Fisik.Bandes()[0].Point.x - r - 0.5;
    const double ly = s.Fisik.Bandes()[2].Point.y - r - 0.5;
    TVecteur p[NbBilles + 1];
    for (int b = 1; b <= NbBilles; ++b) {
        for (bool libre = false; !libre;) {
            p[b] = Vecteur((2 * u(g) - 1) * lx, (2 * u(g) - 1) * ly, r);
            libre = true;
            for (int c = 1; c < b; ++c)
                libre = libre && Norme(DiffVect(p[b], p[c])) > s.Fisik.Diametre() + 0.01;
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

// a random candidate played whole by `entier`, judged early by `anticipe` on its own table
TVerdict TireEtJuge(TBillardVelmora& entier, TBillardVelmora& anticipe, std::mt19937_64& g) {
    Tirage(entier, g);
    anticipe.SetParamQueue(entier.ParamQueue());
    anticipe.ModeDeJeu = entier.ModeDeJeu;
    for (int b = 1; b <= NbBilles; ++b) anticipe.Trajets[b][0] = entier.Trajets[b][0];
    entier.Joue();
    return JugeCoup(anticipe);
}

}  // namespace

TEST(VerdictAnticipe, SameVerdictAsTheWholeComputationOnAHundredThousandRandomCandidates) {
    auto entier = Simulation();
    auto anticipe = Simulation();
    std::mt19937_64 g(20261208);
    int anticipes = 0, reussis = 0, sequencesComparees = 0;
    constexpr int n = 100'000;
    for (int i = 0; i < n; ++i) {
        const TVerdict v = TireEtJuge(*entier, *anticipe, g);
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
    const double r = s->Fisik.RayonBilles();
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

// The balls' energy bounds how far they can still travel together: a slow ball 1 heading into a
// cushion, far from two balls at rest, can no longer make the point although a contact is still
// to come; the same ball faster still can.
TEST(VerdictAnticipe, PointOutOfReachWhenTheBallsCannotTravelToTheBallsStillToTouch) {
    auto s = Simulation();
    const double r = s->Fisik.RayonBilles();
    const double portee = PorteeParEnergie(s->Fisik);
    ASSERT_GT(portee, 0);
    const auto place = [&](double vitesse) {
        // rolling towards the long cushion on the right, 20 cm from it
        const double x = s->Fisik.Bandes()[0].Point.x - 20;
        s->Trajets[1][0] = {Vecteur(x, 0, r), Vecteur(vitesse, 0, 0), Vecteur(0, vitesse / r, 0)};
        s->Trajets[2][0] = {Vecteur(-40, -100, r), VecteurNul, VecteurNul};
        s->Trajets[3][0] = {Vecteur(-40, 100, r), VecteurNul, VecteurNul};
        TUnPas unPas;
        s->CalculTrajetsSuivi(unPas);
    };
    place(40);
    EXPECT_FALSE(PlusAucunContact(*s, 0.0));
    EXPECT_TRUE(PointHorsDePortee(*s, portee));
    place(400);
    EXPECT_FALSE(PointHorsDePortee(*s, portee));

    // from the start: ended early, with the whole computation's verdict
    place(40);
    auto entier = Simulation();
    for (int b = 1; b <= NbBilles; ++b) entier->Trajets[b][0] = s->Trajets[b][0];
    entier->CalculTrajets();
    for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0] = entier->Trajets[b][0];
    const TVerdict v = JugeTrajets(*s);
    EXPECT_FALSE(v.Reussi);
    EXPECT_FALSE(entier->PointReussi);
    EXPECT_TRUE(v.Anticipe);
    EXPECT_LT(v.NbPasses, entier->NbPasses / 4);
    // a table whose rolling resistance nears the sliding friction gives no bound at all
    TPARAMPHYS collant = s->Fisik;
    collant.Change(&TConstantesPhys::FrotBiTapRoule, collant.FrotBiTapGlisse());
    EXPECT_EQ(PorteeParEnergie(collant), 0);
}

namespace {

// the shortest way from a to b through a point of one of the four lines |x| = xl, |y| = yl,
// searched along the lines in steps of 0.5 mm
double ParUneLigne(const TVecteur& a, const TVecteur& b, double xl, double yl) {
    double meilleur = std::numeric_limits<double>::infinity();
    const auto essaie = [&](double x, double y) {
        meilleur = std::min(meilleur, std::hypot(x - a.x, y - a.y) + std::hypot(b.x - x, b.y - y));
    };
    for (double u = -2 * yl; u <= 2 * yl; u += 0.05) {
        essaie(xl, u);
        essaie(-xl, u);
        essaie(u, yl);
        essaie(u, -yl);
    }
    return meilleur;
}

}  // namespace

// The travel required never exceeds the shortest way the rules allow (else a point still
// possible would be declared out of reach), and comes near it
TEST(VerdictAnticipe, RequiredTravelIsTheShortestWayToBothBallsThroughACushionWhenOneIsDue) {
    auto s = Simulation();
    const TPARAMPHYS& f = s->Fisik;
    const double r = f.RayonBilles(), d = f.Diametre();
    // a centre touches a cushion no nearer than a radius from its nose
    const double xl = f.Bandes()[0].Point.x - r, yl = f.Bandes()[2].Point.y - r;
    std::mt19937_64 g(8);
    std::uniform_real_distribution<double> u(-1, 1);
    int proches = 0;
    for (int i = 0; i < 60; ++i) {
        TVecteur p[NbBilles + 1];
        for (int b = 1; b <= NbBilles; ++b) {
            p[b] = Vecteur(u(g) * (xl - 2 * d), u(g) * (yl - 2 * d), r);
            s->Trajets[b][0] = {p[b], VecteurNul, VecteurNul};
        }
        if (Norme(DiffVect(p[1], p[2])) < 2 * d || Norme(DiffVect(p[1], p[3])) < 2 * d ||
            Norme(DiffVect(p[2], p[3])) < 2 * d)
            continue;
        TUnPas unPas;
        s->ModeDeJeu = jLibre;
        s->CalculTrajetsSuivi(unPas);
        const double d12 = Norme(DiffVect(p[1], p[2])), d13 = Norme(DiffVect(p[1], p[3]));
        const double d23 = Norme(DiffVect(p[2], p[3]));
        // free game: both balls, in the better order, each within a diameter of its spot
        const double libre = std::max(std::max(d12, d13) - d, std::min(d12, d13) + d23 - 3 * d);
        EXPECT_NEAR(ParcoursRequis(*s), libre, 1e-9) << i;
        // three cushions: one of them at least before the second ball, on either way
        s->ModeDeJeu = j3Bandes;
        const double chemin =
            std::min({ParUneLigne(p[1], p[2], xl, yl) + d23, d12 + ParUneLigne(p[2], p[3], xl, yl),
                      ParUneLigne(p[1], p[3], xl, yl) + d23, d13 + ParUneLigne(p[3], p[2], xl, yl)});
        const double bandes = std::max(std::max(d12, d13) - d, chemin - 3 * d);
        const double requis = ParcoursRequis(*s);
        EXPECT_LE(requis, bandes + 1e-9) << i;
        EXPECT_GE(requis, libre) << i;
        proches += requis > bandes - 2;
    }
    EXPECT_GT(proches, 40);
}

// Other tables: the same verdicts on random frictions and restitutions, a third to three times
// the factory ones, where the energy's reach ends a good share of the candidates
TEST(VerdictAnticipe, SameVerdictAsTheWholeComputationOnRandomTables) {
    auto entier = Simulation();
    auto anticipe = Simulation();
    std::mt19937_64 g(9);
    std::uniform_real_distribution<double> facteur(1.0 / 3, 3);
    const TPARAMPHYS usine = entier->Fisik;
    int horsDePortee = 0;
    constexpr int n = 30'000;
    for (int i = 0; i < n; ++i) {
        if (i % 100 == 0) {
            using T = TConstantesPhys;
            T c = usine.Constantes();
            for (double T::*k :
                 {&T::FrotBiTapGlisse, &T::FrotBiTapPivot, &T::FrotBiTapRoule, &T::FrotBiTapChoc,
                  &T::FrotBiBi, &T::FrotBiBde, &T::ElastBiTap, &T::ElastBiBi, &T::ElastBiBde})
                c.*k = usine.Constantes().*k * facteur(g);
            TPARAMPHYS f = usine;
            f.Change(c);
            entier->Fisik = anticipe->Fisik = f;
        }
        const TVerdict v = TireEtJuge(*entier, *anticipe, g);
        ASSERT_EQ(v.Reussi, entier->PointReussi) << "candidate " << i;
        horsDePortee += v.Anticipe && PointHorsDePortee(*anticipe, PorteeParEnergie(anticipe->Fisik));
    }
    EXPECT_GT(horsDePortee, n / 10);
}
