#include "moteurs/CalibrationTable.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlopt.hpp>
#include <thread>

const std::vector<TConstanteCalibrable>& ConstantesCalibrables() {
    // the constants of the tuning window that shape a path on the cloth, within the ranges of
    // real tables (never below the window's floor of 0.001)
    static const std::vector<TConstanteCalibrable> constantes{
        {"FrotBiTapGlisse", &TConstantesPhys::FrotBiTapGlisse, 0.02, 0.6},
        {"FrotBiTapPivot", &TConstantesPhys::FrotBiTapPivot, 0.001, 0.2},
        {"FrotBiTapRoule", &TConstantesPhys::FrotBiTapRoule, 0.001, 0.03},
        {"FrotBiTapChoc", &TConstantesPhys::FrotBiTapChoc, 0.001, 1},
        {"FrotBiBi", &TConstantesPhys::FrotBiBi, 0.001, 0.3},
        {"FrotBiBde", &TConstantesPhys::FrotBiBde, 0.001, 1},
        {"ElastBiTap", &TConstantesPhys::ElastBiTap, 0.001, 1},
        {"ElastBiBi", &TConstantesPhys::ElastBiBi, 0.5, 1},
        {"ElastBiBde", &TConstantesPhys::ElastBiBde, 0.3, 1},
        {"ElastQueueBi", &TConstantesPhys::PerteEcQB, 0.001, 0.5},
        {"HautBdes", &TConstantesPhys::HautBdes, 3.2, 4.5},
        {"ElastMathavan", &TConstantesPhys::ElastMathavan, 0.5, 1},
        {"FrotMathavan", &TConstantesPhys::FrotMathavan, 0.01, 0.6},
    };
    return constantes;
}

std::optional<int> TrouveConstante(const std::string& nom) {
    const auto& c = ConstantesCalibrables();
    for (std::size_t i = 0; i < c.size(); ++i)
        if (nom == c[i].Nom) return int(i);
    return std::nullopt;
}

std::vector<int> ConstantesParDefaut(TModeleBande modele) {
    const bool pasAPas = modele == mbMathavan;
    std::vector<int> v;
    for (const char* nom :
         {"FrotBiTapRoule", "FrotBiTapGlisse", "ElastBiBi", pasAPas ? "ElastMathavan" : "ElastBiBde",
          "FrotBiBi", pasAPas ? "FrotMathavan" : "FrotBiBde"})
        v.push_back(*TrouveConstante(nom));
    return v;
}

namespace {

double Mediane(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

double Valeur(const TResultatAjustement& r, const TOptionsAjustement& o) {
    return o.ScoreToutes ? r.Score.Toutes : r.Score.Bille1;
}

// The mean of the best share of the scores. A shot whose fit jumps to another branch of its score
// (a ball just missed instead of just hit) moves the mean by centimetres for reasons that are not
// the constants; the worst shots are left out. Sorted first: the same value in any order.
double MoyenneRetenue(std::vector<double> scores, double part) {
    if (scores.empty()) return 0;
    std::sort(scores.begin(), scores.end());
    const std::size_t n = std::max<std::size_t>(1, std::size_t(std::lround(part * double(scores.size()))));
    double somme = 0;
    for (std::size_t k = 0; k < n && k < scores.size(); ++k) somme += scores[k];
    return somme / double(std::min(n, scores.size()));
}

}  // namespace

TCalibrationTable::TCalibrationTable(const TPARAMPHYS& depart, std::vector<TCoupEnregistre> coups)
    : depart_(depart), coups_(std::move(coups)) {}

TPARAMPHYS TCalibrationTable::Fisik(const std::vector<int>& constantes,
                                    const std::vector<double>& valeurs) const {
    TConstantesPhys v = depart_.Constantes();
    const auto& c = ConstantesCalibrables();
    for (std::size_t k = 0; k < constantes.size() && k < valeurs.size(); ++k) {
        const TConstanteCalibrable& cc = c[std::size_t(constantes[k])];
        v.*cc.Champ = std::clamp(valeurs[k], cc.Min, cc.Max);
    }
    // within the physics' ranges too (a value that is not a number passes the clamp)
    TPARAMPHYS f = depart_;
    f.Change(v);
    return f;
}

TResultatAjustement TCalibrationTable::AjusteTache(const TPARAMPHYS& fisik, const TTacheCoup& tache,
                                                   const TOptionsAjustement& options,
                                                   int evalsAffinage) const {
    TAjustementCoup a(fisik, coups_[std::size_t(tache.Coup)]);
    if (tache.Complet) return a.Ajuste(options);
    // the cue found under the constants of the tour, searched around
    return a.Affine(tache.Depart, options, evalsAffinage);
}

TRepartiteurCalibration RepartiteurThreads(const TCalibrationTable& calibration, int nbThreads,
                                           const TOptionsAjustement& options, int evalsAffinage) {
    if (nbThreads <= 0) nbThreads = int(std::max(1u, std::thread::hardware_concurrency()));
    return [&calibration, nbThreads, options, evalsAffinage](const TPARAMPHYS& fisik,
                                                             const std::vector<TTacheCoup>& taches) {
        std::vector<TResultatAjustement> resultats(taches.size());
        std::atomic<std::size_t> suivant{0};
        const auto travaille = [&] {
            for (std::size_t k; (k = suivant.fetch_add(1)) < taches.size();)
                resultats[k] = calibration.AjusteTache(fisik, taches[k], options, evalsAffinage);
        };
        const int n = std::min<int>(nbThreads, int(taches.size()));
        std::vector<std::thread> fils;
        for (int i = 1; i < n; ++i) fils.emplace_back(travaille);
        travaille();
        for (std::thread& f : fils) f.join();
        return resultats;
    };
}

TBilanScores TCalibrationTable::Bilan(const TPARAMPHYS& fisik, const std::vector<int>& coups,
                                      const TOptionsCalibration&,
                                      const TRepartiteurCalibration& repartiteur) const {
    TBilanScores b;
    if (coups.empty()) return b;
    std::vector<TTacheCoup> taches;
    taches.reserve(coups.size());
    for (int i : coups) taches.push_back({i, true, {}});
    b.Coups = repartiteur(fisik, taches);
    std::vector<double> toutes, bille1;
    for (const TResultatAjustement& r : b.Coups) {
        toutes.push_back(r.Score.Toutes);
        bille1.push_back(r.Score.Bille1);
        b.Moyenne += r.Score.Toutes;
    }
    b.Moyenne /= double(b.Coups.size());
    b.Mediane = Mediane(toutes);
    b.MedianeBille1 = Mediane(bille1);
    return b;
}

// What the search of the constants carries from trial to trial: the values relative to the start
// (each constant within its range), the cues each shot starts from, the best trial so far.
struct TCalibrationTable::TEtatCalibration {
    const TOptionsCalibration* options = nullptr;
    const TRepartiteurCalibration* repartiteur = nullptr;
    const std::vector<int>* entrainement = nullptr;
    const std::atomic<bool>* arret = nullptr;
    const std::function<void(const TProgressionCalibration&)>* progression = nullptr;
    std::vector<double> v0, bas, haut;
    std::vector<TResultatAjustement> bases;
    std::vector<double> meilleurX;
    double meilleur = 0;
    long coups = 0;
    TProgressionCalibration prog;
    nlopt::opt* opt = nullptr;
    bool interrompu = false;

    std::vector<double> Valeurs(const std::vector<double>& xs) const {
        std::vector<double> v(xs.size());
        for (std::size_t k = 0; k < xs.size(); ++k) v[k] = xs[k] * v0[k];
        return v;
    }
    void Compte(const TBilanScores& b) {
        for (const TResultatAjustement& r : b.Coups) coups += r.NbCoups;
    }
};

double TCalibrationTable::Essai(TEtatCalibration& e, const std::vector<double>& xv) const {
    if (e.arret && e.arret->load()) {
        e.interrompu = true;
        e.opt->force_stop();
        return HUGE_VAL;
    }
    const TPARAMPHYS fisik = Fisik(e.options->Constantes, e.Valeurs(xv));
    std::vector<TTacheCoup> taches;
    for (std::size_t k = 0; k < e.entrainement->size(); ++k)
        taches.push_back({(*e.entrainement)[k], false, e.bases[k]});
    const std::vector<TResultatAjustement> r = (*e.repartiteur)(fisik, taches);
    std::vector<double> scores;
    for (const TResultatAjustement& a : r) {
        scores.push_back(Valeur(a, e.options->Ajustement));
        e.coups += a.NbCoups;
    }
    const double moyenne = MoyenneRetenue(scores, e.options->PartRetenue);
    if (moyenne < e.meilleur) {
        e.meilleur = moyenne;
        e.meilleurX = xv;
    }
    ++e.prog.Essai;
    e.prog.Meilleur = e.meilleur;
    if (*e.progression) (*e.progression)(e.prog);
    return moyenne;
}

void TCalibrationTable::Tour(TEtatCalibration& e, int tour) const {
    const TOptionsCalibration& options = *e.options;
    // every shot fitted afresh under the best constants so far: the starts of the local searches
    if (tour > 0) {
        const TBilanScores b = Bilan(Fisik(options.Constantes, e.Valeurs(e.meilleurX)), *e.entrainement,
                                     options, *e.repartiteur);
        e.Compte(b);
        e.bases = b.Coups;
    }
    nlopt::opt opt(nlopt::LN_NELDERMEAD, unsigned(e.v0.size()));
    opt.set_lower_bounds(e.bas);
    opt.set_upper_bounds(e.haut);
    opt.set_initial_step(options.PasInitial / (tour + 1));
    opt.set_maxeval(options.EssaisParTour);
    opt.set_xtol_rel(1e-4);
    e.opt = &opt;
    e.interrompu = false;
    struct TCtx {
        const TCalibrationTable* self;
        TEtatCalibration* e;
    } ctx{this, &e};
    opt.set_min_objective(
        [](unsigned nx, const double* xs, double*, void* donnees) -> double {
            auto& c = *static_cast<TCtx*>(donnees);
            return c.self->Essai(*c.e, std::vector<double>(xs, xs + nx));
        },
        &ctx);
    std::vector<double> xs = e.meilleurX;
    double valeur = 0;
    try {
        opt.optimize(xs, valeur);
    } catch (const std::exception&) {
        // a stop asked, or the search's own limits: the best trial so far stands
    }
    e.opt = nullptr;
}

TResultatCalibration TCalibrationTable::Calibre(
    const std::vector<int>& entrainement, const std::vector<int>& validation,
    const TOptionsCalibration& options, TRepartiteurCalibration repartiteur, const std::atomic<bool>* arret,
    const std::function<void(const TProgressionCalibration&)>& progression) const {
    const auto debut = std::chrono::steady_clock::now();
    if (!repartiteur)
        repartiteur = RepartiteurThreads(*this, options.NbThreads, options.Ajustement, options.EvalsAffinage);
    const auto& cc = ConstantesCalibrables();
    const std::size_t n = options.Constantes.size();
    TResultatCalibration res;
    TEtatCalibration e;
    e.options = &options;
    e.repartiteur = &repartiteur;
    e.entrainement = &entrainement;
    e.arret = arret;
    e.progression = &progression;

    // the search runs on values relative to the start, each constant within its range
    e.v0.resize(n);
    e.bas.resize(n);
    e.haut.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const TConstanteCalibrable& c = cc[std::size_t(options.Constantes[k])];
        e.v0[k] = std::clamp(depart_.Constantes().*c.Champ, c.Min, c.Max);
        e.bas[k] = c.Min / e.v0[k];
        e.haut[k] = c.Max / e.v0[k];
    }
    e.meilleurX.assign(n, 1.0);

    res.EntrainementDepart = Bilan(Fisik(options.Constantes, e.v0), entrainement, options, repartiteur);
    e.Compte(res.EntrainementDepart);
    e.bases = res.EntrainementDepart.Coups;
    std::vector<double> scoresDepart;
    scoresDepart.reserve(e.bases.size());
    for (const TResultatAjustement& r : e.bases) scoresDepart.push_back(Valeur(r, options.Ajustement));
    e.meilleur = MoyenneRetenue(scoresDepart, options.PartRetenue);
    e.prog.NbEssais = options.NbTours * options.EssaisParTour;
    e.prog.Meilleur = e.meilleur;

    for (int tour = 0; tour < options.NbTours && n > 0 && !entrainement.empty(); ++tour) {
        if (arret && arret->load()) break;
        Tour(e, tour);
        if (e.interrompu) res.Interrompu = true;
    }
    Conclut(e, validation, res);
    res.NbCoups = e.coups;
    res.Secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    return res;
}

void TCalibrationTable::Conclut(TEtatCalibration& e, const std::vector<int>& validation,
                                TResultatCalibration& res) const {
    const TOptionsCalibration& options = *e.options;
    const auto& cc = ConstantesCalibrables();
    res.Valeurs = e.Valeurs(e.meilleurX);
    res.Fisik = Fisik(options.Constantes, res.Valeurs);
    for (std::size_t k = 0; k < res.Valeurs.size(); ++k)
        res.Valeurs[k] = res.Fisik.Constantes().*cc[std::size_t(options.Constantes[k])].Champ;
    res.NbEssais = e.prog.Essai;
    if (e.arret && e.arret->load()) {
        res.Interrompu = true;
        return;
    }
    // the fitted constants and the start judged on every shot, each fitted afresh
    res.Entrainement = Bilan(res.Fisik, *e.entrainement, options, *e.repartiteur);
    e.Compte(res.Entrainement);
    res.ValidationDepart = Bilan(Fisik(options.Constantes, e.v0), validation, options, *e.repartiteur);
    res.Validation = Bilan(res.Fisik, validation, options, *e.repartiteur);
    e.Compte(res.ValidationDepart);
    e.Compte(res.Validation);
}
