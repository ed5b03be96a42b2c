// Position (".vel") and manual launch (".vel2") files of the simulation object.
#include <string>

#include "sim/C8_BillardVelmora.h"
#include "fichiers/FichierIni.h"

namespace {

constexpr const char* kQueue = "Queue";
constexpr const char* kPositions = "Positions";
constexpr const char* kVitesses = "Vitesses";
constexpr const char* kRotations = "Rotations";

// "P1x" ... "R3z": letter, ball number, axis
std::string Cle(char lettre, int bille, char axe) {
    return {lettre, char('0' + bille), axe};
}

void EcritVecteur(TFichierIni& ini, const char* section, char lettre, int bille, const TVecteur& v) {
    ini.EcritReel(section, Cle(lettre, bille, 'x'), v.x);
    ini.EcritReel(section, Cle(lettre, bille, 'y'), v.y);
    ini.EcritReel(section, Cle(lettre, bille, 'z'), v.z);
}

// a missing key or a value that is not a finite number reads as 0
TVecteur LitVecteur(const TFichierIni& ini, const char* section, char lettre, int bille) {
    return {ini.LitReel(section, Cle(lettre, bille, 'x'), 0),
            ini.LitReel(section, Cle(lettre, bille, 'y'), 0),
            ini.LitReel(section, Cle(lettre, bille, 'z'), 0)};
}

}  // namespace

void TBillardVelmora::SauvePosition(const std::string& /*nomFichier*/, TFichierIni& ini) const {
    ini.EcritReel(kQueue, "Vq", VitesseQueue);
    ini.EcritReel(kQueue, "m", MasseQueue);
    ini.EcritReel(kQueue, "AngleOx", AngleOx);
    ini.EcritReel(kQueue, "AngleTapis", AngleTapis);
    ini.EcritReel(kQueue, "Effet", Effet);
    ini.EcritReel(kQueue, "Hauteur", Hauteur);
    // velocities and rotations are not kept: a position restarts with a cue impact
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kPositions, 'P', b, Trajets[b][0].Position);
}

void TBillardVelmora::ChargePosition(const std::string& /*nomFichier*/, const TFichierIni& ini) {
    VitesseQueue = ini.LitReel(kQueue, "Vq", VitesseQueue);
    MasseQueue = ini.LitReel(kQueue, "m", MasseQueue);
    AngleOx = ini.LitReel(kQueue, "AngleOx", 0);
    AngleTapis = ini.LitReel(kQueue, "AngleTapis", 0);
    Effet = ini.LitReel(kQueue, "Effet", 0);
    Hauteur = ini.LitReel(kQueue, "Hauteur", 0);
    for (int b = 1; b <= NbBilles; ++b) Trajets[b][0].Position = LitVecteur(ini, kPositions, 'P', b);
}

bool TBillardVelmora::SauveLancer(const std::string& nomFichier, std::string* erreur) const {
    // an existing file keeps its other entries; an unreadable one is not overwritten blindly
    TFichierIni ini;
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kPositions, 'P', b, Trajets[b][0].Position);
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kVitesses, 'V', b, Trajets[b][0].Vitesse);
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kRotations, 'R', b, Trajets[b][0].Rotation);
    return ini.Sauve(nomFichier, erreur);
}

bool TBillardVelmora::ChargeLancer(const std::string& nomFichier, std::string* erreur) {
    // a file that cannot be read changes nothing: photo 0 is not lost to zeros
    TFichierIni ini;
    if (!ini.Charge(nomFichier, erreur)) return false;
    // a file of another kind would silently put every ball at the centre, at rest
    if (!ini.SectionExiste(kPositions) && !ini.SectionExiste(kVitesses) && !ini.SectionExiste(kRotations)) {
        if (erreur)
            *erreur = nomFichier + " : ce n'est pas un fichier de lancer (ni [Positions], ni [Vitesses], ni [Rotations])";
        return false;
    }
    for (int b = 1; b <= NbBilles; ++b) {
        TPVR& p = Trajets[b][0];
        p.Position = LitVecteur(ini, kPositions, 'P', b);
        p.Vitesse = LitVecteur(ini, kVitesses, 'V', b);
        p.Rotation = LitVecteur(ini, kRotations, 'R', b);
    }
    return true;
}
