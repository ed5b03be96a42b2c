#include "sim/C1_Types.h"

const char* TexteMouvement(int valeur) {
    switch (valeur) {
        case mvVole: return "(Vole)";
        case mvGlisse: return "(Glisse)";
        case mvRoule: return "(Roule)";
        case mvPivote: return "(Pivote)";
        case mvArret: return "(Arrêt)";
        case mvDehors: return "(Dehors)";
        default: return "(?)";
    }
}

const char* TexteTypeChoc(int valeur) {
    switch (valeur) {
        case tcAucun: return "aucun";
        case tcBilleBille: return "Bille/Bille";
        case tcBilleTapis: return "Bille/Tapis";
        case tcBilleBande: return "Bille/Bande";
        default: return "?";
    }
}

const char* TexteModeDeJeu(int valeur) {
    switch (valeur) {
        case jLibre: return "Libre";
        case j1Bande: return "1 bandes";
        case j3Bandes: return "3 bandes";
        default: return "?";
    }
}
