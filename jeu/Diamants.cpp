#include "jeu/Diamants.h"

#include "jeu/Decimales.h"

const char* NomBande(int numero) {
    switch (numero) {
        case 1:
            return "longue droite";
        case 2:
            return "courte du haut";
        case 3:
            return "longue gauche";
        case 4:
            return "courte du bas";
        default:
            return "";
    }
}

bool BandeLongue(int numero) { return numero == 1 || numero == 3; }

double DiamantSurBande(int numero, double x, double y, double largeur) {
    const double diamant = largeur / 4;
    // long cushions from the courte du bas (y = −W), short ones from the longue gauche (x = −W/2)
    return BandeLongue(numero) ? (y + largeur) / diamant : (x + largeur / 2) / diamant;
}

double CoordonneeDiamant(int numero, double diamant, double largeur) {
    const double pas = largeur / 4;
    return BandeLongue(numero) ? diamant * pas - largeur : diamant * pas - largeur / 2;
}

std::string TexteContactBande(int numero, double diamant, char separateur) {
    return std::string(NomBande(numero)) + " " + Decimales(diamant, 1, separateur);
}
