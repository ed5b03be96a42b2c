#include "cli/ChargementPosition.h"

#include <cmath>
#include <filesystem>
#include <numbers>

#include "sim/FichierIni.h"

namespace {

// radius of the 3D ball models: the factory radius held as a single
constexpr float kRayonBille = 3.075f;
// the cue model's inclination after the opening position, kept when a file's one is refused
constexpr float kInclinaisonDepart = 3.0f;

constexpr double kDegres = 180.0 / std::numbers::pi;
constexpr double kRadians = std::numbers::pi / 180.0;

double ParSimple(double v) {
    return static_cast<float>(v);
}

// a tip height measured in the horizontal frame, as measured in the frame of the inclined cue
double ConvertitHauteur(double h, double e, double alpha) {
    if (alpha == 0) return h;
    const double r = kRayonBille;
    const double rho2 = std::abs(r * r - e * e);
    const double rho = std::sqrt(rho2);
    return rho * std::sin(std::atan2(h, std::sqrt(std::abs(rho2 - h * h))) - alpha);
}

// the cue values through the 3D cue model: singles, angles in degrees, the model's own limits
void CueParModele(TBillardVelmora& simu) {
    float vitesse = static_cast<float>(simu.VitesseQueue);
    if (vitesse < 0) vitesse = 0;
    float masse = static_cast<float>(simu.MasseQueue);
    if (masse < 1) masse = 1;
    const float visee = static_cast<float>(simu.AngleOx * kDegres);
    float inclinaison = static_cast<float>(simu.AngleTapis * kDegres);
    if (!(inclinaison >= 0 && inclinaison < 90)) inclinaison = kInclinaisonDepart;

    simu.VitesseQueue = vitesse;
    simu.MasseQueue = masse;
    simu.Effet = ParSimple(simu.Effet);
    simu.Hauteur = ParSimple(simu.Hauteur);
    simu.AngleOx = visee * kRadians;
    simu.AngleTapis = inclinaison * kRadians;
}

// FisikFile as written, or else next to the position file
std::string CheminFisik(const std::string& nom, const std::string& fichierPosition) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_regular_file(nom, ec)) return nom;
    const fs::path p(nom);
    if (p.is_relative()) {
        const fs::path voisin = fs::path(fichierPosition).parent_path() / p;
        if (fs::is_regular_file(voisin, ec)) return voisin.string();
    }
    return {};
}

}  // namespace

bool PrepareSimulation(TBillardVelmora& simu, const std::string& fsk, std::string& erreur) {
    simu.Fisik.ValeursUsine();
    simu.Fisik.SetParam(2, kRayonBille);
    if (fsk.empty()) return true;
    if (!simu.Fisik.Charge(fsk, &erreur)) return false;
    simu.Fisik.SetParam(2, kRayonBille);
    return true;
}

bool ChargeFichierPosition(TBillardVelmora& simu, const std::string& nomFichier, bool chargeFisik,
                           std::string& erreur) {
    TFichierIni ini;
    if (!ini.Charge(nomFichier, &erreur)) return false;

    simu.ChargePosition(nomFichier, ini);
    if (!ini.LitBooleen("GLBillard", "Hrelatif", false))
        simu.Hauteur = ConvertitHauteur(simu.Hauteur, simu.Effet, simu.AngleTapis);
    CueParModele(simu);
    for (int b = 1; b <= NbBilles; ++b) {
        TVecteur& p = simu.Trajets[b][0].Position;
        p = Vecteur(ParSimple(p.x), ParSimple(p.y), ParSimple(p.z));
    }

    if (chargeFisik) {
        const std::string fisik = ini.LitTexte("GLBillard", "FisikFile", "");
        if (!fisik.empty()) {
            const std::string chemin = CheminFisik(fisik, nomFichier);
            if (!chemin.empty() && !simu.Fisik.Charge(chemin, &erreur)) return false;
        }
    }
    return true;
}
