// The difficulty evaluation's default grid (6655 trials) on the opening position, on 1 and 2
// threads, and one trial alone for the per-shot cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numbers>
#include <vector>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/EvaluationDifficulte.h"

namespace {

struct TPosition {
    std::unique_ptr<TBillardVelmora> simu = std::make_unique<TBillardVelmora>();
    TQueueDegres queue;
};

// the opening position: the example file when it is there, else the same position built here
TPosition Ouverture() {
    TPosition p;
    TBillardVelmora& s = *p.simu;
    const std::string nom = std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel";
    TFichierIni ini;
    if (std::filesystem::exists(nom) && ini.Charge(nom)) {
        ChargePosition(s, ini);
    } else {
        const double r = s.Fisik.RayonBilles(), w = s.Fisik.largeurJeu();
        s.Trajets[1][0].Position = Vecteur(18.25, -w / 2, r);
        s.Trajets[2][0].Position = Vecteur(0, -w / 2, r);
        s.Trajets[3][0].Position = Vecteur(0, w / 2, r);
        s.SetParamQueue({430, 520, 0.62, 1.17, 99.14 * std::numbers::pi / 180, 3 * std::numbers::pi / 180});
    }
    constexpr double deg = 180 / std::numbers::pi;
    p.queue = {float(s.Effet),        float(s.Hauteur),          float(s.AngleOx * deg),
               float(s.VitesseQueue), float(s.AngleTapis * deg), float(s.MasseQueue)};
    return p;
}

void BM_DifficulteGrilleParDefaut(benchmark::State& state) {
    const TPosition p = Ouverture();
    TEvaluationDifficulte evaluation(*p.simu, p.queue, TGrilleDifficulte{});
    TOptionsDifficulte options;
    options.NbThreads = static_cast<int>(state.range(0));
    std::int64_t reussis = 0;
    for (auto _ : state) {
        const TResultatDifficulte r = evaluation.Execute(options);
        reussis = r.NbReussis;
        benchmark::DoNotOptimize(reussis);
    }
    state.counters["essais"] = double(TGrilleDifficulte{}.NbTotal());
    state.counters["reussis"] = double(reussis);
}
// on a busy machine the fastest run is the one that had its cores to itself
double Minimum(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_DifficulteGrilleParDefaut)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", Minimum);

// the average trial of the grid, one thread, one simulation object: the physics' share
void BM_DifficulteEssaiMoyen(benchmark::State& state) {
    const TPosition p = Ouverture();
    const TGrilleDifficulte grille;
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik = p.simu->Fisik;
    std::int64_t c = 0;
    for (auto _ : state) {
        TParamQueue q;
        ParamCellule(p.queue, grille, DecalagesCellule(grille, c), q);
        for (int b = 1; b <= NbBilles; ++b)
            simu->Trajets[b][0] = {p.simu->Trajets[b][0].Position, VecteurNul, VecteurNul};
        simu->SetParamQueue(q);
        simu->Joue();
        benchmark::DoNotOptimize(simu->PointReussi);
        c = (c + 1) % grille.NbTotal();
    }
}
BENCHMARK(BM_DifficulteEssaiMoyen)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(6655)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", Minimum);

}  // namespace
