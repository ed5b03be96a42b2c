#include "cli/TexteContacts.h"

#include "cli/Resultat.h"
#include "fichiers/NombresIni.h"

namespace {

const char* GenreJson(const TEvenement& e) { return e.Genre == geBande ? "\"cushion\"" : "\"ball\""; }

}  // namespace

std::string TexteContact(const TEvenement& e) {
    return (e.Genre == geBande ? "bande " : "bille ") + std::to_string(e.Partie);
}

std::string TexteSeparation(const TSeparation& s) {
    return Fixe(s.Contact.t, 2) + " s, bille " + std::to_string(s.Bille) + " : " + TexteContact(s.Contact) +
           (s.Enregistre ? " enregistrée non jouée" : " calculée en trop");
}

std::string JsonSeparation(const TSeparation& s) {
    if (!s.Existe) return "null";
    return "{\"ball\": " + std::to_string(s.Bille) + ", \"t\": " + FormatReel(s.Contact.t) +
           ", \"contact\": " + GenreJson(s.Contact) + ", \"with\": " + std::to_string(s.Contact.Partie) +
           ", \"missing\": " + (s.Enregistre ? "true" : "false") + "}";
}

std::string JsonContactCompare(const TContactCompare& c) {
    return "{\"ball\": " + std::to_string(c.Bille) + ", \"contact\": " + GenreJson(c.Enregistre) +
           ", \"with\": " + std::to_string(c.Enregistre.Partie) + ", \"t\": " + FormatReel(c.Enregistre.t) +
           ", \"dt\": " + FormatReel(c.EcartTemps()) + ", \"dpos\": " + FormatReel(c.EcartPosition()) + "}";
}
