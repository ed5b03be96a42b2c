#include <gtest/gtest.h>

#include "app/ListeRecents.h"
#include "fichiers/FichierIni.h"

using Noms = std::vector<std::string>;

TEST(ListeRecents, KeepsFourNamesMostRecentFirst) {
    TListeRecents l;
    for (const char* n : {"a.vel", "b.vel", "c.vel", "d.vel"}) l.Ajoute(n);
    EXPECT_EQ(l.Noms(), (Noms{"d.vel", "c.vel", "b.vel", "a.vel"}));
    // a name already there moves to the top; a fifth drops the oldest
    l.Ajoute("b.vel");
    EXPECT_EQ(l.Noms(), (Noms{"b.vel", "d.vel", "c.vel", "a.vel"}));
    l.Ajoute("e.vel");
    EXPECT_EQ(l.Noms(), (Noms{"e.vel", "b.vel", "d.vel", "c.vel"}));
    l.Ajoute("");
    EXPECT_EQ(l.Noms().size(), 4u);
}

TEST(ListeRecents, IsStoredInItsSectionAndReadBackInOrder) {
    TListeRecents l;
    for (const char* n : {"/x/un.vel", "/x/deux = trois.vel", "/x/quatre.vel"}) l.Ajoute(n);
    TFichierIni ini;
    ini.ChargeTexte("[Divers]\nTauxRalenti=1.5\n[DerniersVels]\nFichier1=/vieux.vel\nFichier7=/autre.vel\n");
    l.Ecrit(ini);
    EXPECT_FALSE(ini.CleExiste("DerniersVels", "Fichier7"));
    EXPECT_EQ(ini.LitTexte("Divers", "TauxRalenti", ""), "1.5");
    TFichierIni relu;
    relu.ChargeTexte(ini.Texte());
    TListeRecents r;
    r.Lit(relu);
    EXPECT_EQ(r.Noms(), l.Noms());
}

TEST(ListeRecents, ReadingSkipsBlanksAndRepeats) {
    TFichierIni ini;
    ini.ChargeTexte("[DerniersVels]\nFichier1=a.vel\nFichier2=\nFichier3=a.vel\nFichier4=b.vel\n");
    TListeRecents r;
    r.Lit(ini);
    EXPECT_EQ(r.Noms(), (Noms{"a.vel", "b.vel"}));
}
