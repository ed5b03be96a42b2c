#include "cli/ChargementPosition.h"

#include "fichiers/FichierFisik.h"
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

bool EcritPositionAvecQueue(const std::string& source, float effet, float hauteur, float visee,
                            float inclinaison, float vitesse, float masse, const std::string& nomFichier,
                            std::string* erreur) {
    TPositionOuverte ouverte;
    if (!LitPositionJeu(source, ouverte, erreur)) return false;
    TQueueDegres& q = ouverte.Position.Queue;
    q.Effet = effet;
    q.Hauteur = hauteur;
    q.Visee = visee;
    q.SetInclinaison(inclinaison);
    q.SetVitesse(vitesse);
    q.SetMasse(masse);
    return SauvePositionJeu(nomFichier, ouverte.Position, VueOuverte(ouverte), erreur);
}

bool ChargeTir(TBillardVelmora& simu, const std::string& fichier, const std::string& fsk,
               std::string* erreur) {
    return PrepareSimulation(simu, fsk, erreur) && ChargeFichierPosition(simu, fichier, fsk.empty(), erreur);
}
