#include "sim/C1_Types.h"

#include <cmath>

const char* TexteMouvement(int valeur) {
    switch (valeur) {
        case mvVole:
            return "(Vole)";
        case mvGlisse:
            return "(Glisse)";
        case mvRoule:
            return "(Roule)";
        case mvPivote:
            return "(Pivote)";
        case mvArret:
            return "(Arrêt)";
        case mvDehors:
            return "(Dehors)";
        default:
            return "(?)";
    }
}

const char* TexteTypeChoc(int valeur) {
    switch (valeur) {
        case tcAucun:
            return "aucun";
        case tcBilleBille:
            return "Bille/Bille";
        case tcBilleTapis:
            return "Bille/Tapis";
        case tcBilleBande:
            return "Bille/Bande";
        default:
            return "?";
    }
}

int TStockTrajets::PremierePhotoNonFinie() const {
    const auto fini = [](const TVecteur& v) {
        return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
    };
    const int n = NbPhotos < 0 ? 0 : NbPhotos > NbPhotosMax ? NbPhotosMax : NbPhotos;
    for (int k = 0; k <= n; ++k) {
        if (!std::isfinite(Temps[k])) return k;
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = Trajets[b][k];
            if (!fini(p.Position) || !fini(p.Vitesse) || !fini(p.Rotation)) return k;
        }
    }
    return -1;
}
