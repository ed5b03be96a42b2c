#include <gtest/gtest.h>

#include <cstddef>

#include "sim/C1_Types.h"

TEST(ProcsVecteurs, CrossProductFollowsTheRightHandRule) {
    EXPECT_EQ(ProdVect(Vecteur(1, 0, 0), Vecteur(0, 1, 0)), Vecteur(0, 0, 1));
    EXPECT_EQ(ProdVect(Vecteur(0, 1, 0), Vecteur(1, 0, 0)), Vecteur(0, 0, -1));
    EXPECT_EQ(ProdScal(Vecteur(1, 2, 3), Vecteur(4, -5, 6)), 12);
    EXPECT_EQ(Norme(Vecteur(3, 4, 0)), 5);
}

TEST(ProcsVecteurs, ResultMayBeStoredOverAnInput) {
    TVecteur a = Vecteur(1, 2, 3);
    a = ProdVect(a, Vecteur(0, 0, 1));
    EXPECT_EQ(a, Vecteur(2, -1, 0));
    a = Unitaire(a);
    EXPECT_NEAR(Norme(a), 1, 1e-15);
    a = SommeVect(a, a);
    a = DiffVect(a, MultVect(a, 0.5));
    EXPECT_NEAR(Norme(a), 1, 1e-15);
}

TEST(ProcsVecteurs, UnitOfTheZeroVectorIsTheZeroVector) {
    EXPECT_EQ(Unitaire(VecteurNul), VecteurNul);
    EXPECT_EQ(Unitaire(Vecteur(0, -1e-3, 0)), Vecteur(0, -1, 0));
}

TEST(Types, DisplayTextsCoverOutOfRangeValues) {
    EXPECT_STREQ(TexteMouvement(mvArret), "(Arrêt)");
    EXPECT_STREQ(TexteMouvement(6), "(?)");
    EXPECT_STREQ(TexteMouvement(-1), "(?)");
    EXPECT_STREQ(TexteTypeChoc(tcBilleTapis), "Bille/Tapis");
    EXPECT_STREQ(TexteTypeChoc(4), "?");
}

TEST(Types, BallRecordStartsWithTheLayoutOfAPhoto) {
    TEtatBille e;
    e.Position = Vecteur(1, 2, 3);
    e.Vitesse = Vecteur(4, 5, 6);
    e.Rotation = Vecteur(7, 8, 9);
    static_assert(offsetof(TEtatBille, Rotation) == offsetof(TPVR, Rotation));
    TEtatBille f;
    f.SetPvr(e.Pvr());
    EXPECT_EQ(f.Pvr(), (TPVR{Vecteur(1, 2, 3), Vecteur(4, 5, 6), Vecteur(7, 8, 9)}));
}
