// The cue as the player sets it, in one form for the 3D cue, the cue window, the analyses and the
// command line: singles, angles in degrees. Its limits and its conversions to and from the
// simulation's values (doubles, radians) live here and nowhere else.
#pragma once

#include <numbers>

#include "sim/C8_BillardVelmora.h"

// limits: speed at least 0, mass at least 1 (lower values are raised); an inclination outside
// [0, 90) is refused (the value in force stays)
inline constexpr float VitesseQueueMin = 0;
inline constexpr float MasseQueueMin = 1;
inline constexpr float InclinaisonQueueMax = 90;  // excluded

struct TQueueDegres {
    float Effet = 0;        // cm, positive to the player's right, in the inclined cue's frame
    float Hauteur = 0;      // cm, positive above the centre, in the same frame
    float Visee = 0;        // degrees from +x, counter-clockwise seen from above
    float Vitesse = 0;      // cm/s
    float Inclinaison = 0;  // degrees, the butt raised above the cloth
    float Masse = 520;      // g

    // the setters that have limits: a speed or mass below its floor is raised to it; an
    // inclination outside [0, 90) is refused (false) and the one in force stays
    void SetVitesse(float v) { Vitesse = v < VitesseQueueMin ? VitesseQueueMin : v; }
    void SetMasse(float m) { Masse = m < MasseQueueMin ? MasseQueueMin : m; }
    bool SetInclinaison(float degres);
    // the values in the order of the fields above, 0 (Effet) to 5 (Masse): the rows of the
    // difficulty grid and of a ".bul" record
    float Valeur(int rang) const;

    friend bool operator==(const TQueueDegres&, const TQueueDegres&) = default;
};

bool InclinaisonAdmise(float degres);

// the opening shot of three-cushion play, as the program starts
TQueueDegres QueueDepart();

// degrees (single or double) to the simulation's radians
inline double EnRadians(double degres) {
    return degres * (std::numbers::pi / 180);
}
// radians to degrees, kept as a double
inline double EnDegres(double radians) {
    return radians * (180 / std::numbers::pi);
}

// the simulation's fields from the cue: every value widened exactly, the angles in radians
TParamQueue ParamSimu(const TQueueDegres& q);
// the cue values of the simulation's fields, each rounded to a single (angles in degrees), no limit
TQueueDegres QueueDegres(const TParamQueue& p);
// what the cue holds once it takes the simulation's fields from `avant`: rounded to singles, then
// through its limits (an inclination it refuses leaves that of `avant`)
TQueueDegres QueuePrise(const TParamQueue& p, const TQueueDegres& avant);

// A tip height h measured in the horizontal frame, as measured in a cue inclined by alpha radians
// (the side offset e and the ball radius give the circle the tip lies on); h itself when alpha is 0.
// Position files without [GLBillard] Hrelatif stored heights the first way.
double ConvertitHauteur(double h, double e, double alpha, double rayonBille);
