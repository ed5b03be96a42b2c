// The shot solver: the routes it returns score as it says, with the success rate of the
// difficulty evaluation, the same for any number of threads; a known route is found; a position
// without any route ends with an empty list and its reason.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <set>
#include <thread>

#include "fichiers/FichierIni.h"
#include "jeu/Diamants.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/RoutesLisibles.h"
#include "moteurs/SolveurCoups.h"

namespace {

std::unique_ptr<TBillardVelmora> Position(const std::string& nom) {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik.SetParam(2, 3.075f);
    TFichierIni ini;
    EXPECT_TRUE(ini.Charge(std::string(VELMORA_EXAMPLES_DIR) + "/" + nom));
    ChargePosition(*s, ini);
    return s;
}

// a small search: enough for the examples, quick in a test
TOptionsSolveur Petite(int threads) {
    TOptionsSolveur o;
    o.Budget = 40'000;
    o.NbThreads = threads;
    o.NbRoutes = 3;
    return o;
}

}  // namespace

TEST(SolveurCoups, EveryRouteScoresAlongItsSequenceWithTheDifficultyEvaluationsRate) {
    auto source = Position("ouverture.vel");
    TSolveurCoups solveur(*source, Petite(2));
    const TResultatSolveur r = solveur.Execute();
    ASSERT_FALSE(r.Routes.empty()) << r.Raison;
    EXPECT_TRUE(r.Raison.empty());
    EXPECT_FALSE(r.Interrompu);
    EXPECT_LE(int(r.Routes.size()), 3);
    for (const TRouteSolveur& route : r.Routes) {
        // replayed whole, from the balls at rest, with the cue fields the setting plays
        auto s = Position("ouverture.vel");
        s->ModeDeJeu = j3Bandes;
        s->SetParamQueue(route.Param);
        s->Joue();
        EXPECT_TRUE(s->PointReussi) << route.Libelle;
        for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0] = {source->Trajets[b][0].Position, {}, {}};
        EXPECT_EQ(JugeCoup(*s).Sequence.Code(), route.Sequence.Code()) << route.Libelle;
        // three cushions before the second object ball, and the label says so
        EXPECT_GE(route.Bandes.size(), 3u);
        EXPECT_NE(route.Libelle.find(route.PremiereBille), std::string::npos);

        // the rate is the difficulty evaluation's, default grid, around the same setting
        TEvaluationDifficulte evaluation(*source, route.Queue, TGrilleDifficulte{});
        TOptionsDifficulte options;
        options.NbThreads = 2;
        const TResultatDifficulte d = evaluation.Execute(options);
        EXPECT_EQ(route.Essais, d.NbEssais);
        EXPECT_EQ(route.Reussis, d.NbReussis) << route.Libelle;
    }
    // easiest first; equal rates by the lower speed
    for (size_t i = 1; i < r.Routes.size(); ++i) {
        const TRouteSolveur& a = r.Routes[i - 1];
        const TRouteSolveur& b = r.Routes[i];
        EXPECT_GE(a.TauxReussite(), b.TauxReussite());
        if (a.TauxReussite() == b.TauxReussite()) {
            EXPECT_LE(a.Queue.Vitesse, b.Queue.Vitesse);
        }
        EXPECT_EQ(b.Rang, a.Rang + 1);
    }
}

TEST(SolveurCoups, SameRoutesAndFiguresOnOneAndTwoThreads) {
    auto source = Position("ouverture.vel");
    TSolveurCoups un(*source, Petite(1));
    TSolveurCoups deux(*source, Petite(2));
    const TResultatSolveur a = un.Execute();
    const TResultatSolveur b = deux.Execute();
    ASSERT_EQ(a.Routes.size(), b.Routes.size());
    EXPECT_EQ(a.NbRoutesTrouvees, b.NbRoutesTrouvees);
    EXPECT_EQ(a.NbCoups, b.NbCoups);
    for (size_t i = 0; i < a.Routes.size(); ++i) {
        EXPECT_EQ(a.Routes[i].Libelle, b.Routes[i].Libelle);
        EXPECT_EQ(a.Routes[i].Param, b.Routes[i].Param);
        EXPECT_EQ(a.Routes[i].Reussis, b.Routes[i].Reussis);
    }
    for (size_t i = 0; i < a.Routes.size(); ++i) {
        EXPECT_EQ(a.Routes[i].Diamants, b.Routes[i].Diamants);
        ASSERT_EQ(a.Routes[i].Variantes.size(), b.Routes[i].Variantes.size());
        for (size_t k = 0; k < a.Routes[i].Variantes.size(); ++k)
            EXPECT_EQ(a.Routes[i].Variantes[k].Queue, b.Routes[i].Variantes[k].Queue);
    }
}

TEST(SolveurCoups, FindsTheRouteOfTheOpeningExample) {
    // the example's own shot scores: its route is one the search must see
    auto source = Position("ouverture.vel");
    source->ModeDeJeu = j3Bandes;
    const TVerdict exemple = JugeCoup(*source);
    ASSERT_TRUE(exemple.Reussi);
    for (int b = 1; b <= NbBilles; ++b) source->Trajets[b][0].Vitesse = source->Trajets[b][0].Rotation = {};

    TOptionsSolveur o;
    o.Budget = 60'000;
    o.NbRoutes = 1;
    o.Grille.NbEssais = {1, 1, 1, 0, 0, 0};  // this test looks at the routes, not at their rates
    TSolveurCoups solveur(*source, o);
    const TResultatSolveur r = solveur.Execute();
    ASSERT_EQ(int(r.SequencesTrouvees.size()), r.NbRoutesTrouvees);
    std::set<std::uint64_t> codes;
    for (const TSequenceContacts& s : r.SequencesTrouvees) codes.insert(s.Code());
    EXPECT_EQ(codes.size(), r.SequencesTrouvees.size());
    EXPECT_TRUE(codes.count(exemple.Sequence.Code()))
        << TSolveurCoups::Libelle(exemple.Sequence, "Jaune") << " among " << r.NbRoutesTrouvees << " routes";
}

TEST(SolveurCoups, OtherModesScoreInTheirOwnWay) {
    auto source = Position("ouverture.vel");
    TOptionsSolveur o = Petite(2);
    o.Mode = jLibre;
    o.Grille.NbEssais = {1, 1, 1, 0, 0, 0};
    TSolveurCoups solveur(*source, o);
    const TResultatSolveur r = solveur.Execute();
    ASSERT_FALSE(r.Routes.empty());
    for (const TRouteSolveur& route : r.Routes) {
        auto s = Position("ouverture.vel");
        s->ModeDeJeu = jLibre;
        s->SetParamQueue(route.Param);
        s->Joue();
        EXPECT_TRUE(s->PointReussi) << route.Libelle;
    }
    // libre: both object balls, the easiest route scoring more often than not on its grid
    EXPECT_EQ(r.Routes.front().Sequence.Nb - int(r.Routes.front().Bandes.size()), 2)
        << r.Routes.front().Libelle;
}

TEST(SolveurCoups, BallOneFrozenAgainstBothOthersEndsEmptyWithItsReason) {
    auto source = Position("ouverture.vel");
    const double d = source->Fisik.Diametre();
    const TVecteur p1 = source->Trajets[1][0].Position;
    source->Trajets[2][0].Position = SommeVect(p1, Vecteur(d, 0, 0));
    source->Trajets[3][0].Position = SommeVect(p1, Vecteur(0, d, 0));
    TSolveurCoups solveur(*source, Petite(1));
    const TResultatSolveur r = solveur.Execute();
    EXPECT_TRUE(r.Routes.empty());
    EXPECT_NE(r.Raison.find("collée"), std::string::npos);
}

TEST(SolveurCoups, StopKeepsTheRoutesFoundSoFarAndProgressAdvances) {
    auto source = Position("ouverture.vel");
    TOptionsSolveur o = Petite(2);
    o.Budget = 400'000;
    TSolveurCoups solveur(*source, o);
    ASSERT_TRUE(solveur.Demarre());
    EXPECT_FALSE(solveur.Demarre());
    // well into the coarse pass (it judges about 400,000 strokes), then stop
    while (solveur.Progression().Faits < 150'000 && !solveur.Termine())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(solveur.Progression().Phase, 0);
    solveur.Arrete();
    const TResultatSolveur r = solveur.Attends();
    EXPECT_TRUE(r.Interrompu);
    ASSERT_LT(r.NbCoups, 390'000) << "the stop came after the coarse pass";
    EXPECT_GT(r.NbCoups, 0);
    ASSERT_FALSE(r.Routes.empty()) << r.Raison;
    // stopped in the coarse pass: no route has a rate, and the result says so for each
    for (const TRouteSolveur& route : r.Routes) {
        EXPECT_FALSE(route.Libelle.empty());
        EXPECT_FALSE(route.Mesuree()) << route.Libelle;
    }
    EXPECT_EQ(r.NbNonMesurees, int(r.Routes.size()));
}

TEST(SolveurCoups, RoutesAreExactContactsWithTheirDiamonds_VariantsMakeTheSameContacts) {
    auto source = Position("ouverture.vel");
    TOptionsSolveur o = Petite(2);
    o.Grille.NbEssais = {1, 1, 1, 0, 0, 0};
    TSolveurCoups solveur(*source, o);
    const TResultatSolveur r = solveur.Execute();
    ASSERT_FALSE(r.Routes.empty()) << r.Raison;
    std::set<std::uint64_t> codes;
    int variantes = 0;
    for (const TRouteSolveur& route : r.Routes) {
        EXPECT_TRUE(codes.insert(route.Sequence.Code()).second) << "two routes of one sequence";
        // ball 1 meets every cushion of the route, on that cushion's diamonds
        ASSERT_EQ(route.Diamants.size(), route.Bandes.size()) << route.Libelle;
        for (size_t k = 0; k < route.Bandes.size(); ++k) {
            EXPECT_GE(route.Diamants[k], 0);
            EXPECT_LE(route.Diamants[k], BandeLongue(route.Bandes[k]) ? 8 : 4);
        }
        const std::string parcours = TexteParcoursRoute(route, "Jaune");
        for (const std::string& nom : NomsBandesRoute(route))
            EXPECT_NE(parcours.find(nom), std::string::npos);
        // every variant is another stroke making exactly the route's contacts
        for (const TVarianteRoute& v : route.Variantes) {
            EXPECT_GE(v.TailleRegion, 3);
            EXPECT_LE(v.TailleRegion, route.TailleRegion);
            auto s = Position("ouverture.vel");
            s->ModeDeJeu = j3Bandes;
            s->SetParamQueue(ParamSimu(v.Queue));
            const TVerdict verdict = JugeCoup(*s);
            EXPECT_TRUE(verdict.Reussi);
            EXPECT_EQ(verdict.Sequence.Code(), route.Sequence.Code()) << route.Libelle;
            ++variantes;
        }
    }
    EXPECT_GT(variantes, 0) << "the opening has routes played more than one way";
}

TEST(SolveurCoups, MasseRefinesTheInclinationOffTheCoarseValues) {
    // the coarse inclinations with massé are the centres of 15° cells; the finer pass moves by 7.5°
    auto source = Position("ouverture.vel");
    TOptionsSolveur o = Petite(2);
    o.Budget = 9'000;
    o.Masse = true;
    o.Grille.NbEssais = {1, 1, 1, 0, 0, 0};
    TSolveurCoups solveur(*source, o);
    const TResultatSolveur r = solveur.Execute();
    ASSERT_FALSE(r.Routes.empty()) << r.Raison;
    int horsGrossiere = 0;
    for (const TRouteSolveur& route : r.Routes) {
        const double i = route.Queue.Inclinaison;
        horsGrossiere += std::abs(std::remainder(i - 7.5, 15.0)) > 1e-3;
        EXPECT_GE(i, 0);
        EXPECT_LE(i, TOptionsSolveur::InclinaisonMasse);
        EXPECT_NEAR(std::remainder(i, 7.5), 0.0, 1e-3) << i;
        auto s = Position("ouverture.vel");
        s->SetParamQueue(route.Param);
        s->Joue();
        EXPECT_TRUE(s->PointReussi) << route.Libelle;
    }
    EXPECT_EQ(r.NbNonMesurees, 0);
    EXPECT_GT(horsGrossiere, 0) << "no route's inclination moved off the coarse pass";
}
