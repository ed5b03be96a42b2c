#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "jeu/PositionJeu.h"
#include "view3d/BillardSansEcran.h"
#include "view3d/GLBillardVelmora.h"

namespace {
namespace fs = std::filesystem;

struct Montage {
    TScene scene;
    TVue vue{scene}, vueQueue{scene};
    TGLBillardVelmora billard{scene, vue, vueQueue};
    Montage() { billard.PositionDepart(true); }
};

struct Dossier {
    fs::path chemin;
    Dossier() {
        chemin = fs::temp_directory_path() /
                 ("velmora_vue3d_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(chemin);
    }
    ~Dossier() {
        std::error_code ec;
        fs::remove_all(chemin, ec);
    }
    std::string operator/(const std::string& nom) const { return (chemin / nom).string(); }
};

void Ecrit(const std::string& nom, const std::string& texte) { std::ofstream(nom) << texte; }
}  // namespace

TEST(GLBillardVelmora, RadiusOfTheModelsGoesToThePhysicsInSinglePrecision) {
    Montage m;
    EXPECT_FLOAT_EQ(m.billard.RayonBille, 3.075f);
    EXPECT_EQ(m.billard.Simu->Fisik.RayonBilles(), double(3.075f));
    EXPECT_EQ(m.billard.DiametreBille, 6.15f);
}

TEST(GLBillardVelmora, CueAndBallsCrossToTheSimulationAndBack) {
    Montage m;
    auto& q = *m.billard.Queue;
    q.SetVisee(45);
    q.SetInclinaison(5);
    m.billard.VersSimu();
    auto& s = *m.billard.Simu;
    EXPECT_DOUBLE_EQ(s.AngleOx, 45 * M_PI / 180);
    EXPECT_DOUBLE_EQ(s.AngleTapis, 5 * M_PI / 180);
    EXPECT_EQ(s.Effet, double(0.62f));
    EXPECT_EQ(s.VitesseQueue, 430);
    EXPECT_EQ(s.Trajets[1][0].Position.x, 18.25);
    EXPECT_EQ(s.Trajets[2][0].Position.x, 0);
    EXPECT_EQ(s.Trajets[3][0].Position.y, 71.125);
    // back: single precision, the cue's own rules, the table's constraints
    s.AngleTapis = 2;  // 114 degrees: refused by the cue
    s.Hauteur = 0.1;
    s.Trajets[2][0].Position = Vecteur(18.25 + 1, -71.125, 3.075);
    m.billard.DepuisSimu();
    EXPECT_FLOAT_EQ(q.Inclinaison(), 5);
    EXPECT_EQ(q.Hauteur(), 0.1f);
    const TVecteur3f j = m.billard.Jaune->LitPosition();
    EXPECT_NEAR(Norme(j - m.billard.Blanche->LitPosition()), 6.15f, 1e-5f);
}

TEST(GLBillardVelmora, AimedThicknessFollowsTheOffsetOfTheNearestAimedBall) {
    Montage m;
    auto& b = m.billard;
    b.Blanche->SetPosition({-50, 0, 3.075f});
    b.Jaune->SetPosition({0, -100, 3.075f});
    b.Rouge->SetPosition({50, 0, 3.075f});
    b.Queue->SetVisee(0);
    EXPECT_EQ(b.QuantiteVisee(), -1);
    // to the left of the aim line: positive side
    b.Rouge->SetPosition({50, 3.075f, 3.075f});
    EXPECT_NEAR(b.QuantiteVisee(), 0.5, 1e-6);
    b.Rouge->SetPosition({50, -3.075f, 3.075f});
    EXPECT_NEAR(b.QuantiteVisee(), -0.5, 1e-6);
    // the nearer of two aimed balls counts
    b.Jaune->SetPosition({0, 1.5375f, 3.075f});
    EXPECT_NEAR(b.QuantiteVisee(), 0.75, 1e-6);
    // beyond one diameter from the line: not aimed
    b.Jaune->SetPosition({0, 7, 3.075f});
    b.Rouge->SetPosition({50, -6.2f, 3.075f});
    EXPECT_EQ(b.QuantiteVisee(), 0);
    // nothing in front of the cue
    b.Rouge->SetPosition({50, 0, 3.075f});
    b.Queue->SetVisee(180);
    EXPECT_EQ(b.QuantiteVisee(), 0);
}

TEST(GLBillardVelmora, ThicknessOfTheFirstContactOfTheLastShot) {
    Montage m;
    auto& s = *m.billard.Simu;
    s.NbPhotos = 3;
    s.TypesChocs = {};
    EXPECT_EQ(m.billard.QuantiteTouchee(), 0);
    s.TypesChocs[1] = tcBilleBande;
    s.TypesChocs[2] = tcBilleBille;
    s.Contacts[2] = 2;
    s.Trajets[1][1].Vitesse = Vecteur(0, 100, 0);
    s.Trajets[1][2].Position = Vecteur(0, 0, 3.075);
    s.Trajets[2][2].Position = Vecteur(-3.075, 5.3, 3.075);
    EXPECT_NEAR(m.billard.QuantiteTouchee(), 0.5, 1e-6);
    s.Contacts[2] = 3;
    s.Trajets[3][2].Position = Vecteur(0, 6.15, 3.075);
    EXPECT_NEAR(m.billard.QuantiteTouchee(), -1, 1e-6);
    EXPECT_EQ(m.billard.Epaisseur(0), -1);
    EXPECT_NEAR(m.billard.Epaisseur(-3.075), -0.5, 1e-6);
}

TEST(GLBillardVelmora, OpeningShotTouchesABallAndDrawsTheShownTrajectories) {
    Montage m;
    m.billard.Rouge->SetTrajetVisible(true);
    m.billard.JoueCoup();
    const auto& s = *m.billard.Simu;
    ASSERT_GT(s.NbPhotos, 10);
    const double q = m.billard.QuantiteTouchee();
    EXPECT_NE(q, 0);
    EXPECT_LE(std::fabs(q), 1);
    EXPECT_EQ(m.billard.Rouge->Trajet->Noeuds().size(), size_t(s.NbPhotos) + 1);
    EXPECT_TRUE(m.billard.Rouge->Trajet->Visible());
    EXPECT_TRUE(m.billard.Blanche->TrajetVide());
    // the sampled line keeps photo 0 and every collision; n = 1 is the whole line
    TLignes& l = *m.billard.Blanche->Trajet;
    m.billard.TraceTrajet(*m.billard.Blanche, l, 1);
    m.billard.TraceTrajetComplet(*m.billard.Rouge, *m.billard.Rouge->Trajet);
    EXPECT_EQ(l.Noeuds().size(), size_t(s.NbPhotos) + 1);
    m.billard.TraceTrajet(*m.billard.Blanche, l, 1000000);
    size_t chocs = 0;
    for (int i = 1; i <= s.NbPhotos; ++i) chocs += s.TypesChocs[size_t(i)] != tcAucun;
    EXPECT_EQ(l.Noeuds().size(), chocs + 1);
    // the balls at the last photo
    m.billard.AffichePhoto(s.NbPhotos, true);
    EXPECT_FLOAT_EQ(m.billard.Blanche->Coord(0), float(s.Trajets[1][size_t(s.NbPhotos)].Position.x));
}

TEST(GLBillardVelmora, HandLaunchFromPhotoZeroCopiesNothing) {
    Montage m;
    m.billard.JoueCoup();
    auto& s = *m.billard.Simu;
    const TPVR depart = s.Trajets[1][0];
    const int n = s.NbPhotos;
    m.billard.JoueALaMain(0);
    EXPECT_EQ(s.Trajets[1][0], depart);
    EXPECT_EQ(s.NbPhotos, n);
    const TPVR photo5 = s.Trajets[2][5];
    m.billard.JoueALaMain(5);
    EXPECT_EQ(s.Trajets[2][0], photo5);
}

TEST(GLBillardVelmora, SavedPositionLoadsBackWithCueBallsAndCamera) {
    Dossier d;
    const std::string nom = d / "essai.vel";
    TVecteur3f camera, cible, blanche;
    {
        Montage m;
        auto& q = *m.billard.Queue;
        q.SetVisee(123.5f);
        q.SetInclinaison(7.25f);
        q.SetEffetHauteur(-0.8f, 0.35f);
        q.SetVitesse(312.5f);
        q.SetMasse(480);
        m.billard.Blanche->SetPosition({12.5f, -33.3f, 3.075f});
        m.billard.Zoom(-240);
        m.billard.SourisCamera(0, 0, 0);
        m.billard.SourisCamera(40, 25, ssGauche);
        m.billard.SourisCamera(60, 35, ssDroit);
        camera = m.billard.CamMobile->Position();
        cible = m.billard.CibleMobile->Position();
        blanche = m.billard.Blanche->LitPosition();
        std::string err;
        ASSERT_TRUE(m.billard.SauveFichier(nom, &err)) << err;
    }
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(nom));
    EXPECT_EQ(ini.Cles("GLBillard"),
              (std::vector<std::string>{"Hrelatif", "TypeCamActive", "CamActX", "CamActY", "CamActZ",
                                        "TatgetX", "TatgetY", "TatgetZ"}));
    Montage m;
    m.billard.ActiveCamMobile(false);
    std::string err;
    ASSERT_TRUE(m.billard.ChargeFichier(nom, &err)) << err;
    EXPECT_TRUE(err.empty());
    auto& q = *m.billard.Queue;
    EXPECT_FLOAT_EQ(q.Visee(), 123.5f);
    EXPECT_FLOAT_EQ(q.Inclinaison(), 7.25f);
    EXPECT_FLOAT_EQ(q.Effet(), -0.8f);
    EXPECT_FLOAT_EQ(q.Hauteur(), 0.35f);
    EXPECT_FLOAT_EQ(q.Vitesse(), 312.5f);
    EXPECT_FLOAT_EQ(q.Masse(), 480);
    EXPECT_EQ(m.billard.Blanche->LitPosition(), blanche);
    EXPECT_TRUE(m.billard.CamMobileActive);
    EXPECT_EQ(m.vue.Camera(), m.billard.CamMobile);
    EXPECT_EQ(m.billard.CamMobile->Position(), camera);
    EXPECT_EQ(m.billard.CibleMobile->Position(), cible);
}

TEST(GLBillardVelmora, OpeningAFile_TheModelsAndTheSimulationHoldWhatTheGameReadsOverThePresentState) {
    Dossier d;
    // no speed nor mass, an inclination the cue refuses, balls overlapping and off the table
    const std::string nom = d / "serre.vel";
    Ecrit(nom,
          "[Queue]\nAngleOx=0.3\nAngleTapis=1.7\nEffet=0.1\nHauteur=0.2\n"
          "[Positions]\nP1x=0\nP1y=0\nP1z=3.075\nP2x=90\nP2y=0\nP2z=3.075\nP3x=2\nP3y=0\nP3z=3.075\n"
          "[GLBillard]\nHrelatif=1\n");
    Montage m;
    m.billard.Queue->SetInclinaison(12);
    m.billard.Queue->SetMasse(300);
    m.billard.Queue->SetVitesse(250);
    m.billard.VersSimu();
    int deplacees = 0;
    m.billard.OnBilleDeplacee = [&deplacees](TGLBilles&) { ++deplacees; };
    TPositionOuverte lu;
    ASSERT_TRUE(
        LitPositionJeu(nom, m.billard.Simu->ParamQueue(), m.billard.Queue->Valeurs(), m.billard.Table, lu));
    EXPECT_EQ(lu.Position.Queue.Masse, 300);
    EXPECT_EQ(lu.Position.Queue.Inclinaison, 12);

    ASSERT_TRUE(m.billard.ChargeFichier(nom));
    EXPECT_EQ(m.billard.Queue->Valeurs(), lu.Position.Queue);
    const std::array<TGLBilles*, 3> billes = {m.billard.BilleJoueur, m.billard.BilleNonJoueur,
                                              m.billard.Rouge};
    const std::array<TVecteur, 3> positions = PositionsSimu(lu.Position.Billes);
    for (size_t b = 0; b < 3; ++b) {
        const TCentreBille& c = lu.Position.Billes[b];
        EXPECT_EQ(billes[b]->LitPosition(), (TVecteur3f{c.x, c.y, c.z})) << b;
        EXPECT_EQ(m.billard.Simu->Trajets[b + 1][0].Position, positions[b]) << b;
    }
    EXPECT_EQ(m.billard.Simu->ParamQueue(), ParamSimu(lu.Position.Queue));
    EXPECT_EQ(deplacees, 3);
}

TEST(GLBillardVelmora, FileWithoutViewSectionLoadsWithTheCeilingCameraAndAConvertedTipHeight) {
    Dossier d;
    const std::string nom = d / "ancien.vel";
    Ecrit(nom,
          "[Queue]\nVq=250\nm=500\nAngleOx=1.5\nAngleTapis=0.2\nEffet=1\nHauteur=1.5\n"
          "[Positions]\nP1x=10\nP1y=-40\nP1z=3.075\nP2x=-20\nP2y=30\nP2z=3.075\nP3x=0\nP3y=100\nP3z=3.075\n");
    Montage m;
    ASSERT_TRUE(m.billard.ChargeFichier(nom));
    EXPECT_FALSE(m.billard.CamMobileActive);
    EXPECT_EQ(m.vue.Camera(), m.billard.CamFixe);
    // the ceiling camera kept its placement
    EXPECT_EQ(m.billard.CamFixe->Position(), (TVecteur3f{0, 0, 600}));
    const double attendu = m.billard.ConvertitHauteur(1.5, 1, 0.2);
    EXPECT_NE(attendu, 1.5);
    EXPECT_EQ(m.billard.Queue->Hauteur(), float(attendu));
    EXPECT_FLOAT_EQ(m.billard.Queue->Inclinaison(), float(0.2 * 180 / M_PI));
    EXPECT_EQ(m.billard.Jaune->LitPosition(), (TVecteur3f{-20, 30, 3.075f}));
    EXPECT_EQ(m.billard.ConvertitHauteur(1.5, 1, 0), 1.5);
}

TEST(GLBillardVelmora, UnreadableFileChangesNothingAndSaysWhy) {
    Dossier d;
    Montage m;
    const TVecteur3f avant = m.billard.Blanche->LitPosition();
    std::string err;
    EXPECT_FALSE(m.billard.ChargeFichier(d / "absent.vel", &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(m.billard.Blanche->LitPosition(), avant);
    EXPECT_TRUE(m.billard.CamMobileActive);
    // a file of another kind
    Ecrit(d / "image.vel", "\x89PNG\r\n\x1a\n[ceci n'est pas une position]\n");
    err.clear();
    EXPECT_FALSE(m.billard.ChargeFichier(d / "image.vel", &err));
    EXPECT_NE(err.find("fichier de positions"), std::string::npos) << err;
    EXPECT_EQ(m.billard.Blanche->LitPosition(), avant);
    err.clear();
    EXPECT_FALSE(m.billard.SauveFichier(d / "pas/de/dossier.vel", &err));
    EXPECT_FALSE(err.empty());
}

TEST(GLBillardVelmora, ParameterFileNamedByThePositionIsLoadedWhenItExists) {
    Dossier d;
    Montage m;
    m.billard.Simu->Fisik.Change(&TConstantesPhys::FrotBiBi, 0.07);
    ASSERT_TRUE(SauveFisik(m.billard.Simu->Fisik, d / "table.fsk"));
    ASSERT_TRUE(m.billard.SauveFichier(d / "p.vel"));
    Montage autre;
    ASSERT_TRUE(autre.billard.ChargeFichier(d / "p.vel"));
    EXPECT_EQ(autre.billard.Simu->Fisik.FrotBiBi(), 0.07);
    // saved again over the same file on the factory table: the file no longer names the old one
    autre.billard.Simu->Fisik.ValeursUsine();
    ASSERT_TRUE(autre.billard.SauveFichier(d / "p.vel"));
    Montage usine;
    ASSERT_TRUE(usine.billard.ChargeFichier(d / "p.vel"));
    EXPECT_EQ(usine.billard.Simu->Fisik.FrotBiBi(), TConstantesPhys{}.FrotBiBi);
    EXPECT_EQ(usine.billard.Simu->Fisik.NomFichierFisik, "");
    // gone: ignored
    ASSERT_TRUE(m.billard.SauveFichier(d / "p.vel"));
    fs::remove(d / "table.fsk");
    Montage troisieme;
    ASSERT_TRUE(troisieme.billard.ChargeFichier(d / "p.vel"));
    EXPECT_NE(troisieme.billard.Simu->Fisik.FrotBiBi(), 0.07);
}

TEST(BillardSansEcran, LoadsAPositionThroughTheModelsReadyToPlay) {
    Dossier d;
    const std::string nom = d / "serre.vel";
    // the red overlaps the player's ball and the yellow is off the table
    Ecrit(nom,
          "[Queue]\nVq=400\nAngleOx=0.3\nAngleTapis=1.7\nEffet=0.1\nHauteur=0.2\n"
          "[Positions]\nP1x=0\nP1y=0\nP1z=3.075\nP2x=90\nP2y=0\nP2z=3.075\nP3x=2\nP3y=0\nP3z=3.075\n"
          "[GLBillard]\nHrelatif=1\n");
    TBillardSansEcran h;
    std::string err;
    ASSERT_TRUE(h.ChargePosition(nom, &err)) << err;
    const auto& s = *h.Billard.Simu;
    EXPECT_EQ(s.Trajets[2][0].Position.x, double(68.05f));
    EXPECT_NEAR(Norme(DiffVect(s.Trajets[3][0].Position, s.Trajets[1][0].Position)), 6.15, 1e-5);
    // an inclination of 97 degrees is refused: the opening one stays
    EXPECT_EQ(s.AngleTapis, 3.0 * (M_PI / 180));
    EXPECT_EQ(s.AngleOx, double(float(0.3 * (180 / M_PI))) * (M_PI / 180));
    EXPECT_EQ(s.Hauteur, double(0.2f));
    EXPECT_FALSE(h.ChargePosition(d / "absent.vel", &err));
}

TEST(BillardSansEcran, LoadKeepsTheStoredPositions_WhereverTheBallsStoodBefore) {
    Dossier d;
    // ball 1 on the non-player's opening spot, ball 2 on the player's, ball 3 on its own
    const std::string nom = d / "echange.vel";
    Ecrit(nom,
          "[Positions]\nP1x=0\nP1y=-71.125\nP1z=3.075\nP2x=18.25\nP2y=-71.125\nP2z=3.075\n"
          "P3x=0\nP3y=71.125\nP3z=3.075\n[GLBillard]\nHrelatif=1\n");
    TBillardSansEcran h;
    const TVecteur3f nonJoueur = h.Billard.BilleNonJoueur->LitPosition();
    ASSERT_EQ(nonJoueur.x, 0.0f);
    ASSERT_EQ(nonJoueur.y, -71.125f);
    ASSERT_TRUE(h.ChargePosition(nom, nullptr));
    const auto& s = *h.Billard.Simu;
    EXPECT_EQ(s.Trajets[1][0].Position, Vecteur(0, -71.125, 3.075f));
    EXPECT_EQ(s.Trajets[2][0].Position, Vecteur(18.25, -71.125, 3.075f));
    EXPECT_EQ(s.Trajets[3][0].Position, Vecteur(0, 71.125, 3.075f));
    // the desktop program's billiard opens it the same way
    Montage m;
    ASSERT_TRUE(m.billard.ChargeFichier(nom));
    EXPECT_EQ(m.billard.BilleJoueur->LitPosition(), (TVecteur3f{0, -71.125f, 3.075f}));
}

TEST(BillardSansEcran, BallsOverlappingInTheFileArePushedOffTheOnesPlacedBefore) {
    Dossier d;
    // ball 2 overlaps ball 1; ball 3 overlaps ball 2 where it was pushed; ball 1 is off the table
    const std::string nom = d / "serres.vel";
    Ecrit(nom,
          "[Positions]\nP1x=0\nP1y=200\nP1z=3.075\nP2x=3\nP2y=139.175\nP2z=3.075\n"
          "P3x=6\nP3y=136\nP3z=3.075\n[GLBillard]\nHrelatif=1\n");
    TBillardSansEcran h;
    ASSERT_TRUE(h.ChargePosition(nom, nullptr));
    const auto& s = *h.Billard.Simu;
    const float yMax = 142.25f - 3.075f;
    EXPECT_EQ(s.Trajets[1][0].Position.y, double(yMax));
    EXPECT_EQ(s.Trajets[1][0].Position.x, 0.0);
    EXPECT_NEAR(Norme(DiffVect(s.Trajets[2][0].Position, s.Trajets[1][0].Position)), 6.15, 1e-5);
    EXPECT_NEAR(Norme(DiffVect(s.Trajets[3][0].Position, s.Trajets[2][0].Position)), 6.15, 1e-5);
    // pushed along the line of centres, as a drag does
    const TVecteur u = Unitaire(DiffVect(Vecteur(3, 139.175, 0), Vecteur(0, yMax, 0)));
    EXPECT_NEAR(s.Trajets[2][0].Position.x, 6.15 * u.x, 1e-5);
}
