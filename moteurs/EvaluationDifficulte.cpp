#include "moteurs/EvaluationDifficulte.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "moteurs/DemarrageFond.h"

namespace {

// more workers than this only adds simulation objects
constexpr int NbThreadsMax = 64;

std::int64_t MaintenantNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// ---- the grid ----

std::int64_t TGrilleDifficulte::NbTotal() const {
    std::int64_t n = 1;
    for (int e : NbEssais) n *= 2 * std::clamp(e, 0, NbEssaisMax) + 1;
    return n;
}

double TGrilleDifficulte::VolumeCellule() const {
    double v = 1;
    for (float i : Increment) v *= i;
    return v;
}

int TGrilleDifficulte::BorneNbEssais(double valeur) {
    if (!(valeur > 0)) return 0;
    return static_cast<int>(std::lround(std::min(valeur, double(NbEssaisMax))));
}

float TGrilleDifficulte::BorneIncrement(double valeur) {
    if (!(valeur >= IncrementMin)) valeur = IncrementMin;
    return static_cast<float>(std::min(valeur, double(std::numeric_limits<float>::max())));
}

TGrilleDifficulte TGrilleDifficulte::Bornee() const {
    TGrilleDifficulte g;
    for (int p = 0; p < NbParamsEssai; ++p) {
        g.NbEssais[p] = BorneNbEssais(NbEssais[p]);
        g.Increment[p] = BorneIncrement(Increment[p]);
    }
    return g;
}

TDecalages DecalagesCellule(const TGrilleDifficulte& grille, std::int64_t cellule) {
    TDecalages k{};
    // mixed radix, the innermost row (mass) turning fastest
    for (int p = NbParamsEssai - 1; p >= 0; --p) {
        const std::int64_t n = grille.NbEssais[p];
        const std::int64_t base = 2 * n + 1;
        k[p] = static_cast<int>(cellule % base - n);
        cellule /= base;
    }
    return k;
}

bool CelluleSuivante(const TGrilleDifficulte& grille, TDecalages& k) {
    for (int p = NbParamsEssai - 1; p >= 0; --p) {
        if (k[p] < grille.NbEssais[p]) {
            ++k[p];
            return true;
        }
        k[p] = -grille.NbEssais[p];
    }
    return false;
}

bool ParamCellule(const TQueueDegres& queue, const TGrilleDifficulte& grille, const TDecalages& k,
                  TParamQueue& p) {
    const auto valeur = [&](int r) { return double(queue.Valeur(r)) + k[r] * double(grille.Increment[r]); };
    p.Effet = valeur(peEffet);
    p.Hauteur = valeur(peHauteur);
    p.AngleOx = EnRadians(valeur(peVisee));
    p.VitesseQueue = valeur(peVitesse);
    p.AngleTapis = EnRadians(valeur(peInclinaison));
    p.MasseQueue = valeur(peMasse);
    return p.VitesseQueue >= SeuilVitesseMasse && p.MasseQueue >= SeuilVitesseMasse;
}

TEnregistrementBul EnregistrementBul(const TParamQueue& p) {
    const TQueueDegres q = QueueDegres(p);
    return {q.Effet, q.Hauteur, q.Visee, q.Vitesse, q.Inclinaison, q.Masse};
}

TEnteteBul EnteteBul(const TBillardVelmora& simu, const TQueueDegres& queue,
                     const TGrilleDifficulte& grille) {
    TEnteteBul e;
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur& p = simu.Trajets[b][0].Position;
        e.Positions[b - 1] = {float(p.x), float(p.y), float(p.z)};
    }
    for (int r = 0; r < NbParamsEssai; ++r) {
        const double ecart = grille.NbEssais[r] * double(grille.Increment[r]);
        e.Hautes[r] = float(double(queue.Valeur(r)) + ecart);
        e.Basses[r] = float(double(queue.Valeur(r)) - ecart);
    }
    return e;
}

// ---- the calculation ----

TEvaluationDifficulte::TEvaluationDifficulte(const TBillardVelmora& source, const TQueueDegres& queue,
                                             const TGrilleDifficulte& grille)
    : fisik_(source.Fisik), mode_(source.ModeDeJeu), queue_(queue), grille_(grille.Bornee()) {
    for (int b = 1; b <= NbBilles; ++b) positions_[b] = source.Trajets[b][0].Position;
    entete_ = EnteteBul(source, queue_, grille_);
    nbTotal_ = grille_.NbTotal();
}

TEvaluationDifficulte::~TEvaluationDifficulte() {
    Arrete();
    if (fond_.joinable()) fond_.join();
}

double TEvaluationDifficulte::SecondesDepuisDebut() const {
    const std::int64_t debut = debutNs_.load();
    return debut == 0 ? 0.0 : double(MaintenantNs() - debut) * 1e-9;
}

TProgressionDifficulte TEvaluationDifficulte::Progression() const {
    TProgressionDifficulte p;
    p.NbTotal = nbTotal_;
    p.Reussis = reussis_.load();
    p.EssaisFaits = essais_.load();
    p.CellulesFaites = cellules_.load();
    p.Secondes = SecondesDepuisDebut();
    p.DureeMille = p.EssaisFaits > 0 ? p.Secondes * 1000 / double(p.EssaisFaits) : dureeMilleInitiale_.load();
    p.EnCours = enCours_.load();
    return p;
}

bool TEvaluationDifficulte::Demarre(const TOptionsDifficulte& options) {
    // running from now on, so that a stop asked right after this call is not lost
    if (enCours_.exchange(true)) return false;
    if (fond_.joinable()) fond_.join();
    termine_ = false;
    arret_ = false;
    DemarreEnFond(fond_, [this, options] {
        resultat_ = Calcule(options);
        termine_ = true;
    });
    return true;
}

TResultatDifficulte TEvaluationDifficulte::Attends() {
    if (fond_.joinable()) fond_.join();
    return resultat_;
}

TResultatDifficulte TEvaluationDifficulte::Execute(const TOptionsDifficulte& options) {
    if (enCours_.exchange(true)) {
        TResultatDifficulte r;
        r.Erreur = "calcul déjà en cours";
        return r;
    }
    arret_ = false;
    return Calcule(options);
}

TResultatDifficulte TEvaluationDifficulte::Calcule(const TOptionsDifficulte& options) {
    debutNs_ = MaintenantNs();
    cellules_ = 0;
    essais_ = 0;
    reussis_ = 0;
    prochainBloc_ = 0;
    erreurEcriture_ = false;
    dureeMilleInitiale_ = options.DureeMilleInitiale;
    enAttente_.clear();
    prochainAConsigner_ = 0;
    reussites_.clear();

    TResultatDifficulte r;
    r.NbTotal = nbTotal_;
    r.VolumeCellule = grille_.VolumeCellule();
    r.VolumeTeste = grille_.VolumeTeste();
    r.DureeMille = options.DureeMilleInitiale;

    // the results file exists before the first trial, or nothing is calculated
    if (!options.NomBul.empty() && !bul_.Ouvre(options.NomBul, entete_, &r.Erreur)) {
        enCours_ = false;
        return r;
    }

    // blocks small enough to share the work evenly, large enough to cost nothing to hand out
    int nbThreads = options.NbThreads > 0 ? options.NbThreads : int(std::thread::hardware_concurrency());
    nbThreads = std::clamp(nbThreads, 1, NbThreadsMax);
    tailleBloc_ = std::clamp<std::int64_t>(nbTotal_ / (std::int64_t(nbThreads) * 32), 1, 16);
    nbBlocs_ = (nbTotal_ + tailleBloc_ - 1) / tailleBloc_;
    nbThreads = int(std::min<std::int64_t>(nbThreads, nbBlocs_));

    // the calling thread is one of the workers
    std::vector<std::thread> aides;
    for (int t = 1; t < nbThreads; ++t) {
        try {
            aides.emplace_back([this] { Travaille(); });
        } catch (const std::system_error&) {
            break;  // fewer threads than asked: the others share the work
        }
    }
    Travaille();
    for (auto& t : aides) t.join();

    // blocks left behind a stopped one are recorded too, still in play order
    for (const auto& [bloc, reussites] : enAttente_) Consigne(reussites);
    enAttente_.clear();

    r.Secondes = SecondesDepuisDebut();
    r.NbEssais = essais_.load();
    r.NbReussis = std::int64_t(reussites_.size());
    r.VolumeReussi = double(r.NbReussis) * r.VolumeCellule;
    if (r.NbEssais > 0) r.DureeMille = r.Secondes * 1000 / double(r.NbEssais);
    r.Complet = cellules_.load() == nbTotal_;
    r.Interrompu = !r.Complet && !erreurEcriture_.load();
    if (bul_.Ouvert() && !bul_.Termine(&r.Erreur)) r.Complet = false;
    enCours_ = false;
    return r;
}

std::unique_ptr<TBillardVelmora> TEvaluationDifficulte::Simulation() const {
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik = fisik_;
    simu->ModeDeJeu = mode_;
    return simu;
}

bool TEvaluationDifficulte::JoueEssai(TBillardVelmora& simu, const TDecalages& k) const {
    TParamQueue p;
    if (!ParamCellule(queue_, grille_, k, p)) return false;
    for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0] = {positions_[b], VecteurNul, VecteurNul};
    simu.SetParamQueue(p);
    simu.Joue();
    return true;
}

double TEvaluationDifficulte::MesureDureeMille(int nbEssais, int nbThreads) const {
    auto simu = Simulation();
    TDecalages k = DecalagesCellule(grille_, 0);
    int essais = 0;
    const std::int64_t debut = MaintenantNs();
    for (std::int64_t c = 0; c < nbTotal_ && essais < nbEssais; ++c, CelluleSuivante(grille_, k))
        essais += JoueEssai(*simu, k);
    if (essais == 0) return 0;
    const double secondes = double(MaintenantNs() - debut) * 1e-9;
    // the workers share the trials, as many as there are cores at most
    const int coeurs = std::max(1, int(std::thread::hardware_concurrency()));
    const int threads = std::clamp(nbThreads > 0 ? std::min(nbThreads, coeurs) : coeurs, 1, NbThreadsMax);
    return secondes * 1000 / essais / threads;
}

void TEvaluationDifficulte::Travaille() {
    // one simulation object per worker, set up once: the trials allocate nothing
    auto simu = Simulation();
    std::vector<std::int64_t> reussites;

    for (;;) {
        if (arret_.load(std::memory_order_relaxed)) return;
        const std::int64_t bloc = prochainBloc_.fetch_add(1);
        if (bloc >= nbBlocs_) return;
        const std::int64_t debut = bloc * tailleBloc_;
        const std::int64_t fin = std::min(debut + tailleBloc_, nbTotal_);

        TDecalages k = DecalagesCellule(grille_, debut);
        std::int64_t c = debut;
        std::int64_t essais = 0;
        for (; c < fin; ++c, CelluleSuivante(grille_, k)) {
            if (arret_.load(std::memory_order_relaxed)) break;
            if (!JoueEssai(*simu, k)) continue;
            ++essais;
            if (simu->PointReussi) reussites.push_back(c);
        }
        // progress once per block: the workers do not fight over the counters; trials before
        // successes, so that a reader never sees more successes than trials
        cellules_ += c - debut;
        essais_ += essais;
        reussis_ += std::int64_t(reussites.size());
        Valide(bloc, reussites);
        reussites.clear();
    }
}

void TEvaluationDifficulte::Valide(std::int64_t bloc, std::vector<std::int64_t>& reussites) {
    const std::lock_guard verrou(mutex_);
    if (bloc != prochainAConsigner_) {
        enAttente_.emplace(bloc, std::move(reussites));
        return;
    }
    // this block and those waiting right behind it go to the results, in play order
    Consigne(reussites);
    ++prochainAConsigner_;
    for (auto it = enAttente_.begin(); it != enAttente_.end() && it->first == prochainAConsigner_;) {
        Consigne(it->second);
        ++prochainAConsigner_;
        it = enAttente_.erase(it);
    }
}

void TEvaluationDifficulte::Consigne(const std::vector<std::int64_t>& reussites) {
    for (std::int64_t c : reussites) {
        reussites_.push_back(c);
        if (!bul_.Ouvert()) continue;
        TParamQueue p;
        ParamCellule(queue_, grille_, DecalagesCellule(grille_, c), p);
        bul_.Ajoute(EnregistrementBul(p));
    }
    // a results file that cannot be written stops the calculation: its time would be lost
    if (bul_.Erreur() && !erreurEcriture_.exchange(true)) arret_ = true;
}
