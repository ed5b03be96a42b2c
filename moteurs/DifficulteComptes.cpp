#include "moteurs/DifficulteComptes.h"

#include <array>

namespace {

// the offsets of one row that are trials: all of them, except speeds and masses below the threshold
std::vector<char> Joues(const TGrilleDifficulte& grille, const TQueueDegres& queue, int param) {
    const int n = grille.NbEssais[param];
    std::vector<char> joue(std::size_t(2 * n + 1), 1);
    if (param != peVitesse && param != peMasse) return joue;
    for (int i = 0; i <= 2 * n; ++i) {
        // the value as the evaluation computes it, in double
        const int k = i - n;
        const double v = double(queue.Valeur(param)) + k * double(grille.Increment[param]);
        joue[std::size_t(i)] = v >= SeuilVitesseMasse;
    }
    return joue;
}

}  // namespace

double TCarteReussites::Taux(int ix, int iy) const {
    const std::int64_t n = EssaisEn(ix, iy);
    return n > 0 ? double(ReussisEn(ix, iy)) / double(n) : -1.0;
}

std::int64_t TCarteReussites::TotalEssais() const {
    std::int64_t t = 0;
    for (std::int64_t n : Essais) t += n;
    return t;
}

std::int64_t TCarteReussites::TotalReussis() const {
    std::int64_t t = 0;
    for (std::int64_t n : Reussis) t += n;
    return t;
}

TCarteReussites CompteCarte(const TGrilleDifficulte& grille, const TQueueDegres& queue,
                            const std::vector<std::int64_t>& reussites, int paramX, int paramY) {
    TCarteReussites c;
    c.ParamX = paramX;
    c.ParamY = paramY;
    c.NbX = 2 * grille.NbEssais[paramX] + 1;
    c.NbY = 2 * grille.NbEssais[paramY] + 1;
    const std::size_t taille = std::size_t(c.NbX) * std::size_t(c.NbY);
    c.Essais.assign(taille, 0);
    c.Reussis.assign(taille, 0);

    // trials per cell: the other four rows multiply, each by its offsets that are played
    std::array<std::vector<char>, NbParamsEssai> joues;
    std::int64_t autres = 1;
    for (int p = 0; p < NbParamsEssai; ++p) {
        joues[p] = Joues(grille, queue, p);
        if (p == paramX || p == paramY) continue;
        std::int64_t n = 0;
        for (char j : joues[p]) n += j;
        autres *= n;
    }
    for (int iy = 0; iy < c.NbY; ++iy)
        for (int ix = 0; ix < c.NbX; ++ix)
            if (joues[paramX][std::size_t(ix)] && joues[paramY][std::size_t(iy)])
                c.Essais[std::size_t(iy) * c.NbX + ix] = autres;

    // successes: each successful cell's offsets on the two axes
    for (std::int64_t cellule : reussites) {
        const TDecalages k = DecalagesCellule(grille, cellule);
        const int ix = k[paramX] + c.NbX / 2;
        const int iy = k[paramY] + c.NbY / 2;
        ++c.Reussis[std::size_t(iy) * c.NbX + ix];
    }
    return c;
}
