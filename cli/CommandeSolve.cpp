// velmora-sim solve: the scoring routes of a position file, easiest first, each with its most
// forgiving cue setting and its success rate; optionally saved as position files that replay them.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>
#include <thread>

#include "cli/BarreProgression.h"
#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/OptionsSolve.h"
#include "cli/OptionsTir.h"
#include "cli/Resultat.h"
#include "cli/SortieJson.h"
#include "fichiers/NombresIni.h"
#include "moteurs/RoutesLisibles.h"
#include "moteurs/SolveurCoups.h"

namespace {

namespace fs = std::filesystem;

// the output folder exists (created when missing) and takes files, before any time is spent
bool PrepareDossier(const std::string& dossier, std::string& erreur) {
    std::error_code ec;
    if (!fs::exists(dossier, ec)) fs::create_directories(dossier, ec);
    if (ec || !fs::is_directory(dossier, ec)) {
        erreur = dossier + " : dossier impossible à créer" + (ec ? " (" + ec.message() + ")" : "");
        return false;
    }
    if (::access(dossier.c_str(), W_OK) != 0) {
        erreur = dossier + " : écriture impossible dans ce dossier";
        return false;
    }
    return true;
}

// Ctrl-C stops the search: the routes found so far are reported
std::atomic<bool> interruption{false};
extern "C" void SurInterruptionSolve(int) { interruption.store(true); }

void BarreProgression(const TProgressionSolveur& p, bool finale) {
    char suite[128];
    std::snprintf(suite, sizeof suite, "%lld coups, %d routes, reste %.0f s ",
                  static_cast<long long>(p.Faits), p.NbRoutesTrouvees, p.SecondesRestantes());
    AfficheBarre(p.Fraction(), suite, finale);
}

// the search on a background thread, a progress bar on a terminal, Ctrl-C stopping it
TResultatSolveur Cherche(TSolveurCoups& solveur, std::ostream& err) {
    const bool barre = &err == &std::cerr && ::isatty(STDERR_FILENO);
    interruption = false;
    const auto ancien = std::signal(SIGINT, SurInterruptionSolve);
    solveur.Demarre();
    for (int tour = 1; !solveur.Termine(); ++tour) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (interruption.load()) solveur.Arrete();
        if (barre && tour % 20 == 0) BarreProgression(solveur.Progression(), false);
    }
    TResultatSolveur r = solveur.Attends();
    std::signal(SIGINT, ancien == SIG_ERR ? SIG_DFL : ancien);
    if (barre) BarreProgression(solveur.Progression(), true);
    return r;
}

// each route as a position file that the program and `shot` play as that route
bool SauveRoutes(const TResultatSolveur& r, const TOptionsSolve& o, std::vector<std::string>& fichiers,
                 std::string& erreur) {
    for (const TRouteSolveur& route : r.Routes) {
        if (o.dossier.empty()) break;
        const std::string nom =
            (fs::path(o.dossier) / ("route" + std::to_string(route.Rang) + ".vel")).string();
        std::error_code ec;
        fs::remove(nom, ec);  // a fresh file: no key of an older one stays behind
        const TQueueDegres& q = route.Queue;
        if (!EcritPositionAvecQueue(o.tir.fichier, q.Effet, q.Hauteur, q.Visee, q.Inclinaison, q.Vitesse,
                                    q.Masse, nom, erreur))
            return false;
        fichiers.push_back(nom);
    }
    return true;
}

// one line per route with its exact values, then how a player plays it, its contacts with the
// diamonds and its other ways
void AfficheRoutes(const TResultatSolveur& r, const std::vector<std::string>& fichiers, std::ostream& out) {
    for (size_t i = 0; i < r.Routes.size(); ++i) {
        const TRouteSolveur& route = r.Routes[i];
        const TQueueDegres& q = route.Queue;
        out << route.Rang << ". " << route.Libelle << " : "
            << (route.Mesuree() ? Fixe(100 * route.TauxReussite(), 1) + " %" : std::string("non mesuré"))
            << " ; vitesse " << Fixe(q.Vitesse, 1) << " cm/s, visée " << Fixe(q.Visee, 2) << "°, effet "
            << Fixe(q.Effet, 2) << " cm, hauteur " << Fixe(q.Hauteur, 2) << " cm, inclinaison "
            << Fixe(q.Inclinaison, 2) << "°";
        if (i < fichiers.size()) out << " ; " << fichiers[i];
        out << "\n   jouer : " << TexteCoupRoute(r, route, q)
            << "\n   route : " << TexteParcoursRoute(route, r.Contexte.NomBille2) << "\n";
        if (!route.Variantes.empty())
            out << "   " << TexteVariantes(route.Variantes.size())
                << (route.Variantes.size() > 1 ? ", la plus large : " : " : ")
                << TexteCoupRoute(r, route, route.Variantes.front().Queue) << "\n";
    }
    out << "(bandes vues du joueur placé derrière la courte du bas, diamants comptés depuis le coin à sa\n"
           " gauche ; 1 procédé = un tiers de l'écart maximal sans fausse queue ; vitesse de 1 à 10)\n";
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsSolve o;
    std::string erreur;
    if (!LitOptionsSolve(args, o, erreur)) {
        err << "velmora-sim solve : " << erreur << " (velmora-sim solve --help pour l'aide)\n";
        return kErreurUsage;
    }
    auto simu = std::make_unique<TBillardVelmora>();
    if (!ChargeTir(*simu, o.tir.fichier, o.tir.fsk, erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    if (!o.dossier.empty() && !PrepareDossier(o.dossier, erreur)) {
        err << "velmora-sim : " << erreur << "\n";
        return kErreurFichier;
    }

    TOptionsSolveur options;
    options.Mode = o.tir.mode;
    options.NbRoutes = o.top;
    options.Budget = o.budget;
    options.NbThreads = o.nbThreads;
    options.Masse = o.masse;
    options.MasseQueue = float(simu->MasseQueue);
    TSolveurCoups solveur(*simu, options);
    const TResultatSolveur r = Cherche(solveur, err);

    std::vector<std::string> fichiers;
    if (!SauveRoutes(r, o, fichiers, erreur)) {
        err << "velmora-sim : route impossible à enregistrer, " << erreur << "\n";
        return kErreurFichier;
    }
    if (o.tir.json)
        out << JsonSolveur(r, fichiers) << "\n";
    else if (r.Routes.empty())
        out << "aucune route : " << r.Raison << "\n";
    else
        AfficheRoutes(r, fichiers, out);
    if (!o.tir.json)
        out << r.NbRoutesTrouvees << " routes trouvées, " << r.NbCoups << " coups jugés en "
            << Fixe(r.Secondes, 2) << " s\n";
    if (r.Interrompu) {
        err << "velmora-sim : recherche interrompue, routes trouvées jusque-là";
        // a success rate costs a whole difficulty grid: none is measured after the stop
        if (r.NbNonMesurees > 0)
            err << " ; taux de réussite non mesuré pour " << r.NbNonMesurees << " d'entre elles";
        err << "\n";
        return 130;
    }
    return out.good() ? kSucces : kErreurFichier;
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
    "                         velmora-sim shot et le programme jouent tel quel (avec le même --fsk)\n"
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
    "progression sur la sortie d'erreur quand c'est un terminal ; Ctrl-C arrête la recherche et affiche\n"
    "les routes trouvées jusque-là.\n"
    "statut : 0 succès (même sans route), 1 fichier illisible ou impossible à écrire, 2 erreur d'usage,\n"
    "130 interrompu\n";

const TEnregistreCommande enregistre({"solve",
                                      "cherche les routes qui font le point, les plus faciles d'abord",
                                      kAide.c_str(), 35, &Execute});

}  // namespace
