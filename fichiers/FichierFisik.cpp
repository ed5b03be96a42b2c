#include "fichiers/FichierFisik.h"

#include <algorithm>
#include <cctype>

#include "fichiers/FichierIni.h"

namespace {
constexpr const char* kDimensions = "Dimensions";
constexpr const char* kFrottements = "Frottements";
constexpr const char* kElasticite = "Elasticite";
constexpr const char* kDurees = "Durees";
constexpr const char* kAutres = "Autres";
constexpr const char* kModeleBande = "ModeleBande";

// the cushion model and its constants; false with the reason for a model name it does not know
bool LitModeleBande(const TFichierIni& ini, const std::string& nomFichier, TConstantesPhys& c,
                    std::string* erreur) {
    const auto nom = ini.Lit(kModeleBande, "Modele");
    const auto modele = nom ? ModeleBandeDeNom(*nom) : std::optional<TModeleBande>(mbImpulsion);
    if (!modele) {
        if (erreur)
            *erreur = "\"" + nomFichier + "\" : [ModeleBande] Modele=" + *nom +
                      " : modèle de bande inconnu (" + NomModeleBande(mbImpulsion) + " ou " +
                      NomModeleBande(mbMathavan) + " attendu)";
        return false;
    }
    c.ModeleBande = *modele;
    c.ElastMathavan = ini.LitReel(kModeleBande, "ElastMathavan", c.ElastMathavan);
    c.FrotMathavan = ini.LitReel(kModeleBande, "FrotMathavan", c.FrotMathavan);
    return true;
}
}  // namespace

const char* NomModeleBande(TModeleBande modele) {
    return modele == mbMathavan ? "Mathavan2010" : "Impulsion";
}

std::optional<TModeleBande> ModeleBandeDeNom(std::string_view nom) {
    for (const TModeleBande m : {mbImpulsion, mbMathavan}) {
        const std::string_view n = NomModeleBande(m);
        if (nom.size() == n.size() && std::equal(nom.begin(), nom.end(), n.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return m;
    }
    return std::nullopt;
}

bool ChargeFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    if (!ini.Charge(nomFichier, erreur)) return false;

    // a missing key or a bad number keeps the current value
    TConstantesPhys c = p.Constantes();
    c.largeurJeu = ini.LitReel(kDimensions, "LargJeu", c.largeurJeu);
    c.HautBdes = ini.LitReel(kDimensions, "HautBdes", c.HautBdes);
    c.RayonBilles = ini.LitReel(kDimensions, "RayonBilles", c.RayonBilles);
    c.MasseBilles = ini.LitReel(kDimensions, "MasseBilles", c.MasseBilles);
    c.VzRebondNul = ini.LitReel(kDimensions, "VzRebondNul", c.VzRebondNul);
    c.FrotBiTapGlisse = ini.LitReel(kFrottements, "FrotBiTapGlisse", c.FrotBiTapGlisse);
    c.FrotBiTapPivot = ini.LitReel(kFrottements, "FrotBiTapPivot", c.FrotBiTapPivot);
    c.FrotBiTapRoule = ini.LitReel(kFrottements, "FrotBiTapRoule", c.FrotBiTapRoule);
    c.FrotBiTapChoc = ini.LitReel(kFrottements, "FrotBiTapChoc", c.FrotBiTapChoc);
    c.FrotBiBi = ini.LitReel(kFrottements, "FrotBiBi", c.FrotBiBi);
    c.FrotBiBde = ini.LitReel(kFrottements, "FrotBiBde", c.FrotBiBde);
    c.FrotQueueBille = ini.LitReel(kFrottements, "FrotQueueBille", c.FrotQueueBille);
    c.ElastBiTap = ini.LitReel(kElasticite, "ElastBiTap", c.ElastBiTap);
    c.ElastBiBi = ini.LitReel(kElasticite, "ElastBiBi", c.ElastBiBi);
    c.ElastBiBde = ini.LitReel(kElasticite, "ElastBiBde", c.ElastBiBde);
    c.PerteEcQB = ini.LitReel(kElasticite, "ElastQueueBi", c.PerteEcQB);
    c.dtAnal = ini.LitReel(kDurees, "Tanal", c.dtAnal);
    c.dtEnr = ini.LitReel(kDurees, "Tenr", c.dtEnr);
    c.TLIM = ini.LitReel(kDurees, "Tmax", c.TLIM);
    c.G = ini.LitReel(kAutres, "G", c.G);
    if (!LitModeleBande(ini, nomFichier, c, erreur)) return false;
    // a zero where the physics divides, or a huge value, would stall or break a shot
    p.Change(c);

    p.NomFichierFisik = nomFichier;
    return true;
}

bool SauveFisik(TPARAMPHYS& p, const std::string& nomFichier, std::string* erreur) {
    TFichierIni ini;
    // an existing file keeps its other content; an unreadable one is not overwritten blindly
    if (!ini.ChargeSiExiste(nomFichier, erreur)) return false;

    const TConstantesPhys& c = p.Constantes();
    ini.EcritReel(kDimensions, "LargJeu", c.largeurJeu);
    ini.EcritReel(kDimensions, "HautBdes", c.HautBdes);
    ini.EcritReel(kDimensions, "RayonBilles", c.RayonBilles);
    ini.EcritReel(kDimensions, "MasseBilles", c.MasseBilles);
    ini.EcritReel(kDimensions, "VzRebondNul", c.VzRebondNul);
    ini.EcritReel(kFrottements, "FrotBiTapGlisse", c.FrotBiTapGlisse);
    ini.EcritReel(kFrottements, "FrotBiTapPivot", c.FrotBiTapPivot);
    ini.EcritReel(kFrottements, "FrotBiTapRoule", c.FrotBiTapRoule);
    ini.EcritReel(kFrottements, "FrotBiTapChoc", c.FrotBiTapChoc);
    ini.EcritReel(kFrottements, "FrotBiBi", c.FrotBiBi);
    ini.EcritReel(kFrottements, "FrotQueueBille", c.FrotQueueBille);
    ini.EcritReel(kFrottements, "FrotBiBde", c.FrotBiBde);
    ini.EcritReel(kElasticite, "ElastBiTap", c.ElastBiTap);
    ini.EcritReel(kElasticite, "ElastBiBi", c.ElastBiBi);
    ini.EcritReel(kElasticite, "ElastBiBde", c.ElastBiBde);
    ini.EcritReel(kElasticite, "ElastQueueBi", c.PerteEcQB);
    ini.EcritReel(kDurees, "Tanal", c.dtAnal);
    ini.EcritReel(kDurees, "Tenr", c.dtEnr);
    ini.EcritReel(kDurees, "Tmax", c.TLIM);
    ini.EcritReel(kAutres, "G", c.G);
    // the cushion model's section only for a table that has one (today's tables are written as
    // before), or to keep an existing one true
    if (c.ModeleBande != mbImpulsion || ini.SectionExiste(kModeleBande)) {
        ini.EcritTexte(kModeleBande, "Modele", NomModeleBande(c.ModeleBande));
        ini.EcritReel(kModeleBande, "ElastMathavan", c.ElastMathavan);
        ini.EcritReel(kModeleBande, "FrotMathavan", c.FrotMathavan);
    }

    if (!ini.Sauve(nomFichier, erreur)) return false;
    p.NomFichierFisik = nomFichier;
    return true;
}
