// Ball-cushion collision against the cushion's nose line: restitution, limited friction, the
// cloth bounce it causes, the cushion count, and balls the cushion cannot turn back. A table may
// ask for the stepped model instead (ChocBandeMathavan.h) for balls on the cloth.
#pragma once

#include "collisions/C3_ChocBille.h"

class TVelmoraChocBande : public TVelmoraChocBille {
public:
    void ChocBande(TEtatBille& bille, const TBande& bande) const;

private:
    // the impulse at the nose (today's model)
    void ImpulsionBande(TEtatBille& bille, const TBande& bande) const;
    // the stepped model, for a ball on the cloth moving into the cushion; false otherwise
    bool ChocBandePasAPas(TEtatBille& bille, const TBande& bande) const;
};
