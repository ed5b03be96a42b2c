// A complete shot handed over by another program: 15 little-endian 32-bit floats in a block of
// exactly 60 bytes, and the local socket that carries it. No Qt: the desktop program and the
// command line share it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// the cue values and the three ball centres, in the order of the block
struct TCopieCoup {
    float Effet = 0;                   // cm
    float Hauteur = 0;                 // cm
    float Visee = 0;                   // degrees
    float Vitesse = 0;                 // cm/s
    float Inclinaison = 0;             // degrees (ignored by the cue outside [0, 90))
    float Masse = 0;                   // g
    std::array<float, 3> Joueur{};     // centre of the player's ball
    std::array<float, 3> NonJoueur{};  // centre of the other cue ball
    std::array<float, 3> Rouge{};      // centre of the red ball

    friend bool operator==(const TCopieCoup&, const TCopieCoup&) = default;
};

inline constexpr std::size_t NbValeursCopieCoup = 15;
inline constexpr std::size_t TailleCopieCoup = NbValeursCopieCoup * 4;

std::array<float, NbValeursCopieCoup> ValeursCopieCoup(const TCopieCoup& coup);
TCopieCoup CopieCoupDepuisValeurs(const std::array<float, NbValeursCopieCoup>& v);

std::array<unsigned char, TailleCopieCoup> EncodeCopieCoup(const TCopieCoup& coup);
// False with a French reason when the block is not exactly 60 bytes or holds a NaN or an infinity;
// then coup is left untouched.
bool DecodeCopieCoup(std::string_view bloc, TCopieCoup& coup, std::string* erreur = nullptr);

// name of the local socket: the program and the user, so two users never share it
std::string NomServeurCoup();
// the folder only the user may enter that holds it: $XDG_RUNTIME_DIR when set, else
// velmora3d-UID in the temporary folder ($TMPDIR, else /tmp)
std::string DossierServeurCoup();
// its path: that folder followed by the name
std::string CheminServeurCoup();
// Before listening on chemin: its folder is created (mode 0700) when missing, then must be a real
// folder owned by the user that group and others cannot enter, and a file already at chemin must
// be the user's. False with the reason (French) otherwise.
bool PrepareDossierServeurCoup(const std::string& chemin, std::string* erreur = nullptr);
