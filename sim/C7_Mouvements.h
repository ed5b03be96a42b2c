// Motion between events: closed-form flight, sliding, rolling and vertical-spin decay,
// switching phase exactly at the end times set after the last collision.
#pragma once

#include "collisions/C6_DetecteChocs.h"

class TVelmoraMouvements : public TVelmoraDetecteChocs {
public:
    // advances the ball in place from shot time t over dt (dt may be zero or slightly negative)
    void Avance(TEtatBille& bille, double t, double dt) const;
};
