// velmora-sim calibrate: the constants of a table fitted on recorded shots, every core busy; started
// by mpirun or srun, the shots' fits of every trial set are spread over the ranks.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/BarreProgression.h"
#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/EntreesSorties.h"
#include "cli/Interruption.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
#include "cli/TachesCalibration.h"
#include "fichiers/EcritureAtomique.h"
#include "fichiers/Empreinte.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/NombresIni.h"
#include "moteurs/CalibrationTable.h"
#include "moteurs/Repartiteur.h"

namespace {

constexpr int kNbThreadsMax = 64;

struct TOptionsCalibre {
    std::vector<std::string> entrainement;
    std::vector<std::string> validation;
    std::string fsk;
    std::string sortie;
    int holdout = 0;
    bool json = false;
    double delaiRangs = TRepartiteur::DelaiRangsDefaut;
    TOptionsCalibration calibration;
    bool constantesDonnees = false;
    // the cushion model of the table, when the start file's is not the one to calibrate
    std::optional<TModeleBande> modele;
};

// the constants named, each once, in the order given
bool LitConstantes(const std::string& valeur, std::vector<int>& constantes, std::string* erreur) {
    constantes.clear();
    std::stringstream flux(valeur);
    std::string c;
    while (std::getline(flux, c, ',')) {
        const auto k = TrouveConstante(c);
        if (!k) {
            std::string liste;
            for (const auto& cc : ConstantesCalibrables())
                liste += (liste.empty() ? "" : ",") + std::string(cc.Nom);
            std::string message = "--params : constante « " + c;
            message += " » inconnue (parmi " + liste + ")";
            return Refuse(erreur, message);
        }
        if (std::find(constantes.begin(), constantes.end(), *k) == constantes.end()) constantes.push_back(*k);
    }
    if (constantes.empty() || valeur.back() == ',')
        return Refuse(erreur, "--params attend une liste de constantes séparées par des virgules");
    return true;
}

bool LitOptions(const std::vector<std::string>& args, TOptionsCalibre& o, std::string* erreur) {
    bool enValidation = false;
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur, OptionTexte(o.fsk)},
        {"--out", TGenreOption::Valeur, OptionTexte(o.sortie)},
        {"--params", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             o.constantesDonnees = true;
             return LitConstantes(valeur, o.calibration.Constantes, erreur);
         }},
        {"--score", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             if (valeur != "ball1" && valeur != "all")
                 return Refuse(erreur, "--score : \"" + valeur + "\", ball1 ou all attendu");
             o.calibration.Ajustement.ScoreToutes = valeur == "all";
             return true;
         }},
        {"--cushion-model", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string* erreur) {
             o.modele = ModeleBandeDeNom(valeur);
             return o.modele.has_value() ||
                    Refuse(erreur, "--cushion-model : \"" + valeur + "\", " + NomModeleBande(mbImpulsion) +
                                       " ou " + NomModeleBande(mbMathavan) + " attendu");
         }},
        {"--holdout", TGenreOption::Valeur,
         OptionEntier(0, 100000, "--holdout attend un nombre de coups (entier positif ou nul)",
                      [&](long long n) { o.holdout = int(n); })},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, kNbThreadsMax, "--threads attend un nombre de 1 à " + std::to_string(kNbThreadsMax),
                      [&](long long n) { o.calibration.NbThreads = int(n); })},
        {"--trials", TGenreOption::Valeur,
         OptionEntier(1, 100000, "--trials attend un nombre d'essais par tour (au moins 1)",
                      [&](long long n) { o.calibration.EssaisParTour = int(n); })},
        {"--rank-timeout", TGenreOption::Valeur,
         OptionEntier(1, 10'000'000, "--rank-timeout attend un nombre de secondes (au moins 1)",
                      [&](long long n) { o.delaiRangs = double(n); })},
        {"--validate", TGenreOption::Drapeau, OptionDrapeau(enValidation)},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(o.json)},
    };
    // the recordings, for the fit until --validate, then for the check
    const auto enregistrement = [&](const std::string& nom, std::string*) {
        (enValidation ? o.validation : o.entrainement).push_back(nom);
        return true;
    };
    if (!LitOptionsCli(args, table, enregistrement, erreur)) return false;
    if (o.sortie.empty())
        return Refuse(erreur, "--out FICHIER.fsk manquant (le fichier des constantes ajustées)");
    if (o.holdout > 0 && enValidation) return Refuse(erreur, "--holdout et --validate s'excluent");
    if (enValidation && o.validation.empty()) return Refuse(erreur, "--validate attend des enregistrements");
    if (int(o.entrainement.size()) - o.holdout < 1)
        return Refuse(erreur,
                      "il faut au moins un enregistrement pour l'ajustement (après ceux mis de côté)");
    return true;
}

std::string Json(const TBilanScores& b) {
    return "{\"shots\": " + std::to_string(b.Coups.size()) + ", \"mean_all\": " + FormatReel(b.Moyenne) +
           ", \"median_all\": " + FormatReel(b.Mediane) +
           ", \"median_ball1\": " + FormatReel(b.MedianeBille1) + "}";
}

std::string Texte(const TBilanScores& b) {
    return "toutes billes moyenne " + Fixe(b.Moyenne, 2) + " cm, médiane " + Fixe(b.Mediane, 2) +
           " cm ; bille 1 médiane " + Fixe(b.MedianeBille1, 2) + " cm";
}

// the files the command reads: an output must be none of them
std::vector<std::string> Entrees(const TOptionsCalibre& o) {
    std::vector<std::string> entrees = o.entrainement;
    entrees.insert(entrees.end(), o.validation.begin(), o.validation.end());
    entrees.push_back(o.fsk);
    return entrees;
}

// What shapes the result, one "name value" per line: the options and the digests of the inputs,
// in their order (a recording's number is its place in the tasks). Every rank must have the same.
std::string Configuration(const TOptionsCalibre& o) {
    std::string texte = "commande calibrate\n--params ";
    for (std::size_t k = 0; k < o.calibration.Constantes.size(); ++k)
        texte += (k ? "," : "") +
                 std::string(ConstantesCalibrables()[std::size_t(o.calibration.Constantes[k])].Nom);
    if (o.modele) texte += std::string("\n--cushion-model ") + NomModeleBande(*o.modele);
    if (!o.calibration.Ajustement.ScoreToutes) texte += "\n--score ball1";
    texte += "\n--holdout " + std::to_string(o.holdout) + "\n--trials " +
             std::to_string(o.calibration.EssaisParTour) + "\n";
    const auto empreinte = [](const std::string& nom) {
        std::string e;
        return EmpreinteFichier(nom, e) ? nom + " " + e : nom + " (illisible)";
    };
    texte += "--fsk " + (o.fsk.empty() ? std::string("(usine)") : empreinte(o.fsk)) + "\n";
    for (std::size_t i = 0; i < o.entrainement.size(); ++i)
        texte += "enregistrement." + std::to_string(i + 1) + " " + empreinte(o.entrainement[i]) + "\n";
    for (std::size_t i = 0; i < o.validation.size(); ++i)
        texte += "validation." + std::to_string(i + 1) + " " + empreinte(o.validation[i]) + "\n";
    return texte;
}

// the start table and the recordings, the training ones then the held-out ones; false with the reason
bool LitEnregistrements(const TOptionsCalibre& o, TBillardVelmora& simu, std::vector<TCoupEnregistre>& coups,
                        std::string* erreur) {
    if (!PrepareSimulation(simu, o.fsk, erreur)) return false;
    if (o.modele) simu.Fisik.ChangeModeleBande(*o.modele);
    std::string raison;
    for (const auto* liste : {&o.entrainement, &o.validation})
        for (const std::string& nom : *liste) {
            TCoupEnregistre c;
            if (!LitCoupEnregistre(nom, c, &raison)) return Refuse(erreur, raison);
            coups.push_back(std::move(c));
        }
    return true;
}

// the training shots and the held-out ones, by their index among the recordings
void PartageCoups(const TOptionsCalibre& o, std::vector<int>& entrainement, std::vector<int>& validation) {
    const int m = int(o.entrainement.size());
    if (o.holdout > 0) {
        // held-out shots spread evenly over the list
        std::vector<bool> garde(std::size_t(m), false);
        for (int k = 0; k < o.holdout; ++k) garde[std::size_t((2 * k + 1) * m / (2 * o.holdout))] = true;
        for (int i = 0; i < m; ++i) (garde[std::size_t(i)] ? validation : entrainement).push_back(i);
    } else {
        for (int i = 0; i < m; ++i) entrainement.push_back(i);
        for (int i = m; i < m + int(o.validation.size()); ++i) validation.push_back(i);
    }
}

// A rank's computation: one shot's fit under the trial set the task carries. A rank that could not
// read the recordings fails its tasks with its reason.
TCalculTache CalculDuRang(const std::unique_ptr<TCalibrationTable>& calibration,
                          const std::string& erreurLecture, const TOptionsCalibration& options) {
    return [&calibration, &erreurLecture, &options](const std::string& texte, std::string& resultat,
                                                    std::string* raison) {
        if (!calibration) return Refuse(raison, erreurLecture);
        TPARAMPHYS fisik;
        TTacheCoup tache;
        if (!DecodeTache(texte, *calibration, fisik, tache)) return Refuse(raison, "tâche illisible");
        resultat.clear();
        AjouteAjustement(resultat,
                         calibration->AjusteTache(fisik, tache, options.Ajustement, options.EvalsAffinage));
        return true;
    };
}

// Under MPI each trial set's fits go out to the ranks and their results come back in the tasks'
// order. A lost rank stops the search as a stop asked does, with its reason in erreurMpi.
TRepartiteurCalibration ParRangs(TRepartiteur& repartiteur, TGardeInterruption& interruption,
                                 std::string* erreurMpi) {
    return [&repartiteur, &interruption, erreurMpi](const TPARAMPHYS& fisik,
                                                    const std::vector<TTacheCoup>& taches) {
        std::vector<TResultatAjustement> resultats(taches.size());
        for (TResultatAjustement& r : resultats) r.Interrompu = true;
        if (!erreurMpi->empty()) return resultats;
        std::vector<std::string> textes;
        textes.reserve(taches.size());
        for (const TTacheCoup& t : taches) textes.push_back(EncodeTache(fisik, t));
        const auto recoit = [&](TResultatTache&& t) {
            std::istringstream in(t.Contenu);
            if (t.Reussi && LitAjustement(in, resultats[t.Index])) return true;
            *erreurMpi = t.Reussi ? "résultat illisible reçu du rang " + std::to_string(t.Rang) : t.Contenu;
            return false;
        };
        std::string raison;
        if (!repartiteur.Repartis(textes, recoit, interruption.Arret(), &raison) && erreurMpi->empty() &&
            !interruption.Interrompu())
            *erreurMpi = raison;
        if (!erreurMpi->empty()) interruption.Arrete();
        return resultats;
    };
}

// the start file's values (radius as written there) with the fitted constants; false with the reason
bool SauveTable(const TOptionsCalibre& o, const TResultatCalibration& r, std::string* erreur) {
    TPARAMPHYS sortie;
    if (!o.fsk.empty() && !ChargeFisik(sortie, o.fsk, erreur)) return false;
    if (o.modele) sortie.ChangeModeleBande(*o.modele);
    const auto& cc = ConstantesCalibrables();
    for (std::size_t k = 0; k < o.calibration.Constantes.size(); ++k)
        sortie.Change(cc[std::size_t(o.calibration.Constantes[k])].Champ, r.Valeurs[k]);
    return SauveFisik(sortie, o.sortie, erreur);
}

void RapporteJson(const TOptionsCalibre& o, const TResultatCalibration& r, bool avecValidation,
                  std::ostream& out) {
    const auto& cc = ConstantesCalibrables();
    out << "{\"constants\": {";
    for (std::size_t k = 0; k < r.Valeurs.size(); ++k)
        out << (k ? ", " : "") << "\"" << cc[std::size_t(o.calibration.Constantes[k])].Nom
            << "\": " << FormatReel(r.Valeurs[k]);
    out << "}, \"training\": {\"start\": " << Json(r.EntrainementDepart)
        << ", \"fitted\": " << Json(r.Entrainement) << "}";
    if (avecValidation)
        out << ", \"heldout\": {\"start\": " << Json(r.ValidationDepart)
            << ", \"fitted\": " << Json(r.Validation) << "}";
    out << ", \"trials\": " << r.NbEssais << ", \"shots\": " << r.NbCoups
        << ", \"seconds\": " << FormatReel(r.Secondes) << "}\n";
}

void RapporteTexte(const TOptionsCalibre& o, const TCalibrationTable& calibration,
                   const TResultatCalibration& r, std::size_t nbEntrainement, std::size_t nbValidation,
                   std::ostream& out) {
    const auto& cc = ConstantesCalibrables();
    out << "constantes :";
    for (std::size_t k = 0; k < r.Valeurs.size(); ++k) {
        const auto& c = cc[std::size_t(o.calibration.Constantes[k])];
        out << " " << c.Nom << " " << FormatReel(r.Valeurs[k]) << " ("
            << FormatReel(calibration.Depart().Constantes().*c.Champ) << ")";
    }
    out << "\nentraînement, " << nbEntrainement << " coups : " << Texte(r.Entrainement) << "\n"
        << "  au départ : " << Texte(r.EntrainementDepart) << "\n";
    if (nbValidation > 0)
        out << "validation, " << nbValidation << " coups : " << Texte(r.Validation) << "\n"
            << "  au départ : " << Texte(r.ValidationDepart) << "\n";
    out << r.NbEssais << " essais, " << r.NbCoups << " coups calculés en " << Fixe(r.Secondes, 1) << " s\n"
        << "écrit : " << o.sortie << "\n";
}

// rank 0: the calibration, then the table written and the result reported; the exit status
int Calibre(const TOptionsCalibre& o, const TCalibrationTable& calibration, TRepartiteur* repartiteur,
            std::ostream& out, std::ostream& err) {
    std::vector<int> entrainement, validation;
    PartageCoups(o, entrainement, validation);
    TGardeInterruption interruption;
    std::string erreurMpi;
    const TRepartiteurCalibration parRangs =
        repartiteur ? ParRangs(*repartiteur, interruption, &erreurMpi) : TRepartiteurCalibration();
    const bool barre = BarreVoulue(err);
    const TResultatCalibration r =
        calibration.Calibre(entrainement, validation, o.calibration, parRangs, interruption.Arret(),
                            [&](const TProgressionCalibration& p) {
                                if (barre)
                                    std::fprintf(stderr, "\ressai %d/%d, meilleur score moyen %.2f cm ",
                                                 p.Essai, p.NbEssais, p.Meilleur);
                            });
    if (barre) std::fputc('\n', stderr);
    if (!erreurMpi.empty()) {
        err << "velmora-sim calibrate : calcul arrêté (" << erreurMpi << "), " << o.sortie
            << " n'est pas écrit\n";
        return kErreurFichier;
    }
    if (r.Interrompu) {
        err << "velmora-sim : calibration interrompue, " << o.sortie << " n'est pas écrit\n";
        return interruption.Statut();
    }
    std::string erreur;
    if (!SauveTable(o, r, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    if (o.json)
        RapporteJson(o, r, !validation.empty(), out);
    else
        RapporteTexte(o, calibration, r, entrainement.size(), validation.size(), out);
    return out.good() ? kSucces : kErreurFichier;
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // under MPI every rank reads the same command line: rank 0 speaks for them
    const bool parle = TRepartiteur::RangSelonLanceur() == 0;
    TOptionsCalibre o;
    std::string erreur;
    if (!LitOptions(args, o, &erreur) || !SortieDistincte(o.sortie, Entrees(o), &erreur)) {
        if (parle)
            err << "velmora-sim calibrate : " << erreur << " (velmora-sim calibrate --help pour l'aide)\n";
        return kErreurUsage;
    }
    // every rank reads the recordings: a rank that cannot differs from rank 0, which stops the job
    auto simu = std::make_unique<TBillardVelmora>();
    std::vector<TCoupEnregistre> coups;
    const bool lu = LitEnregistrements(o, *simu, coups, &erreur);
    // the constants of the table's cushion model, unless named
    if (!o.constantesDonnees) o.calibration.Constantes = ConstantesParDefaut(simu->Fisik.ModeleBande());
    std::unique_ptr<TCalibrationTable> calibration;
    if (lu) calibration = std::make_unique<TCalibrationTable>(simu->Fisik, std::move(coups));
    const std::string erreurLecture =
        "rang " + std::to_string(TRepartiteur::RangSelonLanceur()) + " : lecture impossible, " + erreur;
    std::unique_ptr<TRepartiteur> repartiteur;
    if (TRepartiteur::LanceParMpi() && TRepartiteur::MpiDisponible()) {
        try {
            repartiteur = std::make_unique<TRepartiteur>(
                CalculDuRang(calibration, erreurLecture, o.calibration), o.calibration.NbThreads);
        } catch (const std::exception& e) {
            if (parle) err << "velmora-sim calibrate : MPI : " << e.what() << "\n";
            return kErreurFichier;
        }
        repartiteur->FixeDelaiRangs(o.delaiRangs);
        if (!repartiteur->Principal()) {
            repartiteur->Sert(Configuration(o));
            return kSucces;
        }
        if (!repartiteur->Accorde(Configuration(o), &erreur)) {
            err << "velmora-sim calibrate : " << erreur << "\n";
            return kErreurUsage;
        }
    }
    if (!lu) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    // the output is checked before hours of computing, not after
    if (!SauvegardePossible(o.sortie, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    return Calibre(o, *calibration, repartiteur.get(), out, err);
}

const char* const kAide =
    "usage : velmora-sim calibrate ENREGISTREMENT.csv... --out AJUSTE.fsk [OPTIONS]\n\n"
    "Ajuste des constantes physiques sur des coups enregistrés : chaque coup est rejoué avec sa\n"
    "propre queue ajustée (sur les trois billes, ou la bille 1 avec --score ball1), et les\n"
    "constantes retenues sont celles qui reproduisent le mieux l'ensemble (écart moyen le plus\n"
    "faible). Les coups mis de côté jugent le résultat sur des coups que l'ajustement n'a pas vus.\n"
    "Tous les cœurs travaillent ; lancé par mpirun ou srun, les ajustements des coups de chaque essai\n"
    "se répartissent entre les rangs (même résultat ; chaque machine doit lire les enregistrements au\n"
    "même chemin).\n\n"
    "options :\n"
    "  --out AJUSTE.fsk       fichier écrit : les constantes de départ avec celles ajustées\n"
    "  --fsk DEPART.fsk       constantes de départ (sinon celles d'usine)\n"
    "  --params LISTE         constantes ajustées, parmi FrotBiTapGlisse, FrotBiTapPivot,\n"
    "                         FrotBiTapRoule, FrotBiTapChoc, FrotBiBi, FrotBiBde, ElastBiTap,\n"
    "                         ElastBiBi, ElastBiBde, ElastQueueBi, HautBdes, ElastMathavan,\n"
    "                         FrotMathavan\n"
    "                         (par défaut FrotBiTapRoule, FrotBiTapGlisse, ElastBiBi, FrotBiBi et\n"
    "                         l'élasticité et le frottement du modèle de bande du billard :\n"
    "                         ElastBiBde, FrotBiBde, ou ElastMathavan, FrotMathavan)\n"
    "  --score ball1|all      écart que les queues ajustées et les constantes minimisent : celui\n"
    "                         des trois billes (par défaut) ou celui de la bille 1\n"
    "  --cushion-model NOM    modèle de bande du billard calibré, Impulsion ou Mathavan2010\n"
    "                         (sinon celui du fichier de départ ; écrit dans la sortie)\n"
    "  --holdout N            met de côté N des enregistrements donnés, répartis dans la liste\n"
    "  --validate REC...      ou : les enregistrements qui suivent sont mis de côté\n"
    "  --trials N             essais de constantes par tour (2 tours ; 40 par défaut)\n"
    "  --threads N            fils de calcul (par défaut un par cœur)\n"
    "  --rank-timeout S       sous MPI : un rang chargé de calcul qui ne donne plus signe de vie pendant\n"
    "                         S secondes (arrêté, machine perdue) met fin au travail (par défaut 600)\n"
    "  --json                 {\"constants\": {...}, \"training\": {\"start\", \"fitted\"},\n"
    "                         \"heldout\": {\"start\", \"fitted\"}, \"trials\", \"shots\", \"seconds\"}\n"
    "  --help                 cette aide\n\n"
    "La sortie ne peut pas être un des fichiers lus ; elle est vérifiée avant le calcul. Sous MPI,\n"
    "chaque rang compare ses options et ses fichiers (leur contenu) à ceux du rang 0 avant de calculer.\n"
    "Ctrl-C (ou SIGTERM, SIGHUP) arrête le calcul sans écrire la sortie.\n"
    "statut : 0 succès, 1 fichier illisible, impossible à écrire ou rang perdu, 2 erreur d'usage (ou\n"
    "rangs en désaccord), 130 interrompu (143 par SIGTERM, 129 par SIGHUP)\n";

const TEnregistreCommande enregistre({"calibrate",
                                      "ajuste les constantes d'un billard sur des coups enregistrés", kAide,
                                      60, &Execute});

}  // namespace
