// The analysis of an attempt: the robustness is the difficulty evaluation of that very cue, the
// best route is the solver's easiest one, computed once per position, table and mode and then
// taken from the cache; a stop keeps nothing half-computed.
#include <gtest/gtest.h>

#include <memory>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/AnalyseTentative.h"

namespace {

std::unique_ptr<TBillardVelmora> Position(const std::string& nom) {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik.SetParam(2, 3.075f);
    TFichierIni ini;
    EXPECT_TRUE(ini.Charge(std::string(VELMORA_EXAMPLES_DIR) + "/" + nom));
    ChargePosition(*s, ini);
    return s;
}

// a small grid and a small search: quick in a test, the same code paths
TOptionsAnalyse Petites() {
    TOptionsAnalyse o;
    o.Grille.NbEssais = {1, 1, 2, 1, 0, 0};
    o.Budget = 4000;
    o.NbThreads = 2;
    return o;
}

// a cache that counts what it is asked
class TCacheCompte : public TCacheRoutesMemoire {
public:
    std::optional<TMeilleureRoute> Cherche(const std::string& e) override {
        ++recherches;
        return TCacheRoutesMemoire::Cherche(e);
    }
    void Range(const std::string& e, const TMeilleureRoute& r) override {
        ++rangements;
        TCacheRoutesMemoire::Range(e, r);
    }
    int recherches = 0;
    int rangements = 0;
};

}  // namespace

TEST(AnalyseTentative, RobustnessIsTheDifficultyOfThatCueAndTheBestRouteTheSolversFirst) {
    auto source = Position("trois_bandes.vel");
    const TQueueDegres queue = QueueDegres(source->ParamQueue());
    const TOptionsAnalyse o = Petites();
    TAnalyseTentative analyse(*source, queue, o, nullptr);
    const TResultatAnalyse r = analyse.Execute();

    TEvaluationDifficulte evaluation(*source, queue, o.Grille);
    const TResultatDifficulte d = evaluation.Execute();
    EXPECT_EQ(r.Essais, d.NbEssais);
    EXPECT_EQ(r.Reussis, d.NbReussis);

    TOptionsSolveur os;
    os.NbRoutes = 1;
    os.Budget = o.Budget;
    os.Grille = o.Grille;
    os.MasseQueue = queue.Masse;
    TSolveurCoups solveur(*source, os);
    const TResultatSolveur s = solveur.Execute();
    ASSERT_FALSE(s.Routes.empty());
    ASSERT_TRUE(r.Meilleure);
    EXPECT_EQ(r.Meilleure->Libelle, s.Routes[0].Libelle);
    EXPECT_EQ(r.Meilleure->Reussis, s.Routes[0].Reussis);
    EXPECT_EQ(r.Meilleure->Queue, s.Routes[0].Queue);
    EXPECT_FALSE(r.RouteDuCache);
    EXPECT_FALSE(r.Interrompue);
}

TEST(AnalyseTentative, TheAttemptItselfIsJudgedWithItsContactsUntilTheVerdict) {
    auto source = Position("trois_bandes.vel");
    TAnalyseTentative analyse(*source, QueueDegres(source->ParamQueue()), Petites(), nullptr);
    const TResultatAnalyse r = analyse.Execute();
    source->ModeDeJeu = j3Bandes;
    source->Joue();
    EXPECT_EQ(r.Reussi, source->PointReussi && !source->FausseQueue);
    ASSERT_FALSE(r.Contacts.empty());
    if (r.Reussi) {
        EXPECT_GE(r.Contacts.back(), 12);
    }
}

TEST(AnalyseTentative, TheBestRouteIsSearchedOncePerPositionTableAndMode) {
    auto source = Position("ouverture.vel");
    const TQueueDegres queue = QueueDegres(source->ParamQueue());
    auto cache = std::make_shared<TCacheCompte>();
    const TResultatAnalyse premiere = TAnalyseTentative(*source, queue, Petites(), cache).Execute();
    ASSERT_TRUE(premiere.Meilleure);
    EXPECT_EQ(cache->rangements, 1);

    // another stroke from the same balls: the route comes from the cache, the same
    TQueueDegres autre = queue;
    autre.Visee += 3;
    const TResultatAnalyse seconde = TAnalyseTentative(*source, autre, Petites(), cache).Execute();
    EXPECT_TRUE(seconde.RouteDuCache);
    EXPECT_EQ(seconde.Empreinte, premiere.Empreinte);
    EXPECT_EQ(seconde.Meilleure->Libelle, premiere.Meilleure->Libelle);
    EXPECT_EQ(cache->rangements, 1);

    // another mode, another table, a ball moved: other keys
    EXPECT_NE(EmpreinteRoute(*source, jLibre, queue.Masse, "Jaune"), premiere.Empreinte);
    auto glissant = Position("ouverture.vel");
    glissant->Fisik.Change(&TConstantesPhys::FrotBiTapGlisse, glissant->Fisik.FrotBiTapGlisse() * 1.01);
    EXPECT_NE(EmpreinteRoute(*glissant, j3Bandes, queue.Masse, "Jaune"), premiere.Empreinte);
    auto deplacee = Position("ouverture.vel");
    deplacee->Trajets[3][0].Position.x += 0.5;
    EXPECT_NE(EmpreinteRoute(*deplacee, j3Bandes, queue.Masse, "Jaune"), premiere.Empreinte);
    EXPECT_EQ(EmpreinteRoute(*Position("ouverture.vel"), j3Bandes, queue.Masse, "Jaune"), premiere.Empreinte);
}

TEST(AnalyseTentative, AStoppedAnalysisKeepsNoRouteInTheCache) {
    auto source = Position("ouverture.vel");
    auto cache = std::make_shared<TCacheCompte>();
    TOptionsAnalyse o = Petites();
    o.Grille = TGrilleDifficulte{};
    o.Budget = 2'000'000;
    TAnalyseTentative analyse(*source, QueueDegres(source->ParamQueue()), o, cache);
    ASSERT_TRUE(analyse.Demarre());
    analyse.Arrete();
    const TResultatAnalyse r = analyse.Attends();
    EXPECT_TRUE(r.Interrompue);
    EXPECT_FALSE(r.Meilleure);
    EXPECT_EQ(cache->rangements, 0);
}
