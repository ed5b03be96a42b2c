#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>
#include <vector>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/ExportPVR.h"
#include "tests/sim/OutilsSimu.h"

namespace {

std::vector<std::string> Decoupe(const std::string& texte, char sep) {
    std::vector<std::string> morceaux;
    std::string m;
    std::istringstream in(texte);
    while (std::getline(in, m, sep)) morceaux.push_back(m);
    return morceaux;
}

std::unique_ptr<TBillardVelmora> Magasin(int photos) {
    auto s = NouvelleSimu();
    s->NbPhotos = photos;
    for (int k = 0; k <= photos; ++k) {
        s->Temps[k] = 0.01 * k;
        s->TypesChocs[k] = static_cast<TTypeChoc>(k % 4);
        for (int b = 1; b <= NbBilles; ++b) {
            s->Mouvements[b][k] = static_cast<TMouvement>((k + b) % 6);
            s->Trajets[b][k] = {Vecteur(b + 0.5, -k * 1.25, 3.075), Vecteur(1e-7, 2e20, -0.1),
                                Vecteur(k, 0, -b)};
        }
    }
    return s;
}

TEST(ExportPVR, OneLinePerPhoto_32TabSeparatedFields_LfOnly) {
    auto s = Magasin(7);
    const std::string texte = TexteExportPVR(*s);
    EXPECT_EQ(texte.find('\r'), std::string::npos);
    ASSERT_EQ(texte.back(), '\n');
    const auto lignes = Decoupe(texte, '\n');
    ASSERT_EQ(lignes.size(), 8u);
    for (const std::string& l : lignes) EXPECT_EQ(Decoupe(l, '\t').size(), 32u) << l;

    const auto champs = Decoupe(lignes[3], '\t');
    EXPECT_EQ(champs[0], "0.03");
    EXPECT_EQ(champs[1], "3");
    EXPECT_EQ(champs[2], "4");  // ball 1's motion, then its P, V, R
    EXPECT_EQ(champs[3], "1.5");
    EXPECT_EQ(champs[4], "-3.75");
    EXPECT_EQ(champs[6], "1E-7");
    EXPECT_EQ(champs[7], "2E20");
    EXPECT_EQ(champs[12], "5");  // ball 2's motion
    EXPECT_EQ(champs[31], "-3");
}

TEST(ExportPVR, LocaleSeparator_ReplacesEveryDecimalPoint_AndPhotoZeroAloneIsOneLine) {
    auto s = Magasin(1);
    const std::string texte = TexteExportPVR(*s, ',');
    EXPECT_EQ(texte.find('.'), std::string::npos);
    EXPECT_EQ(Decoupe(TexteExportPVR(*Magasin(0)), '\n').size(), 1u);  // no shot: photo 0 alone
    EXPECT_EQ(Decoupe(Decoupe(texte, '\n')[1], '\t')[0], "0,01");
}

TEST(ExportPVR, WriteFailure_IsReportedAndLeavesNothing) {
    auto s = Magasin(2);
    const auto dossier = std::filesystem::temp_directory_path() / "velmora-pvr-absent-dir";
    std::string erreur;
    EXPECT_FALSE(ExportePVR(*s, (dossier / "x.pvr").string(), '.', &erreur));
    EXPECT_NE(erreur.find("x.pvr"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dossier));
}

}  // namespace

TEST(ExportPVR, AResultHoldingANumberThatIsNotFinite_IsNotExported) {
    auto s = NouvelleSimu();
    PlaceBilles(*s, Vecteur(0, -60, 0), Vecteur(40, 0, 0), Vecteur(-40, 60, 0));
    Lance(*s, 1, Vecteur(0, 200, 0));
    s->CalculTrajets();
    ASSERT_EQ(s->PremierePhotoNonFinie(), -1);
    s->Trajets[3][s->NbPhotos / 2].Rotation.y = std::numeric_limits<double>::infinity();
    EXPECT_EQ(s->PremierePhotoNonFinie(), s->NbPhotos / 2);
    const std::string nom = (std::filesystem::temp_directory_path() / "velmora-non-fini.pvr").string();
    std::string erreur;
    EXPECT_FALSE(ExportePVR(*s, nom, '.', &erreur));
    EXPECT_NE(erreur.find("non finies"), std::string::npos) << erreur;
    EXPECT_FALSE(std::filesystem::exists(nom));
}
