// Saves on a full disk, a read-only file system and a vanished folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/EcritureAtomique.h"
#include "sim/FichierIni.h"
#include "sim/ParamPhys.h"
#include "tests/support/DisqueEnPanne.h"

namespace {
std::string Lit(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
}  // namespace

TEST(SauvegardesEnPanne, FullDiskKeepsThePreviousParameterFile) {
    DisqueEnPanne d("fsk-plein", 32);
    VELMORA_EXIGE_DISQUE(d);
    const std::string nom = d.Chemin("p.fsk");
    ASSERT_TRUE(EcritFichierAtomique(nom, "[Autres]\nG=900\n"));
    d.Remplis();
    TPARAMPHYS p;
    std::string erreur;
    EXPECT_FALSE(p.Sauve(nom, &erreur));
    EXPECT_NE(erreur.find("p.fsk"), std::string::npos);
    EXPECT_TRUE(p.NomFichierFisik.empty());
    EXPECT_EQ(Lit(nom), "[Autres]\nG=900\n");
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
    EXPECT_EQ(Lit(nom), "[Divers]\nTauxRalenti=1\n");
}

TEST(SauvegardesEnPanne, NoTemporaryFileIsLeftBehind) {
    DisqueEnPanne d("temp", 32);
    VELMORA_EXIGE_DISQUE(d);
    d.Remplis();
    EXPECT_FALSE(EcritFichierAtomique(d.Chemin("gros.txt"), std::string(100000, 'y')));
    for (const auto& e : std::filesystem::directory_iterator(d.Chemin("")))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}
