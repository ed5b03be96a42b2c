// The 3D billiard without a display: the scene, the two viewers and the billiard in the state
// the desktop program shows at start (opening position), for the tests that open and save
// position files as the program does.
#pragma once

#include <string>

#include "view3d/GLBillardVelmora.h"

class TBillardSansEcran {
public:
    TBillardSansEcran();

    TScene Scene;
    TVue VueTable{Scene};
    TVue VueQueue{Scene};
    TGLBillardVelmora Billard{Scene, VueTable, VueQueue};

    // the file's cue and balls on the 3D models and in the simulation, ready for Joue; false with
    // the reason when the file cannot be read (a parameter file that cannot be read gives true
    // with the reason in *avertissement)
    bool ChargePosition(const std::string& nomFichier, std::string* erreur,
                        std::string* avertissement = nullptr);
};
