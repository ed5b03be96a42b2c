// Launch files: any content is refused with a reason or loads into photo 0 and replays to a finite,
// bounded shot.
// sources: sim/C1_Types.cpp sim/C7_Mouvements.cpp sim/C8_BillardVelmora.cpp sim/ParamPhys.cpp
// sources: sim/RepitDetection.cpp collisions/C2_ChocTapis.cpp collisions/C3_ChocBille.cpp
// sources: collisions/C4_ChocBande.cpp collisions/C5_ApresChocs.cpp collisions/C6_DetecteChocs.cpp
// sources: fichiers/CopieCoup.cpp fichiers/EcritureAtomique.cpp fichiers/ExportPVR.cpp
// sources: fichiers/FichierFisik.cpp fichiers/FichierIni.cpp fichiers/NombresIni.cpp
// sources: jeu/FichiersPosition.cpp jeu/PositionJeu.cpp jeu/Queue.cpp jeu/TableJeu.cpp
// sources: fichiers/NomLisible.cpp collisions/ChocBandeMathavan.cpp
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fichiers/EcritureAtomique.h"
#include "jeu/FichiersPosition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    static const std::string nom = "/tmp/velmora-fuzz-lancer-" + std::to_string(getpid()) + ".vel2";
    if (!EcritFichierAtomique(nom, std::string_view(reinterpret_cast<const char*>(data), taille))) return 0;
    static auto simu = std::make_unique<TBillardVelmora>();
    std::string erreur;
    if (!ChargeLancer(*simu, nom, &erreur)) {
        // a refusal always says why
        if (erreur.empty()) std::abort();
        return 0;
    }
    simu->CalculTrajets();
    if (simu->NbPhotos < 0 || simu->NbPhotos > NbPhotosMax) std::abort();
    for (int n = 0; n <= simu->NbPhotos; ++n)
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = simu->Trajets[b][n];
            for (double v :
                 {p.Position.x, p.Position.y, p.Position.z, p.Rotation.x, p.Rotation.y, p.Rotation.z})
                if (!std::isfinite(v)) std::abort();
        }
    return 0;
}
