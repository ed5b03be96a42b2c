// Statistics on a database made by hand: every figure can be counted on one's fingers.
#include <gtest/gtest.h>

#include "historique/StatistiquesHistorique.h"
#include "tests/support/DossierDeTest.h"

namespace {

// noon UTC of 2024-03-04 (a Monday) plus d days: the same local day anywhere within ±11 h
std::int64_t Midi(int d) { return 1'709'553'600 + std::int64_t(d) * 86'400; }

class Statistiques : public TestAvecDossier {
protected:
    Statistiques() : TestAvecDossier("velmora-stats") {}

    void SetUp() override {
        TestAvecDossier::SetUp();
        ASSERT_TRUE(base_.Ouvre(Chemin("h.sqlite")));
        // Anne: drill A 4 attempts (3 made, robustness 0.2, 0.4, 0.6 and a miss at 0.05),
        // drill B 2 attempts (1 made, 0.1); the week after, one free shot made (0.3)
        Ajoute("Anne", "aaaa", 0, true, 0.2, 0.5);
        Ajoute("Anne", "aaaa", 0, true, 0.4, 0.5);
        Ajoute("Anne", "aaaa", 1, false, 0.05, 0.5);
        Ajoute("Anne", "aaaa", 2, true, 0.6, 0.5);
        Ajoute("Anne", "bbbb", 2, false, std::nullopt, std::nullopt);
        Ajoute("Anne", "bbbb", 3, true, 0.1, 0.25);
        Ajoute("Anne", "", 8, true, 0.3, std::nullopt);
        // Bruno: one miss on drill A
        Ajoute("Bruno", "aaaa", 0, false, 0.0, 0.5);
        TPackEntrainement pack;
        pack.Titre = "Pack";
        ASSERT_TRUE(base_.EnregistrePack(pack));
    }

    void Ajoute(const std::string& joueur, const std::string& exercice, int jour, bool reussi,
                std::optional<double> robustesse, std::optional<double> meilleur) {
        TTentative t;
        t.Joueur = joueur;
        t.EmpreinteExercice = exercice;
        t.Quand = Midi(jour);
        t.Reussi = reussi;
        const auto id = base_.AjouteTentative(t);
        ASSERT_TRUE(id);
        TResultatAnalyse a;
        if (robustesse) {
            a.Essais = 1000;
            a.Reussis = std::int64_t(*robustesse * 1000 + 0.5);
        }
        if (meilleur) a.Meilleure = TMeilleureRoute{"route", {}, 1000, std::int64_t(*meilleur * 1000)};
        ASSERT_TRUE(base_.CompleteTentative(*id, a));
    }

    TBaseHistorique base_;
};

}  // namespace

TEST_F(Statistiques, SuccessRateAndMeanRobustnessOfMadeShotsPerPlayerDrillDayAndWeek) {
    TStatistiques s;
    std::string erreur;
    ASSERT_TRUE(LitStatistiques(base_, "Anne", s, &erreur)) << erreur;
    EXPECT_EQ(s.Total.Tentatives, 7);
    EXPECT_EQ(s.Total.Reussies, 5);
    ASSERT_TRUE(s.Total.RobustesseReussies);
    EXPECT_NEAR(*s.Total.RobustesseReussies, (0.2 + 0.4 + 0.6 + 0.1 + 0.3) / 5, 1e-12);

    // the weakest drill first: B (1 of 2) before A (3 of 4)
    ASSERT_EQ(s.Exercices.size(), 2u);
    EXPECT_EQ(s.Exercices[0].Empreinte, "bbbb");
    EXPECT_EQ(s.Exercices[0].Compte.Tentatives, 2);
    EXPECT_DOUBLE_EQ(s.Exercices[0].Compte.Taux(), 0.5);
    EXPECT_NEAR(*s.Exercices[0].MeilleureRobustesse, 0.1, 1e-12);
    EXPECT_NEAR(*s.Exercices[1].MeilleureRobustesse, 0.6, 1e-12);
    EXPECT_NEAR(*s.Exercices[1].MeilleurTaux, 0.5, 1e-12);

    // days 0, 1, 2, 3 and 8; weeks starting on the Mondays 2024-03-04 and 2024-03-11
    ASSERT_EQ(s.Jours.size(), 5u);
    EXPECT_EQ(s.Jours[0].Debut, "2024-03-04");
    EXPECT_EQ(s.Jours[2].Compte.Tentatives, 2);
    ASSERT_EQ(s.Semaines.size(), 2u);
    EXPECT_EQ(s.Semaines[0].Debut, "2024-03-04");
    EXPECT_EQ(s.Semaines[0].Compte.Tentatives, 6);
    EXPECT_EQ(s.Semaines[1].Debut, "2024-03-11");
    EXPECT_EQ(s.Semaines[1].Compte.Reussies, 1);

    // every player: Bruno's miss counts too
    ASSERT_TRUE(LitStatistiques(base_, "", s));
    EXPECT_EQ(s.Total.Tentatives, 8);
    EXPECT_EQ(s.Exercices[1].Compte.Tentatives, 5);
    EXPECT_FALSE(LitStatistiques(base_, "Personne", s, &erreur));
    EXPECT_NE(erreur.find("joueur inconnu"), std::string::npos);
}

TEST_F(Statistiques, EachMatchHasTheGeneralAverageOfBothPlayers) {
    TReglesPartie r;
    r.Joueurs = {"Anne", "Claire"};
    r.Distance = 3;
    TPartieCarambole p(r, {});
    const auto id = base_.CommencePartie(p, Midi(4));
    ASSERT_TRUE(id);
    // Anne 2 then a miss, Claire a miss, Anne 1: the distance, Claire's last inning a miss
    for (bool point : {true, true, false, false, true, false}) {
        ASSERT_TRUE(p.Joue(point, {}));
        TTentative t;
        t.Joueur = r.Joueurs[size_t(p.Coups().back().Joueur)];
        ASSERT_TRUE(base_.EnregistreCoup(*id, p, t));
    }
    ASSERT_TRUE(p.Finie());
    TStatistiques s;
    ASSERT_TRUE(LitStatistiques(base_, "Claire", s));
    ASSERT_EQ(s.Parties.size(), 1u);
    const TLignePartie& m = s.Parties[0];
    EXPECT_EQ(m.Etat, 1);
    EXPECT_EQ(m.Points[0], 3);
    EXPECT_EQ(m.Reprises[0], 2);
    EXPECT_DOUBLE_EQ(m.Moyenne(0), 1.5);
    EXPECT_EQ(m.Reprises[1], 2);
    EXPECT_DOUBLE_EQ(m.Moyenne(1), 0.0);
    EXPECT_EQ(m.MeilleureSerie[0], 2);
    const std::string json = JsonStatistiques(s);
    EXPECT_NE(json.find("\"average\": 1.5"), std::string::npos) << json;
    EXPECT_NE(json.find("\"player\": \"Claire\""), std::string::npos) << json;
}

TEST_F(Statistiques, TheCsvExportHasOneLinePerAttemptWithEveryCueValue) {
    std::string erreur;
    ASSERT_TRUE(ExporteTentativesCsv(base_, "Bruno", Chemin("b.csv"), &erreur)) << erreur;
    const std::string csv = LitFichierEntier(Chemin("b.csv"));
    ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
    const std::string ligne = csv.substr(csv.find('\n') + 1);
    EXPECT_EQ(
        ligne.rfind("8,2024-03-04T12:00:00Z,Bruno,aaaa,,3bandes,0,0,0,0,0,520,0,0,0,1000,0.5,route,,", 0), 0u)
        << ligne;
    ASSERT_TRUE(ExporteTentativesCsv(base_, "", Chemin("tous.csv")));
    const std::string tous = LitFichierEntier(Chemin("tous.csv"));
    EXPECT_EQ(std::count(tous.begin(), tous.end(), '\n'), 9);
    // an unknown player writes nothing
    EXPECT_FALSE(ExporteTentativesCsv(base_, "Personne", Chemin("rien.csv"), &erreur));
    EXPECT_FALSE(std::filesystem::exists(Chemin("rien.csv")));
}
