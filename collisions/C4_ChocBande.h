// Ball-cushion collision against the cushion's nose line: restitution, limited friction, the
// cloth bounce it causes, the cushion count, and balls the cushion cannot turn back.
#pragma once

#include "collisions/C3_ChocBille.h"

class TVelmoraChocBande : public TVelmoraChocBille {
public:
    void ChocBande(TEtatBille& bille, const TBande& bande) const;
};
