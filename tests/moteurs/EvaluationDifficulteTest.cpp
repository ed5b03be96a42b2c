#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <thread>

#include "moteurs/EvaluationDifficulte.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"

namespace fs = std::filesystem;

namespace {

// the opening position of three-cushion play with its cue
std::unique_ptr<TBillardVelmora> Ouverture() {
    auto s = std::make_unique<TBillardVelmora>();
    const double r = s->Fisik.RayonBilles(), w = s->Fisik.largeurJeu();
    s->Trajets[1][0] = {Vecteur(18.25, -w / 2, r), VecteurNul, VecteurNul};
    s->Trajets[2][0] = {Vecteur(0, -w / 2, r), VecteurNul, VecteurNul};
    s->Trajets[3][0] = {Vecteur(0, w / 2, r), VecteurNul, VecteurNul};
    return s;
}

TQueueDegres QueueOuverture() { return {0.62f, 1.17f, 99.14f, 430.0f, 3.0f, 520.0f}; }

TGrilleDifficulte Grille(TDecalages n,
                         std::array<float, NbParamsEssai> increments = {0.1f, 0.1f, 0.1f, 10, 2, 10}) {
    TGrilleDifficulte g;
    g.NbEssais = n;
    g.Increment = increments;
    return g;
}

// The evaluation written as the plain nested loops, one simulation object, photo 0 prepared once:
// the records of the successes, read back from the simulation's cue fields.
std::vector<TEnregistrementBul> BouclesImbriquees(TBillardVelmora& s, const TQueueDegres& q,
                                                  const TGrilleDifficulte& g) {
    constexpr double rad = std::numbers::pi / 180, deg = 180 / std::numbers::pi;
    for (int b = 1; b <= NbBilles; ++b) s.Trajets[b][0].Vitesse = s.Trajets[b][0].Rotation = VecteurNul;
    const auto& n = g.NbEssais;
    const auto& d = g.Increment;
    std::vector<TEnregistrementBul> succes;
    for (int e = -n[0]; e <= n[0]; ++e) {
        s.Effet = double(q.Effet) + e * double(d[0]);
        for (int h = -n[1]; h <= n[1]; ++h) {
            s.Hauteur = double(q.Hauteur) + h * double(d[1]);
            for (int a = -n[2]; a <= n[2]; ++a) {
                s.AngleOx = (double(q.Visee) + a * double(d[2])) * rad;
                for (int v = -n[3]; v <= n[3]; ++v) {
                    const double vitesse = double(q.Vitesse) + v * double(d[3]);
                    if (vitesse < 0.1) continue;
                    s.VitesseQueue = vitesse;
                    for (int i = -n[4]; i <= n[4]; ++i) {
                        s.AngleTapis = (double(q.Inclinaison) + i * double(d[4])) * rad;
                        for (int m = -n[5]; m <= n[5]; ++m) {
                            const double masse = double(q.Masse) + m * double(d[5]);
                            if (masse < 0.1) continue;
                            s.MasseQueue = masse;
                            s.Joue();
                            if (s.PointReussi)
                                succes.push_back({float(s.Effet), float(s.Hauteur), float(s.AngleOx * deg),
                                                  float(s.VitesseQueue), float(s.AngleTapis * deg),
                                                  float(s.MasseQueue)});
                        }
                    }
                }
            }
        }
    }
    return succes;
}

class EvaluationDifficulteTest : public TestAvecDossier {
protected:
    EvaluationDifficulteTest() : TestAvecDossier("velmora-diff") {}
};

}  // namespace

TEST(GrilleDifficulte, DefaultGridHas6655TrialsAndVolume1331) {
    const TGrilleDifficulte g;
    EXPECT_EQ(g.NbTotal(), 6655);
    EXPECT_NEAR(g.VolumeCellule(), 0.2, 1e-6);
    EXPECT_NEAR(g.VolumeTeste(), 1331.0, 1e-3);
}

TEST(GrilleDifficulte, EntriesAreBroughtIntoTheirLimits) {
    EXPECT_EQ(TGrilleDifficulte::BorneNbEssais(-3), 0);
    EXPECT_EQ(TGrilleDifficulte::BorneNbEssais(2.6), 3);
    EXPECT_EQ(TGrilleDifficulte::BorneNbEssais(1e12), NbEssaisMax);
    EXPECT_EQ(TGrilleDifficulte::BorneNbEssais(std::nan("")), 0);
    EXPECT_EQ(TGrilleDifficulte::BorneIncrement(0.001), 0.01f);
    EXPECT_EQ(TGrilleDifficulte::BorneIncrement(-5), 0.01f);
    EXPECT_EQ(TGrilleDifficulte::BorneIncrement(std::nan("")), 0.01f);
    EXPECT_EQ(TGrilleDifficulte::BorneIncrement(2.5), 2.5f);
    // the largest grid still counts within 64 bits
    TGrilleDifficulte g;
    g.NbEssais.fill(1'000'000);
    EXPECT_EQ(g.Bornee().NbTotal(), 1001LL * 1001 * 1001 * 1001 * 1001 * 1001);
}

TEST(GrilleDifficulte, CellsFollowTheNestedLoopsWithMassInnermost) {
    const TGrilleDifficulte g = Grille({1, 0, 2, 1, 0, 1});
    EXPECT_EQ(DecalagesCellule(g, 0), (TDecalages{-1, 0, -2, -1, 0, -1}));
    EXPECT_EQ(DecalagesCellule(g, 1), (TDecalages{-1, 0, -2, -1, 0, 0}));
    EXPECT_EQ(DecalagesCellule(g, 3), (TDecalages{-1, 0, -2, 0, 0, -1}));
    TDecalages k = DecalagesCellule(g, 0);
    for (std::int64_t c = 1; c < g.NbTotal(); ++c) {
        ASSERT_TRUE(CelluleSuivante(g, k));
        ASSERT_EQ(k, DecalagesCellule(g, c)) << "cell " << c;
    }
    EXPECT_EQ(k, (TDecalages{1, 0, 2, 1, 0, 1}));
    EXPECT_FALSE(CelluleSuivante(g, k));
}

TEST(GrilleDifficulte, SpeedsAndMassesBelowATenthAreNotTrials) {
    TQueueDegres q = QueueOuverture();
    q.Vitesse = 15;
    const TGrilleDifficulte vitesses = Grille({0, 0, 0, 2, 0, 0});
    std::vector<double> jouees;
    for (std::int64_t c = 0; c < vitesses.NbTotal(); ++c) {
        TParamQueue p;
        if (ParamCellule(q, vitesses, DecalagesCellule(vitesses, c), p)) jouees.push_back(p.VitesseQueue);
    }
    EXPECT_EQ(jouees, (std::vector<double>{5, 15, 25, 35}));

    q.Masse = 10;
    const TGrilleDifficulte masses = Grille({0, 0, 0, 0, 0, 2});
    jouees.clear();
    for (std::int64_t c = 0; c < masses.NbTotal(); ++c) {
        TParamQueue p;
        if (ParamCellule(q, masses, DecalagesCellule(masses, c), p)) jouees.push_back(p.MasseQueue);
    }
    EXPECT_EQ(jouees, (std::vector<double>{10, 20, 30}));

    // skipped cells count in the grid, not among the trials
    auto s = Ouverture();
    TEvaluationDifficulte e(*s, q, Grille({0, 0, 0, 2, 0, 2}));
    const TResultatDifficulte r = e.Execute();
    EXPECT_EQ(r.NbTotal, 25);
    EXPECT_EQ(r.NbEssais, 12);
    EXPECT_TRUE(r.Complet);
    EXPECT_EQ(e.Progression().EssaisRestants(), 13);
}

TEST_F(EvaluationDifficulteTest, Calibration_TimesAFewTrialsOfTheGrid) {
    auto s = Ouverture();
    TEvaluationDifficulte e(*s, QueueOuverture(), Grille({5, 5, 5, 2, 0, 0}));
    const double un = e.MesureDureeMille(8, 1);
    // a time, not a speed check: the machine may be busy (speed is the benchmarks' business)
    EXPECT_GT(un, 0);
    EXPECT_TRUE(std::isfinite(un));
    // a grid without a single trial gives nothing to time
    TEvaluationDifficulte vide(*s, {0.62f, 1.17f, 99.14f, 0.0f, 3.0f, 520.0f}, Grille({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(vide.MesureDureeMille(8, 1), 0);
    // the calculation is untouched
    EXPECT_EQ(e.Progression().EssaisFaits, 0);
}

TEST_F(EvaluationDifficulteTest, AllCountsZero_PlaysTheCurrentCueOnce) {
    auto s = Ouverture();
    const TQueueDegres q = QueueOuverture();
    TEvaluationDifficulte e(*s, q, Grille({0, 0, 0, 0, 0, 0}));
    const TResultatDifficulte r = e.Execute({1, Chemin("r.bul")});
    EXPECT_EQ(r.NbTotal, 1);
    EXPECT_EQ(r.NbEssais, 1);

    // the same shot fired directly
    s->SetParamQueue({430, 520, double(0.62f), double(1.17f), double(99.14f) * std::numbers::pi / 180,
                      3 * std::numbers::pi / 180});
    s->Joue();
    ASSERT_TRUE(s->PointReussi) << "the opening shot scores";
    EXPECT_EQ(r.NbReussis, 1);
    TContenuBul lu;
    ASSERT_TRUE(LitBul(Chemin("r.bul"), lu));
    EXPECT_EQ(lu.Entete.Hautes, lu.Entete.Basses);
    EXPECT_EQ(lu.Entete.Hautes, (std::array<float, 6>{0.62f, 1.17f, 99.14f, 430, 3, 520}));
    ASSERT_EQ(lu.Enregistrements.size(), 1u);
    EXPECT_EQ(lu.Enregistrements[0], (TEnregistrementBul{0.62f, 1.17f, 99.14f, 430, 3, 520}));
}

TEST_F(EvaluationDifficulteTest, ParallelRun_GivesTheNestedLoopsSuccessesInPlayOrder) {
    auto s = Ouverture();
    const TQueueDegres q = QueueOuverture();
    // the lightest mass is skipped: 2/3 of the cells are trials
    const TGrilleDifficulte g = Grille({2, 2, 2, 1, 1, 1}, {0.15f, 0.15f, 0.2f, 40, 1, 600});
    const auto attendus = BouclesImbriquees(*Ouverture(), q, g);
    ASSERT_GT(attendus.size(), 200u) << "a grid with many successes";

    TEvaluationDifficulte e(*s, q, g);
    const TResultatDifficulte un = e.Execute({1, Chemin("un.bul")});
    const auto reussitesUn = e.Reussites();
    const TResultatDifficulte trois = e.Execute({3, Chemin("trois.bul")});
    EXPECT_EQ(e.Reussites(), reussitesUn);
    EXPECT_EQ(un.NbReussis, std::int64_t(attendus.size()));
    EXPECT_EQ(trois.NbReussis, un.NbReussis);
    EXPECT_EQ(un.NbEssais, 2250);
    EXPECT_EQ(trois.NbEssais, un.NbEssais);
    EXPECT_TRUE(trois.Complet);
    EXPECT_FALSE(trois.Interrompu);
    EXPECT_NEAR(trois.VolumeReussi, double(trois.NbReussis) * g.VolumeCellule(), 1e-9);

    // byte for byte the same file, holding the nested loops' records
    EXPECT_EQ(LitFichierEntier(Chemin("un.bul")), LitFichierEntier(Chemin("trois.bul")));
    TContenuBul lu;
    ASSERT_TRUE(LitBul(Chemin("trois.bul"), lu));
    EXPECT_EQ(lu.Enregistrements, attendus);
    EXPECT_EQ(lu.Entete.Positions[0],
              (std::array<float, 3>{18.25f, -71.125f, float(s->Fisik.RayonBilles())}));
    EXPECT_FLOAT_EQ(lu.Entete.Hautes[peEffet], 0.62f + 0.3f);
    EXPECT_FLOAT_EQ(lu.Entete.Basses[peVitesse], 390);
    EXPECT_FLOAT_EQ(lu.Entete.Hautes[peMasse], 1120);
    EXPECT_FLOAT_EQ(lu.Entete.Basses[peMasse], -80);
}

TEST_F(EvaluationDifficulteTest, Stop_EndsWithinAFractionOfASecondAndLeavesAValidFile) {
    auto s = Ouverture();
    TEvaluationDifficulte e(*s, QueueOuverture(), Grille({20, 20, 20, 2, 0, 0}));
    ASSERT_TRUE(e.Demarre({2, Chemin("r.bul")}));
    // one calculation at a time
    EXPECT_FALSE(e.Demarre({2, Chemin("autre.bul")}));
    EXPECT_FALSE(e.Execute({1, Chemin("autre.bul")}).Erreur.empty());
    EXPECT_FALSE(fs::exists(Chemin("autre.bul")));
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (e.Progression().EssaisFaits < 500 && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));

    // progress as the window shows it
    const TProgressionDifficulte p = e.Progression();
    EXPECT_TRUE(p.EnCours);
    EXPECT_EQ(p.NbTotal, 41LL * 41 * 41 * 5);
    EXPECT_GT(p.DureeMille, 0);
    EXPECT_NEAR(p.SecondesRestantes(), double(p.NbTotal - p.EssaisFaits) * p.DureeMille / 1000, 1e-9);
    EXPECT_LE(p.Reussis, p.EssaisFaits);

    const auto t0 = std::chrono::steady_clock::now();
    e.Arrete();
    const TResultatDifficulte r = e.Attends();
    // the grid left takes many minutes: a stop that waits for it would show
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 3);
    EXPECT_TRUE(r.Interrompu);
    EXPECT_FALSE(r.Complet);
    EXPECT_TRUE(r.Erreur.empty());
    EXPECT_FALSE(e.Progression().EnCours);

    // the records found so far, in play order, each the trial that made it
    TContenuBul lu;
    ASSERT_TRUE(LitBul(Chemin("r.bul"), lu));
    ASSERT_EQ(std::int64_t(lu.Enregistrements.size()), r.NbReussis);
    ASSERT_EQ(e.Reussites().size(), lu.Enregistrements.size());
    for (size_t i = 0; i < lu.Enregistrements.size(); ++i) {
        if (i > 0) {
            ASSERT_LT(e.Reussites()[i - 1], e.Reussites()[i]);
        }
        TParamQueue q;
        ParamCellule(e.Queue(), e.Grille(), DecalagesCellule(e.Grille(), e.Reussites()[i]), q);
        ASSERT_EQ(lu.Enregistrements[i], EnregistrementBul(q));
    }
}

TEST_F(EvaluationDifficulteTest, DestroyingARunningEvaluationStopsIt) {
    auto s = Ouverture();
    auto e = std::make_unique<TEvaluationDifficulte>(*s, QueueOuverture(), Grille({20, 20, 20, 2, 0, 0}));
    ASSERT_TRUE(e->Demarre({2, Chemin("r.bul")}));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto t0 = std::chrono::steady_clock::now();
    e.reset();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 3);
    EXPECT_TRUE(fs::exists(Chemin("r.bul")));
}

TEST_F(EvaluationDifficulteTest, ResultsFileThatCannotBeCreated_NothingIsCalculated) {
    auto s = Ouverture();
    TEvaluationDifficulte e(*s, QueueOuverture(), TGrilleDifficulte{});
    const TResultatDifficulte r = e.Execute({2, Chemin("absent/r.bul")});
    EXPECT_NE(r.Erreur.find("absent/r.bul"), std::string::npos);
    EXPECT_EQ(r.NbEssais, 0);
    EXPECT_FALSE(r.Complet);
    EXPECT_FALSE(fs::exists(Chemin("absent")));
}

TEST_F(EvaluationDifficulteTest, FullDisk_StopsTheCalculationReportsItAndLeavesNoFile) {
    DisqueEnPanne disque("difficulte", 64);
    VELMORA_EXIGE_DISQUE(disque);
    disque.Remplis();
    auto s = Ouverture();
    // the first block of records is written after some 330 successes
    TEvaluationDifficulte e(*s, QueueOuverture(), Grille({5, 5, 5, 20, 0, 0}, {0.1f, 0.1f, 0.1f, 1, 2, 10}));
    const TResultatDifficulte r = e.Execute({2, disque.Chemin("r.bul")});
    EXPECT_NE(r.Erreur.find("r.bul"), std::string::npos);
    EXPECT_FALSE(r.Complet);
    EXPECT_FALSE(r.Interrompu);
    EXPECT_LT(r.NbEssais, r.NbTotal / 4);
    EXPECT_FALSE(fs::exists(disque.Chemin("r.bul")));
}
