// The "Système" panel: the first cushion's number it gives, the ball it puts on the system's line
// aimed at that diamond, an impossible arrival refused with its reason, and the system against the
// shot just played.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>

#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/Systeme.h"

TEST(SystemeFrm, PlacingPutsBallOneOnTheSystemsLineAimedAtTheFirstCushionsDiamond) {
    TOutilFactice<TSystemeFrm> w;
    TSystemeFrm& s = w.F();
    ControleDe<QDoubleSpinBox>(s, "DepartEdit")->setValue(5);
    ControleDe<QDoubleSpinBox>(s, "ArriveeEdit")->setValue(3);
    EXPECT_TRUE(ControleDe<QLabel>(s, "ViseeLbl")
                    ->text()
                    .contains(QStringLiteral("= 2,0 : visez le diamant 2,0 de la longue droite")))
        << ControleDe<QLabel>(s, "ViseeLbl")->text().toStdString();
    for (int premiere : {0, 1})
        for (int courte : {0, 1}) {
            ControleDe<QComboBox>(s, "PremiereBandeCbx")->setCurrentIndex(premiere);
            ControleDe<QComboBox>(s, "CourteCbx")->setCurrentIndex(courte);
            ASSERT_TRUE(s.PlacerBtnClick());
            // the line from the ball along the aim reads the numbers chosen
            const TVecteur3f p = w.B().BilleJoueur->LitPosition();
            const double visee = w.B().Queue->Visee() * M_PI / 180;
            double depart = 0, premiereNum = 0;
            ASSERT_TRUE(NumerosLigne({p.x, p.y}, std::cos(visee), std::sin(visee), s.Orientation(),
                                     w.B().Simu->Fisik.largeurJeu(), depart, premiereNum));
            EXPECT_NEAR(depart, 5, 0.01) << premiere << courte;
            EXPECT_NEAR(premiereNum, 2, 0.01) << premiere << courte;
        }
    EXPECT_EQ(w.h.NbFeux, 0);
    s.JouerBtnClick();
    EXPECT_EQ(w.h.NbFeux, 1);
    EXPECT_EQ(w.h.Montres.back(), TResultatMontre::LigneJoueur);
}

TEST(SystemeFrm, AnArrivalTheFirstCushionCannotGiveIsRefusedAndNothingMoves) {
    TOutilFactice<TSystemeFrm> w;
    TSystemeFrm& s = w.F();
    const TVecteur3f avant = w.B().BilleJoueur->LitPosition();
    ControleDe<QDoubleSpinBox>(s, "DepartEdit")->setValue(3);
    ControleDe<QDoubleSpinBox>(s, "ArriveeEdit")->setValue(6);
    EXPECT_TRUE(ControleDe<QLabel>(s, "ViseeLbl")->text().startsWith(QStringLiteral("impossible : ")))
        << ControleDe<QLabel>(s, "ViseeLbl")->text().toStdString();
    EXPECT_FALSE(s.PlacerBtnClick());
    s.JouerBtnClick();
    EXPECT_EQ(w.h.NbFeux, 0);
    EXPECT_EQ(w.B().BilleJoueur->LitPosition().x, avant.x);
}

TEST(SystemeFrm, AfterAShotThePanelComparesTheSystemWithWhereTheBallArrived) {
    TOutilFactice<TSystemeFrm> w;
    TSystemeFrm& s = w.F();
    w.h.ApresFeu = [&] { s.CoupJoue(); };
    ControleDe<QDoubleSpinBox>(s, "DepartEdit")->setValue(5);
    ControleDe<QDoubleSpinBox>(s, "ArriveeEdit")->setValue(3);
    w.B().Queue->SetEffetHauteur(0.6f, 0);
    w.B().Queue->SetVitesse(330);
    s.JouerBtnClick();
    const QString texte = ControleDe<QLabel>(s, "ResultatLbl")->text();
    EXPECT_TRUE(
        texte.startsWith(QStringLiteral("dernier coup : départ 5,0 − première 2,0 = arrivée 3,0 ; bille à ")))
        << texte.toStdString();
    // a shot off a short cushion first is not the system's
    w.B().Queue->SetVisee(-90);
    w.h.Feu();
    EXPECT_EQ(ControleDe<QLabel>(s, "ResultatLbl")->text(),
              QStringLiteral("dernier coup : le système ne s'applique pas à ce coup"));
}
