// The successes of a difficulty evaluation gathered over two of the six cue parameters: for
// every pair of offsets (kx, ky), the trials played and the trials that made the point, the
// other four parameters summed over. What the heat map of the difficulty window draws. No Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "moteurs/EvaluationDifficulte.h"

struct TCarteReussites {
    int ParamX = peEffet;
    int ParamY = peHauteur;
    int NbX = 1;  // 2 × NbEssais + 1 of each axis
    int NbY = 1;
    // NbX × NbY counts, row by row from ky = −NbEssais: index (ky + nY) × NbX + (kx + nX)
    std::vector<std::int64_t> Essais;
    std::vector<std::int64_t> Reussis;

    // axis index (0 .. Nb − 1) of an offset, and back
    int DecalageX(int ix) const { return ix - NbX / 2; }
    int DecalageY(int iy) const { return iy - NbY / 2; }
    std::int64_t EssaisEn(int ix, int iy) const { return Essais[std::size_t(iy) * NbX + ix]; }
    std::int64_t ReussisEn(int ix, int iy) const { return Reussis[std::size_t(iy) * NbX + ix]; }
    // share of the trials that made the point, 0..1; −1 where no trial was played
    double Taux(int ix, int iy) const;
    std::int64_t TotalEssais() const;
    std::int64_t TotalReussis() const;
};

// Counts over the axes paramX and paramY (different rows of the grid) the trials of a complete
// calculation and its successful cells (TEvaluationDifficulte::Reussites, cells in the grid's
// numbering). The grid is taken as the evaluation bounded it; the speeds and masses below 0.1 that
// the evaluation skips are not trials here either.
TCarteReussites CompteCarte(const TGrilleDifficulte& grille, const TQueueDegres& queue,
                            const std::vector<std::int64_t>& reussites, int paramX, int paramY);
