// The parameter file (".fsk"): the physical constants as an INI file of five sections.
#pragma once

#include <string>

#include "sim/ParamPhys.h"

// Reads a parameter file; a missing key or a bad number keeps the current value, and every constant
// is brought into its range. False (and erreur filled) when the file cannot be read: then nothing
// changes.
bool ChargeFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur = nullptr);
// Writes a parameter file (replacing entries in place in an existing one). False with the reason
// when it cannot be written: then neither the file nor p.NomFichierFisik changes.
bool SauveFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur = nullptr);
