// The 3D billiard without a display: the scene, the two viewers and the billiard in the state
// the desktop program shows at start (opening position). The tests open position files through
// it, the program's own steps, to hold the game's reading (jeu/PositionJeu.h) to the same result.
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

    // the file's cue and balls through the 3D models, then into the simulation, ready for Joue;
    // false with the reason when the file cannot be read (a parameter file that cannot be read
    // gives true with the reason in *avertissement)
    bool ChargePosition(const std::string& nomFichier, std::string* erreur,
                        std::string* avertissement = nullptr);
};
