// Fitting the cue of a recorded shot: the aim, speed, side, height (and, on request, inclination)
// whose computed path best matches the recording. The score jumps where a ball is hit or missed,
// so a scan around what the first samples tell (direction, speed, instant of the stroke) picks the
// starts of a local derivative-free search (NLopt). Deterministic: the same recording and
// constants give the same cue on any machine and thread.
#pragma once

#include <array>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "moteurs/CoupEnregistre.h"
#include "moteurs/EvenementsCoup.h"
#include "sim/C8_BillardVelmora.h"

enum TParamAjuste : int { paVisee, paVitesse, paEffet, paHauteur, paInclinaison };
inline constexpr int NbParamsAjustes = 5;

// root mean square distances (cm) between the recorded samples and the computed centres
struct TScoreCoup {
    double Bille1 = 0;
    double Toutes = 0;
};

// the scores of a computed shot against a recording whose stroke came at `frappe` on its clock
TScoreCoup ScoreStock(const TStockTrajets& stock, const TCoupEnregistre& coup, double frappe);
// per sample of ball 1: its time on the recording's clock and its distance to the computed centre
std::vector<std::array<double, 2>> EcartsBille1(const TStockTrajets& stock, const TCoupEnregistre& coup,
                                                double frappe);

struct TOptionsAjustement {
    std::array<bool, NbParamsAjustes> Libres{true, true, true, true, false};
    bool ScoreToutes = false;  // fit all balls instead of ball 1
    bool Route = true;         // the recorded route first (see EvenementsCoup.h), then the distance
    double MasseQueue = 520;
    int NbDeparts = 20;      // local searches from the best distinct cells of the scan
    int EvalsLocales = 200;  // shots per local search
};

struct TResultatAjustement {
    TParamQueue Queue;
    double Frappe = 0;  // instant of the cue impact on the recording's clock (s)
    TScoreCoup Score;
    // the recorded contacts the fitted shot does not play in order (ball 1's, or every ball's
    // when all balls are scored), and how many there were
    int ContactsManques = 0;
    int NbContacts = 0;
    long NbCoups = 0;  // shots computed
    double Secondes = 0;
    bool Interrompu = false;
};

// what the first samples of ball 1 tell: direction, ball speed, instant it started
struct TEstimationDepart {
    double Visee = 0;       // rad
    double Vitesse = 0;     // cm/s of the ball
    double Frappe = 0;      // s, recording clock
    double X0 = 0, Y0 = 0;  // where it started, the noise across its path taken out
    bool Fiable = false;    // enough moving samples to trust the three
};
// (tContact: ball 1's first contact, when known; no sample from then on counts)
TEstimationDepart EstimeDepart(const TCoupEnregistre& coup, double tContact = HUGE_VAL);

class TAjustementCoup {
public:
    // the balls where the recording starts them, on the cloth, at rest; the constants as given
    // (their photo clock refined so that the linear interpolation stays close to the path)
    TAjustementCoup(const TPARAMPHYS& fisik, const TCoupEnregistre& coup);

    // plays one cue with its stroke at `frappe` and scores it
    TScoreCoup Joue(const TParamQueue& queue, double frappe);
    // One cue played, its stroke placed where the first samples of ball 1 put it (the recorded
    // start of its path; neither the later path nor the speed moves it), scored, and the recorded
    // contacts it misses counted.
    struct TEssai {
        TScoreCoup Score;
        double Frappe = 0;
        int Manques = 0;
    };
    TEssai JoueCale(const TParamQueue& queue, bool toutesBilles);
    // the recording's contacts, found once
    const TEvenementsCoup& Evenements() const { return evenements_; }
    // the contacts of the shot last played, on the recording's clock (stroke at `frappe`)
    TEvenementsCoup EvenementsCalcules(double frappe) const { return suivi_.Decale(frappe); }
    // the shot last played
    const TBillardVelmora& Simu() const { return *simu_; }
    const TCoupEnregistre& Coup() const { return coup_; }
    long NbCoups() const { return nbCoups_; }

    // the whole fit; `arret` (any thread) stops it with the best cue so far; `progression` gets
    // the share done, 0..1, now and then
    TResultatAjustement Ajuste(const TOptionsAjustement& options, const std::atomic<bool>* arret = nullptr,
                               const std::function<void(double)>& progression = {});
    // a local search only, from a cue already close (the calibration's trials)
    TResultatAjustement Affine(const TResultatAjustement& depart, const TOptionsAjustement& options,
                               int evals);

    // the state of one search (inside the engine)
    struct TRecherche;
    // the cue of a search point (aim, ball speed, side, height, inclination, stroke)
    TParamQueue QueuePoint(const double* point, double masse);

private:
    // ball speed per unit of cue speed for this tip offset (0 for a miscue)
    double Transmission(double effet, double hauteur);
    double Transmission(double effet, double hauteur, double masse);
    void Local(TRecherche& r, const std::array<double, NbParamsAjustes + 1>& depart, int evals,
               double pas = 1);
    // local searches from each start, then from the best point while that helps
    void Descend(TRecherche& r, const std::vector<std::array<double, NbParamsAjustes + 1>>& departs);

    // the stroke that puts the shot last played on the first samples of ball 1
    double FrappeCalee() const;

    std::unique_ptr<TBillardVelmora> simu_;
    TCoupEnregistre coup_;
    long nbCoups_ = 0;
    TEvenementsCoup evenements_;
    TSuiviEvenements suivi_;
    // ball 1's samples along its first straight path, and where the stroke may be on their clock
    std::vector<TEchantillon> premiers_;
    double frappeMin_ = 0, frappeMax_ = 0;
    TEstimationDepart est_;
};
