// The ".pvr" export of a computed shot: one line per photo 0..NbPhotos, 32 tab-separated fields
// (time, event kind, then for balls 1, 2, 3: motion state, position, velocity, rotation), LF ends.
// The decimal separator is a parameter: "." for scripts, the locale's one in the desktop program.
#pragma once

#include <string>

#include "sim/C1_Types.h"

// the whole export as text
std::string TexteExportPVR(const TStockTrajets& trajets, char separateur = '.');

// writes the export; never a half-written file: false with the reason when it cannot be written
bool ExportePVR(const TStockTrajets& trajets, const std::string& nomFichier, char separateur = '.',
                std::string* erreur = nullptr);
