#include "moteurs/SolveurCoups.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>

#include "jeu/ContactsBandes.h"
#include "moteurs/DemarrageFond.h"
#include "moteurs/RegionsGrille.h"

namespace {

constexpr int NbThreadsMax = 64;
// candidates handed to a worker at a time: small enough to share evenly and to stop quickly
constexpr std::int64_t TailleBloc = 256;
// a region of fewer strokes is no other way of playing a route worth telling
constexpr std::size_t TailleVarianteMin = 3;

std::int64_t MaintenantNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
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
        if (c == ContactBille2)
            texte += nomBille2;
        else if (c == ContactRouge)
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
    codes.assign(size_t(n), CodeNonJuge);
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
                    codes[size_t(i)] = CodeNonJoue;
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

namespace {

struct TRouteCandidate {
    TRouteSolveur route;
    std::uint64_t code = 0;
};

// the step of a coarse axis, 0 when it has one value
double Pas(const std::vector<float>& axe) { return axe.size() > 1 ? axe[1] - axe[0] : 0; }

}  // namespace

// what the stages of one search share
struct TSolveurCoups::TRecherche {
    TAxes Axes;
    TGrilleN Grossiere;
    TGrilleN Fine;
    int NbVisees = 0;
    int NbAffinees = 0;
    std::int64_t EssaisTaux = 0;
    std::vector<TRouteCandidate> Routes;  // widest region first, then easiest first
    std::map<std::uint64_t, std::vector<TVarianteRoute>> Variantes;
    int NbMesurees = 0;

    // stroke i of the finer grid around `centre`: a quarter of the coarse aim step, half of the others
    TQueueDegres QueueFine(const TQueueDegres& centre, std::int64_t i) const {
        const auto k = Fine.Coords(i);
        TQueueDegres q = centre;
        q.Visee = float(centre.Visee + (k[0] - 8) * (360.0 / NbVisees) / 4);
        q.Vitesse = float(centre.Vitesse + (k[1] - 2) * Pas(Axes.Vitesse) / 2);
        q.Effet = float(centre.Effet + (k[2] - 2) * Pas(Axes.Effet) / 2);
        q.Hauteur = float(centre.Hauteur + (k[3] - 2) * Pas(Axes.Hauteur) / 2);
        const int milieuInclinaison = Fine.Dims[4] / 2;
        if (Fine.Dims[4] > 1)
            q.Inclinaison =
                float(centre.Inclinaison + (k[4] - milieuInclinaison) * Pas(Axes.Inclinaison) / 2);
        return q;
    }
};

bool TSolveurCoups::Jouable(const TQueueDegres& q) const {
    return double(q.Effet) * q.Effet + double(q.Hauteur) * q.Hauteur <= fisik_.DeportMax2() &&
           q.Vitesse >= SeuilVitesseMasse && q.Inclinaison >= 0 && q.Inclinaison < 90;
}

TContexteCoup TSolveurCoups::Contexte() const {
    TContexteCoup c;
    for (int b = 1; b <= NbBilles; ++b)
        c.Billes[size_t(b - 1)] = {float(positions_[b].x), float(positions_[b].y), float(positions_[b].z)};
    c.NomBille2 = options_.NomBille2;
    c.Largeur = fisik_.largeurJeu();
    c.Rayon = float(fisik_.RayonBilles());
    c.DeportMax = DeportSansFausseQueue(fisik_, options_.MasseQueue);
    return c;
}

TResultatSolveur TSolveurCoups::Calcule() {
    debutNs_ = MaintenantNs();
    faits_ = 0;
    phase_ = 0;
    nbRoutes_ = 0;
    reussis_ = 0;
    TResultatSolveur r;
    r.Contexte = Contexte();
    if (!PositionBloquee(r)) {
        TRecherche s;
        PreparePasses(s);
        const bool stoppeGrossiere = PasseGrossiere(s, r);
        if (!stoppeGrossiere && s.NbMesurees > 0 && Affine(s)) MesureReussites(s);
        Classe(s, r);
        Decrit(r);
    }
    r.NbCoups = faits_.load();
    r.Secondes = double(MaintenantNs() - debutNs_.load()) * 1e-9;
    r.Interrompu = arret_.load();
    phase_ = 3;
    enCours_ = false;
    return r;
}

bool TSolveurCoups::PositionBloquee(TResultatSolveur& r) const {
    // ball 1 frozen against both others: no cue can reach either of them on its own
    const double contact = fisik_.Diametre() + 0.01;
    if (Norme(DiffVect(positions_[1], positions_[2])) <= contact &&
        Norme(DiffVect(positions_[1], positions_[3])) <= contact) {
        r.Raison = "la bille joueur est collée aux deux autres billes : aucune route n'est possible";
        return true;
    }
    return false;
}

void TSolveurCoups::PreparePasses(TRecherche& s) {
    // the coarse pass: the whole circle of aim, the speeds, the tip offsets within the miscue limit
    const double rayonPointe = 0.9 * std::sqrt(std::max(fisik_.DeportMax2(), 0.0));
    TAxes& axes = s.Axes;
    axes.Vitesse = Milieux(TOptionsSolveur::VitesseMin, TOptionsSolveur::VitesseMax, 6);
    axes.Effet = Symetriques(0.8 * rayonPointe, 5);
    axes.Hauteur = Symetriques(0.5 * rayonPointe, 3);
    axes.Inclinaison = options_.Masse ? Milieux(0, TOptionsSolveur::InclinaisonMasse, 5)
                                      : Milieux(0, TOptionsSolveur::InclinaisonMax, 2);
    const std::int64_t parVisee =
        std::int64_t(axes.Vitesse.size() * axes.Effet.size() * axes.Hauteur.size() * axes.Inclinaison.size());
    s.NbVisees = int(std::clamp<std::int64_t>(options_.Budget / parVisee, 36, 36000));
    for (int i = 0; i < s.NbVisees; ++i) axes.Visee.push_back(float(360.0 * i / s.NbVisees));
    s.Grossiere = axes.Grille();
    s.Grossiere.BoucleVisee = true;

    s.NbAffinees = options_.NbRoutes + 3;
    s.EssaisTaux = options_.Grille.NbTotal();
    // with massé the inclination's range is wide: the finer pass refines it too
    s.Fine.Dims = {17, 5, 5, 5, options_.Masse ? 3 : 1};
    prevus_ = s.Grossiere.Taille() + s.NbAffinees * (s.Fine.Taille() + s.EssaisTaux);
}

bool TSolveurCoups::PasseGrossiere(TRecherche& s, TResultatSolveur& r) {
    const float masse = options_.MasseQueue;
    std::vector<std::uint64_t> codes;
    JugeTous(
        s.Grossiere.Taille(),
        [&](std::int64_t i, TParamQueue& p) {
            const TQueueDegres q = s.Axes.Queue(s.Grossiere.Coords(i), masse);
            p = ParamSimu(q);
            return Jouable(q);
        },
        codes);
    const bool stoppe = arret_.load();

    // each route: the centre of its widest region is its setting, those of the others its variants
    for (const auto& [code, regions] : RegionsParRoute(s.Grossiere, codes)) {
        TRouteCandidate c;
        c.code = code;
        c.route.Sequence = TSequenceContacts::DepuisCode(code);
        c.route.TailleRegion = std::int64_t(regions.front().Cellules.size());
        c.route.Queue = s.Axes.Queue(s.Grossiere.Coords(Centre(s.Grossiere, regions.front())), masse);
        s.Routes.push_back(std::move(c));
        for (size_t k = 1; k < regions.size() && regions[k].Cellules.size() >= TailleVarianteMin; ++k)
            s.Variantes[code].push_back(
                {s.Axes.Queue(s.Grossiere.Coords(Centre(s.Grossiere, regions[k])), masse),
                 std::int64_t(regions[k].Cellules.size())});
    }
    r.NbRoutesTrouvees = int(s.Routes.size());
    nbRoutes_ = r.NbRoutesTrouvees;
    // the widest first (ties: the slower centre)
    std::sort(s.Routes.begin(), s.Routes.end(), [](const TRouteCandidate& a, const TRouteCandidate& b) {
        if (a.route.TailleRegion != b.route.TailleRegion) return a.route.TailleRegion > b.route.TailleRegion;
        if (a.route.Queue.Vitesse != b.route.Queue.Vitesse)
            return a.route.Queue.Vitesse < b.route.Queue.Vitesse;
        return a.code < b.code;
    });
    for (const TRouteCandidate& c : s.Routes) r.SequencesTrouvees.push_back(c.route.Sequence);
    s.NbMesurees = std::min<int>(s.NbAffinees, int(s.Routes.size()));
    prevus_ = s.Grossiere.Taille() + s.NbMesurees * (s.Fine.Taille() + s.EssaisTaux);
    return stoppe;
}

bool TSolveurCoups::Affine(TRecherche& s) {
    // a finer grid around each centre; its deepest point of the route's region is the setting
    phase_ = 1;
    const std::int64_t tailleFine = s.Fine.Taille();
    std::vector<std::uint64_t> codesFins;
    JugeTous(
        s.NbMesurees * tailleFine,
        [&](std::int64_t i, TParamQueue& p) {
            const TQueueDegres q = s.QueueFine(s.Routes[size_t(i / tailleFine)].route.Queue, i % tailleFine);
            p = ParamSimu(q);
            return Jouable(q);
        },
        codesFins);
    if (arret_.load()) return false;
    for (int k = 0; k < s.NbMesurees; ++k) {
        TRouteCandidate& c = s.Routes[size_t(k)];
        // only this route's cells count as its region here
        std::vector<std::uint64_t> siens(codesFins.begin() + k * tailleFine,
                                         codesFins.begin() + (k + 1) * tailleFine);
        for (auto& code : siens)
            if (code != c.code) code = 0;
        const auto regions = PlusGrandesRegions(s.Fine, siens);
        const auto it = regions.find(c.code);
        if (it != regions.end()) c.route.Queue = s.QueueFine(c.route.Queue, Centre(s.Fine, it->second));
    }
    return true;
}

void TSolveurCoups::MesureReussites(TRecherche& s) {
    // the difficulty grid around each setting, any point counting
    phase_ = 2;
    const TGrilleDifficulte& grille = options_.Grille;
    const std::int64_t n = s.EssaisTaux;
    std::vector<std::uint64_t> codesTaux;
    JugeTous(
        s.NbMesurees * n,
        [&](std::int64_t i, TParamQueue& p) {
            return ParamCellule(s.Routes[size_t(i / n)].route.Queue, grille, DecalagesCellule(grille, i % n),
                                p);
        },
        codesTaux);
    for (int k = 0; k < s.NbMesurees; ++k) {
        std::int64_t essais = 0, reussis = 0;
        bool complet = true;
        for (std::int64_t c = k * n; c < (k + 1) * n; ++c) {
            const std::uint64_t code = codesTaux[size_t(c)];
            if (code == CodeNonJuge) complet = false;
            if (code == CodeNonJoue || code == CodeNonJuge) continue;
            ++essais;
            if (code != 0) ++reussis;
        }
        if (!complet) continue;
        s.Routes[size_t(k)].route.Essais = essais;
        s.Routes[size_t(k)].route.Reussis = reussis;
    }
}

void TSolveurCoups::Classe(TRecherche& s, TResultatSolveur& r) const {
    // easiest first (measured routes before the others); ties by the lower speed
    std::stable_sort(s.Routes.begin(), s.Routes.end(),
                     [](const TRouteCandidate& a, const TRouteCandidate& b) {
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
    for (size_t i = 0; i < s.Routes.size() && int(i) < options_.NbRoutes; ++i) {
        TRouteSolveur route = s.Routes[i].route;
        route.Rang = int(i) + 1;
        route.Param = ParamSimu(route.Queue);
        route.Libelle = Libelle(route.Sequence, options_.NomBille2);
        for (int j = 0; j < route.Sequence.Nb; ++j) {
            const int c = route.Sequence.Contacts[j];
            if (!EstContactBille(c)) route.Bandes.push_back(c);
            if (EstContactBille(c) && route.PremiereBille.empty())
                route.PremiereBille = c == ContactRouge ? "Rouge" : options_.NomBille2;
        }
        if (const auto it = s.Variantes.find(s.Routes[i].code); it != s.Variantes.end())
            route.Variantes = it->second;
        r.NbNonMesurees += !route.Mesuree();
        r.Routes.push_back(std::move(route));
    }
    if (r.Routes.empty())
        r.Raison = arret_.load() ? "recherche arrêtée avant d'avoir trouvé une route"
                                 : "aucun coup essayé ne fait le point dans ce mode de jeu";
}

void TSolveurCoups::Decrit(TResultatSolveur& r) const {
    // each setting played once, whole: where its ball 1 meets the route's cushions
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik = fisik_;
    simu->ModeDeJeu = options_.Mode;
    for (TRouteSolveur& route : r.Routes) {
        for (int b = 1; b <= NbBilles; ++b) simu->Trajets[b][0] = {positions_[b], VecteurNul, VecteurNul};
        simu->SetParamQueue(route.Param);
        simu->Joue();
        const std::vector<TContactBande> contacts = ContactsBandes(*simu);
        std::vector<double> diamants;
        for (size_t k = 0; k < route.Bandes.size() && k < contacts.size(); ++k)
            if (contacts[k].Bande == route.Bandes[k]) diamants.push_back(contacts[k].Diamant);
        if (diamants.size() == route.Bandes.size()) route.Diamants = std::move(diamants);
    }
}
