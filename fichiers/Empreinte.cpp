// FNV-1a fingerprints.
#include "fichiers/Empreinte.h"

#include <bit>
#include <cstdio>

void TEmpreinte::Octets(const void* donnees, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(donnees);
    for (std::size_t i = 0; i < n; ++i) {
        h_ ^= p[i];
        h_ *= 0x100000001b3ULL;
    }
}

TEmpreinte& TEmpreinte::Ajoute(std::int64_t valeur) {
    // little-endian bytes whatever the machine
    unsigned char o[8];
    auto u = static_cast<std::uint64_t>(valeur);
    for (unsigned char& c : o) {
        c = static_cast<unsigned char>(u & 0xff);
        u >>= 8;
    }
    Octets(o, sizeof o);
    return *this;
}

TEmpreinte& TEmpreinte::Ajoute(double valeur) {
    // -0 and +0 are one position
    if (valeur == 0) valeur = 0;
    return Ajoute(std::bit_cast<std::int64_t>(valeur));
}

TEmpreinte& TEmpreinte::Ajoute(std::string_view texte) {
    Ajoute(static_cast<std::int64_t>(texte.size()));
    Octets(texte.data(), texte.size());
    return *this;
}

std::string TEmpreinte::Texte() const {
    char s[17];
    std::snprintf(s, sizeof s, "%016llx", static_cast<unsigned long long>(h_));
    return s;
}
