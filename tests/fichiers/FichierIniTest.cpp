#include <gtest/gtest.h>

#include "fichiers/FichierIni.h"

TEST(FichierIni, ReadsWindowsFileCaseInsensitivelyWithBlanksAndCrlf) {
    TFichierIni ini;
    ini.ChargeTexte("; made on Windows\r\n[DIMENSIONS]\r\n  LARGJEU =  100.5 \r\nlargjeu=7\r\n");
    EXPECT_DOUBLE_EQ(ini.LitReel("Dimensions", "LargJeu", 0), 100.5);  // first duplicate wins
    EXPECT_TRUE(ini.SectionExiste("dimensions"));
    EXPECT_EQ(ini.LitTexte("Dimensions", "absent", "d"), "d");
}

TEST(FichierIni, OldMacLineEndsReadLikeTheOthers_AndStayWhenWritten) {
    TFichierIni ini;
    ini.ChargeTexte("[Dimensions]\rLargJeu=100.5\r\r[Autres]\rG=900\r");
    EXPECT_DOUBLE_EQ(ini.LitReel("Dimensions", "LargJeu", 0), 100.5);
    EXPECT_DOUBLE_EQ(ini.LitReel("Autres", "G", 0), 900);
    ini.EcritReel("Autres", "G", 981);
    ini.EcritReel("Autres", "Nouveau", 1);
    EXPECT_EQ(ini.Texte(), "[Dimensions]\rLargJeu=100.5\r\r[Autres]\rG=981\rNouveau=1\r");
    // a mixture: each line ends where its own end is
    ini.ChargeTexte("[A]\r\nx=1\ry=2\nz=3");
    EXPECT_EQ(ini.LitEntier("A", "x", 0) + ini.LitEntier("A", "y", 0) + ini.LitEntier("A", "z", 0), 6);
}

TEST(FichierIni, BadNumbersGiveTheDefault) {
    TFichierIni ini;
    ini.ChargeTexte("[a]\nx=abc\ny=nan\nz=inf\nw=1,5\nv=\"2.5\"\n");
    for (const char* k : {"x", "y", "z", "w"}) EXPECT_EQ(ini.LitReel("a", k, 9), 9) << k;
    EXPECT_EQ(ini.LitReel("a", "v", 9), 2.5);
}

TEST(FichierIni, WritingKeepsCommentsUnknownSectionsAndReplacesInPlace) {
    TFichierIni ini;
    ini.ChargeTexte(
        "; comment\r\n[Inconnue]\r\nfoo = bar\r\n\r\n[Dimensions]\r\nLargJeu=1\r\n; "
        "note\r\n\r\n[Autres]\r\nG=2\r\n");
    ini.EcritReel("dimensions", "largjeu", 142.25);
    ini.EcritReel("Dimensions", "HautBdes", 3.7);
    ini.EcritReel("Durees", "Tanal", 0.01);
    EXPECT_EQ(ini.Texte(),
              "; comment\r\n[Inconnue]\r\nfoo = "
              "bar\r\n\r\n[Dimensions]\r\nLargJeu=142.25\r\nHautBdes=3.7\r\n; note\r\n"
              "\r\n[Autres]\r\nG=2\r\n\r\n[Durees]\r\nTanal=0.01\r\n");
}

TEST(FichierIni, NewFileHasSectionsAndKeysInWritingOrder) {
    TFichierIni ini;
    ini.EcritTexte("B", "k1", "1");
    ini.EcritTexte("A", "k2", "2");
    ini.EcritTexte("B", "k3", "3");
    EXPECT_EQ(ini.Texte(), "[B]\nk1=1\nk3=3\n\n[A]\nk2=2\n");
}

TEST(FichierIni, EntriesCanBeClearedAndReadBackInOrder) {
    TFichierIni ini;
    ini.ChargeTexte("[R]\nVel0=a\nvel1=b\nVEL0=c\n[S]\nx=1\n");
    EXPECT_EQ(ini.Cles("r"), (std::vector<std::string>{"Vel0", "vel1"}));
    ini.EffaceCles("R");
    ini.EcritTexte("R", "Vel0", "z");
    EXPECT_EQ(ini.Texte(), "[R]\nVel0=z\n[S]\nx=1\n");

    // one key removed, its duplicates too (the second would else become the one read)
    ini.ChargeTexte("; note\n[R]\nVel0=a\nvel1=b\nVEL0=c\n[S]\nvel0=1\n");
    ini.EffaceCle("r", "vel0");
    EXPECT_FALSE(ini.CleExiste("R", "Vel0"));
    EXPECT_EQ(ini.Texte(), "; note\n[R]\nvel1=b\n[S]\nvel0=1\n");
}

TEST(FichierIni, GarbageAndHugeInputLoadWithoutCrash) {
    TFichierIni ini;
    std::string garbage;
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    ini.ChargeTexte(garbage);
    ini.ChargeTexte(std::string(5'000'000, 'x') + "\n[a]\nb=1\n");
    EXPECT_EQ(ini.LitEntier("a", "b", 0), 1);
    ini.ChargeTexte("");
    EXPECT_EQ(ini.Texte(), "");
}

TEST(FichierIni, ValuesWithEdgeBlanksOrQuotesReadBackAsWritten) {
    TFichierIni ini;
    for (const char* v : {" a b ", "'x'", "\"y\"", "''z''", "plain"}) {
        ini.EcritTexte("S", "k", v);
        TFichierIni relu;
        relu.ChargeTexte(ini.Texte());
        EXPECT_EQ(relu.LitTexte("S", "k", "?"), v);
    }
    EXPECT_EQ(ini.Texte(), "[S]\nk=plain\n");
}
