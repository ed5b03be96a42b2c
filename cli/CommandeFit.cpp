// velmora-sim fit: the cue that played a recorded shot (ball centres tracked from video).
#include <cstdio>
#include <memory>
#include <numbers>
#include <ostream>
#include <sstream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/EntreesSorties.h"
#include "cli/Resultat.h"
#include "cli/SortieJson.h"
#include "cli/TableOptions.h"
#include "cli/TexteContacts.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/FichierIni.h"
#include "fichiers/NombresIni.h"
#include "jeu/FichiersPosition.h"
#include "moteurs/AjustementCoup.h"
#include "moteurs/FideliteCoup.h"

namespace {

struct TOptionsFit {
    std::string enregistrement;
    std::string fsk;
    std::string sortie;
    TOptionsAjustement ajustement;
    bool json = false;
};

// "aim,speed,side,height,incl" (any of them)
bool LitLibres(const std::string& texte, std::array<bool, NbParamsAjustes>& libres) {
    static const char* const noms[NbParamsAjustes] = {"aim", "speed", "side", "height", "incl"};
    libres.fill(false);
    std::stringstream flux(texte);
    std::string nom;
    int n = 0;
    while (std::getline(flux, nom, ',')) {
        int k = 0;
        while (k < NbParamsAjustes && nom != noms[k]) ++k;
        if (k == NbParamsAjustes) return false;
        libres[k] = true;
        ++n;
    }
    return n > 0 && texte.back() != ',';
}

bool LitOptions(const std::vector<std::string>& args, TOptionsFit& o, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur, OptionTexte(o.fsk)},
        {"--save", TGenreOption::Valeur, OptionNonVide(o.sortie, "l'option --save attend un nom de fichier")},
        {"--free", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             return LitLibres(valeur, o.ajustement.Libres) ||
                    Refuse(erreur,
                           "--free : \"" + valeur + "\", liste attendue parmi aim,speed,side,height,incl");
         }},
        {"--score", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             if (valeur != "ball1" && valeur != "all")
                 return Refuse(erreur, "--score : \"" + valeur + "\", ball1 ou all attendu");
             o.ajustement.ScoreToutes = valeur == "all";
             return true;
         }},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(o.json)},
    };
    if (!LitOptionsCli(args, table, PositionnelUnique(o.enregistrement, "enregistrement"), erreur))
        return false;
    return !o.enregistrement.empty() || Refuse(erreur, "enregistrement (.csv) manquant");
}

// the fitted cue and the balls at their first samples, as a position file the program opens
bool SauveVel(const TAjustementCoup& a, const TResultatAjustement& r, const std::string& fsk,
              const std::string& nom, std::string* erreur) {
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik = a.Simu().Fisik;
    for (int b = 1; b <= NbBilles; ++b) simu->Trajets[b][0] = a.Simu().Trajets[b][0];
    simu->SetParamQueue(r.Queue);
    TFichierIni ini;
    SauvePosition(*simu, ini);
    ini.EcritBooleen("GLBillard", "Hrelatif", true);
    if (!fsk.empty()) ini.EcritTexte("GLBillard", "FisikFile", fsk);
    return ini.Sauve(nom, erreur);
}

// the fitted cue, its stroke time and its scores, as JSON or as text
void Rapporte(const TResultatAjustement& r, bool json, std::ostream& out);
// whether it plays the recorded route, and the recorded contacts it plays, with their differences
void RapporteContacts(const TFideliteCoup& f, bool json, std::ostream& out);

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsFit o;
    std::string erreur;
    if (!LitOptions(args, o, &erreur) ||
        (!o.sortie.empty() && !SortieDistincte(o.sortie, {o.enregistrement, o.fsk}, &erreur))) {
        err << "velmora-sim fit : " << erreur << " (velmora-sim fit --help pour l'aide)\n";
        return kErreurUsage;
    }
    auto simu = std::make_unique<TBillardVelmora>();
    TCoupEnregistre coup;
    if (!PrepareSimulation(*simu, o.fsk, &erreur) || !LitCoupEnregistre(o.enregistrement, coup, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    if (!o.sortie.empty() && !SauvegardePossible(o.sortie, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    TAjustementCoup ajustement(simu->Fisik, coup);
    const TResultatAjustement r = ajustement.Ajuste(o.ajustement);
    if (!o.sortie.empty() && !SauveVel(ajustement, r, o.fsk, o.sortie, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    Rapporte(r, o.json, out);
    RapporteContacts(CompareCoup(ajustement, r), o.json, out);
    return out.good() ? kSucces : kErreurFichier;
}

void Rapporte(const TResultatAjustement& r, bool json, std::ostream& out) {
    const TParamQueue& q = r.Queue;
    if (json) {
        out << "{\"cue\": " << JsonQueue(q) << ", \"stroke\": " << FormatReel(r.Frappe)
            << ", \"score_ball1\": " << FormatReel(r.Score.Bille1)
            << ", \"score_all\": " << FormatReel(r.Score.Toutes) << ", \"shots\": " << r.NbCoups
            << ", \"seconds\": " << FormatReel(r.Secondes);
    } else {
        constexpr double deg = 180 / std::numbers::pi;
        out << "queue : visée " << Fixe(q.AngleOx * deg, 3) << "°, vitesse " << Fixe(q.VitesseQueue, 1)
            << " cm/s, effet " << Fixe(q.Effet, 2) << " cm, hauteur " << Fixe(q.Hauteur, 2)
            << " cm, inclinaison " << Fixe(q.AngleTapis * deg, 1) << "°, masse " << Fixe(q.MasseQueue, 0)
            << " g\n"
            << "frappe : " << Fixe(r.Frappe, 3) << " s après le premier échantillon\n"
            << "score bille 1 : " << Fixe(r.Score.Bille1, 2) << " cm\n"
            << "score toutes billes : " << Fixe(r.Score.Toutes, 2) << " cm\n"
            << "coups calculés : " << r.NbCoups << " en " << Fixe(r.Secondes, 2) << " s\n";
    }
}

void RapporteContacts(const TFideliteCoup& f, bool json, std::ostream& out) {
    const TResultatAjustement& r = f.Ajustement;
    if (json) {
        out << ", \"route\": {\"reproduced\": " << (f.RouteReproduite ? "true" : "false")
            << ", \"contacts\": " << r.NbContacts << ", \"missed\": " << r.ContactsManques
            << "}, \"contacts\": [";
        for (std::size_t k = 0; k < f.Contacts.size(); ++k)
            out << (k ? ", " : "") << JsonContactCompare(f.Contacts[k]);
        out << "], \"parts\": " << JsonSeparation(f.Separation) << "}\n";
        return;
    }
    out << "route enregistrée : "
        << (f.RouteReproduite ? "jouée"
                              : "non jouée, " + std::to_string(r.ContactsManques) + " contact(s) manqué(s)")
        << " (" << r.NbContacts << " premiers contacts)\n"
        << "contacts joués comme enregistrés (écart calculé moins réel) :\n";
    for (const TContactCompare& c : f.Contacts)
        out << "  bille " << c.Bille << ", " << TexteContact(c.Enregistre) << " à " << Fixe(c.Enregistre.t, 2)
            << " s : " << Fixe(c.EcartTemps(), 3) << " s, " << Fixe(c.EcartPosition(), 1) << " cm\n";
    if (f.Separation.Existe) out << "se sépare à " << TexteSeparation(f.Separation) << "\n";
}

const char* const kAide =
    "usage : velmora-sim fit ENREGISTREMENT.csv [OPTIONS]\n\n"
    "Retrouve la queue qui a joué un coup enregistré (centres des billes suivis sur une vidéo,\n"
    "CSV « ball,t,x,y », bille 1 = bille frappée, t en s, x et y en cm) : visée, vitesse, effet et\n"
    "hauteur dont le trajet calculé colle le mieux aux échantillons, et l'instant de la frappe.\n"
    "Les billes partent de leur premier échantillon.\n\n"
    "options :\n"
    "  --fsk FICHIER.fsk      paramètres physiques (sinon ceux d'usine)\n"
    "  --free LISTE           paramètres ajustés parmi aim,speed,side,height,incl\n"
    "                         (par défaut aim,speed,side,height ; les autres restent à zéro, la\n"
    "                         visée et la vitesse à ce que disent les premiers échantillons)\n"
    "  --score ball1|all      écart minimisé : bille 1 (par défaut) ou les trois billes\n"
    "  --save SORTIE.vel      écrit la queue trouvée et les billes en fichier de positions (ni\n"
    "                         l'enregistrement ni le fichier de paramètres : refusé avant le calcul)\n"
    "  --json                 {\"cue\": {\"Vq\", \"m\", \"AngleOx\", \"AngleTapis\", \"Effet\", "
    "\"Hauteur\"},\n"
    "                         \"stroke\": s, \"score_ball1\": cm, \"score_all\": cm, \"shots\": N,\n"
    "                         \"seconds\": s, \"route\": {\"reproduced\", \"contacts\", \"missed\"},\n"
    "                         \"contacts\": [{\"ball\", \"contact\", \"with\", \"t\", \"dt\", \"dpos\"}],\n"
    "                         \"parts\": {\"ball\", \"t\", \"contact\", \"with\", \"missing\"} ou null}\n"
    "  --help                 cette aide\n\n"
    "Scores : écart quadratique moyen (cm) entre chaque échantillon et le centre calculé au même\n"
    "instant, de la bille 1 puis des trois billes.\n"
    "Contacts : les bandes et billes que chaque bille touche, retrouvés dans l'enregistrement ; la\n"
    "route est la suite des trois premiers de la bille 1 (des trois billes avec --score all), que la\n"
    "recherche fait jouer en premier. Pour chaque contact enregistré que le coup ajusté joue aussi,\n"
    "l'écart en temps et en position ; puis le premier contact où ils se séparent.\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire, 2 erreur d'usage\n";

const TEnregistreCommande enregistre({"fit", "retrouve la queue d'un coup enregistré (.csv)", kAide, 50,
                                      &Execute});

}  // namespace
