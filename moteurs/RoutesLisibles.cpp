#include "moteurs/RoutesLisibles.h"

#include "jeu/Decimales.h"
#include "jeu/Diamants.h"

int BilleEnTete(const TSequenceContacts& s) {
    return s.Nb > 0 && EstContactBille(s.Contacts[0]) ? BilleDuContact(s.Contacts[0]) : 0;
}

std::string TexteCoupRoute(const TResultatSolveur& r, const TRouteSolveur& route, const TQueueDegres& q,
                           char separateur) {
    return TexteCoup(q, r.Contexte, BilleEnTete(route.Sequence), separateur);
}

std::string TexteParcoursRoute(const TRouteSolveur& route, const std::string& nomBille2, char separateur) {
    std::string texte;
    std::size_t bande = 0;
    for (int i = 0; i < route.Sequence.Nb; ++i) {
        if (i > 0) texte += " → ";
        const int c = route.Sequence.Contacts[i];
        if (EstContactBille(c)) {
            texte += c == ContactRouge ? std::string("Rouge") : nomBille2;
            continue;
        }
        texte += NomBande(c);
        if (bande < route.Diamants.size()) texte += " " + Decimales(route.Diamants[bande], 1, separateur);
        ++bande;
    }
    if (route.Sequence.Tronquee) texte += " → …";
    return texte;
}

std::vector<std::string> NomsBandesRoute(const TRouteSolveur& route) {
    std::vector<std::string> noms;
    for (int b : route.Bandes) noms.emplace_back(NomBande(b));
    return noms;
}

std::string TexteVariantes(std::size_t n) {
    if (n == 0) return "";
    return std::to_string(n) + (n == 1 ? " variante" : " variantes");
}
