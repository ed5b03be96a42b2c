// The shot solver: from a position, the shots that make the point, grouped into routes by ball 1's
// exact contacts (first object ball, each cushion by its number, second object ball), each route
// with its most forgiving cue setting, that setting's success rate on the difficulty grid, the
// other ways the search found to make the same contacts (its variants) and the diamonds where
// the setting's ball 1 meets its cushions.
// The search: a coarse pass over aim × speed × side × height (× inclination), then, inside the
// largest scoring region of the best routes, a finer pass whose deepest point is the setting.
// Every candidate is judged with the early verdict. Deterministic: the same routes and figures for
// any number of threads. No Qt: the desktop window, the command line and the batch runs drive it
// alike (Demarre, then Progression polled, Arrete, Attends; or Execute).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "jeu/DescriptionCoup.h"
#include "moteurs/EvaluationDifficulte.h"
#include "moteurs/VerdictAnticipe.h"

struct TOptionsSolveur {
    TModeDeJeu Mode = j3Bandes;
    int NbRoutes = 5;                 // best routes returned
    std::int64_t Budget = 150'000;    // candidates of the coarse pass (the finer passes add theirs)
    int NbThreads = 0;                // 0: one per core
    bool Masse = false;               // massé: inclination up to InclinaisonMasse instead of InclinaisonMax
    float MasseQueue = 520;           // g
    std::string NomBille2 = "Jaune";  // the other cue ball, as the labels name it
    TGrilleDifficulte Grille;         // the success rate's grid (the difficulty window's default)

    // the searched ranges (degrees, cm/s, cm)
    static constexpr float InclinaisonMax = 5;
    static constexpr float InclinaisonMasse = 75;
    static constexpr float VitesseMin = 60;
    static constexpr float VitesseMax = 660;
};

// another stroke making a route's contacts: the centre of another region of the coarse pass
struct TVarianteRoute {
    TQueueDegres Queue;
    std::int64_t TailleRegion = 0;
};

struct TRouteSolveur {
    int Rang = 0;                           // 1 = easiest
    TSequenceContacts Sequence;             // ball 1's contacts until the point
    std::string Libelle;                    // "Rouge · longue · courte · longue · Jaune"
    std::string PremiereBille;              // "Rouge" or the other cue ball's name
    std::vector<int> Bandes;                // cushions touched, in order (1 +x, 2 +y, 3 −x, 4 −y)
    std::vector<double> Diamants;           // where the setting's ball 1 meets them (jeu/Diamants.h)
    std::vector<TVarianteRoute> Variantes;  // the widest first; regions of a few strokes or more
    TQueueDegres Queue;                     // the setting, as the cue window holds it
    TParamQueue Param;                      // the cue fields that setting plays
    std::int64_t TailleRegion = 0;          // candidates of its largest scoring region in the search
    // success rate on the difficulty grid around the setting; Essais = 0 when not measured (stopped)
    std::int64_t Essais = 0;
    std::int64_t Reussis = 0;
    double TauxReussite() const { return Essais > 0 ? double(Reussis) / double(Essais) : -1.0; }
    bool Mesuree() const { return Essais > 0; }
};

struct TResultatSolveur {
    std::vector<TRouteSolveur> Routes;                 // easiest first
    int NbRoutesTrouvees = 0;                          // distinct routes seen by the search
    std::vector<TSequenceContacts> SequencesTrouvees;  // all of them, the widest region first
    std::int64_t NbCoups = 0;                          // candidates judged (success rates included)
    double Secondes = 0;
    bool Interrompu = false;
    int NbNonMesurees = 0;   // routes returned without a success rate (the search stopped first)
    std::string Raison;      // why the list is empty, in French; empty otherwise
    TContexteCoup Contexte;  // the balls and the table, to describe the settings in words
};

struct TProgressionSolveur {
    std::int64_t Faits = 0;
    std::int64_t Prevus = 0;     // estimate, refined as the phases go
    int Phase = 0;               // 0 coarse pass, 1 refinement, 2 success rates, 3 done
    int NbRoutesTrouvees = 0;    // known once the coarse pass is over
    std::int64_t NbReussis = 0;  // candidates of the coarse pass that made the point so far
    double Secondes = 0;
    bool EnCours = false;

    double Fraction() const { return Prevus > 0 ? std::min(1.0, double(Faits) / double(Prevus)) : 0.0; }
    double SecondesRestantes() const {
        return Faits > 0 ? Secondes * double(std::max<std::int64_t>(Prevus - Faits, 0)) / double(Faits) : 0.0;
    }
};

class TSolveurCoups {
public:
    // Takes from the source what the search needs (Fisik, the ball positions of photo 0; the
    // balls start at rest); the mode, mass and ranges come from the options.
    TSolveurCoups(const TBillardVelmora& source, const TOptionsSolveur& options);
    ~TSolveurCoups();
    TSolveurCoups(const TSolveurCoups&) = delete;
    TSolveurCoups& operator=(const TSolveurCoups&) = delete;

    // the whole search on the calling thread and the workers
    TResultatSolveur Execute();
    // the same on a background thread; false when one already runs
    bool Demarre();
    bool Termine() const { return termine_.load(); }
    TResultatSolveur Attends();
    // the search stops at its next block; the routes found so far are kept (any thread)
    void Arrete() { arret_.store(true); }
    TProgressionSolveur Progression() const;

    // the texts of a sequence (cushions "longue"/"courte", balls by name)
    static std::string Libelle(const TSequenceContacts& s, const std::string& nomBille2);

private:
    struct TRecherche;
    TResultatSolveur Calcule();
    // the stages of Calcule
    bool PositionBloquee(TResultatSolveur& r) const;
    void PreparePasses(TRecherche& s);
    bool PasseGrossiere(TRecherche& s, TResultatSolveur& r);
    bool Affine(TRecherche& s);  // false when stopped before the settings were refined
    void MesureReussites(TRecherche& s);
    void Classe(TRecherche& s, TResultatSolveur& r) const;
    void Decrit(TResultatSolveur& r) const;
    TContexteCoup Contexte() const;
    // within the miscue limit, fast enough to move the ball, an inclination the cue takes
    bool Jouable(const TQueueDegres& q) const;
    // judges candidates 0..n−1 of `candidat` on every worker; codes[i] = route code or 0
    void JugeTous(std::int64_t n, const std::function<bool(std::int64_t, TParamQueue&)>& candidat,
                  std::vector<std::uint64_t>& codes);

    TPARAMPHYS fisik_;
    std::array<TVecteur, NbBilles + 1> positions_{};
    TOptionsSolveur options_;

    std::atomic<std::int64_t> faits_{0};
    std::atomic<std::int64_t> prevus_{0};
    std::atomic<int> phase_{0};
    std::atomic<int> nbRoutes_{0};
    std::atomic<std::int64_t> reussis_{0};
    std::atomic<std::int64_t> debutNs_{0};
    std::atomic<bool> arret_{false};
    std::atomic<bool> enCours_{false};
    std::atomic<bool> termine_{true};
    std::thread fond_;
    TResultatSolveur resultat_;
};
