// Calibrating a table on recorded shots: the constants of a ".fsk" (the user chooses which) for
// which the recordings, each played with its own fitted cue, are best reproduced over all balls.
// A trial set of constants is judged by fitting every training shot under it, independently: a
// list of tasks that a dispatcher maps over threads (the default) or machines, and whose results
// are summed in shot order, so the outcome is the same whatever the number of threads or ranks.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "moteurs/AjustementCoup.h"

// a constant the calibration may fit, with the range it searches
struct TConstanteCalibrable {
    const char* Nom;  // the property's name, as the ".fsk" key
    double TConstantesPhys::*Champ;
    double Min;
    double Max;
};
const std::vector<TConstanteCalibrable>& ConstantesCalibrables();
// index in ConstantesCalibrables, none for an unknown name
std::optional<int> TrouveConstante(const std::string& nom);
// rolling and sliding friction, ball-ball restitution and friction, and the cushion model's
// restitution and friction (today's model: ElastBiBde, FrotBiBde; the stepped one: ElastMathavan,
// FrotMathavan)
std::vector<int> ConstantesParDefaut(TModeleBande modele = mbImpulsion);

// one shot's fit under a trial set: the whole fit, or a local search from a cue already found
struct TTacheCoup {
    int Coup = 0;  // index of the recording
    bool Complet = true;
    TResultatAjustement Depart;  // for a local search
};

// Runs every task (fisik = the trial set) and returns the results in the tasks' order. Each task
// is a pure function of its arguments (TCalibrationTable::AjusteTache), so it may run anywhere.
using TRepartiteurCalibration = std::function<std::vector<TResultatAjustement>(
    const TPARAMPHYS& fisik, const std::vector<TTacheCoup>& taches)>;

struct TOptionsCalibration {
    std::vector<int> Constantes = ConstantesParDefaut();
    TOptionsAjustement Ajustement = [] {
        TOptionsAjustement o;
        o.ScoreToutes = true;
        return o;
    }();
    int NbTours = 2;           // each tour refits every shot fully, then searches the constants
    int EssaisParTour = 40;    // trial sets per tour
    int EvalsAffinage = 120;   // shots per local search of a trial
    double PasInitial = 0.1;   // first step of the constants, as a share of their value (halved
                               // at the second tour)
    double PartRetenue = 0.8;  // share of the shots, the best ones, whose scores judge a trial
    int NbThreads = 0;         // the default dispatcher's threads; 0: one per core
};

struct TProgressionCalibration {
    int Essai = 0;        // trial sets judged so far
    int NbEssais = 0;     // planned
    double Meilleur = 0;  // best mean score so far (cm)
};

// the mean and median of the all-balls score (cm) of some shots, each with its fitted cue
struct TBilanScores {
    double Moyenne = 0;
    double Mediane = 0;
    double MedianeBille1 = 0;
    std::vector<TResultatAjustement> Coups;
};

struct TResultatCalibration {
    TPARAMPHYS Fisik;             // the start with the fitted constants
    std::vector<double> Valeurs;  // the fitted constants, in the order asked
    TBilanScores EntrainementDepart, Entrainement;
    TBilanScores ValidationDepart, Validation;  // empty when no shot was held out
    int NbEssais = 0;
    long NbCoups = 0;
    double Secondes = 0;
    bool Interrompu = false;
};

class TCalibrationTable {
public:
    TCalibrationTable(const TPARAMPHYS& depart, std::vector<TCoupEnregistre> coups);

    const TPARAMPHYS& Depart() const { return depart_; }
    const std::vector<TCoupEnregistre>& Coups() const { return coups_; }

    // the start with these values of the chosen constants (clamped to their ranges)
    TPARAMPHYS Fisik(const std::vector<int>& constantes, const std::vector<double>& valeurs) const;
    // one task: pure, the same on any thread or machine
    TResultatAjustement AjusteTache(const TPARAMPHYS& fisik, const TTacheCoup& tache,
                                    const TOptionsAjustement& options, int evalsAffinage) const;
    // every shot of the list fitted fully under fisik, and the scores
    TBilanScores Bilan(const TPARAMPHYS& fisik, const std::vector<int>& coups,
                       const TOptionsCalibration& options, const TRepartiteurCalibration& repartiteur) const;

    // the calibration on the training shots, judged on the held-out ones; `repartiteur` empty:
    // threads on this machine
    TResultatCalibration Calibre(
        const std::vector<int>& entrainement, const std::vector<int>& validation,
        const TOptionsCalibration& options, TRepartiteurCalibration repartiteur = {},
        const std::atomic<bool>* arret = nullptr,
        const std::function<void(const TProgressionCalibration&)>& progression = {}) const;

private:
    struct TEtatCalibration;
    // one trial set of constants (relative values) judged on the training shots
    double Essai(TEtatCalibration& e, const std::vector<double>& xv) const;
    // one tour: the shots refitted under the best constants (after the first), then the search
    void Tour(TEtatCalibration& e, int tour) const;
    // the fitted constants, and the scores of the training and held-out shots under them
    void Conclut(TEtatCalibration& e, const std::vector<int>& validation, TResultatCalibration& res) const;

    TPARAMPHYS depart_;
    std::vector<TCoupEnregistre> coups_;
};

// the dispatcher of one machine: the tasks shared out over nbThreads threads (0: one per core)
TRepartiteurCalibration RepartiteurThreads(const TCalibrationTable& calibration, int nbThreads,
                                           const TOptionsAjustement& options, int evalsAffinage);
