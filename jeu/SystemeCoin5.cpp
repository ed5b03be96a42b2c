#include "jeu/SystemeCoin5.h"

#include <cmath>
#include <numbers>

#include "jeu/ContactsBandes.h"
#include "jeu/Decimales.h"
#include "jeu/Diamants.h"

namespace {

// signs of the first long cushion's side (x) and of the far end (y)
double SigneX(const TOrientationSysteme& o) { return o.PremiereBande == 1 ? 1 : -1; }
double SigneY(const TOrientationSysteme& o) { return o.Courte == 2 ? 1 : -1; }

// along a long cushion, diamonds from the far corner, and back
double DepuisCoinLointain(double y, const TOrientationSysteme& o, double largeur) {
    return (largeur - SigneY(o) * y) / (largeur / 4);
}
double YDepuisCoinLointain(double k, const TOrientationSysteme& o, double largeur) {
    return SigneY(o) * (largeur - k * largeur / 4);
}

double LigneLongue(double largeur) { return largeur / 2 + RetraitDiamants; }
double LigneCourte(double largeur) { return largeur + RetraitDiamants; }

}  // namespace

TPointTable PointDepart(double depart, const TOrientationSysteme& o, double largeur) {
    const double fx = SigneX(o);
    if (depart <= 5) return {-fx * LigneLongue(largeur), YDepuisCoinLointain(2 * (depart - 1), o, largeur)};
    // along the near short cushion, from the corner of the third cushion
    return {fx * ((depart - 5) * largeur / 4 - largeur / 2), -SigneY(o) * LigneCourte(largeur)};
}

TPointTable PointPremiere(double premiere, const TOrientationSysteme& o, double largeur) {
    return {SigneX(o) * LigneLongue(largeur), YDepuisCoinLointain(premiere, o, largeur)};
}

TPointTable PointArrivee(double arrivee, const TOrientationSysteme& o, double largeur) {
    return {-SigneX(o) * LigneLongue(largeur), YDepuisCoinLointain(arrivee, o, largeur)};
}

bool NumerosLigne(TPointTable p, double ux, double uy, const TOrientationSysteme& o, double largeur,
                  double& depart, double& premiere) {
    const double fx = SigneX(o);
    if (!(ux * fx > 0)) return false;
    // forwards to the first cushion's line
    const double xPremiere = fx * LigneLongue(largeur);
    premiere = DepuisCoinLointain(p.y + (xPremiere - p.x) / ux * uy, o, largeur);
    // backwards to the third cushion's line, or past its corner to the near short cushion's
    const double yDepart = p.y + (-xPremiere - p.x) / ux * uy;
    const double k = DepuisCoinLointain(yDepart, o, largeur);
    if (k < 0) return false;
    if (k <= DiamantsLongue) {
        depart = 1 + k / 2;
    } else {
        if (uy == 0) return false;
        const double xCourte = p.x + (-SigneY(o) * LigneCourte(largeur) - p.y) / uy * ux;
        depart = 5 + std::fmax((fx * xCourte + largeur / 2) / (largeur / 4), 0.0);
    }
    return premiere >= 0 && premiere <= DiamantsLongue;
}

bool NumeroArrivee(TPointTable p, double ux, double uy, const TOrientationSysteme& o, double largeur,
                   double& arrivee) {
    const double fx = SigneX(o);
    // heading for the third cushion
    if (!(ux * fx < 0)) return false;
    const double x = -fx * LigneLongue(largeur);
    arrivee = DepuisCoinLointain(p.y + (x - p.x) / ux * uy, o, largeur);
    return std::isfinite(arrivee);
}

bool ViseeSysteme(double depart, double arrivee, const TOrientationSysteme& o, double largeur,
                  TViseeSysteme& v, std::string* erreur) {
    const auto refuse = [&](const std::string& raison) {
        if (erreur) *erreur = raison;
        return false;
    };
    if (!(depart >= 1 && depart <= 8)) return refuse("le départ va de 1 à 8");
    if (!(arrivee >= 0 && arrivee <= DiamantsLongue)) return refuse("l'arrivée va de 0 à 8");
    v.Premiere = PremiereSysteme(depart, arrivee);
    if (!(v.Premiere >= 0 && v.Premiere <= DiamantsLongue))
        return refuse("départ − arrivée tombe hors de la première bande (0 à 8)");
    v.Depart = PointDepart(depart, o, largeur);
    v.Vers = PointPremiere(v.Premiere, o, largeur);
    v.Visee = std::atan2(v.Vers.y - v.Depart.y, v.Vers.x - v.Depart.x) * 180 / std::numbers::pi;
    return true;
}

TComparaisonSysteme CompareAuSysteme(const TBillardVelmora& simu) {
    TComparaisonSysteme c;
    const std::vector<TContactBande> bandes = ContactsBandes(simu);
    if (bandes.size() < 3) return c;
    const TContactBande &b1 = bandes[0], &b2 = bandes[1], &b3 = bandes[2];
    if (!BandeLongue(b1.Bande) || BandeLongue(b2.Bande) || b3.Bande != 4 - b1.Bande) return c;
    // no ball on the way from the first cushion to the third
    for (int photo : PhotosContactsBilles(simu))
        if (photo > b1.Photo && photo < b3.Photo) return c;
    c.Orientation = {b1.Bande, b2.Bande};
    const double largeur = simu.Fisik.largeurJeu();
    // the straight lines into the first and the third cushions
    const TVecteur& u = simu.Trajets[1][b1.Photo - 1].Vitesse;
    const TVecteur& v = simu.Trajets[1][b3.Photo - 1].Vitesse;
    if (!(u.y * SigneY(c.Orientation) > 0)) return c;
    if (!NumerosLigne({b1.Position.x, b1.Position.y}, u.x, u.y, c.Orientation, largeur, c.Depart, c.Premiere))
        return c;
    if (!NumeroArrivee({b3.Position.x, b3.Position.y}, v.x, v.y, c.Orientation, largeur, c.Simulee)) return c;
    c.Predite = ArriveeSysteme(c.Depart, c.Premiere);
    c.Applicable = true;
    return c;
}

std::string TexteComparaison(const TComparaisonSysteme& c, char separateur) {
    if (!c.Applicable) return "le système ne s'applique pas à ce coup";
    const double ecart = c.Ecart();
    return "départ " + Decimales(c.Depart, 1, separateur) + " − première " +
           Decimales(c.Premiere, 1, separateur) + " = arrivée " + Decimales(c.Predite, 1, separateur) +
           " ; bille à " + Decimales(c.Simulee, 1, separateur) + " (écart " + (ecart >= 0.05 ? "+" : "") +
           Decimales(ecart, 1, separateur) + ")";
}
