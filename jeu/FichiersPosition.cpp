#include "jeu/FichiersPosition.h"

#include <filesystem>

#include "fichiers/NombresIni.h"

namespace {

constexpr const char* kQueue = "Queue";
constexpr const char* kPositions = "Positions";
constexpr const char* kVitesses = "Vitesses";
constexpr const char* kRotations = "Rotations";
constexpr const char* kGLBillard = "GLBillard";
constexpr const char* kCamera[3] = {"CamActX", "CamActY", "CamActZ"};
constexpr const char* kCible[3] = {"TatgetX", "TatgetY", "TatgetZ"};

// "P1x" ... "R3z": letter, ball number, axis
std::string Cle(char lettre, int bille, char axe) { return {lettre, char('0' + bille), axe}; }

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

// a key that holds a finite number, as a single
std::optional<float> LitSimple(const TFichierIni& ini, const char* cle) {
    const auto texte = ini.Lit(kGLBillard, cle);
    if (!texte) return std::nullopt;
    const auto v = LitReelTexte(*texte);
    if (!v) return std::nullopt;
    return float(*v);
}

}  // namespace

bool ChargeIniPosition(const std::string& nomFichier, TFichierIni& ini, std::string* erreur) {
    if (!ini.Charge(nomFichier, erreur)) return false;
    // a file of another kind would silently put every ball at the centre
    if (!ini.SectionExiste(kQueue) && !ini.SectionExiste(kPositions)) {
        if (erreur)
            *erreur = nomFichier + " : ce n'est pas un fichier de positions (ni [Queue] ni [Positions])";
        return false;
    }
    return true;
}

void EcritSectionsPosition(TFichierIni& ini, const TParamQueue& queue,
                           const std::array<TVecteur, 3>& positions) {
    ini.EcritReel(kQueue, "Vq", queue.VitesseQueue);
    ini.EcritReel(kQueue, "m", queue.MasseQueue);
    ini.EcritReel(kQueue, "AngleOx", queue.AngleOx);
    ini.EcritReel(kQueue, "AngleTapis", queue.AngleTapis);
    ini.EcritReel(kQueue, "Effet", queue.Effet);
    ini.EcritReel(kQueue, "Hauteur", queue.Hauteur);
    // velocities and rotations are not kept: a position restarts with a cue impact
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kPositions, 'P', b, positions[size_t(b - 1)]);
}

void LitSectionsPosition(const TFichierIni& ini, TParamQueue& queue, std::array<TVecteur, 3>& positions) {
    queue.VitesseQueue = ini.LitReel(kQueue, "Vq", queue.VitesseQueue);
    queue.MasseQueue = ini.LitReel(kQueue, "m", queue.MasseQueue);
    queue.AngleOx = ini.LitReel(kQueue, "AngleOx", 0);
    queue.AngleTapis = ini.LitReel(kQueue, "AngleTapis", 0);
    queue.Effet = ini.LitReel(kQueue, "Effet", 0);
    queue.Hauteur = ini.LitReel(kQueue, "Hauteur", 0);
    for (int b = 1; b <= NbBilles; ++b) positions[size_t(b - 1)] = LitVecteur(ini, kPositions, 'P', b);
}

void SauvePosition(const TBillardVelmora& simu, TFichierIni& ini) {
    const std::array<TVecteur, 3> positions{simu.Trajets[1][0].Position, simu.Trajets[2][0].Position,
                                            simu.Trajets[3][0].Position};
    EcritSectionsPosition(ini, simu.ParamQueue(), positions);
}

void ChargePosition(TBillardVelmora& simu, const TFichierIni& ini) {
    TParamQueue queue = simu.ParamQueue();
    std::array<TVecteur, 3> positions{};
    LitSectionsPosition(ini, queue, positions);
    simu.SetParamQueue(queue);
    for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = positions[size_t(b - 1)];
}

void EcritSectionGLBillard(TFichierIni& ini, const TSectionGLBillard& vue) {
    ini.EcritBooleen(kGLBillard, "Hrelatif", vue.Hrelatif);
    ini.EcritEntier(kGLBillard, "TypeCamActive", vue.CamMobile ? 1 : 0);
    for (int i = 0; i < 3; ++i)
        if (vue.Camera[size_t(i)]) ini.EcritReel(kGLBillard, kCamera[i], *vue.Camera[size_t(i)]);
    for (int i = 0; i < 3; ++i)
        if (vue.Cible[size_t(i)]) ini.EcritReel(kGLBillard, kCible[i], *vue.Cible[size_t(i)]);
    // a position made without a parameter file keeps none that an earlier save of the file named
    if (!vue.FisikFile.empty())
        ini.EcritTexte(kGLBillard, "FisikFile", vue.FisikFile);
    else
        ini.EffaceCle(kGLBillard, "FisikFile");
}

TSectionGLBillard LitSectionGLBillard(const TFichierIni& ini) {
    TSectionGLBillard vue;
    vue.Hrelatif = ini.LitBooleen(kGLBillard, "Hrelatif", false);
    vue.CamMobile = ini.LitEntier(kGLBillard, "TypeCamActive", 0) != 0;
    for (int i = 0; i < 3; ++i) {
        vue.Camera[size_t(i)] = LitSimple(ini, kCamera[i]);
        vue.Cible[size_t(i)] = LitSimple(ini, kCible[i]);
    }
    vue.FisikFile = ini.LitTexte(kGLBillard, "FisikFile", "");
    return vue;
}

std::string CheminFisik(const std::string& fisikFile, const std::string& fichierPosition) {
    namespace fs = std::filesystem;
    if (fisikFile.empty()) return {};
    std::error_code ec;
    if (fs::is_regular_file(fisikFile, ec)) return fisikFile;
    const fs::path p(fisikFile);
    if (p.is_relative()) {
        const fs::path voisin = fs::path(fichierPosition).parent_path() / p;
        if (fs::is_regular_file(voisin, ec)) return voisin.string();
    }
    return {};
}

bool SauveLancer(const TBillardVelmora& simu, const std::string& nomFichier, std::string* erreur) {
    // an existing file keeps its other entries; an unreadable one is not overwritten blindly
    TFichierIni ini;
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kPositions, 'P', b, simu.Trajets[b][0].Position);
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kVitesses, 'V', b, simu.Trajets[b][0].Vitesse);
    for (int b = 1; b <= NbBilles; ++b) EcritVecteur(ini, kRotations, 'R', b, simu.Trajets[b][0].Rotation);
    return ini.Sauve(nomFichier, erreur);
}

bool ChargeLancer(TBillardVelmora& simu, const std::string& nomFichier, std::string* erreur) {
    // a file that cannot be read changes nothing: photo 0 is not lost to zeros
    TFichierIni ini;
    if (!ini.Charge(nomFichier, erreur)) return false;
    // a file of another kind would silently put every ball at the centre, at rest
    if (!ini.SectionExiste(kPositions) && !ini.SectionExiste(kVitesses) && !ini.SectionExiste(kRotations)) {
        if (erreur)
            *erreur = nomFichier +
                      " : ce n'est pas un fichier de lancer (ni [Positions], ni [Vitesses], ni [Rotations])";
        return false;
    }
    for (int b = 1; b <= NbBilles; ++b) {
        TPVR& p = simu.Trajets[b][0];
        p.Position = LitVecteur(ini, kPositions, 'P', b);
        p.Vitesse = LitVecteur(ini, kVitesses, 'V', b);
        p.Rotation = LitVecteur(ini, kRotations, 'R', b);
    }
    return true;
}
