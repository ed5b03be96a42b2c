// A short digest of data that must be recognised again: a drill, a pack, a position on its table,
// an input between two runs or the machines of one job. 64-bit FNV-1a, the same on every machine,
// shown as 16 hexadecimal digits. It tells contents apart; it is no defence against contents
// forged to collide.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TEmpreinte {
public:
    // each value is added with its length or its exact bits, so "ab"+"c" differs from "a"+"bc"
    TEmpreinte& Ajoute(std::string_view texte);
    TEmpreinte& Ajoute(double valeur);
    TEmpreinte& Ajoute(std::int64_t valeur);
    // raw bytes, without their length (the digest of a whole content)
    TEmpreinte& AjouteOctets(std::string_view octets);

    std::uint64_t Valeur() const { return h_; }
    std::string Texte() const;

private:
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

// the digest of some bytes as they are
std::string Empreinte(std::string_view octets);
// the digest of a file's whole content (read as LitFichier reads); false with the reason
bool EmpreinteFichier(const std::string& nomFichier, std::string& empreinte, std::string* erreur = nullptr);
