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
    PackLbl->setWordWrap(true);
    TitreLbl = new QLabel(this);
    TitreLbl->setStyleSheet(QStringLiteral("font-weight: bold"));
    NotesLbl = new QLabel(this);
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
    if (!ChargePack(fichier.toStdString(), pack, &erreur)) {
        QMessageBox::warning(this, QStringLiteral("Entraînement"),
                             QStringLiteral("Entraînement refusé :\n%1").arg(QString::fromStdString(erreur)));
        return false;
    }
    if (base_ && base_->Ouverte()) base_->EnregistrePack(pack);
    parcours_.emplace(std::move(pack));
    RangeRoutesDuPack();
    RecommencerBtnClick();
    return true;
}

// the pack states each drill's best route: known at once, on the table in play
void TEntrainementFrm::RangeRoutesDuPack() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!billard || !parcours_) return;
    TBillardVelmora simu;
    simu.Fisik = billard->Simu->Fisik;
    for (const TExercice& e : parcours_->Pack().Exercices) {
        if (!e.Meilleure) continue;
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
    PackLbl->setText(QStringLiteral("%1 — exercice %2 sur %3")
                         .arg(QString::fromStdString(parcours_->Pack().Titre))
                         .arg(parcours_->Indice() + 1)
                         .arg(parcours_->Nombre()));
    TitreLbl->setText(QString::fromStdString(e.Titre));
    QString notes = QString::fromStdString(e.Notes);
    if (!e.Cible.empty())
        notes += (notes.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("route à jouer : ") +
                 QString::fromStdString(TexteRouteCible(e.Cible, e.NomBille2()));
    NotesLbl->setText(notes);
    PrecedentBtn->setEnabled(parcours_->Indice() > 0);
    SuivantBtn->setEnabled(parcours_->Indice() + 1 < parcours_->Nombre());
}

void TEntrainementFrm::RecommencerBtnClick() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!parcours_ || !billard || Hote().CoupVerrouille()) return;
    const TExercice& e = parcours_->Courant();
    const TPositionJeu& p = parcours_->Recommence();
    billard->SetBilleJoueur(e.JoueurJaune ? billard->Jaune : billard->Blanche);
    billard->BilleJoueur->SetPosition(Vers3f(p.Billes[0]));
    billard->BilleNonJoueur->SetPosition(Vers3f(p.Billes[1]));
    billard->Rouge->SetPosition(Vers3f(p.Billes[2]));
    billard->Simu->ModeDeJeu = e.Mode;
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
    if (!parcours_ || !billard || !derniereRoute_ || derniereRoute_->Essais == 0) return;
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

void TEntrainementFrm::SurCoupJoue() {
    TGLBillardVelmora* billard = Hote().Billard3D();
    if (!parcours_ || !billard || routeMontree_ || !isVisible()) return;
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
    if (base_ && base_->Ouverte())
        if (const auto id = base_->AjouteTentative(t)) idTentative_ = *id;
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
    if (idTentative_ > 0 && base_) base_->CompleteTentative(idTentative_, r);
    derniereRoute_ = r.Meilleure;
    analyse_.reset();
    AfficheExercice();
    emit AnalyseTerminee();
}
