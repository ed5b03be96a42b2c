// Spreads independent tasks over the cores of one machine or, when an MPI launcher (mpirun, srun)
// started the program, over the ranks of the job. Rank 0 hands out one task at a time to whichever
// rank has a free worker thread, so that tasks of very different costs keep every core busy; every
// result comes back to rank 0, which gets them one by one on its calling thread. A task is a text
// (what to compute), its result a text: what they mean is the caller's business, and the same
// caller code runs on every rank. No Qt.
//
//     TRepartiteur repartiteur(calcul, nbFils);
//     if (!repartiteur.Principal()) { repartiteur.Sert(); return; }   // ranks 1..N-1
//     repartiteur.Repartis(taches, recoit, erreur);                      // rank 0, as often as needed
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// one finished task, as rank 0 receives it
struct TResultatTache {
    std::size_t Index = 0;  // in the list given to Repartis
    bool Reussi = false;
    std::string Contenu;  // the result, or the reason of the failure
    int Rang = 0;         // the rank that computed it
};

// Computes one task on the calling worker thread; false with the reason in erreur. Runs on
// several threads at once: it must not share state between calls. An exception counts as a
// failure of that task.
using TCalculTache =
    std::function<bool(const std::string& tache, std::string& resultat, std::string& erreur)>;
// Rank 0 takes a result (in the order they finish: a caller that adds results up keeps them by
// Index and adds them in that order, so that the sum is the same for any number of ranks and
// threads); false stops the distribution.
using TReceptionTache = std::function<bool(TResultatTache&& resultat)>;

class TRepartiteur {
  public:
    // Starts MPI when an MPI launcher started this process (and the program was built with it);
    // nbFils tasks at once on this rank, 0 for one per core. Throws std::runtime_error (its
    // message readable) when MPI cannot start. Under MPI, one distributor per process: MPI
    // cannot start again once stopped.
    explicit TRepartiteur(TCalculTache calcul, int nbFils = 0);
    // rank 0 ends the other ranks' Sert; MPI stops
    ~TRepartiteur();
    TRepartiteur(const TRepartiteur&) = delete;
    TRepartiteur& operator=(const TRepartiteur&) = delete;

    // built with MPI
    static bool MpiDisponible();
    // this process was started by an MPI launcher (its environment says so)
    static bool LanceParMpi();
    // its rank as the launcher announces it, before MPI starts (0 without a launcher)
    static int RangSelonLanceur();

    bool Mpi() const { return mpi_; }
    int Rang() const { return rang_; }
    int NbRangs() const { return nbRangs_; }
    bool Principal() const { return rang_ == 0; }
    int NbFils() const { return nbFils_; }

    // Rank 0: every task computed somewhere, each result handed to recoit on this thread as it
    // comes. False with the reason when recoit asked to stop or *arret became true (checked
    // every few milliseconds); the tasks then still out are dropped.
    bool Repartis(const std::vector<std::string>& taches, const TReceptionTache& recoit, std::string& erreur,
                  const std::atomic<bool>* arret = nullptr);
    // Other ranks: computes what rank 0 hands out, until rank 0 is done with the distributor.
    void Sert();

  private:
    class TAtelier;

    TCalculTache calcul_;
    int nbFils_ = 1;
    bool mpi_ = false;
    int rang_ = 0;
    int nbRangs_ = 1;
    std::unique_ptr<TAtelier> atelier_;
    // per rank: tasks it can take at once (0 until it said), tasks it holds now
    std::vector<int> places_;
    std::vector<int> enCours_;
    std::uint64_t tour_ = 0;  // rounds of Repartis
};
