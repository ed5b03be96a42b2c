// A stroke in a player's words: the aim relative to the first ball or the first cushion, the tip
// and the speed, as the windows and the command line print them.
#include <gtest/gtest.h>

#include <cmath>

#include "jeu/DescriptionCoup.h"
#include "jeu/Procedes.h"

namespace {

constexpr float W = LargeurTableJeu;
constexpr float D = 2 * RayonBilleJeu;

TContexteCoup Contexte() {
    TContexteCoup c;
    // ball 1 at the centre, the yellow 50 cm ahead along +y, the red behind
    c.Billes = {{{0, 0, RayonBilleJeu}, {0, 50, RayonBilleJeu}, {50, -100, RayonBilleJeu}}};
    c.DeportMax = DeportSansFausseQueue(TPARAMPHYS(), 520);
    return c;
}

}  // namespace

TEST(DescriptionCoup, AStrokeReadsAsAimTipAndSpeed) {
    const TContexteCoup c = Contexte();
    TQueueDegres q;
    // turned left until the yellow's centre lies half a diameter right of the line
    q.Visee = float(90 + std::asin(D / 2 / 50.0) * 180 / M_PI);
    const TEffetHauteur eh = EffetHauteur(3, 2, c.DeportMax);
    q.Effet = float(eh.Effet);
    q.Hauteur = float(eh.Hauteur);
    q.Vitesse = 300;
    EXPECT_EQ(TexteCoup(q, c, 2, ','), "Jaune 1/2 bille à gauche, effet 2 procédés à 3 h, vitesse 6/10");
    // what the aim meets, when the first ball is not known
    EXPECT_EQ(TexteVisee(q.Visee, c, 0, ','), "Jaune 1/2 bille à gauche");
    // the tip at the centre
    q.Effet = q.Hauteur = 0;
    EXPECT_EQ(TexteEffet(q, c), "frappe au centre");
}

TEST(DescriptionCoup, ACushionFirstIsAimedAtItsDiamond) {
    TContexteCoup c = Contexte();
    c.Billes[0] = {0, -W / 2, RayonBilleJeu};
    EXPECT_EQ(TexteVisee(0, c, 0, ','), "bricole : longue droite 2,0");
    // towards the courte du bas, level with the longue gauche's side of the middle
    const TCibleVisee cible = CibleVisee(-90, c);
    EXPECT_EQ(cible.Bande, 4);
    EXPECT_NEAR(cible.Diamant, 2, 1e-5);
}

TEST(DescriptionCoup, AFirstBallTheLineMissesIsGivenAsTheAnglesOffItsCentre) {
    TContexteCoup c = Contexte();
    c.NomBille2 = "Blanche";
    // the red lies straight below ball 1's right: the aim 10° to its left misses it
    const float versRouge = float(std::atan2(-100.0, 50.0) * 180 / M_PI);
    EXPECT_EQ(TexteVisee(versRouge + 10, c, 3, ','), "Rouge : visée 10,0° à gauche de la bille");
    EXPECT_EQ(TexteVisee(versRouge - 10, c, 3), "Rouge : visée 10.0° à droite de la bille");
    EXPECT_EQ(NomBille(2, c), "Blanche");
}
