// The game rules judged on whole shots: the verdict of each mode against the contacts of the
// player's ball, watched as the computation loop applies them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "sim/C8_BoucleTrajets.h"
#include "tests/sim/OutilsSimu.h"
#include "tests/support/Tirage.h"

namespace {

// what the player's ball touched, in order: a cushion (1..4) or a ball (12, 13); the cloth apart
struct TContactsBille1 {
    static constexpr bool Photos = true;
    std::vector<int> Contacts;

    bool ApresContact(const TBillardVelmora&, const TEtatBille& a) {
        if (a.DernierChoc == tcBilleBande && a.NumBille == 1) Contacts.push_back(a.NumTouche);
        // a contact of two balls is told to one of them, whichever it is
        if (a.DernierChoc == tcBilleBille) {
            if (a.NumBille == 1) Contacts.push_back(10 + a.NumTouche);
            if (a.NumTouche == 1) Contacts.push_back(10 + a.NumBille);
        }
        return false;
    }
    bool ApresPas(const TBillardVelmora&, double) { return false; }
};

int BandesRequises(TModeDeJeu mode) { return mode == j3Bandes ? 3 : mode == j1Bande ? 1 : 0; }

// The rule: the point is made when the player's ball, reaching the second of the other two
// balls for the first time, has touched at least the mode's number of cushions; that moment
// decides, whatever follows.
bool PointSelonLaRegle(const std::vector<int>& contacts, TModeDeJeu mode) {
    int bandes = 0;
    int premiere = 0;
    for (int c : contacts) {
        if (c < 10) {
            ++bandes;
        } else if (premiere == 0) {
            premiere = c;
        } else if (c != premiere) {
            return bandes >= BandesRequises(mode);
        }
    }
    return false;
}

// the fault the rule guards against: judging again at each later contact with the other ball
bool PointJugeAChaqueContact(const std::vector<int>& contacts, TModeDeJeu mode) {
    int bandes = 0;
    int premiere = 0;
    for (int c : contacts) {
        if (c < 10)
            ++bandes;
        else if (premiere == 0)
            premiere = c;
        else if (c != premiere && bandes >= BandesRequises(mode))
            return true;
    }
    return false;
}

// three balls apart anywhere on the table, and a cue shot of any strength and effect
void TireCoup(TBillardVelmora& s, std::mt19937_64& alea) {
    const double r = s.Fisik.RayonBilles();
    const double xMax = s.Fisik.largeurJeu() / 2 - r, yMax = s.Fisik.largeurJeu() - r;
    for (int b = 1; b <= NbBilles; ++b) {
        TVecteur p;
        bool libre = false;
        while (!libre) {
            // one draw after the other: the order of a call's arguments is the compiler's
            const double x = Tirage(alea, -xMax, xMax);
            p = Vecteur(x, Tirage(alea, -yMax, yMax), r);
            libre = true;
            for (int a = 1; a < b; ++a)
                if (Norme(DiffVect(p, s.Trajets[a][0].Position)) < 2.2 * r) libre = false;
        }
        s.Trajets[b][0] = {p, VecteurNul, VecteurNul};
    }
    // aimed near one of the other balls, so that most shots reach one
    const TVecteur cible = s.Trajets[alea() % 2 ? 2 : 3][0].Position;
    const TVecteur d = DiffVect(cible, s.Trajets[1][0].Position);
    const double visee = std::atan2(d.y, d.x) + Tirage(alea, -0.3, 0.3);
    s.SetParamQueue({Tirage(alea, 150, 700), 520, Tirage(alea, -1.5, 1.5), Tirage(alea, -1.5, 1.5), visee,
                     Tirage(alea, 0, 0.15)});
}

TEST(Validation, EachModeJudgesTheShotByThePlayersBallsCushionsBeforeItsSecondBall) {
    auto s = NouvelleSimu();
    std::mt19937_64 alea(2024);
    // how often the modes part: only free play, free play and one cushion, all three; a
    // three-cushion point missed for good though the other ball was touched again after three;
    // a point cancelled by a ball off the table
    int libreSeul = 0, uneBande = 0, troisBandes = 0, decideAvant = 0, annules = 0;
    for (int coup = 0; coup < 6000; ++coup) {
        TireCoup(*s, alea);
        const TParamQueue queue = s->ParamQueue();
        std::array<TPVR, NbBilles + 1> photo0{};
        for (int b = 1; b <= NbBilles; ++b) photo0[b] = s->Trajets[b][0];
        std::vector<int> contacts;
        bool reussi[3] = {};
        for (TModeDeJeu mode : {jLibre, j1Bande, j3Bandes}) {
            for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0] = photo0[b];
            s->SetParamQueue(queue);
            s->ModeDeJeu = mode;
            s->ImpactQueue();
            TContactsBille1 suivi;
            s->CalculTrajetsSuivi(suivi);
            contacts = suivi.Contacts;
            reussi[mode] = s->PointReussi;
            // a ball that left the table cancels the point
            bool dehors = false;
            for (int b = 1; b <= NbBilles; ++b) dehors |= s->Mouvements[b][s->NbPhotos] == mvDehors;
            ASSERT_EQ(s->PointReussi, PointSelonLaRegle(contacts, mode) && !dehors)
                << "shot " << coup << ", mode " << int(mode);
            annules += mode == jLibre && dehors && PointSelonLaRegle(contacts, mode);
        }
        libreSeul += reussi[jLibre] && !reussi[j1Bande];
        uneBande += reussi[j1Bande] && !reussi[j3Bandes];
        troisBandes += reussi[j3Bandes];
        decideAvant += !reussi[j3Bandes] && PointJugeAChaqueContact(contacts, j3Bandes);
    }
    EXPECT_GT(libreSeul, 20);
    EXPECT_GT(uneBande, 50);
    EXPECT_GT(troisBandes, 50);
    EXPECT_GT(decideAvant, 0);
    EXPECT_GT(annules, 0);
}

}  // namespace
