#include "jeu/Epaisseurs.h"

#include <algorithm>
#include <cmath>

double Epaisseur(double x, double diametre) { return x > 0 ? 1 - x / diametre : -1 - x / diametre; }

TFractionBille FractionBille(double epaisseur) {
    const double f = std::fabs(epaisseur);
    if (f == 0) return fbAucune;
    if (f < 0.125) return fbFine;
    if (f < 0.375) return fbQuart;
    if (f < 0.625) return fbDemi;
    if (f < 0.875) return fbTroisQuarts;
    return fbPleine;
}

const char* TexteFraction(TFractionBille f) {
    switch (f) {
        case fbFine:
            return "fine";
        case fbQuart:
            return "1/4";
        case fbDemi:
            return "1/2";
        case fbTroisQuarts:
            return "3/4";
        case fbPleine:
            return "pleine bille";
        default:
            return "";
    }
}

std::string TexteEpaisseur(double epaisseur) {
    const TFractionBille f = FractionBille(epaisseur);
    if (f == fbAucune || f == fbPleine) return TexteFraction(f);
    const char* cote = epaisseur > 0 ? " à droite" : " à gauche";
    return std::string(TexteFraction(f)) + (f == fbFine ? "" : " bille") + cote;
}

namespace {

// signed distance of the centre from the aim line (positive to the left), and whether the ball
// is in front within a diameter of the line
struct TDecalage {
    float c = 0;
    float distance = 0;
    bool vise = false;
};

TDecalage Decalage(float ax, float ay, const TCentreBille& depuis, const TCentreBille& vers, float diametre) {
    const float dx = vers.x - depuis.x, dy = vers.y - depuis.y;
    TDecalage d;
    d.c = ax * dy - ay * dx;
    d.distance = std::sqrt(dx * dx + dy * dy);
    d.vise = ax * dx + ay * dy > 0 && std::fabs(d.c) <= diametre;
    return d;
}

}  // namespace

TBilleEpaisseur BilleVisee(float ax, float ay, const std::array<TCentreBille, 3>& p, float diametre) {
    const TDecalage d2 = Decalage(ax, ay, p[0], p[1], diametre);
    const TDecalage d3 = Decalage(ax, ay, p[0], p[2], diametre);
    TBilleEpaisseur r;
    if (d2.vise && (!d3.vise || d2.distance < d3.distance))
        r = {2, Epaisseur(d2.c, diametre)};
    else if (d3.vise)
        r = {3, Epaisseur(d3.c, diametre)};
    return r;
}

double EpaisseurVisee(float ax, float ay, const std::array<TCentreBille, 3>& p, float diametre, int bille) {
    const TDecalage d = Decalage(ax, ay, p[0], p[bille == 2 ? 1 : 2], diametre);
    return d.vise ? Epaisseur(d.c, diametre) : 0;
}

TBilleEpaisseur BilleTouchee(const TBillardVelmora& simu, double diametre) {
    const int n = std::min<int>(simu.NbPhotos, NbPhotosMax);
    // the first contact of ball 1 with another; a contact of the other two does not count
    int i = 1;
    while (i <= n &&
           !(simu.TypesChocs[i] == tcBilleBille && (simu.Contacts[i] == 2 || simu.Contacts[i] == 3)))
        ++i;
    if (i > n) return {};
    // direction of travel just before the contact, and where the struck ball lies
    const TVecteur& v0 = simu.Trajets[1][i - 1].Vitesse;
    const int touchee = simu.Contacts[i];
    if (Norme(v0) <= 0) return {touchee, 0};
    const TVecteur u = Unitaire(v0);
    const TVecteur d = DiffVect(simu.Trajets[touchee][i].Position, simu.Trajets[1][i].Position);
    const TVecteur c = ProdVect(u, d);
    const double v = c.z > 0 ? Norme(c) : -Norme(c);
    // a contact found a little apart would give more than a whole ball
    return {touchee, std::clamp(Epaisseur(v, diametre), -1.0, 1.0)};
}
