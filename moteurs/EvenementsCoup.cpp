#include "moteurs/EvenementsCoup.h"

#include <algorithm>
#include <cmath>

#include "moteurs/TrajetEnregistre.h"

namespace {

// a sample this close to a cushion line (cm) may be the nearest to a contact (a fast ball turns
// several centimetres away from its samples)
constexpr double kTolBande = 8.0;
// the apex of the turn this close to the cushion line (cm): the tracking puts the cushions within
// about a centimetre
constexpr double kTolSommet = 1.5;
// the samples fitted on each side of a cushion hit: within this (s), and until the ball has moved
// this far along the normal (cm)
constexpr double kFenetreMax = 0.3;
constexpr double kEcartNormal = 1.5;
// the speed towards and away from the cushion (cm/s) that tells a turn from a roll along it
constexpr double kVitesseBande = 3.0;
// two centres this much beyond a diameter (cm) may have touched
constexpr double kTolBille = 1.5;
// two moving balls' lines this much beyond a diameter (cm) may have touched: the lines of both
// carry the noise, and two balls passing close by have no contact to show
constexpr double kTolMouvement = 0.6;
// a change of velocity (cm/s) that a ball passing by does not show
constexpr double kChangeBille = 15.0;
// one contact seen twice within this (s) is one
constexpr double kDoublon = 0.15;

double Carre(double v) { return v * v; }

// distance of a centre to the line of cushion c's centres, positive inside the table
double DistanceBande(int c, const TEchantillon& e, const TGeometrieTable& g) {
    switch (c) {
        case 1:
            return g.DemiLargeur - e.x;
        case 2:
            return g.DemiLongueur - e.y;
        case 3:
            return g.DemiLargeur + e.x;
        default:
            return g.DemiLongueur + e.y;
    }
}

// the samples of the fit on one side of sample j: at least three, more while the ball has not
// moved far enough along the normal to tell its direction from the noise
std::size_t Borne(const std::vector<TEchantillon>& s, std::size_t j, int c, const TGeometrieTable& g,
                  int sens) {
    const double dj = DistanceBande(c, s[j], g);
    std::size_t i = j, n = 0;
    for (;;) {
        const std::size_t k = sens < 0 ? i - 1 : i + 1;
        if ((sens < 0 && i == 0) || (sens > 0 && k >= s.size()) || std::abs(s[k].t - s[j].t) > kFenetreMax)
            break;
        if (n >= 3 && std::abs(DistanceBande(c, s[i], g) - dj) > kEcartNormal) break;
        if (++n > 10) break;
        i = k;
    }
    return i;
}

// Two lines meeting at t* fitted to the distance to a cushion around sample j (a V whose apex is
// the contact); false when the samples do not show a turn back from the cushion line.
bool Sommet(const std::vector<TEchantillon>& s, std::size_t j, int c, const TGeometrieTable& g,
            double& tContact) {
    const std::size_t i0 = Borne(s, j, c, g, -1), i1 = Borne(s, j, c, g, 1);
    if (i0 == j || i1 == j || i1 - i0 < 3) return false;
    // the way out bends while the ball slides off the cushion: a parabola when samples allow
    const int n = i1 - j >= 3 ? 4 : 3;
    double meilleur = HUGE_VAL;
    const double ta = s[j - 1].t, tb = s[j + 1].t;
    const auto termes = [](double u, double* x) {
        x[0] = 1;
        x[1] = std::min(u, 0.0);
        x[2] = std::max(u, 0.0);
        x[3] = x[2] * x[2];
    };
    for (int k = 0; k <= 40; ++k) {
        const double ts = ta + (tb - ta) * k / 40.0;
        TMoindresCarres mc(n);
        double x[4];
        for (std::size_t i = i0; i <= i1; ++i) {
            termes(s[i].t - ts, x);
            mc.Ajoute(x, DistanceBande(c, s[i], g));
        }
        double sol[4] = {};
        if (!mc.Resout(sol)) continue;
        // the apex on the cushion line, coming in and going out
        if (std::abs(sol[0]) > kTolSommet || sol[1] > -kVitesseBande || sol[2] < kVitesseBande) continue;
        double residu = 0;
        for (std::size_t i = i0; i <= i1; ++i) {
            termes(s[i].t - ts, x);
            double m = 0;
            for (int q = 0; q < n; ++q) m += sol[q] * x[q];
            residu += Carre(m - DistanceBande(c, s[i], g));
        }
        if (residu < meilleur) {
            meilleur = residu;
            tContact = ts;
        }
    }
    return meilleur < HUGE_VAL;
}

void DetecteBandes(const TCoupEnregistre& coup, int b, const TGeometrieTable& g,
                   std::vector<TEvenement>& sortie) {
    const auto& s = coup.Billes[b];
    for (int c = 1; c <= 4; ++c) {
        const std::size_t avant = sortie.size();
        for (std::size_t j = 1; j + 1 < s.size(); ++j) {
            // the samples nearest the cushion, each low point of the distance to it
            const double d = DistanceBande(c, s[j], g);
            if (d > kTolBande || d > DistanceBande(c, s[j - 1], g) || d > DistanceBande(c, s[j + 1], g))
                continue;
            double t = 0;
            if (!Sommet(s, j, c, g, t)) continue;
            if (sortie.size() > avant && t - sortie.back().t < kDoublon) continue;
            const TPoint2 p = PositionTrajet(s, t);
            TEvenement e{geBande, c, t, p.x, p.y};
            if (c == 1) e.x = g.DemiLargeur;
            if (c == 3) e.x = -g.DemiLargeur;
            if (c == 2) e.y = g.DemiLongueur;
            if (c == 4) e.y = -g.DemiLongueur;
            sortie.push_back(e);
        }
    }
}

// The instant two balls' lines fitted before t (the second one at rest at `repos` when `b` is
// null) bring their centres a diameter apart; false when a line is missing or they pass wider
// than the tolerance. `ecart`: their nearest approach.
bool Rencontre(const std::vector<TEchantillon>& a, const std::vector<TEchantillon>* b, const TPoint2& repos,
               double t, double diametre, double tolerance, double& tContact, double& ecart) {
    TLigneTemps la, lb;
    lb.t0 = t;
    lb.x0 = repos.x;
    lb.y0 = repos.y;
    if (!AjusteLigneAvant(a, t - 0.005, la)) return false;
    if (b && !AjusteLigneAvant(*b, t - 0.005, lb)) return false;
    // relative motion from t: p + v u, |p + v u| = diametre at the earlier root
    const double px = la.x0 + la.vx * (t - la.t0) - (lb.x0 + lb.vx * (t - lb.t0));
    const double py = la.y0 + la.vy * (t - la.t0) - (lb.y0 + lb.vy * (t - lb.t0));
    const double vx = la.vx - lb.vx, vy = la.vy - lb.vy;
    const double a2 = vx * vx + vy * vy, pv = px * vx + py * vy;
    if (a2 < 1e-6) return false;
    const double uMin = -pv / a2;
    ecart = std::hypot(px + vx * uMin, py + vy * uMin);
    if (ecart > diametre + tolerance) return false;
    const double disc = pv * pv - a2 * (px * px + py * py - diametre * diametre);
    tContact = t + (disc > 0 ? (-pv - std::sqrt(disc)) / a2 : uMin);
    return true;
}

// The balls set moving from rest: the one whose line before reaches them is the one that hit them.
void DetecteDeparts(const TCoupEnregistre& coup, int b, const TGeometrieTable& g, TEvenementsCoup& sortie) {
    const auto& s = coup.Billes[b];
    // ball 1's first start is the stroke
    for (std::size_t j = (b == 1 ? 2 : 1); j < s.size(); ++j) {
        const bool repos = s[j].t - s[j - 1].t > EcartRepos || j == 1;
        if (!repos || std::hypot(s[j].x - s[j - 1].x, s[j].y - s[j - 1].y) < 0.5) continue;
        const TPoint2 p{s[j - 1].x, s[j - 1].y};
        int frappeur = 0;
        double tContact = 0, meilleur = HUGE_VAL;
        for (int a = 1; a <= NbBilles; ++a) {
            double t = 0, ecart = 0;
            if (a == b || !Rencontre(coup.Billes[a], nullptr, p, s[j].t, g.Diametre, kTolBille, t, ecart))
                continue;
            if (t < s[j].t - 0.1 || t > s[j].t + 0.005 || ecart >= meilleur) continue;
            meilleur = ecart;
            frappeur = a;
            tContact = t;
        }
        if (frappeur == 0) continue;
        const TPoint2 q = PositionTrajet(coup.Billes[frappeur], tContact);
        sortie[b].push_back({geBille, frappeur, tContact, p.x, p.y});
        sortie[frappeur].push_back({geBille, b, tContact, q.x, q.y});
    }
}

// Two moving balls whose distance has a low point within a diameter and a little while one of
// them changes its velocity there.
void DetecteChocsEnMouvement(const TCoupEnregistre& coup, int a, int b, const TGeometrieTable& g,
                             TEvenementsCoup& sortie) {
    const auto& sa = coup.Billes[a];
    const auto& sb = coup.Billes[b];
    std::vector<double> temps;
    for (const auto* s : {&sa, &sb})
        for (const TEchantillon& e : *s) temps.push_back(e.t);
    std::sort(temps.begin(), temps.end());
    temps.erase(std::unique(temps.begin(), temps.end()), temps.end());
    const auto distance = [&](double t) {
        const TPoint2 p = PositionTrajet(sa, t), q = PositionTrajet(sb, t);
        return std::hypot(p.x - q.x, p.y - q.y);
    };
    double dernier = -HUGE_VAL;
    for (std::size_t k = 1; k + 1 < temps.size(); ++k) {
        const double tk = temps[k], d = distance(tk);
        // the samples, a few centimetres apart, can straddle the contact
        if (d > g.Diametre + 4 || d > distance(temps[k - 1]) || d >= distance(temps[k + 1])) continue;
        if (tk - dernier < kDoublon || DemarreVers(sa, tk) || DemarreVers(sb, tk)) continue;
        // an impulse: one ball's velocity changes, the other's by as much the other way (equal
        // masses); balls sliding past each other change theirs each its own way
        TPoint2 da, db;
        if (!ChangeVitesse(sa, tk, da) || !ChangeVitesse(sb, tk, db)) continue;
        const double change = std::max(std::hypot(da.x, da.y), std::hypot(db.x, db.y));
        if (change < kChangeBille || std::hypot(da.x + db.x, da.y + db.y) > 0.5 * change + kChangeBille)
            continue;
        double t = 0, ecart = 0;
        const double tAvant = temps[k - 1];
        if (!Rencontre(sa, &sb, {}, tAvant + 0.01, g.Diametre, kTolMouvement, t, ecart) ||
            t < tAvant - 0.02 || t > temps[k + 1])
            continue;
        dernier = tk;
        const TPoint2 p = PositionTrajet(sa, t), q = PositionTrajet(sb, t);
        sortie[a].push_back({geBille, b, t, p.x, p.y});
        sortie[b].push_back({geBille, a, t, q.x, q.y});
    }
}

}  // namespace

bool Correspond(const TEvenement& enregistre, const TEvenement& calcule) {
    // the instants drift apart along a shot as the paths do: 0.1 s, or 15 % of the time since the
    // first sample
    return enregistre.MemeContact(calcule) &&
           std::abs(enregistre.t - calcule.t) <= std::max(0.1, 0.15 * enregistre.t);
}

TGeometrieTable GeometrieTable(const TPARAMPHYS& fisik) {
    return {fisik.largeurJeu() / 2 - fisik.RayonBilles(), fisik.largeurJeu() - fisik.RayonBilles(),
            fisik.Diametre()};
}

TEvenementsCoup DetecteEvenements(const TCoupEnregistre& coup, const TGeometrieTable& table) {
    TEvenementsCoup ev;
    for (int b = 1; b <= NbBilles; ++b) DetecteBandes(coup, b, table, ev[b]);
    for (int b = 1; b <= NbBilles; ++b) DetecteDeparts(coup, b, table, ev);
    for (int a = 1; a <= NbBilles; ++a)
        for (int b = a + 1; b <= NbBilles; ++b) DetecteChocsEnMouvement(coup, a, b, table, ev);
    for (int b = 1; b <= NbBilles; ++b)
        std::stable_sort(ev[b].begin(), ev[b].end(),
                         [](const TEvenement& p, const TEvenement& q) { return p.t < q.t; });
    return ev;
}

bool TSuiviEvenements::ApresContact(const TBillardVelmora& billard, const TEtatBille& a) {
    // the photo of the contact holds its instant (the store full: the last one)
    const double t = billard.Temps[std::size_t(billard.NbPhotos)];
    if (a.DernierChoc == tcBilleBande) {
        Ajoute(a.NumBille, geBande, a.NumTouche, t, a.Position);
    } else if (a.DernierChoc == tcBilleBille && a.NumTouche >= 1 && a.NumTouche <= NbBilles) {
        Ajoute(a.NumBille, geBille, a.NumTouche, t, a.Position);
        Ajoute(a.NumTouche, geBille, a.NumBille, t, billard.Etat(a.NumTouche).Position);
    }
    return false;
}

void TSuiviEvenements::Ajoute(int bille, TGenreEvenement genre, int partie, double t, const TVecteur& p) {
    if (bille < 1 || bille > NbBilles) return;
    auto& liste = evenements_[std::size_t(bille)];
    const TEvenement e{genre, partie, t, p.x, p.y};
    if (!liste.empty() && liste.back().MemeContact(e) && t - liste.back().t < 0.03) return;
    liste.push_back(e);
}

void TSuiviEvenements::Vide() {
    for (auto& l : evenements_) l.clear();
}

TEvenementsCoup TSuiviEvenements::Decale(double frappe) const {
    TEvenementsCoup ev = evenements_;
    for (auto& l : ev)
        for (TEvenement& e : l) e.t += frappe;
    return ev;
}

namespace {

// the longest common sequence of two lists of contacts, matched by `correspond`: the pairs (i, j)
template <class TCorrespond>
std::vector<std::pair<int, int>> SequenceCommune(const std::vector<TEvenement>& r,
                                                 const std::vector<TEvenement>& c, TCorrespond correspond) {
    const std::size_t n = r.size(), m = c.size();
    std::vector<int> l((n + 1) * (m + 1), 0);
    const auto L = [&](std::size_t i, std::size_t j) -> int& { return l[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            L(i, j) = correspond(r[i], c[j]) ? L(i + 1, j + 1) + 1 : std::max(L(i + 1, j), L(i, j + 1));
    std::vector<std::pair<int, int>> paires;
    std::size_t i = 0, j = 0;
    while (i < n && j < m) {
        if (correspond(r[i], c[j]) && L(i, j) == L(i + 1, j + 1) + 1) {
            paires.push_back({int(i), int(j)});
            ++i;
            ++j;
        } else if (L(i + 1, j) >= L(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
    return paires;
}

}  // namespace

int ContactsManques(const TEvenementsCoup& enregistres, const TEvenementsCoup& calcules, bool toutesBilles) {
    int manques = 0;
    for (int b = 1; b <= (toutesBilles ? NbBilles : 1); ++b) {
        const auto& r = enregistres[std::size_t(b)];
        const auto& c = calcules[std::size_t(b)];
        const std::size_t n = std::min<std::size_t>(ContactsDeLaRoute, r.size());
        // the route's contacts in order among the computed ones: a contact between them may be one
        // the tracking did not show
        std::size_t k = 0, j = 0;
        for (; k < n; ++k, ++j) {
            while (j < c.size() && !Correspond(r[k], c[j])) ++j;
            if (j == c.size()) break;
        }
        manques += int(n - k);
    }
    return manques;
}

int NbContacts(const TEvenementsCoup& evenements, bool toutesBilles) {
    int n = 0;
    for (int b = 1; b <= (toutesBilles ? NbBilles : 1); ++b)
        n += std::min(ContactsDeLaRoute, int(evenements[std::size_t(b)].size()));
    return n;
}

std::vector<TPaireEvenements> AppareEvenements(const TEvenementsCoup& enregistres,
                                               const TEvenementsCoup& calcules) {
    std::vector<TPaireEvenements> paires;
    for (int b = 1; b <= NbBilles; ++b) {
        const auto commune =
            SequenceCommune(enregistres[std::size_t(b)], calcules[std::size_t(b)], Correspond);
        for (const auto& [i, j] : commune) paires.push_back({b, i, j});
    }
    return paires;
}
