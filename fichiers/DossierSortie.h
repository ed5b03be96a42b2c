// An output folder a command fills with files it names itself (a batch's results, its summary, the
// routes of a search). The folder is opened once; every file is then made relative to it, never
// through a symbolic link: written whole under a fresh temporary name of this process and renamed
// over whatever stands at its name (a link there is replaced, not followed), read back only when it
// is a regular file. A lock file keeps two runs out of one folder at once.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

class TDossierSortie {
public:
    TDossierSortie() = default;
    ~TDossierSortie();  // the lock, if taken, is given back (its file stays)
    TDossierSortie(const TDossierSortie&) = delete;
    TDossierSortie& operator=(const TDossierSortie&) = delete;

    // Opens the folder, made with its parents when missing. The folder may be reached through a
    // link only under the rule of saves (LienSur). False with the reason.
    bool Ouvre(const std::string& chemin, std::string* erreur = nullptr);
    bool Ouvert() const { return fd_ >= 0; }
    const std::string& Chemin() const { return chemin_; }
    // the path of a file of the folder, for messages and for the commands' outputs
    std::string CheminDe(const std::string& nom) const;

    // Writes the file nom (a plain name) whole or not at all; a folder, a pipe, a device or a
    // file nobody may write at that name is refused and left as it is. False with the reason.
    bool Ecrit(const std::string& nom, std::string_view contenu, std::string* erreur = nullptr) const;
    // what Ecrit would refuse at nom, checked before a long computation; false with the reason
    bool PeutEcrire(const std::string& nom, std::string* erreur = nullptr) const;
    // The whole content of the regular file nom (not through a link); false with the reason.
    bool Lit(const std::string& nom, std::string& contenu, std::string* erreur = nullptr) const;
    // nom is there as a regular file (not through a link)
    bool EstFichier(const std::string& nom) const;
    // Removes the file or link nom (never a folder); true when nothing stands at nom afterwards.
    bool Retire(const std::string& nom, std::string* erreur = nullptr) const;
    // the file nom of the folder (as it stands: a link is not followed) is the file autre leads to
    bool Designe(const std::string& nom, const std::string& autre) const;
    // the device and inode of the file nom as it stands (a link is not followed); false when absent
    bool Identite(const std::string& nom, dev_t& appareil, ino_t& inode) const;

    // Takes the folder for this process: an exclusive lock (flock) on the file nom, which then
    // holds this process's number; held until this object goes. False, naming the process that
    // holds it, when another run has it.
    bool Verrouille(const std::string& nom, std::string* erreur = nullptr);
    // gives the lock back and removes its file (a run that ends leaves no lock file behind)
    void Deverrouille();

private:
    // another run holds the lock on fd (closed here): false with the reason
    bool Occupe(int fd, const std::string& nom, std::string* erreur) const;

    int fd_ = -1;
    int verrou_ = -1;
    std::string nomVerrou_;
    std::string chemin_;
};
