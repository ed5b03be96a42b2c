#include "cli/ChargementPosition.h"

#include <ostream>

#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "jeu/PositionJeu.h"

bool PrepareSimulation(TBillardVelmora& simu, const std::string& fsk, std::string* erreur) {
    simu.Fisik.ValeursUsine();
    simu.Fisik.SetParam(2, RayonBilleJeu);
    if (fsk.empty()) return true;
    if (!ChargeFisik(simu.Fisik, fsk, erreur)) return false;
    simu.Fisik.SetParam(2, RayonBilleJeu);
    return true;
}

bool ChargeFichierPosition(TBillardVelmora& simu, const std::string& nomFichier, bool chargeFisik,
                           std::string* erreur) {
    // the program's own steps: from its opening state it reads the file, its cue and balls take
    // the values (single precision, limits, constraints), and the shot starts from them
    TPositionOuverte ouverte;
    if (!LitPositionJeu(nomFichier, ouverte, erreur)) return false;
    // a parameter file that cannot be read leaves the simulation as it was
    if (chargeFisik && !ouverte.CheminFisik.empty() && !ChargeFisik(simu.Fisik, ouverte.CheminFisik, erreur))
        return false;
    simu.SetParamQueue(ParamSimu(ouverte.Position.Queue));
    const std::array<TVecteur, 3> positions = PositionsSimu(ouverte.Position.Billes);
    for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = positions[size_t(b - 1)];
    return true;
}

std::string TextePositionAvecQueue(const TPositionOuverte& source, const TQueueDegres& queue) {
    TPositionJeu position = source.Position;
    TQueueDegres& q = position.Queue;
    q.Effet = queue.Effet;
    q.Hauteur = queue.Hauteur;
    q.Visee = queue.Visee;
    q.SetInclinaison(queue.Inclinaison);
    q.SetVitesse(queue.Vitesse);
    q.SetMasse(queue.Masse);
    TFichierIni ini;
    EcritSectionsPosition(ini, ParamSimu(q), PositionsSimu(position.Billes));
    TSectionGLBillard vue = VueOuverte(source);
    vue.Hrelatif = true;
    EcritSectionGLBillard(ini, vue);
    return ini.Texte();
}

bool ChargeTir(TBillardVelmora& simu, const std::string& fichier, const std::string& fsk,
               std::string* erreur) {
    return PrepareSimulation(simu, fsk, erreur) && ChargeFichierPosition(simu, fichier, fsk.empty(), erreur);
}

std::unique_ptr<TBillardVelmora> ChargePositionOuDit(const TOptionsTir& tir, std::ostream& err) {
    auto simu = std::make_unique<TBillardVelmora>();
    std::string erreur;
    if (!ChargeTir(*simu, tir.fichier, tir.fsk, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return nullptr;
    }
    simu->ModeDeJeu = tir.mode;
    return simu;
}
