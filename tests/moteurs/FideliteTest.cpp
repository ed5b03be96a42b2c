#include <gtest/gtest.h>

#include "fichiers/FichierFisik.h"
#include "moteurs/Fidelite.h"
#include "tests/moteurs/CoupsGeneres.h"

namespace {

TPARAMPHYS Match() {
    TPARAMPHYS f;
    EXPECT_TRUE(ChargeFisik(f, VELMORA_EXAMPLES_DIR "/match.fsk"));
    return f;
}

// three-cushion shots of match.fsk as a tracker sees them, with a millimetre of noise
std::vector<TCoupEnregistre> Enregistrements(const TPARAMPHYS& fisik) {
    struct TCas {
        std::array<double, 6> billes;
        double visee, vitesse, effet, hauteur;
    };
    const TCas cas[] = {
        {{-30, -40, 25, 60, -45, 90}, 55, 320, -1.0, -0.5},
        {{40, 20, -20, -80, 10, 110}, 200, 280, 1.2, 0.3},
        {{-50, -120, 20, 30, 40, 100}, 80, 350, 0.8, 0.5},
        {{30, -100, -20, 0, 50, 60}, 105, 300, -0.8, 0.4},
        {{-20, 100, 10, -60, -40, 20}, -80, 300, 0.5, -0.6},
        {{0, 0, 40, -40, -50, 120}, -45, 330, 0.3, 0.9},
    };
    std::vector<TCoupEnregistre> coups;
    std::uint32_t graine = 1;
    for (const TCas& c : cas)
        coups.push_back(
            GenereCoup(fisik, c.billes, c.visee, c.vitesse, c.effet, c.hauteur, ++graine, 0.1).Coup);
    return coups;
}

TRapportFidelite Rapport(const TPARAMPHYS& table, const std::vector<TCoupEnregistre>& coups) {
    TOptionsFidelite o;
    o.NbThreads = 2;
    return ResumeFidelite(CompareCoups(table, coups, o), o);
}

}  // namespace

// Recordings of a table compared with that table: every route played, and the two sides of every
// table of the report agree to the noise.
TEST(Fidelite, ATableComparedWithItsOwnShotsAgreesContactByContact) {
    const TPARAMPHYS fisik = Match();
    const std::vector<TCoupEnregistre> coups = Enregistrements(fisik);
    const TRapportFidelite r = Rapport(fisik, coups);
    EXPECT_EQ(r.NbCoups, 6);
    EXPECT_EQ(r.RoutesReproduites, 6);
    EXPECT_LT(r.TroisBilles.Mediane, 0.6);
    EXPECT_GE(r.ContactsApparies, r.ContactsEnregistres - 1);
    EXPECT_LT(r.EcartTempsMedian, 0.02);
    int bandes = 0;
    for (const TClasseBande& k : r.Bandes) {
        bandes += k.N;
        if (k.N < 2) continue;
        EXPECT_NEAR(k.SortieCalculee, k.SortieReelle, 1.5) << k.Min;
        EXPECT_NEAR(k.RapportCalcule / k.RapportReel, 1, 0.03) << k.Min;
    }
    EXPECT_GE(bandes, 15);
    EXPECT_GT(r.NbRoulements, 0);
    EXPECT_NEAR(r.DecelerationCalculee / r.DecelerationReelle, 1, 0.05);
    // the worst shots, worst first, none parting from its recording by its first contacts
    ASSERT_EQ(r.Pires.size(), 5u);
    EXPECT_GE(r.Pires[0].Score, r.Pires[4].Score);
}

// The same recordings against a table whose cloth rolls longer: the report shows the last rolls
// slowing down less than recorded, by what the table was changed (the fit cannot make up for it:
// a last roll follows the rolling resistance alone).
TEST(Fidelite, AFasterClothShowsInTheLastRolls) {
    const TPARAMPHYS fisik = Match();
    const std::vector<TCoupEnregistre> coups = Enregistrements(fisik);
    TPARAMPHYS rapide = fisik;
    rapide.Change(&TConstantesPhys::FrotBiTapRoule, 0.7 * fisik.FrotBiTapRoule());
    const TRapportFidelite r = Rapport(rapide, coups);
    ASSERT_GT(r.NbRoulements, 0);
    EXPECT_NEAR(r.DecelerationCalculee / r.DecelerationReelle, 0.7, 0.05);
}

// A shot a window computed, compared with its recording: played again from its photo 0, the same
// contacts, distances and route as the fit's own comparison.
TEST(Fidelite, AShotComputedElsewhereComparesAsTheFitsOwn) {
    const TPARAMPHYS fisik = Match();
    const std::vector<TCoupEnregistre> coups = Enregistrements(fisik);
    TAjustementCoup a(fisik, coups[2]);
    const TResultatAjustement r = a.Ajuste({});
    const TFideliteCoup ajuste = CompareCoup(a, r);
    auto fenetre = std::make_unique<TBillardVelmora>();
    fenetre->Fisik = a.Simu().Fisik;
    for (int b = 1; b <= NbBilles; ++b) fenetre->Trajets[b][0] = a.Simu().Trajets[b][0];
    fenetre->CalculTrajets();
    const TFideliteCoup joue = CompareJoue(coups[2], a.Evenements(), *fenetre, r.Frappe);
    EXPECT_EQ(joue.Ajustement.Score.Bille1, r.Score.Bille1);
    EXPECT_EQ(joue.Ajustement.Score.Toutes, r.Score.Toutes);
    EXPECT_TRUE(joue.RouteReproduite);
    ASSERT_EQ(joue.Contacts.size(), ajuste.Contacts.size());
    for (std::size_t k = 0; k < joue.Contacts.size(); ++k) {
        EXPECT_EQ(joue.Contacts[k].Calcule.t, ajuste.Contacts[k].Calcule.t);
        EXPECT_EQ(joue.Contacts[k].BandeCalculee.AngleSortie, ajuste.Contacts[k].BandeCalculee.AngleSortie);
    }
}
