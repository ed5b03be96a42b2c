// Shots per second on the bundled examples, and the cost of one pass of the computation loop.
// The simulation is set up as the desktop program runs it: factory parameters with the ball
// radius of the 3D models (single precision).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "sim/C8_BillardVelmora.h"

namespace {

std::unique_ptr<TBillardVelmora> Simulation() {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik.SetParam(2, static_cast<float>(s->Fisik.RayonBilles()));
    return s;
}

std::string Exemple(const char* nom) { return std::string(VELMORA_EXAMPLES_DIR) + "/" + nom; }

// on a shared machine the fastest repetition is the one least disturbed (--benchmark_repetitions=N)
double Minimum(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// a position file played with its cue (Joue), as the fire button does; on a table with the stepped
// cushion model when asked
void BM_CoupModele(benchmark::State& state, const char* nom, TModeleBande modele) {
    auto s = Simulation();
    s->Fisik.ChangeModeleBande(modele);
    TFichierIni ini;
    if (!ini.Charge(Exemple(nom))) {
        state.SkipWithError("exemple illisible");
        return;
    }
    ChargePosition(*s, ini);
    long passes = 0;
    for (auto _ : state) {
        s->Joue();
        passes += s->NbPasses;
        benchmark::DoNotOptimize(s->NbPhotos);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["photos"] = s->NbPhotos;
    state.counters["passes"] = double(s->NbPasses);
    // time of one pass of the loop (step length, nine forecasts, three advances or a collision)
    state.counters["t_passe"] =
        benchmark::Counter(double(passes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_Coup(benchmark::State& state, const char* nom) { BM_CoupModele(state, nom, mbImpulsion); }
void BM_CoupMathavan(benchmark::State& state, const char* nom) { BM_CoupModele(state, nom, mbMathavan); }
BENCHMARK_CAPTURE(BM_Coup, ouverture, "ouverture.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_Coup, trois_bandes, "trois_bandes.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_Coup, une_bande, "une_bande.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_Coup, manque, "manque.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_Coup, saut, "saut.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_Coup, fausse_queue, "fausse_queue.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_CoupMathavan, ouverture, "ouverture.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_CoupMathavan, trois_bandes, "trois_bandes.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);
BENCHMARK_CAPTURE(BM_CoupMathavan, une_bande, "une_bande.vel")
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Minimum);

// a hand launch replayed from photo 0 (CalculTrajets alone)
void BM_Lancer(benchmark::State& state) {
    auto s = Simulation();
    if (!ChargeLancer(*s, Exemple("lancer.vel2"))) {
        state.SkipWithError("exemple illisible");
        return;
    }
    long passes = 0;
    for (auto _ : state) {
        s->CalculTrajets();
        passes += s->NbPasses;
        benchmark::DoNotOptimize(s->NbPhotos);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["photos"] = s->NbPhotos;
    state.counters["t_passe"] =
        benchmark::Counter(double(passes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Lancer)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Minimum);

}  // namespace
