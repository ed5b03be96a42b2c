// What `velmora-sim shot` says of a played shot beside its outcome, in a player's words: the
// stroke (aim on the first ball, tip, speed), the thickness struck, ball 1's contacts with the
// diamonds, the corner-five system when it applies; and the same as JSON fields, with every
// ball's cushion contacts ("cushion_hits").
#pragma once

#include <string>

#include "sim/C8_BillardVelmora.h"

// the lines printed under the outcome line, each ending with a line feed
std::string LignesTirEnMots(const TBillardVelmora& simu);
// the fields added to the JSON object, each preceded by ", "
std::string ChampsJsonTir(const TBillardVelmora& simu);
