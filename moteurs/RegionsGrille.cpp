#include "moteurs/RegionsGrille.h"

#include <algorithm>
#include <deque>

std::int64_t TGrilleN::Taille() const {
    std::int64_t n = 1;
    for (int d : Dims) n *= d;
    return n;
}

std::array<int, 5> TGrilleN::Coords(std::int64_t i) const {
    std::array<int, 5> c{};
    for (int d = 4; d >= 0; --d) {
        c[d] = int(i % Dims[d]);
        i /= Dims[d];
    }
    return c;
}

std::int64_t TGrilleN::Index(const std::array<int, 5>& c) const {
    std::int64_t i = 0;
    for (int d = 0; d < 5; ++d) i = i * Dims[d] + c[d];
    return i;
}

std::int64_t TGrilleN::Voisin(const std::array<int, 5>& c, int d, int sens) const {
    std::array<int, 5> v = c;
    v[d] += sens;
    if (v[d] < 0 || v[d] >= Dims[d]) {
        if (d != 0 || !BoucleVisee || Dims[0] < 3) return -1;
        v[d] = (v[d] + Dims[d]) % Dims[d];
    }
    return Index(v);
}

std::map<std::uint64_t, std::vector<TRegion>> RegionsParRoute(const TGrilleN& g,
                                                              const std::vector<std::uint64_t>& codes) {
    std::map<std::uint64_t, std::vector<TRegion>> regions;
    std::vector<char> vu(codes.size(), 0);
    std::vector<std::int64_t> pile;
    for (std::int64_t i = 0; i < std::int64_t(codes.size()); ++i) {
        if (vu[i] || !EstRoute(codes[i])) continue;
        TRegion r;
        r.Code = codes[i];
        vu[i] = 1;
        pile.assign(1, i);
        while (!pile.empty()) {
            const std::int64_t c = pile.back();
            pile.pop_back();
            r.Cellules.push_back(c);
            const auto k = g.Coords(c);
            for (int d = 0; d < 5; ++d)
                for (int s : {-1, 1}) {
                    const std::int64_t v = g.Voisin(k, d, s);
                    if (v < 0 || vu[v] || codes[v] != r.Code) continue;
                    vu[v] = 1;
                    pile.push_back(v);
                }
        }
        regions[r.Code].push_back(std::move(r));
    }
    for (auto& [code, liste] : regions)
        std::stable_sort(liste.begin(), liste.end(), [](const TRegion& a, const TRegion& b) {
            return a.Cellules.size() > b.Cellules.size();
        });
    return regions;
}

std::map<std::uint64_t, TRegion> PlusGrandesRegions(const TGrilleN& g,
                                                    const std::vector<std::uint64_t>& codes) {
    std::map<std::uint64_t, TRegion> meilleures;
    for (auto& [code, liste] : RegionsParRoute(g, codes)) meilleures[code] = std::move(liste.front());
    return meilleures;
}

namespace {

// each cell's depth: 1 on the edge (a neighbour outside the region or off the grid), then one more
// per step inwards
std::map<std::int64_t, int> Profondeurs(const TGrilleN& g, const TRegion& r) {
    std::map<std::int64_t, int> profondeur;
    for (std::int64_t c : r.Cellules) profondeur[c] = 0;
    std::deque<std::int64_t> file;
    for (std::int64_t c : r.Cellules) {
        const auto k = g.Coords(c);
        bool bord = false;
        for (int d = 0; d < 5 && !bord; ++d) {
            if (g.Dims[d] == 1) continue;
            for (int s : {-1, 1}) {
                const std::int64_t v = g.Voisin(k, d, s);
                if (v < 0 || !profondeur.count(v)) bord = true;
            }
        }
        if (bord) {
            profondeur[c] = 1;
            file.push_back(c);
        }
    }
    while (!file.empty()) {
        const std::int64_t c = file.front();
        file.pop_front();
        const auto k = g.Coords(c);
        for (int d = 0; d < 5; ++d)
            for (int s : {-1, 1}) {
                const std::int64_t v = g.Voisin(k, d, s);
                if (v < 0) continue;
                auto it = profondeur.find(v);
                if (it == profondeur.end() || it->second != 0) continue;
                it->second = profondeur[c] + 1;
                file.push_back(v);
            }
    }
    return profondeur;
}

// among the deepest cells: the slowest, then the one nearest their mean (the aim taken relative
// to the first one, as it may wrap), then the first in index order
std::int64_t Choisit(const TGrilleN& g, const std::vector<std::int64_t>& candidats) {
    const auto k0 = g.Coords(candidats.front());
    const auto relatif = [&](std::int64_t c) {
        auto k = g.Coords(c);
        std::array<double, 5> x{};
        for (int d = 0; d < 5; ++d) x[d] = k[d];
        if (g.BoucleVisee) {
            int da = k[0] - k0[0];
            if (da > g.Dims[0] / 2) da -= g.Dims[0];
            if (da < -g.Dims[0] / 2) da += g.Dims[0];
            x[0] = k0[0] + da;
        }
        return x;
    };
    std::array<double, 5> moyenne{};
    for (std::int64_t c : candidats) {
        const auto x = relatif(c);
        for (int d = 0; d < 5; ++d) moyenne[d] += x[d] / double(candidats.size());
    }
    std::int64_t choisi = candidats.front();
    double meilleur = std::numeric_limits<double>::max();
    int vitesseMin = std::numeric_limits<int>::max();
    for (std::int64_t c : candidats) {
        const auto x = relatif(c);
        const int v = g.Coords(c)[1];
        double d2 = 0;
        for (int d = 0; d < 5; ++d) d2 += (x[d] - moyenne[d]) * (x[d] - moyenne[d]);
        if (v < vitesseMin || (v == vitesseMin && d2 < meilleur)) {
            vitesseMin = v;
            meilleur = d2;
            choisi = c;
        }
    }
    return choisi;
}

}  // namespace

std::int64_t Centre(const TGrilleN& g, const TRegion& r) {
    const std::map<std::int64_t, int> profondeur = Profondeurs(g, r);
    int pMax = 0;
    for (const auto& [c, p] : profondeur) pMax = std::max(pMax, p);
    std::vector<std::int64_t> candidats;
    for (const auto& [c, p] : profondeur)
        if (p == pMax) candidats.push_back(c);
    return Choisit(g, candidats);
}
