// The match in the program: the striker's ball through the "Jeu" menu, the turn kept on a point and
// passed on a miss, play going on from where the balls came to rest, undo, and the match resumed
// after a restart; shots that are not the match's are left out.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/MainVel3D.h"
#include "tests/app/Fenetres.h"
#include "tests/support/BoitesEtAttente.h"
#include "tests/support/ControleParNom.h"
#include "tools/Partie.h"

namespace {

struct TFenetrePartie {
    TFenetres w;
    TPartieFrm* p = nullptr;

    TFenetrePartie() { Demarre(); }
    void Demarre() {
        w.Cree();
        p = w.F().PartieFrm;
        p->show();
        QApplication::processEvents();
    }
    // the program closed and started again on the same history
    void Redemarre() {
        w.principale.reset();
        Demarre();
    }
    void Nouvelle(int mode = 2, int distance = 3) {
        C<QLineEdit>("JoueurAEdit")->setText(QStringLiteral("Ana"));
        C<QLineEdit>("JoueurBEdit")->setText(QStringLiteral("Ben"));
        C<QComboBox>("ModeCombo")->setCurrentIndex(mode);
        C<QSpinBox>("DistanceEdit")->setValue(distance);
        C<QToolButton>("NouvelleBtn")->click();
    }
    TGLBillardVelmora& B() { return w.B(); }
    template <class T>
    T* C(const char* nom) const {
        return ControleDe<T>(*p, nom);
    }
    QToolButton* Bouton(const char* nom) const { return C<QToolButton>(nom); }
    QString Etat() const { return C<QLabel>("EtatLbl")->text(); }
    QString Joueur() { return Controle<QAction>(w.F(), "BilleJoueurMnu")->text(); }
    // a player's figure on the score board, its row found by its title
    QString Case(int joueur, const char* ligne) {
        QTableWidget* t = C<QTableWidget>("ScoreGrid");
        for (int r = 0; r < t->rowCount(); ++r)
            if (t->verticalHeaderItem(r)->text() == QString::fromUtf8(ligne))
                return t->item(r, joueur)->text();
        ADD_FAILURE() << "pas de ligne " << ligne;
        return {};
    }
    // fired as the player fires: the fire button
    void Tire() { Controle<QToolButton>(w.F(), "FeuBtn")->click(); }
    // an aim that scores from where the balls lie, found with previews (auto-fire's shots, not
    // the player's); false when none does
    bool ViseUnPoint() {
        TGLQueue& q = *B().Queue;
        q.SetVitesse(400);
        for (int a = 0; a < 720; ++a) {
            q.SetVisee(float(a) / 2);
            w.F().FeuBtnClick();
            if (B().Simu->PointReussi && !B().Simu->FausseQueue) return true;
        }
        return false;
    }
    // a stroke too soft to reach any ball
    void ViseUnManque() {
        B().Queue->SetVitesse(1);
        B().Queue->SetVisee(0);
    }
};

// the contrast ratio of two colours as the readability guidelines define it (1 to 21)
double Contraste(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto canal = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::array<TVecteur3f, 3> Billes(TGLBillardVelmora& b) {
    return {b.Blanche->LitPosition(), b.Jaune->LitPosition(), b.Rouge->LitPosition()};
}

bool Egales(const std::array<TVecteur3f, 3>& a, const std::array<TVecteur3f, 3>& b) {
    for (size_t i = 0; i < 3; ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z) return false;
    return true;
}

}  // namespace

TEST(PartieFrm, APointKeepsTheTurnAMissPassesItWithTheBallAndUndoTakesTheShotBack) {
    TFenetrePartie f;
    f.Nouvelle();
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Blanche"));
    EXPECT_TRUE(Controle<QAction>(f.w.F(), "MnuLibre")->isChecked());
    EXPECT_TRUE(f.Etat().startsWith(QStringLiteral("au tour de Ana (Blanche), en 3 points")));
    EXPECT_EQ(f.C<QTableWidget>("ScoreGrid")->horizontalHeaderItem(1)->text(),
              QStringLiteral("Ben\n(Jaune)"));
    ASSERT_TRUE(f.ViseUnPoint());
    // previews are not the match's shots
    EXPECT_TRUE(f.p->Partie()->Coups().empty());
    const auto depart = Billes(f.B());
    f.Tire();
    ASSERT_EQ(f.p->Partie()->Coups().size(), 1u);
    EXPECT_EQ(f.p->Partie()->Joueur(), 0);
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Blanche"));
    EXPECT_EQ(f.Case(0, "Points"), QStringLiteral("1"));
    EXPECT_EQ(f.Case(0, "Série"), QStringLiteral("1"));
    // play goes on from where the balls came to rest
    const auto apres = Billes(f.B());
    EXPECT_FALSE(Egales(apres, depart));
    f.ViseUnManque();
    f.Tire();
    EXPECT_EQ(f.p->Partie()->Joueur(), 1);
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Jaune"));
    EXPECT_EQ(f.B().BilleJoueur, f.B().Jaune);
    EXPECT_TRUE(f.Etat().startsWith(QStringLiteral("au tour de Ben (Jaune)")));
    // Ana: 1 point in 1 inning, best series 1, average 1,000
    EXPECT_EQ(f.Case(0, "Reprises"), QStringLiteral("1"));
    EXPECT_EQ(f.Case(0, "Meilleure série"), QStringLiteral("1"));
    EXPECT_EQ(f.Case(0, "Moyenne générale"), QStringLiteral("1,000"));
    f.Bouton("AnnulerBtn")->click();
    EXPECT_EQ(f.p->Partie()->Joueur(), 0);
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Blanche"));
    EXPECT_TRUE(Egales(Billes(f.B()), apres));
    f.Bouton("AnnulerBtn")->click();
    EXPECT_TRUE(Egales(Billes(f.B()), depart));
    EXPECT_EQ(f.Case(0, "Points"), QStringLiteral("0"));
    EXPECT_FALSE(f.Bouton("AnnulerBtn")->isEnabled());
}

TEST(PartieFrm, AnUnfinishedMatchIsResumedAfterARestartWithItsScoreBallsAndStriker) {
    TFenetrePartie f;
    f.Nouvelle(2, 5);
    ASSERT_TRUE(f.ViseUnPoint());
    f.Tire();
    f.ViseUnManque();
    f.Tire();
    const auto billes = Billes(f.B());
    f.Redemarre();
    EXPECT_EQ(f.p->Partie(), nullptr);
    ASSERT_TRUE(f.Bouton("ReprendreBtn")->isEnabled());
    f.Bouton("ReprendreBtn")->click();
    ASSERT_NE(f.p->Partie(), nullptr);
    EXPECT_EQ(f.p->Partie()->Coups().size(), 2u);
    EXPECT_EQ(f.p->Partie()->Score(0).Points, 1);
    EXPECT_EQ(f.C<QLineEdit>("JoueurBEdit")->text(), QStringLiteral("Ben"));
    EXPECT_EQ(f.C<QComboBox>("ModeCombo")->currentIndex(), 2);
    EXPECT_EQ(f.C<QSpinBox>("DistanceEdit")->value(), 5);
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Jaune"));
    EXPECT_TRUE(Controle<QAction>(f.w.F(), "MnuLibre")->isChecked());
    EXPECT_TRUE(Egales(Billes(f.B()), billes));
    // and it goes on being stored
    f.ViseUnManque();
    f.Tire();
    f.Redemarre();
    f.Bouton("ReprendreBtn")->click();
    ASSERT_NE(f.p->Partie(), nullptr);
    EXPECT_EQ(f.p->Partie()->Coups().size(), 3u);
    EXPECT_EQ(f.p->Partie()->Joueur(), 0);
}

TEST(PartieFrm, ReprendreReadsTheHistoryWhenAskedAndSaysWhenThereIsNothingToResume) {
    TFenetrePartie f;
    EXPECT_FALSE(f.Bouton("ReprendreBtn")->isEnabled());
    EXPECT_EQ(Boite([&] { f.p->ReprendreBtnClick(); }),
              QStringLiteral("Aucune partie inachevée dans l'historique."));
    // another instance starts a match on the same history while this window is open
    {
        TBaseHistorique autre;
        ASSERT_TRUE(autre.Ouvre(f.w.demarrage.Historique.toStdString()));
        TReglesPartie r;
        r.Joueurs = {"Chloé", "Dan"};
        ASSERT_TRUE(autre.CommencePartie(TPartieCarambole(r, {}), 1000));
    }
    f.p->hide();
    f.p->show();
    ASSERT_TRUE(f.Bouton("ReprendreBtn")->isEnabled());
    f.Bouton("ReprendreBtn")->click();
    ASSERT_NE(f.p->Partie(), nullptr);
    EXPECT_EQ(f.C<QLineEdit>("JoueurAEdit")->text(), QStringLiteral("Chloé"));
    EXPECT_EQ(f.C<QComboBox>("ModeCombo")->currentIndex(), 0);
    EXPECT_TRUE(Controle<QAction>(f.w.F(), "Mnu3bandes")->isChecked());
}

TEST(PartieFrm, AShotFromAnotherPlaceBallOrModeIsNotCountedAndTheMatchIsPutBack) {
    TFenetrePartie f;
    f.Nouvelle();
    const auto depart = Billes(f.B());
    f.B().Rouge->SetPosition({10, 20, depart[2].z});
    f.Tire();
    EXPECT_TRUE(f.p->Partie()->Coups().empty());
    EXPECT_TRUE(f.Etat().startsWith(
        QStringLiteral("coup non compté : les billes n'étaient plus où la partie les avait laissées")))
        << f.Etat().toStdString();
    EXPECT_TRUE(Egales(Billes(f.B()), depart));
    Controle<QAction>(f.w.F(), "BilleJoueurMnu")->trigger();
    f.Tire();
    EXPECT_TRUE(f.Etat().contains(QStringLiteral("bille de l'autre joueur")));
    EXPECT_EQ(f.Joueur(), QStringLiteral("Joueur : Blanche"));
    Controle<QAction>(f.w.F(), "Mnu3bandes")->trigger();
    f.Tire();
    EXPECT_TRUE(f.Etat().contains(QStringLiteral("le mode de jeu n'est plus celui de la partie")));
    EXPECT_TRUE(Controle<QAction>(f.w.F(), "MnuLibre")->isChecked());
    EXPECT_TRUE(f.p->Partie()->Coups().empty());
    // two players of one name are refused, and the match in play stays
    f.C<QLineEdit>("JoueurBEdit")->setText(QStringLiteral("Ana"));
    const QString texte = Boite([&] { f.Bouton("NouvelleBtn")->click(); });
    EXPECT_EQ(texte, QStringLiteral("Donnez deux noms de joueurs différents."));
    EXPECT_EQ(f.p->Partie()->Regles().Joueurs[1], "Ben");
}

TEST(PartieFrm, ThePlayerAtTheTableStandsOutAndReadsInLightAndDarkPalettes) {
    TFenetrePartie f;
    f.Nouvelle();
    QPalette sombre;
    for (const auto& [role, couleur] : {std::pair{QPalette::Window, QColor(45, 45, 45)},
                                        {QPalette::Base, QColor(30, 30, 30)},
                                        {QPalette::Text, QColor(230, 230, 230)},
                                        {QPalette::WindowText, QColor(230, 230, 230)},
                                        {QPalette::Highlight, QColor(42, 130, 218)},
                                        {QPalette::HighlightedText, QColor(255, 255, 255)}})
        sombre.setColor(role, couleur);
    for (const QPalette& palette : {QApplication::palette(), sombre}) {
        f.p->setPalette(palette);
        QApplication::processEvents();
        QTableWidget* t = f.C<QTableWidget>("ScoreGrid");
        for (int r = 0; r < t->rowCount(); ++r) {
            const QTableWidgetItem& joue = *t->item(r, f.p->Partie()->Joueur());
            const QTableWidgetItem& attend = *t->item(r, 1 - f.p->Partie()->Joueur());
            // a cell without a colour of its own writes in the palette's
            const QColor fond = joue.background().color();
            const QColor texte = joue.foreground().style() == Qt::NoBrush ? palette.color(QPalette::Text)
                                                                          : joue.foreground().color();
            EXPECT_GE(Contraste(texte, fond), 4.5) << r;
            // set apart from the other player's cells, which keep the board's own colours
            EXPECT_GE(Contraste(fond, palette.color(QPalette::Base)), 1.8) << r;
            EXPECT_EQ(attend.background().style(), Qt::NoBrush);
            EXPECT_TRUE(joue.font().bold());
        }
    }
}

TEST(PartieFrm, TheScoreBoardsColumnTitlesReadWholeInTheDockOfA1280x720Window) {
    TFenetrePartie f;
    f.w.F().resize(1280, 720);
    QApplication::processEvents();
    f.C<QLineEdit>("JoueurAEdit")->setText(QStringLiteral("Joueur A"));
    f.C<QLineEdit>("JoueurBEdit")->setText(QStringLiteral("Joueur B"));
    f.Bouton("NouvelleBtn")->click();
    QApplication::processEvents();
    const QTableWidget& t = *f.C<QTableWidget>("ScoreGrid");
    const QHeaderView& titres = *t.horizontalHeader();
    for (int j = 0; j < 2; ++j)
        for (const QString& ligne : t.horizontalHeaderItem(j)->text().split(QLatin1Char('\n')))
            EXPECT_LE(titres.fontMetrics().horizontalAdvance(ligne), titres.sectionSize(j))
                << ligne.toStdString();
}
