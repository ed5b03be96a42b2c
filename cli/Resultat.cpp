#include "cli/Resultat.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Commandes.h"
#include "cli/EntreesSorties.h"
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

int ExecuteTir(const std::string& commande, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err,
               const std::function<bool(TBillardVelmora&, const TOptionsTir&, std::string*)>& charge,
               const std::function<void(TBillardVelmora&)>& joue, bool enMots) {
    TOptionsTir options;
    std::string erreur;
    if (!LitOptionsTir(args, options, &erreur) ||
        (!options.exportPvr.empty() &&
         !SortieDistincte(options.exportPvr, {options.fichier, options.fsk}, &erreur))) {
        err << "velmora-sim " << commande << " : " << erreur << " (velmora-sim " << commande
            << " --help pour l'aide)\n";
        return kErreurUsage;
    }
    // the photo store is large: the object lives on the heap
    auto simu = std::make_unique<TBillardVelmora>();
    if (!charge(*simu, options, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    simu->ModeDeJeu = options.mode;
    joue(*simu);
    return RapporteTir(*simu, options, out, err, enMots);
}
