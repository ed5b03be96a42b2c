#include "moteurs/TrajetEnregistre.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// the tracker's period (s): a ball leaving its rest is seen one period after it moved
constexpr double kPeriode = 0.02;

}  // namespace

TPoint2 PositionTrajet(const std::vector<TEchantillon>& s, double t) {
    if (s.empty()) return {};
    if (t <= s.front().t) return {s.front().x, s.front().y};
    if (t >= s.back().t) return {s.back().x, s.back().y};
    const auto it =
        std::upper_bound(s.begin(), s.end(), t, [](double v, const TEchantillon& e) { return v < e.t; });
    const TEchantillon& a = *(it - 1);
    const TEchantillon& b = *it;
    double debut = a.t;
    // a rest: the ball set off one period before it was seen again
    if (b.t - a.t > EcartRepos) debut = b.t - kPeriode;
    if (t <= debut) return {a.x, a.y};
    const double f = b.t > debut ? (t - debut) / (b.t - debut) : 1.0;
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

bool AjusteLigne(const std::vector<TEchantillon>& s, double ta, double tb, TLigneTemps& l) {
    const auto debut =
        std::lower_bound(s.begin(), s.end(), ta, [](const TEchantillon& e, double v) { return e.t < v; });
    double n = 0, st = 0, sx = 0, sy = 0;
    for (auto it = debut; it != s.end() && it->t <= tb; ++it) {
        n += 1;
        st += it->t;
        sx += it->x;
        sy += it->y;
    }
    if (n < 2) return false;
    const double tm = st / n, xm = sx / n, ym = sy / n;
    double stt = 0, stx = 0, sty = 0;
    for (auto it = debut; it != s.end() && it->t <= tb; ++it) {
        const double u = it->t - tm;
        stt += u * u;
        stx += u * (it->x - xm);
        sty += u * (it->y - ym);
    }
    if (stt < 1e-12) return false;
    l = {tm, xm, ym, stx / stt, sty / stt};
    return true;
}

namespace {

// the samples a line before or after an instant is fitted to
constexpr int kNbLigne = 4;
constexpr double kDureeLigne = 0.25;

}  // namespace

bool AjusteLigneAvant(const std::vector<TEchantillon>& s, double t, TLigneTemps& l) {
    auto fin =
        std::lower_bound(s.begin(), s.end(), t, [](const TEchantillon& e, double v) { return e.t < v; });
    if (fin - s.begin() < 2) return false;
    auto debut = fin - std::min<std::ptrdiff_t>(kNbLigne, fin - s.begin());
    while (debut->t < t - kDureeLigne) ++debut;
    return fin - debut >= 2 && AjusteLigne(s, debut->t, (fin - 1)->t, l);
}

bool AjusteLigneApres(const std::vector<TEchantillon>& s, double t, TLigneTemps& l) {
    auto debut =
        std::upper_bound(s.begin(), s.end(), t, [](double v, const TEchantillon& e) { return v < e.t; });
    if (s.end() - debut < 2) return false;
    auto fin = debut + std::min<std::ptrdiff_t>(kNbLigne, s.end() - debut);
    while ((fin - 1)->t > t + kDureeLigne) --fin;
    return fin - debut >= 2 && AjusteLigne(s, debut->t, (fin - 1)->t, l);
}

bool DemarreVers(const std::vector<TEchantillon>& s, double t) {
    const TPoint2 a = PositionTrajet(s, t - 0.1), b = PositionTrajet(s, t - kPeriode);
    const TPoint2 c = PositionTrajet(s, t + 0.1);
    return std::hypot(b.x - a.x, b.y - a.y) < 0.4 && std::hypot(c.x - b.x, c.y - b.y) > 1.0;
}

bool ChangeVitesse(const std::vector<TEchantillon>& s, double t, TPoint2& dv) {
    TLigneTemps avant, apres;
    if (!AjusteLigneAvant(s, t - 0.005, avant) || !AjusteLigneApres(s, t + 0.005, apres)) return false;
    dv = {apres.vx - avant.vx, apres.vy - avant.vy};
    return true;
}

void TMoindresCarres::Ajoute(const double* x, double y) {
    for (int r = 0; r < n_; ++r) {
        for (int q = 0; q < n_; ++q) m_[r][q] += x[r] * x[q];
        m_[r][n_] += x[r] * y;
    }
}

bool TMoindresCarres::Resout(double* sol) {
    // Gaussian elimination with partial pivoting, on a copy (more observations may follow)
    double m[4][5] = {};
    for (int r = 0; r < n_; ++r)
        for (int q = 0; q <= n_; ++q) m[r][q] = m_[r][q];
    for (int c = 0; c < n_; ++c) {
        int p = c;
        for (int r = c + 1; r < n_; ++r)
            if (std::abs(m[r][c]) > std::abs(m[p][c])) p = r;
        if (std::abs(m[p][c]) < 1e-12) return false;
        if (p != c)
            for (int q = 0; q <= n_; ++q) std::swap(m[p][q], m[c][q]);
        for (int r = c + 1; r < n_; ++r) {
            const double f = m[r][c] / m[c][c];
            for (int q = c; q <= n_; ++q) m[r][q] -= f * m[c][q];
        }
    }
    for (int r = n_ - 1; r >= 0; --r) {
        double v = m[r][n_];
        for (int q = r + 1; q < n_; ++q) v -= m[r][q] * sol[q];
        sol[r] = v / m[r][r];
    }
    return true;
}
