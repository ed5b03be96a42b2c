#include "moteurs/SolveurCoups.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <limits>
#include <map>
#include <system_error>

#include "fichiers/NombresIni.h"
#include "moteurs/DemarrageFond.h"

namespace {

constexpr int NbThreadsMax = 64;
// candidates handed to a worker at a time: small enough to share evenly and to stop quickly
constexpr std::int64_t TailleBloc = 256;
// codes of candidates that were not played (below the speed floor, beyond the miscue limit) or
// not judged (the search stopped first)
constexpr std::uint64_t kNonJoue = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kNonJuge = kNonJoue - 1;

bool Touche(std::uint64_t code) { return code != 0 && code < kNonJuge; }

std::int64_t MaintenantNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A regular grid of up to five dimensions (aim, speed, side, height, inclination; aim outermost),
// the aim optionally wrapping round the circle.
struct TGrilleN {
    std::array<int, 5> Dims{1, 1, 1, 1, 1};
    bool BoucleVisee = false;

    std::int64_t Taille() const {
        std::int64_t n = 1;
        for (int d : Dims) n *= d;
        return n;
    }
    std::array<int, 5> Coords(std::int64_t i) const {
        std::array<int, 5> c{};
        for (int d = 4; d >= 0; --d) {
            c[d] = int(i % Dims[d]);
            i /= Dims[d];
        }
        return c;
    }
    std::int64_t Index(const std::array<int, 5>& c) const {
        std::int64_t i = 0;
        for (int d = 0; d < 5; ++d) i = i * Dims[d] + c[d];
        return i;
    }
    // the neighbour one step along dimension d (sens ±1), or −1 off the grid
    std::int64_t Voisin(const std::array<int, 5>& c, int d, int sens) const {
        std::array<int, 5> v = c;
        v[d] += sens;
        if (v[d] < 0 || v[d] >= Dims[d]) {
            if (d != 0 || !BoucleVisee || Dims[0] < 3) return -1;
            v[d] = (v[d] + Dims[d]) % Dims[d];
        }
        return Index(v);
    }
};

struct TRegion {
    std::uint64_t Code = 0;
    std::vector<std::int64_t> Cellules;  // in index order of discovery
};

// the largest connected region of each route (same code, neighbours along one dimension);
// ties keep the region met first in index order
std::map<std::uint64_t, TRegion> PlusGrandesRegions(const TGrilleN& g,
                                                    const std::vector<std::uint64_t>& codes) {
    std::map<std::uint64_t, TRegion> meilleures;
    std::vector<char> vu(codes.size(), 0);
    std::vector<std::int64_t> pile;
    for (std::int64_t i = 0; i < std::int64_t(codes.size()); ++i) {
        if (vu[i] || !Touche(codes[i])) continue;
        TRegion r;
        r.Code = codes[i];
        vu[i] = 1;
        pile.assign(1, i);
        while (!pile.empty()) {
            const std::int64_t c = pile.back();
            pile.pop_back();
            r.Cellules.push_back(c);
            const auto k = g.Coords(c);
            for (int d = 0; d < 5; ++d)
                for (int s : {-1, 1}) {
                    const std::int64_t v = g.Voisin(k, d, s);
                    if (v < 0 || vu[v] || codes[v] != r.Code) continue;
                    vu[v] = 1;
                    pile.push_back(v);
                }
        }
        TRegion& m = meilleures[r.Code];
        if (r.Cellules.size() > m.Cellules.size()) m = std::move(r);
    }
    return meilleures;
}

// The region's centre: the cell farthest (in steps) from its edge; among those the slowest, then
// the one nearest their mean, then the first in index order.
std::int64_t Centre(const TGrilleN& g, const TRegion& r) {
    std::map<std::int64_t, int> profondeur;
    for (std::int64_t c : r.Cellules) profondeur[c] = 0;
    // the edge: cells with a neighbour outside the region (or off the grid)
    std::deque<std::int64_t> file;
    for (std::int64_t c : r.Cellules) {
        const auto k = g.Coords(c);
        bool bord = false;
        for (int d = 0; d < 5 && !bord; ++d) {
            if (g.Dims[d] == 1) continue;
            for (int s : {-1, 1}) {
                const std::int64_t v = g.Voisin(k, d, s);
                if (v < 0 || !profondeur.count(v)) bord = true;
            }
        }
        if (bord) {
            profondeur[c] = 1;
            file.push_back(c);
        }
    }
    // inwards from the edge
    while (!file.empty()) {
        const std::int64_t c = file.front();
        file.pop_front();
        const auto k = g.Coords(c);
        for (int d = 0; d < 5; ++d)
            for (int s : {-1, 1}) {
                const std::int64_t v = g.Voisin(k, d, s);
                if (v < 0) continue;
                auto it = profondeur.find(v);
                if (it == profondeur.end() || it->second != 0) continue;
                it->second = profondeur[c] + 1;
                file.push_back(v);
            }
    }
    int pMax = 0;
    for (const auto& [c, p] : profondeur) pMax = std::max(pMax, p);
    std::vector<std::int64_t> candidats;
    for (const auto& [c, p] : profondeur)
        if (p == pMax) candidats.push_back(c);
    // the mean of the deepest cells, the aim taken relative to the first one (it may wrap)
    const auto k0 = g.Coords(candidats.front());
    const auto relatif = [&](std::int64_t c) {
        auto k = g.Coords(c);
        std::array<double, 5> x{};
        for (int d = 0; d < 5; ++d) x[d] = k[d];
        if (g.BoucleVisee) {
            int da = k[0] - k0[0];
            if (da > g.Dims[0] / 2) da -= g.Dims[0];
            if (da < -g.Dims[0] / 2) da += g.Dims[0];
            x[0] = k0[0] + da;
        }
        return x;
    };
    std::array<double, 5> moyenne{};
    for (std::int64_t c : candidats) {
        const auto x = relatif(c);
        for (int d = 0; d < 5; ++d) moyenne[d] += x[d] / double(candidats.size());
    }
    std::int64_t choisi = candidats.front();
    double meilleur = std::numeric_limits<double>::max();
    int vitesseMin = std::numeric_limits<int>::max();
    for (std::int64_t c : candidats) {
        const auto x = relatif(c);
        const int v = g.Coords(c)[1];
        double d2 = 0;
        for (int d = 0; d < 5; ++d) d2 += (x[d] - moyenne[d]) * (x[d] - moyenne[d]);
        if (v < vitesseMin || (v == vitesseMin && d2 < meilleur)) {
            vitesseMin = v;
            meilleur = d2;
            choisi = c;
        }
    }
    return choisi;
}

// the coarse pass's axes: values of each dimension
struct TAxes {
    std::vector<float> Visee, Vitesse, Effet, Hauteur, Inclinaison;
    TGrilleN Grille() const {
        TGrilleN g;
        g.Dims = {int(Visee.size()), int(Vitesse.size()), int(Effet.size()), int(Hauteur.size()),
                  int(Inclinaison.size())};
        return g;
    }
    TQueueDegres Queue(const std::array<int, 5>& k, float masse) const {
        TQueueDegres q;
        q.Visee = Visee[k[0]];
        q.Vitesse = Vitesse[k[1]];
        q.Effet = Effet[k[2]];
        q.Hauteur = Hauteur[k[3]];
        q.Inclinaison = Inclinaison[k[4]];
        q.Masse = masse;
        return q;
    }
};

// n values spread evenly: centred cells of [a, b]
std::vector<float> Milieux(double a, double b, int n) {
    std::vector<float> v;
    v.reserve(std::size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) v.push_back(float(a + (i + 0.5) * (b - a) / n));
    return v;
}

// n values from −r to r (0 alone when n is 1)
std::vector<float> Symetriques(double r, int n) {
    std::vector<float> v;
    v.reserve(std::size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) v.push_back(n == 1 ? 0.0f : float(-r + 2 * r * i / (n - 1)));
    return v;
}

}  // namespace

std::string TSolveurCoups::Libelle(const TSequenceContacts& s, const std::string& nomBille2) {
    std::string texte;
    for (int i = 0; i < s.Nb; ++i) {
        if (i > 0) texte += " · ";
        const int c = s.Contacts[i];
        if (c == 12)
            texte += nomBille2;
        else if (c == 13)
            texte += "Rouge";
        else
            texte += (c == 1 || c == 3) ? "longue" : "courte";
    }
    if (s.Tronquee) texte += " · …";
    return texte;
}

TSolveurCoups::TSolveurCoups(const TBillardVelmora& source, const TOptionsSolveur& options)
    : fisik_(source.Fisik), options_(options) {
    for (int b = 1; b <= NbBilles; ++b) positions_[b] = source.Trajets[b][0].Position;
    options_.NbRoutes = std::clamp(options_.NbRoutes, 1, 100);
    options_.Budget = std::clamp<std::int64_t>(options_.Budget, 1000, 100'000'000);
    options_.Grille = options_.Grille.Bornee();
}

TSolveurCoups::~TSolveurCoups() {
    Arrete();
    if (fond_.joinable()) fond_.join();
}

bool TSolveurCoups::Demarre() {
    if (enCours_.exchange(true)) return false;
    if (fond_.joinable()) fond_.join();
    arret_ = false;
    termine_ = false;
    DemarreEnFond(fond_, [this] {
        resultat_ = Calcule();
        termine_ = true;
    });
    return true;
}

TResultatSolveur TSolveurCoups::Attends() {
    if (fond_.joinable()) fond_.join();
    return resultat_;
}

TResultatSolveur TSolveurCoups::Execute() {
    if (enCours_.exchange(true)) {
        TResultatSolveur r;
        r.Raison = "recherche déjà en cours";
        return r;
    }
    arret_ = false;
    termine_ = false;
    resultat_ = Calcule();
    termine_ = true;
    return resultat_;
}

TProgressionSolveur TSolveurCoups::Progression() const {
    TProgressionSolveur p;
    p.Faits = faits_.load();
    p.Prevus = prevus_.load();
    p.Phase = phase_.load();
    p.NbRoutesTrouvees = nbRoutes_.load();
    p.NbReussis = reussis_.load();
    p.EnCours = enCours_.load();
    const std::int64_t debut = debutNs_.load();
    p.Secondes = debut > 0 ? double(MaintenantNs() - debut) * 1e-9 : 0.0;
    return p;
}

void TSolveurCoups::JugeTous(std::int64_t n, const std::function<bool(std::int64_t, TParamQueue&)>& candidat,
                             std::vector<std::uint64_t>& codes) {
    codes.assign(size_t(n), kNonJuge);
    std::atomic<std::int64_t> prochain{0};
    const std::int64_t nbBlocs = (n + TailleBloc - 1) / TailleBloc;
    const auto travaille = [&] {
        // one simulation object per worker: the candidates allocate nothing
        auto simu = std::make_unique<TBillardVelmora>();
        simu->Fisik = fisik_;
        simu->ModeDeJeu = options_.Mode;
        for (;;) {
            if (arret_.load(std::memory_order_relaxed)) return;
            const std::int64_t bloc = prochain.fetch_add(1);
            if (bloc >= nbBlocs) return;
            const std::int64_t fin = std::min(n, (bloc + 1) * TailleBloc);
            std::int64_t joues = 0, touches = 0;
            for (std::int64_t i = bloc * TailleBloc; i < fin; ++i) {
                TParamQueue p;
                if (!candidat(i, p)) {
                    codes[size_t(i)] = kNonJoue;
                    continue;
                }
                for (int b = 1; b <= NbBilles; ++b)
                    simu->Trajets[b][0] = {positions_[b], VecteurNul, VecteurNul};
                simu->SetParamQueue(p);
                const TVerdict v = JugeCoup(*simu);
                codes[size_t(i)] = v.Reussi ? std::max<std::uint64_t>(v.Sequence.Code(), 1) : 0;
                ++joues;
                touches += v.Reussi;
            }
            faits_ += joues;
            if (phase_.load(std::memory_order_relaxed) == 0) reussis_ += touches;
        }
    };
    int nbThreads = options_.NbThreads > 0 ? options_.NbThreads : int(std::thread::hardware_concurrency());
    nbThreads = int(std::clamp<std::int64_t>(nbThreads, 1, std::min<std::int64_t>(NbThreadsMax, nbBlocs)));
    std::vector<std::thread> aides;
    for (int t = 1; t < nbThreads; ++t) {
        try {
            aides.emplace_back(travaille);
        } catch (const std::system_error&) {
            break;  // fewer threads than asked: the others share the work
        }
    }
    travaille();
    for (auto& t : aides) t.join();
}

TResultatSolveur TSolveurCoups::Calcule() {
    debutNs_ = MaintenantNs();
    faits_ = 0;
    phase_ = 0;
    nbRoutes_ = 0;
    reussis_ = 0;
    TResultatSolveur r;
    const auto fin = [&](TResultatSolveur& res) {
        res.NbCoups = faits_.load();
        res.Secondes = double(MaintenantNs() - debutNs_.load()) * 1e-9;
        res.Interrompu = arret_.load();
        phase_ = 3;
        enCours_ = false;
        return res;
    };

    // ball 1 frozen against both others: no cue can reach either of them on its own
    const double contact = fisik_.Diametre() + 0.01;
    if (Norme(DiffVect(positions_[1], positions_[2])) <= contact &&
        Norme(DiffVect(positions_[1], positions_[3])) <= contact) {
        r.Raison = "la bille joueur est collée aux deux autres billes : aucune route n'est possible";
        return fin(r);
    }

    // the coarse pass: the whole circle of aim, the speeds, the tip offsets within the miscue limit
    const double rayonPointe = 0.9 * std::sqrt(std::max(fisik_.DeportMax2(), 0.0));
    TAxes axes;
    axes.Vitesse = Milieux(TOptionsSolveur::VitesseMin, TOptionsSolveur::VitesseMax, 6);
    axes.Effet = Symetriques(0.8 * rayonPointe, 5);
    axes.Hauteur = Symetriques(0.5 * rayonPointe, 3);
    axes.Inclinaison = options_.Masse ? Milieux(0, TOptionsSolveur::InclinaisonMasse, 5)
                                      : Milieux(0, TOptionsSolveur::InclinaisonMax, 2);
    const std::int64_t parVisee =
        std::int64_t(axes.Vitesse.size() * axes.Effet.size() * axes.Hauteur.size() * axes.Inclinaison.size());
    const int nbVisees = int(std::clamp<std::int64_t>(options_.Budget / parVisee, 36, 36000));
    for (int i = 0; i < nbVisees; ++i) axes.Visee.push_back(float(360.0 * i / nbVisees));
    TGrilleN grossiere = axes.Grille();
    grossiere.BoucleVisee = true;

    const int nbAffinees = options_.NbRoutes + 3;
    const std::int64_t essaisTaux = options_.Grille.NbTotal();
    // with massé the inclination's range is wide: the finer pass refines it too
    const std::array<int, 5> dimsFines{17, 5, 5, 5, options_.Masse ? 3 : 1};
    const std::int64_t tailleFine =
        std::int64_t(dimsFines[0]) * dimsFines[1] * dimsFines[2] * dimsFines[3] * dimsFines[4];
    prevus_ = grossiere.Taille() + nbAffinees * (tailleFine + essaisTaux);

    const float masse = options_.MasseQueue;
    const double deport2 = fisik_.DeportMax2();
    const auto jouable = [&](const TQueueDegres& q) {
        return double(q.Effet) * q.Effet + double(q.Hauteur) * q.Hauteur <= deport2 &&
               q.Vitesse >= SeuilVitesseMasse && q.Inclinaison >= 0 && q.Inclinaison < 90;
    };
    std::vector<std::uint64_t> codes;
    JugeTous(
        grossiere.Taille(),
        [&](std::int64_t i, TParamQueue& p) {
            const TQueueDegres q = axes.Queue(grossiere.Coords(i), masse);
            p = ParamSimu(q);
            return jouable(q);
        },
        codes);
    const bool stoppeGrossiere = arret_.load();

    // the routes and their largest regions, the widest first (ties: the slower centre)
    struct TCandidate {
        TRouteSolveur route;
        std::uint64_t code = 0;
    };
    std::vector<TCandidate> routes;
    for (const auto& [code, region] : PlusGrandesRegions(grossiere, codes)) {
        TCandidate c;
        c.code = code;
        c.route.Sequence = TSequenceContacts::DepuisCode(code);
        c.route.TailleRegion = std::int64_t(region.Cellules.size());
        c.route.Queue = axes.Queue(grossiere.Coords(Centre(grossiere, region)), masse);
        routes.push_back(std::move(c));
    }
    r.NbRoutesTrouvees = int(routes.size());
    nbRoutes_ = r.NbRoutesTrouvees;
    std::sort(routes.begin(), routes.end(), [](const TCandidate& a, const TCandidate& b) {
        if (a.route.TailleRegion != b.route.TailleRegion) return a.route.TailleRegion > b.route.TailleRegion;
        if (a.route.Queue.Vitesse != b.route.Queue.Vitesse)
            return a.route.Queue.Vitesse < b.route.Queue.Vitesse;
        return a.code < b.code;
    });
    for (const TCandidate& c : routes) r.SequencesTrouvees.push_back(c.route.Sequence);
    const int nbMesurees = std::min<int>(nbAffinees, int(routes.size()));
    prevus_ = grossiere.Taille() + nbMesurees * (tailleFine + essaisTaux);

    // refinement: a finer grid around each centre (a quarter of the aim step, half of the others)
    if (!stoppeGrossiere && nbMesurees > 0) {
        phase_ = 1;
        const double pasVisee = 360.0 / nbVisees;
        const double pasVitesse = axes.Vitesse.size() > 1 ? axes.Vitesse[1] - axes.Vitesse[0] : 0;
        const double pasEffet = axes.Effet.size() > 1 ? axes.Effet[1] - axes.Effet[0] : 0;
        const double pasHauteur = axes.Hauteur.size() > 1 ? axes.Hauteur[1] - axes.Hauteur[0] : 0;
        const double pasInclinaison =
            axes.Inclinaison.size() > 1 ? axes.Inclinaison[1] - axes.Inclinaison[0] : 0;
        TGrilleN fine;
        fine.Dims = dimsFines;
        const auto queueFine = [&](const TQueueDegres& centre, std::int64_t i) {
            const auto k = fine.Coords(i);
            TQueueDegres q = centre;
            q.Visee = float(centre.Visee + (k[0] - 8) * pasVisee / 4);
            q.Vitesse = float(centre.Vitesse + (k[1] - 2) * pasVitesse / 2);
            q.Effet = float(centre.Effet + (k[2] - 2) * pasEffet / 2);
            q.Hauteur = float(centre.Hauteur + (k[3] - 2) * pasHauteur / 2);
            const int milieuInclinaison = fine.Dims[4] / 2;
            if (fine.Dims[4] > 1)
                q.Inclinaison = float(centre.Inclinaison + (k[4] - milieuInclinaison) * pasInclinaison / 2);
            return q;
        };
        std::vector<std::uint64_t> codesFins;
        JugeTous(
            nbMesurees * tailleFine,
            [&](std::int64_t i, TParamQueue& p) {
                const TQueueDegres q = queueFine(routes[size_t(i / tailleFine)].route.Queue, i % tailleFine);
                p = ParamSimu(q);
                return jouable(q);
            },
            codesFins);
        if (!arret_.load()) {
            for (int k = 0; k < nbMesurees; ++k) {
                // only this route's cells count as its region here
                std::vector<std::uint64_t> siens(codesFins.begin() + k * tailleFine,
                                                 codesFins.begin() + (k + 1) * tailleFine);
                for (auto& c : siens)
                    if (c != routes[size_t(k)].code) c = 0;
                const auto regions = PlusGrandesRegions(fine, siens);
                const auto it = regions.find(routes[size_t(k)].code);
                if (it == regions.end()) continue;
                routes[size_t(k)].route.Queue =
                    queueFine(routes[size_t(k)].route.Queue, Centre(fine, it->second));
            }

            // success rates: the difficulty grid around each setting, any point counting
            phase_ = 2;
            const TGrilleDifficulte& grille = options_.Grille;
            std::vector<std::uint64_t> codesTaux;
            JugeTous(
                nbMesurees * essaisTaux,
                [&](std::int64_t i, TParamQueue& p) {
                    return ParamCellule(routes[size_t(i / essaisTaux)].route.Queue, grille,
                                        DecalagesCellule(grille, i % essaisTaux), p);
                },
                codesTaux);
            for (int k = 0; k < nbMesurees; ++k) {
                std::int64_t essais = 0, reussis = 0;
                bool complet = true;
                for (std::int64_t c = k * essaisTaux; c < (k + 1) * essaisTaux; ++c) {
                    const std::uint64_t code = codesTaux[size_t(c)];
                    if (code == kNonJuge) complet = false;
                    if (code == kNonJoue || code == kNonJuge) continue;
                    ++essais;
                    if (code != 0) ++reussis;
                }
                if (!complet) continue;
                routes[size_t(k)].route.Essais = essais;
                routes[size_t(k)].route.Reussis = reussis;
            }
        }
    }

    // easiest first (measured routes before the others); ties by the lower speed
    std::stable_sort(routes.begin(), routes.end(), [](const TCandidate& a, const TCandidate& b) {
        const TRouteSolveur& x = a.route;
        const TRouteSolveur& y = b.route;
        if (x.Mesuree() != y.Mesuree()) return x.Mesuree();
        // exact comparison of the rates Rx/Ex and Ry/Ey
        const double tx = double(x.Reussis) * double(y.Essais);
        const double ty = double(y.Reussis) * double(x.Essais);
        if (x.Mesuree() && tx != ty) return tx > ty;
        if (x.Queue.Vitesse != y.Queue.Vitesse) return x.Queue.Vitesse < y.Queue.Vitesse;
        if (x.TailleRegion != y.TailleRegion) return x.TailleRegion > y.TailleRegion;
        return a.code < b.code;
    });
    for (size_t i = 0; i < routes.size() && int(i) < options_.NbRoutes; ++i) {
        TRouteSolveur route = routes[i].route;
        route.Rang = int(i) + 1;
        route.Param = ParamSimu(route.Queue);
        route.Libelle = Libelle(route.Sequence, options_.NomBille2);
        for (int j = 0; j < route.Sequence.Nb; ++j) {
            const int c = route.Sequence.Contacts[j];
            if (c < 10) route.Bandes.push_back(c);
            if (c >= 10 && route.PremiereBille.empty())
                route.PremiereBille = c == 13 ? "Rouge" : options_.NomBille2;
        }
        r.NbNonMesurees += !route.Mesuree();
        r.Routes.push_back(std::move(route));
    }
    if (r.Routes.empty())
        r.Raison = arret_.load() ? "recherche arrêtée avant d'avoir trouvé une route"
                                 : "aucun coup essayé ne fait le point dans ce mode de jeu";
    return fin(r);
}

std::string JsonSolveur(const TResultatSolveur& r, const std::vector<std::string>& fichiers) {
    const auto chaine = [](const std::string& s) {
        std::string t = "\"";
        for (char c : s) {
            if (c == '"' || c == '\\') {
                t += '\\';
                t += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", c);
                t += u;
            } else {
                t += c;
            }
        }
        return t + "\"";
    };
    std::string j = "{\"routes\": [";
    for (size_t i = 0; i < r.Routes.size(); ++i) {
        const TRouteSolveur& route = r.Routes[i];
        if (i > 0) j += ", ";
        j += "{\"rank\": " + std::to_string(route.Rang) + ", \"sequence\": " + chaine(route.Libelle) +
             ", \"first_ball\": " + chaine(route.PremiereBille) + ", \"cushions\": [";
        for (size_t b = 0; b < route.Bandes.size(); ++b)
            j += (b ? ", " : "") + std::to_string(route.Bandes[b]);
        j += "], \"success_rate\": ";
        j += route.Mesuree() ? FormatReel(100.0 * route.TauxReussite()) : "null";
        j += ", \"trials\": " + std::to_string(route.Essais) +
             ", \"successes\": " + std::to_string(route.Reussis);
        const TParamQueue& p = route.Param;
        j += ", \"cue\": {\"Vq\": " + FormatReel(p.VitesseQueue) + ", \"m\": " + FormatReel(p.MasseQueue) +
             ", \"AngleOx\": " + FormatReel(p.AngleOx) + ", \"AngleTapis\": " + FormatReel(p.AngleTapis) +
             ", \"Effet\": " + FormatReel(p.Effet) + ", \"Hauteur\": " + FormatReel(p.Hauteur) + "}";
        j += ", \"file\": ";
        j += i < fichiers.size() && !fichiers[i].empty() ? chaine(fichiers[i]) : "null";
        j += "}";
    }
    j += "], \"shots\": " + std::to_string(r.NbCoups) + ", \"seconds\": " + FormatReel(r.Secondes) +
         ", \"routes_found\": " + std::to_string(r.NbRoutesTrouvees) +
         ", \"interrupted\": " + (r.Interrompu ? "true" : "false") +
         ", \"rates_measured\": " + (r.NbNonMesurees == 0 ? "true" : "false");
    if (!r.Raison.empty()) j += ", \"reason\": " + chaine(r.Raison);
    return j + "}";
}
