// A short fingerprint of data that must be recognised again (a drill, a pack, a position on its
// table): FNV-1a over 64 bits, the same on every machine, shown as 16 hexadecimal digits. Not a
// protection against tampering, only a stable name.
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

    std::uint64_t Valeur() const { return h_; }
    std::string Texte() const;

private:
    void Octets(const void* donnees, std::size_t n);
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};
