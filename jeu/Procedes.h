// Where the tip meets the cue ball, as a player says it: a clock position seen from behind the cue
// (12 h at the top, 3 h on the right) and a distance from the centre in tips ("procédés").
// One tip is a third of the largest offset that does not miscue with this cue on this table, so
// three tips is the miscue limit. The words follow: "haut" (coulé), "bas" (rétro), "effet à
// droite" or "à gauche".
#pragma once

#include <string>

#include "sim/ParamPhys.h"

inline constexpr double ProcedesMax = 3;
// nearer the centre than this (in tips) the tip is "au centre": no clock position
inline constexpr double ProcedesCentre = 0.25;

// The largest tip offset (cm) that does not miscue: the friction cone of the tip (DeportMax2),
// or, with a cue heavy enough, the energy balance of the impact, whichever is smaller; 0 when
// the cue is so heavy that it miscues wherever it strikes.
double DeportSansFausseQueue(const TPARAMPHYS& fisik, double masseQueue);

struct TProcede {
    double Procedes = 0;       // distance from the centre, in tips
    double Heure = 12;         // clock position in (0, 12]
    int HeureRonde = 12;       // the nearest whole hour, 1..12
    bool Centre = true;        // within ProcedesCentre of the centre
    bool FausseQueue = false;  // beyond the limit
    // the plain words: a component counts when it is at least about a third of the offset
    bool Haut = false, Bas = false, Droite = false, Gauche = false;
};

// the tip at (effet, hauteur) (cm, effet positive to the right seen from behind the cue); every
// stroke miscues when deportMax is 0
TProcede Procede(double effet, double hauteur, double deportMax);

struct TEffetHauteur {
    double Effet = 0;
    double Hauteur = 0;
};
// back to the cue's values: the tip at `heure` o'clock, `procedes` tips from the centre
TEffetHauteur EffetHauteur(double heure, double procedes, double deportMax);

// "2 procédés à 3 h (effet à droite)", "1,5 procédé à 12 h (haut : coulé)", "au centre",
// "fausse queue (3,4 procédés)"
std::string TexteProcede(const TProcede& p, char separateur = '.');
// the tip in a few words for a list: "2 procédés à 3 h", "au centre"
std::string TexteProcedeCourt(const TProcede& p, char separateur = '.');
