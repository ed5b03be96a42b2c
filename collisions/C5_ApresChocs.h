// Motion plan after a collision: flight, sliding, rolling, pivot or rest, with the constant
// decelerations of each phase and the absolute times at which they end.
#pragma once

#include "collisions/C4_ChocBande.h"

class TVelmoraApresChocs : public TVelmoraChocBande {
public:
    void ApresChoc(TEtatBille& bille, double t) const;
};
