// velmora-sim batch: one kind of work over many position files, on every core of this machine, or
// spread over the ranks of an MPI job when mpirun or srun started it. The ranks first agree on the
// options and the inputs; only rank 0 reads the output folder and writes to it; each result is
// written whole as soon as it arrives, so that a run cut short keeps what it finished and --resume
// does the rest.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>

#include "cli/BarreProgression.h"
#include "cli/Commandes.h"
#include "cli/DossierBatch.h"
#include "cli/Interruption.h"
#include "cli/PositionsBatch.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
#include "cli/TravauxBatch.h"
#include "fichiers/NomLisible.h"
#include "fichiers/NombresIni.h"
#include "moteurs/Repartiteur.h"

namespace {

constexpr int kNbFilsMax = 256;

struct TOptionsBatch {
    std::string type;
    std::string dossier;
    bool reprise = false;
    bool force = false;
    int nbFils = 0;
    double delaiRangs = TRepartiteur::DelaiRangsDefaut;
    std::vector<std::string> reste;  // for the kind of work
};

// what every rank works with: the options, the work, the positions and what they must agree on
struct TLot {
    TOptionsBatch o;
    std::unique_ptr<TTravailBatch> travail;
    std::vector<std::string> entrees;
    std::vector<TPosition> positions;
    int statutListe = kSucces;  // the listing's failure, reported by rank 0
    std::string erreurListe;
    std::string options;        // the option set an output folder belongs to
    std::string configuration;  // the options and every position's inputs: what the ranks compare
};

std::string NomsDesTypes() {
    std::string noms;
    for (const TTypeTravailBatch& t : TypesTravailBatch())
        noms += (noms.empty() ? "" : ", ") + std::string(t.nom);
    return noms;
}

bool LitOptionsBatch(const std::vector<std::string>& args, TOptionsBatch& o, std::string* erreur) {
    if (args.empty() || args.front().rfind('-', 0) == 0)
        return Refuse(erreur, "genre de travail manquant (" + NomsDesTypes() + ")");
    o.type = args.front();
    const std::vector<TOptionCli> table = {
        {"--resume", TGenreOption::Drapeau, OptionDrapeau(o.reprise)},
        {"--force", TGenreOption::Drapeau, OptionDrapeau(o.force)},
        {"--out", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             // "--out --resume": the option forgot its folder, which would be named "--resume"
             if (valeur.empty() || valeur.rfind("--", 0) == 0)
                 return Refuse(erreur, "l'option --out attend un nom de dossier" +
                                           (valeur.empty() ? std::string() : ", pas \"" + valeur + "\""));
             o.dossier = valeur;
             return true;
         }},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, kNbFilsMax, "--threads attend un nombre de 1 à " + std::to_string(kNbFilsMax),
                      [&](long long n) { o.nbFils = int(n); })},
        {"--rank-timeout", TGenreOption::Valeur,
         OptionEntier(1, 10'000'000, "--rank-timeout attend un nombre de secondes (au moins 1)",
                      [&](long long n) { o.delaiRangs = double(n); })},
    };
    if (!PreleveOptionsCli(std::vector<std::string>(args.begin() + 1, args.end()), table, o.reste, erreur))
        return false;
    if (o.dossier.empty()) return Refuse(erreur, "dossier de sortie manquant (--out DOSSIER)");
    if (o.reprise && o.force) return Refuse(erreur, "--resume et --force s'excluent");
    return true;
}

// The command line read the same way on every rank: the work and its positions, each with the
// digest of its inputs, and the configuration the ranks compare. False after the usage message.
bool PrepareLot(const std::vector<std::string>& args, TLot& lot, bool parle, std::ostream& err) {
    std::string erreur;
    const TTypeTravailBatch* type = nullptr;
    if (LitOptionsBatch(args, lot.o, &erreur)) {
        type = TrouveTypeTravailBatch(lot.o.type);
        if (!type)
            erreur = "genre de travail inconnu \"" + NomLisible(lot.o.type) + "\" (" + NomsDesTypes() + ")";
    }
    if (type) lot.travail = type->cree(lot.o.reste, lot.entrees, &erreur);
    if (!lot.travail) {
        if (parle) err << "velmora-sim batch : " << erreur << " (velmora-sim batch --help pour l'aide)\n";
        return false;
    }
    lot.options = lot.travail->Configuration();
    lot.configuration = lot.options;
    int statut = kSucces;
    if (!ListePositions(lot.entrees, lot.positions, statut, &lot.erreurListe)) {
        lot.statutListe = statut;
        lot.configuration += "positions (" + NomLisible(lot.erreurListe) + ")\n";
        return true;
    }
    for (size_t i = 0; i < lot.positions.size(); ++i) {
        TPosition& p = lot.positions[i];
        if (!lot.travail->EmpreinteEntrees(p.fichier, p.empreinte)) p.empreinte = "(illisible)";
        lot.configuration +=
            "position." + std::to_string(i + 1) + " " + NomLisible(p.nom) + " " + p.empreinte + "\n";
    }
    return true;
}

// Rank 0, before anything is computed: the positions listed and each one readable, every rank of
// the same mind. The exit status, kSucces when the run may go on.
int VerifieLot(const TLot& lot, TRepartiteur& repartiteur, std::ostream& err) {
    if (lot.statutListe != kSucces) {
        err << "velmora-sim batch : " << lot.erreurListe << "\n";
        return lot.statutListe;
    }
    std::string erreur;
    for (const TPosition& p : lot.positions) {
        if (!lot.travail->Verifie(p.fichier, &erreur)) {
            err << "velmora-sim : lecture impossible, " << erreur << "\n";
            return kErreurFichier;
        }
    }
    if (!repartiteur.Accorde(lot.configuration, &erreur)) {
        err << "velmora-sim batch : " << erreur << "\n";
        return kErreurUsage;
    }
    return kSucces;
}

// The output folder taken for this run, owned by its option set; the positions left to compute.
// The exit status.
int PrepareDossier(const TLot& lot, TDossierBatch& dossier, std::vector<const TPosition*>& aFaire,
                   std::ostream& err) {
    std::string erreur;
    if (!dossier.Ouvre(lot.o.dossier, &erreur)) {
        err << "velmora-sim batch : " << erreur << "\n";
        return kErreurFichier;
    }
    if (!dossier.SortiesDistinctes(lot.positions, &erreur)) {
        err << "velmora-sim batch : " << erreur << "\n";
        return kErreurUsage;
    }
    const int statut = dossier.Adopte(lot.options, lot.o.force, &erreur);
    if (statut != kSucces) {
        err << "velmora-sim batch : " << erreur << "\n";
        return statut;
    }
    if (!dossier.Prepare(lot.positions, lot.o.reprise, aFaire, err, &erreur)) {
        err << "velmora-sim batch : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    return kSucces;
}

// what rank 0 keeps of the positions computed now
struct TReception {
    std::map<std::string, std::string> temps;
    std::vector<std::string> echecs;
    std::string erreurEcriture;
    size_t recus = 0;
};

// each result written as it comes, its summary row last: that row says the position is done
TReceptionTache Reception(const std::vector<const TPosition*>& aFaire, const TTravailBatch& travail,
                          TDossierBatch& dossier, TReception& r, bool barre, std::ostream& err) {
    return [&aFaire, &travail, &dossier, &r, barre, &err](TResultatTache&& t) {
        const TPosition& p = *aFaire[t.Index];
        ++r.recus;
        if (barre)
            std::fprintf(stderr, "\r[%zu/%zu] %s\033[K", r.recus, aFaire.size(), NomLisible(p.nom).c_str());
        if (!t.Reussi) {
            r.echecs.push_back(p.nom);
            err << (barre ? "\n" : "") << "velmora-sim batch : \"" << NomLisible(p.fichier)
                << "\" : " << t.Contenu << "\n";
            return true;
        }
        TResultatPosition resultat;
        double secondes = 0;
        bool ok = DecodeResultatPosition(t.Contenu, resultat, secondes) &&
                  resultat.Fichiers.size() == travail.Suffixes().size();
        for (size_t i = 0; ok && i < resultat.Fichiers.size(); ++i)
            ok = resultat.Fichiers[i].first == travail.Suffixes()[i];
        if (!ok) {
            r.erreurEcriture = "résultat incomplet reçu du rang " + std::to_string(t.Rang) + " pour \"" +
                               NomLisible(p.fichier) + "\"";
            return false;
        }
        if (!dossier.Ecrit(p, resultat, &r.erreurEcriture)) return false;
        r.temps[p.nom] = ChampCsv(p.nom) + "," + Fixe(secondes, 3) + "," + std::to_string(t.Rang);
        return true;
    };
}

// Ctrl-C, a termination, a hang-up, or the launcher stopping the job after a rank failed. The
// launcher kills for good a second later: the message goes out at once, from the handler itself.
constexpr char kMessageInterruption[] =
    "velmora-sim batch : calcul interrompu (arrêt demandé, ou un rang de calcul a échoué) ; les positions "
    "terminées restent dans le dossier de sortie : relancez la même commande avec --resume pour finir\n";

// The positions left spread over the ranks, each result written as it comes, then the summary.
// The exit status.
int Calcule(const TLot& lot, TDossierBatch& dossier, TRepartiteur& repartiteur,
            const std::vector<const TPosition*>& aFaire, std::ostream& out, std::ostream& err) {
    std::vector<std::string> taches;
    taches.reserve(aFaire.size());
    for (const TPosition* p : aFaire) taches.push_back(p->fichier);
    const size_t dejaFaites = lot.positions.size() - aFaire.size();
    const bool barre = BarreVoulue(err);
    TReception r;
    const auto debut = std::chrono::steady_clock::now();
    const TGardeInterruption interruption(kMessageInterruption);
    lot.travail->FixeArret(interruption.Arret());
    std::string erreur;
    const bool fini = repartiteur.Repartis(taches, Reception(aFaire, *lot.travail, dossier, r, barre, err),
                                           interruption.Arret(), &erreur);
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    if (barre && !aFaire.empty()) std::fputc('\n', stderr);
    const std::string ou = "\"" + NomLisible(lot.o.dossier) + "\"";
    if (!fini && interruption.Interrompu()) {
        err << "velmora-sim batch : " << dossier.NbFaites() << " positions sur " << lot.positions.size()
            << " sont terminées dans " << ou << "\n";
        // the other ranks may be in the middle of a long position: they are not waited for
        repartiteur.AbandonneRangs(interruption.Statut());
        return interruption.Statut();
    }
    if (!fini) {
        err << "velmora-sim batch : "
            << (r.erreurEcriture.empty() ? "calcul arrêté, " + erreur
                                         : "écriture impossible, " + r.erreurEcriture)
            << " ; les positions terminées restent dans " << ou << " (--resume pour reprendre)\n";
        return kErreurFichier;
    }
    if (!r.echecs.empty()) {
        err << "velmora-sim batch : " << r.echecs.size()
            << " position(s) sans résultat ; les autres sont dans " << ou
            << ", sans résumé (--resume après correction pour finir)\n";
        return kErreurFichier;
    }
    if (!dossier.EcritResume(lot.positions, r.temps, &erreur)) {
        err << "velmora-sim batch : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    out << "positions : " << lot.positions.size() << " (" << aFaire.size() << " calculées, " << dejaFaites
        << " déjà faites)\n"
        << "rangs : " << repartiteur.NbRangs() << " × " << repartiteur.NbFils() << " fils\n"
        << "temps : " << Fixe(duree.count(), 3) << " s\n"
        << "résumé : " << dossier.Chemin("resume.csv") << "\n";
    return out.good() ? kSucces : kErreurFichier;
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // before MPI starts, only rank 0 speaks: every rank reads the same command line
    const bool parle = TRepartiteur::RangSelonLanceur() == 0;
    TLot lot;
    if (!PrepareLot(args, lot, parle, err)) return kErreurUsage;
    if (TRepartiteur::LanceParMpi() && !TRepartiteur::MpiDisponible()) {
        if (parle)
            err << "velmora-sim batch : lancé par mpirun ou srun, mais ce programme est construit sans MPI "
                   ";\n"
                   "lancez-le sans lanceur (tous les cœurs de cette machine) ou reconstruisez-le avec "
                   "-DVELMORA_MPI=ON\n";
        return kErreurUsage;
    }
    // every rank computes with the same work; the task is the position file's name
    const TTravailBatch& travail = *lot.travail;
    const TCalculTache calcul = [&travail](const std::string& fichier, std::string& resultat,
                                           std::string* raison) {
        const auto debut = std::chrono::steady_clock::now();
        TResultatPosition r;
        if (!travail.Calcule(fichier, r, raison)) return false;
        const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
        resultat = EncodeResultatPosition(r, duree.count());
        return true;
    };
    std::unique_ptr<TRepartiteur> repartiteur;
    try {
        repartiteur = std::make_unique<TRepartiteur>(calcul, lot.o.nbFils);
    } catch (const std::exception& e) {
        if (parle) err << "velmora-sim batch : MPI : " << e.what() << "\n";
        return kErreurFichier;
    }
    repartiteur->FixeDelaiRangs(lot.o.delaiRangs);
    if (!repartiteur->Principal()) {
        repartiteur->Sert(lot.configuration);
        return kSucces;
    }
    int statut = VerifieLot(lot, *repartiteur, err);
    TDossierBatch dossier(travail);
    std::vector<const TPosition*> aFaire;
    if (statut == kSucces) statut = PrepareDossier(lot, dossier, aFaire, err);
    if (statut == kSucces) statut = Calcule(lot, dossier, *repartiteur, aFaire, out, err);
    return statut;
}

const char* const kAide =
    "usage : velmora-sim batch GENRE FICHIER.vel|DOSSIER... --out DOSSIER [--resume|--force] [--threads N] "
    "[OPTIONS]\n\n"
    "Fait le même calcul sur chaque fichier de positions nommé, ou sur chaque fichier .vel des dossiers "
    "nommés,\n"
    "et écrit dans le dossier de sortie les résultats de chaque position (nommés d'après elle), son\n"
    "résumé NOM.resume.csv, puis le résumé de toutes, trié par nom de position.\n"
    "Sur une machine, toutes les positions se partagent ses cœurs ; lancé par mpirun ou srun, elles se\n"
    "répartissent entre les rangs au fur et à mesure que chacun se libère (chaque rang utilisant ses "
    "cœurs).\n"
    "Les fichiers écrits sont identiques octet pour octet quels que soient le nombre de rangs et de fils.\n\n"
    "genres :\n"
    "  difficulty             évaluation de la difficulté de chaque position\n"
    "                         (--trials, --steps, --fsk, --mode : voir velmora-sim difficulty --help) ;\n"
    "                         chaque position donne NOM.bul, le fichier de bulles des essais réussis\n"
    "  solve                  les routes de chaque position, chacune cherchée sur un seul fil\n"
    "                         (--mode, --top, --budget, --massé, --fsk : voir velmora-sim solve --help) ;\n"
    "                         chaque position donne NOM.json, le JSON de velmora-sim solve --json\n"
    "                         avec \"seconds\" à 0 (le temps est dans temps.csv)\n\n"
    "options :\n"
    "  --out DOSSIER          dossier de sortie (créé s'il n'existe pas) ; il appartient aux options\n"
    "                         et à la table du premier calcul qui l'utilise : un calcul avec d'autres\n"
    "                         est refusé en nommant l'option qui diffère, avec ou sans --resume\n"
    "  --resume               saute les positions dont les résultats se relisent en entier et donnent\n"
    "                         leur ligne de résumé ; une position dont le fichier a changé depuis, ou\n"
    "                         dont les résultats ne se relisent pas, est recalculée (et c'est dit)\n"
    "  --force                recommence le dossier avec ces options : les lignes de résumé et le\n"
    "                         résumé du calcul précédent ne comptent plus\n"
    "  --threads N            positions calculées à la fois par machine ou par rang (par défaut une par "
    "cœur)\n"
    "  --rank-timeout S       sous MPI : un rang chargé de positions qui ne donne plus signe de vie pendant\n"
    "                         S secondes (arrêté, machine perdue) met fin au travail ; les positions\n"
    "                         terminées restent et --resume finit (par défaut 600)\n"
    "  --help                 cette aide\n\n"
    "fichiers du dossier de sortie :\n"
    "  NOM.bul, NOM.json      les résultats de chaque position, chacun écrit en entier ou pas du tout\n"
    "  NOM.resume.csv         la ligne de résumé de la position, écrite en dernier\n"
    "  resume.csv             position puis les colonnes du genre (difficulty : trials, successes,\n"
    "                         success_rate, volume_tested, volume_success ; solve : routes_found,\n"
    "                         best_success_rate, de 0 à 1, vide sans taux mesuré), point décimal\n"
    "  temps.csv              position, secondes de calcul, rang : le seul fichier qui change d'une fois à "
    "l'autre\n"
    "  options.txt            les options du calcul (et l'empreinte du contenu de la table --fsk)\n"
    "  entrees.csv            position, empreinte du contenu de son fichier (et de la table qu'il nomme)\n"
    "  .verrou                pendant un calcul : un seul calcul à la fois dans un dossier (le second\n"
    "                         est refusé en nommant le processus qui le tient)\n\n"
    "sous MPI : mpirun -np N --hostfile HOTES velmora-sim batch ... (le dossier de sortie n'est écrit que\n"
    "par le rang 0 ; les fichiers de positions doivent être lisibles au même chemin sur chaque machine ;\n"
    "avant tout calcul, chaque rang compare ses options et le contenu de ses fichiers à ceux du rang 0,\n"
    "et un rang qui diffère arrête le travail en se nommant avec l'option)\n\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire (ou position en échec, ou rang perdu),\n"
    "2 erreur d'usage (ou dossier d'un autre calcul, ou rangs en désaccord), 130 interrompu par Ctrl-C\n"
    "(143 par SIGTERM, 129 par SIGHUP ; relancer avec --resume)\n";

const TEnregistreCommande enregistre({"batch",
                                      "un calcul sur toute une collection de positions, MPI possible", kAide,
                                      50, &Execute});

}  // namespace
