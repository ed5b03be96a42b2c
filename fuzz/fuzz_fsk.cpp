// Parameter files: any content loads, and every constant the physics divides by stays finite
// and positive.
// sources: fichiers/FichierIni.cpp fichiers/NombresIni.cpp fichiers/EcritureAtomique.cpp
// sources: fichiers/FichierFisik.cpp sim/ParamPhys.cpp
// sources: fichiers/NomLisible.cpp
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/FichierFisik.h"
#include "sim/ParamPhys.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    static const std::string nom = "/tmp/velmora-fuzz-fsk-" + std::to_string(getpid()) + ".fsk";
    if (!EcritFichierAtomique(nom, std::string_view(reinterpret_cast<const char*>(data), taille))) return 0;
    TPARAMPHYS p;
    if (!ChargeFisik(p, nom)) std::abort();
    for (double v : {p.G(), p.FrotBiTapGlisse(), p.FrotBiTapPivot(), p.FrotBiTapRoule(), p.dtAnal(),
                     p.dtEnr(), p.RayonBilles(), p.FrotQueueBille()})
        if (!std::isfinite(v) || v <= 0) std::abort();
    if (!(p.HautBdes() >= p.RayonBilles()) || !(p.HautBdes() <= p.Diametre())) std::abort();
    if (!std::isfinite(p.largeurJeu()) || !std::isfinite(p.DeportMax2())) std::abort();
    return 0;
}
