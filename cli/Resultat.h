// What velmora-sim prints after a shot, and the export it writes on request.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

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

// A command that computes one shot (shot, launch): its options (an export onto one of its inputs
// refused), the simulation prepared by charge (false with the reason), the shot played by joue, the
// report (in a player's words as well with enMots). The exit status.
int ExecuteTir(const std::string& commande, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err,
               const std::function<bool(TBillardVelmora&, const TOptionsTir&, std::string*)>& charge,
               const std::function<void(TBillardVelmora&)>& joue, bool enMots = false);
