// Ball-ball collision: normal impulse with restitution and a limited friction impulse at the
// contact; keeps which balls the player's ball touched and fires the second-ball hook.
#pragma once

#include "collisions/C2_ChocTapis.h"

class TVelmoraChocBille : public TVelmoraChocTapis {
public:
    // A and B in contact (centres 2R apart); A is the lower-numbered ball
    void ChocBilles(TEtatBille& A, TEtatBille& B) const;
};
