#include "cli/TachesCalibration.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void AjouteNombre(std::string& texte, double v) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx ",
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
    texte += hex;
}

bool LitNombre(std::istringstream& in, double& v) {
    std::string mot;
    if (!(in >> mot) || mot.size() != 16) return false;
    char* fin = nullptr;
    const unsigned long long bits = std::strtoull(mot.c_str(), &fin, 16);
    if (fin != mot.c_str() + 16) return false;
    v = std::bit_cast<double>(static_cast<std::uint64_t>(bits));
    return true;
}

}  // namespace

void AjouteAjustement(std::string& texte, const TResultatAjustement& r) {
    const TParamQueue& q = r.Queue;
    for (double v : {q.VitesseQueue, q.MasseQueue, q.Effet, q.Hauteur, q.AngleOx, q.AngleTapis, r.Frappe,
                     r.Score.Bille1, r.Score.Toutes, double(r.NbCoups), r.Secondes, r.Interrompu ? 1.0 : 0.0})
        AjouteNombre(texte, v);
}

bool LitAjustement(std::istringstream& in, TResultatAjustement& r) {
    TParamQueue& q = r.Queue;
    double nbCoups = 0, interrompu = 0;
    for (double* v : {&q.VitesseQueue, &q.MasseQueue, &q.Effet, &q.Hauteur, &q.AngleOx, &q.AngleTapis,
                      &r.Frappe, &r.Score.Bille1, &r.Score.Toutes, &nbCoups, &r.Secondes, &interrompu})
        if (!LitNombre(in, *v)) return false;
    r.NbCoups = long(nbCoups);
    r.Interrompu = interrompu != 0;
    return true;
}

std::string EncodeTache(const TPARAMPHYS& fisik, const TTacheCoup& tache) {
    std::string texte = std::to_string(tache.Coup) + (tache.Complet ? " 1 " : " 0 ");
    AjouteAjustement(texte, tache.Depart);
    for (const TConstanteCalibrable& c : ConstantesCalibrables())
        AjouteNombre(texte, fisik.Constantes().*c.Champ);
    return texte;
}

bool DecodeTache(const std::string& texte, const TCalibrationTable& calibration, TPARAMPHYS& fisik,
                 TTacheCoup& tache) {
    std::istringstream in(texte);
    int complet = 0;
    if (!(in >> tache.Coup >> complet) || tache.Coup < 0 || tache.Coup >= int(calibration.Coups().size()))
        return false;
    tache.Complet = complet != 0;
    if (!LitAjustement(in, tache.Depart)) return false;
    fisik = calibration.Depart();
    TConstantesPhys lues = fisik.Constantes();
    for (const TConstanteCalibrable& c : ConstantesCalibrables())
        if (!LitNombre(in, lues.*c.Champ)) return false;
    // numbers from another rank: within their ranges like any other constants
    fisik.Change(lues);
    return true;
}
