// The simulation object: turns the cue parameters into the player's ball's launch, computes the
// whole shot as photos and judges the point. Its files are read and written elsewhere
// (jeu/FichiersPosition.h).
// A computation allocates nothing and uses no global state: objects may run side by side.
#pragma once

#include "sim/C7_Mouvements.h"
#include "sim/RepitDetection.h"

// the cue parameters, as one value (the trajectory memory and the difficulty trials copy them)
struct TParamQueue {
    double VitesseQueue = 0;  // cm/s
    double MasseQueue = 520;  // g
    double Effet = 0;         // cm, positive to the player's right
    double Hauteur = 0;       // cm, positive above the centre
    double AngleOx = 0;       // rad, from +x, counter-clockwise seen from above
    double AngleTapis = 0;    // rad, downward inclination of the cue

    friend bool operator==(const TParamQueue&, const TParamQueue&) = default;
};

class TBillardVelmora : public TVelmoraMouvements, public TStockTrajets {
public:
    TBillardVelmora() = default;

    TModeDeJeu ModeDeJeu = j3Bandes;
    TNotifyEvent ApresQueueBille;     // fired at the end of every ImpactQueue, miscue included
    TNotifyEvent ApresCalculTrajets;  // for owners; CalculTrajets does not fire it

    bool PointReussi = false;
    bool FausseQueue = false;
    // passes of the last computation's loop (for measurements)
    long NbPasses = 0;

    double VitesseQueue = 0;
    double MasseQueue = 520;
    double Effet = 0;
    double Hauteur = 0;
    double AngleOx = 0;
    double AngleTapis = 0;

    TParamQueue ParamQueue() const;
    void SetParamQueue(const TParamQueue& p);

    // ball 1's velocity and rotation at photo 0 from the cue parameters, or a miscue
    void ImpactQueue();
    // the shot from photo 0 of the three balls: photos 1..NbPhotos and PointReussi
    void CalculTrajets();
    void Joue();
    // the same loop watched by `suivi`, which may end it early (see sim/C8_BoucleTrajets.h)
    template <class TSuivi>
    void CalculTrajetsSuivi(TSuivi& suivi);
    // working record of ball b (1..3) during or after a computation, for watchers
    const TEtatBille& Etat(int b) const { return etats_[b]; }
    // records one photo of the three working records
    void AjoutePhoto(TTypeChoc genre, double t);

    // validation hooks, one per game mode
    void Valide3Bandes(TEtatBille& bille);
    void Valide1Bande(TEtatBille& bille);
    void ValideLibre(TEtatBille& bille);

private:
    // working records of the computation, balls 1..3 (slot 0 unused)
    std::array<TEtatBille, NbBilles + 1> etats_{};

    // The stages of the shot loop (sim/C8_BoucleTrajets.h). TBoucle holds what a computation
    // carries from pass to pass besides the forecast and the working records.
    struct TBoucle;
    // photo 0 into the working records, each ball with its motion plan; the loop's constants
    inline void PrepareTrajets(TBoucle& c, TChocPrevu& E);
    // the step: no ball travels more than one diameter in a straight line
    inline double BornePas(const TBoucle& c) const;
    // the earliest contact within the step dt, into E
    inline void Prevoit(TBoucle& c, TChocPrevu& E, const TBornesRepit& bornes, double dt);
    // the balls in play moved on by pas, and the shot time with them
    inline void AvanceTout(TBoucle& c, double pas);
    // the forecast collision applied, then the motion plans of the balls it involved
    inline void AppliqueContact(TBoucle& c, TChocPrevu& E);
    // a photo, or only its count when the watcher needs none
    template <bool Copie>
    void Photo(TTypeChoc genre, double t);
    // the waiting clock photo (one at most per step) taken, or dropped when its step overshot a
    // contact; true when it fills the store
    template <bool Copie>
    bool PhotoDue(TBoucle& c, bool depassee);
    // every ball at rest or out of the table
    inline bool ToutArrete() const;
};
