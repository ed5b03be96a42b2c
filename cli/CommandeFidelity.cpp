// velmora-sim fidelity: how closely a table plays recorded shots, contact by contact (each shot
// fitted, every core busy), as tables or as one JSON object.
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Interruption.h"
#include "cli/Resultat.h"
#include "cli/SortieJson.h"
#include "cli/TableOptions.h"
#include "cli/TexteContacts.h"
#include "fichiers/NombresIni.h"
#include "moteurs/Fidelite.h"

namespace {

constexpr int kNbThreadsMax = 64;

struct TOptionsFidelity {
    std::vector<std::string> enregistrements;
    std::string fsk;
    bool json = false;
    TOptionsFidelite fidelite;
};

bool LitOptions(const std::vector<std::string>& args, TOptionsFidelity& o, std::string* erreur) {
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur,
         OptionNonVide(o.fsk, "l'option --fsk attend un fichier de paramètres")},
        {"--score", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             if (valeur != "ball1" && valeur != "all")
                 return Refuse(erreur, "--score : \"" + valeur + "\", ball1 ou all attendu");
             o.fidelite.Ajustement.ScoreToutes = valeur == "all";
             return true;
         }},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, kNbThreadsMax, "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMax),
                      [&](long long n) { o.fidelite.NbThreads = int(n); })},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(o.json)},
    };
    const auto enregistrement = [&](const std::string& nom, std::string*) {
        o.enregistrements.push_back(nom);
        return true;
    };
    if (!LitOptionsCli(args, table, enregistrement, erreur)) return false;
    return !o.enregistrements.empty() || Refuse(erreur, "enregistrement (.csv) manquant");
}

// -- the tables

void TexteDistances(const TRapportFidelite& r, std::ostream& out) {
    const auto ligne = [&](const char* nom, const TStatistiques& s) {
        out << "  " << nom << " : médiane " << Fixe(s.Mediane, 2) << " cm, moyenne " << Fixe(s.Moyenne, 2)
            << " cm, 90 % sous " << Fixe(s.Centile90, 2) << " cm\n";
    };
    out << "écart quadratique moyen (ajusté sur " << (r.Toutes ? "les trois billes" : "la bille 1") << ", "
        << r.NbCoups << " coups, " << Fixe(r.SecondesMediane, 2) << " s par ajustement en médiane)\n";
    ligne("bille 1", r.Bille1);
    ligne("trois billes", r.TroisBilles);
    out << "route enregistrée jouée : " << r.RoutesReproduites << " coups sur " << r.NbCoups
        << " ; tous les contacts : " << r.SequencesReproduites << "\n"
        << "contacts : " << r.ContactsEnregistres << " enregistrés, " << r.ContactsCalcules << " calculés, "
        << r.ContactsApparies << " appariés ; écart médian " << Fixe(r.EcartTempsMedian, 3) << " s, "
        << Fixe(r.EcartPositionMedian, 1) << " cm\n";
}

void TexteBandes(const TRapportFidelite& r, std::ostream& out) {
    out << "\nrebond sur bande (angles depuis la normale, en degrés ; réel / calculé)\n"
        << "  entrée    n   entrée        sortie        vitesse après/avant\n";
    for (const TClasseBande& k : r.Bandes) {
        char l[160];
        std::snprintf(l, sizeof l, "  %2.0f-%-2.0f %5d   %5.1f/%5.1f   %5.1f/%5.1f   %5.3f/%5.3f\n", k.Min,
                      k.Max, k.N, k.EntreeReelle, k.EntreeCalculee, k.SortieReelle, k.SortieCalculee,
                      k.RapportReel, k.RapportCalcule);
        out << l;
    }
}

void TexteBilles(const TRapportFidelite& r, std::ostream& out) {
    out << "\nchoc bille-bille sur une bille arrêtée (réel / calculé)\n"
        << "  coupe     n   coupe         jet (°)       vitesse objet/frappeur\n";
    for (const TClasseBille& k : r.Billes) {
        char l[160];
        std::snprintf(l, sizeof l, "  %2.0f-%-2.0f %5d   %5.1f/%5.1f   %5.2f/%5.2f   %5.3f/%5.3f\n", k.Min,
                      k.Max, k.N, k.CoupeReelle, k.CoupeCalculee, k.JetReel, k.JetCalcule, k.RapportReel,
                      k.RapportCalcule);
        out << l;
    }
}

void TexteFin(const TRapportFidelite& r, const std::vector<std::string>& noms, std::ostream& out) {
    out << "\nderniers roulements : " << r.NbRoulements << ", décélération médiane "
        << Fixe(r.DecelerationReelle, 2) << " cm/s² réelle, " << Fixe(r.DecelerationCalculee, 2)
        << " cm/s² calculée\n"
        << "\npoints d'impact de la bille 1 sur les bandes (écart moyen le long de la bande, en temps)\n";
    for (const TRangBande& g : r.RangsBandes)
        out << "  bande n° " << g.Rang << " : " << g.N << " contacts, " << Fixe(g.EcartPosition, 1) << " cm, "
            << Fixe(g.EcartTemps, 3) << " s\n";
    out << "\ncoups les plus éloignés\n";
    for (const TPireCoup& p : r.Pires) {
        out << "  " << noms[std::size_t(p.Coup)] << " : " << Fixe(p.Score, 2) << " cm";
        if (p.Separation.Existe) out << ", se sépare à " << TexteSeparation(p.Separation);
        out << "\n";
    }
}

// -- the JSON object

std::string Json(const TStatistiques& s) {
    return "{\"median\": " + FormatReel(s.Mediane) + ", \"mean\": " + FormatReel(s.Moyenne) +
           ", \"p90\": " + FormatReel(s.Centile90) + "}";
}

std::string JsonContacts(const TRapportFidelite& r) {
    std::string j = "\"cushions\": [";
    for (std::size_t k = 0; k < r.Bandes.size(); ++k) {
        const TClasseBande& c = r.Bandes[k];
        j += (k ? ", " : "") + std::string("{\"in_min\": ") + FormatReel(c.Min) +
             ", \"in_max\": " + FormatReel(c.Max) + ", \"n\": " + std::to_string(c.N) +
             ", \"real\": {\"in\": " + FormatReel(c.EntreeReelle) +
             ", \"out\": " + FormatReel(c.SortieReelle) + ", \"speed_ratio\": " + FormatReel(c.RapportReel) +
             "}, \"computed\": {\"in\": " + FormatReel(c.EntreeCalculee) +
             ", \"out\": " + FormatReel(c.SortieCalculee) +
             ", \"speed_ratio\": " + FormatReel(c.RapportCalcule) + "}}";
    }
    j += "], \"ball_ball\": [";
    for (std::size_t k = 0; k < r.Billes.size(); ++k) {
        const TClasseBille& c = r.Billes[k];
        j += (k ? ", " : "") + std::string("{\"cut_min\": ") + FormatReel(c.Min) +
             ", \"cut_max\": " + FormatReel(c.Max) + ", \"n\": " + std::to_string(c.N) +
             ", \"real\": {\"cut\": " + FormatReel(c.CoupeReelle) + ", \"throw\": " + FormatReel(c.JetReel) +
             ", \"speed_ratio\": " + FormatReel(c.RapportReel) +
             "}, \"computed\": {\"cut\": " + FormatReel(c.CoupeCalculee) +
             ", \"throw\": " + FormatReel(c.JetCalcule) +
             ", \"speed_ratio\": " + FormatReel(c.RapportCalcule) + "}}";
    }
    j += "], \"cushion_ranks\": [";
    for (std::size_t k = 0; k < r.RangsBandes.size(); ++k) {
        const TRangBande& g = r.RangsBandes[k];
        j += (k ? ", " : "") + std::string("{\"rank\": ") + std::to_string(g.Rang) +
             ", \"n\": " + std::to_string(g.N) + ", \"position_error\": " + FormatReel(g.EcartPosition) +
             ", \"time_error\": " + FormatReel(g.EcartTemps) + "}";
    }
    return j + "]";
}

std::string JsonPires(const TRapportFidelite& r, const std::vector<std::string>& noms) {
    std::string j = "\"worst\": [";
    for (std::size_t k = 0; k < r.Pires.size(); ++k) {
        const TPireCoup& p = r.Pires[k];
        j += (k ? ", " : "") + std::string("{\"file\": ") + JsonChaine(noms[std::size_t(p.Coup)]) +
             ", \"score\": " + FormatReel(p.Score) + ", \"parts\": " + JsonSeparation(p.Separation) + "}";
    }
    return j + "]";
}

void SortieJson(const TRapportFidelite& r, const std::vector<std::string>& noms, std::ostream& out) {
    out << "{\"shots\": " << r.NbCoups << ", \"fit\": " << (r.Toutes ? "\"all\"" : "\"ball1\"")
        << ", \"ball1\": " << Json(r.Bille1) << ", \"all\": " << Json(r.TroisBilles)
        << ", \"routes_reproduced\": " << r.RoutesReproduites
        << ", \"sequences_reproduced\": " << r.SequencesReproduites
        << ", \"contacts\": {\"recorded\": " << r.ContactsEnregistres
        << ", \"computed\": " << r.ContactsCalcules << ", \"matched\": " << r.ContactsApparies
        << ", \"time_error_median\": " << FormatReel(r.EcartTempsMedian)
        << ", \"position_error_median\": " << FormatReel(r.EcartPositionMedian) << "}, " << JsonContacts(r)
        << ", \"last_rolls\": {\"n\": " << r.NbRoulements
        << ", \"real_deceleration\": " << FormatReel(r.DecelerationReelle)
        << ", \"computed_deceleration\": " << FormatReel(r.DecelerationCalculee) << "}, "
        << JsonPires(r, noms) << ", \"seconds_median\": " << FormatReel(r.SecondesMediane) << "}\n";
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsFidelity o;
    std::string erreur;
    if (!LitOptions(args, o, &erreur)) {
        err << "velmora-sim fidelity : " << erreur << " (velmora-sim fidelity --help pour l'aide)\n";
        return kErreurUsage;
    }
    // the table as fit reads it
    auto simu = std::make_unique<TBillardVelmora>();
    std::vector<TCoupEnregistre> coups(o.enregistrements.size());
    bool lu = PrepareSimulation(*simu, o.fsk, &erreur);
    for (std::size_t k = 0; lu && k < coups.size(); ++k)
        lu = LitCoupEnregistre(o.enregistrements[k], coups[k], &erreur);
    if (!lu) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    const TGardeInterruption interruption;
    const std::vector<TFideliteCoup> comparaisons =
        CompareCoups(simu->Fisik, coups, o.fidelite, interruption.Arret());
    if (interruption.Interrompu()) {
        err << "velmora-sim : comparaison interrompue\n";
        return interruption.Statut();
    }
    const TRapportFidelite r = ResumeFidelite(comparaisons, o.fidelite);
    if (o.json) {
        SortieJson(r, o.enregistrements, out);
    } else {
        TexteDistances(r, out);
        TexteBandes(r, out);
        TexteBilles(r, out);
        TexteFin(r, o.enregistrements, out);
    }
    return out.good() ? kSucces : kErreurFichier;
}

const char* const kAide =
    "usage : velmora-sim fidelity ENREGISTREMENT.csv... [OPTIONS]\n\n"
    "Mesure à quel point un billard reproduit des coups enregistrés, contact par contact : chaque\n"
    "coup est ajusté (comme velmora-sim fit), ses contacts (bandes, billes) sont retrouvés dans\n"
    "l'enregistrement et appariés à ceux du coup calculé. Tous les cœurs travaillent.\n\n"
    "Tableaux : rebonds sur bande par angle d'entrée (angle de sortie et rapport des vitesses,\n"
    "réel / calculé), chocs sur une bille arrêtée par coupe (jet et vitesse de la bille objet),\n"
    "décélération des derniers roulements, écart des points d'impact de la bille 1 sur ses\n"
    "bandes successives, distribution des écarts et coups les plus éloignés avec le contact où\n"
    "le calcul se sépare de l'enregistrement.\n\n"
    "options :\n"
    "  --fsk FICHIER.fsk      paramètres physiques (sinon ceux d'usine)\n"
    "  --score ball1|all      ajustement sur la bille 1 ou les trois billes (par défaut all)\n"
    "  --threads N            fils de calcul (par défaut un par cœur)\n"
    "  --json                 {\"shots\", \"fit\", \"ball1\" et \"all\": {\"median\", \"mean\", \"p90\"},\n"
    "                         \"routes_reproduced\", \"sequences_reproduced\", \"contacts\",\n"
    "                         \"cushions\", \"ball_ball\", \"cushion_ranks\", \"last_rolls\",\n"
    "                         \"worst\", \"seconds_median\"}\n"
    "  --help                 cette aide\n\n"
    "statut : 0 succès, 1 fichier illisible, 2 erreur d'usage, 128 + le signal quand un signal\n"
    "(Ctrl-C, SIGTERM, SIGHUP) arrête le calcul\n";

const TEnregistreCommande enregistre({"fidelity",
                                      "compare un billard à des coups enregistrés, contact par contact",
                                      kAide, 55, &Execute});

}  // namespace
