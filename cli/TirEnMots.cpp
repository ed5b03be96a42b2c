#include "cli/TirEnMots.h"

#include "cli/SortieJson.h"
#include "fichiers/NombresIni.h"
#include "jeu/ContactsBandes.h"
#include "jeu/DescriptionCoup.h"
#include "jeu/Diamants.h"
#include "jeu/EchelleVitesse.h"
#include "jeu/Epaisseurs.h"
#include "jeu/SystemeCoin5.h"

namespace {

// the cue as the player set it, and what its balls and table give the words
struct TTir {
    TQueueDegres Queue;
    TContexteCoup Contexte;
    TBilleEpaisseur Touchee;
};

TTir Tir(const TBillardVelmora& simu) {
    return {QueueDegres(simu.ParamQueue()), ContexteDe(simu),
            BilleTouchee(simu, 2 * simu.Fisik.RayonBilles())};
}

std::string JsonSysteme(const TBillardVelmora& simu) {
    const TComparaisonSysteme c = CompareAuSysteme(simu);
    if (!c.Applicable) return "null";
    return "{\"start\": " + FormatReel(c.Depart) + ", \"first\": " + FormatReel(c.Premiere) +
           ", \"predicted\": " + FormatReel(c.Predite) + ", \"arrived\": " + FormatReel(c.Simulee) +
           ", \"difference\": " + FormatReel(c.Ecart()) + "}";
}

std::string JsonContacts(const TBillardVelmora& simu) {
    std::string j = "[";
    for (const TContactBande& c : ContactsBandes(simu, true)) {
        if (j.size() > 1) j += ", ";
        j += "{\"ball\": " + std::to_string(c.Bille) + ", \"cushion\": " + std::to_string(c.Bande) +
             ", \"cushion_name\": " + JsonChaine(NomBande(c.Bande)) +
             ", \"diamond\": " + FormatReel(c.Diamant) + ", \"t\": " + FormatReel(c.t) + "}";
    }
    return j + "]";
}

}  // namespace

std::string LignesTirEnMots(const TBillardVelmora& simu) {
    const TTir t = Tir(simu);
    std::string lignes = "coup : " + TexteCoup(t.Queue, t.Contexte, BilleEnTete(simu)) + "\n";
    if (t.Touchee.Bille != 0)
        lignes += "touchée : " + NomBille(t.Touchee.Bille, t.Contexte) + " " +
                  TexteEpaisseur(t.Touchee.Epaisseur) + "\n";
    const std::string parcours = TexteContactsBille1(simu, t.Contexte.NomBille2);
    if (!parcours.empty()) lignes += "bille 1 : " + parcours + "\n";
    if (const TComparaisonSysteme c = CompareAuSysteme(simu); c.Applicable)
        lignes += "système des 5 : " + TexteComparaison(c) + "\n";
    return lignes;
}

std::string ChampsJsonTir(const TBillardVelmora& simu) {
    const TTir t = Tir(simu);
    const TProcede p = Procede(t.Queue.Effet, t.Queue.Hauteur, t.Contexte.DeportMax);
    const TCibleVisee visee = CibleVisee(t.Queue.Visee, t.Contexte);
    return ", \"stroke\": " + JsonChaine(TexteCoup(t.Queue, t.Contexte, BilleEnTete(simu))) +
           ", \"aimed_thickness\": " + FormatReel(visee.Epaisseur) +
           ", \"struck_thickness\": " + FormatReel(t.Touchee.Epaisseur) +
           ", \"tip\": {\"clock\": " + (p.Centre ? std::string("null") : std::to_string(p.HeureRonde)) +
           ", \"tips\": " + FormatReel(p.Procedes) + ", \"miscue\": " + (p.FausseQueue ? "true" : "false") +
           "}, \"speed_level\": " + std::to_string(NiveauVitesse(t.Queue.Vitesse)) +
           ", \"ball1_route\": " + JsonChaine(TexteContactsBille1(simu, t.Contexte.NomBille2)) +
           ", \"cushion_hits\": " + JsonContacts(simu) + ", \"diamond_system\": " + JsonSysteme(simu);
}
