// The table drawn through OpenGL: colours where the cloth, each ball, a rail and the cue must
// appear, from the ceiling camera, the mobile camera and the cue view; the pictures are kept in
// the build folder (artefacts/). The frame clock runs on a real widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>

#include "scene/gl/RenduImage.h"
#include "scene/gl/VueGL.h"
#include "view3d/GLBillardVelmora.h"

// every allocation of the program is counted while a test asks for it. Not under AddressSanitizer:
// software OpenGL's compiler allocates through forms of new this file does not replace and frees
// through those it does, which ASan rightly calls a mismatch; the optimised pass counts.
namespace {
std::atomic<bool> compteAllocations{false};
std::atomic<long> nbAllocations{0};
}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
constexpr bool kAllocationsComptees = true;
void* operator new(std::size_t n) {
    if (compteAllocations.load(std::memory_order_relaxed)) nbAllocations.fetch_add(1);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#else
constexpr bool kAllocationsComptees = false;
#endif

namespace {
constexpr int L = 1280, H = 800;

struct Scene3D {
    TScene scene;
    TVue vue{scene}, vueQueue{scene};
    TGLBillardVelmora billard{scene, vue, vueQueue};
    Scene3D() { billard.PositionDepart(true); }
};

using TTest = std::function<bool(QColor)>;

bool Vert(QColor c) { return c.green() > c.red() + 60 && c.green() > c.blue() + 10; }
bool Blanc(QColor c) { return c.red() > 190 && c.green() > 190 && c.blue() > 190; }
bool Jaune(QColor c) {
    return c.red() > 170 && c.green() > 170 && c.blue() < std::min(c.red(), c.green()) - 50;
}
bool Rouge(QColor c) { return c.red() > 140 && c.red() > c.green() + 70 && c.red() > c.blue() + 70; }
bool Bordeaux(QColor c) { return c.red() > c.green() + 25 && c.red() > c.blue() + 25 && c.red() < 200; }
bool Bois(QColor c) { return c.red() > c.blue() + 30 && c.green() > c.blue() + 10 && c.red() > 120; }

// share of the pixels in a disc around the pixel of a scene point that pass the test
double Part(const QImage& img, const TVue& vue, const TVecteur3f& p, float rayonPixels, const TTest& test) {
    float x, y;
    if (!vue.Projette(p, x, y)) return 0;
    const int cx = int(std::lround(x)), cy = img.height() - int(std::lround(y));
    const int r = std::max(0, int(rayonPixels));
    int n = 0, bons = 0;
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i) {
            if (i * i + j * j > r * r || !img.valid(cx + i, cy + j)) continue;
            ++n;
            bons += test(img.pixelColor(cx + i, cy + j));
        }
    return n ? double(bons) / n : 0;
}

// radius on screen of a ball
float RayonEcran(const TVue& vue, const TGLBilles& b) {
    float x1, y1, x2, y2;
    const TVecteur3f c = b.LitPosition();
    vue.Projette(c, x1, y1);
    vue.Projette(c + vue.Camera()->HautImage() * b.Rayon(), x2, y2);
    return std::hypot(x2 - x1, y2 - y1);
}

QImage Dessine(TRenduImage& r, TVue& vue, const QString& nom) {
    EXPECT_TRUE(r.Dessine(vue, L, H)) << r.Erreur.toStdString();
    QImage img = r.Image();
    QDir().mkpath(VELMORA_ARTEFACTS);
    img.save(QString(VELMORA_ARTEFACTS) + "/" + nom);
    return img;
}

void ExpectBalls(const QImage& img, Scene3D& s) {
    const std::pair<TGLBilles*, TTest> billes[] = {
        {s.billard.Blanche, Blanc}, {s.billard.Jaune, Jaune}, {s.billard.Rouge, Rouge}};
    for (const auto& [b, test] : billes) {
        const float r = RayonEcran(s.vue, *b);
        EXPECT_GT(r, 3);
        EXPECT_GT(Part(img, s.vue, b->LitPosition(), 0.6f * r, test), 0.6) << b->Nom;
    }
}

class Rendu : public ::testing::Test {
protected:
    void SetUp() override {
        if (!rendu.Valide()) FAIL() << rendu.Erreur.toStdString();
    }
    TRenduImage rendu;
};
}  // namespace

TEST_F(Rendu, CeilingCameraShowsClothBallsRailsAndTheRoomAround) {
    Scene3D s;
    s.billard.ActiveCamMobile(false);
    const QImage img = Dessine(rendu, s.vue, "plafond.png");
    ASSERT_EQ(img.size(), QSize(L, H));
    EXPECT_GT(Part(img, s.vue, {30, 20, 0}, 10, Vert), 0.95);
    EXPECT_GT(Part(img, s.vue, {-40, -100, 0}, 10, Vert), 0.95);
    ExpectBalls(img, s);
    // the rails between two diamonds, on each side
    EXPECT_GT(Part(img, s.vue, {71.125f + 5.25f + 3.875f, 17.8f, 5.1f}, 3, Bordeaux), 0.9);
    EXPECT_GT(Part(img, s.vue, {-(71.125f + 5.25f + 3.875f), -17.8f, 5.1f}, 3, Bordeaux), 0.9);
    EXPECT_GT(Part(img, s.vue, {17.8f, 142.25f + 5.25f + 3.875f, 5.1f}, 3, Bordeaux), 0.9);
    // the room beyond the table: a floor darker than the cloth, not green
    const QColor coin = img.pixelColor(3, 3);
    EXPECT_LT(coin.green(), 90);
    EXPECT_LE(coin.green(), coin.red());
    EXPECT_GT(Part(img, s.vue, {20, 30, 0}, 3, Vert), 0.9);
}

TEST_F(Rendu, MobileCameraShowsTheBallsFromTheSide) {
    Scene3D s;
    const QImage img = Dessine(rendu, s.vue, "mobile.png");
    // cloth clear of the aim line
    EXPECT_GT(Part(img, s.vue, {-30, 20, 0}, 10, Vert), 0.95);
    ExpectBalls(img, s);
}

namespace {
// brightest pixel and mean colour in a disc around a scene point
struct TReleve {
    int plusClair = 0;
    double r = 0, g = 0, b = 0;
};
TReleve Releve(const QImage& img, const TVue& vue, const TVecteur3f& p, float rayonPixels) {
    TReleve t;
    float x, y;
    if (!vue.Projette(p, x, y)) return t;
    const int cx = int(std::lround(x)), cy = img.height() - int(std::lround(y)), r = int(rayonPixels);
    int n = 0;
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i) {
            if (i * i + j * j > r * r || !img.valid(cx + i, cy + j)) continue;
            const QColor c = img.pixelColor(cx + i, cy + j);
            t.plusClair = std::max(t.plusClair, std::min({c.red(), c.green(), c.blue()}));
            t.r += c.red();
            t.g += c.green();
            t.b += c.blue();
            ++n;
        }
    if (n) t.r /= n, t.g /= n, t.b /= n;
    return t;
}
}  // namespace

TEST(RenduParPixel, BallsShineTheClothStaysMatteAndTheLightsAndColoursKeepTheirMeaning) {
    Scene3D s;
    TRenduImage parPixel;
    ASSERT_TRUE(parPixel.Valide()) << parPixel.Erreur.toStdString();
    const QImage img = Dessine(parPixel, s.vue, "mobile_par_pixel.png");
    ASSERT_TRUE(parPixel.ParPixel());
    // the red and the yellow ball carry a white highlight of the lamps
    for (TGLBilles* b : {s.billard.Rouge, s.billard.Jaune})
        EXPECT_GT(Releve(img, s.vue, b->LitPosition(), RayonEcran(s.vue, *b)).plusClair, 215) << b->Nom;
    // the cloth has none
    const TVecteur3f drap{-30, 20, 0};
    const TReleve feutre = Releve(img, s.vue, drap, 10);
    EXPECT_LT(feutre.plusClair, 120);
    // drawn by the fixed pipeline, the cloth and the red ball keep their colours
    qputenv("VELMORA_SANS_SHADERS", "1");
    TRenduImage fixe;
    const QImage img2 = Dessine(fixe, s.vue, "mobile_fixe.png");
    qunsetenv("VELMORA_SANS_SHADERS");
    EXPECT_FALSE(fixe.ParPixel());
    for (const auto& [p, rayon] :
         {std::pair{drap, 10.0f},
          {s.billard.Rouge->LitPosition(), 0.5f * RayonEcran(s.vue, *s.billard.Rouge)}}) {
        const TReleve a = Releve(img, s.vue, p, rayon), b = Releve(img2, s.vue, p, rayon);
        EXPECT_NEAR(a.r, b.r, 25);
        EXPECT_NEAR(a.g, b.g, 25);
        EXPECT_NEAR(a.b, b.b, 25);
    }
}

TEST_F(Rendu, CueViewShowsThePlayersBallAndTheShaft) {
    Scene3D s;
    const QImage img = Dessine(rendu, s.vueQueue, "queue.png");
    const TGLBilles& b = *s.billard.Blanche;
    float x, y;
    ASSERT_TRUE(s.vueQueue.Projette(b.LitPosition(), x, y));
    // the player's ball fills the middle of the view; the cue comes from below it
    EXPECT_GT(Part(img, s.vueQueue, b.LitPosition() + TVecteur3f{0, 0, 2}, 4, Blanc), 0.8);
    const TVecteur3f fut = s.billard.Queue->PorteProcede->LocalVersAbsolu({-10, 0, 0});
    EXPECT_GT(Part(img, s.vueQueue, fut, 3, Bois), 0.8);
}

TEST_F(Rendu, TrajectoryLinesAreDrawnInTheBallsColours) {
    Scene3D s;
    s.billard.ActiveCamMobile(false);
    for (TGLBilles* b : {s.billard.Blanche, s.billard.Jaune, s.billard.Rouge}) b->SetTrajetVisible(true);
    s.billard.JoueCoup();
    const QImage img = Dessine(rendu, s.vue, "trajets.png");
    // somewhere along the white ball's line, white pixels
    const auto& t = s.billard.Simu->Trajets[1];
    int vus = 0;
    for (int i = 5; i < s.billard.Simu->NbPhotos; i += 7) {
        const TVecteur3f p{float(t[size_t(i)].Position.x), float(t[size_t(i)].Position.y),
                           float(t[size_t(i)].Position.z)};
        vus += Part(img, s.vue, p, 1.5f, [](QColor c) { return c.red() > 150 && c.blue() > 150; }) > 0;
    }
    EXPECT_GT(vus, 3);
}

TEST_F(Rendu, FramesAllocateNothingOnceTheShapesAreBuilt) {
    if (!kAllocationsComptees) GTEST_SKIP() << "allocations are counted in the optimised build only";
    Scene3D s;
    for (TGLBilles* b : {s.billard.Blanche, s.billard.Jaune, s.billard.Rouge}) b->SetTrajetVisible(true);
    s.billard.JoueCoup();
    for (bool mobile : {true, false}) {
        s.billard.ActiveCamMobile(mobile);
        // the shapes, then the picture of what stands still
        ASSERT_TRUE(rendu.Dessine(s.vue, L, H));
        ASSERT_TRUE(rendu.Dessine(s.vue, L, H));
        nbAllocations = 0;
        compteAllocations = true;
        // the balls move as in an animation
        for (int i = 0; i < 5; ++i) {
            s.billard.AffichePhoto(i * 10, true);
            rendu.Dessine(s.vue, L, H);
        }
        compteAllocations = false;
        EXPECT_EQ(nbAllocations.load(), 0) << (mobile ? "mobile" : "plafond");
    }
}

TEST_F(Rendu, TheClothHasItsNapTheLampsTheirPoolAndTheRoomDimsWhenTheLampLightsAlone) {
    Scene3D s;
    s.billard.ActiveCamMobile(false);
    const QImage lumiere = Dessine(rendu, s.vue, "plafond_salle_eclairee.png");
    ASSERT_TRUE(rendu.ParPixel());
    ASSERT_TRUE(rendu.Multiechantillonne());
    // the cloth under the middle lamp brighter than near a corner, and never flat: its nap
    const TReleve milieu = Releve(lumiere, s.vue, {-20, 20, 0}, 12),
                  coin = Releve(lumiere, s.vue, {-60, -125, 0}, 12);
    EXPECT_GT(milieu.g, coin.g + 15);
    int mini = 255, maxi = 0;
    float x, y;
    ASSERT_TRUE(s.vue.Projette({-20, 60, 0}, x, y));
    for (int i = 0; i < 40; ++i) {
        const int v = lumiere.pixelColor(int(x) + i, H - int(y)).green();
        mini = std::min(mini, v);
        maxi = std::max(maxi, v);
    }
    EXPECT_GT(maxi - mini, 3);
    EXPECT_LT(maxi - mini, 60);
    // the lamp alone: the room darker, the middle of the cloth at least as bright
    s.vue.Salle.LampeSeule = true;
    const QImage seule = Dessine(rendu, s.vue, "plafond_lampe_seule.png");
    const QColor sol1 = lumiere.pixelColor(3, 3), sol2 = seule.pixelColor(3, 3);
    EXPECT_LT(sol2.red() + sol2.green() + sol2.blue(), (sol1.red() + sol1.green() + sol1.blue()) / 2);
    EXPECT_GE(Releve(seule, s.vue, {-20, 20, 0}, 12).g, milieu.g - 2);
}

TEST_F(Rendu, LowOverTheClothTheRoomShowsAFloorAndABackgroundBehind) {
    Scene3D s;
    // ten degrees over the cloth: the floor below, the room's gradient above
    s.billard.SourisCamera(0, 0, 0);
    s.billard.SourisCamera(0, 35, ssDroit);
    const QImage img = Dessine(rendu, s.vue, "mobile_bas.png");
    const QColor haut = img.pixelColor(L / 2, 2), basFond = img.pixelColor(L / 2, H / 5);
    // grey, darker at the top
    EXPECT_NEAR(haut.red(), haut.blue(), 6);
    EXPECT_LT(haut.red(), basFond.red() + 1);
    ExpectBalls(img, s);
}

// pixels whose colour differs by more than a rounding between two pictures
int PixelsDifferents(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            n += std::abs(p.red() - q.red()) > 3 || std::abs(p.green() - q.green()) > 3 ||
                 std::abs(p.blue() - q.blue()) > 3;
        }
    return n;
}

TEST_F(Rendu, FramesOverTheKeptPictureOfTheTableAreTheFramesDrawnWhole) {
    Scene3D s;
    for (TGLBilles* b : {s.billard.Blanche, s.billard.Jaune, s.billard.Rouge}) b->SetTrajetVisible(true);
    s.billard.JoueCoup();
    TRenduImage entier;
    entier.SetGardeDecor(false);
    int copies = 0;
    for (const bool mobile : {true, false}) {
        s.billard.ActiveCamMobile(mobile);
        // an animation: the balls and the travelled paths move, the table stands still
        for (int k = 0; k <= s.billard.Simu->NbPhotos; k += s.billard.Simu->NbPhotos / 4) {
            s.billard.AffichePhoto(k, true);
            s.billard.MontreParcours(k);
            ASSERT_TRUE(rendu.Dessine(s.vue, L, H));
            copies += rendu.DecorCopie();
            ASSERT_TRUE(entier.Dessine(s.vue, L, H));
            EXPECT_FALSE(entier.DecorCopie());
            EXPECT_LT(PixelsDifferents(rendu.Image(), entier.Image()), L * H / 2000)
                << (mobile ? "mobile " : "plafond ") << k;
        }
    }
    EXPECT_GE(copies, 4) << "the kept picture served";
    // the table changes while its picture is kept: the next frame shows the change
    TMateriau bleu = s.billard.Tapis->Materiau();
    bleu.Diffuse = {0.1f, 0.2f, 0.9f, 1};
    bleu.Ambiante = bleu.Diffuse;
    s.billard.Tapis->SetMateriau(bleu);
    for (TRenduImage* r : {&rendu, &entier}) ASSERT_TRUE(r->Dessine(s.vue, L, H));
    const QImage apres = Dessine(rendu, s.vue, "decor_change.png");
    EXPECT_GT(Part(apres, s.vue, {-30, 40, 0}, 10, [](QColor c) { return c.blue() > c.green() + 40; }), 0.9);
    EXPECT_LT(PixelsDifferents(apres, entier.Image()), L * H / 2000);
}

TEST(Cadenceur, RealWidgetRaisesProgressOncePerFrame) {
    Scene3D s;
    TVueGL vue(s.vue);
    vue.resize(320, 200);
    vue.show();
    TCadenceur c;
    vue.BrancheCadenceur(c);
    int images = 0;
    double dernier = -1;
    bool croissant = true;
    c.OnProgression = [&](double, double maintenant) {
        croissant = croissant && maintenant >= dernier;
        dernier = maintenant;
        if (++images >= 5) c.SetActif(false);
    };
    c.SetActif(true);
    QElapsedTimer chrono;
    chrono.start();
    while (images < 5 && chrono.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(images, 5);
    EXPECT_TRUE(croissant);
    EXPECT_FALSE(c.Actif());
}

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TVueGL::Format());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
