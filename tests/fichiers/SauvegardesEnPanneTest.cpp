// Saves on a full disk, a read-only file system and a vanished folder.
#include <gtest/gtest.h>

#include <memory>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/ExportPVR.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "sim/C8_BillardVelmora.h"
#include "sim/ParamPhys.h"
#include "tests/support/DisqueEnPanne.h"
#include "tests/support/DossierDeTest.h"

TEST(SauvegardesEnPanne, FullDiskKeepsThePreviousParameterFile) {
    DisqueEnPanne d("fsk-plein", 32);
    VELMORA_EXIGE_DISQUE(d);
    const std::string nom = d.Chemin("p.fsk");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Autres]\nG=900\n"));
    d.Remplis();
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(SauveFisik(p, nom, &erreur));
    EXPECT_NE(erreur.find("p.fsk"), std::string::npos);
    EXPECT_TRUE(p.NomFichierFisik.empty());
    EXPECT_EQ(LitFichierEntier(nom), "[Autres]\nG=900\n");
}

TEST(SauvegardesEnPanne, ReadOnlyFileSystemRefusesEvenRoot) {
    DisqueEnPanne d("ini-ro");
    VELMORA_EXIGE_DISQUE(d);
    const std::string nom = d.Chemin("Velmora3D.ini");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Divers]\nTauxRalenti=1\n"));
    ASSERT_TRUE(d.LectureSeule());
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(nom));
    ini.EcritReel("Divers", "TauxRalenti", 2);
    std::string erreur;
    EXPECT_FALSE(ini.Sauve(nom, &erreur));
    EXPECT_FALSE(erreur.empty());
    EXPECT_EQ(LitFichierEntier(nom), "[Divers]\nTauxRalenti=1\n");
}

TEST(SauvegardesEnPanne, NoTemporaryFileIsLeftBehind) {
    DisqueEnPanne d("temp", 32);
    VELMORA_EXIGE_DISQUE(d);
    d.Remplis();
    EXPECT_FALSE(EcritFichierAtomique(d.Chemin("gros.txt"), std::string(100000, 'y')));
    for (const auto& e : std::filesystem::directory_iterator(d.Chemin("")))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}

TEST(SauvegardesEnPanne, ExportOnAFullDiskKeepsThePreviousFile) {
    DisqueEnPanne d("pvr-plein", 32);
    VELMORA_EXIGE_DISQUE(d);
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Trajets[1][0].Position = Vecteur(10, 20, 3.075);
    simu->VitesseQueue = 300;
    simu->Joue();
    const std::string pvr = d.Chemin("e.pvr");
    ASSERT_TRUE(EcritFichierAtomique(pvr, "ancien export\n"));
    d.Remplis();
    std::string erreur;
    EXPECT_FALSE(ExportePVR(*simu, pvr, '.', &erreur));
    EXPECT_NE(erreur.find("e.pvr"), std::string::npos);
    EXPECT_EQ(LitFichierEntier(pvr), "ancien export\n");
}

TEST(SauvegardesEnPanne, ExportOnAReadOnlyFileSystemIsRefused) {
    DisqueEnPanne d("pvr-ro");
    VELMORA_EXIGE_DISQUE(d);
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Joue();
    ASSERT_TRUE(d.LectureSeule());
    std::string erreur;
    EXPECT_FALSE(ExportePVR(*simu, d.Chemin("e.pvr"), ',', &erreur));
    EXPECT_FALSE(erreur.empty());
    EXPECT_FALSE(std::filesystem::exists(d.Chemin("e.pvr")));
}
