// The game's reading of a position file (what velmora-sim and the fuzz target use) against the 3D
// billiard of the desktop program opening the same file at start: the same cue, the same balls,
// the same camera, the same file saved back, to the bit, over files full of odd values.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>

#include "fichiers/EcritureAtomique.h"
#include "jeu/PositionJeu.h"
#include "tests/support/DossierDeTest.h"
#include "view3d/BillardSansEcran.h"

namespace {

struct PositionJeuCommeLeBillard : TestAvecDossier {
    PositionJeuCommeLeBillard() : TestAvecDossier("velmora-jeu-vue3d") {}
};

// a position file drawn at random: keys missing, out of range, overlapping or off the table,
// not numbers, with and without the view section and its parameter file
std::string FichierAuHasard(std::mt19937& alea, const std::string& fsk) {
    std::uniform_real_distribution<double> u(0, 1);
    const auto entre = [&](double a, double b) { return a + (b - a) * u(alea); };
    const auto nombre = [&](double a, double b) -> std::string {
        const double r = u(alea);
        if (r < 0.04) return "abc";
        if (r < 0.06) return "nan";
        if (r < 0.08) return "1e999";
        std::ostringstream s;
        s.precision(17);
        s << entre(a, b);
        return s.str();
    };
    std::ostringstream f;
    if (u(alea) < 0.9) {
        f << "[Queue]\n";
        const std::pair<const char*, std::pair<double, double>> cles[] = {
            {"Vq", {-50, 900}},        {"m", {-5, 900}},       {"AngleOx", {-7, 7}},
            {"AngleTapis", {-0.5, 2}}, {"Effet", {-3.5, 3.5}}, {"Hauteur", {-3.5, 3.5}}};
        for (const auto& [cle, bornes] : cles)
            if (u(alea) < 0.85) f << cle << "=" << nombre(bornes.first, bornes.second) << "\n";
    }
    if (u(alea) < 0.9) {
        f << "[Positions]\n";
        for (int b = 1; b <= 3; ++b) {
            // the later balls often near the first, to overlap it
            const double portee = b > 1 && u(alea) < 0.4 ? 6 : 1;
            if (u(alea) < 0.9) f << "P" << b << "x=" << nombre(-80 / portee, 80 / portee) << "\n";
            if (u(alea) < 0.9) f << "P" << b << "y=" << nombre(-150 / portee, 150 / portee) << "\n";
            if (u(alea) < 0.9) f << "P" << b << "z=" << nombre(3, 3.2) << "\n";
        }
    }
    if (u(alea) < 0.7) {
        f << "[GLBillard]\n";
        if (u(alea) < 0.6) f << "Hrelatif=" << (u(alea) < 0.5 ? "1" : "0") << "\n";
        if (u(alea) < 0.6) f << "TypeCamActive=" << (u(alea) < 0.5 ? "1" : "0") << "\n";
        for (const char* cle : {"CamActX", "CamActY", "CamActZ", "TatgetX", "TatgetY", "TatgetZ"})
            if (u(alea) < 0.4) f << cle << "=" << nombre(-300, 300) << "\n";
        if (u(alea) < 0.2) f << "FisikFile=" << (u(alea) < 0.5 ? fsk : std::string("disparu.fsk")) << "\n";
    }
    return f.str();
}

TEST_F(PositionJeuCommeLeBillard, TheGameAndThe3DBilliardOpenEveryFileAlike) {
    const std::string fsk = Chemin("table.fsk");
    ASSERT_TRUE(EcritFichierAtomique(fsk, "[Dimensions]\nRayonBilles=3.1\n[Autres]\nG=975\n"));
    std::mt19937 alea(15);
    for (int i = 0; i < 150; ++i) {
        const std::string texte = FichierAuHasard(alea, fsk);
        SCOPED_TRACE(texte);
        const std::string nom = Chemin("p.vel");
        ASSERT_TRUE(EcritFichierAtomique(nom, texte));

        auto billard = std::make_unique<TBillardSansEcran>();
        TPositionOuverte o;
        std::string e1, e2;
        const bool lu3D = billard->ChargePosition(nom, &e1);
        ASSERT_EQ(LitPositionJeu(nom, o, &e2), lu3D);
        if (!lu3D) {
            EXPECT_EQ(e1, e2);
            continue;
        }
        // the cue and the balls as the simulation gets them
        const TBillardVelmora& s = *billard->Billard.Simu;
        EXPECT_EQ(s.ParamQueue(), ParamSimu(o.Position.Queue));
        EXPECT_EQ(billard->Billard.Queue->Valeurs(), o.Position.Queue);
        const std::array<TVecteur, 3> positions = PositionsSimu(o.Position.Billes);
        for (int b = 1; b <= NbBilles; ++b)
            EXPECT_EQ(s.Trajets[b][0].Position, positions[size_t(b - 1)]) << b;

        // the view and the parameter file: the same file saved back
        EXPECT_EQ(billard->Billard.CamMobileActive, o.Vue.CamMobile);
        ASSERT_TRUE(billard->Billard.SauveFichier(Chemin("3d.vel")));
        ASSERT_TRUE(SauvePositionJeu(Chemin("jeu.vel"), o.Position, VueOuverte(o)));
        EXPECT_EQ(LitFichierEntier(Chemin("3d.vel")), LitFichierEntier(Chemin("jeu.vel")));
        if (!o.CheminFisik.empty()) {
            EXPECT_EQ(s.Fisik.G(), 975);
        }
    }
}

}  // namespace
