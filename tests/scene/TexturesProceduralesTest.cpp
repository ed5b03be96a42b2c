// The renderer's noise texture: a seam where it repeats, or a channel stuck at one grey, would
// show on the cloth and the wood.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "scene/TexturesProcedurales.h"

namespace {
// mean difference between neighbours across the texture's wrap, and between neighbours inside it
std::pair<double, double> Ecarts(const TTextureBruits& t, int c, bool enX) {
    double bord = 0, dedans = 0;
    const int n = t.Cote;
    for (int i = 0; i < n; ++i) {
        const auto a = [&](int u, int v) { return enX ? t.Texel(u, v, c) : t.Texel(v, u, c); };
        bord += std::abs(int(a(n - 1, i)) - int(a(0, i)));
        dedans += std::abs(int(a(n / 2 - 1, i)) - int(a(n / 2, i)));
    }
    return {bord / n, dedans / n};
}
}  // namespace

TEST(TexturesProcedurales, EveryChannelTilesWithoutASeamAndSpansTheGreys) {
    const TTextureBruits t = TextureBruits(128);
    ASSERT_EQ(t.Rgba.size(), size_t(128 * 128 * 4));
    for (int c = 0; c < 4; ++c) {
        for (bool enX : {true, false}) {
            const auto [bord, dedans] = Ecarts(t, c, enX);
            // across the wrap the texels follow each other as they do anywhere else
            EXPECT_LT(bord, 2.5 * dedans + 2) << "canal " << c << (enX ? " en x" : " en y");
        }
        int mini = 255, maxi = 0;
        double somme = 0;
        for (size_t k = size_t(c); k < t.Rgba.size(); k += 4) {
            mini = std::min(mini, int(t.Rgba[k]));
            maxi = std::max(maxi, int(t.Rgba[k]));
            somme += t.Rgba[k];
        }
        // around the middle grey, so that a finish keeps its material's colour on average
        EXPECT_NEAR(somme / (128.0 * 128.0), 127.5, 12) << "canal " << c;
        EXPECT_GT(maxi - mini, 120) << "canal " << c;
    }
}

TEST(TexturesProcedurales, TheSameSeedGivesTheSameBytesAndAnotherSeedOthers) {
    EXPECT_EQ(TextureBruits(64, 3).Rgba, TextureBruits(64, 3).Rgba);
    EXPECT_NE(TextureBruits(64, 3).Rgba, TextureBruits(64, 4).Rgba);
    // the fibres run along y: neighbours along y are closer than across
    const TTextureBruits t = TextureBruits(128);
    double enX = 0, enY = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            enX += std::abs(int(t.Texel(x + 1, y, 1)) - int(t.Texel(x, y, 1)));
            enY += std::abs(int(t.Texel(x, y + 1, 1)) - int(t.Texel(x, y, 1)));
        }
    EXPECT_LT(enY * 3, enX);
}
