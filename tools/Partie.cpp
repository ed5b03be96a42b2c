// The match window and its score board.
#include "tools/Partie.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "view3d/GLBillardVelmora.h"

namespace {

TCentreBille Centre(const TVecteur3f& v) { return {v.x, v.y, v.z}; }
TVecteur3f Vers3f(const TCentreBille& c) { return {c.x, c.y, c.z}; }

QToolButton* Bouton(QWidget* parent, const char* nom, const QString& texte) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    return b;
}

// the balls by colour as the table holds them: white, yellow, red
TPositionBilles Billes(const TGLBillardVelmora& b) {
    return {Centre(b.Blanche->LitPosition()), Centre(b.Jaune->LitPosition()), Centre(b.Rouge->LitPosition())};
}

// the simulation's number of a ball by colour (white, yellow, red): 1 the player's, 2 the other cue ball
int NumeroSimu(const TGLBillardVelmora& b, size_t couleur) {
    if (couleur == 2) return 3;
    return (couleur == 0) == (b.BilleJoueur == b.Blanche) ? 1 : 2;
}

double Luminance(const QColor& c) {
    const auto canal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
}

// The palette's highlight softened toward the board's ground: set apart in a light palette as in
// a dark one, with the text's own colour on it, or black or white when that one would not read
void MetEnValeur(QTableWidgetItem& item, const QPalette& palette) {
    const QColor h = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor b = palette.color(QPalette::Active, QPalette::Base);
    const auto melange = [](int x, int y) { return (3 * x + 2 * y) / 5; };
    const QColor fond(melange(h.red(), b.red()), melange(h.green(), b.green()), melange(h.blue(), b.blue()));
    const double lf = Luminance(fond);
    const auto contraste = [lf](const QColor& c) {
        const double l = Luminance(c);
        return (std::max(l, lf) + 0.05) / (std::min(l, lf) + 0.05);
    };
    QColor texte = palette.color(QPalette::Active, QPalette::Text);
    if (contraste(texte) < 4.5) texte = lf > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    item.setBackground(fond);
    item.setForeground(texte);
    QFont f = item.font();
    f.setBold(true);
    item.setFont(f);
}

// the score board: a column per player, a row per figure, as high as its rows (narrow docks keep
// every figure in sight)
QTableWidget* FeuilleDeMarque(QWidget* parent) {
    auto* t = new QTableWidget(5, 2, parent);
    t->setObjectName(QStringLiteral("ScoreGrid"));
    t->setVerticalHeaderLabels({QStringLiteral("Points"), QStringLiteral("Reprises"), QStringLiteral("Série"),
                                QStringLiteral("Meilleure série"), QStringLiteral("Moyenne générale")});
    t->setHorizontalHeaderLabels({QStringLiteral("Blanche"), QStringLiteral("Jaune")});
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    t->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return t;
}

}  // namespace

TPartieFrm::TPartieFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Partie"), ContexteAidePartie), base_(std::move(base)) {
    auto* v = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    JoueurAEdit = new QLineEdit(QStringLiteral("Joueur A"), this);
    JoueurAEdit->setObjectName(QStringLiteral("JoueurAEdit"));
    JoueurBEdit = new QLineEdit(QStringLiteral("Joueur B"), this);
    JoueurBEdit->setObjectName(QStringLiteral("JoueurBEdit"));
    ModeCombo = new QComboBox(this);
    ModeCombo->setObjectName(QStringLiteral("ModeCombo"));
    ModeCombo->addItems({QStringLiteral("3 bandes"), QStringLiteral("1 bandes"), QStringLiteral("Libre")});
    DistanceEdit = new QSpinBox(this);
    DistanceEdit->setObjectName(QStringLiteral("DistanceEdit"));
    DistanceEdit->setRange(1, 10000);
    DistanceEdit->setValue(15);
    LimiteEdit = new QSpinBox(this);
    LimiteEdit->setObjectName(QStringLiteral("LimiteEdit"));
    LimiteEdit->setRange(0, 10000);
    LimiteEdit->setSpecialValueText(QStringLiteral("aucune"));
    f->addRow(QStringLiteral("Joueur A (Blanche) :"), JoueurAEdit);
    f->addRow(QStringLiteral("Joueur B (Jaune) :"), JoueurBEdit);
    f->addRow(QStringLiteral("Mode de jeu :"), ModeCombo);
    f->addRow(QStringLiteral("Distance (points) :"), DistanceEdit);
    f->addRow(QStringLiteral("Limite de reprises :"), LimiteEdit);
    v->addLayout(f);
    auto* boutons = new QHBoxLayout;
    NouvelleBtn = Bouton(this, "NouvelleBtn", QStringLiteral("Nouvelle partie"));
    ReprendreBtn = Bouton(this, "ReprendreBtn", QStringLiteral("Reprendre"));
    ReprendreBtn->setToolTip(QStringLiteral("reprend la dernière partie inachevée"));
    AnnulerBtn = Bouton(this, "AnnulerBtn", QStringLiteral("Annuler le coup"));
    AnnulerBtn->setToolTip(QStringLiteral("reprend le dernier coup : billes et score"));
    for (QToolButton* b : {NouvelleBtn, ReprendreBtn, AnnulerBtn}) boutons->addWidget(b);
    v->addLayout(boutons);
    ScoreGrid = FeuilleDeMarque(this);
    v->addWidget(ScoreGrid);
    EtatLbl = new QLabel(this);
    EtatLbl->setObjectName(QStringLiteral("EtatLbl"));
    EtatLbl->setWordWrap(true);
    v->addWidget(EtatLbl);
    v->addStretch();
    connect(NouvelleBtn, &QToolButton::clicked, this, &TPartieFrm::NouvelleBtnClick);
    connect(ReprendreBtn, &QToolButton::clicked, this, &TPartieFrm::ReprendreBtnClick);
    connect(AnnulerBtn, &QToolButton::clicked, this, &TPartieFrm::AnnulerBtnClick);
    AfficheScore();
    resize(360, 400);
}

void TPartieFrm::NouvelleBtnClick() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || Hote().CoupVerrouille()) return;
    // the match left unfinished is given up
    if (partie_ && !partie_->Finie() && id_ > 0 && base_) base_->AbandonnePartie(id_);
    TReglesPartie r;
    r.Joueurs = {JoueurAEdit->text().trimmed().toStdString(), JoueurBEdit->text().trimmed().toStdString()};
    if (r.Joueurs[0].empty() || r.Joueurs[1].empty() || r.Joueurs[0] == r.Joueurs[1]) {
        QMessageBox::warning(this, QStringLiteral("Partie"),
                             QStringLiteral("Donnez deux noms de joueurs différents."));
        return;
    }
    r.Mode = ModeCombo->currentIndex() == 1 ? j1Bande : ModeCombo->currentIndex() == 2 ? jLibre : j3Bandes;
    r.Distance = DistanceEdit->value();
    r.LimiteReprises = LimiteEdit->value();
    // the opening position, the white to break
    Hote().ChoisitBilleJoueur(false);
    billard->PositionDepart(true);
    partie_.emplace(r, Billes(*billard));
    id_ = 0;
    avertissement_.clear();
    std::string erreur;
    if (base_ && base_->Ouverte()) {
        if (const auto id = base_->CommencePartie(*partie_, QDateTime::currentSecsSinceEpoch(), &erreur))
            id_ = *id;
        else
            avertissement_ = QStringLiteral("partie non enregistrée : ") + QString::fromStdString(erreur);
    }
    PlaceBilles();
    AfficheScore();
}

void TPartieFrm::ReprendreBtnClick() {
    if (!Hote().Billard3D() || Hote().CoupVerrouille()) return;
    // read when asked: another instance may have played since this window opened
    std::string erreur;
    const auto stockee = base_ && base_->Ouverte() ? base_->PartieEnCours(&erreur) : std::nullopt;
    if (!stockee) {
        MajReprendre();
        QMessageBox::information(
            this, QStringLiteral("Partie"),
            erreur.empty() ? QStringLiteral("Aucune partie inachevée dans l'historique.")
                           : QStringLiteral("Historique illisible : %1").arg(QString::fromStdString(erreur)));
        return;
    }
    TPartieCarambole p(stockee->Regles, stockee->Depart);
    if (!p.Reprend(stockee->Coups)) {
        QMessageBox::warning(this, QStringLiteral("Partie"),
                             QStringLiteral("La partie enregistrée est illisible."));
        return;
    }
    partie_.emplace(std::move(p));
    id_ = stockee->Id;
    avertissement_.clear();
    JoueurAEdit->setText(QString::fromStdString(stockee->Regles.Joueurs[0]));
    JoueurBEdit->setText(QString::fromStdString(stockee->Regles.Joueurs[1]));
    ModeCombo->setCurrentIndex(stockee->Regles.Mode == j1Bande ? 1 : stockee->Regles.Mode == jLibre ? 2 : 0);
    DistanceEdit->setValue(stockee->Regles.Distance);
    LimiteEdit->setValue(stockee->Regles.LimiteReprises);
    PlaceBilles();
    AfficheScore();
}

void TPartieFrm::AnnulerBtnClick() {
    if (!partie_ || Hote().CoupVerrouille() || !partie_->Annule()) return;
    std::string erreur;
    if (id_ > 0 && base_ && !base_->AnnuleCoup(id_, *partie_, &erreur)) Desynchronise(erreur);
    PlaceBilles();
    AfficheScore();
}

void TPartieFrm::Desynchronise(const std::string& erreur) {
    // the stored shots no longer follow the match: it must not be resumed from them
    if (base_) base_->AbandonnePartie(id_);
    id_ = 0;
    avertissement_ = QStringLiteral("historique : %1 — la partie continue sans être enregistrée")
                         .arg(QString::fromStdString(erreur));
}

void TPartieFrm::MajReprendre() {
    ReprendreBtn->setEnabled(base_ && base_->Ouverte() && base_->PartieEnCours());
}

void TPartieFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    MajReprendre();
}

void TPartieFrm::PlaceBilles() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || !partie_) return;
    Hote().ChoisitBilleJoueur(partie_->BilleJoueur() == bjJaune);
    Hote().ChoisitModeJeu(partie_->Regles().Mode);
    const TPositionBilles& p = partie_->Positions();
    // all three at once: one by one, a ball would be pushed off another's old place
    billard->PlaceEnOrdre({billard->Blanche, billard->Jaune, billard->Rouge},
                          {Vers3f(p[0]), Vers3f(p[1]), Vers3f(p[2])});
    billard->Queue->MajReleve();
}

QString TPartieFrm::HorsPartie() const {
    const TGLBillardVelmora& billard = *Hote().Billard3D();
    if ((billard.BilleJoueur == billard.Jaune) != (partie_->BilleJoueur() == bjJaune))
        return QStringLiteral("il a été joué avec la bille de l'autre joueur");
    if (billard.Simu->ModeDeJeu != partie_->Regles().Mode)
        return QStringLiteral("le mode de jeu n'est plus celui de la partie");
    const TPositionBilles& p = partie_->Positions();
    for (size_t i = 0; i < 3; ++i) {
        const TVecteur& v = billard.Simu->Trajets[NumeroSimu(billard, i)][0].Position;
        if (std::fabs(v.x - p[i].x) > ToleranceBilles || std::fabs(v.y - p[i].y) > ToleranceBilles ||
            std::fabs(v.z - p[i].z) > ToleranceBilles)
            return QStringLiteral("les billes n'étaient plus où la partie les avait laissées");
    }
    return {};
}

void TPartieFrm::SurCoupJoue() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!partie_ || partie_->Finie() || !billard || !Ouverte()) return;
    // a shot from elsewhere would give the match another table than its own
    if (const QString raison = HorsPartie(); !raison.isEmpty()) {
        PlaceBilles();
        AfficheScore();
        EtatLbl->setText(
            QStringLiteral("coup non compté : %1 ; la partie est remise en place.\n").arg(raison) +
            EtatLbl->text());
        return;
    }
    const TBillardVelmora& simu = *billard->Simu;
    const bool point = simu.PointReussi && !simu.FausseQueue;
    TTentative t;
    t.Joueur = partie_->Regles().Joueurs[size_t(partie_->Joueur())];
    t.Quand = QDateTime::currentSecsSinceEpoch();
    t.Mode = simu.ModeDeJeu;
    t.Queue = billard->Queue->Valeurs();
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur& v = simu.Trajets[b][0].Position;
        t.Billes[size_t(b - 1)] = {float(v.x), float(v.y), float(v.z)};
    }
    t.Reussi = point;
    t.FausseQueue = simu.FausseQueue;
    // where the balls came to rest: the last photo, by colour
    TPositionBilles apres{};
    const int n = simu.NbPhotos;
    const TTableJeu table;
    for (size_t i = 0; i < 3; ++i) {
        const TVecteur& v = simu.Trajets[NumeroSimu(*billard, i)][n].Position;
        const TCentreBille c{float(v.x), float(v.y), float(v.z)};
        // a ball that left the table goes back where it stood
        TCentreBille borne = c;
        apres[i] = table.Borne(borne) || c.z < 0 ? partie_->Positions()[i] : c;
    }
    if (!partie_->Joue(point, apres)) return;
    std::string erreur;
    if (id_ > 0 && base_ && !base_->EnregistreCoup(id_, *partie_, t, &erreur)) Desynchronise(erreur);
    PlaceBilles();
    AfficheScore();
}

void TPartieFrm::changeEvent(QEvent* e) {
    TFenetreOutil::changeEvent(e);
    // the highlight of the player at the table follows the palette (once the window is built)
    if (e->type() == QEvent::PaletteChange && EtatLbl) AfficheScore();
}

void TPartieFrm::AfficheScore() {
    AnnulerBtn->setEnabled(partie_ && !partie_->Coups().empty());
    MajReprendre();
    EtatLbl->setText(EtatPartie() +
                     (avertissement_.isEmpty() ? QString() : QStringLiteral("\n") + avertissement_));
}

QString TPartieFrm::EtatPartie() {
    if (!partie_) return QStringLiteral("aucune partie : choisissez les joueurs puis « Nouvelle partie »");
    const QLocale l;
    for (int j = 0; j < 2; ++j) {
        const TScoreJoueur& s = partie_->Score(j);
        // the ball on a line of its own: a narrow dock keeps both names whole
        ScoreGrid->setHorizontalHeaderItem(
            j, new QTableWidgetItem(QString::fromStdString(partie_->Regles().Joueurs[size_t(j)]) +
                                    (j == 0 ? QStringLiteral("\n(Blanche)") : QStringLiteral("\n(Jaune)"))));
        const QStringList cellules = {l.toString(s.Points), l.toString(s.Reprises), l.toString(s.Serie),
                                      l.toString(s.MeilleureSerie), l.toString(s.Moyenne(), 'f', 3)};
        for (int r = 0; r < cellules.size(); ++r) {
            auto* item = new QTableWidgetItem(cellules[r]);
            item->setTextAlignment(Qt::AlignCenter);
            // the player at the table, in the palette's highlight (clear in light and dark ones alike)
            if (j == partie_->Joueur() && !partie_->Finie()) MetEnValeur(*item, palette());
            ScoreGrid->setItem(r, j, item);
        }
    }
    const QString au = QString::fromStdString(partie_->Regles().Joueurs[size_t(partie_->Joueur())]);
    if (!partie_->Finie())
        return QStringLiteral("au tour de %1 (%2), en %3 points%4")
            .arg(au, partie_->Joueur() == 0 ? QStringLiteral("Blanche") : QStringLiteral("Jaune"))
            .arg(partie_->Regles().Distance)
            .arg(partie_->RepriseEgalisation() ? QStringLiteral(" — reprise d'égalisation") : QString());
    const int g = partie_->Gagnant();
    return g < 0 ? QStringLiteral("partie finie : égalité")
                 : QStringLiteral("partie finie : %1 gagne")
                       .arg(QString::fromStdString(partie_->Regles().Joueurs[size_t(g)]));
}
