#include "sim/ParamPhys.h"

#include <algorithm>
#include <cmath>
#include <limits>

TPlageParam PlageParam(double TPARAMPHYS::*p) {
    using T = TPARAMPHYS;
    if (p == &T::largeurJeu) return {10, 1000};
    if (p == &T::RayonBilles) return {0.001, 20};
    if (p == &T::MasseBilles) return {1, 100000};
    if (p == &T::VzRebondNul) return {0, 1000};
    // the physics divides by these three
    if (p == &T::FrotBiTapGlisse || p == &T::FrotBiTapPivot || p == &T::FrotBiTapRoule)
        return {PlancherParam, 10};
    if (p == &T::FrotBiTapChoc || p == &T::FrotBiBi || p == &T::FrotBiBde) return {0, 10};
    if (p == &T::FrotQueueBille) return {0.001, 10};
    if (p == &T::ElastBiTap || p == &T::ElastBiBi || p == &T::ElastBiBde || p == &T::PerteEcQB) return {0, 1};
    if (p == &T::dtAnal || p == &T::dtEnr) return {PlancherParam, 1};
    if (p == &T::G) return {PlancherParam, 100000};
    // TLIM is only carried with the file
    return {-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
}

double BorneParam(double valeur, TPlageParam plage) {
    if (!(valeur >= plage.Min)) return plage.Min;
    return valeur > plage.Max ? plage.Max : valeur;
}

TPARAMPHYS::TPARAMPHYS() { ValeursUsine(); }

void TPARAMPHYS::ValeursUsine() {
    largeurJeu = 142.25;
    HautBdes = 3.7;
    RayonBilles = 3.075;
    MasseBilles = 215;
    VzRebondNul = 0.5;
    FrotBiTapGlisse = 0.15;
    FrotBiTapPivot = 0.015;
    FrotBiTapRoule = 0.006;
    FrotBiTapChoc = 0.2;
    FrotBiBi = 0.03;
    FrotBiBde = 0.3;
    FrotQueueBille = 0.9;
    ElastBiTap = 0.5;
    ElastBiBi = 0.87;
    ElastBiBde = 0.8;
    PerteEcQB = 0.13;
    dtAnal = 0.01;
    dtEnr = 0.05;
    TLIM = 12;
    G = 981;
    NomFichierFisik.clear();
    // the derived fields
    BorneTout();
}

void TPARAMPHYS::SetParam(int index, double valeur) {
    switch (index) {
        case 0:
            largeurJeu = valeur;
            break;
        case 1:
            HautBdes = valeur;
            break;
        case 2:
            RayonBilles = valeur;
            break;
        case 3:
            FrotQueueBille = valeur;
            break;
        default:
            break;
    }
    BorneTout();
}

void TPARAMPHYS::BorneTout() {
    for (double TPARAMPHYS::*p :
         {&TPARAMPHYS::largeurJeu, &TPARAMPHYS::RayonBilles, &TPARAMPHYS::MasseBilles,
          &TPARAMPHYS::VzRebondNul, &TPARAMPHYS::FrotBiTapGlisse, &TPARAMPHYS::FrotBiTapPivot,
          &TPARAMPHYS::FrotBiTapRoule, &TPARAMPHYS::FrotBiTapChoc, &TPARAMPHYS::FrotBiBi,
          &TPARAMPHYS::FrotBiBde, &TPARAMPHYS::FrotQueueBille, &TPARAMPHYS::ElastBiTap,
          &TPARAMPHYS::ElastBiBi, &TPARAMPHYS::ElastBiBde, &TPARAMPHYS::PerteEcQB, &TPARAMPHYS::dtAnal,
          &TPARAMPHYS::dtEnr, &TPARAMPHYS::G})
        this->*p = BorneParam(this->*p, PlageParam(p));
    const double r = RayonBilles;
    Rayon2 = r * r;
    Diametre = 2 * r;
    Diametre2 = Diametre * Diametre;
    // the nose is never below the ball centre nor above the ball
    if (HautBdes > Diametre)
        HautBdes = 0.98 * Diametre;
    else if (!(HautBdes >= r))
        HautBdes = r;
    // tip offset at which the contact normal leaves the friction cone of the tip
    const double f = FrotQueueBille;
    const double deport = r * f / std::sqrt(f * f + 1);
    DeportMax2 = deport * deport;
    CalculBandes();
}

void TPARAMPHYS::CalculBandes() {
    const double l = largeurJeu;
    const double h = HautBdes;
    Bandes[0] = {Vecteur(0, 1, 0), Vecteur(l / 2, 0, h), Vecteur(-1, 0, 0), 1};
    Bandes[1] = {Vecteur(0, -1, 0), Vecteur(-l / 2, 0, h), Vecteur(1, 0, 0), 3};
    Bandes[2] = {Vecteur(-1, 0, 0), Vecteur(0, l, h), Vecteur(0, -1, 0), 2};
    Bandes[3] = {Vecteur(1, 0, 0), Vecteur(0, -l, h), Vecteur(0, 1, 0), 4};
}
