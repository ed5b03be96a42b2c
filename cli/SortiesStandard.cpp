#include "cli/SortiesStandard.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/Commandes.h"
#include "fichiers/NomLisible.h"

namespace {

constexpr std::size_t kTailleTampon = 1 << 16;

}  // namespace

TTamponDescripteur::TTamponDescripteur(int fd, bool echappeControles) : fd_(fd), echappe_(echappeControles) {
    tampon_.reserve(kTailleTampon);
}

TTamponDescripteur::~TTamponDescripteur() { Vide(true); }

bool TTamponDescripteur::Vide(bool fin) {
    if (erreur_ != 0) return false;
    // a C1 control is two bytes in UTF-8: its first one waits for the second
    std::string reste;
    if (echappe_ && !fin && !tampon_.empty() && static_cast<unsigned char>(tampon_.back()) == 0xc2) {
        reste = tampon_.back();
        tampon_.pop_back();
    }
    const std::string texte = echappe_ ? TexteSansControles(tampon_) : std::move(tampon_);
    tampon_ = std::move(reste);
    const char* p = texte.data();
    std::size_t n = texte.size();
    while (n > 0) {
        const ssize_t ecrits = ::write(fd_, p, n);
        if (ecrits < 0) {
            if (errno == EINTR) continue;
            erreur_ = errno;
            return false;
        }
        p += ecrits;
        n -= static_cast<std::size_t>(ecrits);
    }
    return true;
}

TTamponDescripteur::int_type TTamponDescripteur::overflow(int_type c) {
    if (erreur_ != 0) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    tampon_ += traits_type::to_char_type(c);
    if (tampon_.size() >= kTailleTampon && !Vide()) return traits_type::eof();
    return c;
}

std::streamsize TTamponDescripteur::xsputn(const char* s, std::streamsize n) {
    if (erreur_ != 0) return 0;
    tampon_.append(s, static_cast<std::size_t>(n));
    if (tampon_.size() >= kTailleTampon && !Vide()) return 0;
    return n;
}

int TTamponDescripteur::sync() { return Vide() ? 0 : -1; }

int LanceAvecSortiesVerifiees(const std::vector<std::string>& args) {
    TTamponDescripteur sortie(STDOUT_FILENO, false);
    TTamponDescripteur erreurs(STDERR_FILENO, true);
    std::streambuf* const coutAvant = std::cout.rdbuf(&sortie);
    std::streambuf* const cerrAvant = std::cerr.rdbuf(&erreurs);
    int statut = LanceVelmoraSim(args, std::cout, std::cerr);
    std::cout.flush();
    if (sortie.Erreur() != 0) {
        std::cerr << "velmora-sim : écriture de la sortie impossible : " << std::strerror(sortie.Erreur())
                  << "\n";
        if (statut == kSucces) statut = kErreurFichier;
    }
    std::cerr.flush();
    if (erreurs.Erreur() != 0 && statut == kSucces) statut = kErreurFichier;
    std::cout.rdbuf(coutAvant);
    std::cerr.rdbuf(cerrAvant);
    return statut;
}
