// Options of the difficulty evaluation on the command line (the grid, the results file, the
// threads) and the cue it starts from, shared by "difficulty" and "batch difficulty".
#pragma once

#include <string>
#include <vector>

#include "moteurs/EvaluationDifficulte.h"

inline constexpr int kNbThreadsMaxDifficulte = 64;

struct TOptionsGrille {
    TGrilleDifficulte grille;
    std::string bul;
    int nbThreads = 0;
};

// takes --trials, --steps, --bul and --threads out of args (--export refused); the other
// arguments are left in reste, in order. False with the message.
bool LitOptionsGrille(const std::vector<std::string>& args, TOptionsGrille& o,
                      std::vector<std::string>& reste, std::string* erreur = nullptr);

// the cue as the desktop's cue model holds it after opening the file
TQueueDegres QueueDepuisSimu(const TBillardVelmora& simu);
