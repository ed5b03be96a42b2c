// The JSON the commands print, written in one place: strings, the cue's simulation fields, and
// the solver's result. The engines return data; the command line writes it.
#pragma once

#include <string>
#include <vector>

#include "fichiers/ChaineJson.h"
#include "moteurs/SolveurCoups.h"

// {"Vq", "m", "AngleOx", "AngleTapis", "Effet", "Hauteur"}: the cue as the simulation plays it
std::string JsonQueue(const TParamQueue& p);
// the object of `velmora-sim solve --json`: {"routes": [...], "shots": N, "seconds": S, ...};
// fichiers[i] is route i's saved file ("" gives null)
std::string JsonSolveur(const TResultatSolveur& r, const std::vector<std::string>& fichiers = {});
