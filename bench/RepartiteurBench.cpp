// The task distributor on one machine: its cost per task (tasks that do nothing), and twelve
// difficulty evaluations through it against the same evaluations in a plain loop (its overhead on
// real work). Under MPI: bench/batch_mpi.sh.
#include <benchmark/benchmark.h>

#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "moteurs/EvaluationDifficulte.h"
#include "moteurs/Repartiteur.h"

namespace {

constexpr int kNbPositions = 12;

// the opening position, the aim turned by k degrees; a small grid (375 trials)
std::int64_t Evalue(int k) {
    auto simu = std::make_unique<TBillardVelmora>();
    const double r = simu->Fisik.RayonBilles(), w = simu->Fisik.largeurJeu();
    simu->Trajets[1][0].Position = Vecteur(18.25, -w / 2, r);
    simu->Trajets[2][0].Position = Vecteur(0, -w / 2, r);
    simu->Trajets[3][0].Position = Vecteur(0, w / 2, r);
    TQueueDegres queue{0.62f, 1.17f, float(99.14 + k), 430, 3, 520};
    TGrilleDifficulte grille;
    grille.NbEssais = {2, 2, 2, 1, 0, 0};
    TEvaluationDifficulte evaluation(*simu, queue, grille);
    TOptionsDifficulte options;
    options.NbThreads = 1;
    return evaluation.Execute(options).NbReussis;
}

void BM_DifficulteBoucle(benchmark::State& state) {
    for (auto _ : state)
        for (int k = 0; k < kNbPositions; ++k) benchmark::DoNotOptimize(Evalue(k));
    state.SetItemsProcessed(state.iterations() * kNbPositions);
}

void BM_DifficulteRepartie(benchmark::State& state) {
    TRepartiteur repartiteur(
        [](const std::string& tache, std::string& resultat, std::string*) {
            resultat = std::to_string(Evalue(std::stoi(tache)));
            return true;
        },
        int(state.range(0)));
    std::vector<std::string> taches;
    for (int k = 0; k < kNbPositions; ++k) taches.push_back(std::to_string(k));
    std::string erreur;
    for (auto _ : state) {
        std::int64_t total = 0;
        repartiteur.Repartis(
            taches, [&](TResultatTache&& r) { return (total += std::stoll(r.Contenu)) >= 0; }, nullptr,
            &erreur);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kNbPositions);
}

void BM_TachesVides(benchmark::State& state) {
    TRepartiteur repartiteur(
        [](const std::string&, std::string& resultat, std::string*) {
            resultat.assign(1, 'x');  // (GCC 12 warns wrongly about = "x")
            return true;
        },
        int(state.range(0)));
    const std::vector<std::string> taches(1000, "t");
    std::string erreur;
    for (auto _ : state)
        repartiteur.Repartis(
            taches, [](TResultatTache&&) { return true; }, nullptr, &erreur);
    state.SetItemsProcessed(state.iterations() * std::int64_t(taches.size()));
}

}  // namespace

BENCHMARK(BM_DifficulteBoucle)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_DifficulteRepartie)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_TachesVides)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(3);
