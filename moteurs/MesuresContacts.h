// What a path shows of its contacts, measured on samples alone, the same way on a recording and on
// a computed shot sampled like one: the angles and speeds in and out of a cushion, the object
// ball's direction and speed after a ball-ball hit, and how fast a ball's last roll slows down.
#pragma once

#include <vector>

#include "moteurs/EvenementsCoup.h"

// A cushion hit. Angles in degrees from the cushion's normal: in, 0 to 90; out, positive on the
// side the ball was going (a mirror rebound gives out = in), negative when spin turns it back.
struct TMesureBande {
    bool Valide = false;
    double AngleEntree = 0;
    double AngleSortie = 0;
    double RapportVitesse = 0;  // speed after / speed before
    double PositionRail = 0;    // cm, the centre's coordinate along the cushion at the contact
};
// tPrec, tSuiv: the ball's contacts before and after (the lines are fitted between them)
TMesureBande MesureBande(const std::vector<TEchantillon>& s, const TEvenement& e, double tPrec, double tSuiv);

// A ball hitting one at rest. Cut: degrees between the striker's path and the line of centres at
// the contact (0 full, 90 grazing). Throw: degrees from the line of centres to the object ball's
// path, positive on the side the striker was sliding across it.
struct TMesureBille {
    bool Valide = false;
    double Coupe = 0;
    double Jet = 0;
    double RapportVitesse = 0;  // object ball's speed after / striker's speed before
};
TMesureBille MesureBille(const std::vector<TEchantillon>& frappeur, const std::vector<TEchantillon>& objet,
                         double t, double diametre, double tPrecFrappeur, double tSuivObjet);

// The deceleration (cm/s2) of a ball's last roll: from half a second after its last contact (or
// its start) to its stop, when that lasts a second or more; false otherwise.
bool DecelerationFinale(const std::vector<TEchantillon>& s, double tDernierContact, double& deceleration);

// a computed shot sampled as a tracker would, without noise, on the recording's clock (stroke at
// `frappe` there)
TCoupEnregistre EchantillonneCalcul(const TStockTrajets& stock, double frappe);
