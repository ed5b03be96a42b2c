// Training: the analysis of one attempt of the starter pack (robustness on the default grid and
// the best route from the cache) on 1 and 2 threads, and the progress figures read from a
// generated history of 100,000 attempts.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "historique/StatistiquesHistorique.h"
#include "jeu/PackEntrainement.h"

namespace {

namespace fs = std::filesystem;

const TPackEntrainement& Pack() {
    static const TPackEntrainement pack = [] {
        TPackEntrainement p;
        ChargePack(std::string(VELMORA_EXAMPLES_DIR) + "/entrainement/entrainement.ven", p);
        return p;
    }();
    return pack;
}

// drill i of the pack on the factory table, with the pack's best route in the cache as the window puts it
void BM_AnalyseTentativePack(benchmark::State& state) {
    const auto& exercices = Pack().Exercices;
    if (exercices.empty()) {
        state.SkipWithError("entraînement de départ introuvable");
        return;
    }
    TOptionsAnalyse o;
    o.NbThreads = int(state.range(0));
    std::size_t i = 0;
    double robustesse = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const TExercice& e = exercices[i++ % exercices.size()];
        TBillardVelmora simu;
        simu.Fisik.SetParam(2, RayonBilleJeu);
        const auto positions = PositionsSimu(e.Position.Billes);
        for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = positions[size_t(b - 1)];
        auto cache = std::make_shared<TCacheRoutesMemoire>();
        const TMeilleureRoutePack& m = *e.Meilleure;
        cache->Range(EmpreinteRoute(simu, e.Mode, e.Position.Queue.Masse, e.NomBille2()),
                     TMeilleureRoute{m.Libelle, m.Queue, 1000, std::int64_t(m.Taux * 1000)});
        // the player's stroke: the best route's setting, a little off
        TQueueDegres q = m.Queue;
        q.Visee += 0.3f;
        state.ResumeTiming();
        TAnalyseTentative analyse(simu, q, o, cache);
        const TResultatAnalyse r = analyse.Execute();
        if (!r.RouteDuCache) state.SkipWithError("route absente du cache");
        robustesse = r.Robustesse();
        benchmark::DoNotOptimize(robustesse);
    }
}
BENCHMARK(BM_AnalyseTentativePack)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// a history of n attempts of 3 players on 30 drills over a year, with 200 matches
std::string BaseGeneree(int n) {
    const std::string nom =
        (fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()) + ".sqlite")).string();
    fs::remove(nom);
    TBaseHistorique base;
    base.Ouvre(nom);
    sqlite3* b = base.Connexion();
    sqlite3_exec(b, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(b,
                 "INSERT INTO joueurs (nom) VALUES ('Anne'), ('Bruno'), ('Claire');"
                 "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 30) "
                 "INSERT INTO exercices (empreinte, titre, mode) SELECT printf('%016x', i), 'Exercice ' || "
                 "i, 2 FROM k;",
                 nullptr, nullptr, nullptr);
    const std::string tentatives =
        "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < " + std::to_string(n) +
        ") INSERT INTO tentatives (joueur_id, exercice_id, quand, mode, effet, hauteur, visee, vitesse, "
        "inclinaison, "
        "masse, billes, reussi, fausse_queue, robustesse, essais, meilleur_taux) SELECT 1 + i % 3, 1 + i % "
        "30, "
        "1700000000 + i * 315, 2, 0.5, 1, 90, 400, 3, 520, '0 0 3 1 1 3 2 2 3', (i * 7919) % 3 = 0, 0, "
        "((i * 104729) % 1000) / 1000.0, 6655, 0.3 FROM k;";
    sqlite3_exec(b, tentatives.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(b,
                 "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 200) "
                 "INSERT INTO parties (joueur_a, joueur_b, mode, distance, limite_reprises, egalisation, "
                 "depart, debut, "
                 "etat, points_a, reprises_a, points_b, reprises_b) SELECT 1, 2 + i % 2, 2, 15, 0, 1, "
                 "'0 0 3 1 1 3 2 2 3', 1700000000 + i * 150000, 1, 15, 20 + i % 10, 10, 20 + i % 10 FROM k;"
                 "COMMIT",
                 nullptr, nullptr, nullptr);
    return nom;
}

// what "Progrès" reads when it opens: the database opened and checked, then every figure
void BM_OuvertureProgres(benchmark::State& state) {
    const std::string nom = BaseGeneree(int(state.range(0)));
    std::int64_t n = 0;
    for (auto _ : state) {
        TBaseHistorique base;
        base.Ouvre(nom);
        TStatistiques s;
        LitStatistiques(base, "Anne", s);
        n = s.Total.Tentatives;
        benchmark::DoNotOptimize(n);
    }
    state.counters["tentatives_du_joueur"] = double(n);
    fs::remove(nom);
    fs::remove(nom + "-wal");
    fs::remove(nom + "-shm");
}
BENCHMARK(BM_OuvertureProgres)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
