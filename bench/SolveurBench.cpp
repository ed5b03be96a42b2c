// The shot solver on the opening position: candidates judged per second (early verdicts) on 1 and
// 2 threads, against the same candidates computed whole; and the default solve from end to end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/SolveurCoups.h"

namespace {

std::unique_ptr<TBillardVelmora> Ouverture() {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik.SetParam(2, 3.075f);
    TFichierIni ini;
    if (ini.Charge(std::string(VELMORA_EXAMPLES_DIR) + "/ouverture.vel")) ChargePosition(*s, ini);
    return s;
}

// candidates of the solver's coarse pass, spread over the whole circle of aim
std::vector<TParamQueue> Candidats(int n) {
    std::vector<TParamQueue> c;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < n; ++i) {
        TParamQueue p;
        p.AngleOx = 2 * pi * ((i * 7919) % n) / n;
        p.VitesseQueue = 110 + 100 * (i % 6);
        p.Effet = -1.48 + 0.74 * (i / 6 % 5);
        p.Hauteur = -0.93 + 0.93 * (i / 30 % 3);
        p.AngleTapis = (1.25 + 2.5 * (i / 90 % 2)) * pi / 180;
        c.push_back(p);
    }
    return c;
}

// the candidates shared out between the threads, each with its own simulation object
template <bool Anticipe>
void BM_Candidats(benchmark::State& state) {
    const auto source = Ouverture();
    const std::vector<TParamQueue> candidats = Candidats(20'000);
    const int nbThreads = int(state.range(0));
    std::vector<std::unique_ptr<TBillardVelmora>> simus;
    for (int t = 0; t < nbThreads; ++t) {
        simus.push_back(std::make_unique<TBillardVelmora>());
        simus.back()->Fisik = source->Fisik;
    }
    std::int64_t reussis = 0;
    for (auto _ : state) {
        std::atomic<std::int64_t> prochain{0}, points{0};
        const auto travaille = [&](TBillardVelmora& s) {
            for (std::int64_t i; (i = prochain.fetch_add(64)) < std::int64_t(candidats.size());)
                for (std::int64_t j = i; j < std::min<std::int64_t>(i + 64, candidats.size()); ++j) {
                    for (int b = 1; b <= NbBilles; ++b)
                        s.Trajets[b][0] = {source->Trajets[b][0].Position, {}, {}};
                    s.SetParamQueue(candidats[size_t(j)]);
                    bool point;
                    if constexpr (Anticipe) {
                        point = JugeCoup(s).Reussi;
                    } else {
                        s.Joue();
                        point = s.PointReussi;
                    }
                    points += point;
                }
        };
        std::vector<std::thread> aides;
        for (int t = 1; t < nbThreads; ++t) aides.emplace_back(travaille, std::ref(*simus[size_t(t)]));
        travaille(*simus[0]);
        for (auto& t : aides) t.join();
        reussis = points.load();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(candidats.size()));
    state.counters["reussis"] = double(reussis);
}
// the CPU column counts every thread: on a shared machine, candidates per CPU second are the steady figure
BENCHMARK(BM_Candidats<true>)
    ->Name("BM_CandidatsVerdictAnticipe")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Candidats<false>)
    ->Name("BM_CandidatsCoupsEntiers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// the default solve of the opening position, from end to end
void BM_SolveOuverture(benchmark::State& state) {
    const auto source = Ouverture();
    TOptionsSolveur options;
    options.NbThreads = int(state.range(0));
    TResultatSolveur r;
    for (auto _ : state) {
        TSolveurCoups solveur(*source, options);
        r = solveur.Execute();
        benchmark::DoNotOptimize(r.NbCoups);
    }
    state.counters["coups"] = double(r.NbCoups);
    state.counters["routes"] = double(r.Routes.size());
    state.counters["coups_par_s"] =
        benchmark::Counter(double(r.NbCoups) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolveOuverture)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(1);

}  // namespace
