#include "cli/Resultat.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/Commandes.h"
#include "cli/TirEnMots.h"
#include "fichiers/ExportPVR.h"
#include "fichiers/NombresIni.h"

const char* TexteResultat(const TBillardVelmora& simu) {
    if (simu.FausseQueue) return "fausse queue";
    return simu.PointReussi ? "réussi" : "manqué";
}

int RapporteTir(const TBillardVelmora& simu, const TOptionsTir& options, std::ostream& out, std::ostream& err,
                bool enMots) {
    // parameters or cue values beyond what the numbers can carry: never a success
    if (const int k = simu.PremierePhotoNonFinie(); k >= 0) {
        err << "velmora-sim : calcul invalide, valeurs non finies à la photo " << k
            << " (paramètres ou queue hors d'usage)\n";
        return kErreurFichier;
    }
    if (!options.exportPvr.empty()) {
        std::string erreur;
        if (!ExportePVR(simu, options.exportPvr, '.', &erreur)) {
            err << "velmora-sim : export impossible, " << erreur << "\n";
            return kErreurFichier;
        }
    }
    const std::string temps = FormatReel(simu.Temps[simu.NbPhotos]);
    if (options.json) {
        out << "{\"outcome\": \"" << TexteResultat(simu)
            << "\", \"point\": " << (simu.PointReussi ? "true" : "false")
            << ", \"miscue\": " << (simu.FausseQueue ? "true" : "false") << ", \"photos\": " << simu.NbPhotos
            << ", \"time\": " << temps << (enMots ? ChampsJsonTir(simu) : std::string()) << "}\n";
    } else {
        out << TexteResultat(simu) << " photos=" << simu.NbPhotos << " t=" << temps << "\n";
        if (enMots) out << LignesTirEnMots(simu);
    }
    return out.good() ? kSucces : kErreurFichier;
}

std::string Fixe(double v, int decimales) {
    char texte[64];
    std::snprintf(texte, sizeof texte, "%.*f", decimales, v);
    return texte;
}
