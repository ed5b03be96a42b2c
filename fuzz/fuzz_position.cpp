// Position files read as the program does (the cue and balls through the 3D models, the view
// section, the parameter file it names), then played: no crash, no hang, no NaN in the shot.
// sources: sim/*.cpp collisions/*.cpp fichiers/*.cpp scene/*.cpp view3d/*.cpp
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fichiers/EcritureAtomique.h"
#include "view3d/BillardSansEcran.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    static const std::string nom = "/tmp/velmora-fuzz-position-" + std::to_string(getpid()) + ".vel";
    if (!EcritFichierAtomique(nom, std::string_view(reinterpret_cast<const char*>(data), taille))) return 0;
    static auto billard = std::make_unique<TBillardSansEcran>();
    std::string erreur;
    if (!billard->ChargePosition(nom, &erreur)) return 0;
    TBillardVelmora& simu = *billard->Billard.Simu;
    simu.Joue();
    for (int n = 0; n <= simu.NbPhotos; ++n)
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = simu.Trajets[b][n];
            for (double v : {p.Position.x, p.Position.y, p.Position.z, p.Vitesse.x, p.Vitesse.y, p.Vitesse.z})
                if (!std::isfinite(v)) std::abort();
        }
    return 0;
}
