// The drill panel.
#include "tools/Entrainement.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "view3d/GLBillardVelmora.h"

namespace {

TVecteur3f Vers3f(const TCentreBille& c) { return {c.x, c.y, c.z}; }
TCentreBille Centre(const TVecteur& p) { return {float(p.x), float(p.y), float(p.z)}; }

QString Pourcent(double x) { return QLocale().toString(100 * x, 'f', 0) + QStringLiteral(" %"); }

QToolButton* Bouton(QWidget* parent, const char* nom, const QString& texte, const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    b->setToolTip(bulle);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

TEntrainementFrm::TEntrainementFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Entraînement"), ContexteAideEntrainement),
      base_(std::move(base)) {
    if (base_ && base_->Ouverte())
        cache_ = std::make_shared<TCacheRoutesHistorique>(base_);
    else
        cache_ = std::make_shared<TCacheRoutesMemoire>();
    auto* grille = new QVBoxLayout(this);
    PackLbl =
        new QLabel(QStringLiteral("aucun entraînement ouvert (Fichiers > Ouvrir un entraînement…)"), this);
    PackLbl->setObjectName(QStringLiteral("PackLbl"));
    PackLbl->setWordWrap(true);
    TitreLbl = new QLabel(this);
    TitreLbl->setObjectName(QStringLiteral("TitreLbl"));
    TitreLbl->setStyleSheet(QStringLiteral("font-weight: bold"));
    NotesLbl = new QLabel(this);
    NotesLbl->setObjectName(QStringLiteral("NotesLbl"));
    NotesLbl->setWordWrap(true);
    auto* joueur = new QHBoxLayout;
    joueur->addWidget(new QLabel(QStringLiteral("Joueur :"), this));
    JoueurEdit = new QLineEdit(QStringLiteral("Joueur"), this);
    JoueurEdit->setObjectName(QStringLiteral("JoueurEdit"));
    joueur->addWidget(JoueurEdit);
    auto* boutons = new QHBoxLayout;
    PrecedentBtn =
        Bouton(this, "PrecedentBtn", QStringLiteral("Précédent"), QStringLiteral("l'exercice précédent"));
    RecommencerBtn = Bouton(this, "RecommencerBtn", QStringLiteral("Recommencer"),
                            QStringLiteral("remet les billes exactement à la position de l'exercice"));
    SuivantBtn = Bouton(this, "SuivantBtn", QStringLiteral("Suivant"), QStringLiteral("l'exercice suivant"));
    for (QToolButton* b : {PrecedentBtn, RecommencerBtn, SuivantBtn}) boutons->addWidget(b);
    ResultatLbl = new QLabel(this);
    ResultatLbl->setObjectName(QStringLiteral("ResultatLbl"));
    ResultatLbl->setWordWrap(true);
    ResultatLbl->setMinimumHeight(48);
    RouteBtn = Bouton(this, "RouteBtn", QStringLiteral("Montrer la meilleure route"),
                      QStringLiteral("joue la meilleure route depuis la position de l'exercice"));
    for (QWidget* w :
         {static_cast<QWidget*>(PackLbl), static_cast<QWidget*>(TitreLbl), static_cast<QWidget*>(NotesLbl)})
        grille->addWidget(w);
    grille->addLayout(joueur);
    grille->addLayout(boutons);
    grille->addWidget(ResultatLbl);
    grille->addWidget(RouteBtn);
    grille->addStretch();
    connect(PrecedentBtn, &QToolButton::clicked, this, &TEntrainementFrm::PrecedentBtnClick);
    connect(RecommencerBtn, &QToolButton::clicked, this, &TEntrainementFrm::RecommencerBtnClick);
    connect(SuivantBtn, &QToolButton::clicked, this, &TEntrainementFrm::SuivantBtnClick);
    connect(RouteBtn, &QToolButton::clicked, this, &TEntrainementFrm::RouteBtnClick);
    suivi_.setInterval(40);
    connect(&suivi_, &QTimer::timeout, this, &TEntrainementFrm::Suivi);
    AfficheExercice();
    resize(420, 300);
}

TEntrainementFrm::~TEntrainementFrm() {
    suivi_.stop();
    analyse_.reset();
}

bool TEntrainementFrm::OuvrePack(const QString& fichier) {
    TPackEntrainement pack;
    std::string erreur;
    const auto refuse = [this](const QString& raison) {
        QMessageBox::warning(this, QStringLiteral("Entraînement"),
                             QStringLiteral("Entraînement refusé :\n%1").arg(raison));
        return false;
    };
    if (!ChargePack(fichier.toStdString(), pack, &erreur)) return refuse(QString::fromStdString(erreur));
    // the drills' rates hold on the pack's own table
    QString raison;
    if (!Hote().ChargeTable(QString::fromStdString(pack.CheminTable), &raison))
        return refuse(QStringLiteral("table %1 non chargée : %2")
                          .arg(pack.CheminTable.empty() ? QStringLiteral("d'usine")
                                                        : QString::fromStdString(pack.CheminTable),
                               raison));
    analyse_.reset();
    suivi_.stop();
    QString avertissement;
    if (base_ && base_->Ouverte() && !base_->EnregistrePack(pack, &erreur))
        avertissement = QStringLiteral("historique : ") + QString::fromStdString(erreur);
    parcours_.emplace(std::move(pack));
    RangeRoutesDuPack();
    RecommencerBtnClick();
    ResultatLbl->setText(avertissement);
    return true;
}

// the pack states each drill's best route: known at once, on the table in play
void TEntrainementFrm::RangeRoutesDuPack() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || !parcours_) return;
    TBillardVelmora simu;
    simu.Fisik = billard->Simu->Fisik;
    for (const TExercice& e : parcours_->Pack().Exercices) {
        // the solver searches with the cue's mass in play: a route found with another is not that one
        if (!e.Meilleure || e.Meilleure->Queue.Masse != billard->Queue->Masse()) continue;
        const auto positions = PositionsSimu(e.Position.Billes);
        for (int b = 1; b <= NbBilles; ++b) simu.Trajets[b][0].Position = positions[size_t(b - 1)];
        const std::string cle = EmpreinteRoute(simu, e.Mode, billard->Queue->Masse(), e.NomBille2());
        if (cache_->Cherche(cle)) continue;
        const auto essais = std::int64_t(TGrilleDifficulte{}.NbTotal());
        cache_->Range(cle, TMeilleureRoute{e.Meilleure->Libelle, e.Meilleure->Queue, essais,
                                           std::int64_t(e.Meilleure->Taux * double(essais) + 0.5)});
    }
}

void TEntrainementFrm::AfficheExercice() {
    const bool ouvert = parcours_.has_value();
    for (QToolButton* b : {PrecedentBtn, RecommencerBtn, SuivantBtn}) b->setEnabled(ouvert);
    RouteBtn->setEnabled(ouvert && derniereRoute_ && derniereRoute_->Essais > 0);
    if (!ouvert) return;
    const TExercice& e = parcours_->Courant();
    const TPackEntrainement& pack = parcours_->Pack();
    PackLbl->setText(QStringLiteral("%1 — exercice %2 sur %3 (table %4)")
                         .arg(QString::fromStdString(pack.Titre))
                         .arg(parcours_->Indice() + 1)
                         .arg(parcours_->Nombre())
                         .arg(pack.FichierTable.empty() ? QStringLiteral("d'usine")
                                                        : QString::fromStdString(pack.FichierTable)));
    TitreLbl->setText(QString::fromStdString(e.Titre));
    QString notes = QString::fromStdString(e.Notes);
    if (!e.Cible.empty())
        notes += (notes.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("route à jouer : ") +
                 QString::fromStdString(TexteRouteCible(e.Cible, e.NomBille2()));
    NotesLbl->setText(notes);
    NotesLbl->setVisible(!notes.isEmpty());
    PrecedentBtn->setEnabled(parcours_->Indice() > 0);
    SuivantBtn->setEnabled(parcours_->Indice() + 1 < parcours_->Nombre());
}

void TEntrainementFrm::RecommencerBtnClick() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!parcours_ || !billard || Hote().CoupVerrouille()) return;
    const TExercice& e = parcours_->Courant();
    const TPositionJeu& p = parcours_->Recommence();
    Hote().ChoisitBilleJoueur(e.JoueurJaune);
    Hote().ChoisitModeJeu(e.Mode);
    // all three at once: one by one, a ball would be pushed off another's old place
    billard->PlaceEnOrdre({billard->BilleJoueur, billard->BilleNonJoueur, billard->Rouge},
                          {Vers3f(p.Billes[0]), Vers3f(p.Billes[1]), Vers3f(p.Billes[2])});
    billard->Queue->MajReleve();
    TGLQueue& q = *billard->Queue;
    q.SetEffetHauteur(p.Queue.Effet, p.Queue.Hauteur);
    q.SetVisee(p.Queue.Visee);
    q.SetInclinaison(p.Queue.Inclinaison);
    q.SetVitesse(p.Queue.Vitesse);
    derniereRoute_.reset();
    ResultatLbl->clear();
    AfficheExercice();
}

void TEntrainementFrm::SuivantBtnClick() {
    if (parcours_ && parcours_->Suivant()) RecommencerBtnClick();
}

void TEntrainementFrm::PrecedentBtnClick() {
    if (parcours_ && parcours_->Precedent()) RecommencerBtnClick();
}

void TEntrainementFrm::RouteBtnClick() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!parcours_ || !billard || !derniereRoute_ || derniereRoute_->Essais == 0 || Hote().CoupVerrouille())
        return;
    const TMeilleureRoute route = *derniereRoute_;
    RecommencerBtnClick();
    TGLQueue& q = *billard->Queue;
    const bool auto_ = Hote().TirAuto();
    Hote().SetTirAuto(false);
    q.SetEffetHauteur(route.Queue.Effet, route.Queue.Hauteur);
    q.SetVisee(route.Queue.Visee);
    q.SetInclinaison(route.Queue.Inclinaison);
    q.SetVitesse(route.Queue.Vitesse);
    Hote().SetTirAuto(auto_);
    // the route shown is not an attempt of the player
    routeMontree_ = true;
    Hote().MontreResultat(TResultatMontre::LigneJoueur);
    Hote().Feu();
    routeMontree_ = false;
    derniereRoute_ = route;
    ResultatLbl->setText(QStringLiteral("meilleure route : %1 (%2)")
                             .arg(QString::fromStdString(route.Libelle), Pourcent(route.Taux())));
    AfficheExercice();
}

// the shot was played from the drill: its balls, its player's ball and its mode
QString TEntrainementFrm::HorsExercice() const {
    const TGLBillardVelmora& billard = *Hote().Billard3D();
    const TExercice& e = parcours_->Courant();
    if ((billard.BilleJoueur == billard.Jaune) != e.JoueurJaune)
        return QStringLiteral("le joueur n'a plus la bille de l'exercice");
    if (billard.Simu->ModeDeJeu != e.Mode)
        return QStringLiteral("le mode de jeu n'est plus celui de l'exercice");
    const auto positions = PositionsSimu(e.Position.Billes);
    for (int b = 1; b <= NbBilles; ++b) {
        const TVecteur& v = billard.Simu->Trajets[b][0].Position;
        const TVecteur& p = positions[size_t(b - 1)];
        if (std::fabs(v.x - p.x) > ToleranceBilles || std::fabs(v.y - p.y) > ToleranceBilles ||
            std::fabs(v.z - p.z) > ToleranceBilles)
            return QStringLiteral("les billes ne sont plus à la position de l'exercice");
    }
    return {};
}

void TEntrainementFrm::SurCoupJoue() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!parcours_ || !billard || routeMontree_ || !Ouverte()) return;
    // a shot from elsewhere is no attempt of this drill: its figures would go under the drill's name
    if (const QString raison = HorsExercice(); !raison.isEmpty()) {
        analyse_.reset();
        suivi_.stop();
        ResultatLbl->setText(QStringLiteral("coup hors exercice, non compté : %1 (« Recommencer » remet "
                                            "l'exercice en place)")
                                 .arg(raison));
        return;
    }
    const TBillardVelmora& simu = *billard->Simu;
    const TExercice& e = parcours_->Courant();
    TTentative t;
    t.Joueur = JoueurEdit->text().trimmed().isEmpty() ? "Joueur" : JoueurEdit->text().trimmed().toStdString();
    t.EmpreinteExercice = e.Empreinte();
    t.Quand = QDateTime::currentSecsSinceEpoch();
    t.Mode = simu.ModeDeJeu;
    t.Queue = billard->Queue->Valeurs();
    for (int b = 1; b <= NbBilles; ++b) t.Billes[size_t(b - 1)] = Centre(simu.Trajets[b][0].Position);
    t.Reussi = simu.PointReussi && !simu.FausseQueue;
    t.FausseQueue = simu.FausseQueue;
    reussi_ = t.Reussi;
    fausseQueue_ = t.FausseQueue;
    // written at once: an attempt is never lost, whatever happens during its analysis
    idTentative_ = 0;
    erreurHistorique_.clear();
    std::string erreur;
    if (base_ && base_->Ouverte()) {
        if (const auto id = base_->AjouteTentative(t, &erreur))
            idTentative_ = *id;
        else
            erreurHistorique_ =
                QStringLiteral("tentative non enregistrée : ") + QString::fromStdString(erreur);
    }
    TOptionsAnalyse o;
    o.Mode = simu.ModeDeJeu;
    o.NomBille2 = e.NomBille2();
    o.NbThreads = int(NbThreads);
    analyse_.reset();
    analyse_ = std::make_unique<TAnalyseTentative>(simu, t.Queue, o, cache_);
    analyse_->Demarre();
    ResultatLbl->setText(LigneResultat({}, false));
    suivi_.start();
}

QString TEntrainementFrm::LigneResultat(const TResultatAnalyse& r, bool fini) const {
    const QString verdict = fausseQueue_ ? QStringLiteral("fausse queue")
                            : reussi_    ? QStringLiteral("réussi")
                                         : QStringLiteral("manqué");
    // an attempt the history could not keep is said, never passed over
    return LigneAnalyse(verdict, r, fini) +
           (erreurHistorique_.isEmpty() ? QString() : QStringLiteral("\n") + erreurHistorique_);
}

QString TEntrainementFrm::LigneAnalyse(const QString& verdict, const TResultatAnalyse& r, bool fini) {
    if (!fini && r.Essais == 0) return verdict + QStringLiteral(" — analyse du coup en cours…");
    QString ligne = verdict + QStringLiteral(" — votre coup passe à ") + Pourcent(r.Robustesse());
    if (!r.Meilleure)
        return ligne + (fini ? QString() : QStringLiteral(" ; meilleure route en cours de recherche…"));
    if (r.Meilleure->Essais == 0)
        return ligne + QStringLiteral(" ; aucune route trouvée depuis cette position");
    return ligne + QStringLiteral(" ; la meilleure route à %1 (%2)")
                       .arg(Pourcent(r.Meilleure->Taux()), QString::fromStdString(r.Meilleure->Libelle));
}

void TEntrainementFrm::Suivi() {
    if (!analyse_) return suivi_.stop();
    const bool fini = analyse_->Termine();
    const TResultatAnalyse r = fini ? analyse_->Attends() : analyse_->Partiel();
    ResultatLbl->setText(LigneResultat(r, fini));
    if (!fini) return;
    suivi_.stop();
    std::string erreur;
    if (idTentative_ > 0 && base_ && !base_->CompleteTentative(idTentative_, r, &erreur))
        erreurHistorique_ = QStringLiteral("analyse non enregistrée : ") + QString::fromStdString(erreur);
    ResultatLbl->setText(LigneResultat(r, fini));
    derniereRoute_ = r.Meilleure;
    analyse_.reset();
    AfficheExercice();
    emit AnalyseTerminee();
}
