// The solver's regions: strokes of one exact sequence found apart are one route with its widest
// region first, sequences that differ only by which long cushion are two routes, and a region's
// centre is its deepest stroke.
#include <gtest/gtest.h>

#include "moteurs/RegionsGrille.h"
#include "moteurs/VerdictAnticipe.h"

namespace {

std::uint64_t Code(std::initializer_list<int> contacts) {
    TSequenceContacts s;
    for (int c : contacts) s.Ajoute(c);
    return s.Code();
}

}  // namespace

TEST(RegionsGrille, OneSequenceFoundInThreePlacesIsOneRouteWidestFirst_AnotherLongCushionIsAnotherRoute) {
    // a row of aims: Jaune, longue droite, courte du haut, longue gauche, Rouge in three separate
    // stretches; the same with the two long cushions swapped once
    const std::uint64_t a = Code({ContactBille2, 1, 2, 3, ContactRouge});
    const std::uint64_t b = Code({ContactBille2, 3, 2, 1, ContactRouge});
    ASSERT_NE(a, b);
    const std::vector<std::uint64_t> codes = {a, 0, a, a, a, 0, CodeNonJoue, a, a, 0, b, b, CodeNonJuge, 0};
    TGrilleN g;
    g.Dims = {int(codes.size()), 1, 1, 1, 1};
    const auto routes = RegionsParRoute(g, codes);
    ASSERT_EQ(routes.size(), 2u);
    const std::vector<TRegion>& ra = routes.at(a);
    ASSERT_EQ(ra.size(), 3u);
    EXPECT_EQ(ra[0].Cellules, (std::vector<std::int64_t>{2, 3, 4}));
    EXPECT_EQ(ra[1].Cellules, (std::vector<std::int64_t>{7, 8}));
    EXPECT_EQ(ra[2].Cellules, (std::vector<std::int64_t>{0}));
    EXPECT_EQ(routes.at(b).size(), 1u);
    EXPECT_EQ(PlusGrandesRegions(g, codes).at(a).Cellules, ra[0].Cellules);
    // round the circle of aim, the first and last stretches join
    g.BoucleVisee = true;
    const std::vector<std::uint64_t> boucle = {a, a, 0, a, 0, a};
    g.Dims = {int(boucle.size()), 1, 1, 1, 1};
    EXPECT_EQ(RegionsParRoute(g, boucle).at(a).front().Cellules.size(), 3u);
}

TEST(RegionsGrille, TheCentreIsTheDeepestStroke_TheSlowestAmongEquals) {
    // aim × speed, a 5 × 3 block of one route: the middle row's middle is deepest
    TGrilleN g;
    g.Dims = {7, 5, 1, 1, 1};
    std::vector<std::uint64_t> codes(size_t(g.Taille()), 0);
    TRegion r;
    r.Code = 9;
    for (int v = 1; v <= 5; ++v)
        for (int s = 1; s <= 3; ++s) {
            const std::int64_t i = g.Index({v, s, 0, 0, 0});
            codes[size_t(i)] = 9;
            r.Cellules.push_back(i);
        }
    EXPECT_EQ(g.Coords(Centre(g, r)), (std::array<int, 5>{3, 2, 0, 0, 0}));
    // a block across every speed: its deepest strokes span three speeds, the slowest wins, then
    // the first of the two aims equally near the mean
    r.Cellules.clear();
    for (int v = 1; v <= 4; ++v)
        for (int s = 0; s <= 4; ++s) r.Cellules.push_back(g.Index({v, s, 0, 0, 0}));
    EXPECT_EQ(g.Coords(Centre(g, r)), (std::array<int, 5>{2, 1, 0, 0, 0}));
}
