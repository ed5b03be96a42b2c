#include "jeu/Queue.h"

#include <cmath>

bool InclinaisonAdmise(float degres) {
    return degres >= 0 && degres < InclinaisonQueueMax;
}

bool TQueueDegres::SetInclinaison(float degres) {
    // NaN is refused as well
    if (!InclinaisonAdmise(degres)) return false;
    Inclinaison = degres;
    return true;
}

float TQueueDegres::Valeur(int rang) const {
    switch (rang) {
        case 0:
            return Effet;
        case 1:
            return Hauteur;
        case 2:
            return Visee;
        case 3:
            return Vitesse;
        case 4:
            return Inclinaison;
        default:
            return Masse;
    }
}

TQueueDegres QueueDepart() {
    return {0.62f, 1.17f, 99.14f, 430, 3, 520};
}

TParamQueue ParamSimu(const TQueueDegres& q) {
    TParamQueue p;
    p.VitesseQueue = q.Vitesse;
    p.MasseQueue = q.Masse;
    p.Effet = q.Effet;
    p.Hauteur = q.Hauteur;
    p.AngleOx = EnRadians(q.Visee);
    p.AngleTapis = EnRadians(q.Inclinaison);
    return p;
}

TQueueDegres QueueDegres(const TParamQueue& p) {
    TQueueDegres q;
    q.Effet = float(p.Effet);
    q.Hauteur = float(p.Hauteur);
    q.Visee = float(EnDegres(p.AngleOx));
    q.Vitesse = float(p.VitesseQueue);
    q.Inclinaison = float(EnDegres(p.AngleTapis));
    q.Masse = float(p.MasseQueue);
    return q;
}

TQueueDegres QueuePrise(const TParamQueue& p, const TQueueDegres& avant) {
    const TQueueDegres lu = QueueDegres(p);
    TQueueDegres q = avant;
    q.SetVitesse(lu.Vitesse);
    q.SetMasse(lu.Masse);
    q.Effet = lu.Effet;
    q.Hauteur = lu.Hauteur;
    q.Visee = lu.Visee;
    q.SetInclinaison(lu.Inclinaison);
    return q;
}

double ConvertitHauteur(double h, double e, double alpha, double rayonBille) {
    if (alpha == 0) return h;
    const double r = rayonBille;
    const double rho2 = std::fabs(r * r - e * e);
    const double rho = std::sqrt(rho2);
    return rho * std::sin(std::atan2(h, std::sqrt(std::fabs(rho2 - h * h))) - alpha);
}
