// One fit of a recorded shot: a three-cushion shot of match.fsk seen as a tracker sees it (50 Hz,
// the 2 mm rule, 3 mm of noise, the first sample 0.02 s before the stroke), its cue found again.
#include <benchmark/benchmark.h>

#include <memory>
#include <numbers>

#include "fichiers/FichierFisik.h"
#include "moteurs/AjustementCoup.h"

namespace {

TPARAMPHYS Match() {
    TPARAMPHYS f;
    ChargeFisik(f, std::string(VELMORA_EXAMPLES_DIR) + "/match.fsk");
    return f;
}

TCoupEnregistre Enregistrement(const TPARAMPHYS& fisik) {
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik = fisik;
    s->Fisik.Change(&TConstantesPhys::dtEnr, 0.02);
    const double r = fisik.RayonBilles();
    s->Trajets[1][0].Position = Vecteur(-50, -120, r);
    s->Trajets[2][0].Position = Vecteur(20, 30, r);
    s->Trajets[3][0].Position = Vecteur(40, 100, r);
    s->SetParamQueue({350, 520, 0.8, 0.5, 80 * std::numbers::pi / 180, 0});
    s->Joue();
    return EnregistreStock(*s, {});
}

void BM_AjustementCoup(benchmark::State& state) {
    const TPARAMPHYS fisik = Match();
    const TCoupEnregistre coup = Enregistrement(fisik);
    TOptionsAjustement options;
    options.ScoreToutes = state.range(0) != 0;
    TResultatAjustement r;
    for (auto _ : state) {
        TAjustementCoup ajustement(fisik, coup);
        r = ajustement.Ajuste(options);
        benchmark::DoNotOptimize(r);
    }
    state.counters["coups"] = double(r.NbCoups);
    // processor time per shot computed and scored
    state.counters["us_par_coup"] =
        benchmark::Counter(double(r.NbCoups) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["score_cm"] = options.ScoreToutes ? r.Score.Toutes : r.Score.Bille1;
}
// one thread: on a busy machine the processor time is the figure to read
BENCHMARK(BM_AjustementCoup)->Arg(0)->Arg(1)->ArgName("toutes")->Unit(benchmark::kMillisecond);

}  // namespace
