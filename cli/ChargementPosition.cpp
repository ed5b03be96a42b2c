#include "cli/ChargementPosition.h"

#include <memory>

#include "view3d/BillardSansEcran.h"
#include "fichiers/FichierFisik.h"

namespace {

// radius of the 3D ball models: the factory radius held as a single
constexpr float kRayonBille = 3.075f;

}  // namespace

bool PrepareSimulation(TBillardVelmora& simu, const std::string& fsk, std::string& erreur) {
    simu.Fisik.ValeursUsine();
    simu.Fisik.SetParam(2, kRayonBille);
    if (fsk.empty()) return true;
    if (!ChargeFisik(simu.Fisik, fsk, &erreur)) return false;
    simu.Fisik.SetParam(2, kRayonBille);
    return true;
}

bool ChargeFichierPosition(TBillardVelmora& simu, const std::string& nomFichier, bool chargeFisik,
                           std::string& erreur) {
    // the program's own steps: the 3D billiard in its opening state reads the file, its models
    // take the cue values and the balls (single precision, limits, constraints), then hand them on
    auto vue = std::make_unique<TBillardSansEcran>();
    TBillardVelmora& lu = *vue->Billard.Simu;
    lu.Fisik = simu.Fisik;
    std::string avertissement;
    if (!vue->ChargePosition(nomFichier, &erreur, &avertissement)) return false;
    if (chargeFisik && !avertissement.empty()) {
        erreur = avertissement;
        return false;
    }

    simu.SetParamQueue(lu.ParamQueue());
    for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = lu.Trajets[b][0].Position;
    if (chargeFisik) simu.Fisik = lu.Fisik;
    return true;
}

bool EcritPositionAvecQueue(const std::string& source, float effet, float hauteur, float visee,
                            float inclinaison, float vitesse, float masse, const std::string& nomFichier,
                            std::string& erreur) {
    auto vue = std::make_unique<TBillardSansEcran>();
    std::string avertissement;
    if (!vue->ChargePosition(source, &erreur, &avertissement)) return false;
    TGLQueue& queue = *vue->Billard.Queue;
    queue.SetEffetHauteur(effet, hauteur);
    queue.SetVisee(visee);
    queue.SetInclinaison(inclinaison);
    queue.SetVitesse(vitesse);
    queue.SetMasse(masse);
    return vue->Billard.SauveFichier(nomFichier, &erreur);
}
