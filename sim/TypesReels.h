// Precision of the intermediate arithmetic of the physics.
// Double by default; configure with -DVELMORA_PRECISION_ETENDUE to compute in 80-bit long double
// (used to check that both give the same shots).
#pragma once

#ifdef VELMORA_PRECISION_ETENDUE
using TEtendu = long double;
#else
using TEtendu = double;
#endif
