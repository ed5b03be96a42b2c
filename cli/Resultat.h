// What velmora-sim prints after a shot, and the export it writes on request.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/OptionsTir.h"
#include "sim/C8_BillardVelmora.h"

// the outcome as the main window shows it
const char* TexteResultat(const TBillardVelmora& simu);
// a number with a fixed count of decimals and "." whatever the locale (the commands' text output)
std::string Fixe(double v, int decimales);

// writes the export when asked, then prints the outcome line or the JSON object; the exit status.
// enMots: the shot in a player's words as well (cli/TirEnMots.h), lines under the outcome line or
// fields of the object
int RapporteTir(const TBillardVelmora& simu, const TOptionsTir& options, std::ostream& out, std::ostream& err,
                bool enMots = false);
