// The diamonds written on the rails: digits drawn as segments that read "2,5", a label per
// cushion contact of the balls asked for, turned to the camera shown and gone when the option is
// off, each beside its tick and clear of the rail's marks; and the 3D billiard telling whether the balls
// still show the last shot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "jeu/ContactsBandes.h"
#include "jeu/Decimales.h"
#include "jeu/Diamants.h"
#include "jeu/TableJeu.h"
#include "view3d/BillardSansEcran.h"
#include "view3d/EtiquettesDiamants.h"
#include "view3d/TraitsChiffres.h"

TEST(TraitsChiffres, DigitsAreSevenSegmentFiguresAndTheCommaATail) {
    TScene scene;
    auto* t = scene.Racine().AjouteEnfant<TLignes>();
    t->SetSegments(true);
    // 8 lights every segment, 1 two of them, the comma one stroke: 10 segments, 20 nodes
    const float l = AjouteChiffres(*t, "8,1", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 10);
    EXPECT_EQ(t->Noeuds().size(), 20u);
    EXPECT_FLOAT_EQ(l, LargeurChiffres("8,1", 10));
    // along `droite`, `haut` up: the 8 spans 6 wide and 10 high from the origin
    float xMax = 0, yMax = 0;
    for (size_t i = 0; i < 14; ++i) {
        xMax = std::max(xMax, t->Noeuds()[i].x);
        yMax = std::max(yMax, t->Noeuds()[i].y);
    }
    EXPECT_FLOAT_EQ(xMax, 6);
    EXPECT_FLOAT_EQ(yMax, 10);
    // characters it has no figure for leave a blank
    t->EffaceNoeuds();
    AjouteChiffres(*t, "a b", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 10);
    EXPECT_TRUE(t->Noeuds().empty());
}

TEST(EtiquettesDiamants, OneLabelPerCushionContactOfTheBallsAskedForTurnedToTheCamera) {
    TBillardSansEcran b;
    TGLBillardVelmora& billard = b.Billard;
    std::string erreur;
    ASSERT_TRUE(b.ChargePosition(std::string(VELMORA_EXAMPLES_DIR) + "/trois_bandes.vel", &erreur)) << erreur;
    billard.SeparateurDiamants = ',';
    billard.DiamantsVisibles = true;
    billard.JoueCoup();
    const std::vector<TContactBande> bille1 = ContactsBandes(*billard.Simu);
    ASSERT_GE(bille1.size(), 3u);
    ASSERT_EQ(billard.Diamants->NbEtiquettes(), int(bille1.size()));
    EXPECT_EQ(billard.Diamants->Textes().front(), Decimales(bille1.front().Diamant, 1, ','));
    EXPECT_FALSE(billard.Diamants->Traits(1).Noeuds().empty());
    EXPECT_TRUE(billard.Diamants->Traits(3).Noeuds().empty());
    // every ball's: more labels, some in the red's colour
    billard.DiamantsToutesBilles = true;
    billard.MajDiamants();
    EXPECT_EQ(billard.Diamants->NbEtiquettes(), int(ContactsBandes(*billard.Simu, true).size()));
    EXPECT_GT(billard.Diamants->NbEtiquettes(), int(bille1.size()));
    EXPECT_FALSE(billard.Diamants->Traits(3).Noeuds().empty());
    // the ceiling camera shows the table's length across: the digits run along it
    billard.ActiveCamMobile(false);
    billard.MajDiamants();
    const TLignes& traits = billard.Diamants->Traits(1);
    ASSERT_GE(traits.Noeuds().size(), 4u);
    // the top stroke of the first digit (after the tick) lies along y
    const TVecteur3f a = traits.Noeuds()[2], c = traits.Noeuds()[3];
    EXPECT_NEAR(a.x, c.x, 1e-4);
    EXPECT_GT(std::fabs(a.y - c.y), 1.0f);
    // the option off: nothing stays
    billard.DiamantsVisibles = false;
    billard.MajDiamants();
    EXPECT_EQ(billard.Diamants->NbEtiquettes(), 0);
    EXPECT_TRUE(billard.Diamants->Traits(1).Noeuds().empty());
}

TEST(EtiquettesDiamants, ANumberStandsBesideItsTickClearOfTheRailsMarks) {
    // contacts on a mark and just either side of one, on a long and a short cushion, read from
    // the player's side and from the ceiling
    const double largeur = LargeurTableJeu;
    const float rayonMarque = LargeurCadreJeu / 6;
    const std::array<TCouleur, 3> couleurs{};
    TScene scene;
    TEtiquettesDiamants etiquettes(scene);
    const struct { TVecteur3f droite, haut; } vues[] = {{{1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {-1, 0, 0}}};
    for (const auto& vue : vues)
        for (int bande : {3, 2})
            for (double diamant : {3.0, 2.96, 1.04}) {
                const bool longue = BandeLongue(bande);
                const double le = CoordonneeDiamant(bande, diamant, largeur);
                TContactBande c;
                c.Bande = bande;
                c.Diamant = diamant;
                c.Position = longue ? TVecteur{-largeur / 2, le, 3} : TVecteur{le, largeur, 3};
                etiquettes.Montre({c}, couleurs, largeur, vue.droite, vue.haut, ',');
                const std::vector<TVecteur3f>& n = etiquettes.Traits(1).Noeuds();
                ASSERT_GT(n.size(), 2u);
                const auto le_long = [&](const TVecteur3f& p) { return longue ? p.y : p.x; };
                // the tick at the contact
                EXPECT_NEAR(le_long(n[0]), le, 1e-3);
                const double marque = CoordonneeDiamant(bande, std::round(diamant), largeur);
                const double cote = le >= marque ? 1 : -1;
                for (size_t i = 2; i < n.size(); ++i) {
                    const double d = (le_long(n[i]) - marque) * cote;
                    EXPECT_GT(d, rayonMarque) << bande << " " << diamant << " noeud " << i;
                    EXPECT_LT(d, largeur / 4 - rayonMarque) << bande << " " << diamant << " noeud " << i;
                }
            }
}

TEST(EtiquettesDiamants, TheBilliardKnowsWhenTheBallsNoLongerShowTheLastShot) {
    TBillardSansEcran b;
    TGLBillardVelmora& billard = b.Billard;
    billard.JoueCoup();
    EXPECT_EQ(billard.PhotoMontree(), 0);
    const TEtatPosition depart = billard.EtatPosition();
    billard.AffichePhoto(billard.Simu->NbPhotos, false);
    EXPECT_EQ(billard.PhotoMontree(), billard.Simu->NbPhotos);
    EXPECT_FALSE(billard.EtatPosition().Meme(depart));
    billard.AffichePhoto(0, false);
    EXPECT_TRUE(billard.EtatPosition().Meme(depart));
    // a ball moved by hand: no photo of that shot
    TVecteur3f p = billard.Rouge->LitPosition();
    billard.Rouge->SetPosition({p.x + 1, p.y, p.z});
    EXPECT_EQ(billard.PhotoMontree(), -1);
    EXPECT_FALSE(billard.EtatPosition().Meme(depart));
    // within a tenth of a millimetre it is the same position
    billard.Rouge->SetPosition({p.x + 0.005f, p.y, p.z});
    EXPECT_TRUE(billard.EtatPosition().Meme(depart));
    TEtatPosition autreRegle = depart;
    autreRegle.Mode = jLibre;
    EXPECT_FALSE(autreRegle.Meme(depart));
}
