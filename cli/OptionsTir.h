// Options shared by the commands that compute a shot.
#pragma once

#include <string>
#include <vector>

#include "sim/C1_Types.h"

struct TOptionsTir {
    std::string fichier;  // the position or launch file
    std::string fsk;      // physical parameters, empty when not given
    TModeDeJeu mode = j3Bandes;
    std::string exportPvr;  // ".pvr" export, empty when not asked
    bool json = false;
};

// the options' part of a command's help
extern const char* const kAideOptionsTir;

// false with the message when the command line is not usable
bool LitOptionsTir(const std::vector<std::string>& args, TOptionsTir& options, std::string* erreur = nullptr);
