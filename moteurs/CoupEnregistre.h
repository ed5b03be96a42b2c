// A real shot tracked from video: the centres of the three balls, about 50 times a second, as a CSV
// file ("ball,t,x,y", "#" comments). Reading refuses what cannot be a recording, naming the line;
// a computed shot can also be turned into such a recording (the tests' and the bench's shots).
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "sim/C1_Types.h"
#include "sim/ParamPhys.h"

// one sample of one ball: time (s from the first sample) and centre (cm, table frame)
struct TEchantillon {
    double t = 0;
    double x = 0;
    double y = 0;
};

struct TCoupEnregistre {
    // samples of balls 1..3 in time order (slot 0 unused); ball 1 is the struck ball
    std::array<std::vector<TEchantillon>, NbBilles + 1> Billes;

    int NbEchantillons() const;
    // time of the last sample of any ball
    double Duree() const;
};

// a tracked centre may stand this far beyond a cushion line (cm); further out it is refused
inline constexpr double MargeHorsTable = 10.0;
// the centre limits of the table the recordings are made on, the match table (cm)
inline constexpr double DemiLargeurEnregistree = LargeurJeuUsine / 2 - RayonBillesUsine;
inline constexpr double DemiLongueurEnregistree = LargeurJeuUsine - RayonBillesUsine;
// two balls' first centres nearer than this are one ball seen twice (cm: balls are 6.15 cm
// across, tracking noise a few millimetres)
inline constexpr double EcartMinEnregistre = 5.0;
// a shot lasts less than this (s); a later time is not a recording of one shot
inline constexpr double DureeMaxEnregistree = 600.0;

// Reads a recording; false with a French message naming the line when it is not one.
bool LitCoupEnregistre(std::istream& flux, TCoupEnregistre& coup, std::string* erreur = nullptr);
bool LitCoupEnregistre(const std::string& nomFichier, TCoupEnregistre& coup, std::string* erreur = nullptr);
// Writes a recording (6 decimals, "." whatever the locale), never half-written.
std::string TexteCoupEnregistre(const TCoupEnregistre& coup);
bool EcritCoupEnregistre(const std::string& nomFichier, const TCoupEnregistre& coup,
                         std::string* erreur = nullptr);

// How a tracker sees a computed shot: a sample every Periode, left out while the ball has moved
// less than SeuilMouvement since its last sample (each ball keeps its first and last samples),
// Gaussian noise of Bruit cm on each coordinate; the first sample comes Decalage s before the cue
// impact and the recording ends with the shot.
struct TOptionsEnregistrement {
    double Periode = 0.02;
    double SeuilMouvement = 0.2;
    double Bruit = 0.3;
    double Decalage = 0.02;
    std::uint32_t Graine = 1;
};

// the centre of a ball at time tau of a computed shot: photo 0 before it, the last photo after
// its end, linear between photos (ibase: a photo index at or before tau, to walk forward cheaply)
void PositionStock(const TStockTrajets& stock, int bille, double tau, int& ibase, double& x, double& y);

TCoupEnregistre EnregistreStock(const TStockTrajets& stock, const TOptionsEnregistrement& options = {});
