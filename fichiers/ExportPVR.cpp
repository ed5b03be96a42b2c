#include "fichiers/ExportPVR.h"

#include <algorithm>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/NombresIni.h"

namespace {

void AjouteReel(std::string& ligne, double v, char separateur) {
    std::string s = FormatReel(v);
    if (separateur != '.') std::replace(s.begin(), s.end(), '.', separateur);
    ligne += s;
    ligne += '\t';
}

void AjouteEntier(std::string& ligne, int v) {
    ligne += std::to_string(v);
    ligne += '\t';
}

}  // namespace

std::string TexteExportPVR(const TStockTrajets& trajets, char separateur) {
    std::string texte;
    const int n = std::clamp(trajets.NbPhotos, 0, NbPhotosMax);
    texte.reserve(static_cast<size_t>(n + 1) * 400);
    std::string ligne;
    for (int k = 0; k <= n; ++k) {
        ligne.clear();
        AjouteReel(ligne, trajets.Temps[k], separateur);
        AjouteEntier(ligne, trajets.TypesChocs[k]);
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = trajets.Trajets[b][k];
            AjouteEntier(ligne, trajets.Mouvements[b][k]);
            for (const TVecteur* v : {&p.Position, &p.Vitesse, &p.Rotation}) {
                AjouteReel(ligne, v->x, separateur);
                AjouteReel(ligne, v->y, separateur);
                AjouteReel(ligne, v->z, separateur);
            }
        }
        // the tab after the last field becomes the line end
        ligne.back() = '\n';
        texte += ligne;
    }
    return texte;
}

bool ExportePVR(const TStockTrajets& trajets, const std::string& nomFichier, char separateur,
                std::string* erreur) {
    // a broken result is not exported as if it were one
    if (const int k = trajets.PremierePhotoNonFinie(); k >= 0) {
        if (erreur) *erreur = "\"" + nomFichier + "\" : valeurs non finies à la photo " + std::to_string(k);
        return false;
    }
    return EcritFichierAtomique(nomFichier, TexteExportPVR(trajets, separateur), erreur);
}
