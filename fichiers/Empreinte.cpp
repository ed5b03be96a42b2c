#include "fichiers/Empreinte.h"

#include <cstdint>
#include <cstdio>

#include "fichiers/EcritureAtomique.h"

std::string Empreinte(std::string_view octets) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : octets) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

bool EmpreinteFichier(const std::string& nomFichier, std::string& empreinte, std::string* erreur) {
    std::string contenu;
    if (!LitFichier(nomFichier, contenu, erreur)) return false;
    empreinte = Empreinte(contenu);
    return true;
}
