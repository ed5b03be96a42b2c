// Saving a file without ever leaving it half-written: the content goes to a temporary file in the
// same folder, which is then renamed over the target. On failure the previous file is intact.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>
#include <string_view>

// A symbolic link a save may follow (etatLien: its lstat): any link in a folder only its owner may
// write; in a folder others may write (sticky or not), only a link made by this user or by the
// folder's owner.
bool LienSur(const std::string& lien, const struct stat& etatLien);

// The file a save of nomFichier replaces: a symbolic link (even dangling) is followed. False with
// the reason when that is a folder, not a regular file (device, pipe, socket), a regular file
// nobody may write, or when a link on the way is not LienSur: such a target is never touched.
bool CibleSauvegarde(const std::string& nomFichier, std::string& cible, std::string* erreur = nullptr);
// Creates a new temporary file under a short name in the folder of cible; its descriptor, or -1
// (errno set).
int CreeTemporaire(const std::string& cible, std::string& temp);
// The same in the folder open as dossier (AT_FDCWD: names relative to the current one): nom is
// prefixe + a name of this process that no other file has (O_EXCL, never through a link).
int CreeTemporaireDans(int dossier, const std::string& prefixe, std::string& nom);
// Writes the whole content into the new file fd, gives it mode (unless negative), syncs and closes
// it; false with errno's value in err.
bool RemplitTemporaire(int fd, std::string_view contenu, int mode, int& err);

// False with a readable reason in *erreur when the file cannot be written.
bool EcritFichierAtomique(const std::string& nomFichier, std::string_view contenu,
                          std::string* erreur = nullptr);

// the largest file read whole: positions, launches, parameters and settings are a few hundred bytes
inline constexpr std::size_t TailleMaxLecture = std::size_t(16) << 20;

// Whole content of a regular file of at most TailleMaxLecture bytes; false with the reason when
// it cannot be read. Never waits: a pipe, a device or a socket is refused at once.
bool LitFichier(const std::string& nomFichier, std::string& contenu, std::string* erreur = nullptr);
// The same from a descriptor open for reading (closed on return); nomFichier names it in the reason.
bool LitDescripteur(int fd, const std::string& nomFichier, std::string& contenu,
                    std::string* erreur = nullptr);

// Whether a save of nomFichier can be made, checked before a long computation rather than after:
// the target as CibleSauvegarde sees it, in a folder that exists and takes files. False with the
// reason.
bool SauvegardePossible(const std::string& nomFichier, std::string* erreur = nullptr);
