#include "jeu/DescriptionCoup.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "jeu/Decimales.h"
#include "jeu/Diamants.h"
#include "jeu/EchelleVitesse.h"
#include "jeu/Epaisseurs.h"
#include "jeu/Procedes.h"

namespace {

constexpr double DegParRad = 180 / std::numbers::pi;

struct TDirection {
    float x = 1;
    float y = 0;
};

TDirection Direction(float visee) {
    const double a = EnRadians(visee);
    return {float(std::cos(a)), float(std::sin(a))};
}

}  // namespace

TCibleVisee CibleVisee(float visee, const TContexteCoup& c) {
    const TDirection a = Direction(visee);
    TCibleVisee cible;
    const TBilleEpaisseur bille = BilleVisee(a.x, a.y, c.Billes, 2 * c.Rayon);
    if (bille.Bille != 0) {
        cible.Bille = bille.Bille;
        cible.Epaisseur = bille.Epaisseur;
        return cible;
    }
    // the first side of the box of centres the line leaves by
    const double xMax = c.Largeur / 2 - c.Rayon, yMax = c.Largeur - c.Rayon;
    const TCentreBille& p = c.Billes[0];
    double s = std::numeric_limits<double>::infinity();
    const auto essaie = [&](double distance, double pas, int bande) {
        if (pas == 0 || distance / pas >= s) return;
        s = distance / pas;
        cible.Bande = bande;
    };
    essaie(a.x > 0 ? xMax - p.x : -xMax - p.x, a.x, a.x > 0 ? 1 : 3);
    essaie(a.y > 0 ? yMax - p.y : -yMax - p.y, a.y, a.y > 0 ? 2 : 4);
    if (cible.Bande != 0)
        cible.Diamant = DiamantSurBande(cible.Bande, p.x + s * a.x, p.y + s * a.y, c.Largeur);
    return cible;
}

double EpaisseurSurBille(float visee, const TContexteCoup& c, int bille) {
    const TDirection a = Direction(visee);
    return EpaisseurVisee(a.x, a.y, c.Billes, 2 * c.Rayon, bille);
}

TContexteCoup ContexteDe(const TBillardVelmora& simu, const std::string& nomBille2) {
    TContexteCoup c;
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur& p = simu.Trajets[b][0].Position;
        c.Billes[size_t(b - 1)] = {float(p.x), float(p.y), float(p.z)};
    }
    c.NomBille2 = nomBille2;
    c.Largeur = simu.Fisik.largeurJeu();
    c.Rayon = float(simu.Fisik.RayonBilles());
    c.DeportMax = DeportSansFausseQueue(simu.Fisik, simu.MasseQueue);
    return c;
}

std::string NomBille(int bille, const TContexteCoup& c) {
    if (bille == 3) return "Rouge";
    return bille == 2 ? c.NomBille2 : std::string();
}

std::string TexteVisee(float visee, const TContexteCoup& c, int premiereBille, char separateur) {
    if (premiereBille != 2 && premiereBille != 3) {
        const TCibleVisee cible = CibleVisee(visee, c);
        if (cible.Bille != 0) return NomBille(cible.Bille, c) + " " + TexteEpaisseur(cible.Epaisseur);
        if (cible.Bande == 0) return "";
        return "bricole : " + TexteContactBande(cible.Bande, cible.Diamant, separateur);
    }
    const double e = EpaisseurSurBille(visee, c, premiereBille);
    const std::string nom = NomBille(premiereBille, c);
    if (e != 0) return nom + " " + TexteEpaisseur(e);
    // the line misses the ball (a curved or jumped stroke): the angle off the line to its centre
    const TCentreBille& p = c.Billes[0];
    const TCentreBille& b = c.Billes[size_t(premiereBille - 1)];
    double ecart = visee - std::atan2(b.y - p.y, b.x - p.x) * DegParRad;
    ecart = std::remainder(ecart, 360.0);
    return nom + " : visée " + Decimales(std::fabs(ecart), 1, separateur) + "° à " +
           (ecart > 0 ? "gauche" : "droite") + " de la bille";
}

std::string TexteEffet(const TQueueDegres& q, const TContexteCoup& c, char separateur) {
    const TProcede p = Procede(q.Effet, q.Hauteur, c.DeportMax);
    if (p.Centre) return "frappe au centre";
    if (p.FausseQueue) return TexteProcedeCourt(p, separateur);
    return "effet " + TexteProcedeCourt(p, separateur);
}

std::string TexteCoup(const TQueueDegres& q, const TContexteCoup& c, int premiereBille, char separateur) {
    std::string texte = TexteVisee(q.Visee, c, premiereBille, separateur);
    if (!texte.empty()) texte += ", ";
    return texte + TexteEffet(q, c, separateur) + ", vitesse " + std::to_string(NiveauVitesse(q.Vitesse)) +
           "/" + std::to_string(NiveauVitesseMax);
}
