// Recorded shots (CSV from a tracker): any content is refused with a reason, or reads into a
// recording whose samples are finite, on the table, in time order per ball, with the balls apart
// at the start, and that writes and reads back the same.
// sources: moteurs/CoupEnregistre.cpp fichiers/CopieCoup.cpp fichiers/EcritureAtomique.cpp
// sources: fichiers/ExportPVR.cpp fichiers/FichierFisik.cpp fichiers/FichierIni.cpp
// sources: fichiers/NombresIni.cpp sim/C1_Types.cpp sim/C7_Mouvements.cpp sim/C8_BillardVelmora.cpp
// sources: sim/ParamPhys.cpp sim/RepitDetection.cpp collisions/C2_ChocTapis.cpp
// sources: collisions/C3_ChocBille.cpp collisions/C4_ChocBande.cpp collisions/C5_ApresChocs.cpp
// sources: collisions/C6_DetecteChocs.cpp
// sources: fichiers/NomLisible.cpp collisions/ChocBandeMathavan.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "moteurs/CoupEnregistre.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    std::istringstream flux(std::string(reinterpret_cast<const char*>(data), taille));
    TCoupEnregistre coup;
    std::string erreur;
    if (!LitCoupEnregistre(flux, coup, &erreur)) {
        // a refusal always says why
        if (erreur.empty()) std::abort();
        return 0;
    }
    if (coup.Billes[1].size() < 2) std::abort();
    for (int b = 1; b <= NbBilles; ++b) {
        if (coup.Billes[b].empty()) std::abort();
        double avant = -INFINITY;
        for (const TEchantillon& e : coup.Billes[b]) {
            if (!std::isfinite(e.t) || !std::isfinite(e.x) || !std::isfinite(e.y)) std::abort();
            if (e.t < avant || std::abs(e.t) > DureeMaxEnregistree) std::abort();
            if (std::abs(e.x) > DemiLargeurEnregistree + MargeHorsTable) std::abort();
            if (std::abs(e.y) > DemiLongueurEnregistree + MargeHorsTable) std::abort();
            avant = e.t;
        }
    }
    for (int a = 1; a <= NbBilles; ++a)
        for (int b = a + 1; b <= NbBilles; ++b) {
            const TEchantillon& p = coup.Billes[a].front();
            const TEchantillon& q = coup.Billes[b].front();
            if (std::hypot(p.x - q.x, p.y - q.y) < EcartMinEnregistre) std::abort();
        }
    // written with six decimals, it reads back with the same samples, a micrometre apart at most
    std::istringstream relu(TexteCoupEnregistre(coup));
    TCoupEnregistre copie;
    if (!LitCoupEnregistre(relu, copie, &erreur)) return 0;  // rounding may bring two starts together
    for (int b = 1; b <= NbBilles; ++b) {
        if (copie.Billes[b].size() != coup.Billes[b].size()) std::abort();
        for (std::size_t i = 0; i < coup.Billes[b].size(); ++i)
            if (std::abs(copie.Billes[b][i].x - coup.Billes[b][i].x) > 1e-6) std::abort();
    }
    return 0;
}
