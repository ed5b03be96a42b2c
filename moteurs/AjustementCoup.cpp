#include "moteurs/AjustementCoup.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlopt.hpp>
#include <numbers>

#include "moteurs/TrajetEnregistre.h"
#include "sim/C8_BoucleTrajets.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
// the photo clock of the fit: linear interpolation between photos this close stays within a
// tenth of a millimetre of the path
constexpr double kDtPhotos = 0.02;

// A search point: aim, the ball's launch speed (not the cue's: the tip offsets would change it and
// couple the coordinates), tip offsets, inclination and stroke instant, in the units of the physics.
enum { yVisee, yVitesse, yEffet, yHauteur, yInclinaison, yFrappe, NbY };
using TPoint = std::array<double, NbY>;

// the search's unit along each coordinate (aim and inclination in rad, speed as a share of the
// estimate, tip offsets in cm, stroke in s)
constexpr std::array<double, NbY> kEchelle{0.5 * kDeg, 0.05, 0.3, 0.3, 3 * kDeg, 0.01};
// A contact of the recorded route that the shot does not play costs as much as 10 cm of distance:
// the search takes the recorded route first, unless playing it takes a path that much farther
// (then the model cannot play it as the table did, or the tracking misled the contacts found).
constexpr double kPenaliteContact = 10;
// the stroke lies this far (s) at most around what the first samples tell
constexpr double kMargeFrappe = 0.06;

double Carre(double v) { return v * v; }

}  // namespace

TScoreCoup ScoreStock(const TStockTrajets& stock, const TCoupEnregistre& coup, double frappe) {
    double somme1 = 0, somme = 0;
    std::size_t n = 0;
    for (int b = 1; b <= NbBilles; ++b) {
        int ibase = 0;
        double s = 0;
        for (const TEchantillon& e : coup.Billes[b]) {
            double x, y;
            PositionStock(stock, b, e.t - frappe, ibase, x, y);
            s += Carre(x - e.x) + Carre(y - e.y);
        }
        if (b == 1) somme1 = s;
        somme += s;
        n += coup.Billes[b].size();
    }
    TScoreCoup score;
    const std::size_t n1 = coup.Billes[1].size();
    score.Bille1 = n1 ? std::sqrt(somme1 / double(n1)) : 0;
    score.Toutes = n ? std::sqrt(somme / double(n)) : 0;
    return score;
}

std::vector<std::array<double, 2>> EcartsBille1(const TStockTrajets& stock, const TCoupEnregistre& coup,
                                                double frappe) {
    std::vector<std::array<double, 2>> ecarts;
    int ibase = 0;
    for (const TEchantillon& e : coup.Billes[1]) {
        double x, y;
        PositionStock(stock, 1, e.t - frappe, ibase, x, y);
        ecarts.push_back({e.t, std::hypot(x - e.x, y - e.y)});
    }
    return ecarts;
}

namespace {

// the first samples that moved, while the path stays straight and before tFin (a contact);
// (ux, uy): the direction towards the last of them
std::vector<const TEchantillon*> EchantillonsDroits(const std::vector<TEchantillon>& s, double& ux,
                                                    double& uy, double tFin) {
    const TEchantillon& p0 = s.front();
    std::vector<const TEchantillon*> mobiles;
    double dPrec = 0;
    for (std::size_t i = 1; i < s.size() && mobiles.size() < 8; ++i) {
        const double dx = s[i].x - p0.x, dy = s[i].y - p0.y, d = std::hypot(dx, dy);
        if (d < 0.5) continue;
        if (s[i].t >= tFin) break;
        if (!mobiles.empty()) {
            if (s[i].t - mobiles.front()->t > 0.16) break;
            if (ux * dx + uy * dy < 0) break;
            // coming back towards the start: turned back by a cushion or a ball
            if (d < dPrec - 0.5) break;
            // off the line so far by more than the noise and a 2 degree turn: a contact (the line
            // itself is known to the noise over the distance so far)
            const double ecart = std::abs(ux * dy - uy * dx);
            if (ecart > 1.0 + d * (std::sin(2 * kDeg) + 1.0 / dPrec)) break;
        }
        mobiles.push_back(&s[i]);
        ux = dx / d;
        uy = dy / d;
        dPrec = d;
    }
    return mobiles;
}

// The line through the start and the straight samples: its axis is the direction (ux, uy, kept
// pointing the same way), and the start, brought onto it, loses the noise across the path.
void AxeDroit(const TEchantillon& p0, const std::vector<const TEchantillon*>& mobiles, TEstimationDepart& est,
              double& ux, double& uy) {
    double cx = p0.x, cy = p0.y;
    for (const TEchantillon* e : mobiles) {
        cx += e->x;
        cy += e->y;
    }
    const double m = double(mobiles.size() + 1);
    cx /= m;
    cy /= m;
    double sxx = Carre(p0.x - cx), syy = Carre(p0.y - cy), sxy = (p0.x - cx) * (p0.y - cy);
    for (const TEchantillon* e : mobiles) {
        sxx += Carre(e->x - cx);
        syy += Carre(e->y - cy);
        sxy += (e->x - cx) * (e->y - cy);
    }
    const double theta = 0.5 * std::atan2(2 * sxy, sxx - syy);
    double ax = std::cos(theta), ay = std::sin(theta);
    if (ax * ux + ay * uy < 0) {
        ax = -ax;
        ay = -ay;
    }
    est.Visee = std::atan2(ay, ax);
    const double l = (p0.x - cx) * ax + (p0.y - cy) * ay;
    est.X0 = cx + l * ax;
    est.Y0 = cy + l * ay;
    ux = ax;
    uy = ay;
}

// distance travelled against time: a line whose slope is the speed and whose root the stroke
void VitesseEtFrappe(const TEchantillon& p0, const std::vector<const TEchantillon*>& mobiles, double ux,
                     double uy, TEstimationDepart& est) {
    double st = 0, sd = 0, stt = 0, std_ = 0;
    const double n = double(mobiles.size());
    for (const TEchantillon* e : mobiles) {
        const double d = (e->x - p0.x) * ux + (e->y - p0.y) * uy;
        st += e->t;
        sd += d;
        stt += e->t * e->t;
        std_ += e->t * d;
    }
    const double den = n * stt - st * st;
    if (den <= 0) return;
    const double pente = (n * std_ - st * sd) / den;
    const double origine = (sd - pente * st) / n;
    if (!(pente > 1)) return;
    est.Vitesse = pente;
    // the stroke lies between the last sample at rest and the first one that moved
    est.Frappe = std::clamp(-origine / pente, p0.t, mobiles.front()->t);
    est.Fiable = mobiles.size() >= 3;
}

}  // namespace

TEstimationDepart EstimeDepart(const TCoupEnregistre& coup, double tContact) {
    TEstimationDepart est;
    const auto& s = coup.Billes[1];
    if (s.empty()) return est;
    const TEchantillon& p0 = s.front();
    est.Frappe = p0.t;
    est.X0 = p0.x;
    est.Y0 = p0.y;
    double ux = 0, uy = 0;
    const std::vector<const TEchantillon*> mobiles = EchantillonsDroits(s, ux, uy, tContact);
    if (mobiles.empty()) return est;
    // direction: towards the farthest straight sample (least sensitive to the noise)
    est.Visee = std::atan2(uy, ux);
    if (mobiles.size() >= 3) AxeDroit(p0, mobiles, est, ux, uy);
    if (mobiles.size() == 1) {
        const double d = std::hypot(mobiles[0]->x - p0.x, mobiles[0]->y - p0.y);
        const double dt = std::max(mobiles[0]->t - p0.t, 0.02);
        est.Vitesse = d / dt;
        return est;
    }
    VitesseEtFrappe(p0, mobiles, ux, uy, est);
    return est;
}

namespace {
void Deport(const TPoint& y, double deportMax, double& effet, double& hauteur);
}  // namespace

struct TAjustementCoup::TRecherche {
    TOptionsAjustement options;
    const std::atomic<bool>* arret = nullptr;
    std::function<void(double)> progression;
    long prevus = 1;
    long faits = 0;
    TPoint base{};  // the fixed values and the centre of the bounds
    TPoint bas{}, haut{};
    std::vector<int> libres;  // coordinates searched
    TPoint meilleur{};
    double meilleurScore = HUGE_VAL;
    TScoreCoup meilleursScores;
    int meilleursManques = 0;
    bool interrompu = false;
};

namespace {

// Ball 1 met a ball or a cushion before three samples showed its path: the path went from the
// start to ball 1's centre at that contact (for a ball hit, a diameter behind the object ball
// along the way it left), at a speed that what left the contact tells. False when it cannot say.
bool DepartParContact(const TCoupEnregistre& coup, const TEvenement& e, const TPARAMPHYS& fisik,
                      TEstimationDepart& est) {
    const auto& s = coup.Billes[1];
    TPoint2 c{e.x, e.y};
    TLigneTemps apres;
    double v = 0;
    if (e.Genre == geBille) {
        const auto& objet = coup.Billes[e.Partie];
        if (!AjusteLigneApres(objet, e.t + 0.005, apres)) return false;
        const double vb = std::hypot(apres.vx, apres.vy);
        if (vb < 1) return false;
        const TPoint2 repos = PositionTrajet(objet, e.t - 0.1);
        c = {repos.x - fisik.Diametre() * apres.vx / vb, repos.y - fisik.Diametre() * apres.vy / vb};
        // equal masses: the striker's velocity before is the sum of both after
        TLigneTemps frappeur;
        if (!AjusteLigneApres(s, e.t + 0.005, frappeur)) return false;
        v = std::hypot(apres.vx + frappeur.vx, apres.vy + frappeur.vy);
    } else {
        if (!AjusteLigneApres(s, e.t + 0.005, apres)) return false;
        // about four fifths of the speed come back from a cushion
        v = std::hypot(apres.vx, apres.vy) / 0.8;
    }
    const double l = std::hypot(c.x - s.front().x, c.y - s.front().y);
    if (l < 0.5 || v < 1) return false;
    est.Visee = std::atan2(c.y - s.front().y, c.x - s.front().x);
    est.Vitesse = v;
    est.Frappe = std::clamp(e.t - l / v, s.front().t - kMargeFrappe, e.t);
    est.X0 = s.front().x;
    est.Y0 = s.front().y;
    est.Fiable = true;
    return true;
}

}  // namespace

TAjustementCoup::TAjustementCoup(const TPARAMPHYS& fisik, const TCoupEnregistre& coup)
    : simu_(std::make_unique<TBillardVelmora>()), coup_(coup) {
    simu_->Fisik = fisik;
    simu_->Fisik.Change(&TConstantesPhys::dtEnr, std::min(fisik.dtEnr(), kDtPhotos));
    simu_->ModeDeJeu = jLibre;
    const double r = simu_->Fisik.RayonBilles();
    for (int b = 1; b <= NbBilles; ++b) {
        // a ball at rest: the mean of its samples that have not moved from the first
        const auto& s = coup_.Billes[b];
        double x = 0, y = 0;
        int n = 0;
        for (const TEchantillon& e : s) {
            if (std::hypot(e.x - s.front().x, e.y - s.front().y) > 1.0) break;
            x += e.x;
            y += e.y;
            ++n;
        }
        simu_->Trajets[b][0] = {Vecteur(x / n, y / n, r), VecteurNul, VecteurNul};
    }
    evenements_ = DetecteEvenements(coup_, GeometrieTable(simu_->Fisik));
    // what the first samples tell, up to ball 1's first contact; a contact before three samples:
    // where that contact was
    const double premierContact = evenements_[1].empty() ? HUGE_VAL : evenements_[1].front().t - 0.01;
    est_ = EstimeDepart(coup_, premierContact);
    if (!est_.Fiable && premierContact < HUGE_VAL)
        DepartParContact(coup_, evenements_[1].front(), simu_->Fisik, est_);
    if (est_.Fiable) simu_->Trajets[1][0].Position = Vecteur(est_.X0, est_.Y0, r);
    frappeMin_ = est_.Frappe - kMargeFrappe;
    frappeMax_ = est_.Frappe + kMargeFrappe;
    double ux = 0, uy = 0;
    if (!coup_.Billes[1].empty())
        for (const TEchantillon* e : EchantillonsDroits(coup_.Billes[1], ux, uy, premierContact))
            premiers_.push_back(*e);
}

TScoreCoup TAjustementCoup::Joue(const TParamQueue& queue, double frappe) {
    TBillardVelmora& s = *simu_;
    for (int b = 2; b <= NbBilles; ++b) s.Trajets[b][0].Vitesse = s.Trajets[b][0].Rotation = VecteurNul;
    s.SetParamQueue(queue);
    s.Joue();
    ++nbCoups_;
    return ScoreStock(s, coup_, frappe);
}

double TAjustementCoup::FrappeCalee() const {
    // each first sample gives the stroke by the time the computed ball needed to get as far
    // from its start; their mean is the stroke
    const TBillardVelmora& s = *simu_;
    const TVecteur& p0 = s.Trajets[1][0].Position;
    double somme = 0;
    int n = 0, k = 0;
    double dPrec = 0;
    for (const TEchantillon& e : premiers_) {
        const double d = std::hypot(e.x - p0.x, e.y - p0.y);
        while (k < s.NbPhotos) {
            const TVecteur& q = s.Trajets[1][k + 1].Position;
            const double dk = std::hypot(q.x - p0.x, q.y - p0.y);
            if (dk >= d) break;
            dPrec = dk;
            ++k;
        }
        if (k >= s.NbPhotos) break;
        const TVecteur& q = s.Trajets[1][k + 1].Position;
        const double dk = std::hypot(q.x - p0.x, q.y - p0.y);
        const double f = dk > dPrec ? (d - dPrec) / (dk - dPrec) : 1.0;
        const double tau = s.Temps[k] + f * (s.Temps[k + 1] - s.Temps[k]);
        somme += e.t - tau;
        ++n;
    }
    const double frappe = n > 0 ? somme / n : 0.5 * (frappeMin_ + frappeMax_);
    return std::clamp(frappe, frappeMin_, frappeMax_);
}

TAjustementCoup::TEssai TAjustementCoup::JoueCale(const TParamQueue& queue, bool toutesBilles) {
    TBillardVelmora& s = *simu_;
    for (int b = 2; b <= NbBilles; ++b) s.Trajets[b][0].Vitesse = s.Trajets[b][0].Rotation = VecteurNul;
    s.SetParamQueue(queue);
    s.ImpactQueue();
    suivi_.Vide();
    s.CalculTrajetsSuivi(suivi_);
    ++nbCoups_;
    TEssai essai;
    essai.Frappe = FrappeCalee();
    essai.Score = ScoreStock(s, coup_, essai.Frappe);
    essai.Manques = ContactsManques(evenements_, suivi_.Decale(essai.Frappe), toutesBilles);
    return essai;
}

TParamQueue TAjustementCoup::QueuePoint(const double* point, double masse) {
    TPoint y;
    std::copy(point, point + NbY, y.begin());
    TParamQueue q;
    q.MasseQueue = masse;
    q.AngleOx = y[yVisee];
    q.AngleTapis = y[yInclinaison];
    Deport(y, std::sqrt(simu_->Fisik.DeportMax2()) * 0.999, q.Effet, q.Hauteur);
    const double t = Transmission(q.Effet, q.Hauteur, masse);
    q.VitesseQueue = t > 0 ? y[yVitesse] / t : y[yVitesse];
    return q;
}

double TAjustementCoup::Transmission(double effet, double hauteur) {
    return Transmission(effet, hauteur, simu_->MasseQueue);
}

double TAjustementCoup::Transmission(double effet, double hauteur, double masse) {
    TBillardVelmora& s = *simu_;
    const TPVR avant = s.Trajets[1][0];
    s.SetParamQueue({1.0, masse, effet, hauteur, 0, 0});
    s.ImpactQueue();
    const double v = s.FausseQueue ? 0 : Norme(s.Trajets[1][0].Vitesse);
    s.Trajets[1][0] = avant;
    return v;
}

namespace {

// the tip offsets of a search point, brought back onto the miscue limit when beyond it
void Deport(const TPoint& y, double deportMax, double& effet, double& hauteur) {
    effet = y[yEffet];
    hauteur = y[yHauteur];
    const double d = std::hypot(effet, hauteur);
    if (d > deportMax) {
        effet *= deportMax / d;
        hauteur *= deportMax / d;
    }
}

// plays a point and keeps it when best; the value the search minimises
double Evalue(TAjustementCoup& a, TAjustementCoup::TRecherche& r, const TPoint& y) {
    const bool toutes = r.options.ScoreToutes;
    const TAjustementCoup::TEssai e = a.JoueCale(a.QueuePoint(y.data(), r.options.MasseQueue), toutes);
    const double ecart = toutes ? e.Score.Toutes : e.Score.Bille1;
    const double v = ecart + (r.options.Route ? kPenaliteContact * e.Manques : 0.0);
    ++r.faits;
    if (v < r.meilleurScore) {
        r.meilleurScore = v;
        r.meilleur = y;
        r.meilleur[yFrappe] = e.Frappe;
        r.meilleursScores = e.Score;
        r.meilleursManques = e.Manques;
    }
    if (r.progression && r.faits % 64 == 0) r.progression(std::min(1.0, double(r.faits) / double(r.prevus)));
    return v;
}
}  // namespace

void TAjustementCoup::Local(TRecherche& r, const std::array<double, NbParamsAjustes + 1>& depart, int evals,
                            double pasInitial) {
    const unsigned n = static_cast<unsigned>(r.libres.size());
    if (n == 0 || evals <= 0) return;
    // the simplex copes with the score's jumps better than the quadratic models (BOBYQA) or
    // the subspace searches tried on the real recordings
    nlopt::opt opt(nlopt::LN_NELDERMEAD, n);
    std::vector<double> x(n), bas(n), haut(n), pas(n);
    for (unsigned k = 0; k < n; ++k) {
        const int c = r.libres[k];
        const double e = c == yVitesse ? kEchelle[c] * r.base[yVitesse] : kEchelle[c];
        x[k] = std::clamp(depart[c], r.bas[c], r.haut[c]) / e;
        bas[k] = r.bas[c] / e;
        haut[k] = r.haut[c] / e;
        pas[k] = pasInitial;
        // the start on a bound: the first step goes inwards
        if (x[k] - pas[k] < bas[k] && x[k] + pas[k] > haut[k]) pas[k] = (haut[k] - bas[k]) / 4;
    }
    opt.set_lower_bounds(bas);
    opt.set_upper_bounds(haut);
    opt.set_initial_step(pas);
    opt.set_maxeval(evals);
    opt.set_xtol_abs(1e-3);
    struct TCtx {
        TAjustementCoup* a;
        TRecherche* r;
        nlopt::opt* opt;
    } ctx{this, &r, &opt};
    opt.set_min_objective(
        [](unsigned nx, const double* xs, double*, void* donnees) -> double {
            auto& c = *static_cast<TCtx*>(donnees);
            TPoint y = c.r->base;
            for (unsigned k = 0; k < nx; ++k) {
                const int coord = c.r->libres[k];
                const double e = coord == yVitesse ? kEchelle[coord] * c.r->base[yVitesse] : kEchelle[coord];
                y[coord] = xs[k] * e;
            }
            if (c.r->arret && c.r->arret->load()) {
                c.r->interrompu = true;
                c.opt->force_stop();
                return HUGE_VAL;
            }
            return Evalue(*c.a, *c.r, y);
        },
        &ctx);
    double valeur = 0;
    try {
        opt.optimize(x, valeur);
    } catch (const std::exception&) {
        // a stop asked, or rounding trouble of the search: the best point so far stands
    }
}

namespace {

// the start and the bounds of the search: what the first samples tell, a plain cue otherwise
void Borne(TAjustementCoup::TRecherche& r, const TEstimationDepart& est, double deportMax) {
    const double vBille = est.Vitesse > 1 ? est.Vitesse : 150;
    r.base = {est.Visee, vBille, 0, 0, 0, est.Frappe};
    r.bas = {est.Visee - 6 * kDeg, vBille * 0.5, -deportMax, -deportMax, 0, est.Frappe - 0.06};
    r.haut = {est.Visee + 6 * kDeg, vBille * 1.6, deportMax, deportMax, 45 * kDeg, est.Frappe + 0.06};
    // a recording that does not say where the ball went: any direction, any speed
    if (!est.Fiable) {
        r.bas[yVisee] = est.Visee - std::numbers::pi;
        r.haut[yVisee] = est.Visee + std::numbers::pi;
        r.bas[yVitesse] = vBille * 0.2;
        r.haut[yVitesse] = vBille * 4;
    }
    for (int c = 0; c < NbParamsAjustes; ++c)
        if (r.options.Libres[c]) r.libres.push_back(c);
}

// the scan's grid: aim around the first samples, tip offsets over the disc, speed around the estimate
struct TGrille {
    std::vector<double> visees{0}, effets{0}, hauteurs{0}, facteurs{1};
    long Taille() const { return long(visees.size() * effets.size() * hauteurs.size() * facteurs.size()); }
};

TGrille Grille(const std::array<bool, NbParamsAjustes>& libres, const TEstimationDepart& est, double d) {
    TGrille g;
    if (libres[paVisee]) {
        g.visees.clear();
        const int n = est.Fiable ? 8 : 36;
        const double pasVisee = est.Fiable ? 0.25 * kDeg : 10 * kDeg;
        for (int k = -n; k <= n; ++k) g.visees.push_back(k * pasVisee);
    }
    if (libres[paEffet]) g.effets = {-0.8 * d, -0.4 * d, 0, 0.4 * d, 0.8 * d};
    if (libres[paHauteur]) g.hauteurs = {-0.6 * d, -0.3 * d, 0, 0.3 * d, 0.6 * d};
    if (libres[paVitesse])
        g.facteurs =
            est.Fiable ? std::vector<double>{0.95, 1.0, 1.05} : std::vector<double>{0.5, 0.8, 1.2, 1.8};
    return g;
}

struct TCellule {
    TPoint y;
    double score;
    int ie, ih;
};

// every cell of the grid played, in the grid's order
std::vector<TCellule> Balaye(TAjustementCoup& a, TAjustementCoup::TRecherche& r, const TGrille& g,
                             const TEstimationDepart& est) {
    std::vector<TCellule> cellules;
    cellules.reserve(std::size_t(g.Taille()));
    for (std::size_t ie = 0; ie < g.effets.size() && !r.interrompu; ++ie)
        for (std::size_t ih = 0; ih < g.hauteurs.size() && !r.interrompu; ++ih) {
            for (double f : g.facteurs)
                for (double dv : g.visees) {
                    if (r.arret && r.arret->load()) {
                        r.interrompu = true;
                        break;
                    }
                    TPoint y = r.base;
                    y[yVisee] = est.Visee + dv;
                    y[yVitesse] = r.base[yVitesse] * f;
                    y[yEffet] = g.effets[ie];
                    y[yHauteur] = g.hauteurs[ih];
                    cellules.push_back({y, Evalue(a, r, y), int(ie), int(ih)});
                }
        }
    return cellules;
}

// the best cells, one per tip-offset cell and aim (the branches of the score)
std::vector<TPoint> Departs(std::vector<TCellule>& cellules, int nbDeparts) {
    std::stable_sort(cellules.begin(), cellules.end(),
                     [](const TCellule& a, const TCellule& b) { return a.score < b.score; });
    std::vector<const TCellule*> retenues;
    for (const TCellule& c : cellules) {
        if (int(retenues.size()) >= nbDeparts) break;
        const bool vu = std::any_of(retenues.begin(), retenues.end(), [&](const TCellule* p) {
            return std::abs(p->ie - c.ie) + std::abs(p->ih - c.ih) < 1 &&
                   std::abs(p->y[yVisee] - c.y[yVisee]) < 0.6 * kDeg;
        });
        if (!vu) retenues.push_back(&c);
    }
    std::vector<TPoint> departs;
    departs.reserve(retenues.size());
    for (const TCellule* c : retenues) departs.push_back(c->y);
    return departs;
}

}  // namespace

void TAjustementCoup::Descend(TRecherche& r,
                              const std::vector<std::array<double, NbParamsAjustes + 1>>& departs) {
    for (const TPoint& y : departs) {
        if (r.interrompu) break;
        Local(r, y, r.options.EvalsLocales);
    }
    // the simplex may stall short of the bottom: restarted from the best point while that helps
    for (int k = 0; k < 4 && !r.interrompu && r.meilleurScore < HUGE_VAL; ++k) {
        const double avant = r.meilleurScore;
        Local(r, r.meilleur, r.options.EvalsLocales / 2);
        if (r.meilleurScore > avant * (1 - 1e-3)) break;
    }
}

TResultatAjustement TAjustementCoup::Ajuste(const TOptionsAjustement& options, const std::atomic<bool>* arret,
                                            const std::function<void(double)>& progression) {
    const auto debut = std::chrono::steady_clock::now();
    const long coupsAvant = nbCoups_;
    TRecherche r;
    r.options = options;
    r.arret = arret;
    r.progression = progression;
    const double deportMax = std::sqrt(simu_->Fisik.DeportMax2()) * 0.999;
    const TEstimationDepart& est = est_;
    Borne(r, est, deportMax);
    const TGrille grille = Grille(options.Libres, est, deportMax);
    r.prevus = grille.Taille() + long(options.NbDeparts) * options.EvalsLocales;

    std::vector<TCellule> cellules = Balaye(*this, r, grille, est);
    Descend(r, Departs(cellules, options.NbDeparts));

    TResultatAjustement res;
    res.Queue = QueuePoint(r.meilleur.data(), options.MasseQueue);
    res.Frappe = r.meilleur[yFrappe];
    res.NbContacts = NbContacts(evenements_, options.ScoreToutes);
    if (r.meilleurScore < HUGE_VAL) {
        // the best shot again, so that Simu() and the computed contacts hold it
        const TEssai e = JoueCale(res.Queue, options.ScoreToutes);
        res.Score = e.Score;
        res.ContactsManques = e.Manques;
    }
    res.NbCoups = nbCoups_ - coupsAvant;
    res.Interrompu = r.interrompu;
    res.Secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    if (progression) progression(1.0);
    return res;
}

TResultatAjustement TAjustementCoup::Affine(const TResultatAjustement& depart,
                                            const TOptionsAjustement& options, int evals) {
    const auto debut = std::chrono::steady_clock::now();
    const long coupsAvant = nbCoups_;
    TRecherche r;
    r.options = options;
    r.prevus = evals;
    const double deportMax = std::sqrt(simu_->Fisik.DeportMax2()) * 0.999;
    const TParamQueue& q = depart.Queue;
    const double v = q.VitesseQueue * Transmission(q.Effet, q.Hauteur, options.MasseQueue);
    r.base = {q.AngleOx, v, q.Effet, q.Hauteur, q.AngleTapis, depart.Frappe};
    r.bas = {q.AngleOx - 3 * kDeg, v * 0.7, -deportMax, -deportMax, 0, depart.Frappe - 0.04};
    r.haut = {q.AngleOx + 3 * kDeg, v * 1.4, deportMax, deportMax, 45 * kDeg, depart.Frappe + 0.04};
    for (int c = 0; c < NbParamsAjustes; ++c)
        if (options.Libres[c]) r.libres.push_back(c);
    Evalue(*this, r, r.base);
    // close to the bottom already: small first steps keep the search on the same branch
    Local(r, r.base, evals - 1, 0.25);
    TResultatAjustement res;
    res.Queue = QueuePoint(r.meilleur.data(), options.MasseQueue);
    res.Frappe = r.meilleur[yFrappe];
    res.Score = r.meilleursScores;
    res.ContactsManques = r.meilleursManques;
    res.NbContacts = NbContacts(evenements_, options.ScoreToutes);
    res.NbCoups = nbCoups_ - coupsAvant;
    res.Secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    return res;
}
