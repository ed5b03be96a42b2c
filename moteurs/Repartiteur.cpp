#include "moteurs/Repartiteur.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <exception>
#include <mutex>
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
};

constexpr int kNbFilsMax = 256;

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
                r.Reussi = calcul_(tache.texte, resultat, erreur);
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
    places_[0] = nbFils_;
    atelier_ = std::make_unique<TAtelier>(calcul_, nbFils_);
}

TRepartiteur::~TRepartiteur() {
#ifdef VELMORA_MPI
    if (mpi_ && Principal() && nbRangs_ > 1) {
        // every rank stops; what it still sends is read and dropped, until it says it is done
        for (int r = 1; r < nbRangs_; ++r) Transport()->Envoie(r, eFin, {});
        int finis = 0;
        TAttente attente;
        while (finis < nbRangs_ - 1) {
            int source = 0, etiquette = 0;
            std::string octets;
            if (Transport()->Recoit(source, etiquette, octets)) {
                if (etiquette == eFini) ++finis;
                attente.Actif();
                continue;
            }
            Transport()->Avance();
            std::this_thread::sleep_for(attente.Suivante());
        }
    }
#endif
    atelier_.reset();
#ifdef VELMORA_MPI
    if (mpi_) Transport().reset();
#endif
}

bool TRepartiteur::Repartis(const std::vector<std::string>& taches, const TReceptionTache& recoit,
                            std::string& erreur, const std::atomic<bool>* arret) {
    if (!Principal()) {
        erreur = "seul le rang 0 répartit les tâches";
        return false;
    }
    // results of an earlier round cut short are recognised by their round and dropped
    ++tour_;
    const size_t n = taches.size();
    size_t prochain = 0;
    size_t recus = 0;
    std::vector<std::pair<std::uint64_t, TResultatTache>> locaux;
    TAttente attente;

    // a result: its rank has room again; those of this round go to the caller
    bool ok = true;
    const auto accueille = [&](std::uint64_t tour, TResultatTache&& r) {
        --enCours_[size_t(r.Rang)];
        if (tour != tour_ || !ok) return;
        ++recus;
        if (!recoit(std::move(r))) {
            ok = false;
            erreur = "répartition arrêtée";
        }
    };

    while (ok && recus < n) {
        // every free worker of every rank gets a task, the other ranks' first
        for (int k = 1; k <= nbRangs_ && prochain < n; ++k) {
            const int r = k % nbRangs_;
            while (enCours_[size_t(r)] < places_[size_t(r)] && prochain < n) {
                if (r == 0) {
                    atelier_->Ajoute(tour_, prochain, taches[prochain]);
                } else {
#ifdef VELMORA_MPI
                    std::string message;
                    AjouteEntier(message, tour_);
                    AjouteEntier(message, prochain);
                    message += taches[prochain];
                    Transport()->Envoie(r, eTache, std::move(message));
#endif
                }
                ++enCours_[size_t(r)];
                ++prochain;
            }
        }

        bool actif = false;
        locaux.clear();
        atelier_->Recupere(locaux);
        for (auto& [tour, r] : locaux) {
            r.Rang = 0;
            accueille(tour, std::move(r));
            actif = true;
        }
#ifdef VELMORA_MPI
        if (mpi_) {
            int source = 0, etiquette = 0;
            std::string octets;
            while (ok && Transport()->Recoit(source, etiquette, octets)) {
                actif = true;
                if (etiquette == ePret && octets.size() == 8) {
                    places_[size_t(source)] =
                        int(std::clamp<std::uint64_t>(LitEntier(octets, 0), 1, kNbFilsMax));
                } else if (etiquette == eResultat && octets.size() >= 17) {
                    TResultatTache r;
                    const std::uint64_t tour = LitEntier(octets, 0);
                    r.Index = size_t(LitEntier(octets, 8));
                    r.Reussi = octets[16] != 0;
                    r.Contenu = octets.substr(17);
                    r.Rang = source;
                    accueille(tour, std::move(r));
                }
            }
            Transport()->Avance();
        }
#endif
        if (arret && arret->load()) {
            ok = false;
            erreur = "interrompu";
        }
        if (!ok || recus == n) break;
        if (actif) {
            attente.Actif();
        } else {
            // alone, only the stop flag needs a look now and then
            atelier_->Attends(mpi_ ? attente.Suivante() : std::chrono::microseconds(100ms));
        }
    }
    // what was handed to this rank's threads and not started will never come back
    if (!ok) enCours_[0] -= atelier_->Abandonne();
    return ok;
}

void TRepartiteur::Sert() {
#ifdef VELMORA_MPI
    if (!mpi_ || Principal()) return;
    std::string pret;
    AjouteEntier(pret, std::uint64_t(nbFils_));
    Transport()->Envoie(0, ePret, std::move(pret));
    std::vector<std::pair<std::uint64_t, TResultatTache>> faits;
    TAttente attente;
    bool fin = false;
    while (!fin) {
        bool actif = false;
        int source = 0, etiquette = 0;
        std::string octets;
        while (!fin && Transport()->Recoit(source, etiquette, octets)) {
            actif = true;
            if (etiquette == eFin) {
                fin = true;
            } else if (etiquette == eTache && octets.size() >= 16) {
                atelier_->Ajoute(LitEntier(octets, 0), size_t(LitEntier(octets, 8)), octets.substr(16));
            }
        }
        if (fin) break;
        faits.clear();
        atelier_->Recupere(faits);
        for (auto& [tour, r] : faits) {
            std::string message;
            AjouteEntier(message, tour);
            AjouteEntier(message, r.Index);
            message.push_back(r.Reussi ? 1 : 0);
            message += r.Contenu;
            Transport()->Envoie(0, eResultat, std::move(message));
            actif = true;
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
#endif
}
