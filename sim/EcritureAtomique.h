// Saving a file without ever leaving it half-written: the content goes to a temporary file in the
// same folder, which is then renamed over the target. On failure the previous file is intact.
#pragma once

#include <string>
#include <string_view>

// False with a readable reason in *erreur when the file cannot be written.
bool EcritFichierAtomique(const std::string& nomFichier, std::string_view contenu,
                          std::string* erreur = nullptr);

// Whole content of a file; false with the reason when it cannot be read.
bool LitFichier(const std::string& nomFichier, std::string& contenu, std::string* erreur = nullptr);
