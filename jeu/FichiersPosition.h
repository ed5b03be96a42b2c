// Position (".vel") and manual launch (".vel2") files as data. A position file holds the cue and
// photo 0's ball centres of the simulation ([Queue], [Positions]) and the view it was saved with
// ([GLBillard]); a launch file holds photo 0 whole ([Positions], [Vitesses], [Rotations]).
// No scene and no Qt: the 3D billiard and the command line read and write them alike.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "fichiers/FichierIni.h"
#include "sim/C8_BillardVelmora.h"

// the [GLBillard] section: how the view stood when the position was saved
struct TSectionGLBillard {
    // the tip height is measured in the inclined cue's frame (files without it: horizontal frame)
    bool Hrelatif = false;
    bool CamMobile = false;  // "TypeCamActive": the mobile camera, else the ceiling one
    // the current camera in its parent's frame and its target ("CamAct*", "Tatget*"); a key that
    // is missing or not a number leaves the camera's present value
    std::array<std::optional<float>, 3> Camera;
    std::array<std::optional<float>, 3> Cible;
    std::string FisikFile;  // the parameter file the position was made with; empty: none
};

// Reads a position file; false with the reason when it cannot be read or has neither a [Queue]
// nor a [Positions] section.
bool ChargeIniPosition(const std::string& nomFichier, TFichierIni& ini, std::string* erreur = nullptr);

// [Queue] and [Positions] of photo 0, in writing order
void EcritSectionsPosition(TFichierIni& ini, const TParamQueue& queue,
                           const std::array<TVecteur, 3>& positions);
// Reads them over the given values: "Vq" and "m" keep the value given when missing or not a
// number, every other key reads as 0 then.
void LitSectionsPosition(const TFichierIni& ini, TParamQueue& queue, std::array<TVecteur, 3>& positions);

// the same on the simulation object (its cue fields and photo 0's positions; velocities and
// rotations neither written nor touched)
void SauvePosition(const TBillardVelmora& simu, TFichierIni& ini);
void ChargePosition(TBillardVelmora& simu, const TFichierIni& ini);

// Writes the view section: Hrelatif, TypeCamActive, the camera keys that have a value, and
// FisikFile when not empty (an empty one removes the key the file may hold).
void EcritSectionGLBillard(TFichierIni& ini, const TSectionGLBillard& vue);
TSectionGLBillard LitSectionGLBillard(const TFichierIni& ini);

// the parameter file named by a position file: as written when it exists, else beside the
// position file; empty when neither exists
std::string CheminFisik(const std::string& fisikFile, const std::string& fichierPosition);

// Launch file: photo 0 whole. False with the reason when the file cannot be written (then it is as
// it was) or read; a file with none of the three sections is refused. Reading changes nothing then.
bool SauveLancer(const TBillardVelmora& simu, const std::string& nomFichier, std::string* erreur = nullptr);
bool ChargeLancer(TBillardVelmora& simu, const std::string& nomFichier, std::string* erreur = nullptr);
