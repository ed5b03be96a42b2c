// The progress charts.
#include "tools/Progres.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QMessageBox>
#include <QSaveFile>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

QString Pourcent(std::optional<double> x) {
    return x ? QLocale().toString(100 * *x, 'f', 1) + QStringLiteral(" %") : QStringLiteral("—");
}

QChartView* Graphe(QWidget* parent, const QString& titre) {
    auto* chart = new QChart;
    chart->setTitle(titre);
    // the axes' figures with the user's decimal separator
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale());
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* vue = new QChartView(chart, parent);
    vue->setRenderHint(QPainter::Antialiasing);
    vue->setMinimumHeight(220);
    return vue;
}

qint64 Ms(const std::string& date) {
    return QDateTime(QDate::fromString(QString::fromStdString(date), Qt::ISODate), QTime(12, 0))
        .toMSecsSinceEpoch();
}

// the series on a time axis and a value axis from 0 to maxi
void Remplit(QChart* chart, const QList<QLineSeries*>& series, double maxi, const QString& format) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) chart->removeAxis(a);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("dd/MM/yy"));
    auto* y = new QValueAxis;
    y->setRange(0, maxi);
    y->setLabelFormat(format);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* s : series) {
        s->setPointsVisible(true);
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

}  // namespace

TProgresFrm::TProgresFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Progrès"), ContexteAideProgres), base_(std::move(base)) {
    auto* v = new QVBoxLayout(this);
    auto* haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Joueur :"), this));
    JoueurEdit = new QLineEdit(this);
    JoueurEdit->setPlaceholderText(QStringLiteral("tous les joueurs"));
    haut->addWidget(JoueurEdit);
    PeriodeCombo = new QComboBox(this);
    PeriodeCombo->setObjectName(QStringLiteral("PeriodeCombo"));
    PeriodeCombo->addItems({QStringLiteral("par semaine"), QStringLiteral("par jour")});
    haut->addWidget(PeriodeCombo);
    ActualiserBtn = new QToolButton(this);
    ActualiserBtn->setText(QStringLiteral("Actualiser"));
    ExporterBtn = new QToolButton(this);
    ExporterBtn->setText(QStringLiteral("Exporter en PNG…"));
    haut->addWidget(ActualiserBtn);
    haut->addWidget(ExporterBtn);
    v->addLayout(haut);
    ResumeLbl = new QLabel(this);
    ResumeLbl->setWordWrap(true);
    v->addWidget(ResumeLbl);
    SemainesChart = Graphe(this, QString());
    PartiesChart = Graphe(this, QStringLiteral("Moyenne générale par partie"));
    auto* graphes = new QHBoxLayout;
    graphes->addWidget(SemainesChart);
    graphes->addWidget(PartiesChart);
    v->addLayout(graphes);
    v->addWidget(new QLabel(QStringLiteral("Exercices, à retravailler d'abord :"), this));
    ExercicesGrid = new QTableWidget(0, 5, this);
    ExercicesGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Exercice"), QStringLiteral("Tentatives"), QStringLiteral("Réussite"),
         QStringLiteral("Meilleure robustesse"), QStringLiteral("Meilleure route")});
    ExercicesGrid->verticalHeader()->hide();
    ExercicesGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ExercicesGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ExercicesGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    v->addWidget(ExercicesGrid);
    connect(ActualiserBtn, &QToolButton::clicked, this, &TProgresFrm::Actualise);
    connect(JoueurEdit, &QLineEdit::returnPressed, this, &TProgresFrm::Actualise);
    connect(PeriodeCombo, &QComboBox::currentIndexChanged, this, &TProgresFrm::Actualise);
    connect(ExporterBtn, &QToolButton::clicked, this, [this] {
        const QString nom = QFileDialog::getSaveFileName(this, QString(), QStringLiteral("progres.png"),
                                                         QStringLiteral("images PNG (*.png)"));
        if (!nom.isEmpty()) ExportePng(nom);
    });
    resize(980, 720);
}

void TProgresFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    Actualise();
}

bool TProgresFrm::Actualise() {
    TStatistiques s;
    std::string erreur = "historique indisponible : le programme fonctionne sans historique";
    if (!base_ || !base_->Ouverte() ||
        !LitStatistiques(*base_, JoueurEdit->text().trimmed().toStdString(), s, &erreur)) {
        ResumeLbl->setText(QString::fromStdString(erreur));
        return false;
    }
    const QLocale l;
    ResumeLbl->setText(
        QStringLiteral("%1 tentatives, %2 réussies ; robustesse moyenne des coups réussis : %3")
            .arg(l.toString(qlonglong(s.Total.Tentatives)), Pourcent(s.Total.Taux()),
                 Pourcent(s.Total.RobustesseReussies)));
    auto* taux = new QLineSeries;
    taux->setName(QStringLiteral("réussite (%)"));
    auto* robustesse = new QLineSeries;
    robustesse->setName(QStringLiteral("robustesse moyenne (%)"));
    const bool jours = PeriodeCombo->currentIndex() == 1;
    SemainesChart->chart()->setTitle((jours ? QStringLiteral("Par jour") : QStringLiteral("Par semaine")) +
                                     QStringLiteral(" : réussite et robustesse moyenne des coups réussis"));
    for (const TPeriode& p : jours ? s.Jours : s.Semaines) {
        taux->append(double(Ms(p.Debut)), 100 * p.Compte.Taux());
        if (p.Compte.RobustesseReussies)
            robustesse->append(double(Ms(p.Debut)), 100 * *p.Compte.RobustesseReussies);
    }
    Remplit(SemainesChart->chart(), {taux, robustesse}, 100, QStringLiteral("%.0f"));
    QList<QLineSeries*> moyennes;
    double maxi = 0.5;
    for (int j = 0; j < 2 && (j == 0 || s.Joueur.empty()); ++j) {
        auto* m = new QLineSeries;
        m->setName(s.Joueur.empty() ? (j == 0 ? QStringLiteral("joueur A") : QStringLiteral("joueur B"))
                                    : QString::fromStdString(s.Joueur));
        for (const TLignePartie& p : s.Parties) {
            const int k = s.Joueur.empty() ? j : (p.Joueurs[0] == s.Joueur ? 0 : 1);
            m->append(double(p.Debut) * 1000, p.Moyenne(k));
            maxi = std::max(maxi, p.Moyenne(k));
        }
        moyennes.append(m);
    }
    Remplit(PartiesChart->chart(), moyennes, maxi * 1.1, QStringLiteral("%.2f"));
    ExercicesGrid->setRowCount(int(s.Exercices.size()));
    for (int i = 0; i < int(s.Exercices.size()); ++i) {
        const TLigneExercice& e = s.Exercices[size_t(i)];
        const QStringList c = {QString::fromStdString(e.Titre), l.toString(qlonglong(e.Compte.Tentatives)),
                               Pourcent(e.Compte.Taux()), Pourcent(e.MeilleureRobustesse),
                               Pourcent(e.MeilleurTaux)};
        for (int k = 0; k < c.size(); ++k) ExercicesGrid->setItem(i, k, new QTableWidgetItem(c[k]));
    }
    return true;
}

bool TProgresFrm::ExportePng(const QString& fichier) {
    // whole or not at all: an image cut short never replaces the one there
    QSaveFile f(fichier);
    if (f.open(QIODevice::WriteOnly) && grab().save(&f, "PNG") && f.commit()) return true;
    QMessageBox::warning(this, QStringLiteral("Progrès"),
                         QStringLiteral("Image impossible à écrire : %1\n%2").arg(fichier, f.errorString()));
    return false;
}
