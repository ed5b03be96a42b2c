// The physical constants of the model (the table, the balls, friction, restitution, time steps)
// (their file is read and written by fichiers/FichierFisik). One instance per simulation object.
#pragma once

#include <array>
#include <cstdint>
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

// the match table: the one place its size is typed; the 3D models and the recordings derive theirs
inline constexpr double LargeurJeuUsine = 142.25;  // cm, the playing width (the length is twice this)
inline constexpr double HautBdesUsine = 3.7;       // cm
inline constexpr double RayonBillesUsine = 3.075;  // cm

// The ball-cushion collision: one impulse with restitution and limited friction at the nose, or
// the impact followed step by step in normal impulse, with slip at the nose and at the cloth
// (collisions/ChocBandeMathavan.h)
enum TModeleBande : std::uint8_t { mbImpulsion, mbMathavan };

// The published constants as they are given (a file, the tuning window, a calibration, a test):
// any values, the factory ones by default. TPARAMPHYS holds them bounded.
struct TConstantesPhys {
    double largeurJeu = LargeurJeuUsine;    // cm, width of the playing surface (length is twice this)
    double HautBdes = HautBdesUsine;        // cm, height of the cushion nose above the cloth
    double RayonBilles = RayonBillesUsine;  // cm
    double MasseBilles = 215;               // g
    double VzRebondNul = 0.5;               // cm/s, landing rebound below which the ball stays on the cloth
    double FrotBiTapGlisse = 0.15;          // ball-cloth sliding friction
    double FrotBiTapPivot = 0.015;          // ball-cloth spin friction
    double FrotBiTapRoule = 0.006;          // ball-cloth rolling resistance
    double FrotBiTapChoc = 0.2;             // ball-cloth friction during an impact
    double FrotBiBi = 0.03;                 // ball-ball friction
    double FrotBiBde = 0.3;                 // ball-cushion friction
    double FrotQueueBille = 0.9;            // cue tip-ball friction
    double ElastBiTap = 0.5;                // ball-cloth restitution
    double ElastBiBi = 0.87;                // ball-ball restitution
    double ElastBiBde = 0.8;                // ball-cushion restitution
    double PerteEcQB = 0.13;                // share of kinetic energy lost in the cue impact
    double dtAnal = 0.01;                   // s, longest analysis step
    double dtEnr = 0.05;                    // s, recording interval of clock photos
    double TLIM = 12;                       // s, stored with the file only
    double G = 981;                         // cm/s2
    // the cushion model, and the restitution and friction of the stepped one (its cloth friction
    // is FrotBiTapGlisse)
    TModeleBande ModeleBande = mbImpulsion;
    double ElastMathavan = 0.9;
    double FrotMathavan = 0.2;

    friend bool operator==(const TConstantesPhys&, const TConstantesPhys&) = default;
};

// The constants a shot reads: every one in its range and the derived fields computed from them.
// They change only through the writers below, each of which bounds them again, so a shot can
// count on them.
class TPARAMPHYS {
public:
    TPARAMPHYS();

    // the published constants, bounded
    const TConstantesPhys& Constantes() const { return c_; }
    double largeurJeu() const { return c_.largeurJeu; }
    double HautBdes() const { return c_.HautBdes; }
    double RayonBilles() const { return c_.RayonBilles; }
    double MasseBilles() const { return c_.MasseBilles; }
    double VzRebondNul() const { return c_.VzRebondNul; }
    double FrotBiTapGlisse() const { return c_.FrotBiTapGlisse; }
    double FrotBiTapPivot() const { return c_.FrotBiTapPivot; }
    double FrotBiTapRoule() const { return c_.FrotBiTapRoule; }
    double FrotBiTapChoc() const { return c_.FrotBiTapChoc; }
    double FrotBiBi() const { return c_.FrotBiBi; }
    double FrotBiBde() const { return c_.FrotBiBde; }
    double FrotQueueBille() const { return c_.FrotQueueBille; }
    double ElastBiTap() const { return c_.ElastBiTap; }
    double ElastBiBi() const { return c_.ElastBiBi; }
    double ElastBiBde() const { return c_.ElastBiBde; }
    double PerteEcQB() const { return c_.PerteEcQB; }
    double dtAnal() const { return c_.dtAnal; }
    double dtEnr() const { return c_.dtEnr; }
    double TLIM() const { return c_.TLIM; }
    double G() const { return c_.G; }
    TModeleBande ModeleBande() const { return c_.ModeleBande; }
    double ElastMathavan() const { return c_.ElastMathavan; }
    double FrotMathavan() const { return c_.FrotMathavan; }
    // cm2, square of the largest tip offset that does not miscue
    double DeportMax2() const { return deportMax2_; }

    // derived
    double Diametre() const { return diametre_; }
    double Rayon2() const { return rayon2_; }
    double Diametre2() const { return diametre2_; }
    const std::array<TBande, 4>& Bandes() const { return bandes_; }

    // the parameter file last read or written
    std::string NomFichierFisik;

    // factory values; clears NomFichierFisik
    void ValeursUsine();
    // 0 largeurJeu, 1 HautBdes, 2 RayonBilles, 3 FrotQueueBille
    void SetParam(int index, double valeur);
    // one constant
    void Change(double TConstantesPhys::*constante, double valeur);
    void ChangeModeleBande(TModeleBande modele);
    // every constant at once (a parameter file, a calibration)
    void Change(const TConstantesPhys& constantes);

    friend bool operator==(const TPARAMPHYS&, const TPARAMPHYS&) = default;

private:
    // The one place the constants are bounded, behind every writer: every constant into its
    // range (PlageParam), the cushion height between the radius and the diameter, then the
    // derived fields.
    void BorneTout();
    void CalculBandes();

    TConstantesPhys c_;
    double deportMax2_ = 0;
    double diametre_ = 0;
    double rayon2_ = 0;
    double diametre2_ = 0;
    std::array<TBande, 4> bandes_{};
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
// the range of a published constant (HautBdes, which follows the radius, is not limited here)
TPlageParam PlageParam(double TConstantesPhys::*constante);
// the value brought to the nearest bound; not a number gives the lower bound
double BorneParam(double valeur, TPlageParam plage);
