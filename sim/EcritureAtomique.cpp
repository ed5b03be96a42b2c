#include "sim/EcritureAtomique.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

void Dit(std::string* erreur, const std::string& nom, const std::string& raison) {
    if (erreur) *erreur = "\"" + nom + "\" : " + raison;
}

std::string Raison(int err) { return std::strerror(err); }

// a symbolic link is followed, so the link stays and its target is replaced
std::string Cible(const std::string& nom) {
    struct stat st {};
    if (lstat(nom.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* vrai = realpath(nom.c_str(), nullptr)) {
            std::string r = vrai;
            free(vrai);
            return r;
        }
    }
    return nom;
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

bool EcritFichierAtomique(const std::string& nomFichier, std::string_view contenu, std::string* erreur) {
    if (nomFichier.empty()) {
        Dit(erreur, nomFichier, "nom de fichier vide");
        return false;
    }
    const std::string cible = Cible(nomFichier);
    struct stat ancien {};
    const bool existe = stat(cible.c_str(), &ancien) == 0;
    if (existe && S_ISDIR(ancien.st_mode)) {
        Dit(erreur, nomFichier, "c'est un dossier");
        return false;
    }

    // a temporary name unique to this process and call, in the target's folder
    static std::atomic<unsigned> compteur{0};
    int fd = -1;
    std::string temp;
    for (int essai = 0; essai < 100 && fd < 0; ++essai) {
        temp = cible + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(compteur++) + "-" +
               std::to_string(static_cast<unsigned long>(std::time(nullptr)) % 100000);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }

    int err = 0;
    bool ok = EcritTout(fd, contenu, err);
    if (ok && existe) fchmod(fd, ancien.st_mode & 07777);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
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

bool LitFichier(const std::string& nomFichier, std::string& contenu, std::string* erreur) {
    const int fd = ::open(nomFichier.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Dit(erreur, nomFichier, Raison(errno));
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        Dit(erreur, nomFichier, "c'est un dossier");
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
    }
    ::close(fd);
    return true;
}
