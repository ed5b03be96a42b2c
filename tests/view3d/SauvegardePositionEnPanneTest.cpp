// A position file saved on a full or read-only file system: the reason, the previous file intact.
#include <gtest/gtest.h>

#include <memory>

#include "fichiers/EcritureAtomique.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"
#include "view3d/BillardSansEcran.h"

TEST(SauvegardePositionEnPanne, FullOrReadOnlyDiskKeepsThePreviousPositionFile) {
    DisqueEnPanne d("vel", 32);
    VELMORA_EXIGE_DISQUE(d);
    auto b = std::make_unique<TBillardSansEcran>();
    const std::string nom = d.Chemin("p.vel");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Queue]\nVq=100\n"));
    d.Remplis();
    std::string erreur;
    EXPECT_FALSE(b->Billard.SauveFichier(nom, &erreur));
    EXPECT_NE(erreur.find("p.vel"), std::string::npos) << erreur;
    EXPECT_EQ(LitFichierEntier(nom), "[Queue]\nVq=100\n");

    ASSERT_TRUE(d.LectureSeule());
    erreur.clear();
    EXPECT_FALSE(b->Billard.SauveFichier(d.Chemin("q.vel"), &erreur));
    EXPECT_FALSE(erreur.empty());
}
