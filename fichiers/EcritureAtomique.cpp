#include "fichiers/EcritureAtomique.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "fichiers/ArretsDifferes.h"
#include "fichiers/NomLisible.h"

namespace {

void Dit(std::string* erreur, const std::string& nom, const std::string& raison) {
    if (erreur) *erreur = "\"" + NomLisible(nom) + "\" : " + raison;
}

std::string Raison(int err) { return std::strerror(err); }

std::string Dossier(const std::string& nom) {
    const size_t barre = nom.rfind('/');
    if (barre == std::string::npos) return ".";
    return barre == 0 ? "/" : nom.substr(0, barre);
}

// A symbolic link is followed, even when what it names does not exist yet: the link stays. Not a
// link someone else planted in a folder others may write: its maker could aim the save at any
// file of this user's (the kernel refuses to follow such links in sticky folders for that reason).
bool Cible(const std::string& nom, std::string& cible, std::string* erreur) {
    cible = nom;
    for (int saut = 0; saut < 40; ++saut) {
        struct stat st {};
        if (lstat(cible.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (!LienSur(cible, st)) {
            Dit(erreur, nom, "lien symbolique d'un autre utilisateur");
            return false;
        }
        std::string lien(PATH_MAX, '\0');
        const ssize_t n = readlink(cible.c_str(), lien.data(), lien.size());
        if (n <= 0) return true;
        lien.resize(static_cast<size_t>(n));
        if (lien.front() != '/') lien.insert(0, Dossier(cible) + "/");
        cible = lien;
    }
    return true;
}

bool EcritTout(int fd, std::string_view contenu, int& err) {
    const char* p = contenu.data();
    size_t reste = contenu.size();
    while (reste > 0) {
        const ssize_t n = ::write(fd, p, reste);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        p += n;
        reste -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool LienSur(const std::string& lien, const struct stat& etatLien) {
    struct stat dossier {};
    if (stat(Dossier(lien).c_str(), &dossier) != 0) return false;
    if ((dossier.st_mode & (S_IWGRP | S_IWOTH)) == 0) return true;
    return etatLien.st_uid == geteuid() || etatLien.st_uid == dossier.st_uid;
}

bool CibleSauvegarde(const std::string& nomFichier, std::string& cible, std::string* erreur) {
    if (nomFichier.empty()) {
        Dit(erreur, nomFichier, "nom de fichier vide");
        return false;
    }
    if (!Cible(nomFichier, cible, erreur)) return false;
    struct stat st {};
    if (lstat(cible.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }
    // a device, a pipe or a socket is never replaced by a plain file, even by root
    if (S_ISDIR(st.st_mode)) {
        Dit(erreur, nomFichier, "c'est un dossier");
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        Dit(erreur, nomFichier, "n'est pas un fichier ordinaire");
        return false;
    }
    // the rename would ignore the file's own mode
    if ((st.st_mode & 0222) == 0) {
        Dit(erreur, nomFichier, "protégé en écriture");
        return false;
    }
    return true;
}

int CreeTemporaireDans(int dossier, const std::string& prefixe, std::string& nom) {
    // a short name: a target of the longest legal name can still be saved beside it
    static std::atomic<unsigned> compteur{0};
    int fd = -1;
    for (int essai = 0; essai < 100 && fd < 0; ++essai) {
        nom = prefixe + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(compteur++);
        fd = ::openat(dossier, nom.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    return fd;
}

int CreeTemporaire(const std::string& cible, std::string& temp) {
    return CreeTemporaireDans(AT_FDCWD, Dossier(cible) + "/", temp);
}

bool RemplitTemporaire(int fd, std::string_view contenu, int mode, int& err) {
    bool ok = EcritTout(fd, contenu, err);
    if (ok && mode >= 0) fchmod(fd, static_cast<mode_t>(mode));
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    return ok;
}

bool EcritFichierAtomique(const std::string& nomFichier, std::string_view contenu, std::string* erreur) {
    std::string cible;
    if (!CibleSauvegarde(nomFichier, cible, erreur)) return false;
    struct stat ancien {};
    const bool existe = stat(cible.c_str(), &ancien) == 0;

    const TArretsDifferes differes;
    std::string temp;
    const int fd = CreeTemporaire(cible, temp);
    if (fd < 0) {
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }
    int err = 0;
    bool ok = RemplitTemporaire(fd, contenu, existe ? int(ancien.st_mode & 07777) : -1, err);
    if (ok && std::rename(temp.c_str(), cible.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        Dit(erreur, nomFichier, Raison(err));
        return false;
    }
    return true;
}

bool LitDescripteur(int fd, const std::string& nomFichier, std::string& contenu, std::string* erreur) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool dossier = S_ISDIR(st.st_mode);
        ::close(fd);
        Dit(erreur, nomFichier, dossier ? "c'est un dossier" : "n'est pas un fichier ordinaire");
        return false;
    }
    const std::string tropGros =
        "fichier trop gros (plus de " + std::to_string(TailleMaxLecture >> 20) + " Mo)";
    if (st.st_size > static_cast<off_t>(TailleMaxLecture)) {
        ::close(fd);
        Dit(erreur, nomFichier, tropGros);
        return false;
    }
    contenu.clear();
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            Dit(erreur, nomFichier, Raison(err));
            return false;
        }
        if (n == 0) break;
        contenu.append(buf, static_cast<size_t>(n));
        // a file that grows while it is read
        if (contenu.size() > TailleMaxLecture) {
            ::close(fd);
            contenu.clear();
            Dit(erreur, nomFichier, tropGros);
            return false;
        }
    }
    ::close(fd);
    return true;
}

bool LitFichier(const std::string& nomFichier, std::string& contenu, std::string* erreur) {
    // a pipe opened without O_NONBLOCK would wait for a writer for ever
    const int fd = ::open(nomFichier.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }
    return LitDescripteur(fd, nomFichier, contenu, erreur);
}

bool SauvegardePossible(const std::string& nomFichier, std::string* erreur) {
    std::string cible;
    if (!CibleSauvegarde(nomFichier, cible, erreur)) return false;
    struct stat st {};
    const std::string dossier = Dossier(cible);
    if (::stat(dossier.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Dit(erreur, nomFichier, "dossier introuvable");
        return false;
    }
    if (::access(dossier.c_str(), W_OK | X_OK) != 0) {
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }
    return true;
}
