// Saving a file without ever leaving it half-written: the content goes to a temporary file in the
// same folder, which is then renamed over the target. On failure the previous file is intact.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The file a save of nomFichier replaces: a symbolic link (even dangling) is followed. False with
// the reason when that is a folder, not a regular file (device, pipe, socket) or a regular file
// nobody may write: such a target is never touched.
bool CibleSauvegarde(const std::string& nomFichier, std::string& cible, std::string* erreur = nullptr);
// Creates a new temporary file under a short name in the folder of cible; its descriptor, or -1
// (errno set).
int CreeTemporaire(const std::string& cible, std::string& temp);

// False with a readable reason in *erreur when the file cannot be written.
bool EcritFichierAtomique(const std::string& nomFichier, std::string_view contenu,
                          std::string* erreur = nullptr);

// the largest file read whole: positions, launches, parameters and settings are a few hundred bytes
inline constexpr std::size_t TailleMaxLecture = std::size_t(16) << 20;

// Whole content of a regular file of at most TailleMaxLecture bytes; false with the reason when
// it cannot be read. Never waits: a pipe, a device or a socket is refused at once.
bool LitFichier(const std::string& nomFichier, std::string& contenu, std::string* erreur = nullptr);
