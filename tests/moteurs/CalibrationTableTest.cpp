#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fichiers/FichierFisik.h"
#include "moteurs/CalibrationTable.h"
#include "tests/moteurs/CoupsGeneres.h"

namespace {

TPARAMPHYS Match() {
    TPARAMPHYS f;
    EXPECT_TRUE(ChargeFisik(f, VELMORA_EXAMPLES_DIR "/match.fsk"));
    return f;
}

std::vector<TCoupEnregistre> Enregistrements(const std::vector<TCoupGenere>& g) {
    std::vector<TCoupEnregistre> c;
    for (const TCoupGenere& x : g) c.push_back(x.Coup);
    return c;
}

std::vector<int> Indices(int de, int a) {
    std::vector<int> v;
    for (int i = de; i < a; ++i) v.push_back(i);
    return v;
}

}  // namespace

TEST(CalibrationTable, ConstantsByNameWithinTheirRanges) {
    ASSERT_TRUE(TrouveConstante("FrotBiTapRoule"));
    EXPECT_FALSE(TrouveConstante("LargJeu"));
    EXPECT_FALSE(TrouveConstante("frotbitaproule"));
    EXPECT_EQ(ConstantesParDefaut().size(), 6u);
    // a table on the stepped cushion model calibrates that model's restitution and friction
    const std::vector<int> pasAPas = ConstantesParDefaut(mbMathavan);
    EXPECT_EQ(pasAPas.size(), 6u);
    for (const char* nom : {"ElastMathavan", "FrotMathavan", "FrotBiTapRoule"})
        EXPECT_NE(std::find(pasAPas.begin(), pasAPas.end(), *TrouveConstante(nom)), pasAPas.end()) << nom;
    EXPECT_EQ(std::find(pasAPas.begin(), pasAPas.end(), *TrouveConstante("ElastBiBde")), pasAPas.end());
    // the start and the file key of the cue impact's loss differ from the property's name
    const int k = *TrouveConstante("ElastQueueBi");
    EXPECT_EQ(ConstantesCalibrables()[std::size_t(k)].Champ, &TConstantesPhys::PerteEcQB);
    // every range stays above the tuning window's floor
    for (const auto& c : ConstantesCalibrables()) EXPECT_GE(c.Min, 0.001) << c.Nom;

    const TCalibrationTable cal(Match(), {});
    const TPARAMPHYS f =
        cal.Fisik({*TrouveConstante("ElastBiBde"), *TrouveConstante("FrotBiTapRoule")}, {1.7, 0.004});
    EXPECT_EQ(f.ElastBiBde(), 1.0);  // clamped to its range
    EXPECT_EQ(f.FrotBiTapRoule(), 0.004);
    EXPECT_EQ(f.FrotBiTapGlisse(), Match().FrotBiTapGlisse());
}

// Whoever runs the shots' fits (one thread, two, or another layer in any order), a calibration
// gives the same constants and scores to the bit.
TEST(CalibrationTable, SameResultWhateverRunsTheShots) {
    TPARAMPHYS vrai = Match();
    vrai.Change(&TConstantesPhys::FrotBiTapRoule, 0.0045);
    const TCalibrationTable cal(Match(), Enregistrements(GenereCoups(vrai, 5, 21)));
    TOptionsCalibration o;
    o.Constantes = {*TrouveConstante("FrotBiTapRoule")};
    o.NbTours = 1;
    o.EssaisParTour = 4;
    o.Ajustement.NbDeparts = 2;
    o.Ajustement.EvalsLocales = 100;
    o.NbThreads = 1;
    const TResultatCalibration un = cal.Calibre(Indices(0, 4), {4}, o);
    o.NbThreads = 2;
    const TResultatCalibration deux = cal.Calibre(Indices(0, 4), {4}, o);
    // a dispatcher of another kind: the tasks done last to first
    const TRepartiteurCalibration aRebours = [&](const TPARAMPHYS& fisik,
                                                 const std::vector<TTacheCoup>& taches) {
        std::vector<TResultatAjustement> r(taches.size());
        for (std::size_t k = taches.size(); k-- > 0;)
            r[k] = cal.AjusteTache(fisik, taches[k], o.Ajustement, o.EvalsAffinage);
        return r;
    };
    const TResultatCalibration autre = cal.Calibre(Indices(0, 4), {4}, o, aRebours);
    for (const TResultatCalibration* r : {&deux, &autre}) {
        EXPECT_EQ(r->Valeurs, un.Valeurs);
        EXPECT_EQ(r->Entrainement.Moyenne, un.Entrainement.Moyenne);
        EXPECT_EQ(r->Validation.Mediane, un.Validation.Mediane);
        EXPECT_EQ(r->NbCoups, un.NbCoups);
    }
    EXPECT_EQ(un.NbEssais, 4);
    ASSERT_EQ(un.Validation.Coups.size(), 1u);
    EXPECT_EQ(un.EntrainementDepart.Coups.size(), 4u);

    // a stop asked before the start: nothing is judged, the result says so
    std::atomic<bool> arret{true};
    EXPECT_TRUE(cal.Calibre(Indices(0, 4), {4}, o, {}, &arret).Interrompu);
}

// 30 shots recorded on a table whose rolling friction, cushion and ball restitution differ from
// match.fsk's by 14, 6 and 2 %: from match.fsk the calibration finds them within a few per cent,
// and the shots then score at the level of the noise.
TEST(CalibrationTable, RecoversTheConstantsThatShapedGeneratedShots) {
    TPARAMPHYS vrai = Match();
    vrai.Change(&TConstantesPhys::FrotBiTapRoule, 0.0043);
    vrai.Change(&TConstantesPhys::ElastBiBde, 0.80);
    vrai.Change(&TConstantesPhys::ElastBiBi, 0.92);
    const TCalibrationTable cal(Match(), Enregistrements(GenereCoups(vrai, 30, 4)));
    TOptionsCalibration o;
    o.Constantes = {*TrouveConstante("FrotBiTapRoule"), *TrouveConstante("ElastBiBde"),
                    *TrouveConstante("ElastBiBi")};
    const TResultatCalibration r = cal.Calibre(Indices(0, 30), {}, o);
    ASSERT_EQ(r.Valeurs.size(), 3u);
    EXPECT_NEAR(r.Valeurs[0] / 0.0043, 1, 0.03);
    EXPECT_NEAR(r.Valeurs[1] / 0.80, 1, 0.03);
    EXPECT_NEAR(r.Valeurs[2] / 0.92, 1, 0.03);
    EXPECT_LT(r.Entrainement.Mediane, 0.7);
    EXPECT_LT(r.Entrainement.Mediane, 0.5 * r.EntrainementDepart.Mediane);
    EXPECT_EQ(r.Fisik.FrotBiTapRoule(), r.Valeurs[0]);
}

// 12 shots recorded on a table with the stepped cushion model: from a restitution and a cushion
// friction 6 and 25 % off, the calibration finds the restitution again within a few per cent,
// and moves the friction towards its value (it shows only in oblique rebounds, where spin and aim
// can make up for much of it: a dozen shots pin it less sharply).
TEST(CalibrationTable, RecoversTheSteppedCushionModelsConstants) {
    TPARAMPHYS depart = Match();
    depart.ChangeModeleBande(mbMathavan);
    TPARAMPHYS vrai = depart;
    vrai.Change(&TConstantesPhys::ElastMathavan, 0.86);
    vrai.Change(&TConstantesPhys::FrotMathavan, 0.16);
    depart.Change(&TConstantesPhys::ElastMathavan, 0.91);
    depart.Change(&TConstantesPhys::FrotMathavan, 0.2);
    const TCalibrationTable cal(depart, Enregistrements(GenereCoups(vrai, 12, 8)));
    TOptionsCalibration o;
    o.Constantes = {*TrouveConstante("ElastMathavan"), *TrouveConstante("FrotMathavan")};
    o.NbTours = 1;
    o.EssaisParTour = 25;
    const TResultatCalibration r = cal.Calibre(Indices(0, 12), {}, o);
    ASSERT_EQ(r.Valeurs.size(), 2u);
    EXPECT_NEAR(r.Valeurs[0] / 0.86, 1, 0.03);
    EXPECT_LT(std::abs(r.Valeurs[1] - 0.16), 0.2 - 0.16);
    EXPECT_EQ(r.Fisik.ModeleBande(), mbMathavan);
    EXPECT_LT(r.Entrainement.Mediane, r.EntrainementDepart.Mediane);
}
