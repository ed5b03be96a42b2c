// Root of the physics chain: owns the physical constants and applies the ball-cloth impact
// (a ball driven into the cloth or landing on it: restitution, limited friction, no tiny hops).
#pragma once

#include "sim/C1_Types.h"

class TVelmoraChocTapis {
public:
    TVelmoraChocTapis() = default;
    TVelmoraChocTapis(const TVelmoraChocTapis&) = delete;
    TVelmoraChocTapis& operator=(const TVelmoraChocTapis&) = delete;

    // the physical constants every layer reads (created with factory values); the owner sets them
    // between shots through their bounding routine, the collision routines read them only (const)
    TPARAMPHYS Fisik;

    // the ball presses into the cloth: centre below R + 0.001 and moving down
    bool TestChocTapis(const TEtatBille& bille) const;
    // applies the impact; the second party takes no part (collision routine shape), pass nullptr
    void ChocTapis(TEtatBille& bille, const void* autre = nullptr) const;

protected:
    // The impact of a fixed surface (the cloth, a cushion's nose): impulse j per unit mass along its
    // normal n, and friction mu against the slip u of the contact point, which stops the slip when
    // it can and otherwise acts at its limit. Sets IndGlissement, Vitesse and Rotation.
    void ImpactSurface(TEtatBille& bille, const TVecteur& n, const TVecteur& u, double j, double mu) const;
};
