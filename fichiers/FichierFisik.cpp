#include "fichiers/FichierFisik.h"

#include "fichiers/FichierIni.h"

namespace {
constexpr const char* kDimensions = "Dimensions";
constexpr const char* kFrottements = "Frottements";
constexpr const char* kElasticite = "Elasticite";
constexpr const char* kDurees = "Durees";
constexpr const char* kAutres = "Autres";
}  // namespace

bool ChargeFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    if (!ini.Charge(nomFichier, erreur)) return false;

    p.largeurJeu = ini.LitReel(kDimensions, "LargJeu", p.largeurJeu);
    p.HautBdes = ini.LitReel(kDimensions, "HautBdes", p.HautBdes);
    p.FrotQueueBille = ini.LitReel(kFrottements, "FrotQueueBille", p.FrotQueueBille);
    p.SetParam(2, ini.LitReel(kDimensions, "RayonBilles", p.RayonBilles));

    p.MasseBilles = ini.LitReel(kDimensions, "MasseBilles", p.MasseBilles);
    p.VzRebondNul = ini.LitReel(kDimensions, "VzRebondNul", p.VzRebondNul);
    p.FrotBiTapGlisse = ini.LitReel(kFrottements, "FrotBiTapGlisse", p.FrotBiTapGlisse);
    p.FrotBiTapPivot = ini.LitReel(kFrottements, "FrotBiTapPivot", p.FrotBiTapPivot);
    p.FrotBiTapRoule = ini.LitReel(kFrottements, "FrotBiTapRoule", p.FrotBiTapRoule);
    p.FrotBiTapChoc = ini.LitReel(kFrottements, "FrotBiTapChoc", p.FrotBiTapChoc);
    p.FrotBiBi = ini.LitReel(kFrottements, "FrotBiBi", p.FrotBiBi);
    p.FrotBiBde = ini.LitReel(kFrottements, "FrotBiBde", p.FrotBiBde);
    p.ElastBiTap = ini.LitReel(kElasticite, "ElastBiTap", p.ElastBiTap);
    p.ElastBiBi = ini.LitReel(kElasticite, "ElastBiBi", p.ElastBiBi);
    p.ElastBiBde = ini.LitReel(kElasticite, "ElastBiBde", p.ElastBiBde);
    p.PerteEcQB = ini.LitReel(kElasticite, "ElastQueueBi", p.PerteEcQB);
    p.dtAnal = ini.LitReel(kDurees, "Tanal", p.dtAnal);
    p.dtEnr = ini.LitReel(kDurees, "Tenr", p.dtEnr);
    p.TLIM = ini.LitReel(kDurees, "Tmax", p.TLIM);
    p.G = ini.LitReel(kAutres, "G", p.G);

    // a zero where the physics divides, or a huge value, would stall or break a shot
    p.BorneTout();

    p.NomFichierFisik = nomFichier;
    return true;
}

bool SauveFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    // an existing file keeps its other content; an unreadable one is not overwritten blindly
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;

    ini.EcritReel(kDimensions, "LargJeu", p.largeurJeu);
    ini.EcritReel(kDimensions, "HautBdes", p.HautBdes);
    ini.EcritReel(kDimensions, "RayonBilles", p.RayonBilles);
    ini.EcritReel(kDimensions, "MasseBilles", p.MasseBilles);
    ini.EcritReel(kDimensions, "VzRebondNul", p.VzRebondNul);
    ini.EcritReel(kFrottements, "FrotBiTapGlisse", p.FrotBiTapGlisse);
    ini.EcritReel(kFrottements, "FrotBiTapPivot", p.FrotBiTapPivot);
    ini.EcritReel(kFrottements, "FrotBiTapRoule", p.FrotBiTapRoule);
    ini.EcritReel(kFrottements, "FrotBiTapChoc", p.FrotBiTapChoc);
    ini.EcritReel(kFrottements, "FrotBiBi", p.FrotBiBi);
    ini.EcritReel(kFrottements, "FrotQueueBille", p.FrotQueueBille);
    ini.EcritReel(kFrottements, "FrotBiBde", p.FrotBiBde);
    ini.EcritReel(kElasticite, "ElastBiTap", p.ElastBiTap);
    ini.EcritReel(kElasticite, "ElastBiBi", p.ElastBiBi);
    ini.EcritReel(kElasticite, "ElastBiBde", p.ElastBiBde);
    ini.EcritReel(kElasticite, "ElastQueueBi", p.PerteEcQB);
    ini.EcritReel(kDurees, "Tanal", p.dtAnal);
    ini.EcritReel(kDurees, "Tenr", p.dtEnr);
    ini.EcritReel(kDurees, "Tmax", p.TLIM);
    ini.EcritReel(kAutres, "G", p.G);

    if (!ini.Sauve(nomFichier, erreur)) return false;
    p.NomFichierFisik = nomFichier;
    return true;
}
