// The physical constants of the model (the table, the balls, friction, restitution, time steps)
// (their file is read and written by fichiers/FichierFisik). One instance per simulation object.
#pragma once

#include <array>
#include <string>

#include "sim/ProcsVecteurs.h"

// a cushion: its nose line (a point and a direction) and the normal pointing into the table
struct TBande {
    TVecteur Direction;
    TVecteur Point;
    TVecteur Normale;
    int Numero = 0;

    friend bool operator==(const TBande&, const TBande&) = default;
};

class TPARAMPHYS {
public:
    TPARAMPHYS();

    // published properties, in declaration order
    double largeurJeu;       // cm, width of the playing surface (length is twice this)
    double HautBdes;         // cm, height of the cushion nose above the cloth
    double RayonBilles;      // cm
    double MasseBilles;      // g
    double VzRebondNul;      // cm/s, landing rebound below which the ball stays on the cloth
    double FrotBiTapGlisse;  // ball-cloth sliding friction
    double FrotBiTapPivot;   // ball-cloth spin friction
    double FrotBiTapRoule;   // ball-cloth rolling resistance
    double FrotBiTapChoc;    // ball-cloth friction during an impact
    double FrotBiBi;         // ball-ball friction
    double FrotBiBde;        // ball-cushion friction
    double FrotQueueBille;   // cue tip-ball friction
    double ElastBiTap;       // ball-cloth restitution
    double ElastBiBi;        // ball-ball restitution
    double ElastBiBde;       // ball-cushion restitution
    double PerteEcQB;        // share of kinetic energy lost in the cue impact
    double dtAnal;           // s, longest analysis step
    double dtEnr;            // s, recording interval of clock photos
    double TLIM;             // s, stored with the file only
    double G;                // cm/s2
    double DeportMax2 = 0;   // cm2, square of the largest tip offset that does not miscue (read-only)

    // derived
    double Diametre = 0;
    double Rayon2 = 0;
    double Diametre2 = 0;
    std::array<TBande, 4> Bandes{};
    std::string NomFichierFisik;

    // factory values; clears NomFichierFisik
    void ValeursUsine();
    // The one place the constants are bounded: every constant into its range (PlageParam), the
    // cushion height between the radius and the diameter, then the derived fields. Reading a
    // parameter file, SetParam and the tuning window go through it; a shot only reads the
    // constants, and counts on them being bounded (assign directly, then call this).
    void BorneTout();
    // 0 largeurJeu, 1 HautBdes, 2 RayonBilles, 3 FrotQueueBille; then BorneTout
    void SetParam(int index, double valeur);
    void CalculBandes();

    friend bool operator==(const TPARAMPHYS&, const TPARAMPHYS&) = default;
};

// floor that keeps unbounded constants finite and positive where the physics divides by them
inline constexpr double PlancherParam = 0.001;

// The range a constant may take: wide enough for any table, ball or cloth worth simulating,
// narrow enough that no product of the physics overflows (a restitution above 1 would create
// energy, a friction of 1e300 infinities).
struct TPlageParam {
    double Min;
    double Max;
};
// the range of a published constant (DeportMax2 and HautBdes, derived, are not limited here)
TPlageParam PlageParam(double TPARAMPHYS::*propriete);
// the value brought to the nearest bound; not a number gives the lower bound
double BorneParam(double valeur, TPlageParam plage);
