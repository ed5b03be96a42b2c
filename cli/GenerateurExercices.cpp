// Drawing, solving and choosing the drills of a starter pack.
#include "cli/GenerateurExercices.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "moteurs/SolveurCoups.h"

namespace {

// SplitMix64: the same numbers on every machine and library (the standard distributions are not)
class THasard {
public:
    explicit THasard(std::uint64_t graine) : etat_(graine) {}
    std::uint64_t Suivant() {
        std::uint64_t z = (etat_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // uniform in [a, b)
    float Entre(float a, float b) { return a + (b - a) * float(double(Suivant() >> 11) * 0x1.0p-53); }

private:
    std::uint64_t etat_;
};

// three balls anywhere on the cloth, at least two diameters apart (no frozen ball)
std::array<TCentreBille, 3> TireBilles(THasard& h) {
    const TTableJeu t;
    std::array<TCentreBille, 3> b{};
    for (int i = 0; i < 3; ++i) {
        for (;;) {
            b[size_t(i)] = {h.Entre(t.XMin, t.XMax), h.Entre(t.YMin, t.YMax), t.Rayon};
            bool libre = true;
            for (int j = 0; j < i; ++j)
                libre = libre && std::hypot(b[size_t(i)].x - b[size_t(j)].x,
                                            b[size_t(i)].y - b[size_t(j)].y) >= 2 * t.DiamBille;
            if (libre) break;
        }
    }
    return b;
}

// the cue of a drill's file: the opening stroke, aimed at the red
TQueueDegres QueueDeDepart(const std::array<TCentreBille, 3>& b) {
    TQueueDegres q = QueueDepart();
    q.Visee = float(std::atan2(b[2].y - b[0].y, b[2].x - b[0].x) * 180 / 3.14159265358979323846);
    return q;
}

struct TCandidat {
    TExercice exercice;
    double taux = 0;
};

// the search on its own thread, stopped as soon as arret rises
TResultatSolveur Cherche(TSolveurCoups& solveur, const std::atomic<bool>* arret) {
    if (!arret) return solveur.Execute();
    solveur.Demarre();
    while (!solveur.Termine()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (arret->load()) solveur.Arrete();
    }
    return solveur.Attends();
}

bool Resout(const TBillardVelmora& table, const TOptionsGeneration& o,
            const std::array<TCentreBille, 3>& billes, const std::atomic<bool>* arret, TCandidat& c) {
    TBillardVelmora simu;
    simu.Fisik = table.Fisik;
    const std::array<TVecteur, 3> positions = PositionsSimu(billes);
    for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = positions[size_t(b - 1)];
    TOptionsSolveur os;
    os.Mode = o.Mode;
    os.NbRoutes = 1;
    os.Budget = o.Budget;
    os.NbThreads = o.NbThreads;
    TSolveurCoups solveur(simu, os);
    const TResultatSolveur r = Cherche(solveur, arret);
    if (r.Interrompu || r.Routes.empty() || !r.Routes[0].Mesuree()) return false;
    const TRouteSolveur& route = r.Routes[0];
    c.taux = route.TauxReussite();
    c.exercice.Mode = o.Mode;
    c.exercice.Position.Billes = billes;
    c.exercice.Position.Queue = QueueDeDepart(billes);
    c.exercice.Meilleure = TMeilleureRoutePack{c.taux, route.Libelle, route.Queue};
    return true;
}

std::string Niveau(size_t i, size_t n) {
    return 3 * i < n ? "facile" : 3 * i < 2 * n ? "moyen" : "difficile";
}

}  // namespace

bool GenereExercices(const TBillardVelmora& table, const TOptionsGeneration& o, TPackEntrainement& pack,
                     const std::function<void(int, int)>& avance, const std::atomic<bool>* arret,
                     std::string* erreur) {
    const int nbCandidats = o.Candidats > 0 ? o.Candidats : 3 * o.Nombre;
    THasard hasard(o.Graine);
    std::vector<TCandidat> trouves;
    for (int i = 0; i < nbCandidats; ++i) {
        const auto billes = TireBilles(hasard);
        TCandidat c;
        if (Resout(table, o, billes, arret, c)) trouves.push_back(std::move(c));
        if (arret && arret->load()) {
            if (erreur) *erreur = "fabrication interrompue, aucun fichier écrit";
            return false;
        }
        if (avance) avance(i + 1, nbCandidats);
    }
    if (int(trouves.size()) < o.Nombre) {
        if (erreur)
            *erreur = std::to_string(trouves.size()) + " positions sur " + std::to_string(nbCandidats) +
                      " ont une route, il en faut " + std::to_string(o.Nombre) + " (augmenter --candidates)";
        return false;
    }
    // easiest first; ties in the order drawn
    std::stable_sort(trouves.begin(), trouves.end(),
                     [](const TCandidat& a, const TCandidat& b) { return a.taux > b.taux; });
    // evenly spread over the ranks: the easiest, the hardest and the range between
    pack.Exercices.clear();
    const size_t m = trouves.size(), n = size_t(o.Nombre);
    for (size_t i = 0; i < n; ++i) {
        const size_t k = n == 1 ? 0 : (i * (m - 1) + (n - 1) / 2) / (n - 1);
        TExercice e = trouves[k].exercice;
        char nom[32];
        std::snprintf(nom, sizeof nom, "ex%02zu.vel", i + 1);
        e.FichierPosition = nom;
        e.Numero = int(i + 1);
        e.Titre = "Exercice " + std::to_string(i + 1) + " (" + Niveau(i, n) + ")";
        pack.Exercices.push_back(std::move(e));
    }
    return true;
}
