#include "app/MainVel3D.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AideVel3D.h"
#include "app/FenetresOutils.h"
#include "app/GlobalClavier.h"
#include "app/ServeurCoup.h"
#include "scene/gl/VueGL.h"
#include "tools/Enregistrement.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/CaseLed.h"
#include "widgets/DossierFichiers.h"
#include "widgets/PanneauIcone.h"

namespace {
constexpr const char* SectionDivers = "Divers";
}  // namespace

TMainVel3DFrm::TMainVel3DFrm(const TDemarrageVel3D& demarrage, QWidget* parent)
    : QMainWindow(parent), demarrage_(demarrage) {
    setWindowTitle(QStringLiteral("Velmora 3D"));
    // the file dialogs start in the program's folder, then open where a file was last chosen
    SetDossierInitial(demarrage_.DossierProgramme);
    setObjectName(QStringLiteral("MainVel3DFrm"));
    // every key comes here first: the controls never take the focus
    setFocusPolicy(Qt::StrongFocus);
    // the tool windows dock around the table: the right column runs the whole height, tabs on top
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    setTabPosition(Qt::AllDockWidgetAreas, QTabWidget::North);
    setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    CreeVue();
    CreeInfos();
    CreeMenus();

    // settings: an unreadable file is reported, and the defaults apply
    std::string erreurReglages;
    const bool reglagesLus =
        IniCtrl.ChargeSiExiste(demarrage_.Reglages.Lecture.toStdString(), &erreurReglages);
    mruList_.Lit(IniCtrl);
    MajMenuRecents();

    // the help is there or it is not; its name is kept for the message
    nomFichierAide_ = QFileInfo(demarrage_.FichierAide).fileName();
    if (!AideDisponible()) demarrage_.FichierAide.clear();
    BrancheBulles();
    qApp->installEventFilter(this);
    ToucheTenue = 0;
    SetTauxRalenti(IniCtrl.LitReel(SectionDivers, "TauxRalenti", 1.0));
    QviseeLbl->clear();
    QToucheeLbl->clear();
    IsPointLbl->clear();
    // what the file held: only this instance's changes are written back
    reglagesIllisibles_ = !reglagesLus;
    fisikEcrit_ = IniCtrl.LitTexte(SectionDivers, "FisikFile", "");
    tauxEcrit_ = tauxRalenti_;
    // the room's light as it was left
    lumiereSalleEcrite_ = IniCtrl.LitBooleen(SectionDivers, "LumiereSalle", false);
    LumiereSalleMnu->setChecked(lumiereSalleEcrite_);
    VueTable.Salle.LampeSeule = lumiereSalleEcrite_;
    if (!reglagesLus)
        AfficheMessage(QStringLiteral("réglages illisibles (%1) : %2 ; ils ne seront pas modifiés")
                           .arg(demarrage_.Reglages.Lecture, QString::fromStdString(erreurReglages)));

    // the frame clock moves the balls during an animation
    Scn->BrancheCadenceur(GLCadencer);
    GLCadencer.OnProgression = [this](double ecoule, double maintenant) {
        GLCadencerProgress(ecoule, maintenant);
    };

    // shots handed over by other programs of the same user
    if (!demarrage_.CheminServeurCoup.isEmpty()) {
        serveurCoup_ = new TServeurCoup(this);
        connect(serveurCoup_, &TServeurCoup::CoupRecu, this, &TMainVel3DFrm::WMCopyData);
        connect(serveurCoup_, &TServeurCoup::CoupRefuse, this, &TMainVel3DFrm::AfficheMessage);
        connect(serveurCoup_, &TServeurCoup::EcouteReprise, this, [this] {
            AfficheMessage(QStringLiteral("les coups d'autres programmes arrivent désormais ici"));
        });
        QString raison;
        if (!serveurCoup_->Ecoute(demarrage_.CheminServeurCoup, &raison))
            AfficheMessage(QStringLiteral("coups d'autres programmes non reçus : ") + raison);
    }
}

TMainVel3DFrm::~TMainVel3DFrm() {
    GLCadencer.SetActif(false);
    GLCadencer.OnProgression = nullptr;
    // the 3D billiard and the simulation first, then the views of the scene, before the scene
    Billard.reset();
    delete QueueFrm;
    delete MemTrajetsFrm;
    delete VueNumFrm;
    delete CalibrageFrm;
    delete DifficulteFrm;
    delete SolutionsFrm;
    delete SystemeFrm;
    // its drawings hang in the scene: it takes them along while the scene is still there
    delete EnregistrementFrm;
    delete Scn;
}

void TMainVel3DFrm::BrancheOutils(TQueueFrm* queue, TMemTrajetsFrm* memo, TVueNumFrm* vueNum,
                                  TCalibrageFrm* calibrage, TDifficulteFrm* difficulte) {
    QueueFrm = queue;
    MemTrajetsFrm = memo;
    VueNumFrm = vueNum;
    CalibrageFrm = calibrage;
    DifficulteFrm = difficulte;
    connect(QueueFrm, &TQueueFrm::ViseeAffichee, this, &TMainVel3DFrm::MajQteVisee);
    // each in its dock, shown and closed by its item
    AjouteOutil(QueueFrm, "QueueFrm", TPlaceOutil::Droite, VueParamQueueMnu);
    AjouteOutil(MemTrajetsFrm, "MemTrajetsFrm", TPlaceOutil::SousQueue, VueMemoMnu);
    AjouteOutil(VueNumFrm, "VueNumFrm", TPlaceOutil::Bas, VueNumMnu);
    AjouteOutil(DifficulteFrm, "DifficulteFrm", TPlaceOutil::Bas, DifficulteMnu);
    AjouteOutil(CalibrageFrm, "CalibrageFrm", TPlaceOutil::Bas, CalibreBdMnu);
}

void TMainVel3DFrm::CreeVue() {
    auto* centre = new QWidget(this);
    auto* pile = new QVBoxLayout(centre);
    pile->setContentsMargins(0, 0, 0, 0);
    pile->setSpacing(0);
    auto* bandeau = new QFrame(centre);
    bandeau->setObjectName(QStringLiteral("BandeauPnl"));
    bandeau->setFrameShape(QFrame::StyledPanel);
    bandeau->setFixedHeight(17);
    BandeauPnl = bandeau;
    pile->addWidget(BandeauPnl);
    VueTable.Fond = {0.5f, 0.5f, 0.5f, 1};
    Scn = new TVueGL(VueTable, centre);
    Scn->setObjectName(QStringLiteral("Scn"));
    Scn->setFocusPolicy(Qt::NoFocus);
    // the docks never squeeze the table out of sight
    Scn->setMinimumSize(400, 240);
    pile->addWidget(Scn, 1);
    setCentralWidget(centre);
    connect(Scn, &TVueGL::SourisEnfoncee, this, &TMainVel3DFrm::ScnMouseDown);
    connect(Scn, &TVueGL::SourisBouge, this, &TMainVel3DFrm::ScnMouseMove);
    connect(Scn, &TVueGL::SourisRelachee, this, &TMainVel3DFrm::ScnMouseUp);
    connect(Scn, &TVueGL::Molette, this, &TMainVel3DFrm::FormMouseWheel);
}

void TMainVel3DFrm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    PlaceDisplayInfos();
}

void TMainVel3DFrm::PlaceDisplayInfos() {
    if (!DisplayInfos || !Scn) return;
    // anchored to the top-right corner of the view
    const QPoint coin = Scn->mapTo(centralWidget(), QPoint(0, 0));
    DisplayInfos->move(coin.x() + Scn->width() - DisplayInfos->width() - 5, coin.y() + 5);
    DisplayInfos->raise();
}

bool TMainVel3DFrm::AideDisponible() const {
    return !demarrage_.FichierAide.isEmpty() && QFileInfo(demarrage_.FichierAide).isFile();
}

// -- show, close

void TMainVel3DFrm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (dejaMontree_) return;
    dejaMontree_ = true;
    FormShow();
}

void TMainVel3DFrm::closeEvent(QCloseEvent* e) {
    QString erreur;
    if (!EnregistreReglages(&erreur))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Les réglages n'ont pas pu être enregistrés dans %1 :\n%2")
                                 .arg(demarrage_.Reglages.Ecriture, erreur));
    if (aide_) aide_->close();
    e->accept();
}

bool TMainVel3DFrm::EnregistreReglages(QString* erreur) {
    // a file that could not be read is never overwritten
    if (reglagesIllisibles_) {
        if (erreur) *erreur = QStringLiteral("il n'a pas pu être lu au démarrage : laissé tel quel");
        return false;
    }
    // the user's configuration folder may not exist yet
    const QFileInfo cible(demarrage_.Reglages.Ecriture);
    if (!cible.absoluteDir().exists() && !QDir().mkpath(cible.absolutePath())) {
        if (erreur) *erreur = QStringLiteral("dossier %1 impossible à créer").arg(cible.absolutePath());
        return false;
    }
    // the file as it is now: another instance may have written it since
    const QString source = cible.exists() ? demarrage_.Reglages.Ecriture : demarrage_.Reglages.Lecture;
    TFichierIni ini;
    std::string raison;
    if (!ini.ChargeSiExiste(source.toStdString(), &raison)) {
        if (erreur) *erreur = QString::fromStdString(raison) + QStringLiteral(" (fichier laissé tel quel)");
        return false;
    }
    // only what this instance changed
    const std::string fisik = Billard ? Billard->Simu->Fisik.NomFichierFisik : fisikEcrit_;
    if (fisik != fisikEcrit_) ini.EcritTexte(SectionDivers, "FisikFile", fisik);
    if (tauxRalenti_ != tauxEcrit_) ini.EcritReel(SectionDivers, "TauxRalenti", tauxRalenti_);
    const bool lumiereSalle = LumiereSalleMnu->isChecked();
    if (lumiereSalle != lumiereSalleEcrite_) ini.EcritBooleen(SectionDivers, "LumiereSalle", lumiereSalle);
    TListeRecents recents;
    recents.Lit(ini);
    for (const std::string& nom : recentsAjoutes_) recents.Ajoute(nom);
    if (!recentsAjoutes_.empty()) recents.Ecrit(ini);
    EcritDisposition(ini);
    if (!ini.Sauve(demarrage_.Reglages.Ecriture.toStdString(), &raison)) {
        if (erreur) *erreur = QString::fromStdString(raison);
        return false;
    }
    // from now on the settings are read back where they are written
    demarrage_.Reglages.Lecture = demarrage_.Reglages.Ecriture;
    IniCtrl = ini;
    fisikEcrit_ = fisik;
    tauxEcrit_ = tauxRalenti_;
    lumiereSalleEcrite_ = lumiereSalle;
    recentsAjoutes_.clear();
    if (dejaMontree_) RetientDisposition();
    mruList_ = recents;
    MajMenuRecents();
    return true;
}

// -- recent files

void TMainVel3DFrm::RetientFichier(const QString& nom) {
    const std::string absolu = QFileInfo(nom).absoluteFilePath().toStdString();
    mruList_.Ajoute(absolu);
    recentsAjoutes_.push_back(absolu);
    MajMenuRecents();
    // the list is stored at once, so a crash does not lose it
    QString raison;
    if (!reglagesIllisibles_ && !EnregistreReglages(&raison))
        AfficheMessage(QStringLiteral("liste des derniers fichiers non enregistrée : ") + raison);
}

void TMainVel3DFrm::mruListClick(const QString& nom) { OuvrePosition(nom); }

// -- status bar

void TMainVel3DFrm::MontreBulle(const QString& texte) {
    if (bullesBranchees_) SetTextePanneau(3, texte);
}

void TMainVel3DFrm::AfficheMessage(const QString& texte) {
    bullesBranchees_ = false;
    SetTextePanneau(3, texte);
}

bool TMainVel3DFrm::event(QEvent* e) {
    // hints are routed by the event filter; the status bar shows no message of its own
    if (e->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(e);
}

bool TMainVel3DFrm::eventFilter(QObject* objet, QEvent* e) {
    // the long part of every hint of the program goes to the message panel
    if (e->type() == QEvent::StatusTip) MontreBulle(static_cast<QStatusTipEvent*>(e)->tip());
    // the display panel follows the top-right corner of the view, the cameras its size
    if (objet == Scn && e->type() == QEvent::Resize) {
        PlaceDisplayInfos();
        MajCadrage();
    }
    return QMainWindow::eventFilter(objet, e);
}

void TMainVel3DFrm::SetTauxRalenti(double x) {
    tauxRalenti_ = std::clamp(x, 0.0, 2.5);
    const QString texte = QLocale().toString(tauxRalenti_, 'f', 1);
    SetTextePanneau(3, QStringLiteral("Ralenti = ") + texte);
    AnimationMnu->setText(QStringLiteral("Animation (") + texte + QLatin1Char(')'));
}

// -- firing

void TMainVel3DFrm::TirAutoChkChange() {
    if (!TirAutoChk->isChecked()) return;
    // auto-fire and animation exclude each other; all trajectories are shown
    AnimationMnu->setChecked(false);
    TrajetsMnu->setChecked(false);
    TrajetsMnu->trigger();
}

bool TMainVel3DFrm::TirAuto() const { return TirAutoChk->isChecked(); }

void TMainVel3DFrm::SetTirAuto(bool actif) {
    const QSignalBlocker silence(TirAutoChk);
    TirAutoChk->setChecked(actif);
}

void TMainVel3DFrm::MontreResultat(TResultatMontre quoi) {
    switch (quoi) {
        case TResultatMontre::Lignes:
            if (!TrajetsMnu->isChecked() && !AnimationMnu->isChecked()) TrajetsMnu->trigger();
            break;
        case TResultatMontre::LigneJoueur:
            if (!TrajetBillejoueurMnu->isChecked()) TrajetBillejoueurMnu->trigger();
            break;
        case TResultatMontre::Animation:
            if (AnimationMnu->isChecked()) DemarreAnimation();
            break;
    }
}

bool TMainVel3DFrm::VecteursAffiches() const { return VRMnu->isChecked(); }

void TMainVel3DFrm::SignaleMemoire(bool active) {
    VueMemoMnu->setText(active ? QStringLiteral("Params mémo trajets (on)")
                               : QStringLiteral("Params mémo trajets (off)"));
}

void TMainVel3DFrm::VerrouilleCoup(const QObject* detenteur, bool verrou) {
    // one computation ending leaves the shot to those still running
    if (verrou)
        verrous_.insert(detenteur);
    else
        verrous_.erase(detenteur);
    verrou = !verrous_.empty();
    coupVerrouille_ = verrou;
    // the commands that change or fire the shot
    FeuBtn->setEnabled(!verrou);
    TirAutoChk->setEnabled(!verrou);
    for (QMenu* m : {Fichiers1, Jeu1}) m->menuAction()->setEnabled(!verrou);
    if (QueueFrm) QueueFrm->setEnabled(!verrou);
    if (verrou) SourisEnfoncee = false;
}

void TMainVel3DFrm::FeuBtnClick() {
    if (!Billard || coupVerrouille_) return;
    if (TirAutoChk->isChecked() && AnimationMnu->isChecked()) TirAutoChkChange();
    // a running animation ends where it is: the shot starts from there
    if (anime_) {
        anime_ = false;
        GLCadencerProgress(0, 0);
    }
    Billard->JoueCoup();
    emit CoupJoue();
    if (MemTrajetsFrm) MemTrajetsFrm->Memorise();
    if (VueNumFrm && VueNumFrm->isVisible()) VueNumFrm->RafraichitVue();
    if (AnimationMnu->isChecked()) DemarreAnimation();
    const TBillardVelmora& simu = *Billard->Simu;
    if (simu.FausseQueue)
        IsPointLbl->setText(QStringLiteral("fausse queue"));
    else if (simu.PointReussi)
        IsPointLbl->setText(QStringLiteral("réussi"));
    else
        IsPointLbl->setText(QStringLiteral("manqué"));
    QToucheeLbl->setText(QStringLiteral("Qté touchée : ") +
                         QLocale().toString(Billard->QuantiteTouchee(), 'f', 3));
    MajMotsTouchee();
    // the verdict belongs to this shot's position from now on
    etatCoup_ = Billard->EtatPosition();
    coupJoue_ = true;
    MajResultats();
}

void TMainVel3DFrm::FeuDuJoueur() {
    if (!Billard || coupVerrouille_) return;
    FeuBtnClick();
    emit CoupDuJoueur();
}

void TMainVel3DFrm::MajQteVisee() {
    if (!Billard) return;
    QviseeLbl->setText(QStringLiteral("Qté visée : ") + QLocale().toString(Billard->QuantiteVisee(), 'f', 3));
    MajMotsVisee();
    if (QueueFrm) QueueFrm->MajCoup();
}
