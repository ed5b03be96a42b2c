#include "cli/SortieJson.h"

#include "fichiers/NombresIni.h"
#include "jeu/EchelleVitesse.h"
#include "jeu/Procedes.h"
#include "moteurs/RoutesLisibles.h"

std::string JsonQueue(const TParamQueue& p) {
    return "{\"Vq\": " + FormatReel(p.VitesseQueue) + ", \"m\": " + FormatReel(p.MasseQueue) +
           ", \"AngleOx\": " + FormatReel(p.AngleOx) + ", \"AngleTapis\": " + FormatReel(p.AngleTapis) +
           ", \"Effet\": " + FormatReel(p.Effet) + ", \"Hauteur\": " + FormatReel(p.Hauteur) + "}";
}

namespace {

template <class T, class F>
std::string Liste(const std::vector<T>& v, F element) {
    std::string j = "[";
    for (size_t i = 0; i < v.size(); ++i) j += (i ? ", " : "") + element(v[i]);
    return j + "]";
}

// the stroke in a player's terms: the words, the aimed thickness on a first ball, the tip, the
// speed level
std::string JsonCoup(const TResultatSolveur& r, const TRouteSolveur& route, const TQueueDegres& q) {
    const int enTete = BilleEnTete(route.Sequence);
    const TProcede p = Procede(q.Effet, q.Hauteur, r.Contexte.DeportMax);
    std::string j = "\"stroke\": " + JsonChaine(TexteCoupRoute(r, route, q)) + ", \"thickness\": ";
    j += enTete ? FormatReel(EpaisseurSurBille(q.Visee, r.Contexte, enTete)) : "null";
    j += ", \"tip\": {\"clock\": " + (p.Centre ? std::string("null") : std::to_string(p.HeureRonde)) +
         ", \"tips\": " + FormatReel(p.Procedes) + ", \"miscue\": " + (p.FausseQueue ? "true" : "false") +
         "}, \"speed_level\": " + std::to_string(NiveauVitesse(q.Vitesse));
    return j;
}

std::string JsonRoute(const TResultatSolveur& r, const TRouteSolveur& route, const std::string& fichier) {
    std::string j = "{\"rank\": " + std::to_string(route.Rang) +
                    ", \"sequence\": " + JsonChaine(route.Libelle) +
                    ", \"first_ball\": " + JsonChaine(route.PremiereBille) +
                    ", \"cushions\": " + Liste(route.Bandes, [](int b) { return std::to_string(b); });
    j += ", \"success_rate\": ";
    j += route.Mesuree() ? FormatReel(100.0 * route.TauxReussite()) : "null";
    j +=
        ", \"trials\": " + std::to_string(route.Essais) + ", \"successes\": " + std::to_string(route.Reussis);
    j += ", \"cue\": " + JsonQueue(route.Param) +
         ", \"file\": " + (fichier.empty() ? "null" : JsonChaine(fichier));
    // the route as a player reads it
    j += ", \"cushion_names\": " + Liste(NomsBandesRoute(route), JsonChaine) +
         ", \"diamonds\": " + Liste(route.Diamants, FormatReel) +
         ", \"route\": " + JsonChaine(TexteParcoursRoute(route, r.Contexte.NomBille2)) + ", " +
         JsonCoup(r, route, route.Queue);
    j += ", \"variants\": " + Liste(route.Variantes, [&](const TVarianteRoute& v) {
             return "{\"cue\": " + JsonQueue(ParamSimu(v.Queue)) +
                    ", \"region\": " + std::to_string(v.TailleRegion) + ", " + JsonCoup(r, route, v.Queue) +
                    "}";
         });
    return j + "}";
}

}  // namespace

std::string JsonSolveur(const TResultatSolveur& r, const std::vector<std::string>& fichiers) {
    std::string j = "{\"routes\": [";
    for (size_t i = 0; i < r.Routes.size(); ++i) {
        if (i > 0) j += ", ";
        j += JsonRoute(r, r.Routes[i], i < fichiers.size() ? fichiers[i] : std::string());
    }
    j += "], \"shots\": " + std::to_string(r.NbCoups) + ", \"seconds\": " + FormatReel(r.Secondes) +
         ", \"routes_found\": " + std::to_string(r.NbRoutesTrouvees) +
         ", \"interrupted\": " + (r.Interrompu ? "true" : "false") +
         ", \"rates_measured\": " + (r.NbNonMesurees == 0 ? "true" : "false");
    if (!r.Raison.empty()) j += ", \"reason\": " + JsonChaine(r.Raison);
    return j + "}";
}
