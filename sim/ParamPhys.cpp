#include "sim/ParamPhys.h"

#include <algorithm>
#include <cmath>
#include <limits>

TPlageParam PlageParam(double TConstantesPhys::*p) {
    using T = TConstantesPhys;
    if (p == &T::largeurJeu) return {10, 1000};
    if (p == &T::RayonBilles) return {0.001, 20};
    if (p == &T::MasseBilles) return {1, 100000};
    if (p == &T::VzRebondNul) return {0, 1000};
    // the physics divides by these three
    if (p == &T::FrotBiTapGlisse || p == &T::FrotBiTapPivot || p == &T::FrotBiTapRoule)
        return {PlancherParam, 10};
    if (p == &T::FrotBiTapChoc || p == &T::FrotBiBi || p == &T::FrotBiBde) return {0, 10};
    if (p == &T::FrotQueueBille) return {0.001, 10};
    if (p == &T::ElastBiTap || p == &T::ElastBiBi || p == &T::ElastBiBde || p == &T::PerteEcQB ||
        p == &T::ElastMathavan)
        return {0, 1};
    if (p == &T::FrotMathavan) return {0, 10};
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
    Change(TConstantesPhys{});
    NomFichierFisik.clear();
}

void TPARAMPHYS::SetParam(int index, double valeur) {
    switch (index) {
        case 0:
            c_.largeurJeu = valeur;
            break;
        case 1:
            c_.HautBdes = valeur;
            break;
        case 2:
            c_.RayonBilles = valeur;
            break;
        case 3:
            c_.FrotQueueBille = valeur;
            break;
        default:
            break;
    }
    BorneTout();
}

void TPARAMPHYS::Change(double TConstantesPhys::*constante, double valeur) {
    c_.*constante = valeur;
    BorneTout();
}

void TPARAMPHYS::ChangeModeleBande(TModeleBande modele) {
    c_.ModeleBande = modele;
    BorneTout();
}

void TPARAMPHYS::Change(const TConstantesPhys& constantes) {
    c_ = constantes;
    BorneTout();
}

void TPARAMPHYS::BorneTout() {
    using T = TConstantesPhys;
    for (double T::*p : {&T::largeurJeu,     &T::RayonBilles,     &T::MasseBilles,
                         &T::VzRebondNul,    &T::FrotBiTapGlisse, &T::FrotBiTapPivot,
                         &T::FrotBiTapRoule, &T::FrotBiTapChoc,   &T::FrotBiBi,
                         &T::FrotBiBde,      &T::FrotQueueBille,  &T::ElastBiTap,
                         &T::ElastBiBi,      &T::ElastBiBde,      &T::PerteEcQB,
                         &T::dtAnal,         &T::dtEnr,           &T::G,
                         &T::ElastMathavan,  &T::FrotMathavan})
        c_.*p = BorneParam(c_.*p, PlageParam(p));
    // a model this program does not know (a byte from elsewhere) is today's
    if (c_.ModeleBande != mbImpulsion && c_.ModeleBande != mbMathavan) c_.ModeleBande = mbImpulsion;
    const double r = c_.RayonBilles;
    rayon2_ = r * r;
    diametre_ = 2 * r;
    diametre2_ = diametre_ * diametre_;
    // the nose is never below the ball centre nor above the ball
    if (c_.HautBdes > diametre_)
        c_.HautBdes = 0.98 * diametre_;
    else if (!(c_.HautBdes >= r))
        c_.HautBdes = r;
    // tip offset at which the contact normal leaves the friction cone of the tip
    const double f = c_.FrotQueueBille;
    const double deport = r * f / std::sqrt(f * f + 1);
    deportMax2_ = deport * deport;
    CalculBandes();
}

void TPARAMPHYS::CalculBandes() {
    const double l = c_.largeurJeu;
    const double h = c_.HautBdes;
    bandes_[0] = {Vecteur(0, 1, 0), Vecteur(l / 2, 0, h), Vecteur(-1, 0, 0), 1};
    bandes_[1] = {Vecteur(0, -1, 0), Vecteur(-l / 2, 0, h), Vecteur(1, 0, 0), 3};
    bandes_[2] = {Vecteur(-1, 0, 0), Vecteur(0, l, h), Vecteur(0, -1, 0), 2};
    bandes_[3] = {Vecteur(1, 0, 0), Vecteur(0, -l, h), Vecteur(0, 1, 0), 4};
}
