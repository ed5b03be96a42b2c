#include <gtest/gtest.h>

#include "fichiers/Empreinte.h"
#include "fichiers/FichierIni.h"

// the history database finds drills and cached routes by these texts: they must never change
TEST(Empreinte, IsPinnedAndTellsSplitTextsAndSignedZerosRight) {
    EXPECT_EQ(TEmpreinte().Texte(), "cbf29ce484222325");
    EXPECT_EQ(TEmpreinte().Ajoute(std::string_view("abc")).Ajoute(1.5).Texte(), "72860bfb42b97823");
    EXPECT_NE(TEmpreinte().Ajoute(std::string_view("ab")).Ajoute(std::string_view("c")).Texte(),
              TEmpreinte().Ajoute(std::string_view("a")).Ajoute(std::string_view("bc")).Texte());
    EXPECT_EQ(TEmpreinte().Ajoute(-0.0).Texte(), TEmpreinte().Ajoute(0.0).Texte());
}

TEST(FichierIni, SectionsAreListedOnceInFileOrder) {
    TFichierIni ini;
    ini.ChargeTexte("[B]\nx=1\n[a]\n[b]\ny=2\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"B", "a"}));
}
