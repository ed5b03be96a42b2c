// How closely a table plays real shots, read contact by contact over many recordings: each shot
// fitted, compared with its recording (FideliteCoup.h), and the comparisons gathered into tables
// of cushion rebounds by incoming angle, ball-ball hits by cut, last rolls, cushion-hit places by
// rank, and the distribution of the distances with the worst shots and where they part.
#pragma once

#include <atomic>
#include <vector>

#include "moteurs/FideliteCoup.h"

struct TOptionsFidelite {
    TOptionsAjustement Ajustement = [] {
        TOptionsAjustement o;
        o.ScoreToutes = true;
        return o;
    }();
    int NbThreads = 0;  // 0: one per core
    int NbPires = 5;    // worst shots listed
};

// every shot fitted and compared, in the order given (threads share them out; the same results)
std::vector<TFideliteCoup> CompareCoups(const TPARAMPHYS& fisik, const std::vector<TCoupEnregistre>& coups,
                                        const TOptionsFidelite& options,
                                        const std::atomic<bool>* arret = nullptr);

struct TStatistiques {
    double Mediane = 0;
    double Moyenne = 0;
    double Centile90 = 0;
};

// cushion hits whose recorded incoming angle lies in [Min, Max) degrees: means of each side
struct TClasseBande {
    double Min = 0, Max = 0;
    int N = 0;
    double EntreeReelle = 0, SortieReelle = 0, RapportReel = 0;
    double EntreeCalculee = 0, SortieCalculee = 0, RapportCalcule = 0;
};

// ball-ball hits whose recorded cut lies in [Min, Max) degrees
struct TClasseBille {
    double Min = 0, Max = 0;
    int N = 0;
    double CoupeReelle = 0, JetReel = 0, RapportReel = 0;
    double CoupeCalculee = 0, JetCalcule = 0, RapportCalcule = 0;
};

// a ball's n-th cushion hit: how far from the recorded one along the rail (cm) and in time (s), means
struct TRangBande {
    int Rang = 0;
    int N = 0;
    double EcartPosition = 0;
    double EcartTemps = 0;
};

struct TPireCoup {
    int Coup = 0;  // index in the list given
    double Score = 0;
    TSeparation Separation;
};

struct TRapportFidelite {
    int NbCoups = 0;
    bool Toutes = true;  // the fits scored every ball
    TStatistiques Bille1, TroisBilles;
    int RoutesReproduites = 0, SequencesReproduites = 0;
    int ContactsEnregistres = 0, ContactsCalcules = 0, ContactsApparies = 0;
    double EcartTempsMedian = 0, EcartPositionMedian = 0;  // |s|, cm
    std::vector<TClasseBande> Bandes;
    std::vector<TClasseBille> Billes;
    int NbRoulements = 0;
    double DecelerationReelle = 0, DecelerationCalculee = 0;  // medians, cm/s2
    std::vector<TRangBande> RangsBandes;                      // ball 1's cushions, 1st to 5th
    std::vector<TPireCoup> Pires;
    double SecondesMediane = 0;  // a fit's time
};

TRapportFidelite ResumeFidelite(const std::vector<TFideliteCoup>& coups, const TOptionsFidelite& options);
