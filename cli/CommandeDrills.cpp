// velmora-sim drills: a starter pack of drills made from a seed, easy to hard, reproducibly.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <ostream>

#include "cli/BarreProgression.h"
#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/GenerateurExercices.h"
#include "cli/Interruption.h"
#include "cli/OptionsTir.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
#include "fichiers/EcritureAtomique.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kNomPack = "entrainement.ven";

struct TOptionsDrills {
    TOptionsGeneration generation;
    bool genere = false;
    std::string dossier;
    std::string fsk;
};

bool LitOptions(const std::vector<std::string>& args, TOptionsDrills& o, std::string* erreur) {
    bool graine = false;
    std::string mode;
    const std::vector<TOptionCli> table = {
        {"--generate", TGenreOption::Valeur,
         OptionEntier(1, 500, "--generate attend un nombre d'exercices de 1 à 500",
                      [&](long long n) { o.genere = true, o.generation.Nombre = int(n); })},
        {"--seed", TGenreOption::Valeur,
         OptionEntier(0, 9'007'199'254'740'991LL, "--seed attend un nombre entier positif",
                      [&](long long n) { graine = true, o.generation.Graine = std::uint64_t(n); })},
        {"--out", TGenreOption::Valeur, OptionNonVide(o.dossier, "l'option --out attend un dossier")},
        {"--mode", TGenreOption::Valeur,
         OptionNonVide(mode, "l'option --mode attend 3bandes, 1bande ou libre")},
        {"--budget", TGenreOption::Valeur,
         OptionEntier(1000, 100'000'000, "--budget attend un nombre de coups de 1000 à 100000000",
                      [&](long long n) { o.generation.Budget = n; })},
        {"--candidates", TGenreOption::Valeur,
         OptionEntier(1, 100'000, "--candidates attend un nombre de positions de 1 à 100000",
                      [&](long long n) { o.generation.Candidats = int(n); })},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, 64, "--threads attend un nombre de 1 à 64",
                      [&](long long n) { o.generation.NbThreads = int(n); })},
        {"--fsk", TGenreOption::Valeur, OptionNonVide(o.fsk, "l'option --fsk attend un fichier .fsk")},
    };
    const auto positionnel = [](const std::string& a, std::string* e) {
        return Refuse(e, "argument inattendu \"" + a + "\"");
    };
    if (!LitOptionsCli(args, table, positionnel, erreur)) return false;
    if (!o.genere || !graine || o.dossier.empty())
        return Refuse(erreur, "--generate N, --seed S et --out DOSSIER sont nécessaires");
    if (!mode.empty()) {
        const auto m = ModeJeuDepuisMot(mode);
        if (!m) return Refuse(erreur, "mode inconnu \"" + mode + "\" (3bandes, 1bande ou libre)");
        o.generation.Mode = *m;
    }
    return o.generation.Candidats <= 0 || o.generation.Candidats >= o.generation.Nombre ||
           Refuse(erreur, "--candidates doit valoir au moins le nombre d'exercices");
}

// the positions, the table and the pack file; false with the reason
bool EcritPack(const TOptionsDrills& o, TPackEntrainement& pack, std::string* erreur) {
    std::error_code ec;
    fs::create_directories(o.dossier, ec);
    if (!fs::is_directory(o.dossier, ec)) return Refuse(erreur, o.dossier + " : dossier impossible à créer");
    if (!o.fsk.empty()) {
        std::string contenu;
        if (!LitFichier(o.fsk, contenu, erreur) ||
            !EcritFichierAtomique((fs::path(o.dossier) / "table.fsk").string(), contenu, erreur))
            return false;
        pack.FichierTable = "table.fsk";
    }
    TSectionGLBillard vue;
    vue.Hrelatif = true;
    for (const TExercice& e : pack.Exercices)
        if (!SauvePositionJeu((fs::path(o.dossier) / e.FichierPosition).string(), e.Position, vue, erreur))
            return false;
    return SauvePack(pack, (fs::path(o.dossier) / kNomPack).string(), erreur);
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsDrills o;
    std::string erreur;
    if (!LitOptions(args, o, &erreur)) {
        err << "velmora-sim drills : " << erreur << " (velmora-sim drills --help pour l'aide)\n";
        return kErreurUsage;
    }
    TBillardVelmora table;
    if (!PrepareSimulation(table, o.fsk, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    const bool barre = &err == &std::cerr && ::isatty(STDERR_FILENO);
    const auto avance = [&](int i, int n) {
        if (barre)
            AfficheBarre(double(i) / n, (std::to_string(i) + "/" + std::to_string(n) + " positions ").c_str(),
                         i == n);
    };
    TPackEntrainement pack;
    const TOptionsGeneration& g = o.generation;
    pack.Titre = "Entraînement de départ : " + std::to_string(g.Nombre) +
                 " exercices, du plus facile au plus difficile";
    pack.Notes = "velmora-sim drills --generate " + std::to_string(g.Nombre) + " --seed " +
                 std::to_string(g.Graine) + " --mode " + MotModeJeu(g.Mode) + " --budget " +
                 std::to_string(g.Budget) +
                 (g.Candidats > 0 ? " --candidates " + std::to_string(g.Candidats) : std::string());
    const TGardeInterruption interruption;
    if (!GenereExercices(table, g, pack, avance, interruption.Arret(), &erreur)) {
        err << "velmora-sim drills : " << erreur << "\n";
        return interruption.Interrompu() ? interruption.Statut() : kErreurFichier;
    }
    if (!EcritPack(o, pack, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    for (const TExercice& e : pack.Exercices)
        out << e.FichierPosition << " : meilleure route " << Fixe(100 * e.Meilleure->Taux, 1) << " % ("
            << e.Meilleure->Libelle << ")\n";
    out << pack.Exercices.size() << " exercices dans " << (fs::path(o.dossier) / kNomPack).string() << "\n";
    return out.good() ? kSucces : kErreurFichier;
}

const std::string kAide =
    "usage : velmora-sim drills --generate N --seed S --out DOSSIER [OPTIONS]\n\n"
    "Fabrique un entraînement de départ : tire des positions au hasard (à partir de la graine S),\n"
    "cherche la meilleure route de chacune (comme velmora-sim solve) et garde N positions dont le\n"
    "taux de réussite de la meilleure route couvre l'éventail, du plus facile au plus difficile. Écrit\n"
    "dans DOSSIER les positions ex01.vel, ex02.vel, ... et le fichier d'entraînement entrainement.ven\n"
    "(titre, mode, meilleure route et son taux pour chaque exercice), que le programme ouvre par\n"
    "Fichiers > Ouvrir un entraînement. La même graine et les mêmes options donnent les mêmes fichiers,\n"
    "octet pour octet, quel que soit le nombre de fils de calcul.\n\n"
    "options :\n"
    "  --generate N           nombre d'exercices (1 à 500)\n"
    "  --seed S               graine du tirage des positions\n"
    "  --out DOSSIER          dossier de l'entraînement (créé au besoin ; ses fichiers sont remplacés)\n"
    "  --mode MODE            règle de validation du point : 3bandes (par défaut), 1bande ou libre\n"
    "  --budget COUPS         coups de la passe grossière de la recherche par position (par défaut 60000)\n"
    "  --candidates P         positions tirées (par défaut 3 par exercice)\n"
    "  --threads N            nombre de fils de calcul (par défaut un par cœur ; même résultat)\n"
    "  --fsk FICHIER.fsk      paramètres physiques (copiés dans le dossier sous le nom table.fsk)\n"
    "  --help                 cette aide\n\n"
    "sortie : une ligne par exercice (fichier, taux et séquence de la meilleure route), puis le nombre\n"
    "d'exercices. Une barre de progression sur la sortie d'erreur quand c'est un terminal ; Ctrl-C (ou\n"
    "SIGTERM, SIGHUP) arrête la fabrication sans rien écrire.\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire, ou trop peu de positions avec une\n"
    "route, 2 erreur d'usage, 130 interrompu (143 par SIGTERM, 129 par SIGHUP)\n";

const TEnregistreCommande enregistre({"drills",
                                      "fabrique un entraînement de départ, du plus facile au plus difficile",
                                      kAide.c_str(), 70, &Execute});

}  // namespace
