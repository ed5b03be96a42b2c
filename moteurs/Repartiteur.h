// Spreads independent tasks over the cores of one machine or, when an MPI launcher (mpirun, srun)
// started the program, over the ranks of the job. Rank 0 hands out one task at a time to whichever
// rank has a free worker thread, so that tasks of very different costs keep every core busy; every
// result comes back to rank 0, which gets them one by one on its calling thread. A task is a text
// (what to compute), its result a text: what they mean is the caller's business, and the same
// caller code runs on every rank. No Qt.
//
// Before they compute, the ranks agree: rank 0 hands its configuration (the options and the digests
// of the inputs) to every rank, and a rank whose own differs stops the job. A rank that stops
// answering (stopped, lost on a network) ends the job after a delay instead of stalling it.
//
//     TRepartiteur repartiteur(calcul, nbFils);
//     if (!repartiteur.Principal()) { repartiteur.Sert(configuration); return; }  // ranks 1..N-1
//     repartiteur.Accorde(configuration, &erreur);                              // rank 0
//     repartiteur.Repartis(taches, recoit, &arret, &erreur);                    // as often as needed
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

// Computes one task on the calling worker thread; false with the reason in *erreur. Runs on
// several threads at once: it must not share state between calls. An exception counts as a
// failure of that task.
using TCalculTache =
    std::function<bool(const std::string& tache, std::string& resultat, std::string* erreur)>;
// Rank 0 takes a result (in the order they finish: a caller that adds results up keeps them by
// Index and adds them in that order, so that the sum is the same for any number of ranks and
// threads); false stops the distribution.
using TReceptionTache = std::function<bool(TResultatTache&& resultat)>;

class TRepartiteur {
public:
    // the longest a rank holding tasks may stay silent by default (s): a rank sends a sign of life
    // every second while it serves, so only a rank that stopped goes that long
    static constexpr double DelaiRangsDefaut = 600;

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

    // The longest (s) a rank holding tasks, or asked to agree, may stay silent; past it rank 0
    // gives the job up (Repartis and Accorde fail naming the rank) and ends it when this object
    // goes, the silent rank included.
    void FixeDelaiRangs(double secondes) { delaiRangs_ = secondes; }

    // A configuration: one "name value" per line. The first line of two configurations that differ,
    // as "name : value-of-a nomA, value-of-b nomB"; empty when they are alike.
    static std::string Difference(const std::string& a, const std::string& b, const std::string& nomA,
                                  const std::string& nomB);

    bool Mpi() const { return mpi_; }
    int Rang() const { return rang_; }
    int NbRangs() const { return nbRangs_; }
    bool Principal() const { return rang_ == 0; }
    int NbFils() const { return nbFils_; }

    // Rank 0: hands its configuration to every other rank and waits for their answers. True when
    // every rank has the same one (at once without other ranks); false with the reason naming the
    // first rank that differs and how, or a rank that did not answer in time.
    bool Accorde(const std::string& configuration, std::string* erreur = nullptr);
    // Rank 0: every task computed somewhere, each result handed to recoit on this thread as it
    // comes. False with the reason when recoit asked to stop, *arret became true (checked every
    // few milliseconds) or a rank went silent; the tasks then still out are dropped.
    bool Repartis(const std::vector<std::string>& taches, const TReceptionTache& recoit,
                  const std::atomic<bool>* arret = nullptr, std::string* erreur = nullptr);
    // Rank 0, after a stop: the job ends when this object goes, without waiting for the other
    // ranks to finish what they hold (under MPI they end with it, status statut)
    void AbandonneRangs(int statut) {
        abandon_ = statut;
        rangPerdu_ = true;
    }
    // Other ranks: answers rank 0's configuration with the difference from this rank's own, and
    // computes what rank 0 hands out, until rank 0 is done with the distributor.
    void Sert(const std::string& configuration = {});

private:
    class TAtelier;
    struct TRonde;

    // the stages of one round of Repartis
    void Distribue(TRonde& ronde);
    void Accueille(TRonde& ronde, std::uint64_t tour, TResultatTache&& r);
    bool RecupereLocaux(TRonde& ronde);
    bool RecoitDesRangs(TRonde& ronde);
    // other ranks: the results their threads finished go to rank 0; whether there were any
    bool RenvoieResultats();
    // a rank holding tasks that has been silent too long: its number, or 0
    int RangMuet() const;
    void NoteSigne(int rang);

    TCalculTache calcul_;
    int nbFils_ = 1;
    bool mpi_ = false;
    int rang_ = 0;
    int nbRangs_ = 1;
    std::unique_ptr<TAtelier> atelier_;
    // per rank: tasks it can take at once (0 until it said), tasks it holds now
    std::vector<int> places_;
    std::vector<int> enCours_;
    // per rank: when rank 0 last heard from it (steady clock, ns)
    std::vector<std::int64_t> dernierSigne_;
    std::uint64_t tour_ = 0;  // rounds of Repartis
    double delaiRangs_ = DelaiRangsDefaut;
    bool rangPerdu_ = false;  // a rank went silent: the job ends when this object goes
    int abandon_ = 1;         // the job's status then
};
