// Tips and clock positions: the four quarters, the way back to the cue's values, and a limit of
// three tips that is exactly where the simulation starts to miscue.
#include <gtest/gtest.h>

#include <cmath>

#include "jeu/Procedes.h"
#include "tests/sim/OutilsSimu.h"

namespace {

double DeportUsine() { return DeportSansFausseQueue(TPARAMPHYS(), 520); }

// the simulation's verdict for a tip at that offset
bool SimulationFaitFausseQueue(double effet, double hauteur, double masseQueue) {
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(0, 0, 0), Vecteur(30, 30, 0), Vecteur(-30, 60, 0));
    s->VitesseQueue = 300;
    s->MasseQueue = masseQueue;
    s->Effet = effet;
    s->Hauteur = hauteur;
    s->ImpactQueue();
    return s->FausseQueue;
}

}  // namespace

TEST(Procedes, TheFourQuartersReadTwelveThreeSixAndNineWithTheirWords) {
    const double d = DeportUsine() * 2 / 3;  // two tips
    struct {
        double effet, hauteur;
        int heure;
        const char* texte;
    } const cas[] = {{0, d, 12, "2 procédés à 12 h (haut : coulé)"},
                     {d, 0, 3, "2 procédés à 3 h (effet à droite)"},
                     {0, -d, 6, "2 procédés à 6 h (bas : rétro)"},
                     {-d, 0, 9, "2 procédés à 9 h (effet à gauche)"}};
    for (const auto& c : cas) {
        const TProcede p = Procede(c.effet, c.hauteur, DeportUsine());
        EXPECT_EQ(p.HeureRonde, c.heure) << c.texte;
        EXPECT_NEAR(p.Procedes, 2, 1e-12);
        EXPECT_EQ(TexteProcede(p, ','), c.texte);
    }
    // between two quarters both words; near the centre no clock at all
    EXPECT_EQ(TexteProcede(Procede(0.3, -0.17, 0.9), ','), "1,1 procédé à 4 h (bas : rétro, effet à droite)");
    EXPECT_EQ(TexteProcede(Procede(0.01, 0.02, DeportUsine())), "au centre");
}

TEST(Procedes, ClockAndTipsGiveBackTheCuesValues) {
    const double limite = DeportUsine();
    for (double heure = 0.5; heure <= 12; heure += 0.5)
        for (double procedes : {0.3, 1.0, 1.5, 2.9}) {
            const TEffetHauteur eh = EffetHauteur(heure, procedes, limite);
            const TProcede p = Procede(eh.Effet, eh.Hauteur, limite);
            EXPECT_NEAR(p.Heure, heure, 1e-9) << heure << " h " << procedes;
            EXPECT_NEAR(p.Procedes, procedes, 1e-9) << heure << " h " << procedes;
        }
}

TEST(Procedes, ThreeTipsIsWhereTheSimulationStartsToMiscue) {
    // the friction cone of the tip with an ordinary cue; the energy balance with a heavy one
    for (double masse : {520.0, 1200.0}) {
        const double limite = DeportSansFausseQueue(TPARAMPHYS(), masse);
        for (double heure : {1.0, 3.0, 7.5}) {
            for (double procedes : {2.999, 3.001}) {
                const TEffetHauteur eh = EffetHauteur(heure, procedes, limite);
                const TProcede p = Procede(eh.Effet, eh.Hauteur, limite);
                EXPECT_EQ(p.FausseQueue, procedes > 3) << masse << " g, " << procedes;
                EXPECT_EQ(SimulationFaitFausseQueue(eh.Effet, eh.Hauteur, masse), procedes > 3)
                    << masse << " g, " << heure << " h, " << procedes << " tips";
            }
        }
    }
    // the heavy cue's limit is the energy balance's, below the cone; a cue heavier still miscues
    // wherever it strikes, even at the centre
    EXPECT_LT(DeportSansFausseQueue(TPARAMPHYS(), 1200), std::sqrt(TPARAMPHYS().DeportMax2()) - 0.1);
    EXPECT_TRUE(SimulationFaitFausseQueue(0, 0, 5000));
    EXPECT_TRUE(Procede(0, 0, DeportSansFausseQueue(TPARAMPHYS(), 5000)).FausseQueue);
    EXPECT_EQ(TexteProcede(Procede(0, 2.4, 2.057), ','), "fausse queue (3,5 procédés)");
}
