#include "moteurs/Fidelite.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

// the bins of the tables (degrees)
constexpr double kClassesBande[] = {0, 15, 30, 45, 60, 90};
constexpr double kClassesBille[] = {0, 15, 30, 45, 60, 90};
constexpr int kRangsBande = 5;

double Mediane(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

TStatistiques Statistiques(std::vector<double> v) {
    TStatistiques s;
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    s.Mediane = Mediane(v);
    for (double x : v) s.Moyenne += x;
    s.Moyenne /= double(v.size());
    // the nearest rank
    s.Centile90 = v[std::min(v.size() - 1, std::size_t(std::ceil(0.9 * double(v.size()))) - 1)];
    return s;
}

// a running mean
void Moyenne(double& m, double v, int n) { m += (v - m) / n; }

void AjouteBande(std::vector<TClasseBande>& classes, const TContactCompare& c) {
    const TMesureBande& r = c.BandeReelle;
    const TMesureBande& s = c.BandeCalculee;
    if (!r.Valide || !s.Valide) return;
    for (TClasseBande& k : classes) {
        if (r.AngleEntree < k.Min || r.AngleEntree >= k.Max) continue;
        const int n = ++k.N;
        Moyenne(k.EntreeReelle, r.AngleEntree, n);
        Moyenne(k.SortieReelle, r.AngleSortie, n);
        Moyenne(k.RapportReel, r.RapportVitesse, n);
        Moyenne(k.EntreeCalculee, s.AngleEntree, n);
        Moyenne(k.SortieCalculee, s.AngleSortie, n);
        Moyenne(k.RapportCalcule, s.RapportVitesse, n);
    }
}

void AjouteBille(std::vector<TClasseBille>& classes, const TContactCompare& c) {
    const TMesureBille& r = c.BilleReelle;
    const TMesureBille& s = c.BilleCalculee;
    if (!r.Valide || !s.Valide) return;
    for (TClasseBille& k : classes) {
        if (r.Coupe < k.Min || r.Coupe >= k.Max) continue;
        const int n = ++k.N;
        Moyenne(k.CoupeReelle, r.Coupe, n);
        Moyenne(k.JetReel, r.Jet, n);
        Moyenne(k.RapportReel, r.RapportVitesse, n);
        Moyenne(k.CoupeCalculee, s.Coupe, n);
        Moyenne(k.JetCalcule, s.Jet, n);
        Moyenne(k.RapportCalcule, s.RapportVitesse, n);
    }
}

// the contact tables of every shot
void Contacts(const std::vector<TFideliteCoup>& coups, TRapportFidelite& r) {
    for (std::size_t k = 0; k + 1 < std::size(kClassesBande); ++k)
        r.Bandes.push_back({kClassesBande[k], kClassesBande[k + 1]});
    for (std::size_t k = 0; k + 1 < std::size(kClassesBille); ++k)
        r.Billes.push_back({kClassesBille[k], kClassesBille[k + 1]});
    for (int k = 1; k <= kRangsBande; ++k) r.RangsBandes.push_back({k});
    std::vector<double> temps, positions, reelles, calculees;
    for (const TFideliteCoup& f : coups) {
        for (int b = 1; b <= NbBilles; ++b) {
            r.ContactsEnregistres += int(f.Enregistres[std::size_t(b)].size());
            r.ContactsCalcules += int(f.Calcules[std::size_t(b)].size());
            if (!f.AvecDeceleration[std::size_t(b)]) continue;
            reelles.push_back(f.DecelerationReelle[std::size_t(b)]);
            calculees.push_back(f.DecelerationCalculee[std::size_t(b)]);
        }
        for (const TContactCompare& c : f.Contacts) {
            ++r.ContactsApparies;
            temps.push_back(std::abs(c.EcartTemps()));
            positions.push_back(c.EcartPosition());
            AjouteBande(r.Bandes, c);
            AjouteBille(r.Billes, c);
            if (c.Bille != 1 || c.Rang < 1 || c.Rang > kRangsBande) continue;
            TRangBande& g = r.RangsBandes[std::size_t(c.Rang - 1)];
            const int n = ++g.N;
            // along the rail
            const bool enY = c.Enregistre.Partie == 1 || c.Enregistre.Partie == 3;
            Moyenne(g.EcartPosition,
                    std::abs(enY ? c.Calcule.y - c.Enregistre.y : c.Calcule.x - c.Enregistre.x), n);
            Moyenne(g.EcartTemps, std::abs(c.EcartTemps()), n);
        }
    }
    r.EcartTempsMedian = Mediane(temps);
    r.EcartPositionMedian = Mediane(positions);
    r.NbRoulements = int(reelles.size());
    r.DecelerationReelle = Mediane(reelles);
    r.DecelerationCalculee = Mediane(calculees);
}

}  // namespace

std::vector<TFideliteCoup> CompareCoups(const TPARAMPHYS& fisik, const std::vector<TCoupEnregistre>& coups,
                                        const TOptionsFidelite& options, const std::atomic<bool>* arret) {
    std::vector<TFideliteCoup> resultats(coups.size());
    std::atomic<std::size_t> suivant{0};
    const auto travaille = [&] {
        for (std::size_t k; (k = suivant.fetch_add(1)) < coups.size();) {
            if (arret && arret->load()) break;
            TAjustementCoup a(fisik, coups[k]);
            const TResultatAjustement r = a.Ajuste(options.Ajustement, arret);
            resultats[k] = CompareCoup(a, r);
        }
    };
    int n =
        options.NbThreads > 0 ? options.NbThreads : int(std::max(1u, std::thread::hardware_concurrency()));
    n = std::min<int>(n, int(coups.size()));
    std::vector<std::thread> fils;
    for (int i = 1; i < n; ++i) fils.emplace_back(travaille);
    travaille();
    for (std::thread& f : fils) f.join();
    return resultats;
}

TRapportFidelite ResumeFidelite(const std::vector<TFideliteCoup>& coups, const TOptionsFidelite& options) {
    TRapportFidelite r;
    r.NbCoups = int(coups.size());
    r.Toutes = options.Ajustement.ScoreToutes;
    std::vector<double> bille1, toutes, secondes;
    for (const TFideliteCoup& f : coups) {
        bille1.push_back(f.Ajustement.Score.Bille1);
        toutes.push_back(f.Ajustement.Score.Toutes);
        secondes.push_back(f.Ajustement.Secondes);
        r.RoutesReproduites += f.RouteReproduite;
        r.SequencesReproduites += f.SequenceReproduite;
    }
    r.Bille1 = Statistiques(bille1);
    r.TroisBilles = Statistiques(toutes);
    r.SecondesMediane = Mediane(secondes);
    Contacts(coups, r);

    // the worst shots by the distance the fit minimised, where each parts from its recording
    std::vector<int> ordre(coups.size());
    for (std::size_t k = 0; k < ordre.size(); ++k) ordre[k] = int(k);
    const auto score = [&](int k) {
        const TScoreCoup& s = coups[std::size_t(k)].Ajustement.Score;
        return r.Toutes ? s.Toutes : s.Bille1;
    };
    std::stable_sort(ordre.begin(), ordre.end(), [&](int a, int b) { return score(a) > score(b); });
    for (int k = 0; k < options.NbPires && k < int(ordre.size()); ++k)
        r.Pires.push_back({ordre[std::size_t(k)], score(ordre[std::size_t(k)]),
                           coups[std::size_t(ordre[std::size_t(k)])].Separation});
    return r;
}
