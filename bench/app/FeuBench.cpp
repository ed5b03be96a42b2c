// Fire with the opening position as auto-fire does after each cue change: the shot computed,
// the three trajectory lines rebuilt and the results shown; then the same with the table drawn
// at 1280 x 800. Both must stay under 16 ms for auto-fire to keep up with a dragged dial.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/Demarrage.h"
#include "scene/gl/RenduImage.h"
#include "view3d/GLBillardVelmora.h"

namespace {

// the six windows, shown as far as the program knows, with throw-away settings
struct TProgramme {
    QTemporaryDir dossier;
    std::unique_ptr<TMainVel3DFrm> principale;

    TProgramme() {
        TDemarrageVel3D d;
        d.DossierProgramme = dossier.path();
        d.Reglages = {dossier.filePath(QStringLiteral("Velmora3D.ini")),
                      dossier.filePath(QStringLiteral("Velmora3D.ini"))};
        d.Historique = dossier.filePath(QStringLiteral("historique.sqlite"));
        principale = CreeFenetres(d);
        principale->setAttribute(Qt::WA_DontShowOnScreen);
        principale->show();
        QApplication::processEvents();
    }
};

void BM_FeuCoupOuverture(benchmark::State& state) {
    TProgramme p;
    TMainVel3DFrm& f = *p.principale;
    for (auto _ : state) f.FeuBtnClick();
    state.counters["photos"] = f.Billard->Simu->NbPhotos;
}
BENCHMARK(BM_FeuCoupOuverture)->Unit(benchmark::kMillisecond);

void BM_FeuEtImageCoupOuverture(benchmark::State& state) {
    TProgramme p;
    TMainVel3DFrm& f = *p.principale;
    TRenduImage rendu(static_cast<int>(state.range(0)));
    if (!rendu.Valide()) {
        state.SkipWithError(("no OpenGL: " + rendu.Erreur).toStdString().c_str());
        return;
    }
    state.SetLabel(rendu.Moteur().toStdString());
    rendu.Dessine(f.VueTable, 1280, 800);
    for (auto _ : state) {
        f.FeuBtnClick();
        rendu.Dessine(f.VueTable, 1280, 800);
    }
}
// argument: samples per pixel (4 as the viewers draw by default, 0 without multisampling)
BENCHMARK(BM_FeuEtImageCoupOuverture)->Arg(4)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
