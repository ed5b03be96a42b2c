// Options of the shot solver on the command line, shared by "solve" and "batch solve".
#pragma once

#include <string>
#include <vector>

#include "cli/OptionsTir.h"
#include "moteurs/SolveurCoups.h"

struct TOptionsSolve {
    TOptionsTir tir;
    int top = 5;
    long long budget = TOptionsSolveur{}.Budget;
    int nbThreads = 0;
    bool masse = false;
    std::string dossier;
};

// --top, --budget, --threads, --save and --massé, then the shot options (--export refused).
// False with the message.
bool LitOptionsSolve(const std::vector<std::string>& args, TOptionsSolve& o, std::string* erreur = nullptr);
