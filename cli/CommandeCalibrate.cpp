// velmora-sim calibrate: the constants of a table fitted on recorded shots, every core busy; started
// by mpirun or srun, the shots' fits of every trial set are spread over the ranks.
#include <unistd.h>

#include <atomic>
#include <bit>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>

#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/Resultat.h"
#include "cli/TableOptions.h"
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
    TOptionsCalibration calibration;
};

// the constants named, each once, in the order given
bool LitConstantes(const std::string& valeur, std::vector<int>& constantes, std::string& erreur) {
    constantes.clear();
    std::stringstream flux(valeur);
    std::string c;
    while (std::getline(flux, c, ',')) {
        const auto k = TrouveConstante(c);
        if (!k) {
            std::string liste;
            for (const auto& cc : ConstantesCalibrables())
                liste += (liste.empty() ? "" : ",") + std::string(cc.Nom);
            erreur = "--params : constante « " + c + " » inconnue (parmi ";
            erreur += liste + ")";
            return false;
        }
        if (std::find(constantes.begin(), constantes.end(), *k) == constantes.end()) constantes.push_back(*k);
    }
    if (constantes.empty() || valeur.back() == ',') {
        erreur = "--params attend une liste de constantes séparées par des virgules";
        return false;
    }
    return true;
}

bool LitOptions(const std::vector<std::string>& args, TOptionsCalibre& o, std::string& erreur) {
    bool enValidation = false;
    const std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur, OptionTexte(o.fsk)},
        {"--out", TGenreOption::Valeur, OptionTexte(o.sortie)},
        {"--params", TGenreOption::Valeur,
         [&](const std::string& valeur, std::string& erreur) {
             return LitConstantes(valeur, o.calibration.Constantes, erreur);
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
        {"--validate", TGenreOption::Drapeau, OptionDrapeau(enValidation)},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(o.json)},
    };
    // the recordings, for the fit until --validate, then for the check
    const auto enregistrement = [&](const std::string& nom, std::string&) {
        (enValidation ? o.validation : o.entrainement).push_back(nom);
        return true;
    };
    if (!LitOptionsCli(args, table, enregistrement, erreur)) return false;
    if (o.sortie.empty()) {
        erreur = "--out FICHIER.fsk manquant (le fichier des constantes ajustées)";
        return false;
    }
    if (o.holdout > 0 && enValidation) {
        erreur = "--holdout et --validate s'excluent";
        return false;
    }
    if (enValidation && o.validation.empty()) {
        erreur = "--validate attend des enregistrements";
        return false;
    }
    if (int(o.entrainement.size()) - o.holdout < 1) {
        erreur = "il faut au moins un enregistrement pour l'ajustement (après ceux mis de côté)";
        return false;
    }
    return true;
}

std::atomic<bool> interruption{false};
void SurInterruptionCalibre(int) { interruption.store(true); }

std::string Json(const TBilanScores& b) {
    return "{\"shots\": " + std::to_string(b.Coups.size()) + ", \"mean_all\": " + FormatReel(b.Moyenne) +
           ", \"median_all\": " + FormatReel(b.Mediane) +
           ", \"median_ball1\": " + FormatReel(b.MedianeBille1) + "}";
}

std::string Texte(const TBilanScores& b) {
    return "toutes billes moyenne " + Fixe(b.Moyenne, 2) + " cm, médiane " + Fixe(b.Mediane, 2) +
           " cm ; bille 1 médiane " + Fixe(b.MedianeBille1, 2) + " cm";
}

// A task and its result cross between ranks as text: every number as the hex of its bits, so a
// rank computes exactly what this one would.
void AjouteNombre(std::string& texte, double v) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx ",
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
    texte += hex;
}

bool LitNombre(std::istringstream& in, double& v) {
    std::string mot;
    if (!(in >> mot) || mot.size() != 16) return false;
    char* fin = nullptr;
    const unsigned long long bits = std::strtoull(mot.c_str(), &fin, 16);
    if (fin != mot.c_str() + 16) return false;
    v = std::bit_cast<double>(static_cast<std::uint64_t>(bits));
    return true;
}

void AjouteAjustement(std::string& texte, const TResultatAjustement& r) {
    const TParamQueue& q = r.Queue;
    for (double v : {q.VitesseQueue, q.MasseQueue, q.Effet, q.Hauteur, q.AngleOx, q.AngleTapis, r.Frappe,
                     r.Score.Bille1, r.Score.Toutes, double(r.NbCoups), r.Secondes, r.Interrompu ? 1.0 : 0.0})
        AjouteNombre(texte, v);
}

bool LitAjustement(std::istringstream& in, TResultatAjustement& r) {
    TParamQueue& q = r.Queue;
    double nbCoups = 0, interrompu = 0;
    for (double* v : {&q.VitesseQueue, &q.MasseQueue, &q.Effet, &q.Hauteur, &q.AngleOx, &q.AngleTapis,
                      &r.Frappe, &r.Score.Bille1, &r.Score.Toutes, &nbCoups, &r.Secondes, &interrompu})
        if (!LitNombre(in, *v)) return false;
    r.NbCoups = long(nbCoups);
    r.Interrompu = interrompu != 0;
    return true;
}

// the task: the shot, the kind of fit, its start and the calibrable constants of the trial set
std::string EncodeTache(const TPARAMPHYS& fisik, const TTacheCoup& tache) {
    std::string texte = std::to_string(tache.Coup) + (tache.Complet ? " 1 " : " 0 ");
    AjouteAjustement(texte, tache.Depart);
    for (const TConstanteCalibrable& c : ConstantesCalibrables()) AjouteNombre(texte, fisik.*c.Champ);
    return texte;
}

bool DecodeTache(const std::string& texte, const TCalibrationTable& calibration, TPARAMPHYS& fisik,
                 TTacheCoup& tache) {
    std::istringstream in(texte);
    int complet = 0;
    if (!(in >> tache.Coup >> complet) || tache.Coup < 0 || tache.Coup >= int(calibration.Coups().size()))
        return false;
    tache.Complet = complet != 0;
    if (!LitAjustement(in, tache.Depart)) return false;
    fisik = calibration.Depart();
    for (const TConstanteCalibrable& c : ConstantesCalibrables())
        if (!LitNombre(in, fisik.*c.Champ)) return false;
    // numbers from another rank: within their ranges like any other constants
    fisik.BorneTout();
    return true;
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsCalibre o;
    std::string erreur;
    if (!LitOptions(args, o, erreur)) {
        // under MPI every rank reads the same command line: one message
        if (!TRepartiteur::MpiDisponible() || TRepartiteur::RangSelonLanceur() == 0)
            err << "velmora-sim calibrate : " << erreur << " (velmora-sim calibrate --help pour l'aide)\n";
        return kErreurUsage;
    }
    // Under an MPI launcher every rank reads the recordings and fits the shots rank 0 hands out;
    // a rank that cannot read them fails its tasks, which ends the run with its reason.
    std::unique_ptr<TCalibrationTable> calibrationRang;
    std::string erreurRang;
    const TCalculTache calcul = [&](const std::string& texte, std::string& resultat, std::string& raison) {
        if (!calibrationRang) {
            raison = erreurRang;
            return false;
        }
        TPARAMPHYS fisik;
        TTacheCoup tache;
        if (!DecodeTache(texte, *calibrationRang, fisik, tache)) {
            raison = "tâche illisible";
            return false;
        }
        resultat.clear();
        AjouteAjustement(resultat, calibrationRang->AjusteTache(fisik, tache, o.calibration.Ajustement,
                                                                o.calibration.EvalsAffinage));
        return true;
    };
    std::unique_ptr<TRepartiteur> repartiteur;
    if (TRepartiteur::LanceParMpi() && TRepartiteur::MpiDisponible()) {
        const bool parle = TRepartiteur::RangSelonLanceur() == 0;
        try {
            repartiteur = std::make_unique<TRepartiteur>(calcul, o.calibration.NbThreads);
        } catch (const std::exception& e) {
            if (parle) err << "velmora-sim calibrate : MPI : " << e.what() << "\n";
            return kErreurFichier;
        }
    }

    auto simu = std::make_unique<TBillardVelmora>();
    // the recordings: the training ones, then the held-out ones
    std::vector<TCoupEnregistre> coups;
    bool lu = PrepareSimulation(*simu, o.fsk, erreur);
    for (const auto* liste : {&o.entrainement, &o.validation})
        for (const std::string& nom : *liste) {
            if (!lu) break;
            TCoupEnregistre c;
            lu = LitCoupEnregistre(nom, c, &erreur);
            coups.push_back(std::move(c));
        }
    if (repartiteur && !repartiteur->Principal()) {
        if (lu)
            calibrationRang = std::make_unique<TCalibrationTable>(simu->Fisik, std::move(coups));
        else
            erreurRang = "rang " + std::to_string(repartiteur->Rang()) + " : lecture impossible, " + erreur;
        repartiteur->Sert();
        return kSucces;
    }
    if (!lu) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    std::vector<int> entrainement, validation;
    const int m = int(o.entrainement.size());
    if (o.holdout > 0) {
        // held-out shots spread evenly over the list
        std::vector<bool> garde(std::size_t(m), false);
        for (int k = 0; k < o.holdout; ++k) garde[std::size_t((2 * k + 1) * m / (2 * o.holdout))] = true;
        for (int i = 0; i < m; ++i) (garde[std::size_t(i)] ? validation : entrainement).push_back(i);
    } else {
        for (int i = 0; i < m; ++i) entrainement.push_back(i);
        for (int i = m; i < int(coups.size()); ++i) validation.push_back(i);
    }

    calibrationRang = std::make_unique<TCalibrationTable>(simu->Fisik, std::move(coups));
    const TCalibrationTable& calibration = *calibrationRang;
    // under MPI each trial set's fits go out to the ranks, their results come back in the tasks' order
    std::string erreurMpi;
    TRepartiteurCalibration parRangs;
    if (repartiteur)
        parRangs = [&](const TPARAMPHYS& fisik, const std::vector<TTacheCoup>& taches) {
            std::vector<TResultatAjustement> resultats(taches.size());
            for (TResultatAjustement& r : resultats) r.Interrompu = true;
            if (!erreurMpi.empty()) return resultats;
            std::vector<std::string> textes;
            textes.reserve(taches.size());
            for (const TTacheCoup& t : taches) textes.push_back(EncodeTache(fisik, t));
            const auto recoit = [&](TResultatTache&& t) {
                std::istringstream in(t.Contenu);
                if (!t.Reussi || !LitAjustement(in, resultats[t.Index])) {
                    erreurMpi =
                        t.Reussi ? "résultat illisible reçu du rang " + std::to_string(t.Rang) : t.Contenu;
                    return false;
                }
                return true;
            };
            std::string raison;
            if (!repartiteur->Repartis(textes, recoit, raison, &interruption) && erreurMpi.empty())
                erreurMpi = raison;
            // a lost rank stops the search as Ctrl-C does
            if (!erreurMpi.empty()) interruption = true;
            return resultats;
        };
    const bool barre = &err == &std::cerr && ::isatty(STDERR_FILENO);
    interruption = false;
    const auto ancien = std::signal(SIGINT, SurInterruptionCalibre);
    const TResultatCalibration r =
        calibration.Calibre(entrainement, validation, o.calibration, parRangs, &interruption,
                            [&](const TProgressionCalibration& p) {
                                if (barre)
                                    std::fprintf(stderr, "\ressai %d/%d, meilleur score moyen %.2f cm ",
                                                 p.Essai, p.NbEssais, p.Meilleur);
                            });
    std::signal(SIGINT, ancien == SIG_ERR ? SIG_DFL : ancien);
    if (barre) std::fputc('\n', stderr);
    if (!erreurMpi.empty()) {
        err << "velmora-sim calibrate : calcul arrêté (" << erreurMpi << "), " << o.sortie
            << " n'est pas écrit\n";
        return kErreurFichier;
    }
    if (r.Interrompu) {
        err << "velmora-sim : calibration interrompue, " << o.sortie << " n'est pas écrit\n";
        return kErreurFichier;
    }

    // the start file's values (radius as written there) with the fitted constants
    TPARAMPHYS sortie;
    if (!o.fsk.empty() && !ChargeFisik(sortie, o.fsk, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    const auto& cc = ConstantesCalibrables();
    for (std::size_t k = 0; k < o.calibration.Constantes.size(); ++k)
        sortie.*cc[std::size_t(o.calibration.Constantes[k])].Champ = r.Valeurs[k];
    if (!SauveFisik(sortie, o.sortie, &erreur)) {
        err << "velmora-sim : écriture impossible, " << erreur << "\n";
        return kErreurFichier;
    }

    if (o.json) {
        out << "{\"constants\": {";
        for (std::size_t k = 0; k < r.Valeurs.size(); ++k)
            out << (k ? ", " : "") << "\"" << cc[std::size_t(o.calibration.Constantes[k])].Nom
                << "\": " << FormatReel(r.Valeurs[k]);
        out << "}, \"training\": {\"start\": " << Json(r.EntrainementDepart)
            << ", \"fitted\": " << Json(r.Entrainement) << "}";
        if (!validation.empty())
            out << ", \"heldout\": {\"start\": " << Json(r.ValidationDepart)
                << ", \"fitted\": " << Json(r.Validation) << "}";
        out << ", \"trials\": " << r.NbEssais << ", \"shots\": " << r.NbCoups
            << ", \"seconds\": " << FormatReel(r.Secondes) << "}\n";
    } else {
        out << "constantes :";
        for (std::size_t k = 0; k < r.Valeurs.size(); ++k) {
            const auto& c = cc[std::size_t(o.calibration.Constantes[k])];
            out << " " << c.Nom << " " << FormatReel(r.Valeurs[k]) << " ("
                << FormatReel(calibration.Depart().*c.Champ) << ")";
        }
        out << "\nentraînement, " << entrainement.size() << " coups : " << Texte(r.Entrainement) << "\n"
            << "  au départ : " << Texte(r.EntrainementDepart) << "\n";
        if (!validation.empty())
            out << "validation, " << validation.size() << " coups : " << Texte(r.Validation) << "\n"
                << "  au départ : " << Texte(r.ValidationDepart) << "\n";
        out << r.NbEssais << " essais, " << r.NbCoups << " coups calculés en " << Fixe(r.Secondes, 1)
            << " s\n"
            << "écrit : " << o.sortie << "\n";
    }
    return out.good() ? kSucces : kErreurFichier;
}

const char* const kAide =
    "usage : velmora-sim calibrate ENREGISTREMENT.csv... --out AJUSTE.fsk [OPTIONS]\n\n"
    "Ajuste des constantes physiques sur des coups enregistrés : chaque coup est rejoué avec sa\n"
    "propre queue ajustée (sur les trois billes), et les constantes retenues sont celles qui\n"
    "reproduisent le mieux l'ensemble (écart moyen le plus faible). Les coups mis de côté jugent\n"
    "le résultat sur des coups que l'ajustement n'a pas vus. Tous les cœurs travaillent ; lancé par\n"
    "mpirun ou srun, les ajustements des coups de chaque essai se répartissent entre les rangs (même\n"
    "résultat ; chaque machine doit lire les enregistrements au même chemin).\n\n"
    "options :\n"
    "  --out AJUSTE.fsk       fichier écrit : les constantes de départ avec celles ajustées\n"
    "  --fsk DEPART.fsk       constantes de départ (sinon celles d'usine)\n"
    "  --params LISTE         constantes ajustées, parmi FrotBiTapGlisse, FrotBiTapPivot,\n"
    "                         FrotBiTapRoule, FrotBiTapChoc, FrotBiBi, FrotBiBde, ElastBiTap,\n"
    "                         ElastBiBi, ElastBiBde, ElastQueueBi (par défaut FrotBiTapRoule,\n"
    "                         FrotBiTapGlisse, ElastBiBi, ElastBiBde, FrotBiBi, FrotBiBde)\n"
    "  --holdout N            met de côté N des enregistrements donnés, répartis dans la liste\n"
    "  --validate REC...      ou : les enregistrements qui suivent sont mis de côté\n"
    "  --trials N             essais de constantes par tour (2 tours ; 40 par défaut)\n"
    "  --threads N            fils de calcul (par défaut un par cœur)\n"
    "  --json                 {\"constants\": {...}, \"training\": {\"start\", \"fitted\"},\n"
    "                         \"heldout\": {\"start\", \"fitted\"}, \"trials\", \"shots\", \"seconds\"}\n"
    "  --help                 cette aide\n\n"
    "statut : 0 succès, 1 fichier illisible, impossible à écrire ou calcul interrompu (Ctrl-C),\n"
    "2 erreur d'usage\n";

const TEnregistreCommande enregistre({"calibrate",
                                      "ajuste les constantes d'un billard sur des coups enregistrés", kAide,
                                      60, &Execute});

}  // namespace
