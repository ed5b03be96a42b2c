// FNV-1a digests.
#include "fichiers/Empreinte.h"

#include <bit>
#include <cstdio>

#include "fichiers/EcritureAtomique.h"

TEmpreinte& TEmpreinte::AjouteOctets(std::string_view octets) {
    for (const char c : octets) {
        h_ ^= static_cast<unsigned char>(c);
        h_ *= 0x100000001b3ULL;
    }
    return *this;
}

TEmpreinte& TEmpreinte::Ajoute(std::int64_t valeur) {
    // little-endian bytes whatever the machine
    char o[8];
    auto u = static_cast<std::uint64_t>(valeur);
    for (char& c : o) {
        c = static_cast<char>(u & 0xff);
        u >>= 8;
    }
    return AjouteOctets(std::string_view(o, sizeof o));
}

TEmpreinte& TEmpreinte::Ajoute(double valeur) {
    // -0 and +0 are one position
    if (valeur == 0) valeur = 0;
    return Ajoute(std::bit_cast<std::int64_t>(valeur));
}

TEmpreinte& TEmpreinte::Ajoute(std::string_view texte) {
    Ajoute(static_cast<std::int64_t>(texte.size()));
    return AjouteOctets(texte);
}

std::string TEmpreinte::Texte() const {
    char s[17];
    std::snprintf(s, sizeof s, "%016llx", static_cast<unsigned long long>(h_));
    return s;
}

std::string Empreinte(std::string_view octets) { return TEmpreinte().AjouteOctets(octets).Texte(); }

bool EmpreinteFichier(const std::string& nomFichier, std::string& empreinte, std::string* erreur) {
    std::string contenu;
    if (!LitFichier(nomFichier, contenu, erreur)) return false;
    empreinte = Empreinte(contenu);
    return true;
}
