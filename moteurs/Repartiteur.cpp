#include "moteurs/Repartiteur.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#ifdef VELMORA_MPI
#include "moteurs/mpi/TransportMpi.h"
#endif

namespace {

using namespace std::chrono_literals;

// the messages between ranks
enum TEtiquette : int {
    ePret = 1,      // rank → 0: how many tasks it takes at once
    eTache = 2,     // 0 → rank: round, index, task
    eResultat = 3,  // rank → 0: round, index, success, result
    eFin = 4,       // 0 → rank: no more rounds
    eFini = 5,      // rank → 0: stopped, nothing more will come from it
    eConfig = 6,    // 0 → rank: rank 0's configuration
    eAccord = 7,    // rank → 0: how its own differs (empty: the same)
    eSigne = 8,     // rank → 0: a sign of life, every second while it serves
};

constexpr int kNbFilsMax = 256;
constexpr auto kIntervalleSignes = 1s;

std::int64_t MaintenantNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Silence(int rang, double secondes) {
    return "le rang " + std::to_string(rang) + " ne répond plus depuis " + std::to_string(int(secondes)) +
           " s (--rank-timeout)";
}

#ifdef VELMORA_MPI
void AjouteEntier(std::string& octets, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) octets.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

std::uint64_t LitEntier(const std::string& octets, size_t position) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= std::uint64_t(static_cast<unsigned char>(octets[position + size_t(i)])) << (8 * i);
    return v;
}
#endif

}  // namespace

// ---- the worker threads of one rank ----

class TRepartiteur::TAtelier {
public:
    TAtelier(const TCalculTache& calcul, int nbFils) : calcul_(calcul) {
        for (int f = 0; f < nbFils; ++f) {
            try {
                fils_.emplace_back([this] { Travaille(); });
            } catch (const std::system_error&) {
                if (fils_.empty()) throw;
                break;  // fewer threads than asked: the others share the work
            }
        }
    }
    ~TAtelier() {
        {
            const std::lock_guard verrou(mutex_);
            fin_ = true;
            attente_.clear();
        }
        travail_.notify_all();
        for (auto& f : fils_) f.join();
    }

    void Ajoute(std::uint64_t tour, std::size_t index, std::string tache) {
        {
            const std::lock_guard verrou(mutex_);
            attente_.push_back({tour, index, std::move(tache)});
        }
        travail_.notify_one();
    }
    // the tasks not started yet are dropped; how many
    int Abandonne() {
        const std::lock_guard verrou(mutex_);
        const int n = int(attente_.size());
        attente_.clear();
        return n;
    }
    // results since the last call, with the round they belong to
    void Recupere(std::vector<std::pair<std::uint64_t, TResultatTache>>& sortie) {
        const std::lock_guard verrou(mutex_);
        for (auto& r : faits_) sortie.push_back(std::move(r));
        faits_.clear();
    }
    // until a result is there or the delay is over
    void Attends(std::chrono::microseconds delai) {
        std::unique_lock verrou(mutex_);
        fait_.wait_for(verrou, delai, [this] { return !faits_.empty(); });
    }

private:
    struct TTache {
        std::uint64_t tour;
        std::size_t index;
        std::string texte;
    };

    void Travaille() {
        for (;;) {
            TTache tache;
            {
                std::unique_lock verrou(mutex_);
                travail_.wait(verrou, [this] { return fin_ || !attente_.empty(); });
                if (fin_) return;
                tache = std::move(attente_.front());
                attente_.pop_front();
            }
            TResultatTache r;
            r.Index = tache.index;
            std::string resultat, erreur;
            try {
                r.Reussi = calcul_(tache.texte, resultat, &erreur);
            } catch (const std::exception& e) {
                r.Reussi = false;
                erreur = e.what();
            } catch (...) {
                r.Reussi = false;
                erreur = "erreur inconnue";
            }
            r.Contenu = r.Reussi ? std::move(resultat) : std::move(erreur);
            {
                const std::lock_guard verrou(mutex_);
                faits_.emplace_back(tache.tour, std::move(r));
            }
            fait_.notify_all();
        }
    }

    const TCalculTache& calcul_;
    std::mutex mutex_;
    std::condition_variable travail_;
    std::condition_variable fait_;
    std::deque<TTache> attente_;
    std::vector<std::pair<std::uint64_t, TResultatTache>> faits_;
    bool fin_ = false;
    std::vector<std::thread> fils_;
};

// ---- the distributor ----

namespace {

#ifdef VELMORA_MPI
// one transport per process: MPI starts once
std::unique_ptr<TTransportMpi>& Transport() {
    static std::unique_ptr<TTransportMpi> transport;
    return transport;
}
#endif

// polling the network: at once while messages flow, then less and less often
class TAttente {
public:
    void Actif() { delai_ = 50us; }
    std::chrono::microseconds Suivante() {
        const auto d = delai_;
        delai_ = std::min<std::chrono::microseconds>(delai_ * 2, 2ms);
        return d;
    }

private:
    std::chrono::microseconds delai_ = 50us;
};

}  // namespace

bool TRepartiteur::MpiDisponible() {
#ifdef VELMORA_MPI
    return true;
#else
    return false;
#endif
}

bool TRepartiteur::LanceParMpi() {
    // mpirun (Open MPI), then the process managers srun and others talk to (PMIx, PMI)
    for (const char* variable : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"})
        if (std::getenv(variable)) return true;
    return false;
}

int TRepartiteur::RangSelonLanceur() {
    for (const char* variable : {"OMPI_COMM_WORLD_RANK", "PMIX_RANK", "PMI_RANK"})
        if (const char* valeur = std::getenv(variable)) return std::atoi(valeur);
    return 0;
}

TRepartiteur::TRepartiteur(TCalculTache calcul, int nbFils) : calcul_(std::move(calcul)) {
    nbFils_ = nbFils > 0 ? nbFils : int(std::thread::hardware_concurrency());
    nbFils_ = std::clamp(nbFils_, 1, kNbFilsMax);
#ifdef VELMORA_MPI
    if (LanceParMpi()) {
        if (!Transport()) Transport() = std::make_unique<TTransportMpi>();
        mpi_ = true;
        rang_ = Transport()->Rang();
        nbRangs_ = Transport()->NbRangs();
    }
#endif
    places_.assign(size_t(nbRangs_), 0);
    enCours_.assign(size_t(nbRangs_), 0);
    dernierSigne_.assign(size_t(nbRangs_), MaintenantNs());
    places_[0] = nbFils_;
    atelier_ = std::make_unique<TAtelier>(calcul_, nbFils_);
}

TRepartiteur::~TRepartiteur() {
#ifdef VELMORA_MPI
    if (mpi_ && Principal() && nbRangs_ > 1 && !rangPerdu_) {
        // every rank stops; what it still sends is read and dropped, until it says it is done
        for (int r = 1; r < nbRangs_; ++r) Transport()->Envoie(r, eFin, {});
        std::vector<bool> fini(static_cast<size_t>(nbRangs_), false);
        int finis = 0;
        TAttente attente;
        while (finis < nbRangs_ - 1 && !rangPerdu_) {
            int source = 0, etiquette = 0;
            std::string octets;
            if (Transport()->Recoit(source, etiquette, octets)) {
                NoteSigne(source);
                if (etiquette == eFini && !fini[size_t(source)]) {
                    fini[size_t(source)] = true;
                    ++finis;
                }
                attente.Actif();
                continue;
            }
            Transport()->Avance();
            for (int r = 1; r < nbRangs_; ++r)
                rangPerdu_ =
                    rangPerdu_ || (!fini[size_t(r)] &&
                                   double(MaintenantNs() - dernierSigne_[size_t(r)]) / 1e9 > delaiRangs_);
            std::this_thread::sleep_for(attente.Suivante());
        }
    }
    // a silent rank cannot be told to stop: the whole job ends here, that rank with it
    if (mpi_ && rangPerdu_ && nbRangs_ > 1) Transport()->Abandonne(abandon_);
#endif
    atelier_.reset();
#ifdef VELMORA_MPI
    if (mpi_) Transport().reset();
#endif
}

std::string TRepartiteur::Difference(const std::string& a, const std::string& b, const std::string& nomA,
                                     const std::string& nomB) {
    // each line split at its first space: the name, then the value
    const auto lignes = [](const std::string& texte) {
        std::vector<std::pair<std::string, std::string>> v;
        size_t debut = 0;
        while (debut < texte.size()) {
            size_t fin = texte.find('\n', debut);
            if (fin == std::string::npos) fin = texte.size();
            const std::string ligne = texte.substr(debut, fin - debut);
            const size_t espace = ligne.find(' ');
            v.emplace_back(ligne.substr(0, espace),
                           espace == std::string::npos ? "" : ligne.substr(espace + 1));
            debut = fin + 1;
        }
        return v;
    };
    const auto la = lignes(a);
    const auto lb = lignes(b);
    for (size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const std::string nom = i < la.size() ? la[i].first : lb[i].first;
        const std::string va = i < la.size() ? la[i].second : "(absent)";
        const std::string vb = i < lb.size() && lb[i].first == nom ? lb[i].second : "(absent)";
        if (va == vb && (i >= lb.size() || lb[i].first == nom)) continue;
        std::string ecart = nom;
        ecart += " : " + va;
        ecart += " " + nomA;
        ecart += ", " + vb;
        ecart += " " + nomB;
        return ecart;
    }
    return {};
}

void TRepartiteur::NoteSigne(int rang) {
    if (rang >= 0 && rang < nbRangs_) dernierSigne_[size_t(rang)] = MaintenantNs();
}

int TRepartiteur::RangMuet() const {
    const std::int64_t maintenant = MaintenantNs();
    for (int r = 1; r < nbRangs_; ++r)
        if (enCours_[size_t(r)] > 0 && double(maintenant - dernierSigne_[size_t(r)]) / 1e9 > delaiRangs_)
            return r;
    return 0;
}

bool TRepartiteur::Accorde(const std::string& configuration, std::string* erreur) {
#ifdef VELMORA_MPI
    if (!mpi_ || !Principal() || nbRangs_ < 2) return true;
    for (int r = 1; r < nbRangs_; ++r) {
        Transport()->Envoie(r, eConfig, configuration);
        NoteSigne(r);
    }
    // every rank's answer: how its own configuration differs, empty when it does not
    std::vector<std::optional<std::string>> ecarts(static_cast<size_t>(nbRangs_));
    int reponses = 0;
    TAttente attente;
    while (reponses < nbRangs_ - 1) {
        int source = 0, etiquette = 0;
        std::string octets;
        if (Transport()->Recoit(source, etiquette, octets)) {
            NoteSigne(source);
            if (etiquette == ePret && octets.size() == 8)
                places_[size_t(source)] = int(std::clamp<std::uint64_t>(LitEntier(octets, 0), 1, kNbFilsMax));
            if (etiquette == eAccord && !ecarts[size_t(source)]) {
                ecarts[size_t(source)] = octets;
                ++reponses;
            }
            attente.Actif();
            continue;
        }
        Transport()->Avance();
        for (int r = 1; r < nbRangs_; ++r) {
            if (ecarts[size_t(r)] || double(MaintenantNs() - dernierSigne_[size_t(r)]) / 1e9 <= delaiRangs_)
                continue;
            rangPerdu_ = true;
            if (erreur) *erreur = Silence(r, delaiRangs_);
            return false;
        }
        std::this_thread::sleep_for(attente.Suivante());
    }
    for (int r = 1; r < nbRangs_; ++r) {
        if (ecarts[size_t(r)]->empty()) continue;
        if (erreur)
            *erreur = "le rang " + std::to_string(r) +
                      " n'a pas la configuration du rang 0 : " + *ecarts[size_t(r)];
        return false;
    }
#else
    (void)configuration;
    (void)erreur;
#endif
    return true;
}

// what one round of Repartis keeps track of
struct TRepartiteur::TRonde {
    TRonde(const std::vector<std::string>& t, const TReceptionTache& r) : taches(t), recoit(r) {}
    const std::vector<std::string>& taches;
    const TReceptionTache& recoit;
    size_t prochain = 0;
    size_t recus = 0;
    bool ok = true;
    std::string erreur;
};

void TRepartiteur::Distribue(TRonde& ronde) {
    // every free worker of every rank gets a task, the other ranks' first
    const size_t n = ronde.taches.size();
    for (int k = 1; k <= nbRangs_ && ronde.prochain < n; ++k) {
        const int r = k % nbRangs_;
        while (enCours_[size_t(r)] < places_[size_t(r)] && ronde.prochain < n) {
            if (r == 0) {
                atelier_->Ajoute(tour_, ronde.prochain, ronde.taches[ronde.prochain]);
            } else {
#ifdef VELMORA_MPI
                std::string message;
                AjouteEntier(message, tour_);
                AjouteEntier(message, ronde.prochain);
                message += ronde.taches[ronde.prochain];
                Transport()->Envoie(r, eTache, std::move(message));
                // its silence is counted from the task it got
                if (enCours_[size_t(r)] == 0) NoteSigne(r);
#endif
            }
            ++enCours_[size_t(r)];
            ++ronde.prochain;
        }
    }
}

void TRepartiteur::Accueille(TRonde& ronde, std::uint64_t tour, TResultatTache&& r) {
    // its rank has room again; the results of this round go to the caller
    --enCours_[size_t(r.Rang)];
    if (tour != tour_ || !ronde.ok) return;
    ++ronde.recus;
    if (!ronde.recoit(std::move(r))) {
        ronde.ok = false;
        ronde.erreur = "répartition arrêtée";
    }
}

bool TRepartiteur::RecupereLocaux(TRonde& ronde) {
    std::vector<std::pair<std::uint64_t, TResultatTache>> locaux;
    atelier_->Recupere(locaux);
    for (auto& [tour, r] : locaux) {
        r.Rang = 0;
        Accueille(ronde, tour, std::move(r));
    }
    return !locaux.empty();
}

bool TRepartiteur::RecoitDesRangs(TRonde& ronde) {
    bool actif = false;
#ifdef VELMORA_MPI
    if (!mpi_) return false;
    int source = 0, etiquette = 0;
    std::string octets;
    while (ronde.ok && Transport()->Recoit(source, etiquette, octets)) {
        actif = true;
        NoteSigne(source);
        if (etiquette == ePret && octets.size() == 8) {
            places_[size_t(source)] = int(std::clamp<std::uint64_t>(LitEntier(octets, 0), 1, kNbFilsMax));
        } else if (etiquette == eResultat && octets.size() >= 17) {
            TResultatTache r;
            const std::uint64_t tour = LitEntier(octets, 0);
            r.Index = size_t(LitEntier(octets, 8));
            r.Reussi = octets[16] != 0;
            r.Contenu = octets.substr(17);
            r.Rang = source;
            Accueille(ronde, tour, std::move(r));
        }
    }
    Transport()->Avance();
#else
    (void)ronde;
#endif
    return actif;
}

bool TRepartiteur::Repartis(const std::vector<std::string>& taches, const TReceptionTache& recoit,
                            const std::atomic<bool>* arret, std::string* erreur) {
    if (!Principal()) {
        if (erreur) *erreur = "seul le rang 0 répartit les tâches";
        return false;
    }
    // results of an earlier round cut short are recognised by their round and dropped
    ++tour_;
    TRonde ronde{taches, recoit};
    TAttente attente;
    while (ronde.ok && ronde.recus < taches.size()) {
        Distribue(ronde);
        const bool locaux = RecupereLocaux(ronde);
        const bool actif = RecoitDesRangs(ronde) || locaux;
        if (arret && arret->load()) {
            ronde.ok = false;
            ronde.erreur = "interrompu";
        }
        if (const int muet = RangMuet(); muet != 0 && ronde.ok) {
            ronde.ok = false;
            ronde.erreur = Silence(muet, delaiRangs_);
            rangPerdu_ = true;
        }
        if (!ronde.ok || ronde.recus == taches.size()) break;
        if (actif) {
            attente.Actif();
        } else {
            // alone, only the stop flag needs a look now and then
            atelier_->Attends(mpi_ ? attente.Suivante() : std::chrono::microseconds(100ms));
        }
    }
    // what was handed to this rank's threads and not started will never come back
    if (!ronde.ok) enCours_[0] -= atelier_->Abandonne();
    if (!ronde.ok && erreur) *erreur = ronde.erreur;
    return ronde.ok;
}

void TRepartiteur::Sert(const std::string& configuration) {
#ifdef VELMORA_MPI
    if (!mpi_ || Principal()) return;
    std::string pret;
    AjouteEntier(pret, std::uint64_t(nbFils_));
    Transport()->Envoie(0, ePret, std::move(pret));
    TAttente attente;
    auto signe = std::chrono::steady_clock::now();
    bool fin = false;
    while (!fin) {
        bool actif = false;
        int source = 0, etiquette = 0;
        std::string octets;
        while (!fin && Transport()->Recoit(source, etiquette, octets)) {
            actif = true;
            if (etiquette == eFin) {
                fin = true;
            } else if (etiquette == eConfig) {
                Transport()->Envoie(0, eAccord,
                                    Difference(octets, configuration, "sur le rang 0",
                                               "sur le rang " + std::to_string(rang_)));
            } else if (etiquette == eTache && octets.size() >= 16) {
                atelier_->Ajoute(LitEntier(octets, 0), size_t(LitEntier(octets, 8)), octets.substr(16));
            }
        }
        if (fin) break;
        actif = RenvoieResultats() || actif;
        // rank 0 counts a silent rank as lost: a long task is no silence
        if (std::chrono::steady_clock::now() - signe >= kIntervalleSignes) {
            Transport()->Envoie(0, eSigne, {});
            signe = std::chrono::steady_clock::now();
        }
        Transport()->Avance();
        if (actif) {
            attente.Actif();
        } else {
            atelier_->Attends(attente.Suivante());
        }
    }
    // the tasks still running end, their results are not wanted any more
    atelier_.reset();
    Transport()->Envoie(0, eFini, {});
    Transport()->Vide();
    atelier_ = std::make_unique<TAtelier>(calcul_, 0);
#else
    (void)configuration;
#endif
}

bool TRepartiteur::RenvoieResultats() {
#ifdef VELMORA_MPI
    std::vector<std::pair<std::uint64_t, TResultatTache>> faits;
    atelier_->Recupere(faits);
    for (auto& [tour, r] : faits) {
        std::string message;
        AjouteEntier(message, tour);
        AjouteEntier(message, r.Index);
        message.push_back(r.Reussi ? 1 : 0);
        message += r.Contenu;
        Transport()->Envoie(0, eResultat, std::move(message));
    }
    return !faits.empty();
#else
    return false;
#endif
}
