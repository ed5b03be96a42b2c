// The simulation as the desktop program sets it up, and a position file read the way the desktop
// program reads it when it opens one (jeu/PositionJeu.h), so that velmora-sim gives the result the
// program shows.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "cli/OptionsTir.h"
#include "jeu/PositionJeu.h"
#include "sim/C8_BillardVelmora.h"

// Factory parameters and the ball radius of the 3D models (in single precision); then the
// parameter file when one is given, the radius staying the models' one. False with the reason
// when that file cannot be read.
bool PrepareSimulation(TBillardVelmora& simu, const std::string& fsk, std::string* erreur = nullptr);

// Reads a ".vel" into the cue parameters and photo 0: its Queue and Positions sections, the tip
// height converted for files without [GLBillard] Hrelatif, the cue values and the positions as the
// program's cue and balls take them (single precision, limits of the cue, balls kept on the table
// and apart); then, when chargeFisik is true, the parameter file named
// by [GLBillard] FisikFile when it exists. False with the reason when a file cannot be read: the
// simulation is then as it was.
bool ChargeFichierPosition(TBillardVelmora& simu, const std::string& nomFichier, bool chargeFisik,
                           std::string* erreur = nullptr);

// A shot command's position on its table: PrepareSimulation with the parameter file given, then
// the position file, which names its own parameter file when none was given. False with the reason.
bool ChargeTir(TBillardVelmora& simu, const std::string& fichier, const std::string& fsk,
               std::string* erreur = nullptr);

// The position a computing command (difficulty, solve) works on: ChargeTir with the shot options,
// in their mode; nullptr after the reason on err.
std::unique_ptr<TBillardVelmora> ChargePositionOuDit(const TOptionsTir& tir, std::ostream& err);

// The text of a position file as the desktop program saves one into a new file: the source's balls
// and view, with the cue set to queue (cm, degrees, cm/s, g) through the cue's limits, so that
// opening it plays exactly that cue.
std::string TextePositionAvecQueue(const TPositionOuverte& source, const TQueueDegres& queue);
