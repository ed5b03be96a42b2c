// One frame of the full table scene at 1280 x 800 with 4x multisampling: table, three balls,
// the cue, and three trajectory lines of 1200 nodes each, as after a long shot. Run it on a
// display, or without one: tests/scene/gl/sous_xvfb.sh build/bench/rendu/velmora_bench_rendu
// On a busy machine the wall time says little: ms_cpu/image counts the work of every thread (with
// LP_NUM_THREADS=0 software OpenGL does it all on one thread), ms_fil/image the calling thread's
// share; on n idle cores a frame takes about ms_fil + (ms_cpu - ms_fil) / n.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <QGuiApplication>
#include <cmath>

#include "scene/gl/RenduImage.h"
#include "view3d/GLBillardVelmora.h"

namespace {

// processor time of the whole process (every rendering thread), in seconds
double TempsProcesseur() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           1e-6 * double(r.ru_utime.tv_usec + r.ru_stime.tv_usec);
}

// processor time of this thread alone: the driver's own threads shade and fill in parallel with
// the next frame's setup, this one prepares the frames
double TempsFil() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// a long wandering path over the cloth, 1200 segments
void TrajetLong(TLignes& l, float phase) {
    l.DebutMaj();
    l.EffaceNoeuds();
    for (int i = 0; i <= 1200; ++i) {
        const float t = float(i) / 1200;
        l.AjouteNoeud({65 * std::sin(17 * t + phase), 135 * std::sin(7 * t + 2 * phase), 3.075f});
    }
    l.SetVisible(true);
    l.FinMaj();
}

void Image(benchmark::State& state, bool mobile) {
    TScene scene;
    TVue vue(scene), vueQueue(scene);
    TGLBillardVelmora billard(scene, vue, vueQueue);
    billard.PositionDepart(true);
    billard.ActiveCamMobile(mobile);
    float phase = 0;
    for (TGLBilles* b : {billard.Blanche, billard.Jaune, billard.Rouge}) TrajetLong(*b->Trajet, phase += 1);
    TRenduImage rendu(int(state.range(0)));
    if (!rendu.Valide()) {
        state.SkipWithError(rendu.Erreur.toStdString().c_str());
        return;
    }
    state.SetLabel(rendu.Moteur().toStdString());
    // the first frame builds the shapes
    rendu.Dessine(vue, 1280, 800);
    const double cpu0 = TempsProcesseur(), fil0 = TempsFil();
    for (auto _ : state) {
        // a ball moves every frame, as in an animation
        billard.Rouge->PlaceSilencieux(billard.Rouge->LitPosition() + TVecteur3f{0, 0.01f, 0});
        rendu.Dessine(vue, 1280, 800);
    }
    state.counters["images/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    // all threads' processor time per frame: what a busy machine cannot hide
    state.counters["ms_cpu/image"] = 1000 * (TempsProcesseur() - cpu0) / double(state.iterations());
    state.counters["ms_fil/image"] = 1000 * (TempsFil() - fil0) / double(state.iterations());
}

void BM_ImageTableCameraMobile(benchmark::State& state) { Image(state, true); }
void BM_ImageTableCameraPlafond(benchmark::State& state) { Image(state, false); }
// argument: samples per pixel (4 as shown; 0 to see what multisampling costs)
BENCHMARK(BM_ImageTableCameraMobile)->Arg(4)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImageTableCameraPlafond)->Arg(4)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
