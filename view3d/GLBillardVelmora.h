// The 3D billiard bound to the simulation: copies the cue and the balls into it (singles to
// doubles) and back, plays shots, draws trajectories and velocity/rotation vectors, measures the
// aimed and the achieved thickness, and reads and writes position files (jeu/FichiersPosition.h),
// applying their view section to its cameras. Ball 1 of the simulation is BilleJoueur, ball 2
// BilleNonJoueur, ball 3 Rouge.
#pragma once

#include <memory>
#include <string>

#include "jeu/DescriptionCoup.h"
#include "jeu/Epaisseurs.h"
#include "jeu/FichiersPosition.h"
#include "sim/C8_BillardVelmora.h"
#include "view3d/GLBillardQueue.h"

class TEtiquettesDiamants;

// The position a result was computed for: the balls (the simulation's order), which coloured ball
// is the player's, the table and the rule. Two states are the same position when everything is
// equal and the balls lie within a tenth of a millimetre.
struct TEtatPosition {
    std::array<TCentreBille, 3> Billes{};
    bool JoueurJaune = false;
    TPARAMPHYS Fisik;
    TModeDeJeu Mode = j3Bandes;
    bool Meme(const TEtatPosition& autre) const;
};

class TGLBillardVelmora : public TGLBillardQueue {
public:
    TGLBillardVelmora(TScene& scene, TVue& vueTable, TVue& vueQueue);
    ~TGLBillardVelmora() override;

    float RayonBille = 0;
    float DiametreBille = 0;
    std::unique_ptr<TBillardVelmora> Simu;

    void SetRayonBilles(float r);

    // cue and photo 0 positions into the simulation
    void QueueVersSimu();
    void BillesVersSimu();
    void VersSimu();
    // the current centres into photo k (nothing unless 0 <= k <= NbPhotos)
    void BillesVersPhoto(int k);
    // zero velocities and rotations at photo 0
    void AnnuleVR0();
    // the simulation's cue values and photo 0 into the models, with events and constraints
    void SimuVersQueue();
    // the cue takes these values through its setters (limits, events)
    void PrendQueue(const TQueueDegres& q);
    void SimuVersBilles();
    void DepuisSimu();

    // fires the cue at the current position, then redraws the shown trajectories
    void JoueCoup();
    // from photo k (copied into photo 0 unless k is 0) without a cue impact
    void JoueALaMain(int k);
    // the OnDessineTrajet handler: every photo of the ball's series
    void TraceTrajetComplet(TGLBilles& bille, TLignes& ligne);
    // photo 0, every collision, and every n-th photo (n = 0 keeps all); visibility unchanged
    void TraceTrajet(TGLBilles& bille, TLignes& ligne, int n);
    // the balls at photo k (photos outside the store are ignored)
    void AffichePhoto(int k, bool silencieux);
    void DessineVR(int k);
    // during an animation at photo k: each shown trajectory splits at the ball, the path already
    // travelled dashed behind it; FinParcours gives the whole lines back
    void MontreParcours(int k);
    void FinParcours();
    void SetVRVisible(bool b);
    void EchelleVR(float f);

    // the photo of the last shot the balls stand at (shown by AffichePhoto, or photo 0 where the
    // shot started), or −1 when they stand where the user put them since: the last shot's
    // outcome is still the one on the table
    int PhotoMontree() const;
    // the position as it stands: the next shot starts from there
    TEtatPosition EtatPosition() const;

    // the diamonds of the last shot's cushion contacts written on the rails (a display option:
    // ball 1's, or every ball's), redrawn after each shot and turned to the camera in use
    std::unique_ptr<TEtiquettesDiamants> Diamants;
    bool DiamantsVisibles = false;
    bool DiamantsToutesBilles = false;
    char SeparateurDiamants = '.';
    void MajDiamants();

    // thickness the current aim would give, 0 when no ball is in front of the cue; and which ball
    // (the simulation's number, 0 for none)
    double QuantiteVisee() const;
    TBilleEpaisseur BilleVisee() const;
    // thickness of the first ball-ball contact of the last shot, 0 without one; and which ball
    double QuantiteTouchee() const;
    TBilleEpaisseur BilleTouchee() const;
    // signed fraction of the object ball covered, from the offset of its centre
    double Epaisseur(double x) const;
    // what the words of a stroke need (jeu/DescriptionCoup.h): the balls as they stand, in the
    // simulation's order, the other cue ball's name, the table and the cue's miscue limit
    TContexteCoup ContexteCoup() const;
    // the current stroke in a player's words: what the aim meets, tip, speed (locale separator
    // given)
    std::string TexteCoupActuel(char separateur) const;
    // a tip height of the horizontal frame as measured in a cue inclined by alpha radians
    double ConvertitHauteur(double h, double e, double alpha) const;

    // the view as a position file keeps it (current camera, its target, the parameter file)
    TSectionGLBillard SectionVue() const;
    // the file's camera: the mobile or the ceiling one, its keys over the present placement
    void AppliqueVue(const TSectionGLBillard& vue);

    // Position file with the "GLBillard" view section. False with the reason when it cannot be
    // written; the file is then as it was.
    bool SauveFichier(const std::string& nom, std::string* erreur = nullptr);
    // Opens a position file as the game reads it (jeu/PositionJeu.h), over the present cue and
    // simulation; the cue, the balls and the simulation then hold what it read, and the cameras
    // take its view. False with the reason when the file cannot be read or has neither a [Queue]
    // nor a [Positions] section: nothing changes then. True with a non-empty *erreur when the
    // position loaded but its parameter file could not be read.
    bool ChargeFichier(const std::string& nom, std::string* erreur = nullptr);
    // the tab-separated export of every photo, with the given decimal separator
    bool ExportePVR(const std::string& nom, char separateur, std::string* erreur = nullptr) const;

private:
    // simulation number of a ball: 1 player's, 2 other cue ball, 3 red
    int NumeroSimu(const TGLBilles& b) const;
    void RetraceVisibles();

    int photoAffichee_ = -1;
    bool affichageEnCours_ = false;
};
