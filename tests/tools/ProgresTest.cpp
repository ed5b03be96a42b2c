// The progress window on a history made by hand: the summary, the charts per week or per day, the
// drills to work on first, and the PNG export, whole or not at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

#include "tests/support/ControleParNom.h"
#include "tests/tools/HoteOutilsFactice.h"
#include "tools/DockOutil.h"
#include "tools/Progres.h"

namespace {

// noon UTC of 2024-03-04 (a Monday) plus d days
std::int64_t Midi(int d) { return 1'709'553'600 + std::int64_t(d) * 86'400; }

struct TProgresFactice {
    THoteOutilsFactice h;
    std::shared_ptr<TBaseHistorique> base = std::make_shared<TBaseHistorique>();
    std::unique_ptr<TProgresFrm> f;

    TProgresFactice() {
        h.CreeBillard();
        EXPECT_TRUE(base->Ouvre(h.dossier.filePath(QStringLiteral("h.sqlite")).toStdString()));
        TPackEntrainement pack;
        EXPECT_TRUE(ChargePack(Exemple("entrainement/entrainement.ven").toStdString(), pack));
        EXPECT_TRUE(base->EnregistrePack(pack));
        const std::string a = pack.Exercices[0].Empreinte(), b = pack.Exercices[1].Empreinte();
        // three weeks: drill 1 made 3 times of 4 (robustness 40 %), drill 2 once of 3 (10 %)
        Ajoute(a, 0, true, 0.4);
        Ajoute(a, 1, false, 0.1);
        Ajoute(b, 1, false, 0.0);
        Ajoute(a, 8, true, 0.4);
        Ajoute(b, 9, true, 0.1);
        Ajoute(a, 15, true, 0.4);
        Ajoute(b, 16, false, 0.0);
        f = std::make_unique<TProgresFrm>(h, base);
        f->setAttribute(Qt::WA_DontShowOnScreen);
    }
    void Ajoute(const std::string& exercice, int jour, bool reussi, double robustesse) {
        TTentative t;
        t.Joueur = "Léa";
        t.EmpreinteExercice = exercice;
        t.Quand = Midi(jour);
        t.Reussi = reussi;
        const auto id = base->AjouteTentative(t);
        ASSERT_TRUE(id);
        TResultatAnalyse r;
        r.Essais = 1000;
        r.Reussis = std::int64_t(robustesse * 1000);
        ASSERT_TRUE(base->CompleteTentative(*id, r));
    }
    int Points(QChartView* vue) {
        const auto series = vue->chart()->series();
        return series.isEmpty() ? -1 : int(static_cast<QLineSeries*>(series.first())->count());
    }
};

}  // namespace

TEST(ProgresFrm, OpensOnTheHistoryWithTheWeakestDrillFirstAndChartsPerWeekOrDay) {
    TProgresFactice p;
    TProgresFrm& f = *p.f;
    f.show();
    QLabel* resume = ControleDe<QLabel>(f, "ResumeLbl");
    QTableWidget* exercices = ControleDe<QTableWidget>(f, "ExercicesGrid");
    QChartView* reussite = ControleDe<QChartView>(f, "SemainesChart");
    EXPECT_EQ(resume->text().toStdString(),
              "7 tentatives, 57,1 % réussies ; robustesse moyenne des coups réussis : 32,5 %");
    ASSERT_EQ(exercices->rowCount(), 2);
    EXPECT_EQ(exercices->item(0, 0)->text(), QStringLiteral("Exercice 2 (facile)"));
    EXPECT_EQ(exercices->item(0, 1)->text(), QStringLiteral("3"));
    EXPECT_EQ(exercices->item(0, 2)->text(), QStringLiteral("33,3 %"));
    EXPECT_EQ(exercices->item(0, 3)->text(), QStringLiteral("10,0 %"));
    EXPECT_EQ(exercices->item(1, 0)->text(), QStringLiteral("Exercice 1 (facile)"));
    EXPECT_EQ(p.Points(reussite), 3);
    ControleDe<QComboBox>(f, "PeriodeCombo")->setCurrentIndex(1);
    EXPECT_EQ(p.Points(reussite), 6);
    EXPECT_TRUE(reussite->chart()->title().startsWith(QStringLiteral("Par jour")));
    // drawn again and again, each chart keeps one time axis and one value axis
    f.Actualise();
    for (auto* vue : {reussite, ControleDe<QChartView>(f, "PartiesChart")}) {
        EXPECT_EQ(vue->chart()->axes(Qt::Horizontal).size(), 1);
        EXPECT_EQ(vue->chart()->axes(Qt::Vertical).size(), 1);
    }
    // a player the history does not know: said
    ControleDe<QLineEdit>(f, "JoueurEdit")->setText(QStringLiteral("Personne"));
    EXPECT_FALSE(f.Actualise());
    EXPECT_FALSE(resume->text().isEmpty());
}

TEST(ProgresFrm, ExportsTheWindowAsAPngAndAFolderItCannotWriteLeavesNothing) {
    TProgresFactice p;
    p.f->show();
    const QString png = p.h.dossier.filePath(QStringLiteral("progres.png"));
    ASSERT_TRUE(p.f->ExportePng(png));
    QImage image;
    ASSERT_TRUE(image.load(png));
    EXPECT_EQ(image.size(), p.f->grab().size());
    const QString ailleurs = p.h.dossier.filePath(QStringLiteral("absent/progres.png"));
    const QString texte = Boite([&] { EXPECT_FALSE(p.f->ExportePng(ailleurs)); });
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Image impossible à écrire : "))) << texte.toStdString();
    EXPECT_FALSE(QFile::exists(ailleurs));
}

TEST(ProgresFrm, WithoutHistoryTheWindowSaysSo) {
    THoteOutilsFactice h;
    TProgresFrm f(h, std::make_shared<TBaseHistorique>());
    f.setAttribute(Qt::WA_DontShowOnScreen);
    f.show();
    EXPECT_TRUE(
        ControleDe<QLabel>(f, "ResumeLbl")->text().startsWith(QStringLiteral("historique indisponible")));
}

TEST(ProgresFrm, UnderTheTableOfA1280x720WindowItReadsWithoutScrolling) {
    TProgresFactice p;
    QMainWindow principale;
    principale.setAttribute(Qt::WA_DontShowOnScreen);
    principale.setCentralWidget(new QWidget);
    TProgresFrm& outil = *p.f.release();
    TDockOutil* dock = DockeOutil(outil, principale, QStringLiteral("ProgresFrm"));
    principale.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->show();
    principale.resize(1280, 720);
    principale.show();
    // the room a 1280x720 screen leaves under the table (a third of the main window's height),
    // beside the cue window's column or not; a summary, and one that says the player is unknown
    for (const QString& joueur : {QString(), QStringLiteral("Personne")}) {
        ControleDe<QLineEdit>(outil, "JoueurEdit")->setText(joueur);
        outil.Actualise();
        for (const QSize& place : {QSize(936, 370), QSize(936, 226), QSize(1280, 226), QSize(760, 226)}) {
            dock->resize(place);
            principale.resizeDocks({dock}, {place.height()}, Qt::Vertical);
            dock->setFixedWidth(place.width());
            QApplication::processEvents();
            const QScrollArea& d = *dock->Defilement();
            EXPECT_EQ(d.horizontalScrollBar()->maximum(), 0) << place.width() << ' ' << joueur.toStdString();
            EXPECT_EQ(d.verticalScrollBar()->maximum(), 0) << place.height() << ' ' << joueur.toStdString();
            // the dates under each chart whole, as many as its width holds
            for (const char* nom : {"SemainesChart", "PartiesChart"}) {
                const QChartView& vue = *ControleDe<QChartView>(outil, nom);
                const auto* x = qobject_cast<QDateTimeAxis*>(vue.chart()->axes(Qt::Horizontal).value(0));
                ASSERT_NE(x, nullptr) << nom;
                // an empty history still shows the days around today (the axis's default is 1970)
                EXPECT_GT(x->max().date().year(), 2000) << nom;
                const int date = QFontMetrics(x->labelsFont()).horizontalAdvance(QStringLiteral("00/00/00"));
                EXPECT_LE((x->tickCount() - 1) * date, vue.chart()->plotArea().width())
                    << nom << ' ' << place.width();
            }
            // the summary whole, or cut short where it ends and said so, never cut mid-letter
            const QLabel& resume = *ControleDe<QLabel>(outil, "ResumeLbl");
            if (resume.text() != resume.toolTip()) {
                EXPECT_TRUE(resume.text().endsWith(QChar(0x2026))) << resume.text().toStdString();
                EXPECT_LE(resume.fontMetrics().horizontalAdvance(resume.text()), resume.width());
            }
        }
    }
}
