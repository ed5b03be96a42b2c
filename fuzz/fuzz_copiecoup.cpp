// The handover block: anything but exactly 60 bytes of finite floats is refused and leaves the
// shot untouched; an accepted block encodes back to the same bytes.
// sources: fichiers/CopieCoup.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fichiers/CopieCoup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    const std::string_view bloc(reinterpret_cast<const char*>(data), taille);
    TCopieCoup avant;
    avant.Vitesse = 123;
    TCopieCoup coup = avant;
    std::string erreur;
    const bool accepte = DecodeCopieCoup(bloc, coup, &erreur);
    if (!accepte) {
        if (!(coup == avant) || erreur.empty()) std::abort();
        return 0;
    }
    if (taille != TailleCopieCoup) std::abort();
    for (float v : ValeursCopieCoup(coup))
        if (!std::isfinite(v)) std::abort();
    const auto encode = EncodeCopieCoup(coup);
    if (std::memcmp(encode.data(), data, TailleCopieCoup) != 0) std::abort();
    return 0;
}
