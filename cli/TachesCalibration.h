// The tasks of a calibration and their results as they cross between the ranks of an MPI job: text
// where every number is the hexadecimal of its bits, so that a rank computes exactly what rank 0
// would.
#pragma once

#include <sstream>
#include <string>

#include "moteurs/CalibrationTable.h"

void AjouteAjustement(std::string& texte, const TResultatAjustement& r);
bool LitAjustement(std::istringstream& in, TResultatAjustement& r);

// the task: the shot, the kind of fit, its start and the calibrable constants of the trial set
std::string EncodeTache(const TPARAMPHYS& fisik, const TTacheCoup& tache);
// false when the text is no task of this calibration
bool DecodeTache(const std::string& texte, const TCalibrationTable& calibration, TPARAMPHYS& fisik,
                 TTacheCoup& tache);
