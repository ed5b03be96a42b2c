#include "sim/ParamPhys.h"

#include <algorithm>
#include <cmath>

#include "sim/FichierIni.h"

namespace {
constexpr const char* kDimensions = "Dimensions";
constexpr const char* kFrottements = "Frottements";
constexpr const char* kElasticite = "Elasticite";
constexpr const char* kDurees = "Durees";
constexpr const char* kAutres = "Autres";
}  // namespace

TPARAMPHYS::TPARAMPHYS() { ValeursUsine(); }

void TPARAMPHYS::ValeursUsine() {
    largeurJeu = 142.25;
    HautBdes = 3.7;
    FrotQueueBille = 0.9;
    SetParam(2, 3.075);
    MasseBilles = 215;
    VzRebondNul = 0.5;
    FrotBiTapGlisse = 0.15;
    FrotBiTapPivot = 0.015;
    FrotBiTapRoule = 0.006;
    FrotBiTapChoc = 0.2;
    FrotBiBi = 0.03;
    FrotBiBde = 0.3;
    ElastBiTap = 0.5;
    ElastBiBi = 0.87;
    ElastBiBde = 0.8;
    PerteEcQB = 0.13;
    dtAnal = 0.01;
    dtEnr = 0.05;
    TLIM = 12;
    G = 981;
    NomFichierFisik.clear();
}

void TPARAMPHYS::SetParam(int index, double valeur) {
    switch (index) {
        case 0: largeurJeu = valeur; break;
        case 1: HautBdes = valeur; break;
        case 2: RayonBilles = valeur; break;
        case 3: FrotQueueBille = valeur; break;
        default: break;
    }
    if (!(RayonBilles >= 0.001)) RayonBilles = 0.001;
    const double r = RayonBilles;
    Rayon2 = r * r;
    Diametre = 2 * r;
    Diametre2 = Diametre * Diametre;
    // the nose is never below the ball centre nor above the ball
    if (HautBdes > Diametre)
        HautBdes = 0.98 * Diametre;
    else if (!(HautBdes >= r))
        HautBdes = r;
    if (!(FrotQueueBille >= 0.001)) FrotQueueBille = 0.001;
    // tip offset at which the contact normal leaves the friction cone of the tip
    const double f = FrotQueueBille;
    const double deport = r * f / std::sqrt(f * f + 1);
    DeportMax2 = deport * deport;
    CalculBandes();
}

void TPARAMPHYS::CalculBandes() {
    const double l = largeurJeu;
    const double h = HautBdes;
    Bandes[0] = {Vecteur(0, 1, 0), Vecteur(l / 2, 0, h), Vecteur(-1, 0, 0), 1};
    Bandes[1] = {Vecteur(0, -1, 0), Vecteur(-l / 2, 0, h), Vecteur(1, 0, 0), 3};
    Bandes[2] = {Vecteur(-1, 0, 0), Vecteur(0, l, h), Vecteur(0, -1, 0), 2};
    Bandes[3] = {Vecteur(1, 0, 0), Vecteur(0, -l, h), Vecteur(0, 1, 0), 4};
}

bool TPARAMPHYS::Charge(const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    if (!ini.Charge(nomFichier, erreur)) return false;

    largeurJeu = ini.LitReel(kDimensions, "LargJeu", largeurJeu);
    HautBdes = ini.LitReel(kDimensions, "HautBdes", HautBdes);
    FrotQueueBille = ini.LitReel(kFrottements, "FrotQueueBille", FrotQueueBille);
    SetParam(2, ini.LitReel(kDimensions, "RayonBilles", RayonBilles));

    MasseBilles = ini.LitReel(kDimensions, "MasseBilles", MasseBilles);
    VzRebondNul = ini.LitReel(kDimensions, "VzRebondNul", VzRebondNul);
    FrotBiTapGlisse = ini.LitReel(kFrottements, "FrotBiTapGlisse", FrotBiTapGlisse);
    FrotBiTapPivot = ini.LitReel(kFrottements, "FrotBiTapPivot", FrotBiTapPivot);
    FrotBiTapRoule = ini.LitReel(kFrottements, "FrotBiTapRoule", FrotBiTapRoule);
    FrotBiTapChoc = ini.LitReel(kFrottements, "FrotBiTapChoc", FrotBiTapChoc);
    FrotBiBi = ini.LitReel(kFrottements, "FrotBiBi", FrotBiBi);
    FrotBiBde = ini.LitReel(kFrottements, "FrotBiBde", FrotBiBde);
    ElastBiTap = ini.LitReel(kElasticite, "ElastBiTap", ElastBiTap);
    ElastBiBi = ini.LitReel(kElasticite, "ElastBiBi", ElastBiBi);
    ElastBiBde = ini.LitReel(kElasticite, "ElastBiBde", ElastBiBde);
    PerteEcQB = ini.LitReel(kElasticite, "ElastQueueBi", PerteEcQB);
    dtAnal = ini.LitReel(kDurees, "Tanal", dtAnal);
    dtEnr = ini.LitReel(kDurees, "Tenr", dtEnr);
    TLIM = ini.LitReel(kDurees, "Tmax", TLIM);
    G = ini.LitReel(kAutres, "G", G);

    // the physics divides by these: a zero or negative value would stall or break a shot
    for (double* p : {&G, &FrotBiTapGlisse, &FrotBiTapPivot, &FrotBiTapRoule, &dtAnal, &dtEnr})
        *p = std::max(*p, PlancherParam);

    NomFichierFisik = nomFichier;
    return true;
}

bool TPARAMPHYS::Sauve(const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    // an existing file keeps its other content; an unreadable one is not overwritten blindly
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;

    ini.EcritReel(kDimensions, "LargJeu", largeurJeu);
    ini.EcritReel(kDimensions, "HautBdes", HautBdes);
    ini.EcritReel(kDimensions, "RayonBilles", RayonBilles);
    ini.EcritReel(kDimensions, "MasseBilles", MasseBilles);
    ini.EcritReel(kDimensions, "VzRebondNul", VzRebondNul);
    ini.EcritReel(kFrottements, "FrotBiTapGlisse", FrotBiTapGlisse);
    ini.EcritReel(kFrottements, "FrotBiTapPivot", FrotBiTapPivot);
    ini.EcritReel(kFrottements, "FrotBiTapRoule", FrotBiTapRoule);
    ini.EcritReel(kFrottements, "FrotBiTapChoc", FrotBiTapChoc);
    ini.EcritReel(kFrottements, "FrotBiBi", FrotBiBi);
    ini.EcritReel(kFrottements, "FrotQueueBille", FrotQueueBille);
    ini.EcritReel(kFrottements, "FrotBiBde", FrotBiBde);
    ini.EcritReel(kElasticite, "ElastBiTap", ElastBiTap);
    ini.EcritReel(kElasticite, "ElastBiBi", ElastBiBi);
    ini.EcritReel(kElasticite, "ElastBiBde", ElastBiBde);
    ini.EcritReel(kElasticite, "ElastQueueBi", PerteEcQB);
    ini.EcritReel(kDurees, "Tanal", dtAnal);
    ini.EcritReel(kDurees, "Tenr", dtEnr);
    ini.EcritReel(kDurees, "Tmax", TLIM);
    ini.EcritReel(kAutres, "G", G);

    if (!ini.Sauve(nomFichier, erreur)) return false;
    NomFichierFisik = nomFichier;
    return true;
}
