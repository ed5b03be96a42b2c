// The progress charts.
#include "tools/Progres.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
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
#include <algorithm>

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
    // the plot gets the room: no rounded frame, thin margins
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    vue->setRenderHint(QPainter::Antialiasing);
    vue->setMinimumHeight(220);
    return vue;
}

qint64 Ms(const std::string& date) {
    return QDateTime(QDate::fromString(QString::fromStdString(date), Qt::ISODate), QTime(12, 0))
        .toMSecsSinceEpoch();
}

// The series on the chart's time axis and on its value axis from 0 to maxi. The axes are made once
// and kept: axes removed and made again left their labels drawn under the new ones.
void Remplit(QChart* chart, const QList<QLineSeries*>& series, double maxi, const QString& format) {
    chart->removeAllSeries();
    auto* x = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (!x) {
        x = new QDateTimeAxis;
        x->setFormat(QStringLiteral("dd/MM/yy"));
        chart->addAxis(x, Qt::AlignBottom);
    }
    if (!y) {
        y = new QValueAxis;
        chart->addAxis(y, Qt::AlignLeft);
    }
    y->setLabelFormat(format);
    y->setTickCount(5);
    y->setRange(0, maxi);
    y->applyNiceNumbers();
    double debut = 0, fin = 0;
    bool vide = true;
    for (const QLineSeries* s : series)
        for (const QPointF& p : s->points()) {
            debut = vide ? p.x() : std::min(debut, p.x());
            fin = vide ? p.x() : std::max(fin, p.x());
            vide = false;
        }
    // a single day still spans the axis
    constexpr double jour = 86'400'000;
    if (!vide)
        x->setRange(QDateTime::fromMSecsSinceEpoch(qint64(debut - (fin > debut ? 0 : jour))),
                    QDateTime::fromMSecsSinceEpoch(qint64(fin + (fin > debut ? 0 : jour))));
    else  // nothing yet: the week to today, not the axis's default of 1970
        x->setRange(QDateTime(QDate::currentDate().addDays(-7), QTime(12, 0)),
                    QDateTime(QDate::currentDate(), QTime(12, 0)));
    for (QLineSeries* s : series) {
        s->setPointsVisible(true);
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

// the drills, one per row: two-line titles keep the columns narrow
QTableWidget* TableExercices(QWidget* parent) {
    auto* t = new QTableWidget(0, 5, parent);
    t->setObjectName(QStringLiteral("ExercicesGrid"));
    t->setHorizontalHeaderLabels({QStringLiteral("Exercice"), QStringLiteral("Tentatives"),
                                  QStringLiteral("Réussite"), QStringLiteral("Meilleure\nrobustesse"),
                                  QStringLiteral("Meilleure\nroute")});
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setWordWrap(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return t;
}

}  // namespace

TProgresFrm::TProgresFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Progrès"), ContexteAideProgres), base_(std::move(base)) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 6, 6, 6);
    haut_ = new QHBoxLayout;
    auto* haut = haut_;
    haut->addWidget(new QLabel(QStringLiteral("Joueur :"), this));
    JoueurEdit = new QLineEdit(this);
    JoueurEdit->setObjectName(QStringLiteral("JoueurEdit"));
    JoueurEdit->setPlaceholderText(QStringLiteral("tous les joueurs"));
    JoueurEdit->setMaximumWidth(260);
    haut->addWidget(JoueurEdit);
    PeriodeCombo = new QComboBox(this);
    PeriodeCombo->setObjectName(QStringLiteral("PeriodeCombo"));
    PeriodeCombo->addItems({QStringLiteral("par semaine"), QStringLiteral("par jour")});
    haut->addWidget(PeriodeCombo);
    ActualiserBtn = new QToolButton(this);
    ActualiserBtn->setObjectName(QStringLiteral("ActualiserBtn"));
    ActualiserBtn->setText(QStringLiteral("Actualiser"));
    ExporterBtn = new QToolButton(this);
    ExporterBtn->setObjectName(QStringLiteral("ExporterBtn"));
    ExporterBtn->setText(QStringLiteral("Exporter en PNG…"));
    haut->addWidget(ActualiserBtn);
    haut->addWidget(ExporterBtn);
    haut->addStretch();
    v->addLayout(haut);
    ResumeLbl = new QLabel(this);
    ResumeLbl->setObjectName(QStringLiteral("ResumeLbl"));
    ResumeLbl->setWordWrap(true);
    ResumeLbl->installEventFilter(this);
    v->addWidget(ResumeLbl);
    SemainesChart = Graphe(this, QString());
    SemainesChart->setObjectName(QStringLiteral("SemainesChart"));
    PartiesChart = Graphe(this, QStringLiteral("Moyenne générale par partie"));
    PartiesChart->setObjectName(QStringLiteral("PartiesChart"));
    for (QChartView* vue : {SemainesChart, PartiesChart}) vue->installEventFilter(this);
    auto* graphes = new QHBoxLayout;
    graphes->addWidget(SemainesChart);
    graphes->addWidget(PartiesChart);
    auto* exercices = new QVBoxLayout;
    exercices->addWidget(new QLabel(QStringLiteral("Exercices, à retravailler d'abord :"), this));
    ExercicesGrid = TableExercices(this);
    exercices->addWidget(ExercicesGrid);
    corps_ = new QBoxLayout(QBoxLayout::TopToBottom);
    corps_->addLayout(graphes, 1);
    corps_->addLayout(exercices, 1);
    v->addLayout(corps_, 1);
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

bool TProgresFrm::event(QEvent* e) {
    // in a dock the window lies in a scrolling area: the room it is given is that area's
    if (e->type() == QEvent::ParentChange && parentWidget()) parentWidget()->installEventFilter(this);
    return TFenetreOutil::event(e);
}

bool TProgresFrm::eventFilter(QObject* objet, QEvent* e) {
    if (objet == parentWidget() && e->type() == QEvent::Resize) Dispose();
    if (objet == ResumeLbl && e->type() == QEvent::Resize) MontreResume();
    if ((objet == SemainesChart || objet == PartiesChart) && e->type() == QEvent::Resize)
        EspaceDates(*static_cast<QChartView*>(objet));
    return TFenetreOutil::eventFilter(objet, e);
}

void TProgresFrm::EspaceDates(QChartView& vue) {
    // as many dates as the chart's width holds whole: a narrow dock elided them all ("01/0…")
    auto* x = qobject_cast<QDateTimeAxis*>(vue.chart()->axes(Qt::Horizontal).value(0));
    if (!x) return;
    const int largeurDate = QFontMetrics(x->labelsFont()).horizontalAdvance(QStringLiteral("00/00/00")) + 24;
    x->setTickCount(std::clamp((vue.width() - 60) / largeurDate + 1, 2, 5));
}

void TProgresFrm::resizeEvent(QResizeEvent* e) {
    TFenetreOutil::resizeEvent(e);
    Dispose();
}

void TProgresFrm::Dispose() {
    // low and wide (a dock under the table): the drills beside the charts, each the full height
    if (!corps_) return;
    const QSize place = Dock() && parentWidget() ? parentWidget()->size() : size();
    const bool large = place.width() >= 700 && place.width() >= 2 * place.height();
    const auto sens = large ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    // low: the charts give up height first (a third of a 1280x720 window is some 230 pixels)
    const int hauteurGraphe = large ? std::clamp(place.height() - 90, 130, 240) : 220;
    for (QChartView* vue : {SemainesChart, PartiesChart}) vue->setMinimumHeight(hauteurGraphe);
    if (corps_->direction() == sens) return;
    corps_->setDirection(sens);
    // the summary beside the controls, the charts lower
    auto* v = static_cast<QBoxLayout*>(layout());
    v->removeWidget(ResumeLbl);
    haut_->removeWidget(ResumeLbl);
    // a wrapped text would make the scrolling area give the window its preferred height, not the
    // dock's
    ResumeLbl->setWordWrap(!large);
    // beside the controls it takes what room is left, its whole text in a tip
    ResumeLbl->setSizePolicy(large ? QSizePolicy::Ignored : QSizePolicy::Preferred, QSizePolicy::Preferred);
    if (large)
        haut_->insertWidget(haut_->count() - 1, ResumeLbl, 1);
    else
        v->insertWidget(1, ResumeLbl);
    MontreResume();
    corps_->setStretch(0, large ? 3 : 1);
    corps_->setStretch(1, large ? 2 : 1);
}

void TProgresFrm::MontreResume() {
    const QString texte = ResumeLbl->toolTip();
    ResumeLbl->setText(ResumeLbl->wordWrap()
                           ? texte
                           : ResumeLbl->fontMetrics().elidedText(texte, Qt::ElideRight, ResumeLbl->width()));
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
        ResumeLbl->setToolTip(QString::fromStdString(erreur));
        MontreResume();
        return false;
    }
    const QLocale l;
    ResumeLbl->setToolTip(
        QStringLiteral("%1 tentatives, %2 réussies ; robustesse moyenne des coups réussis : %3")
            .arg(l.toString(qlonglong(s.Total.Tentatives)), Pourcent(s.Total.Taux()),
                 Pourcent(s.Total.RobustesseReussies)));
    MontreResume();
    auto* taux = new QLineSeries;
    taux->setName(QStringLiteral("réussite (%)"));
    auto* robustesse = new QLineSeries;
    robustesse->setName(QStringLiteral("robustesse moyenne (%)"));
    const bool jours = PeriodeCombo->currentIndex() == 1;
    SemainesChart->chart()->setTitle((jours ? QStringLiteral("Par jour") : QStringLiteral("Par semaine")) +
                                     QStringLiteral(" : réussite et robustesse"));
    for (const TPeriode& p : jours ? s.Jours : s.Semaines) {
        taux->append(double(Ms(p.Debut)), 100 * p.Compte.Taux());
        if (p.Compte.RobustesseReussies)
            robustesse->append(double(Ms(p.Debut)), 100 * *p.Compte.RobustesseReussies);
    }
    Remplit(SemainesChart->chart(), {taux, robustesse}, 100, QStringLiteral("%.0f"));
    EspaceDates(*SemainesChart);
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
    EspaceDates(*PartiesChart);
    ExercicesGrid->setRowCount(int(s.Exercices.size()));
    for (int i = 0; i < int(s.Exercices.size()); ++i) {
        const TLigneExercice& e = s.Exercices[size_t(i)];
        const QStringList c = {QString::fromStdString(e.Titre), l.toString(qlonglong(e.Compte.Tentatives)),
                               Pourcent(e.Compte.Taux()), Pourcent(e.MeilleureRobustesse),
                               Pourcent(e.MeilleurTaux)};
        for (int k = 0; k < c.size(); ++k) {
            auto* item = new QTableWidgetItem(c[k]);
            if (k > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            ExercicesGrid->setItem(i, k, item);
        }
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
