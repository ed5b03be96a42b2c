// velmora-sim batch: one kind of work over many position files, on every core of this machine, or
// spread over the ranks of an MPI job when mpirun or srun started it. Only rank 0 reads the output
// folder and writes to it; each result is written whole (temporary file renamed) as soon as it
// arrives, so that a run cut short keeps what it finished and --resume does the rest.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <stdexcept>

#include "cli/Commandes.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
#include "cli/TravauxBatch.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/NombresIni.h"
#include "moteurs/Repartiteur.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNbFilsMax = 256;
constexpr int kInterrompu = 130;
const char* const kFichierResume = "resume.csv";
const char* const kFichierTemps = "temps.csv";
const char* const kFichierOptions = "options.txt";
const char* const kSuffixeLigne = ".resume.csv";

struct TOptionsBatch {
    std::string type;
    std::string dossier;
    bool reprise = false;
    int nbFils = 0;
    std::vector<std::string> reste;  // for the kind of work
};

struct TPosition {
    std::string nom;  // the file's name without its extension: names its results
    std::string fichier;
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
        {"--out", TGenreOption::Valeur, OptionNonVide(o.dossier, "l'option --out attend un nom de dossier")},
        {"--threads", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             const auto n = LitEntierTexte(valeur);
             if (!n || *n < 1 || *n > kNbFilsMax)
                 return Refuse(erreur, "--threads attend un nombre de 1 à " + std::to_string(kNbFilsMax));
             o.nbFils = int(*n);
             return true;
         }},
    };
    if (!PreleveOptionsCli(std::vector<std::string>(args.begin() + 1, args.end()), table, o.reste, erreur))
        return false;
    if (o.dossier.empty()) return Refuse(erreur, "dossier de sortie manquant (--out DOSSIER)");
    return true;
}

// the ".vel" files named or held by the folders named, sorted by name; false with the reason
// (statut 1 when a file is missing, 2 when two positions would share their results)
bool ListePositions(const std::vector<std::string>& entrees, std::vector<TPosition>& positions, int& statut,
                    std::string* erreur) {
    statut = kErreurFichier;
    std::vector<fs::path> fichiers;
    for (const std::string& entree : entrees) {
        std::error_code ec;
        const fs::file_status etat = fs::status(entree, ec);
        if (fs::is_directory(etat)) {
            const size_t avant = fichiers.size();
            for (const fs::directory_entry& e : fs::directory_iterator(entree, ec)) {
                std::string extension = e.path().extension().string();
                std::transform(extension.begin(), extension.end(), extension.begin(),
                               [](unsigned char c) { return char(std::tolower(c)); });
                if (extension == ".vel" && e.is_regular_file(ec)) fichiers.push_back(e.path());
            }
            if (ec) {
                if (erreur) *erreur = "\"" + entree + "\" : dossier illisible (" + ec.message() + ")";
                return false;
            }
            if (fichiers.size() == avant) {
                if (erreur) *erreur = "\"" + entree + "\" : aucun fichier de positions .vel dans ce dossier";
                return false;
            }
        } else if (fs::exists(etat)) {
            fichiers.emplace_back(entree);
        } else {
            if (erreur) *erreur = "\"" + entree + "\" : fichier introuvable";
            return false;
        }
    }
    // a file named twice is computed once
    std::set<fs::path> vus;
    std::map<std::string, std::string> parNom;
    for (const fs::path& f : fichiers) {
        std::error_code ec;
        const fs::path canonique = fs::weakly_canonical(f, ec);
        if (!vus.insert(ec ? f : canonique).second) continue;
        const std::string nom = f.stem().string();
        if (nom.empty()) {
            if (erreur) *erreur = "\"" + f.string() + "\" : nom de fichier sans nom de position";
            return false;
        }
        const auto [it, nouveau] = parNom.emplace(nom, f.string());
        if (!nouveau) {
            statut = kErreurUsage;
            if (erreur)
                *erreur = "deux positions portent le nom \"" + nom + "\" (\"" + it->second + "\" et \"" +
                          f.string() + "\") : leurs résultats auraient le même nom";
            return false;
        }
    }
    positions.clear();
    for (const auto& [nom, fichier] : parNom) positions.push_back({nom, fichier});
    return true;
}

std::string Chemin(const std::string& dossier, const std::string& nom) {
    return (fs::path(dossier) / nom).string();
}

// a position done before: its files and its summary row are there; the row, or empty
std::string LigneDejaFaite(const std::string& dossier, const TPosition& p, const TTravailBatch& travail,
                           const std::string& entete) {
    std::error_code ec;
    for (const std::string& suffixe : travail.Suffixes())
        if (!fs::is_regular_file(Chemin(dossier, p.nom + suffixe), ec)) return {};
    std::string contenu;
    if (!LitFichier(Chemin(dossier, p.nom + kSuffixeLigne), contenu)) return {};
    const std::string debut = entete + "\n";
    if (contenu.rfind(debut, 0) != 0 || contenu.empty() || contenu.back() != '\n') return {};
    std::string ligne = contenu.substr(debut.size(), contenu.size() - debut.size() - 1);
    if (ligne.empty() || ligne.find('\n') != std::string::npos) return {};
    return ligne;
}

// The temporary files of a run killed while it was writing (the results themselves are whole):
// "NOM.bul.tmp-PID-N-T" and the like, for the files a batch writes.
void RetireTemporaires(const std::string& dossier, const std::vector<std::string>& suffixes) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dossier, ec)) {
        const std::string nom = e.path().filename().string();
        const size_t tmp = nom.rfind(".tmp-");
        if (tmp == std::string::npos || !e.is_regular_file(ec)) continue;
        const std::string cible = nom.substr(0, tmp);
        bool notre = false;
        for (const std::string& s : suffixes)
            notre = notre ||
                    (cible.size() >= s.size() && cible.compare(cible.size() - s.size(), s.size(), s) == 0);
        if (notre) fs::remove(e.path(), ec);
    }
}

// Ctrl-C, or the launcher stopping the job after a rank failed. The launcher kills for good a
// second later: the message goes out at once, from the handler itself.
std::atomic<bool> interruption{false};
constexpr char kMessageInterruption[] =
    "velmora-sim batch : calcul interrompu (arrêt demandé, ou un rang de calcul a échoué) ; les positions "
    "terminées restent dans le dossier de sortie : relancez la même commande avec --resume pour finir\n";
extern "C" void SurInterruptionBatch(int) {
    if (!interruption.exchange(true)) {
        [[maybe_unused]] const auto n =
            ::write(STDERR_FILENO, kMessageInterruption, sizeof kMessageInterruption - 1);
    }
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // before MPI starts, only rank 0 speaks: every rank reads the same command line
    const bool parle = TRepartiteur::RangSelonLanceur() == 0;
    TOptionsBatch o;
    std::string erreur;
    const TTypeTravailBatch* type = nullptr;
    std::vector<std::string> entrees;
    std::unique_ptr<TTravailBatch> travail;
    if (LitOptionsBatch(args, o, &erreur)) {
        type = TrouveTypeTravailBatch(o.type);
        if (!type) erreur = "genre de travail inconnu \"" + o.type + "\" (" + NomsDesTypes() + ")";
    }
    if (type) travail = type->cree(o.reste, entrees, &erreur);
    if (!travail) {
        if (parle) err << "velmora-sim batch : " << erreur << " (velmora-sim batch --help pour l'aide)\n";
        return kErreurUsage;
    }
    if (TRepartiteur::LanceParMpi() && !TRepartiteur::MpiDisponible()) {
        if (parle)
            err << "velmora-sim batch : lancé par mpirun ou srun, mais ce programme est construit sans MPI "
                   ";\n"
                   "lancez-le sans lanceur (tous les cœurs de cette machine) ou reconstruisez-le avec "
                   "-DVELMORA_MPI=ON\n";
        return kErreurUsage;
    }

    // every rank computes with the same work; the task is the position file's name
    const TCalculTache calcul = [&travail](const std::string& fichier, std::string& resultat,
                                           std::string* raison) {
        const auto debut = std::chrono::steady_clock::now();
        TResultatPosition r;
        if (!travail->Calcule(fichier, r, raison)) return false;
        const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
        resultat = EncodeResultatPosition(r, duree.count());
        return true;
    };
    std::unique_ptr<TRepartiteur> repartiteur;
    try {
        repartiteur = std::make_unique<TRepartiteur>(calcul, o.nbFils);
    } catch (const std::exception& e) {
        if (parle) err << "velmora-sim batch : MPI : " << e.what() << "\n";
        return kErreurFichier;
    }
    if (!repartiteur->Principal()) {
        repartiteur->Sert();
        return kSucces;
    }

    // the positions, every one readable, before anything is computed
    std::vector<TPosition> positions;
    int statut = kSucces;
    if (!ListePositions(entrees, positions, statut, &erreur)) {
        err << "velmora-sim batch : " << erreur << "\n";
        return statut;
    }
    for (const TPosition& p : positions) {
        if (!travail->Verifie(p.fichier, &erreur)) {
            err << "velmora-sim : lecture impossible, " << erreur << "\n";
            return kErreurFichier;
        }
    }

    // the output folder, and the options its results were computed with
    std::error_code ec;
    fs::create_directories(o.dossier, ec);
    if (ec || !fs::is_directory(o.dossier)) {
        err << "velmora-sim batch : \"" << o.dossier << "\" : dossier de sortie impossible à créer"
            << (ec ? " (" + ec.message() + ")" : std::string()) << "\n";
        return kErreurFichier;
    }
    const std::string signature = "velmora-sim batch " + travail->Signature() + "\n";
    std::string signatureAvant;
    const bool avecOptions = LitFichier(Chemin(o.dossier, kFichierOptions), signatureAvant);
    if (o.reprise && avecOptions && signatureAvant != signature) {
        err << "velmora-sim batch : --resume : \"" << o.dossier
            << "\" contient des résultats calculés avec d'autres "
            << "options :\n  " << signatureAvant
            << "lancez-le avec les mêmes options, ou sans --resume pour tout "
            << "recalculer\n";
        return kErreurUsage;
    }
    if ((!avecOptions || signatureAvant != signature) &&
        !EcritFichierAtomique(Chemin(o.dossier, kFichierOptions), signature, &erreur)) {
        err << "velmora-sim batch : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }

    std::vector<std::string> nosFichiers = travail->Suffixes();
    for (const char* f : {kSuffixeLigne, kFichierResume, kFichierTemps, kFichierOptions})
        nosFichiers.push_back(f);
    RetireTemporaires(o.dossier, nosFichiers);

    // what --resume finds done is not computed again
    std::string entete = "position";
    for (const std::string& c : travail->Colonnes()) entete += "," + ChampCsv(c);
    std::map<std::string, std::string> lignes;
    std::vector<std::string> taches;
    std::vector<const TPosition*> aFaire;
    for (const TPosition& p : positions) {
        std::string ligne = o.reprise ? LigneDejaFaite(o.dossier, p, *travail, entete) : std::string();
        if (!ligne.empty()) {
            lignes[p.nom] = std::move(ligne);
        } else {
            taches.push_back(p.fichier);
            aFaire.push_back(&p);
        }
    }
    const size_t dejaFaites = lignes.size();

    // each result written as it comes, its summary row last: that row says the position is done
    const std::vector<std::string> suffixes = travail->Suffixes();
    std::map<std::string, std::string> temps;
    std::vector<std::string> echecs;
    const bool barre = &err == &std::cerr && ::isatty(STDERR_FILENO);
    size_t recus = 0;
    std::string erreurEcriture;
    const TReceptionTache recoit = [&](TResultatTache&& r) {
        const TPosition& p = *aFaire[r.Index];
        ++recus;
        if (barre) std::fprintf(stderr, "\r[%zu/%zu] %s\033[K", recus, aFaire.size(), p.nom.c_str());
        if (!r.Reussi) {
            echecs.push_back(p.nom);
            err << (barre ? "\n" : "") << "velmora-sim batch : \"" << p.fichier << "\" : " << r.Contenu
                << "\n";
            return true;
        }
        TResultatPosition resultat;
        double secondes = 0;
        bool ok = DecodeResultatPosition(r.Contenu, resultat, secondes) &&
                  resultat.Fichiers.size() == suffixes.size();
        for (size_t i = 0; ok && i < suffixes.size(); ++i) ok = resultat.Fichiers[i].first == suffixes[i];
        if (!ok) {
            erreurEcriture =
                "résultat incomplet reçu du rang " + std::to_string(r.Rang) + " pour \"" + p.fichier + "\"";
            return false;
        }
        std::string ligne = ChampCsv(p.nom);
        for (const std::string& cellule : resultat.Ligne) ligne += "," + ChampCsv(cellule);
        for (const auto& [suffixe, contenu] : resultat.Fichiers)
            if (!EcritFichierAtomique(Chemin(o.dossier, p.nom + suffixe), contenu, &erreurEcriture))
                return false;
        if (!EcritFichierAtomique(Chemin(o.dossier, p.nom + kSuffixeLigne), entete + "\n" + ligne + "\n",
                                  &erreurEcriture))
            return false;
        lignes[p.nom] = std::move(ligne);
        temps[p.nom] = ChampCsv(p.nom) + "," + Fixe(secondes, 3) + "," + std::to_string(r.Rang);
        return true;
    };

    const auto debut = std::chrono::steady_clock::now();
    interruption = false;
    const auto ancienInt = std::signal(SIGINT, SurInterruptionBatch);
    const auto ancienTerm = std::signal(SIGTERM, SurInterruptionBatch);
    const bool fini = repartiteur->Repartis(taches, recoit, &interruption, &erreur);
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    if (barre && !aFaire.empty()) std::fputc('\n', stderr);
    if (!fini && interruption.load()) {
        // the workers may be in the middle of a long position: nothing is waited for, every
        // result received is already in place
        err << "velmora-sim batch : " << lignes.size() << " positions sur " << positions.size()
            << " sont terminées dans \"" << o.dossier << "\"\n";
        err.flush();
        out.flush();
        std::_Exit(kInterrompu);
    }
    std::signal(SIGINT, ancienInt == SIG_ERR ? SIG_DFL : ancienInt);
    std::signal(SIGTERM, ancienTerm == SIG_ERR ? SIG_DFL : ancienTerm);
    if (!fini) {
        err << "velmora-sim batch : écriture impossible, "
            << (erreurEcriture.empty() ? erreur : erreurEcriture)
            << " ; les positions terminées restent dans \"" << o.dossier << "\" (--resume pour reprendre)\n";
        return kErreurFichier;
    }
    if (!echecs.empty()) {
        err << "velmora-sim batch : " << echecs.size()
            << " position(s) sans résultat ; les autres sont dans \"" << o.dossier
            << "\", sans résumé (--resume après correction pour finir)\n";
        return kErreurFichier;
    }

    // the summary, sorted by position name; the computing times apart, since they change from run to run
    std::string resume = entete + "\n";
    for (const auto& [nom, ligne] : lignes) resume += ligne + "\n";
    std::string tempsAvant;
    LitFichier(Chemin(o.dossier, kFichierTemps), tempsAvant);
    std::string texteTemps = "position,seconds,rank\n";
    for (const TPosition& p : positions) {
        if (const auto it = temps.find(p.nom); it != temps.end()) {
            texteTemps += it->second + "\n";
            continue;
        }
        // a position done by an earlier run keeps its time
        const std::string debutLigne = "\n" + ChampCsv(p.nom) + ",";
        const size_t i = tempsAvant.find(debutLigne);
        if (i != std::string::npos) {
            const size_t fin = tempsAvant.find('\n', i + 1);
            texteTemps += tempsAvant.substr(i + 1, fin == std::string::npos ? std::string::npos : fin - i);
            if (texteTemps.back() != '\n') texteTemps += "\n";
        }
    }
    if (!EcritFichierAtomique(Chemin(o.dossier, kFichierResume), resume, &erreur) ||
        !EcritFichierAtomique(Chemin(o.dossier, kFichierTemps), texteTemps, &erreur)) {
        err << "velmora-sim batch : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    out << "positions : " << positions.size() << " (" << aFaire.size() << " calculées, " << dejaFaites
        << " déjà faites)\n"
        << "rangs : " << repartiteur->NbRangs() << " × " << repartiteur->NbFils() << " fils\n"
        << "temps : " << Fixe(duree.count(), 3) << " s\n"
        << "résumé : " << Chemin(o.dossier, kFichierResume) << "\n";
    return out.good() ? kSucces : kErreurFichier;
}

const char* const kAide =
    "usage : velmora-sim batch GENRE FICHIER.vel|DOSSIER... --out DOSSIER [--resume] [--threads N] "
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
    "  --out DOSSIER          dossier de sortie (créé s'il n'existe pas)\n"
    "  --resume               saute les positions dont les résultats sont complets dans le dossier\n"
    "                         (refusé si le dossier a été calculé avec d'autres options)\n"
    "  --threads N            positions calculées à la fois par machine ou par rang (par défaut une par "
    "cœur)\n"
    "  --help                 cette aide\n\n"
    "fichiers du dossier de sortie :\n"
    "  NOM.bul, NOM.json      les résultats de chaque position, chacun écrit en entier ou pas du tout\n"
    "  NOM.resume.csv         la ligne de résumé de la position, écrite en dernier\n"
    "  resume.csv             position puis les colonnes du genre (difficulty : trials, successes,\n"
    "                         success_rate, volume_tested, volume_success ; solve : routes_found,\n"
    "                         best_success_rate, de 0 à 1, vide sans taux mesuré), point décimal\n"
    "  temps.csv              position, secondes de calcul, rang : le seul fichier qui change d'une fois à "
    "l'autre\n"
    "  options.txt            les options du calcul\n\n"
    "sous MPI : mpirun -np N --hostfile HOTES velmora-sim batch ... (le dossier de sortie n'est écrit que\n"
    "par le rang 0 ; les fichiers de positions doivent être lisibles au même chemin sur chaque machine)\n\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire (ou position en échec), 2 erreur "
    "d'usage,\n"
    "130 interrompu (Ctrl-C, ou un rang de calcul a échoué : relancer avec --resume)\n";

const TEnregistreCommande enregistre({"batch",
                                      "un calcul sur toute une collection de positions, MPI possible", kAide,
                                      50, &Execute});

}  // namespace
