// The parameter file (".fsk"): the physical constants as an INI file of five sections, and a
// sixth, [ModeleBande], when the table uses the stepped cushion model.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/ParamPhys.h"

// Reads a parameter file; a missing key or a bad number keeps the current value, and every constant
// is brought into its range. A file without [ModeleBande] Modele plays today's cushion model.
// False (and erreur filled) when the file cannot be read, or names a cushion model this program
// does not know: then nothing changes.
bool ChargeFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur = nullptr);
// Writes a parameter file (replacing entries in place in an existing one). False with the reason
// when it cannot be written: then neither the file nor p.NomFichierFisik changes.
bool SauveFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur = nullptr);

// the cushion models by their names in the file ("Impulsion", "Mathavan2010"; any case read)
const char* NomModeleBande(TModeleBande modele);
std::optional<TModeleBande> ModeleBandeDeNom(std::string_view nom);
