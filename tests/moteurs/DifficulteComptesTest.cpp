#include <gtest/gtest.h>

#include <numbers>

#include "moteurs/DifficulteComptes.h"

namespace {

TGrilleDifficulte Grille(TDecalages n, std::array<float, NbParamsEssai> increments) {
    TGrilleDifficulte g;
    g.NbEssais = n;
    g.Increment = increments;
    return g;
}

// the opening position and cue of three-cushion play
std::unique_ptr<TBillardVelmora> Ouverture() {
    auto s = std::make_unique<TBillardVelmora>();
    const double r = s->Fisik.RayonBilles(), w = s->Fisik.largeurJeu();
    s->Trajets[1][0] = {Vecteur(18.25, -w / 2, r), VecteurNul, VecteurNul};
    s->Trajets[2][0] = {Vecteur(0, -w / 2, r), VecteurNul, VecteurNul};
    s->Trajets[3][0] = {Vecteur(0, w / 2, r), VecteurNul, VecteurNul};
    return s;
}

}  // namespace

TEST(DifficulteComptes, SkippedSpeedsAreNoTrialsAndTheOtherRowsMultiply) {
    // speed 15 with two steps of 10 on each side: -5 is not played, 5, 15, 25 and 35 are
    const TQueueDegres queue{0, 0, 90, 15, 0, 520};
    const TGrilleDifficulte g = Grille({1, 0, 2, 2, 0, 0}, {0.1f, 0.1f, 0.1f, 10, 2, 10});
    const TCarteReussites c = CompteCarte(g, queue, {}, peVitesse, peEffet);
    ASSERT_EQ(c.NbX, 5);
    ASSERT_EQ(c.NbY, 3);
    for (int iy = 0; iy < c.NbY; ++iy) {
        EXPECT_EQ(c.EssaisEn(0, iy), 0) << iy;
        EXPECT_DOUBLE_EQ(c.Taux(0, iy), -1.0);
        // the five aims of the rows not drawn
        for (int ix = 1; ix < c.NbX; ++ix) EXPECT_EQ(c.EssaisEn(ix, iy), 5) << ix << ' ' << iy;
    }
    EXPECT_EQ(c.TotalEssais(), 3 * 4 * 5);
    EXPECT_EQ(c.TotalReussis(), 0);
    // along another axis the skipped speed lowers every cell alike
    const TCarteReussites a = CompteCarte(g, queue, {}, peVisee, peEffet);
    EXPECT_EQ(a.EssaisEn(0, 0), 4);
}

TEST(DifficulteComptes, SuccessesLandOnTheOffsetsOfTheirCells) {
    const TQueueDegres queue{0, 0, 90, 300, 0, 520};
    const TGrilleDifficulte g = Grille({2, 1, 0, 1, 0, 0}, {0.1f, 0.1f, 0.1f, 10, 2, 10});
    // cells in loop order: Effet outermost, then Hauteur, then speed (3 × 3 cells per Effet)
    const std::int64_t derniere = g.NbTotal() - 1;
    const TCarteReussites c = CompteCarte(g, queue, {0, 1, derniere}, peEffet, peHauteur);
    EXPECT_EQ(c.ReussisEn(0, 0), 2);  // Effet -2, Hauteur -1, two speeds
    EXPECT_EQ(c.ReussisEn(4, 2), 1);  // Effet +2, Hauteur +1
    EXPECT_EQ(c.TotalReussis(), 3);
    EXPECT_NEAR(c.Taux(0, 0), 2.0 / 3.0, 1e-12);
    EXPECT_EQ(c.DecalageX(0), -2);
    EXPECT_EQ(c.DecalageY(2), 1);
}

TEST(DifficulteComptes, CountsOfARealEvaluationMatchThePlainNestedLoops) {
    auto s = Ouverture();
    const TQueueDegres q{0.62f, 1.17f, 99.14f, 430.0f, 3.0f, 520.0f};
    const TGrilleDifficulte g = Grille({2, 2, 1, 1, 0, 1}, {0.3f, 0.3f, 0.2f, 40, 2, 100});
    TEvaluationDifficulte evaluation(*s, q, g);
    TOptionsDifficulte options;
    options.NbThreads = 2;
    const TResultatDifficulte r = evaluation.Execute(options);
    ASSERT_TRUE(r.Complet);
    ASSERT_GT(r.NbReussis, 0);
    ASSERT_LT(r.NbReussis, r.NbEssais);

    // every trial played one after another, each tallied at its six offsets
    constexpr double rad = std::numbers::pi / 180;
    struct TEssai {
        TDecalages k;
        bool reussi;
    };
    std::vector<TEssai> essais;
    const auto& n = g.NbEssais;
    const auto& d = g.Increment;
    TDecalages k{};
    for (k[0] = -n[0]; k[0] <= n[0]; ++k[0])
        for (k[1] = -n[1]; k[1] <= n[1]; ++k[1])
            for (k[2] = -n[2]; k[2] <= n[2]; ++k[2])
                for (k[3] = -n[3]; k[3] <= n[3]; ++k[3])
                    for (k[4] = -n[4]; k[4] <= n[4]; ++k[4])
                        for (k[5] = -n[5]; k[5] <= n[5]; ++k[5]) {
                            for (int b = 1; b <= NbBilles; ++b)
                                s->Trajets[b][0].Vitesse = s->Trajets[b][0].Rotation = VecteurNul;
                            s->Effet = double(q.Effet) + k[0] * double(d[0]);
                            s->Hauteur = double(q.Hauteur) + k[1] * double(d[1]);
                            s->AngleOx = (double(q.Visee) + k[2] * double(d[2])) * rad;
                            s->VitesseQueue = double(q.Vitesse) + k[3] * double(d[3]);
                            s->AngleTapis = (double(q.Inclinaison) + k[4] * double(d[4])) * rad;
                            s->MasseQueue = double(q.Masse) + k[5] * double(d[5]);
                            s->Joue();
                            essais.push_back({k, s->PointReussi});
                        }

    // every pair of axes, both ways round
    for (int x = 0; x < NbParamsEssai; ++x)
        for (int y = 0; y < NbParamsEssai; ++y) {
            if (x == y) continue;
            const TCarteReussites c = CompteCarte(evaluation.Grille(), q, evaluation.Reussites(), x, y);
            std::vector<std::int64_t> attendus(c.Essais.size()), reussis(c.Essais.size());
            for (const TEssai& e : essais) {
                const std::size_t i = std::size_t(e.k[y] + n[y]) * c.NbX + std::size_t(e.k[x] + n[x]);
                ++attendus[i];
                reussis[i] += e.reussi;
            }
            EXPECT_EQ(c.Essais, attendus) << x << ' ' << y;
            EXPECT_EQ(c.Reussis, reussis) << x << ' ' << y;
        }
}
