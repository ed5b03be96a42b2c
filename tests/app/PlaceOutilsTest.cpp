#include <gtest/gtest.h>

#include <QFile>

#include "app/FenetresOutils.h"
#include "app/ReglagesVel3D.h"
#include "fichiers/FichierIni.h"
#include "scene/gl/VueGL.h"
#include "tests/app/Fenetres.h"
#include "tools/FenetreOutil.h"

namespace {

QRect Milieu(const QRect& table) {
    return QRect(table.left() + table.width() / 4, table.top() + table.height() / 4, table.width() / 2,
                 table.height() / 2);
}

// the five tool windows placed one after the other as the main window does
QList<QRect> PlaceCinq(const QRect& ecran, const QRect& principale, const QRect& table, const QSize& taille) {
    QList<QRect> placees;
    for (int i = 0; i < 5; ++i)
        placees << QRect(PlaceOutil(ecran, principale, table, taille, placees), taille);
    return placees;
}

}  // namespace

TEST(PlaceOutils, BesideTheTableWhenTheScreenHasRoomElseAlongItsEdgesNeverOverTheMiddle) {
    const QRect ecran(0, 0, 1600, 1000);
    const QSize taille(300, 180);
    // room on the right of a window at the left of the screen: a column beside it, level with the table
    const QRect principale(0, 0, 1000, 700), table(5, 60, 990, 600);
    const QList<QRect> colonne = PlaceCinq(ecran, principale, table, taille);
    EXPECT_EQ(colonne[0].topLeft(), QPoint(1004, 60));
    for (const QRect& r : colonne) EXPECT_FALSE(r.intersects(principale)) << r.x() << ' ' << r.y();
    // a window at the right of the screen: on its left
    EXPECT_EQ(PlaceOutil(ecran, QRect(590, 0, 1000, 700), table.translated(590, 0), taille, {}).x(),
              590 - 4 - 300);
    // a maximised window: along the screen's edges, off the middle of the table and off each other
    const QRect plein(0, 0, 1600, 1000), tablePlein(0, 60, 1600, 900);
    const QList<QRect> bords = PlaceCinq(ecran, plein, tablePlein, taille);
    for (int i = 0; i < bords.size(); ++i) {
        EXPECT_TRUE(ecran.contains(bords[i])) << i;
        EXPECT_FALSE(bords[i].intersects(Milieu(tablePlein))) << i;
        for (int j = 0; j < i; ++j) EXPECT_FALSE(bords[i].intersects(bords[j])) << i << ' ' << j;
    }
    // nor over the main window's panel in the view's corner: just below it when the corner is taken
    const QRect panneau(1460, 66, 130, 92);
    const QRect premier(PlaceOutil(ecran, plein, tablePlein, QSize(400, 250), {}, panneau), QSize(400, 250));
    EXPECT_FALSE(premier.intersects(panneau));
    EXPECT_FALSE(premier.intersects(Milieu(tablePlein)));
    EXPECT_EQ(premier.topLeft(), QPoint(1200, panneau.bottom() + 1 + 4));
    // a window bigger than any free place still leaves the centre of the table seen
    const QRect grand(PlaceOutil(ecran, plein, tablePlein, QSize(1200, 700), {}), QSize(1200, 700));
    EXPECT_FALSE(grand.contains(tablePlein.center()));
}

TEST(PlaceOutils, KeptPlacesReadBackAndNonsenseIsIgnored) {
    TFichierIni ini;
    EcritPlaceFenetre(ini, QStringLiteral("VueNumFrm"), QRect(-20, 35, 640, 480));
    QRect place;
    ASSERT_TRUE(LitPlaceFenetre(ini, QStringLiteral("VueNumFrm"), &place));
    EXPECT_EQ(place, QRect(-20, 35, 640, 480));
    EXPECT_FALSE(LitPlaceFenetre(ini, QStringLiteral("MemTrajetsFrm"), &place));
    for (const char* largeur : {"0", "-5", "beaucoup", "1e12"}) {
        ini.EcritTexte("Fenetres", "VueNumFrm_Largeur", largeur);
        EXPECT_FALSE(LitPlaceFenetre(ini, QStringLiteral("VueNumFrm"), &place)) << largeur;
    }
}

TEST(PlaceOutils, AToolWindowShownFirstLeavesTheTableCentreAndAMovedOneComesBackWhereItWasLeft) {
    QByteArray reglages;
    QPoint coinTable;
    {
        TFenetres w;
        TMainVel3DFrm& f = w.Cree();
        QApplication::processEvents();
        const QRect table(Controle<TVueGL>(f, "Scn")->mapToGlobal(QPoint(0, 0)),
                          Controle<TVueGL>(f, "Scn")->size());
        coinTable = table.topLeft();
        for (QWidget* outil : {static_cast<QWidget*>(f.QueueFrm), static_cast<QWidget*>(f.MemTrajetsFrm),
                               static_cast<QWidget*>(f.VueNumFrm), static_cast<QWidget*>(f.DifficulteFrm),
                               static_cast<QWidget*>(f.CalibrageFrm)}) {
            outil->setAttribute(Qt::WA_DontShowOnScreen);
            outil->show();
            QApplication::processEvents();
            EXPECT_FALSE(outil->frameGeometry().contains(table.center()))
                << outil->windowTitle().toStdString() << " at " << outil->x() << ',' << outil->y();
        }
        f.MemTrajetsFrm->move(123, 77);
        f.MemTrajetsFrm->resize(410, 260);
        f.close();
        QFile ini(w.dossier.filePath(QStringLiteral("Velmora3D.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        reglages = ini.readAll();
    }
    EXPECT_TRUE(reglages.contains("[Fenetres]")) << reglages.toStdString();
    TFenetres w;
    w.EcritReglages(reglages);
    TMainVel3DFrm& f = w.Cree();
    QApplication::processEvents();
    EXPECT_EQ(f.MemTrajetsFrm->pos(), QPoint(123, 77));
    EXPECT_EQ(f.MemTrajetsFrm->size(), QSize(410, 260));
}
