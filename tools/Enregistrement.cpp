#include "tools/Enregistrement.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "scene/Noeud.h"
#include "tools/EnregistrementGraphe.h"
#include "view3d/GLBillardVelmora.h"
#include "view3d/GLBilles.h"
#include "widgets/Bulles.h"

namespace {

constexpr double kDegres = 180 / std::numbers::pi;

// (a value that rounds to zero is written without a sign)
QString Nombre(double v, int decimales) {
    const double unite = std::pow(10.0, decimales);
    return QLocale().toString(std::round(v * unite) == 0 ? 0.0 : v, 'f', decimales);
}

// a difference with its sign
QString Ecart(double v, int decimales) {
    const QString texte = Nombre(v, decimales);
    return (v > 0 && texte != Nombre(0, decimales) ? QStringLiteral("+") : QString()) + texte;
}

// the balls as the window names them
QString NomBille(int b) {
    static const char* const noms[] = {"", "joueur", "autre", "rouge"};
    return QString::fromUtf8(b >= 1 && b <= NbBilles ? noms[b] : "?");
}

QString NomContact(const TEvenement& e) {
    return e.Genre == geBande ? QStringLiteral("bande %1").arg(e.Partie)
                              : QStringLiteral("bille ") + NomBille(e.Partie);
}

// the columns of the contacts' grid
const char* const kColonnes[] = {"Bille",        "Contact",     "t (s)",  "Δt (s)",
                                 "Δ place (cm)", "Δ angle (°)", "vitesse"};

// a recorded path: paler than the ball
TCouleur Pale(const TCouleur& c) { return {0.5f * (c.r + 1), 0.5f * (c.g + 1), 0.5f * (c.b + 1), 1}; }

TVecteur3f EnSimple(double x, double y, double z) { return {float(x), float(y), float(z)}; }

}  // namespace

TEnregistrementFrm::TEnregistrementFrm(THoteOutils& hote, QWidget* parent)
    : TFenetreOutil(hote, parent, QStringLiteral("Coup enregistré"), ContexteAide) {
    setObjectName(QStringLiteral("EnregistrementFrm"));
    auto* pile = new QVBoxLayout(this);
    FichierLbl = new QLabel(
        QStringLiteral("aucun coup enregistré ouvert (Fichiers > Ouvrir un coup enregistré…)"), this);
    FichierLbl->setWordWrap(true);
    ScoresLbl = new QLabel(this);
    PoseBulle(ScoresLbl,
              QStringLiteral("écart quadratique moyen|entre chaque échantillon enregistré et la bille "
                             "calculée au même instant"));
    QueueLbl = new QLabel(this);
    QueueLbl->setWordWrap(true);
    Graphe = new TGrapheEcarts(this);
    RouteLbl = new QLabel(this);
    RouteLbl->setWordWrap(true);
    PoseBulle(RouteLbl,
              QStringLiteral("route enregistrée|les trois premiers contacts de la bille joueur : le "
                             "coup calculé les joue-t-il dans l'ordre, à peu près aux mêmes instants ?"));
    ContactsGrid = new QTableWidget(0, int(std::size(kColonnes)), this);
    QStringList titres;
    for (const char* c : kColonnes) titres << QString::fromUtf8(c);
    ContactsGrid->setHorizontalHeaderLabels(titres);
    ContactsGrid->verticalHeader()->hide();
    ContactsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ContactsGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    PoseBulle(ContactsGrid,
              QStringLiteral("contacts enregistrés joués par le coup calculé|écarts calculé moins réel : "
                             "instant, place du centre, angle de sortie d'une bande ou jet de la bille "
                             "touchée ; vitesse : rapport de vitesse calculé sur réel (après/avant pour une "
                             "bande, bille touchée/frappeur pour un choc)"));
    auto* ligne = new QHBoxLayout;
    AjusterBtn = new QToolButton(this);
    AjusterBtn->setText(QStringLiteral("Ajuster"));
    PoseBulle(AjusterBtn,
              QStringLiteral("ajuster la queue|trouver la visée, la vitesse, l'effet et la hauteur qui "
                             "reproduisent le coup enregistré, puis le jouer"));
    ArretBtn = new QToolButton(this);
    ArretBtn->setText(QStringLiteral("Arrêter"));
    PoseBulle(ArretBtn, QStringLiteral("arrêter l'ajustement|garder la meilleure queue trouvée jusque-là"));
    AvancementBar = new QProgressBar(this);
    AvancementBar->setRange(0, 1000);
    AvancementBar->setTextVisible(false);
    ligne->addWidget(AjusterBtn);
    ligne->addWidget(ArretBtn);
    ligne->addWidget(AvancementBar, 1);
    pile->addWidget(FichierLbl);
    pile->addWidget(ScoresLbl);
    pile->addWidget(Graphe, 1);
    pile->addWidget(RouteLbl);
    pile->addWidget(ContactsGrid, 1);
    pile->addLayout(ligne);
    pile->addWidget(QueueLbl);
    // the tests find the controls by their names
    const std::pair<QWidget*, const char*> noms[] = {
        {FichierLbl, "FichierLbl"}, {ScoresLbl, "ScoresLbl"}, {QueueLbl, "QueueLbl"},
        {Graphe, "Graphe"},         {RouteLbl, "RouteLbl"},   {ContactsGrid, "ContactsGrid"},
        {AjusterBtn, "AjusterBtn"}, {ArretBtn, "ArretBtn"},   {AvancementBar, "AvancementBar"}};
    for (const auto& [controle, nom] : noms) controle->setObjectName(QString::fromLatin1(nom));
    AjusterBtn->setEnabled(false);
    ArretBtn->setEnabled(false);
    connect(AjusterBtn, &QToolButton::clicked, this, [this] { AjusterBtnClick(); });
    connect(ArretBtn, &QToolButton::clicked, this, [this] { ArretBtnClick(); });
    minuterie_.setInterval(50);
    connect(&minuterie_, &QTimer::timeout, this, [this] { Surveille(); });
    resize(480, 520);
}

TEnregistrementFrm::~TEnregistrementFrm() {
    // the fit works on copies; the scene, and the paths and ghosts in it, is gone by now (the
    // main window frees its children last)
    arret_ = true;
    if (fil_.joinable()) fil_.join();
}

bool TEnregistrementFrm::Ouvre(const QString& nom) {
    THoteOutils& p = Hote();
    if (EnCours() || p.CoupVerrouille() || !p.Billard3D()) {
        QMessageBox::warning(this, QStringLiteral("Coup enregistré"),
                             QStringLiteral("Impossible d'ouvrir un coup enregistré pendant un calcul."));
        return false;
    }
    auto coup = std::make_unique<TCoupEnregistre>();
    std::string erreur;
    if (!LitCoupEnregistre(nom.toStdString(), *coup, &erreur)) {
        QMessageBox::warning(this, QStringLiteral("Coup enregistré"),
                             QStringLiteral("Ce fichier n'est pas un coup enregistré :\n%1")
                                 .arg(QString::fromStdString(erreur)));
        return false;
    }
    coup_ = std::move(coup);
    const TEstimationDepart est = EstimeDepart(*coup_);
    frappe_ = est.Frappe;
    scores_ = {};
    resultat_ = {};
    evenements_ = DetecteEvenements(*coup_, GeometrieTable(p.Billard3D()->Simu->Fisik));
    comparaison_ = {};

    // the balls where the fit starts them, the cue along the first samples
    TGLBillardVelmora& billard = *p.Billard3D();
    {
        TAjustementCoup depart(billard.Simu->Fisik, *coup_);
        for (int b = 1; b <= NbBilles; ++b) {
            billard.Simu->Trajets[b][0].Position = depart.Simu().Trajets[b][0].Position;
            billard.Simu->Trajets[b][0].Vitesse = billard.Simu->Trajets[b][0].Rotation = VecteurNul;
        }
    }
    billard.SimuVersBilles();
    if (est.Vitesse > 0) {
        billard.QueueVersSimu();
        billard.Simu->AngleOx = est.Visee;
        billard.SimuVersQueue();
    }
    depart_ = billard.EtatPosition();
    perimee_ = false;
    FichierLbl->setText(QStringLiteral("%1 : %2 échantillons, %3 s")
                            .arg(QFileInfo(nom).fileName())
                            .arg(coup_->NbEchantillons())
                            .arg(Nombre(coup_->Duree(), 2)));
    QueueLbl->clear();
    ScoresLbl->setText(QStringLiteral("jouez le coup ou ajustez la queue pour comparer"));
    Graphe->SetPoints({});
    RouteLbl->clear();
    ContactsGrid->setRowCount(0);
    AjusterBtn->setEnabled(true);
    TraceEnregistrement();
    return true;
}

void TEnregistrementFrm::EffaceScene() {
    for (auto* t : traces_)
        if (t && t->Parent()) t->Parent()->SupprimeEnfant(t);
    for (auto* f : fantomes_)
        if (f && f->Parent()) f->Parent()->SupprimeEnfant(f);
    traces_ = {};
    fantomes_ = {};
}

void TEnregistrementFrm::TraceEnregistrement() {
    EffaceScene();
    TGLBillardVelmora& billard = *Hote().Billard3D();
    TNoeud& racine = Hote().SceneTable().Racine();
    const double z = billard.Simu->Fisik.RayonBilles();
    const TGLBilles* billes[NbBilles] = {billard.BilleJoueur, billard.BilleNonJoueur, billard.Rouge};
    for (int b = 1; b <= NbBilles; ++b) {
        const TCouleur couleur = billes[b - 1]->Couleur();
        // dashes over the first half of every gap between samples, and a small cross on each sample
        TLignes* l = racine.AjouteEnfant<TLignes>();
        l->DebutMaj();
        l->SetSegments(true);
        l->SetCouleur(Pale(couleur));
        const auto& s = coup_->Billes[b];
        for (std::size_t i = 0; i < s.size(); ++i) {
            const TEchantillon& e = s[i];
            constexpr double m = 0.5;
            l->AjouteNoeud(EnSimple(e.x - m, e.y, z));
            l->AjouteNoeud(EnSimple(e.x + m, e.y, z));
            l->AjouteNoeud(EnSimple(e.x, e.y - m, z));
            l->AjouteNoeud(EnSimple(e.x, e.y + m, z));
            if (i + 1 < s.size()) {
                const TEchantillon& f = s[i + 1];
                l->AjouteNoeud(EnSimple(e.x, e.y, z));
                l->AjouteNoeud(EnSimple(0.5 * (e.x + f.x), 0.5 * (e.y + f.y), z));
            }
        }
        l->FinMaj();
        traces_[std::size_t(b - 1)] = l;

        // the ghost: a pale ball shown only while the shot is animated
        TSphere* f = racine.AjouteEnfant<TSphere>();
        f->SetAnime(true);
        f->SetRayon(billes[b - 1]->Rayon());
        TMateriau mat;
        mat.Diffuse = Pale(Pale(couleur));
        mat.Ambiante = Pale(couleur);
        f->SetMateriau(mat);
        f->SetVisible(false);
        fantomes_[std::size_t(b - 1)] = f;
    }
}

std::array<TVecteur, NbBilles + 1> TEnregistrementFrm::PositionsEnregistrees(double t) const {
    std::array<TVecteur, NbBilles + 1> pos{};
    if (!coup_) return pos;
    const double tr = t + frappe_;
    const double z = Hote().Billard3D() ? Hote().Billard3D()->Simu->Fisik.RayonBilles() : 0;
    for (int b = 1; b <= NbBilles; ++b) {
        const auto& s = coup_->Billes[b];
        // the sample at or before the time, and the next one
        auto it =
            std::upper_bound(s.begin(), s.end(), tr, [](double v, const TEchantillon& e) { return v < e.t; });
        if (it == s.begin()) {
            pos[b] = Vecteur(s.front().x, s.front().y, z);
        } else if (it == s.end()) {
            pos[b] = Vecteur(s.back().x, s.back().y, z);
        } else {
            const TEchantillon& a = *(it - 1);
            const TEchantillon& c = *it;
            const double f = c.t > a.t ? (tr - a.t) / (c.t - a.t) : 1;
            pos[b] = Vecteur(a.x + f * (c.x - a.x), a.y + f * (c.y - a.y), z);
        }
    }
    return pos;
}

void TEnregistrementFrm::ImageAnimee(double t) {
    if (!coup_ || !fantomes_[0]) return;
    if (t < 0) {
        for (TSphere* f : fantomes_) f->SetVisible(false);
        return;
    }
    const auto pos = PositionsEnregistrees(t);
    for (int b = 1; b <= NbBilles; ++b) {
        TSphere* f = fantomes_[std::size_t(b - 1)];
        f->SetPosition(EnSimple(pos[b].x, pos[b].y, pos[b].z));
        f->SetVisible(true);
    }
}

void TEnregistrementFrm::CoupJoue() {
    if (!coup_ || !Hote().Billard3D()) return;
    MajValidite(Hote().Billard3D()->EtatPosition());
    if (perimee_) return;
    MajScores();
    if (isVisible() && !traces_[0]) TraceEnregistrement();
}

void TEnregistrementFrm::MajValidite(const TEtatPosition& actuel) {
    if (!coup_) return;
    // the table may change: fitting it to the recording is the point
    bool meme = actuel.JoueurJaune == depart_.JoueurJaune;
    for (size_t i = 0; i < actuel.Billes.size() && meme; ++i)
        meme = std::fabs(actuel.Billes[i].x - depart_.Billes[i].x) <= 0.01f &&
               std::fabs(actuel.Billes[i].y - depart_.Billes[i].y) <= 0.01f;
    if (meme == !perimee_) return;
    perimee_ = !meme;
    if (perimee_) {
        EffaceScene();
        ScoresLbl->setText(QStringLiteral("position modifiée — relancer"));
    } else if (isVisible()) {
        TraceEnregistrement();
    }
}

void TEnregistrementFrm::showEvent(QShowEvent* e) {
    TFenetreOutil::showEvent(e);
    if (coup_ && !perimee_ && !traces_[0] && Hote().Billard3D()) TraceEnregistrement();
}

void TEnregistrementFrm::hideEvent(QHideEvent* e) {
    // the drawings belong to the window: closed, it takes them along (not when the desktop hides it)
    if (!e->spontaneous()) EffaceScene();
    TFenetreOutil::hideEvent(e);
}

void TEnregistrementFrm::MajScores() {
    const TBillardVelmora& simu = *Hote().Billard3D()->Simu;
    scores_ = ScoreStock(simu, *coup_, frappe_);
    ScoresLbl->setText(QStringLiteral("écart bille joueur : %1 cm    trois billes : %2 cm")
                           .arg(Nombre(scores_.Bille1, 2), Nombre(scores_.Toutes, 2)));
    Graphe->SetPoints(EcartsBille1(simu, *coup_, frappe_));
    comparaison_ = CompareJoue(*coup_, evenements_, simu, frappe_);
    MajContacts();
}

void TEnregistrementFrm::MajContacts() {
    const TFideliteCoup& f = comparaison_;
    const TSeparation& s = f.Separation;
    QString route = f.RouteReproduite ? QStringLiteral("route enregistrée jouée")
                                      : QStringLiteral("route enregistrée non jouée");
    if (s.Existe)
        route += QStringLiteral(" ; se sépare à %1 s : %2, %3 %4")
                     .arg(Nombre(s.Contact.t, 2), NomBille(s.Bille), NomContact(s.Contact),
                          s.Enregistre ? QStringLiteral("enregistré non joué")
                                       : QStringLiteral("calculé en trop"));
    else
        route += QStringLiteral(" ; tous les contacts joués");
    RouteLbl->setText(route);
    ContactsGrid->setRowCount(int(f.Contacts.size()));
    for (int k = 0; k < int(f.Contacts.size()); ++k) {
        const TContactCompare& c = f.Contacts[std::size_t(k)];
        QString angle, vitesse;
        if (c.BandeReelle.Valide && c.BandeCalculee.Valide) {
            angle = Ecart(c.BandeCalculee.AngleSortie - c.BandeReelle.AngleSortie, 1);
            vitesse = QStringLiteral("×") +
                      Nombre(c.BandeCalculee.RapportVitesse / c.BandeReelle.RapportVitesse, 2);
        } else if (c.BilleReelle.Valide && c.BilleCalculee.Valide) {
            angle = Ecart(c.BilleCalculee.Jet - c.BilleReelle.Jet, 1);
            vitesse = QStringLiteral("×") +
                      Nombre(c.BilleCalculee.RapportVitesse / c.BilleReelle.RapportVitesse, 2);
        }
        const QString cellules[] = {NomBille(c.Bille),
                                    NomContact(c.Enregistre),
                                    Nombre(c.Enregistre.t, 2),
                                    Ecart(c.EcartTemps(), 3),
                                    Nombre(c.EcartPosition(), 1),
                                    angle,
                                    vitesse};
        for (int j = 0; j < int(std::size(cellules)); ++j)
            ContactsGrid->setItem(k, j, new QTableWidgetItem(cellules[j]));
    }
}

void TEnregistrementFrm::AjusterBtnClick() {
    THoteOutils& p = Hote();
    if (!coup_ || EnCours() || !p.Billard3D() || p.CoupVerrouille()) return;
    // the fit works on copies: the table and the recording as they are now
    const TPARAMPHYS fisik = p.Billard3D()->Simu->Fisik;
    const TCoupEnregistre coup = *coup_;
    arret_ = false;
    fini_ = false;
    part_ = 0;
    fil_ = std::thread([this, fisik, coup] {
        TAjustementCoup ajustement(fisik, coup);
        TOptionsAjustement options;
        resultat_ = ajustement.Ajuste(options, &arret_, [this](double f) { part_ = f; });
        fini_ = true;
    });
    AjusterBtn->setEnabled(false);
    ArretBtn->setEnabled(true);
    AvancementBar->setValue(0);
    p.VerrouilleCoup(this, true);
    minuterie_.start();
}

void TEnregistrementFrm::ArretBtnClick() { arret_ = true; }

void TEnregistrementFrm::Surveille() {
    AvancementBar->setValue(int(part_.load() * 1000));
    if (fini_) Termine();
}

void TEnregistrementFrm::Termine() {
    minuterie_.stop();
    if (fil_.joinable()) fil_.join();
    THoteOutils& p = Hote();
    p.VerrouilleCoup(this, false);
    AjusterBtn->setEnabled(coup_ != nullptr);
    ArretBtn->setEnabled(false);
    AvancementBar->setValue(1000);
    const TResultatAjustement& r = resultat_;
    if (r.NbCoups > 0 && p.Billard3D()) {
        // the fitted cue into the cue model, then fired like any shot of the cue window
        frappe_ = r.Frappe;
        p.Billard3D()->Simu->SetParamQueue(r.Queue);
        p.Billard3D()->SimuVersQueue();
        QueueLbl->setText(
            QStringLiteral("%1visée %2°, vitesse %3 cm/s, effet %4 cm, hauteur %5 cm ; frappe à %6 s "
                           "(%7 coups calculés en %8 s)")
                .arg(r.Interrompu ? QStringLiteral("arrêté, meilleure queue : ")
                                  : QStringLiteral("queue ajustée : "))
                .arg(Nombre(r.Queue.AngleOx * kDegres, 2), Nombre(r.Queue.VitesseQueue, 1),
                     Nombre(r.Queue.Effet, 2), Nombre(r.Queue.Hauteur, 2), Nombre(r.Frappe, 3))
                .arg(r.NbCoups)
                .arg(Nombre(r.Secondes, 2)));
        p.Feu();
    }
    emit AjustementTermine();
}
