#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jeu/PackEntrainement.h"
#include "tests/support/DossierDeTest.h"

namespace {

namespace fs = std::filesystem;

const std::string kExemples = VELMORA_EXAMPLES_DIR;

class PackEntrainement : public TestAvecDossier {
protected:
    PackEntrainement() : TestAvecDossier("velmora-pack") {}

    void SetUp() override {
        TestAvecDossier::SetUp();
        fs::copy_file(kExemples + "/ouverture.vel", Chemin("a.vel"));
        fs::copy_file(kExemples + "/trois_bandes.vel", Chemin("b.vel"));
    }
    std::string Ecrit(const std::string& texte, const std::string& nom = "pack.ven") {
        std::ofstream(Chemin(nom)) << texte;
        return Chemin(nom);
    }
    std::string Refus(const std::string& texte) {
        TPackEntrainement p;
        std::string erreur;
        EXPECT_FALSE(ChargePack(Ecrit(texte), p, &erreur));
        return erreur;
    }

    const std::string kPack =
        "[Entrainement]\nTitre=Départ\n\n"
        "[Exercice 2]\nPosition=b.vel\nTitre=Trois bandes\nMode=3bandes\nJoueur=Jaune\n"
        "Cible=Rouge, longue, courte, longue, Blanche\nMeilleurTaux=12.5\n"
        "MeilleureRoute=Rouge · longue · courte · longue · Blanche\nMeilleureQueue=0.5 -1 93.25 410 2 520\n\n"
        "[Exercice 1]\nPosition=a.vel\nTitre=Ouverture\nNotes=prendre la jaune fine\n";
};

}  // namespace

TEST_F(PackEntrainement, DrillsComeInTheOrderOfTheirNumbersWithTheirPositionsAndBestRoutes) {
    TPackEntrainement p;
    std::string erreur;
    ASSERT_TRUE(ChargePack(Ecrit(kPack), p, &erreur)) << erreur;
    EXPECT_EQ(p.Titre, "Départ");
    ASSERT_EQ(p.Exercices.size(), 2u);
    const TExercice& a = p.Exercices[0];
    const TExercice& b = p.Exercices[1];
    EXPECT_EQ(a.Titre, "Ouverture");
    EXPECT_EQ(a.Notes, "prendre la jaune fine");
    EXPECT_FALSE(a.Meilleure);
    EXPECT_TRUE(a.Cible.empty());
    EXPECT_TRUE(b.JoueurJaune);
    EXPECT_EQ(b.Cible.size(), 5u);
    ASSERT_TRUE(b.Meilleure);
    EXPECT_DOUBLE_EQ(b.Meilleure->Taux, 0.125);
    EXPECT_FLOAT_EQ(b.Meilleure->Queue.Visee, 93.25f);
    EXPECT_FLOAT_EQ(b.Meilleure->Queue.Inclinaison, 2);
    // each position as the program opens the file
    TPositionOuverte ouverte;
    ASSERT_TRUE(LitPositionJeu(Chemin("b.vel"), ouverte));
    EXPECT_EQ(b.Position.Billes, ouverte.Position.Billes);
    EXPECT_EQ(b.Position.Queue, ouverte.Position.Queue);
}

TEST_F(PackEntrainement, AMovedPackKeepsItsDrillsFingerprints) {
    TPackEntrainement ici, ailleurs;
    ASSERT_TRUE(ChargePack(Ecrit(kPack), ici));
    const fs::path autre = dossier_ / "deplace";
    fs::create_directories(autre / "positions");
    fs::copy_file(Chemin("a.vel"), autre / "positions" / "x.vel");
    fs::copy_file(Chemin("b.vel"), autre / "positions" / "y.vel");
    std::string texte = kPack;
    texte.replace(texte.find("b.vel"), 5, "positions/y.vel");
    texte.replace(texte.find("a.vel"), 5, "positions/x.vel");
    std::ofstream(autre / "autre.ven") << texte;
    ASSERT_TRUE(ChargePack((autre / "autre.ven").string(), ailleurs));
    EXPECT_EQ(ici.Exercices[0].Empreinte(), ailleurs.Exercices[0].Empreinte());
    EXPECT_EQ(ici.Empreinte(), ailleurs.Empreinte());
    EXPECT_NE(ici.Exercices[0].Empreinte(), ici.Exercices[1].Empreinte());
}

TEST_F(PackEntrainement, APackIsRefusedWholeNamingTheDrillAtFault) {
    // a position file given as a pack
    EXPECT_NE(Refus(LitFichierEntier(Chemin("a.vel"))).find("n'est pas un fichier d'entraînement"),
              std::string::npos);
    EXPECT_NE(Refus("[Entrainement]\nTitre=vide\n").find("aucun exercice"), std::string::npos);
    // a missing position
    std::string e =
        Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\n[Exercice 2]\nPosition=absent.vel\n");
    EXPECT_NE(e.find("[Exercice 2]"), std::string::npos) << e;
    EXPECT_NE(e.find("absent.vel"), std::string::npos) << e;
    EXPECT_NE(Refus("[Entrainement]\n[Exercice 1]\nTitre=sans position\n").find("Position"),
              std::string::npos);
    // bad targets: an unknown word, a route that does not score in its mode, the player's own ball
    e = Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\nCible=Rouge longue bleue Jaune\n");
    EXPECT_NE(e.find("bleue"), std::string::npos) << e;
    e = Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\nCible=Rouge longue Jaune\n");
    EXPECT_NE(e.find("il en faut 3"), std::string::npos) << e;
    EXPECT_FALSE(
        Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\nCible=Rouge courte Blanche\nMode=libre\n")
            .empty());
    EXPECT_NE(Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\nMode=4bandes\n").find("mode inconnu"),
              std::string::npos);
    EXPECT_NE(Refus("[Entrainement]\n[Exercice 1]\nPosition=a.vel\nMeilleurTaux=140\n").find("MeilleurTaux"),
              std::string::npos);
    EXPECT_NE(Refus("[Entrainement]\nTable=absente.fsk\n[Exercice 1]\nPosition=a.vel\n").find("absente.fsk"),
              std::string::npos);
}

TEST_F(PackEntrainement, APackWrittenAndReadBackIsTheSamePack) {
    TPackEntrainement p, relu;
    ASSERT_TRUE(ChargePack(Ecrit(kPack), p));
    std::string erreur;
    ASSERT_TRUE(SauvePack(p, Chemin("copie.ven"), &erreur)) << erreur;
    ASSERT_TRUE(ChargePack(Chemin("copie.ven"), relu, &erreur)) << erreur;
    EXPECT_EQ(TextePack(relu), TextePack(p));
    ASSERT_EQ(relu.Exercices.size(), 2u);
    EXPECT_EQ(relu.Exercices[1].Cible, p.Exercices[1].Cible);
    EXPECT_EQ(relu.Exercices[1].Meilleure->Queue, p.Exercices[1].Meilleure->Queue);
    EXPECT_EQ(relu.Empreinte(), p.Empreinte());
}

TEST_F(PackEntrainement, TheWalkStopsAtBothEndsAndRestartGivesTheDrillsBallsExactly) {
    TPackEntrainement p;
    ASSERT_TRUE(ChargePack(Ecrit(kPack), p));
    TParcoursPack parcours(p);
    EXPECT_FALSE(parcours.Precedent());
    EXPECT_EQ(parcours.Indice(), 0);
    EXPECT_TRUE(parcours.Suivant());
    EXPECT_EQ(parcours.Courant().Titre, "Trois bandes");
    EXPECT_FALSE(parcours.Suivant());
    EXPECT_EQ(parcours.Indice(), 1);
    EXPECT_EQ(parcours.Recommence().Billes, p.Exercices[1].Position.Billes);
    EXPECT_TRUE(parcours.Precedent());
    EXPECT_EQ(parcours.Recommence().Billes, p.Exercices[0].Position.Billes);
}

TEST(RouteCible, ReadsTheProgramsWordsWithAnySeparatorAndComparesWithContacts) {
    std::vector<TContactCible> c;
    ASSERT_TRUE(LitRouteCible("Jaune · longue · COURTE ; longue,Rouge", j3Bandes, "Jaune", c));
    EXPECT_EQ(TexteRouteCible(c, "Jaune"), "Jaune · longue · courte · longue · Rouge");
    // long cushions are 1 and 3, short ones 2 and 4; balls 12 (other cue ball) and 13 (red)
    EXPECT_TRUE(RouteSuivie(c, {12, 3, 2, 1, 13}));
    EXPECT_FALSE(RouteSuivie(c, {12, 3, 1, 1, 13}));
    EXPECT_FALSE(RouteSuivie(c, {13, 3, 2, 1, 12}));
    EXPECT_FALSE(RouteSuivie(c, {12, 3, 2, 1}));
    // cushions before the first ball count as well
    ASSERT_TRUE(LitRouteCible("longue courte longue Rouge Jaune", j3Bandes, "Jaune", c));
    ASSERT_TRUE(LitRouteCible("Rouge Jaune", jLibre, "Jaune", c));
    std::string erreur;
    EXPECT_FALSE(LitRouteCible("Rouge Rouge longue", jLibre, "Jaune", c, &erreur));
    EXPECT_FALSE(LitRouteCible("Rouge longue Jaune longue", j1Bande, "Jaune", c, &erreur));
    EXPECT_NE(erreur.find("finir"), std::string::npos);
    EXPECT_FALSE(LitRouteCible("  ", jLibre, "Jaune", c, &erreur));
}
