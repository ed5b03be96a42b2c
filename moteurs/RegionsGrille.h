// The solver's grid of cue settings and its regions: a regular grid of up to five dimensions (aim,
// speed, side, height, inclination; aim outermost, optionally wrapping round the circle), each
// cell holding the code of the route its stroke makes; a region is a connected set of cells of one
// code, and its centre the stroke deepest inside it. The strokes of one route found in separate
// regions are its variants.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

// cell codes that are no route: the point missed (0), a stroke that was not played (below the
// speed floor, beyond the miscue limit) or not judged (the search stopped first)
inline constexpr std::uint64_t CodeNonJoue = std::numeric_limits<std::uint64_t>::max();
inline constexpr std::uint64_t CodeNonJuge = CodeNonJoue - 1;
inline constexpr bool EstRoute(std::uint64_t code) { return code != 0 && code < CodeNonJuge; }

struct TGrilleN {
    std::array<int, 5> Dims{1, 1, 1, 1, 1};
    bool BoucleVisee = false;

    std::int64_t Taille() const;
    std::array<int, 5> Coords(std::int64_t i) const;
    std::int64_t Index(const std::array<int, 5>& c) const;
    // the neighbour one step along dimension d (sens ±1), or −1 off the grid
    std::int64_t Voisin(const std::array<int, 5>& c, int d, int sens) const;
};

struct TRegion {
    std::uint64_t Code = 0;
    std::vector<std::int64_t> Cellules;  // in index order of discovery
};

// every region of each route (same code, neighbours along one dimension), the widest first; equal
// widths in the order met (by index)
std::map<std::uint64_t, std::vector<TRegion>> RegionsParRoute(const TGrilleN& g,
                                                              const std::vector<std::uint64_t>& codes);
// the widest region of each route
std::map<std::uint64_t, TRegion> PlusGrandesRegions(const TGrilleN& g,
                                                    const std::vector<std::uint64_t>& codes);

// The region's centre: the cell farthest (in steps) from its edge; among those the slowest, then
// the one nearest their mean, then the first in index order.
std::int64_t Centre(const TGrilleN& g, const TRegion& r);
