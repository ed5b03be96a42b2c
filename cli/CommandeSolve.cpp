// velmora-sim solve: the scoring routes of a position file, easiest first, each with its most
// forgiving cue setting and its success rate; optionally saved as position files that replay them.
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/AttenteCalcul.h"
#include "cli/BarreProgression.h"
#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/OptionsSolve.h"
#include "cli/OptionsTir.h"
#include "cli/Resultat.h"
#include "cli/SortieJson.h"
#include "cli/TableOptions.h"
#include "fichiers/DossierSortie.h"
#include "fichiers/NomLisible.h"
#include "fichiers/NombresIni.h"
#include "jeu/PositionJeu.h"
#include "moteurs/RoutesLisibles.h"
#include "moteurs/SolveurCoups.h"

namespace {

// the route files a search may write: a folder opened once, and the source position they copy
struct TSauvegardeRoutes {
    TDossierSortie dossier;
    TPositionOuverte source;
};

std::string NomRoute(int rang) { return "route" + std::to_string(rang) + ".vel"; }

// Before any time is spent: the folder exists (made when missing), each route file it may get can
// be written, and none of them is the position searched. The exit status, kSucces when it can.
int PrepareSauvegarde(const TOptionsSolve& o, TSauvegardeRoutes& s, std::string* erreur) {
    if (!LitPositionJeu(o.tir.fichier, s.source, erreur) || !s.dossier.Ouvre(o.dossier, erreur))
        return kErreurFichier;
    for (int rang = 1; rang <= o.top; ++rang) {
        const std::string nom = NomRoute(rang);
        for (const std::string& entree : {o.tir.fichier, o.tir.fsk}) {
            if (entree.empty() || !s.dossier.Designe(nom, entree)) continue;
            Refuse(erreur, "\"" + NomLisible(s.dossier.CheminDe(nom)) +
                               "\" est un fichier que la commande lit (\"" + NomLisible(entree) +
                               "\") : il serait remplacé ; choisissez un autre dossier");
            return kErreurUsage;
        }
        if (!s.dossier.PeutEcrire(nom, erreur)) return kErreurFichier;
    }
    return kSucces;
}

// each route as a position file that the program and `shot` play as that route; their names
bool SauveRoutes(const TResultatSolveur& r, const TSauvegardeRoutes& s, std::vector<std::string>& fichiers,
                 std::string* erreur) {
    for (const TRouteSolveur& route : r.Routes) {
        const std::string nom = NomRoute(route.Rang);
        if (!s.dossier.Ecrit(nom, TextePositionAvecQueue(s.source, route.Queue), erreur)) return false;
        fichiers.push_back(s.dossier.CheminDe(nom));
    }
    return true;
}

void BarreProgression(const TProgressionSolveur& p, bool finale) {
    char suite[128];
    std::snprintf(suite, sizeof suite, "%lld coups, %d routes, reste %.0f s ",
                  static_cast<long long>(p.Faits), p.NbRoutesTrouvees, p.SecondesRestantes());
    AfficheBarre(p.Fraction(), suite, finale);
}

// under each route's line of exact values: how a player plays it, its contacts with the diamonds
// and its other ways
void RapporteEnMots(const TResultatSolveur& r, const TRouteSolveur& route, std::ostream& out) {
    out << "   jouer : " << TexteCoupRoute(r, route, route.Queue)
        << "\n   route : " << TexteParcoursRoute(route, r.Contexte.NomBille2) << "\n";
    if (!route.Variantes.empty())
        out << "   " << TexteVariantes(route.Variantes.size())
            << (route.Variantes.size() > 1 ? ", la plus large : " : " : ")
            << TexteCoupRoute(r, route, route.Variantes.front().Queue) << "\n";
}

void RapporteTexte(const TResultatSolveur& r, const std::vector<std::string>& fichiers, std::ostream& out) {
    if (r.Routes.empty()) out << "aucune route : " << r.Raison << "\n";
    for (size_t i = 0; i < r.Routes.size(); ++i) {
        const TRouteSolveur& route = r.Routes[i];
        const TQueueDegres& q = route.Queue;
        out << route.Rang << ". " << route.Libelle << " : "
            << (route.Mesuree() ? Fixe(100 * route.TauxReussite(), 1) + " %" : std::string("non mesuré"))
            << " ; vitesse " << Fixe(q.Vitesse, 1) << " cm/s, visée " << Fixe(q.Visee, 2) << "°, effet "
            << Fixe(q.Effet, 2) << " cm, hauteur " << Fixe(q.Hauteur, 2) << " cm, inclinaison "
            << Fixe(q.Inclinaison, 2) << "°";
        if (i < fichiers.size()) out << " ; " << fichiers[i];
        out << "\n";
        RapporteEnMots(r, route, out);
    }
    if (!r.Routes.empty())
        out << "(bandes vues du joueur placé derrière la courte du bas, diamants comptés depuis le coin à "
               "sa\n"
               " gauche ; 1 procédé = un tiers de l'écart maximal sans fausse queue ; vitesse de 1 à 10)\n";
    out << r.NbRoutesTrouvees << " routes trouvées, " << r.NbCoups << " coups jugés en "
        << Fixe(r.Secondes, 2) << " s\n";
}

// the search, stopped by a signal; its routes saved when asked, then reported; the exit status
int Cherche(const TOptionsSolve& o, const TBillardVelmora& simu, const TSauvegardeRoutes* sauvegarde,
            std::ostream& out, std::ostream& err) {
    TOptionsSolveur options;
    options.Mode = o.tir.mode;
    options.NbRoutes = o.top;
    options.Budget = o.budget;
    options.NbThreads = o.nbThreads;
    options.Masse = o.masse;
    options.MasseQueue = float(simu.MasseQueue);
    TSolveurCoups solveur(simu, options);
    const TGardeInterruption interruption;
    solveur.Demarre();
    const TResultatSolveur r = AttendsCalcul(solveur, interruption, BarreVoulue(err), BarreProgression);

    std::vector<std::string> fichiers;
    std::string erreur;
    if (sauvegarde && !SauveRoutes(r, *sauvegarde, fichiers, &erreur)) {
        err << "velmora-sim : route impossible à enregistrer, " << erreur << "\n";
        return kErreurFichier;
    }
    if (o.tir.json)
        out << JsonSolveur(r, fichiers) << "\n";
    else
        RapporteTexte(r, fichiers, out);
    if (r.Interrompu) {
        err << "velmora-sim : recherche interrompue, routes trouvées jusque-là";
        // a success rate costs a whole difficulty grid: none is measured after the stop
        if (r.NbNonMesurees > 0)
            err << " ; taux de réussite non mesuré pour " << r.NbNonMesurees << " d'entre elles";
        err << "\n";
        return interruption.Statut();
    }
    return out.good() ? kSucces : kErreurFichier;
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsSolve o;
    std::string erreur;
    if (!LitOptionsSolve(args, o, &erreur)) {
        err << "velmora-sim solve : " << erreur << " (velmora-sim solve --help pour l'aide)\n";
        return kErreurUsage;
    }
    const auto simu = ChargePositionOuDit(o.tir, err);
    if (!simu) return kErreurFichier;
    std::unique_ptr<TSauvegardeRoutes> sauvegarde;
    if (!o.dossier.empty()) {
        sauvegarde = std::make_unique<TSauvegardeRoutes>();
        if (const int statut = PrepareSauvegarde(o, *sauvegarde, &erreur); statut != kSucces) {
            err << (statut == kErreurUsage ? "velmora-sim solve : " : "velmora-sim : ") << erreur << "\n";
            return statut;
        }
    }
    return Cherche(o, *simu, sauvegarde.get(), out, err);
}

const std::string kAide =
    "usage : velmora-sim solve FICHIER.vel [OPTIONS]\n\n"
    "Cherche les coups qui font le point depuis la position du fichier (billes au repos) et les\n"
    "regroupe en routes selon les contacts exacts de la bille joueur (première bille, chaque bande\n"
    "nommée, deuxième bille). Pour chaque route : le réglage de queue le plus tolérant (le centre de sa\n"
    "plus grande région de réussite) et son taux de réussite sur la grille d'évaluation de la\n"
    "difficulté par défaut (le même que velmora-sim difficulty sur le fichier de la route) ; les autres\n"
    "façons de faire les mêmes contacts trouvées par la recherche en sont les variantes.\n"
    "Recherche : visée sur tout le tour, vitesse de 60 à 660 cm/s, effet et hauteur dans la limite de\n"
    "la fausse queue, inclinaison de 0 à 5° (75° avec --massé) ; masse de la queue du fichier.\n\n"
    "options :\n"
    "  --mode MODE            règle de validation du point : 3bandes (par défaut), 1bande ou libre\n"
    "  --top N                nombre de routes affichées, les plus faciles d'abord (par défaut 5)\n"
    "  --budget COUPS         coups de la passe grossière (par défaut 150000 ; les passes fines et les\n"
    "                         taux de réussite en ajoutent)\n"
    "  --threads N            nombre de fils de calcul (par défaut un par cœur ; même résultat)\n"
    "  --massé                inclinaison jusqu'à 75° (aussi --masse)\n"
    "  --save DOSSIER         enregistre chaque route en fichier de positions (route1.vel, ...) que\n"
    "                         velmora-sim shot et le programme jouent tel quel (avec le même --fsk) ;\n"
    "                         chacun est écrit en entier ou pas du tout, jamais à travers un lien, et\n"
    "                         ni un dossier, ni un tube, ni un fichier protégé, ni la position cherchée\n"
    "                         n'est remplacé (vérifié avant la recherche)\n"
    "  --fsk FICHIER.fsk      paramètres physiques (sinon ceux d'usine, ou le FisikFile du fichier de\n"
    "                         positions quand il nomme un fichier existant)\n"
    "  --json                 résultat en un objet JSON : {\"routes\": [{\"rank\", \"sequence\",\n"
    "                         \"first_ball\", \"cushions\", \"success_rate\" (en %), \"trials\",\n"
    "                         \"successes\", \"cue\": {\"Vq\", \"m\", \"AngleOx\", \"AngleTapis\", "
    "\"Effet\",\n"
    "                         \"Hauteur\"}, \"file\"}], \"shots\": N, \"seconds\": S, \"routes_found\": K,\n"
    "                         \"interrupted\": bool, \"reason\" (liste vide)} ; chaque route a aussi\n"
    "                         \"cushion_names\", \"diamonds\" (où la bille joueur touche ses bandes),\n"
    "                         \"route\", \"stroke\", \"thickness\", \"tip\" {\"clock\", \"tips\",\n"
    "                         \"miscue\"}, \"speed_level\" et \"variants\" [{\"cue\", \"region\", "
    "\"stroke\",\n"
    "                         ...}]\n"
    "  --help                 cette aide\n\n"
    "sortie : une ligne par route (rang, séquence, taux de réussite, vitesse, visée, effet, hauteur,\n"
    "inclinaison, fichier), suivie de « jouer : » (le coup en termes de joueur : épaisseur sur la\n"
    "première bille ou bricole, effet en procédés et position horaire, vitesse de 1 à 10), « route : »\n"
    "(les contacts de la bille joueur, bandes nommées et diamants) et du nombre de variantes ; puis le\n"
    "nombre de routes et de coups ; \"aucune route : raison\" quand il n'y en a pas (statut 0). Les\n"
    "bandes 1 et 3 sont les longues (droite, gauche), 2 et 4 les courtes (du haut, du bas). Une barre de\n"
    "progression sur la sortie d'erreur quand c'est un terminal ; Ctrl-C (ou SIGTERM, SIGHUP) arrête la\n"
    "recherche et affiche les routes trouvées jusque-là.\n"
    "statut : 0 succès (même sans route), 1 fichier illisible ou impossible à écrire, 2 erreur d'usage,\n"
    "130 interrompu (143 par SIGTERM, 129 par SIGHUP)\n";

const TEnregistreCommande enregistre({"solve",
                                      "cherche les routes qui font le point, les plus faciles d'abord",
                                      kAide.c_str(), 35, &Execute});

}  // namespace
