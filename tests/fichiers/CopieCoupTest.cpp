#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "fichiers/CopieCoup.h"

namespace {

TCopieCoup Coup() {
    TCopieCoup c;
    c.Effet = 1.5f;
    c.Hauteur = -2;
    c.Visee = 99.14f;
    c.Vitesse = 430;
    c.Inclinaison = 3;
    c.Masse = 520;
    c.Joueur = {18.25f, -71.125f, 3.075f};
    c.NonJoueur = {0, -71.125f, 3.075f};
    c.Rouge = {0, 71.125f, 3.075f};
    return c;
}

std::string_view Vue(const std::array<unsigned char, TailleCopieCoup>& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

}  // namespace

TEST(CopieCoup, IsFifteenLittleEndianFloatsInTableOrder) {
    const auto bloc = EncodeCopieCoup(Coup());
    ASSERT_EQ(bloc.size(), 60u);
    // 430.0f is 0x43D70000: its low byte first
    EXPECT_EQ(bloc[12], 0x00);
    EXPECT_EQ(bloc[13], 0x00);
    EXPECT_EQ(bloc[14], 0xD7);
    EXPECT_EQ(bloc[15], 0x43);
    // the red's y is the 14th value
    float y = 0;
    std::memcpy(&y, bloc.data() + 4 * 13, 4);
    EXPECT_EQ(y, 71.125f);
}

TEST(CopieCoup, DecodesWhatItEncodesBitForBit) {
    TCopieCoup lu;
    ASSERT_TRUE(DecodeCopieCoup(Vue(EncodeCopieCoup(Coup())), lu));
    EXPECT_EQ(lu, Coup());
}

TEST(CopieCoup, RefusesWrongSizesAndNonFiniteValuesLeavingTheShotUntouched) {
    const auto bloc = EncodeCopieCoup(Coup());
    const std::string texte(Vue(bloc));
    TCopieCoup lu = Coup();
    lu.Masse = 1;
    const TCopieCoup avant = lu;
    std::string raison;
    EXPECT_FALSE(DecodeCopieCoup(texte.substr(0, 59), lu, &raison));
    EXPECT_EQ(raison, "coup reçu refusé : 59 octets au lieu de 60");
    EXPECT_FALSE(DecodeCopieCoup(texte + "x", lu, &raison));
    EXPECT_FALSE(DecodeCopieCoup({}, lu, &raison));
    for (float mauvais : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()}) {
        std::string abime = texte;
        std::memcpy(abime.data() + 4 * 14, &mauvais, 4);
        EXPECT_FALSE(DecodeCopieCoup(abime, lu, &raison));
        EXPECT_EQ(raison, "coup reçu refusé : valeur n° 14 non finie");
    }
    EXPECT_EQ(lu, avant);
}
