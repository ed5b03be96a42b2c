// One ball's recorded path read between and around its samples: where it was at any instant
// (a ball left unsampled while it rested stays put until just before its next sample), the line
// that its samples of a time window follow, and whether it set off or changed speed at an instant.
#pragma once

#include <vector>

#include "moteurs/CoupEnregistre.h"

struct TPoint2 {
    double x = 0;
    double y = 0;
};

// a gap between two samples longer than this (s) is a rest: the ball had not moved 2 mm
inline constexpr double EcartRepos = 0.1;

// the centre at time t: the first sample before, the last after, at rest through a long gap
TPoint2 PositionTrajet(const std::vector<TEchantillon>& s, double t);

// a centre moving at constant velocity: at (x0, y0) at t0, velocity (vx, vy) cm/s
struct TLigneTemps {
    double t0 = 0;
    double x0 = 0, y0 = 0;
    double vx = 0, vy = 0;
};
// the least-squares line of the samples within [ta, tb]; false with fewer than two instants
bool AjusteLigne(const std::vector<TEchantillon>& s, double ta, double tb, TLigneTemps& l);

// the line of the last few samples before t (within a quarter of a second), or of the first few
// after it; false with fewer than two
bool AjusteLigneAvant(const std::vector<TEchantillon>& s, double t, TLigneTemps& l);
bool AjusteLigneApres(const std::vector<TEchantillon>& s, double t, TLigneTemps& l);

// the ball was at rest just before t and moves just after
bool DemarreVers(const std::vector<TEchantillon>& s, double t);
// how the velocity changed at t (cm/s, after minus before): lines fitted before and after; false
// when one is missing
bool ChangeVitesse(const std::vector<TEchantillon>& s, double t, TPoint2& dv);

// Least squares of a model linear in its n (<= 4) coefficients: the normal equations summed one
// observation at a time, then solved; false when they are singular.
class TMoindresCarres {
public:
    explicit TMoindresCarres(int n) : n_(n < 1 ? 1 : n > 4 ? 4 : n) {}
    void Ajoute(const double* x, double y);
    bool Resout(double* sol);

private:
    int n_;
    double m_[4][5] = {};
};
