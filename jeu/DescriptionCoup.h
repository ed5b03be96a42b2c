// A stroke in a player's words: where to aim (the first ball and its thickness, or the diamond of
// the cushion the cue ball meets first), the tip in tips and clock position, the speed on the
// scale; "Jaune 1/2 bille à gauche, effet 2 procédés à 3 h, vitesse 6/10". The cue window, the
// solver's routes, the memory rows and the command line all describe a stroke through here.
#pragma once

#include <array>
#include <string>

#include "jeu/Procedes.h"
#include "jeu/Queue.h"
#include "jeu/TableJeu.h"

// what the words need besides the cue: the balls in the simulation's order (ball 1 the player's)
// and the table
struct TContexteCoup {
    std::array<TCentreBille, 3> Billes{};
    std::string NomBille2 = "Jaune";   // the other cue ball's name
    double Largeur = LargeurTableJeu;  // playing width
    float Rayon = RayonBilleJeu;
    // the largest tip offset without a miscue; the factory table's with the usual cue by default
    double DeportMax = DeportSansFausseQueue(TPARAMPHYS(), 520);
};

// the first thing the aim line meets from ball 1: a ball (2 or 3, with the thickness) or else a
// cushion and the diamond where the ball's centre would reach it
struct TCibleVisee {
    int Bille = 0;
    double Epaisseur = 0;
    int Bande = 0;
    double Diamant = 0;
};
TCibleVisee CibleVisee(float visee, const TContexteCoup& c);

// the context of a simulation's shot: its photo 0, its table, its cue's miscue limit
TContexteCoup ContexteDe(const TBillardVelmora& simu, const std::string& nomBille2 = "Jaune");

// the thickness the aim gives on ball `bille` (2 or 3), 0 when the line misses it
double EpaisseurSurBille(float visee, const TContexteCoup& c, int bille);

// "Rouge", the other cue ball's name, or "" (balls 3 and 2)
std::string NomBille(int bille, const TContexteCoup& c);
// The aim relative to the first ball (2 or 3; 0: whatever the aim line meets first):
// "Jaune 1/2 bille à gauche"; "Rouge : visée 4,2° à droite de la bille" when the line misses it;
// "bricole : longue droite 2,5" (a cushion first)
std::string TexteVisee(float visee, const TContexteCoup& c, int premiereBille, char separateur = '.');
// "effet 2 procédés à 3 h", "frappe au centre", "fausse queue (3,4 procédés)"
std::string TexteEffet(const TQueueDegres& q, const TContexteCoup& c, char separateur = '.');
// the whole stroke: aim, tip, "vitesse 6/10"
std::string TexteCoup(const TQueueDegres& q, const TContexteCoup& c, int premiereBille,
                      char separateur = '.');
