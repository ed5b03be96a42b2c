// One fit of a recorded shot: a three-cushion shot of match.fsk seen as a tracker sees it (50 Hz,
// the 2 mm rule, 3 mm of noise, the first sample 0.02 s before the stroke), its cue found again.
// With VELMORA_BANC_ENREGISTREMENTS naming recordings (files, or folders of .csv files), one fit
// of each of them too, on the table of VELMORA_BANC_FSK (calibre.fsk by default), ball 1 scored
// unless VELMORA_BANC_SCORE=all: the real shots' fit times, one figure per shot.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

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

// the recordings named by the environment, folders expanded, in name order
std::vector<std::string> EnregistrementsNommes() {
    std::vector<std::string> noms;
    const char* liste = std::getenv("VELMORA_BANC_ENREGISTREMENTS");
    if (!liste) return noms;
    std::stringstream flux(liste);
    std::string nom;
    while (std::getline(flux, nom, ':')) {
        std::error_code e;
        if (std::filesystem::is_directory(nom, e)) {
            std::vector<std::string> dossier;
            for (const auto& f : std::filesystem::directory_iterator(nom, e))
                if (f.path().extension() == ".csv") dossier.push_back(f.path().string());
            std::sort(dossier.begin(), dossier.end());
            noms.insert(noms.end(), dossier.begin(), dossier.end());
        } else if (!nom.empty()) {
            noms.push_back(nom);
        }
    }
    return noms;
}

void BM_AjustementEnregistre(benchmark::State& state, const std::string& nom) {
    TPARAMPHYS fisik;
    const char* fsk = std::getenv("VELMORA_BANC_FSK");
    std::string erreur;
    TCoupEnregistre coup;
    if (!ChargeFisik(fisik, fsk ? fsk : std::string(VELMORA_EXAMPLES_DIR) + "/calibre.fsk", &erreur) ||
        !LitCoupEnregistre(nom, coup, &erreur)) {
        state.SkipWithError(erreur.c_str());
        return;
    }
    TOptionsAjustement options;
    const char* score = std::getenv("VELMORA_BANC_SCORE");
    options.ScoreToutes = score && std::string(score) == "all";
    TResultatAjustement r;
    for (auto _ : state) {
        TAjustementCoup ajustement(fisik, coup);
        r = ajustement.Ajuste(options);
        benchmark::DoNotOptimize(r);
    }
    state.counters["coups"] = double(r.NbCoups);
    state.counters["score_cm"] = options.ScoreToutes ? r.Score.Toutes : r.Score.Bille1;
    state.counters["contacts_manques"] = r.ContactsManques;
}

const bool enregistres = [] {
    for (const std::string& nom : EnregistrementsNommes())
        benchmark::RegisterBenchmark(
            ("BM_AjustementEnregistre/" + std::filesystem::path(nom).stem().string()).c_str(),
            BM_AjustementEnregistre, nom)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    return true;
}();

}  // namespace
