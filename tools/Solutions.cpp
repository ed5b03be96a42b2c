#include "tools/Solutions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "tools/Difficulte.h"
#include "tools/MemTrajets.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/NombresAffiches.h"

namespace {

constexpr int IntervalleSuivi = 100;  // ms between two looks at the running search
constexpr int LargeurDessin = 168;
constexpr int HauteurDessin = 88;

QToolButton* Bouton(QWidget* parent, const char* nom, const QString& texte, const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFocusPolicy(Qt::NoFocus);
    PoseBulle(b, bulle);
    return b;
}

TVecteur3f Vers3f(const TVecteur& p) { return {float(p.x), float(p.y), float(p.z)}; }

QString TexteMode(TModeDeJeu mode) {
    switch (mode) {
        case j3Bandes:
            return QStringLiteral("3 bandes");
        case j1Bande:
            return QStringLiteral("1 bandes");
        default:
            return QStringLiteral("Libre");
    }
}

}  // namespace

TSolutionsFrm::TSolutionsFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Solutions"), ContexteAideSolutions) {
    setObjectName(QStringLiteral("SolutionsFrm"));
    auto* pile = new QVBoxLayout(this);

    // what is searched
    auto* reglages = new QHBoxLayout;
    ModeLbl = new QLabel(this);
    ModeLbl->setObjectName(QStringLiteral("ModeLbl"));
    PoseBulle(ModeLbl, QStringLiteral("|mode de jeu de la recherche (menu Jeu, Mode de jeu)"));
    reglages->addWidget(ModeLbl, 1);
    auto* routesLbl = new QLabel(QStringLiteral("routes :"), this);
    reglages->addWidget(routesLbl);
    NbRoutesEdit = new QSpinBox(this);
    NbRoutesEdit->setObjectName(QStringLiteral("NbRoutesEdit"));
    NbRoutesEdit->setRange(1, 20);
    NbRoutesEdit->setValue(TOptionsSolveur{}.NbRoutes);
    PoseBulle(NbRoutesEdit, QStringLiteral("|nombre de routes proposées, les plus faciles d'abord"));
    reglages->addWidget(NbRoutesEdit);
    MasseChk = new QCheckBox(QStringLiteral("massé"), this);
    MasseChk->setObjectName(QStringLiteral("MasseChk"));
    PoseBulle(MasseChk, QStringLiteral("|cherche aussi avec la queue inclinée jusqu'à 75° (sinon 5°)"));
    reglages->addWidget(MasseChk);
    pile->addLayout(reglages);

    // start, stop, progress
    auto* commandes = new QHBoxLayout;
    ChercheBtn =
        Bouton(this, "ChercheBtn", QStringLiteral("chercher"),
               QStringLiteral("chercher|cherche les routes qui font le point depuis la position des billes"));
    EscBtn = Bouton(this, "EscBtn", QStringLiteral("arrêter"),
                    QStringLiteral("arrêter|interrompt la recherche, garde les routes trouvées [ECHAP]"));
    commandes->addWidget(ChercheBtn);
    commandes->addWidget(EscBtn);
    AvancementBar = new QProgressBar(this);
    AvancementBar->setObjectName(QStringLiteral("AvancementBar"));
    AvancementBar->setRange(0, 1000);
    AvancementBar->setValue(0);
    AvancementBar->setTextVisible(false);
    commandes->addWidget(AvancementBar, 1);
    TempsRestantLbl = new QLabel(this);
    TempsRestantLbl->setObjectName(QStringLiteral("TempsRestantLbl"));
    PoseBulle(TempsRestantLbl, QStringLiteral("|temps restant estimé de la recherche"));
    commandes->addWidget(TempsRestantLbl);
    pile->addLayout(commandes);
    EtatLbl = new QLabel(QStringLiteral("cliquez sur « chercher »"), this);
    EtatLbl->setObjectName(QStringLiteral("EtatLbl"));
    EtatLbl->setWordWrap(true);
    pile->addWidget(EtatLbl);

    // the routes
    RoutesList = new QListWidget(this);
    RoutesList->setObjectName(QStringLiteral("RoutesList"));
    RoutesList->setIconSize(QSize(LargeurDessin, HauteurDessin));
    RoutesList->setSpacing(2);
    RoutesList->setWordWrap(true);
    PoseBulle(RoutesList,
              QStringLiteral("|cliquez une route pour placer la queue et les billes et la jouer"));
    pile->addWidget(RoutesList, 1);
    auto* bas = new QHBoxLayout;
    MemoriserBtn = Bouton(this, "MemoriserBtn", QStringLiteral("Mémoriser"),
                          QStringLiteral("mémoriser|envoie la route choisie à la mémorisation des trajets"));
    EnregistrerBtn =
        Bouton(this, "EnregistrerBtn", QStringLiteral("Enregistrer"),
               QStringLiteral("enregistrer|sauve la route choisie en fichier de positions (.vel)"));
    bas->addWidget(MemoriserBtn);
    bas->addWidget(EnregistrerBtn);
    bas->addStretch(1);
    pile->addLayout(bas);

    connect(ChercheBtn, &QToolButton::clicked, this, &TSolutionsFrm::ChercheBtnClick);
    connect(EscBtn, &QToolButton::clicked, this, &TSolutionsFrm::EscBtnClick);
    connect(MemoriserBtn, &QToolButton::clicked, this, &TSolutionsFrm::MemoriserBtnClick);
    connect(EnregistrerBtn, &QToolButton::clicked, this, &TSolutionsFrm::EnregistrerBtnClick);
    connect(RoutesList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChoisitRoute(RoutesList->row(item)); });
    connect(RoutesList, &QListWidget::currentRowChanged, this, [this](int) {
        MemoriserBtn->setEnabled(!enCours_ && RoutesList->currentRow() >= 0);
        EnregistrerBtn->setEnabled(!enCours_ && RoutesList->currentRow() >= 0);
    });
    echap_ =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(echap_, &QShortcut::activated, this, &TSolutionsFrm::EscBtnClick);
    suivi_.setInterval(IntervalleSuivi);
    connect(&suivi_, &QTimer::timeout, this, &TSolutionsFrm::Suivi);

    DemandeNomVel = [this] {
        return QFileDialog::getSaveFileName(this, QString(), QString(),
                                            QStringLiteral("fichiers de positions (*.vel)"));
    };
    EtatControles(false);
    resize(600, 620);
}

TSolutionsFrm::~TSolutionsFrm() {
    suivi_.stop();
    // the search stops and its workers end before the window goes
    solveur_.reset();
}

void TSolutionsFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    if (!enCours_) AfficheMode();
}

void TSolutionsFrm::closeEvent(QCloseEvent* e) {
    // closing stops the search: the routes found so far stay in the list
    if (enCours_ && solveur_) {
        solveur_->Arrete();
        Fin(solveur_->Attends());
    }
    TFenetreOutil::closeEvent(e);
}

void TSolutionsFrm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        EscBtnClick();
        e->accept();
        return;
    }
    TFenetreOutil::keyPressEvent(e);
}

void TSolutionsFrm::AfficheMode() {
    const TGLBillardVelmora* billard = Hote().Billard3D();
    ModeLbl->setText(QStringLiteral("mode : ") + (billard ? TexteMode(billard->Simu->ModeDeJeu) : QString()));
}

void TSolutionsFrm::ChercheBtnClick() {
    if (enCours_ || !Hote().Billard3D() || Hote().CoupVerrouille()) return;
    TGLBillardVelmora& billard = *Hote().Billard3D();
    AfficheMode();

    // the balls at rest where the 3D view shows them, the constants and the rule of the simulation
    depart_ = std::make_unique<TBillardVelmora>();
    depart_->Fisik = billard.Simu->Fisik;
    depart_->ModeDeJeu = billard.Simu->ModeDeJeu;
    const TGLBilles* billes[NbBilles] = {billard.BilleJoueur, billard.BilleNonJoueur, billard.Rouge};
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur3f p = billes[b - 1]->LitPosition();
        depart_->Trajets[b][0] = {Vecteur(p.x, p.y, p.z), VecteurNul, VecteurNul};
    }
    joueurJaune_ = billard.BilleJoueur == billard.Jaune;

    TOptionsSolveur options;
    options.Mode = depart_->ModeDeJeu;
    options.NbRoutes = NbRoutesEdit->value();
    options.Budget = Budget;
    options.NbThreads = NbThreads;
    options.Masse = MasseChk->isChecked();
    options.MasseQueue = billard.Queue->Masse();
    options.NomBille2 = joueurJaune_ ? "Blanche" : "Jaune";
    solveur_ = std::make_unique<TSolveurCoups>(*depart_, options);

    RoutesList->clear();
    resultat_ = {};
    AvancementBar->setValue(0);
    EtatLbl->setText(QStringLiteral("recherche en cours…"));
    enCours_ = true;
    Verrouille(true);
    solveur_->Demarre();
    suivi_.start();
    Suivi();
}

void TSolutionsFrm::EscBtnClick() {
    if (enCours_ && solveur_) solveur_->Arrete();
}

void TSolutionsFrm::Suivi() {
    if (!enCours_ || !solveur_) return;
    if (solveur_->Termine()) {
        Fin(solveur_->Attends());
        return;
    }
    const TProgressionSolveur p = solveur_->Progression();
    AvancementBar->setValue(int(p.Fraction() * 1000));
    TempsRestantLbl->setText(p.Faits > 0 ? TDifficulteFrm::TexteDuree(p.SecondesRestantes()) : QString());
    const QLocale locale;
    const QString vus = p.Phase == 0
                            ? QStringLiteral("%1 réussis").arg(locale.toString(qlonglong(p.NbReussis)))
                            : QStringLiteral("%1 routes").arg(locale.toString(p.NbRoutesTrouvees));
    EtatLbl->setText(QStringLiteral("recherche en cours… %1 coups jugés, %2")
                         .arg(locale.toString(qlonglong(p.Faits)), vus));
}

void TSolutionsFrm::Fin(const TResultatSolveur& r) {
    suivi_.stop();
    resultat_ = r;
    enCours_ = false;
    const QLocale locale;
    AvancementBar->setValue(r.Interrompu ? AvancementBar->value() : 1000);
    TempsRestantLbl->clear();

    for (const TRouteSolveur& route : r.Routes) {
        const TQueueDegres& q = route.Queue;
        const QString taux =
            route.Mesuree()
                ? QStringLiteral("réussite %1 %").arg(TexteFixe(100 * route.TauxReussite(), 6, 1, locale))
                : QStringLiteral("réussite non mesurée");
        const QString texte = QStringLiteral("%1. %2\n%3 · %4 cm/s · visée %5°")
                                  .arg(route.Rang)
                                  .arg(QString::fromStdString(route.Libelle), taux,
                                       TexteFixe(q.Vitesse, 6, 0, locale), TexteFixe(q.Visee, 6, 2, locale));
        RoutesList->addItem(new QListWidgetItem(QIcon(Dessin(route)), texte));
    }
    if (r.Routes.empty()) {
        EtatLbl->setText(QStringLiteral("Aucune route : ") + QString::fromStdString(r.Raison));
    } else {
        EtatLbl->setText(QStringLiteral("%1 routes trouvées, %2 coups jugés en %3 s%4")
                             .arg(locale.toString(r.NbRoutesTrouvees), locale.toString(qlonglong(r.NbCoups)),
                                  TexteFixe(r.Secondes, 6, 1, locale),
                                  !r.Interrompu ? QString()
                                  : r.NbNonMesurees > 0
                                      ? QStringLiteral(" (recherche arrêtée, taux de réussite non mesurés)")
                                      : QStringLiteral(" (recherche arrêtée)")));
    }
    Verrouille(false);
    emit RechercheTerminee();
}

void TSolutionsFrm::Verrouille(bool enCours) {
    EtatControles(enCours);
    // a difficulty evaluation started meanwhile keeps its own lock
    Hote().VerrouilleCoup(this, enCours);
}

void TSolutionsFrm::EtatControles(bool enCours) {
    ChercheBtn->setEnabled(!enCours);
    EscBtn->setEnabled(enCours);
    echap_->setEnabled(enCours);
    NbRoutesEdit->setEnabled(!enCours);
    MasseChk->setEnabled(!enCours);
    RoutesList->setEnabled(!enCours);
    MemoriserBtn->setEnabled(!enCours && RoutesList->currentRow() >= 0);
    EnregistrerBtn->setEnabled(!enCours && RoutesList->currentRow() >= 0);
    if (enCours)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

QPixmap TSolutionsFrm::Dessin(const TRouteSolveur& route) const {
    QPixmap image(LargeurDessin, HauteurDessin);
    image.fill(Qt::transparent);
    if (!depart_) return image;
    // the route played whole from the balls of the search
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Fisik = depart_->Fisik;
    simu->ModeDeJeu = depart_->ModeDeJeu;
    for (int b = 1; b <= NbBilles; ++b) simu->Trajets[b][0] = depart_->Trajets[b][0];
    simu->SetParamQueue(route.Param);
    simu->Joue();

    // seen from above as the fixed camera shows it: table y to the right, table x downwards
    const double demiX = simu->Fisik.Bandes()[0].Point.x;
    const double demiY = simu->Fisik.Bandes()[2].Point.y;
    const QRectF tapis(4, 4, LargeurDessin - 8, HauteurDessin - 8);
    const auto point = [&](const TVecteur& p) {
        return QPointF(tapis.left() + (p.y + demiY) / (2 * demiY) * tapis.width(),
                       tapis.top() + (p.x + demiX) / (2 * demiX) * tapis.height());
    };
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(90, 50, 20), 4));
    peintre.setBrush(QColor(20, 110, 60));
    peintre.drawRect(tapis);

    // the player's ball's path until it stops
    QPainterPath chemin(point(simu->Trajets[1][0].Position));
    for (int k = 1; k <= simu->NbPhotos; ++k) chemin.lineTo(point(simu->Trajets[1][k].Position));
    const QColor couleurJoueur = joueurJaune_ ? QColor(250, 220, 40) : QColor(250, 250, 250);
    const QColor couleurAutre = joueurJaune_ ? QColor(250, 250, 250) : QColor(250, 220, 40);
    peintre.setPen(QPen(couleurJoueur, 1.4));
    peintre.setBrush(Qt::NoBrush);
    peintre.drawPath(chemin);

    // the three balls where they start
    const double r = std::max(2.5, simu->Fisik.RayonBilles() / (2 * demiY) * tapis.width());
    const QColor couleurs[NbBilles] = {couleurJoueur, couleurAutre, QColor(220, 30, 30)};
    peintre.setPen(QPen(Qt::black, 0.8));
    for (int b = 1; b <= NbBilles; ++b) {
        peintre.setBrush(couleurs[b - 1]);
        peintre.drawEllipse(point(simu->Trajets[b][0].Position), r, r);
    }
    return image;
}

void TSolutionsFrm::ChoisitRoute(int i) {
    if (enCours_ || !depart_ || i < 0 || i >= int(resultat_.Routes.size()) || !Hote().Billard3D()) return;
    if (Hote().CoupVerrouille()) return;
    TGLBillardVelmora& billard = *Hote().Billard3D();
    const TQueueDegres& q = resultat_.Routes[size_t(i)].Queue;
    if (RoutesList->currentRow() != i) RoutesList->setCurrentRow(i);

    // the cue window answers each setting; the shot is fired once everything is in place
    const bool auto_ = Hote().TirAuto();
    Hote().SetTirAuto(false);
    billard.BilleJoueur->SetPosition(Vers3f(depart_->Trajets[1][0].Position));
    billard.BilleNonJoueur->SetPosition(Vers3f(depart_->Trajets[2][0].Position));
    billard.Rouge->SetPosition(Vers3f(depart_->Trajets[3][0].Position));
    TGLQueue& queue = *billard.Queue;
    queue.SetEffetHauteur(q.Effet, q.Hauteur);
    queue.SetVisee(q.Visee);
    queue.SetInclinaison(q.Inclinaison);
    queue.SetVitesse(q.Vitesse);
    queue.SetMasse(q.Masse);
    Hote().SetTirAuto(auto_);
    // its trajectory is what the user came to see
    Hote().MontreResultat(TResultatMontre::LigneJoueur);
    Hote().Feu();
}

void TSolutionsFrm::MemoriserBtnClick() {
    const int i = RoutesList->currentRow();
    TMemTrajetsFrm* memo = Memo;
    if (enCours_ || i < 0 || !memo) return;
    // the route played, then kept even when memorization is off (which it stays)
    const bool actif = memo->MemorisationActive();
    ChoisitRoute(i);  // with memorization on, the fire command memorizes it
    if (!actif) memo->Memorise(true);
}

void TSolutionsFrm::EnregistrerBtnClick() {
    const int i = RoutesList->currentRow();
    if (enCours_ || i < 0 || !DemandeNomVel) return;
    QString nom = DemandeNomVel();
    if (nom.isEmpty()) return;
    const QFileInfo f(nom);
    nom = f.dir().filePath(f.completeBaseName() + QStringLiteral(".vel"));
    ChoisitRoute(i);
    if (Hote().SauvePosition(nom)) EtatLbl->setText(QStringLiteral("route enregistrée dans ") + nom);
}
