#include "jeu/Procedes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "jeu/Decimales.h"

namespace {

// sin 22.5°: a component shorter than this share of the offset gets no word
constexpr double PartMot = 0.3827;

std::string Procedes(double n, char separateur) {
    const std::string texte = DecimalesCourtes(n, 1, separateur);
    // French plural from two on
    return texte + (std::round(n * 10) >= 20 ? " procédés" : " procédé");
}

}  // namespace

double DeportSansFausseQueue(const TPARAMPHYS& fisik, double masseQueue) {
    double limite = std::sqrt(std::max(fisik.DeportMax2(), 0.0));
    // the impact's energy balance c = (1 − P) − k·P·m/M stays positive while
    // k = 1 + 2.5·d²/R² ≤ (1 − P)·M/(P·m)
    const double P = fisik.PerteEcQB(), M = fisik.MasseBilles(), R = fisik.RayonBilles();
    if (P > 0 && masseQueue > 0) {
        const double kMax = (1 - P) * M / (P * masseQueue);
        const double d2 = (kMax - 1) * R * R / 2.5;
        limite = std::min(limite, std::sqrt(std::max(d2, 0.0)));
    }
    return limite;
}

TProcede Procede(double effet, double hauteur, double deportMax) {
    TProcede p;
    const double d = std::hypot(effet, hauteur);
    const double procede = deportMax > 0 ? deportMax / ProcedesMax : 0;
    p.Procedes = procede > 0 ? d / procede : (d > 0 ? ProcedesMax + 1 : 0);
    // no offset at all is playable when the cue is too heavy for the ball (deportMax 0)
    p.FausseQueue = !(d <= deportMax) || !(deportMax > 0);
    p.Centre = p.Procedes < ProcedesCentre && !p.FausseQueue;
    if (p.Centre) return p;
    // clockwise from the top, seen from behind the cue
    double heure = std::atan2(effet, hauteur) * 6 / std::numbers::pi;
    if (heure <= 0) heure += 12;
    p.Heure = heure;
    p.HeureRonde = int(std::lround(heure));
    if (p.HeureRonde == 0) p.HeureRonde = 12;
    if (p.HeureRonde > 12) p.HeureRonde -= 12;
    p.Haut = hauteur >= PartMot * d;
    p.Bas = -hauteur >= PartMot * d;
    p.Droite = effet >= PartMot * d;
    p.Gauche = -effet >= PartMot * d;
    return p;
}

TEffetHauteur EffetHauteur(double heure, double procedes, double deportMax) {
    const double d = procedes * deportMax / ProcedesMax;
    const double angle = heure * std::numbers::pi / 6;
    return {d * std::sin(angle), d * std::cos(angle)};
}

std::string TexteProcedeCourt(const TProcede& p, char separateur) {
    if (p.FausseQueue) return "fausse queue (" + Procedes(p.Procedes, separateur) + ")";
    if (p.Centre) return "au centre";
    return Procedes(p.Procedes, separateur) + " à " + std::to_string(p.HeureRonde) + " h";
}

std::string TexteProcede(const TProcede& p, char separateur) {
    std::string texte = TexteProcedeCourt(p, separateur);
    if (p.FausseQueue || p.Centre) return texte;
    std::string mots;
    if (p.Haut) mots = "haut : coulé";
    if (p.Bas) mots = "bas : rétro";
    if (p.Droite || p.Gauche) {
        if (!mots.empty()) mots += ", ";
        mots += p.Droite ? "effet à droite" : "effet à gauche";
    }
    return texte + " (" + mots + ")";
}
