// The analysis of one attempt: the robustness of its cue, then the position's best route (from
// the cache, or the solver once).
#include "moteurs/AnalyseTentative.h"

#include <chrono>

#include "fichiers/Empreinte.h"
#include "moteurs/VerdictAnticipe.h"

namespace {

double Depuis(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

std::string EmpreinteRoute(const TBillardVelmora& simu, TModeDeJeu mode, float masseQueue,
                           const std::string& nomBille2) {
    TEmpreinte e;
    // a new solver that finds other routes changes this word, and the cache starts afresh
    e.Ajoute(std::string_view("route-1")).Ajoute(std::int64_t(mode)).Ajoute(double(masseQueue));
    e.Ajoute(nomBille2);
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur& p = simu.Trajets[b][0].Position;
        e.Ajoute(p.x).Ajoute(p.y).Ajoute(p.z);
    }
    const TConstantesPhys& f = simu.Fisik.Constantes();
    for (double v :
         {f.largeurJeu, f.HautBdes, f.RayonBilles, f.MasseBilles, f.VzRebondNul, f.FrotBiTapGlisse,
          f.FrotBiTapPivot, f.FrotBiTapRoule, f.FrotBiTapChoc, f.FrotBiBi, f.FrotBiBde, f.FrotQueueBille,
          f.ElastBiTap, f.ElastBiBi, f.ElastBiBde, f.PerteEcQB, f.dtAnal, f.dtEnr, f.G})
        e.Ajoute(v);
    return e.Texte();
}

std::optional<TMeilleureRoute> TCacheRoutesMemoire::Cherche(const std::string& empreinte) {
    const std::lock_guard verrou(mutex_);
    const auto it = routes_.find(empreinte);
    if (it == routes_.end()) return std::nullopt;
    return it->second;
}

void TCacheRoutesMemoire::Range(const std::string& empreinte, const TMeilleureRoute& route) {
    const std::lock_guard verrou(mutex_);
    routes_[empreinte] = route;
}

TAnalyseTentative::TAnalyseTentative(const TBillardVelmora& source, const TQueueDegres& queue,
                                     const TOptionsAnalyse& options, std::shared_ptr<TCacheRoutes> cache)
    : simu_(std::make_unique<TBillardVelmora>()), queue_(queue), options_(options), cache_(std::move(cache)) {
    simu_->Fisik = source.Fisik;
    simu_->ModeDeJeu = options.Mode;
    for (int b = 1; b <= NbBilles; ++b) {
        simu_->Trajets[b][0] = source.Trajets[b][0];
        simu_->Trajets[b][0].Vitesse = Vecteur(0, 0, 0);
        simu_->Trajets[b][0].Rotation = Vecteur(0, 0, 0);
    }
    resultat_.Empreinte = EmpreinteRoute(*simu_, options.Mode, queue.Masse, options.NomBille2);
}

TAnalyseTentative::~TAnalyseTentative() {
    Arrete();
    if (fond_.joinable()) fond_.join();
}

TResultatAnalyse TAnalyseTentative::Execute() {
    if (!Demarre()) return Partiel();
    return Attends();
}

bool TAnalyseTentative::Demarre() {
    if (enCours_.exchange(true)) return false;
    if (fond_.joinable()) fond_.join();
    arret_ = false;
    termine_ = false;
    robustesseConnue_ = false;
    fond_ = std::thread([this] {
        Calcule();
        enCours_ = false;
        termine_ = true;
    });
    return true;
}

TResultatAnalyse TAnalyseTentative::Attends() {
    if (fond_.joinable()) fond_.join();
    return Partiel();
}

TResultatAnalyse TAnalyseTentative::Partiel() const {
    const std::lock_guard verrou(mutex_);
    return resultat_;
}

void TAnalyseTentative::Arrete() {
    arret_ = true;
    const std::lock_guard verrou(mutex_);
    if (evaluation_) evaluation_->Arrete();
    if (solveur_) solveur_->Arrete();
}

void TAnalyseTentative::Calcule() {
    // the attempt replayed: its verdict and the contacts that name its route
    TBillardVelmora essai;
    essai.Fisik = simu_->Fisik;
    essai.ModeDeJeu = options_.Mode;
    for (int b = 1; b <= NbBilles; ++b) essai.Trajets[b][0] = simu_->Trajets[b][0];
    essai.SetParamQueue(ParamSimu(queue_));
    const TVerdict verdict = JugeCoup(essai);
    {
        const std::lock_guard verrou(mutex_);
        resultat_.Reussi = verdict.Reussi && !essai.FausseQueue;
        resultat_.Contacts.assign(verdict.Sequence.Contacts.begin(),
                                  verdict.Sequence.Contacts.begin() + verdict.Sequence.Nb);
    }
    MesureRobustesse();
    robustesseConnue_ = true;
    if (!arret_.load()) ChercheRoute();
    const std::lock_guard verrou(mutex_);
    resultat_.Interrompue = arret_.load();
}

void TAnalyseTentative::MesureRobustesse() {
    const auto t0 = std::chrono::steady_clock::now();
    TEvaluationDifficulte evaluation(*simu_, queue_, options_.Grille);
    TOptionsDifficulte o;
    o.NbThreads = options_.NbThreads;
    {
        // a stop asked from here on reaches the running evaluation
        const std::lock_guard verrou(mutex_);
        if (arret_.load()) return;
        evaluation_ = &evaluation;
        evaluation.Demarre(o);
    }
    const TResultatDifficulte r = evaluation.Attends();
    const std::lock_guard verrou(mutex_);
    evaluation_ = nullptr;
    if (!r.Complet) return;
    resultat_.Essais = r.NbEssais;
    resultat_.Reussis = r.NbReussis;
    resultat_.SecondesRobustesse = Depuis(t0);
}

void TAnalyseTentative::ChercheRoute() {
    const auto t0 = std::chrono::steady_clock::now();
    const std::string empreinte = resultat_.Empreinte;
    if (cache_) {
        if (auto route = cache_->Cherche(empreinte)) {
            const std::lock_guard verrou(mutex_);
            resultat_.Meilleure = std::move(route);
            resultat_.RouteDuCache = true;
            resultat_.SecondesRoute = Depuis(t0);
            return;
        }
    }
    TOptionsSolveur o;
    o.Mode = options_.Mode;
    o.NbRoutes = 1;
    o.Budget = options_.Budget;
    o.NbThreads = options_.NbThreads;
    o.MasseQueue = queue_.Masse;
    o.NomBille2 = options_.NomBille2;
    o.Grille = options_.Grille;
    TSolveurCoups solveur(*simu_, o);
    {
        const std::lock_guard verrou(mutex_);
        if (arret_.load()) return;
        solveur_ = &solveur;
        solveur.Demarre();
    }
    const TResultatSolveur r = solveur.Attends();
    {
        const std::lock_guard verrou(mutex_);
        solveur_ = nullptr;
    }
    // a search cut short says nothing for sure: neither shown nor kept
    if (r.Interrompu || (!r.Routes.empty() && !r.Routes[0].Mesuree())) return;
    TMeilleureRoute route;
    if (!r.Routes.empty()) {
        route.Libelle = r.Routes[0].Libelle;
        route.Queue = r.Routes[0].Queue;
        route.Essais = r.Routes[0].Essais;
        route.Reussis = r.Routes[0].Reussis;
    }
    if (cache_) cache_->Range(empreinte, route);
    const std::lock_guard verrou(mutex_);
    resultat_.Meilleure = route;
    resultat_.SecondesRoute = Depuis(t0);
}
