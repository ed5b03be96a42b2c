// Position files read as the program does (the cue and balls as its models take them, the view
// section, the parameter file it names), then played: no crash, no hang, no NaN in the shot.
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
#include "fichiers/FichierFisik.h"
#include "jeu/PositionJeu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    static const std::string nom = "/tmp/velmora-fuzz-position-" + std::to_string(getpid()) + ".vel";
    if (!EcritFichierAtomique(nom, std::string_view(reinterpret_cast<const char*>(data), taille))) return 0;
    TPositionOuverte ouverte;
    std::string erreur;
    if (!LitPositionJeu(nom, ouverte, &erreur)) {
        // a refusal always says why
        if (erreur.empty()) std::abort();
        return 0;
    }
    // the simulation as the program sets it up: the models' radius, then the file's table if any
    static auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik.ValeursUsine();
    simu->Fisik.SetParam(2, RayonBilleJeu);
    if (!ouverte.CheminFisik.empty()) ChargeFisik(simu->Fisik, ouverte.CheminFisik);
    simu->SetParamQueue(ParamSimu(ouverte.Position.Queue));
    const std::array<TVecteur, 3> positions = PositionsSimu(ouverte.Position.Billes);
    for (int b = 1; b <= NbBilles; ++b) simu->Trajets[b][0].Position = positions[size_t(b - 1)];
    simu->Joue();
    if (simu->NbPhotos < 0 || simu->NbPhotos > NbPhotosMax) std::abort();
    for (int n = 0; n <= simu->NbPhotos; ++n)
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = simu->Trajets[b][n];
            for (double v : {p.Position.x, p.Position.y, p.Position.z, p.Vitesse.x, p.Vitesse.y, p.Vitesse.z})
                if (!std::isfinite(v)) std::abort();
        }
    return 0;
}
