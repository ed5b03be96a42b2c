#include "tools/Solutions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "moteurs/RoutesLisibles.h"
#include "tools/Difficulte.h"
#include "tools/MemTrajets.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/CaseLed.h"
#include "widgets/DossierFichiers.h"
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

// The routes' texts wrapped to the list's width, each row as tall as its text needs beside its
// drawing: in a narrow dock the lines of a route stay whole.
class TDelegueRoutes : public QStyledItemDelegate {
public:
    explicit TDelegueRoutes(QTreeWidget* liste) : QStyledItemDelegate(liste), liste_(liste) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const int retrait = (index.parent().isValid() ? 2 : 1) * liste_->indentation();
        const bool dessin = o.features & QStyleOptionViewItem::HasDecoration;
        const int icone = dessin ? o.decorationSize.width() + 8 : 0;
        const int largeur = std::max(60, liste_->viewport()->width() - retrait - icone - 8);
        const QRect texte =
            o.fontMetrics.boundingRect(QRect(0, 0, largeur, 100000), Qt::TextWordWrap, o.text);
        return {largeur + icone, std::max(texte.height(), dessin ? o.decorationSize.height() : 0) + 6};
    }

private:
    QTreeWidget* liste_;
};

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
    CreeReglages(*pile);
    CreeCommandes(*pile);
    CreeListe(*pile);
    Branche();
    DemandeNomVel = [this] {
        return DemandeFichierEnregistrer(this, QString(), QStringLiteral("fichiers de positions (*.vel)"));
    };
    EtatControles(false);
    resize(600, 620);
}

// what is searched: the rule, the number of routes, massé
void TSolutionsFrm::CreeReglages(QVBoxLayout& pile) {
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
    pile.addLayout(reglages);
}

// start, stop, progress, and what the search is at
void TSolutionsFrm::CreeCommandes(QVBoxLayout& pile) {
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
    pile.addLayout(commandes);
    EtatLbl = new QLabel(QStringLiteral("cliquez sur « chercher »"), this);
    EtatLbl->setObjectName(QStringLiteral("EtatLbl"));
    EtatLbl->setWordWrap(true);
    pile.addWidget(EtatLbl);
}

// the routes, each unfolding its variants, the legend of their words, and what to do with one
void TSolutionsFrm::CreeListe(QVBoxLayout& pile) {
    RoutesList = new QTreeWidget(this);
    RoutesList->setObjectName(QStringLiteral("RoutesList"));
    RoutesList->setHeaderHidden(true);
    RoutesList->setColumnCount(1);
    RoutesList->setIconSize(QSize(LargeurDessin, HauteurDessin));
    RoutesList->setWordWrap(true);
    RoutesList->setUniformRowHeights(false);
    RoutesList->setIndentation(14);
    // the texts wrap to the width of the dock, whole, however narrow it is
    RoutesList->setTextElideMode(Qt::ElideNone);
    RoutesList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    RoutesList->setItemDelegate(new TDelegueRoutes(RoutesList));
    RoutesList->viewport()->installEventFilter(this);
    PoseBulle(RoutesList,
              QStringLiteral("|cliquez une route ou une de ses variantes pour placer la queue et les "
                             "billes et la jouer"));
    pile.addWidget(RoutesList, 1);
    LegendeLbl =
        new QLabel(QStringLiteral("Bandes vues du joueur placé derrière la courte du bas ; diamants "
                                  "comptés depuis le coin à sa gauche. 1 procédé = un tiers de l'écart "
                                  "maximal sans fausse queue ; vitesse de 1 à 10."),
                   this);
    LegendeLbl->setObjectName(QStringLiteral("LegendeLbl"));
    LegendeLbl->setWordWrap(true);
    pile.addWidget(LegendeLbl);
    auto* bas = new QHBoxLayout;
    MemoriserBtn = Bouton(this, "MemoriserBtn", QStringLiteral("Mémoriser"),
                          QStringLiteral("mémoriser|envoie la route choisie à la mémorisation des trajets"));
    EnregistrerBtn =
        Bouton(this, "EnregistrerBtn", QStringLiteral("Enregistrer"),
               QStringLiteral("enregistrer|sauve la route choisie en fichier de positions (.vel)"));
    bas->addWidget(MemoriserBtn);
    bas->addWidget(EnregistrerBtn);
    bas->addStretch(1);
    pile.addLayout(bas);
}

void TSolutionsFrm::Branche() {
    connect(ChercheBtn, &QToolButton::clicked, this, &TSolutionsFrm::ChercheBtnClick);
    connect(EscBtn, &QToolButton::clicked, this, &TSolutionsFrm::EscBtnClick);
    connect(MemoriserBtn, &QToolButton::clicked, this, &TSolutionsFrm::MemoriserBtnClick);
    connect(EnregistrerBtn, &QToolButton::clicked, this, &TSolutionsFrm::EnregistrerBtnClick);
    connect(RoutesList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { JoueElement(item); });
    connect(RoutesList, &QTreeWidget::currentItemChanged, this, [this] {
        MemoriserBtn->setEnabled(!enCours_ && RouteCourante() >= 0);
        EnregistrerBtn->setEnabled(!enCours_ && RouteCourante() >= 0);
    });
    echap_ =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(echap_, &QShortcut::activated, this, &TSolutionsFrm::EscBtnClick);
    suivi_.setInterval(IntervalleSuivi);
    connect(&suivi_, &QTimer::timeout, this, &TSolutionsFrm::Suivi);
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

bool TSolutionsFrm::eventFilter(QObject* objet, QEvent* e) {
    // another width: the drawings take a third of it (within their bounds), the rows the height
    // their texts need
    if (objet == RoutesList->viewport() && e->type() == QEvent::Resize) {
        const int largeur = std::clamp(RoutesList->viewport()->width() / 3, LargeurDessin / 2, LargeurDessin);
        RoutesList->setIconSize(QSize(largeur, largeur * HauteurDessin / LargeurDessin));
        RoutesList->doItemsLayout();
    }
    return TFenetreOutil::eventFilter(objet, e);
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
    etatRecherche_ = billard.EtatPosition();
    perimee_ = false;

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
    AvancementBar->setValue(r.Interrompu ? AvancementBar->value() : 1000);
    TempsRestantLbl->clear();
    for (const TRouteSolveur& route : r.Routes) RoutesList->addTopLevelItem(Element(route));
    EtatFin(r);
    Verrouille(false);
    // the position may have changed while the search ran
    if (const TGLBillardVelmora* billard = Hote().Billard3D()) MajValidite(billard->EtatPosition());
    emit RechercheTerminee();
}

void TSolutionsFrm::EtatFin(const TResultatSolveur& r) {
    const QLocale locale;
    if (r.Routes.empty()) {
        etatTexte_ = QStringLiteral("Aucune route : ") + QString::fromStdString(r.Raison);
    } else {
        etatTexte_ = QStringLiteral("%1 routes trouvées, %2 coups jugés en %3 s%4")
                         .arg(locale.toString(r.NbRoutesTrouvees), locale.toString(qlonglong(r.NbCoups)),
                              TexteFixe(r.Secondes, 6, 1, locale),
                              !r.Interrompu ? QString()
                              : r.NbNonMesurees > 0
                                  ? QStringLiteral(" (recherche arrêtée, taux de réussite non mesurés)")
                                  : QStringLiteral(" (recherche arrêtée)"));
    }
    EtatLbl->setText(etatTexte_);
}

QTreeWidgetItem* TSolutionsFrm::Element(const TRouteSolveur& route) const {
    const QLocale locale;
    const char sep = SeparateurDecimal(locale);
    const TQueueDegres& q = route.Queue;
    const QString taux =
        route.Mesuree()
            ? QStringLiteral("réussite %1 %").arg(TexteFixe(100 * route.TauxReussite(), 6, 1, locale))
            : QStringLiteral("réussite non mesurée");
    QString ligne3 = QStringLiteral("%1 · %2 cm/s · visée %3°")
                         .arg(taux, TexteFixe(q.Vitesse, 6, 0, locale), TexteFixe(q.Visee, 6, 2, locale));
    if (!route.Variantes.empty())
        ligne3 += QStringLiteral(" · ") + QString::fromStdString(TexteVariantes(route.Variantes.size()));
    auto* element = new QTreeWidgetItem(QStringList{
        QStringLiteral("%1. %2\n%3\n%4")
            .arg(QString::number(route.Rang),
                 QString::fromStdString(TexteParcoursRoute(route, resultat_.Contexte.NomBille2, sep)),
                 QString::fromStdString(TexteCoupRoute(resultat_, route, q, sep)), ligne3)});
    element->setIcon(0, QIcon(Dessin(route)));
    element->setToolTip(0, QString::fromStdString(route.Libelle));
    for (const TVarianteRoute& v : route.Variantes)
        element->addChild(new QTreeWidgetItem(
            QStringList{QStringLiteral("%1 — %2 coups de la recherche")
                            .arg(QString::fromStdString(TexteCoupRoute(resultat_, route, v.Queue, sep)))
                            .arg(v.TailleRegion)}));
    return element;
}

void TSolutionsFrm::MajValidite(const TEtatPosition& actuel) {
    if (enCours_ || RoutesList->topLevelItemCount() == 0) return;
    const bool perimee = !etatRecherche_.Meme(actuel);
    if (perimee == perimee_) return;
    perimee_ = perimee;
    // greyed, still chosen on a click: a route puts the balls back where the search saw them
    const QBrush couleur = perimee ? QBrush(Qt::gray) : QBrush();
    for (int i = 0; i < RoutesList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* route = RoutesList->topLevelItem(i);
        route->setForeground(0, couleur);
        for (int k = 0; k < route->childCount(); ++k) route->child(k)->setForeground(0, couleur);
    }
    EtatLbl->setText(perimee ? QStringLiteral("position modifiée — relancer") : etatTexte_);
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
    MemoriserBtn->setEnabled(!enCours && RouteCourante() >= 0);
    EnregistrerBtn->setEnabled(!enCours && RouteCourante() >= 0);
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

void TSolutionsFrm::JoueElement(QTreeWidgetItem* item) {
    if (QTreeWidgetItem* route = item->parent())
        ChoisitVariante(RoutesList->indexOfTopLevelItem(route), route->indexOfChild(item));
    else
        ChoisitRoute(RoutesList->indexOfTopLevelItem(item));
}

int TSolutionsFrm::RouteCourante() const {
    QTreeWidgetItem* item = RoutesList->currentItem();
    if (!item) return -1;
    return RoutesList->indexOfTopLevelItem(item->parent() ? item->parent() : item);
}

void TSolutionsFrm::ChoisitRoute(int i) {
    if (enCours_ || i < 0 || i >= int(resultat_.Routes.size())) return;
    QTreeWidgetItem* item = RoutesList->topLevelItem(i);
    if (item && RoutesList->currentItem() != item) RoutesList->setCurrentItem(item);
    ChoisitCoup(i, resultat_.Routes[size_t(i)].Queue);
}

void TSolutionsFrm::ChoisitVariante(int i, int k) {
    if (enCours_ || i < 0 || i >= int(resultat_.Routes.size())) return;
    const std::vector<TVarianteRoute>& variantes = resultat_.Routes[size_t(i)].Variantes;
    if (k < 0 || k >= int(variantes.size())) return;
    QTreeWidgetItem* item = RoutesList->topLevelItem(i)->child(k);
    if (RoutesList->currentItem() != item) RoutesList->setCurrentItem(item);
    ChoisitCoup(i, variantes[size_t(k)].Queue);
}

void TSolutionsFrm::ChoisitCoup(int i, const TQueueDegres& q) {
    if (enCours_ || !depart_ || i < 0 || !Hote().Billard3D() || Hote().CoupVerrouille()) return;
    TGLBillardVelmora& billard = *Hote().Billard3D();

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
    QTreeWidgetItem* item = RoutesList->currentItem();
    TMemTrajetsFrm* memo = Memo;
    if (enCours_ || !item || !memo) return;
    // the route or variant chosen, played, then kept even when memorization is off (which it stays)
    const bool actif = memo->MemorisationActive();
    JoueElement(item);  // with memorization on, the fire command memorizes it
    if (!actif) memo->Memorise(true);
}

void TSolutionsFrm::EnregistrerBtnClick() {
    QTreeWidgetItem* item = RoutesList->currentItem();
    if (enCours_ || !item || !DemandeNomVel) return;
    QString nom = DemandeNomVel();
    if (nom.isEmpty()) return;
    const QFileInfo f(nom);
    nom = f.dir().filePath(f.completeBaseName() + QStringLiteral(".vel"));
    JoueElement(item);
    if (Hote().SauvePosition(nom)) EtatLbl->setText(QStringLiteral("route enregistrée dans ") + nom);
}
