#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <memory>

#include "sim/C1_Types.h"
#include "tools/VueNumGraphe.h"

namespace {

// five photos: two of them at the same time (a collision), speeds up to 130 cm/s
struct Graphe : testing::Test {
    std::unique_ptr<TStockTrajets> trajets = std::make_unique<TStockTrajets>();
    TVueNumGraphe graphe;
    void SetUp() override {
        TStockTrajets& t = *trajets;
        t.NbPhotos = 4;
        const double temps[] = {0, 0.1, 0.1, 0.5, 1.0};
        for (int k = 0; k <= 4; ++k) {
            t.Temps[k] = temps[k];
            t.Trajets[1][k].Vitesse = {0, 130.0 - 30 * k, 0};
            t.Trajets[2][k].Vitesse = {10.0 * k, 0, 0};
            t.Trajets[3][k].Rotation = {0, 0, -2.0 * k};
        }
        t.TypesChocs[2] = tcBilleBille;
        t.TypesChocs[3] = tcBilleBande;
        graphe.resize(320, 150);
        graphe.SetTrajets(trajets.get());
    }
};

bool ContientCouleur(const QImage& image, QColor c) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) < 8 && std::abs(p.green() - c.green()) < 8 &&
                std::abs(p.blue() - c.blue()) < 8)
                return true;
        }
    return false;
}

}  // namespace

TEST_F(Graphe, ShowsSpeedsOrSpinsUnderARoundTop) {
    EXPECT_EQ(graphe.NbPhotos(), 4);
    EXPECT_DOUBLE_EQ(graphe.Valeur(1, 0), 130);
    EXPECT_DOUBLE_EQ(graphe.Valeur(2, 3), 30);
    EXPECT_DOUBLE_EQ(graphe.Maximum(), 150);
    graphe.SetGrandeur(TVueNumGraphe::gRotation);
    EXPECT_DOUBLE_EQ(graphe.Valeur(3, 4), 8);
    EXPECT_DOUBLE_EQ(graphe.Maximum(), 8);
    // nothing at all still gives a scale
    trajets->NbPhotos = 0;
    trajets->Trajets[3][0].Rotation = {};
    EXPECT_GT(graphe.Maximum(), 0);
}

TEST_F(Graphe, TimeRunsAcrossAndAClickChoosesTheNearestPhoto) {
    const QRectF zone = graphe.Zone();
    EXPECT_DOUBLE_EQ(graphe.XDePhoto(0), zone.left());
    EXPECT_DOUBLE_EQ(graphe.XDePhoto(4), zone.right());
    EXPECT_DOUBLE_EQ(graphe.XDePhoto(3), zone.left() + zone.width() / 2);
    for (int k : {0, 1, 3, 4}) EXPECT_EQ(graphe.PhotoEnX(graphe.XDePhoto(k)), k);
    // two photos at one time: the first
    EXPECT_EQ(graphe.PhotoEnX(graphe.XDePhoto(2)), 1);
    // outside the chart: the ends
    EXPECT_EQ(graphe.PhotoEnX(-50), 0);
    EXPECT_EQ(graphe.PhotoEnX(5000), 4);
    QSignalSpy choix(&graphe, &TVueNumGraphe::PhotoChoisie);
    const QPointF p(graphe.XDePhoto(3) - 3, zone.center().y());
    QMouseEvent clic(QEvent::MouseButtonPress, p, graphe.mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&graphe, &clic);
    ASSERT_EQ(choix.count(), 1);
    EXPECT_EQ(choix.at(0).at(0).toInt(), 3);
}

TEST_F(Graphe, DrawsEachBallInItsColourAndTheCursor) {
    graphe.SetCouleurs({QColor(250, 250, 250), QColor(240, 200, 40), QColor(220, 40, 40)});
    graphe.SetGrandeur(TVueNumGraphe::gRotation);
    graphe.SetPhoto(3);
    const QImage image = graphe.grab().toImage();
    EXPECT_TRUE(ContientCouleur(image, QColor(220, 40, 40)));
    EXPECT_TRUE(ContientCouleur(image, QColor(80, 220, 255)));
    // a photo beyond the store shows no cursor
    graphe.SetPhoto(9);
    EXPECT_FALSE(ContientCouleur(graphe.grab().toImage(), QColor(80, 220, 255)));
    // without a store: no curve, no failure
    graphe.SetTrajets(nullptr);
    EXPECT_EQ(graphe.NbPhotos(), -1);
    EXPECT_FALSE(ContientCouleur(graphe.grab().toImage(), QColor(220, 40, 40)));
}
