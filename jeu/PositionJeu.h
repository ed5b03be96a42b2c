// A position as the program holds it: the cue values of its 3D cue and the centres of its three
// balls, with the rules it applies when it opens a position file (the tip height of older files
// converted, the cue through its limits, the balls kept on the table and apart) and when it saves
// one. The desktop program, the command line and the fuzz targets open a file through these steps
// and get the same shot.
#pragma once

#include <array>
#include <string>

#include "jeu/FichiersPosition.h"
#include "jeu/Queue.h"
#include "jeu/TableJeu.h"

// a camera as a position file stores it: its place in its parent's frame and its target's
struct TPlacementCamera {
    std::array<float, 3> Position{};
    std::array<float, 3> Cible{};
};
// the two cameras of the table as the program starts: over the centre looking down, and the
// mobile one, placed relative to its target
inline constexpr TPlacementCamera CamFixeDepart{{0, 0, 600}, {0, 0, 0}};
inline constexpr TPlacementCamera CamMobileDepart{{300, 0, 300}, {0, 0, 0}};

// the keys of the section over the camera's present placement
TPlacementCamera PlacementLu(const TSectionGLBillard& vue, const TPlacementCamera& present);

struct TPositionJeu {
    TQueueDegres Queue;
    // player's ball, the other cue ball, the red
    std::array<TCentreBille, 3> Billes{};
};

// the simulation's photo 0 positions of the centres, widened exactly
std::array<TVecteur, 3> PositionsSimu(const std::array<TCentreBille, 3>& billes);
std::array<TCentreBille, 3> CentresDepuisSimu(const std::array<TVecteur, 3>& positions);

// What the program's cue and balls hold once they take a position file's stored values from the
// cue `avant`: the tip height converted when the file lacks Hrelatif, the cue through its limits,
// the balls through the table's load rule.
TPositionJeu PositionPrise(const TParamQueue& queue, const std::array<TVecteur, 3>& positions,
                           const TSectionGLBillard& vue, const TQueueDegres& avant,
                           const TTableJeu& table = TTableJeu());

// A position file as the program opens it: its cue and balls taken by the program's models, its view
// section, and the parameter file it names.
struct TPositionOuverte {
    TPositionJeu Position;
    TSectionGLBillard Vue;
    std::string CheminFisik;  // the parameter file it names, when it exists; empty otherwise
};
// Read over the program's present state: the simulation's cue fields (the file's missing "Vq" and
// "m" keep theirs), the 3D cue (an inclination it refuses keeps its own) and the table the balls
// are placed on. False with the reason when the file is not a position (nothing changes then).
bool LitPositionJeu(const std::string& nomFichier, const TParamQueue& queueSimu, const TQueueDegres& queue,
                    const TTableJeu& table, TPositionOuverte& ouverte, std::string* erreur = nullptr);
// ... as the program opens it at start: its opening cue, the simulation before its first shot
bool LitPositionJeu(const std::string& nomFichier, TPositionOuverte& ouverte, std::string* erreur = nullptr);
// the view the program saves right after opening it: the file's camera keys over the opening
// camera of its kind, and the parameter file it named when that file could be read
TSectionGLBillard VueOuverte(const TPositionOuverte& ouverte);

// Writes a position file as the program saves one: [Queue] and [Positions] from the position, then
// the view section (Hrelatif always true). An existing file keeps its other entries. False with
// the reason when it cannot be written (then it is as it was).
bool SauvePositionJeu(const std::string& nomFichier, const TPositionJeu& position,
                      const TSectionGLBillard& vue, std::string* erreur = nullptr);
