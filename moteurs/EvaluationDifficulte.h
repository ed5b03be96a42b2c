// Difficulty of a shot: every variation of a regular grid around the current cue is played from
// the balls at rest, and the variations that make the point are counted (and saved to a ".bul").
// The trials run on several threads, one simulation object each, with exactly the results of the
// plain nested loops (Effet outermost, then Hauteur, aim, speed, inclination, mass): the same
// successes, recorded in the order those loops would play them. No Qt: the desktop window and
// the command line drive it alike (Demarre, then Progression polled, Arrete, Attends).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "jeu/Queue.h"
#include "moteurs/FileStreamOfSingle.h"
#include "sim/C8_BillardVelmora.h"

// rows of the grid, outermost loop first; also the order of a ".bul" record
enum TParamEssai : int { peEffet, peHauteur, peVisee, peVitesse, peInclinaison, peMasse };
inline constexpr int NbParamsEssai = 6;

// the rows follow the fields of TQueueDegres: its Valeur(param) is the cue's value of a row

inline constexpr int NbEssaisMax = 500;  // keeps the grid's total within 64 bits
inline constexpr double IncrementMin = 0.01;
// speeds and masses below this are not played (and not counted as trials)
inline constexpr double SeuilVitesseMasse = 0.1;

// The trial grid: per row, the trials on each side of the cue's value and their step.
struct TGrilleDifficulte {
    std::array<int, NbParamsEssai> NbEssais{5, 5, 5, 2, 0, 0};
    std::array<float, NbParamsEssai> Increment{0.1f, 0.1f, 0.1f, 10.0f, 2.0f, 10.0f};

    // Π (2 × NbEssais + 1): cells of the grid, skipped speeds and masses included (6655 at first)
    std::int64_t NbTotal() const;
    // Π of the increments: the parameter volume one trial stands for (0.2 at first)
    double VolumeCellule() const;
    double VolumeTeste() const { return static_cast<double>(NbTotal()) * VolumeCellule(); }

    // the limits every entry goes through: a count rounded, negative as 0, at most NbEssaisMax;
    // an increment of at least 0.01 (anything not a number counts as 0.01)
    static int BorneNbEssais(double valeur);
    static float BorneIncrement(double valeur);
    TGrilleDifficulte Bornee() const;
};

// offsets k (−NbEssais .. +NbEssais) of the six rows for one cell, in loop order
using TDecalages = std::array<int, NbParamsEssai>;

// cell c (0 .. NbTotal − 1, in the order the nested loops visit them) and its offsets
TDecalages DecalagesCellule(const TGrilleDifficulte& grille, std::int64_t cellule);
// the next cell's offsets (innermost row first); false after the last one
bool CelluleSuivante(const TGrilleDifficulte& grille, TDecalages& k);
// the cue fields a cell plays: value of the cue + k × increment, angles in radians; false when
// its speed or mass is below 0.1 (the cell is not a trial)
bool ParamCellule(const TQueueDegres& queue, const TGrilleDifficulte& grille, const TDecalages& k,
                  TParamQueue& p);
// a trial as a ".bul" record: the cue fields with the angles in degrees
TEnregistrementBul EnregistrementBul(const TParamQueue& p);
// head of the ".bul": ball positions of photo 0, then value ± NbEssais × Increment per row
TEnteteBul EnteteBul(const TBillardVelmora& simu, const TQueueDegres& queue, const TGrilleDifficulte& grille);

struct TOptionsDifficulte {
    int NbThreads = 0;                // 0: one per core
    std::string NomBul;               // results file written as given (see NomBul); empty: none
    double DureeMilleInitiale = 3.0;  // s per 1000 trials until the first trial is timed
};

// a snapshot of a running (or finished) calculation; any thread may ask for one
struct TProgressionDifficulte {
    std::int64_t NbTotal = 0;
    std::int64_t CellulesFaites = 0;  // grid cells done, skipped ones included
    std::int64_t EssaisFaits = 0;     // trials played
    std::int64_t Reussis = 0;
    double Secondes = 0;    // since the start
    double DureeMille = 3;  // s per 1000 trials, measured once a trial is done
    bool EnCours = false;

    // what the window shows: trials left and their time (stays above 0 when cells were skipped)
    std::int64_t EssaisRestants() const { return NbTotal - EssaisFaits; }
    double SecondesRestantes() const { return static_cast<double>(EssaisRestants()) * DureeMille / 1000; }
    // share of the grid done, 0..1 (for a progress bar)
    double Fraction() const { return NbTotal > 0 ? double(CellulesFaites) / double(NbTotal) : 1.0; }
};

struct TResultatDifficulte {
    std::int64_t NbTotal = 0;
    std::int64_t NbEssais = 0;  // trials played
    std::int64_t NbReussis = 0;
    double VolumeCellule = 0;
    double VolumeTeste = 0;   // NbTotal × VolumeCellule
    double VolumeReussi = 0;  // NbReussis × VolumeCellule
    double Secondes = 0;
    double DureeMille = 3;    // measured, for the next estimate
    bool Complet = false;     // every cell done
    bool Interrompu = false;  // stopped by Arrete
    std::string Erreur;       // the results file could not be written (the calculation stopped)
};

class TEvaluationDifficulte {
public:
    // Takes what the trials need from the source simulation (Fisik, ModeDeJeu, the ball positions
    // of photo 0; velocities and rotations count as zero) and the cue and grid as they are now;
    // the source is not read again. The grid goes through its limits.
    TEvaluationDifficulte(const TBillardVelmora& source, const TQueueDegres& queue,
                          const TGrilleDifficulte& grille);
    // stops a calculation still running and waits for it
    ~TEvaluationDifficulte();
    TEvaluationDifficulte(const TEvaluationDifficulte&) = delete;
    TEvaluationDifficulte& operator=(const TEvaluationDifficulte&) = delete;

    // runs the whole calculation on the calling thread and the workers, and returns when done
    // (refused, with Erreur set, while another calculation of this object runs)
    TResultatDifficulte Execute(const TOptionsDifficulte& options = {});
    // the same on a background thread; false when a calculation is already running.
    // The way for a window: a stop asked at any time after this call is honoured.
    bool Demarre(const TOptionsDifficulte& options = {});
    // the background calculation has ended (Attends then returns at once)
    bool Termine() const { return termine_.load(); }
    TResultatDifficulte Attends();
    // asks the calculation to stop; each worker ends its current trial (any thread, any time)
    void Arrete() { arret_.store(true); }
    TProgressionDifficulte Progression() const;
    // seconds per 1000 trials of this grid on this machine with nbThreads workers (0: one per
    // core), timed on at most nbEssais trials of its first cells on the calling thread; 0 when
    // none of them is a trial. For the estimate shown before a calculation.
    double MesureDureeMille(int nbEssais, int nbThreads) const;

    // after the end: the cells that made the point, in play order (see DecalagesCellule)
    const std::vector<std::int64_t>& Reussites() const { return reussites_; }
    const TGrilleDifficulte& Grille() const { return grille_; }
    const TQueueDegres& Queue() const { return queue_; }
    const TEnteteBul& Entete() const { return entete_; }

private:
    // the calculation, enCours_ already set
    TResultatDifficulte Calcule(const TOptionsDifficulte& options);
    void Travaille();
    // a simulation object for the trials: the table and the mode of the evaluation
    std::unique_ptr<TBillardVelmora> Simulation() const;
    // plays the trial of cell k from the balls at rest; false for a cell the cue cannot play
    bool JoueEssai(TBillardVelmora& simu, const TDecalages& k) const;
    void Valide(std::int64_t bloc, std::vector<std::int64_t>& reussites);
    void Consigne(const std::vector<std::int64_t>& reussites);
    double SecondesDepuisDebut() const;

    // what every trial starts from
    TPARAMPHYS fisik_;
    TModeDeJeu mode_ = j3Bandes;
    std::array<TVecteur, NbBilles + 1> positions_{};
    TQueueDegres queue_;
    TGrilleDifficulte grille_;
    TEnteteBul entete_;
    std::int64_t nbTotal_ = 0;
    std::int64_t tailleBloc_ = 1;
    std::int64_t nbBlocs_ = 0;

    // progress, shared by the workers and read by anyone
    std::atomic<std::int64_t> prochainBloc_{0};
    std::atomic<std::int64_t> cellules_{0};
    std::atomic<std::int64_t> essais_{0};
    std::atomic<std::int64_t> reussis_{0};
    std::atomic<std::int64_t> debutNs_{0};
    std::atomic<double> dureeMilleInitiale_{3.0};
    std::atomic<bool> arret_{false};
    std::atomic<bool> enCours_{false};
    std::atomic<bool> termine_{true};
    std::atomic<bool> erreurEcriture_{false};

    // blocks done out of order wait here until the ones before them are recorded
    std::mutex mutex_;
    std::map<std::int64_t, std::vector<std::int64_t>> enAttente_;
    std::int64_t prochainAConsigner_ = 0;
    std::vector<std::int64_t> reussites_;
    TEcritureBul bul_;

    std::thread fond_;
    TResultatDifficulte resultat_;
};
