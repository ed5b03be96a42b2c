#include "jeu/EchelleVitesse.h"

int NiveauVitesse(double vitesseQueue) {
    int niveau = 1;
    for (double seuil : SeuilsVitesse)
        if (vitesseQueue >= seuil) ++niveau;
    return niveau;
}

const char* MotVitesse(int niveau) {
    if (niveau <= 3) return "douce";
    if (niveau <= 6) return "moyenne";
    if (niveau <= 8) return "forte";
    return "très forte";
}

std::string TexteVitesse(double vitesseQueue) {
    const int n = NiveauVitesse(vitesseQueue);
    return std::to_string(n) + "/" + std::to_string(NiveauVitesseMax) + " (" + MotVitesse(n) + ")";
}
