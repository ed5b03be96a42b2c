#include "fichiers/DossierSortie.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "fichiers/ArretsDifferes.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/NomLisible.h"

namespace {

std::string Message(const std::string& chemin, const std::string& raison) {
    return "\"" + NomLisible(chemin) + "\" : " + raison;
}

void Dit(std::string* erreur, const std::string& chemin, const std::string& raison) {
    if (erreur) *erreur = Message(chemin, raison);
}

bool NomSimple(const std::string& nom) {
    return !nom.empty() && nom != "." && nom != ".." && nom.find('/') == std::string::npos;
}

}  // namespace

TDossierSortie::~TDossierSortie() {
    if (verrou_ >= 0) ::close(verrou_);
    if (fd_ >= 0) ::close(fd_);
}

bool TDossierSortie::Ouvre(const std::string& chemin, std::string* erreur) {
    if (chemin.empty()) {
        Dit(erreur, chemin, "nom de dossier vide");
        return false;
    }
    chemin_ = chemin;
    std::error_code ec;
    std::filesystem::create_directories(chemin, ec);
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && !LienSur(chemin, st)) {
        Dit(erreur, chemin, "lien symbolique d'un autre utilisateur");
        return false;
    }
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        Dit(erreur, chemin,
            "dossier de sortie impossible à créer (" + std::string(std::strerror(ec ? ec.value() : err)) +
                ")");
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return true;
}

std::string TDossierSortie::CheminDe(const std::string& nom) const {
    return (std::filesystem::path(chemin_) / nom).string();
}

bool TDossierSortie::PeutEcrire(const std::string& nom, std::string* erreur) const {
    if (!NomSimple(nom)) {
        Dit(erreur, CheminDe(nom), "nom de fichier invalide");
        return false;
    }
    struct stat ancien {};
    if (::fstatat(fd_, nom.c_str(), &ancien, AT_SYMLINK_NOFOLLOW) != 0) return true;
    // what stands there: a link is replaced; anything else but a writable file stays
    if (S_ISDIR(ancien.st_mode)) {
        Dit(erreur, CheminDe(nom), "c'est un dossier");
        return false;
    }
    if (!S_ISREG(ancien.st_mode) && !S_ISLNK(ancien.st_mode)) {
        Dit(erreur, CheminDe(nom), "n'est pas un fichier ordinaire");
        return false;
    }
    if (S_ISREG(ancien.st_mode) && (ancien.st_mode & 0222) == 0) {
        Dit(erreur, CheminDe(nom), "protégé en écriture");
        return false;
    }
    return true;
}

bool TDossierSortie::Ecrit(const std::string& nom, std::string_view contenu, std::string* erreur) const {
    if (!PeutEcrire(nom, erreur)) return false;
    struct stat ancien {};
    const bool existe = ::fstatat(fd_, nom.c_str(), &ancien, AT_SYMLINK_NOFOLLOW) == 0;
    const TArretsDifferes differes;
    std::string temp;
    const int fd = CreeTemporaireDans(fd_, "", temp);
    if (fd < 0) {
        Dit(erreur, CheminDe(nom), std::strerror(errno));
        return false;
    }
    int err = 0;
    const int mode = existe && S_ISREG(ancien.st_mode) ? int(ancien.st_mode & 07777) : -1;
    bool ok = RemplitTemporaire(fd, contenu, mode, err);
    if (ok && ::renameat(fd_, temp.c_str(), fd_, nom.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlinkat(fd_, temp.c_str(), 0);
        Dit(erreur, CheminDe(nom), std::strerror(err));
    }
    return ok;
}

bool TDossierSortie::Lit(const std::string& nom, std::string& contenu, std::string* erreur) const {
    const int fd = ::openat(fd_, nom.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        Dit(erreur, CheminDe(nom), errno == ELOOP ? "lien symbolique" : std::strerror(errno));
        return false;
    }
    return LitDescripteur(fd, CheminDe(nom), contenu, erreur);
}

bool TDossierSortie::EstFichier(const std::string& nom) const {
    struct stat st {};
    return ::fstatat(fd_, nom.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

bool TDossierSortie::Retire(const std::string& nom, std::string* erreur) const {
    if (!NomSimple(nom)) {
        Dit(erreur, CheminDe(nom), "nom de fichier invalide");
        return false;
    }
    if (::unlinkat(fd_, nom.c_str(), 0) == 0 || errno == ENOENT) return true;
    Dit(erreur, CheminDe(nom), std::strerror(errno));
    return false;
}

bool TDossierSortie::Identite(const std::string& nom, dev_t& appareil, ino_t& inode) const {
    struct stat st {};
    if (::fstatat(fd_, nom.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    appareil = st.st_dev;
    inode = st.st_ino;
    return true;
}

bool TDossierSortie::Designe(const std::string& nom, const std::string& autre) const {
    struct stat ici {};
    struct stat la {};
    if (::fstatat(fd_, nom.c_str(), &ici, AT_SYMLINK_NOFOLLOW) != 0 || ::stat(autre.c_str(), &la) != 0)
        return false;
    return ici.st_dev == la.st_dev && ici.st_ino == la.st_ino;
}

bool TDossierSortie::Verrouille(const std::string& nom, std::string* erreur) {
    // the file may be removed by the run that held it between our open and our lock: the lock
    // counts only on the file that still bears the name
    for (int essai = 0; essai < 100; ++essai) {
        const int fd =
            ::openat(fd_, nom.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            const int err = errno;
            if (fd >= 0) ::close(fd);
            Dit(erreur, CheminDe(nom),
                "verrou impossible à poser (" +
                    std::string(fd < 0 ? std::strerror(err) : "pas un fichier ordinaire") + ")");
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return Occupe(fd, nom, erreur);
        struct stat ici {};
        if (::fstatat(fd_, nom.c_str(), &ici, AT_SYMLINK_NOFOLLOW) != 0 || ici.st_ino != st.st_ino ||
            ici.st_dev != st.st_dev) {
            ::close(fd);
            continue;
        }
        const std::string pid = std::to_string(::getpid()) + "\n";
        // the lock holds even when the holder's number cannot be written
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
        }
        Deverrouille();
        verrou_ = fd;
        nomVerrou_ = nom;
        return true;
    }
    Dit(erreur, CheminDe(nom), "verrou impossible à poser");
    return false;
}

bool TDossierSortie::Occupe(int fd, const std::string& nom, std::string* erreur) const {
    const int err = errno;
    // the holder wrote its number there
    char texte[32] = {};
    const ssize_t n = ::pread(fd, texte, sizeof texte - 1, 0);
    ::close(fd);
    std::string qui = n > 0 ? std::string(texte, size_t(n)) : std::string();
    while (!qui.empty() && (qui.back() == '\n' || qui.back() == ' ')) qui.pop_back();
    if (err != EWOULDBLOCK) {
        Dit(erreur, CheminDe(nom), std::strerror(err));
    } else if (erreur) {
        *erreur =
            Message(chemin_, "dossier déjà utilisé par un autre calcul" +
                                 (qui.empty() ? std::string() : " (processus " + NomLisible(qui) + ")"));
    }
    return false;
}

void TDossierSortie::Deverrouille() {
    if (verrou_ < 0) return;
    ::unlinkat(fd_, nomVerrou_.c_str(), 0);
    ::close(verrou_);
    verrou_ = -1;
}
