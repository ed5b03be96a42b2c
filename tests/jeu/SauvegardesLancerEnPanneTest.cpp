// Launch files saved on a full disk or a read-only file system: the reason, the previous file intact.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fichiers/EcritureAtomique.h"
#include "jeu/FichiersPosition.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"

TEST(SauvegardesLancerEnPanne, FullDiskKeepsThePreviousLaunchFile) {
    DisqueEnPanne d("lancer-plein", 32);
    VELMORA_EXIGE_DISQUE(d);
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Trajets[1][0].Position = Vecteur(10, 20, 3.075);
    simu->VitesseQueue = 300;
    simu->Joue();
    const std::string lancer = d.Chemin("l.vel2");
    ASSERT_TRUE(EcritFichierAtomique(lancer, "ancien lancer\n"));
    d.Remplis();
    std::string erreur;
    EXPECT_FALSE(SauveLancer(*simu, lancer, &erreur));
    EXPECT_NE(erreur.find("l.vel2"), std::string::npos);
    EXPECT_EQ(LitFichierEntier(lancer), "ancien lancer\n");
}

TEST(SauvegardesLancerEnPanne, ReadOnlyFileSystemIsRefused) {
    DisqueEnPanne d("lancer-ro");
    VELMORA_EXIGE_DISQUE(d);
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Joue();
    ASSERT_TRUE(d.LectureSeule());
    std::string erreur;
    EXPECT_FALSE(SauveLancer(*simu, d.Chemin("l.vel2"), &erreur));
    EXPECT_FALSE(erreur.empty());
    EXPECT_FALSE(std::filesystem::exists(d.Chemin("l.vel2")));
}
