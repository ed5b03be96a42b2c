// The option-table reader every command of velmora-sim goes through: the same forms, the same
// messages, whatever the command.
#include <gtest/gtest.h>

#include "cli/TableOptions.h"

namespace {

struct TableOptionsTest : ::testing::Test {
    std::string fsk, sortie;
    long long n = 0;
    bool json = false;
    std::vector<std::string> positionnels;
    std::vector<TOptionCli> table = {
        {"--fsk", TGenreOption::Valeur, OptionTexte(fsk)},
        {"--out", TGenreOption::Valeur, OptionNonVide(sortie, "--out sans nom")},
        {"--threads", TGenreOption::Valeur,
         OptionEntier(1, 64, "--threads de 1 à 64", [this](long long v) { n = v; })},
        {"--json", TGenreOption::Drapeau, OptionDrapeau(json)},
        {"--export", TGenreOption::Refusee, {}},
    };

    // the message, empty when the line is read
    std::string Lit(const std::vector<std::string>& args) {
        std::string erreur;
        const bool ok = LitOptionsCli(
            args, table, [&](const std::string& a, std::string*) { return positionnels.push_back(a), true; },
            &erreur);
        EXPECT_EQ(ok, erreur.empty()) << erreur;
        return erreur;
    }
};

TEST_F(TableOptionsTest, ValuesJoinedOrApart_FlagsAndPositionalsInTheirOrder) {
    EXPECT_EQ(Lit({"a.vel", "--fsk", "t.fsk", "--threads=8", "--json", "-", "b.vel", "--out=d"}), "");
    EXPECT_EQ(fsk, "t.fsk");
    EXPECT_EQ(n, 8);
    EXPECT_TRUE(json);
    EXPECT_EQ(sortie, "d");
    // a lone "-" and a name holding "=" are no options
    EXPECT_EQ(positionnels, (std::vector<std::string>{"a.vel", "-", "b.vel"}));
    // a value apart is taken whatever it looks like; only the first "=" splits
    EXPECT_EQ(Lit({"--fsk", "--json", "--fsk==x", "x=y"}), "");
    EXPECT_EQ(fsk, "=x");
    EXPECT_EQ(positionnels.back(), "x=y");
}

TEST_F(TableOptionsTest, EveryMisuseHasItsMessage) {
    EXPECT_EQ(Lit({"--fsk"}), "l'option --fsk attend une valeur");
    EXPECT_EQ(Lit({"--json=1"}), "l'option --json ne prend pas de valeur");
    // an unknown option with a value is refused for its value first, as always
    EXPECT_EQ(Lit({"--inconnue=1"}), "l'option --inconnue ne prend pas de valeur");
    EXPECT_EQ(Lit({"--inconnue"}), "option inconnue --inconnue");
    EXPECT_EQ(Lit({"-x"}), "option inconnue -x");
    EXPECT_EQ(Lit({"--export=a.pvr"}), "l'option --export ne s'applique pas à cette commande");
    EXPECT_EQ(Lit({"--out="}), "--out sans nom");
    for (const char* mauvais : {"0", "65", "1.5", "abc", ""})
        EXPECT_EQ(Lit({"--threads", mauvais}), "--threads de 1 à 64") << mauvais;
    EXPECT_EQ(Lit({"--threads", "6.4e1"}), "");
    EXPECT_EQ(n, 64);
}

TEST_F(TableOptionsTest, SharedOptionsAreTakenOut_TheRestIsLeftAsWritten) {
    std::vector<std::string> reste;
    std::string erreur;
    ASSERT_TRUE(PreleveOptionsCli({"a.vel", "--mode=libre", "--threads", "4", "--top", "3", "--json"}, table,
                                  reste, &erreur))
        << erreur;
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(json);
    EXPECT_EQ(reste, (std::vector<std::string>{"a.vel", "--mode=libre", "--top", "3"}));
    reste.clear();
    EXPECT_FALSE(PreleveOptionsCli({"a.vel", "--export"}, table, reste, &erreur));
    EXPECT_EQ(erreur, "l'option --export ne s'applique pas à cette commande");
    // the reason is optional: a caller that only wants to know gives none
    EXPECT_FALSE(PreleveOptionsCli({"--threads", "0"}, table, reste));
}

}  // namespace
