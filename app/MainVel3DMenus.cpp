// The main menu: its items with their captions, checks, radio group, shortcuts and hints, and
// the commands behind them.
#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>

#include "app/ActionsVel3D.h"
#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tools/Enregistrement.h"
#include "view3d/EtiquettesDiamants.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"

namespace {

const QString FiltrePositions = QStringLiteral("fichiers de positions (*.vel)");

QAction* Item(QMenu* menu, const char* nom, const QString& titre, const QString& bulle = {},
              bool cochable = false, bool coche = false) {
    QAction* a = menu->addAction(titre);
    a->setObjectName(QString::fromLatin1(nom));
    if (!bulle.isEmpty()) PoseBulle(a, bulle);
    a->setCheckable(cochable);
    a->setChecked(coche);
    return a;
}

QMenu* SousMenu(QWidget* parent, const char* nom, const QString& titre, const QString& bulle = {}) {
    auto* m = new QMenu(titre, parent);
    m->setObjectName(QString::fromLatin1(nom));
    if (!bulle.isEmpty()) PoseBulle(m->menuAction(), bulle);
    return m;
}

// the name with its extension replaced by ".vel" (or given one)
QString AvecExtensionVel(const QString& nom) {
    const QFileInfo f(nom);
    return f.dir().filePath(f.completeBaseName() + QStringLiteral(".vel"));
}

}  // namespace

void TMainVel3DFrm::CreeMenus() {
    CreeMenuFichiers();
    CreeMenuJeu();
    CreeMenuAffichage();
    CreeMenuDiamants();
    CreeMenuOutils();
    CreeMenuAide();
}

void TMainVel3DFrm::CreeMenuFichiers() {
    Fichiers1 = SousMenu(this, "Fichiers1", QStringLiteral("&Fichiers"));
    menuBar()->addMenu(Fichiers1);
    LoadFrmFileMnu = SousMenu(Fichiers1, "LoadFrmFileMnu", QStringLiteral("charger une position"));
    Fichiers1->addMenu(LoadFrmFileMnu);
    ouvrirMnu = Item(LoadFrmFileMnu, "ouvrirMnu", QStringLiteral("(ouvrir)"),
                     QStringLiteral("charger un fichier vel (queue et position intiales des billes)"));
    SaveToFileMnu = Item(Fichiers1, "SaveToFileMnu", QStringLiteral("Sauver la position"),
                         QStringLiteral("sauve la queue et les positions initiales des billes"));
    connect(ouvrirMnu, &QAction::triggered, this, [this] { ouvrirMnuClick(); });
    connect(SaveToFileMnu, &QAction::triggered, this, [this] { SaveToFileMnuClick(); });
}

void TMainVel3DFrm::CreeMenuJeu() {
    Jeu1 = SousMenu(this, "Jeu1", QStringLiteral("&Jeu"));
    menuBar()->addMenu(Jeu1);
    BilleJoueurMnu = Item(Jeu1, "BilleJoueurMnu", QStringLiteral("Joueur : Blanche"),
                          QStringLiteral("click pour alterner blanche/jaune"));
    Modedejeu1 = SousMenu(Jeu1, "Modedejeu1", QStringLiteral("Mode de jeu"),
                          QStringLiteral("fixe le mode de jeu pour validation du point"));
    Jeu1->addMenu(Modedejeu1);
    ModesDeJeu = new QActionGroup(this);
    ModesDeJeu->setObjectName(QStringLiteral("ModesDeJeu"));
    ModesDeJeu->setExclusive(true);
    Mnu3bandes = Item(Modedejeu1, "Mnu3bandes", QStringLiteral("3 bandes"), {}, true, true);
    Mnu1bande = Item(Modedejeu1, "Mnu1bande", QStringLiteral("1 bandes"), {}, true);
    MnuLibre = Item(Modedejeu1, "MnuLibre", QStringLiteral("Libre"), {}, true);
    for (QAction* a : {Mnu3bandes, Mnu1bande, MnuLibre}) ModesDeJeu->addAction(a);
    LastCoupBeginMnu = Item(Jeu1, "LastCoupBeginMnu", QStringLiteral("Début dernier coup        HOME"),
                            QStringLiteral("replace au début du dernier coup joué"));
    LastCoupEndMnu = Item(Jeu1, "LastCoupEndMnu", QStringLiteral("Fin dernier coup              FIN"),
                          QStringLiteral("place à la fin du dernier coup joué"));
    PosDepartMnu = Item(Jeu1, "PosDepartMnu", QStringLiteral("Remettre position départ"),
                        QStringLiteral("place en position début de partie"));
    connect(BilleJoueurMnu, &QAction::triggered, this, [this] { BilleJoueurMnuClick(); });
    connect(ModesDeJeu, &QActionGroup::triggered, this, [this](QAction* a) { Mnu3bandesClick(a); });
    connect(LastCoupBeginMnu, &QAction::triggered, this, [this] { LastCoupBeginMnuClick(); });
    connect(LastCoupEndMnu, &QAction::triggered, this, [this] { LastCoupEndMnuClick(); });
    connect(PosDepartMnu, &QAction::triggered, this, [this] { PosDepartMnuClick(); });
}

void TMainVel3DFrm::CreeMenuAffichage() {
    OptionsJeu = SousMenu(this, "OptionsJeu", QStringLiteral("&Affichage"));
    menuBar()->addMenu(OptionsJeu);
    CamFixeMobileMnu = Item(OptionsJeu, "CamFixeMobileMnu", QStringLiteral("cam actuelle : Mobile"),
                            QStringLiteral("basculer vue Fixe (du plafond) / mobile"));
    CamFixeMobileMnu->setShortcut(ToucheDe(TAction::Camera));
    TrajetsMnu = Item(OptionsJeu, "TrajetsMnu", QStringLiteral("Lignes trajets"),
                      QStringLiteral("affichage des trajets toutes billes"), true, true);
    Lignes1 = SousMenu(OptionsJeu, "Lignes1", QStringLiteral("Détail lignes trajets"),
                       QStringLiteral("affichage individuel des trajets de chaque bille"));
    OptionsJeu->addMenu(Lignes1);
    TrajetBillejoueurMnu =
        Item(Lignes1, "TrajetBillejoueurMnu", QStringLiteral("Bille joueur"), {}, true, true);
    TrajetBillenonjoueurMnu =
        Item(Lignes1, "TrajetBillenonjoueurMnu", QStringLiteral("Bille non joueur"), {}, true, true);
    TrajetRougeMnu = Item(Lignes1, "TrajetRougeMnu", QStringLiteral("Rouge"), {}, true, true);
    VRMnu =
        Item(OptionsJeu, "VRMnu", QStringLiteral("Vecteurs V et R"),
             QStringLiteral("affichage des vecteurs vitesse et rotation en animation ou outil PVR"), true);
    AnimationMnu =
        Item(OptionsJeu, "AnimationMnu", QStringLiteral("Animation (1)"),
             QStringLiteral("deplace automatiquement les billes (facteur de ralenti 1=normal)"), true);
    QueuevisibleMnu = Item(OptionsJeu, "QueuevisibleMnu", QStringLiteral("Queue visible"),
                           QStringLiteral("queue visible/invisible"), true, true);
    QueuevisibleMnu->setShortcut(ToucheDe(TAction::QueueVisible));
    ResettrajetsVRMnu =
        Item(OptionsJeu, "ResettrajetsVRMnu", QStringLiteral("Efface le billard (trajets et V/R)   SUPPR"),
             QStringLiteral("efface les trajets visibles"));
    LumiereSalleMnu = Item(OptionsJeu, "LumiereSalleMnu", QStringLiteral("Lumière de salle"),
                           QStringLiteral("seule la lampe du billard éclaire : un halo sur le tapis, la "
                                          "salle dans la pénombre"),
                           true);
    connect(LumiereSalleMnu, &QAction::triggered, this, [this] { LumiereSalleMnuClick(); });
    OptionsJeu->addSeparator();
    DispositionMnu = Item(OptionsJeu, "DispositionMnu", QStringLiteral("Disposition par défaut"),
                          QStringLiteral("remet les fenêtres outils à leur place : la queue à droite, les "
                                         "autres en onglets à droite ou sous le billard"));
    connect(DispositionMnu, &QAction::triggered, this, [this] { DispositionParDefaut(); });
    connect(CamFixeMobileMnu, &QAction::triggered, this, [this] { CamFixeMobileMnuClick(); });
    connect(TrajetsMnu, &QAction::triggered, this, [this] { TrajetsMnuClick(); });
    for (QAction* a : {TrajetBillejoueurMnu, TrajetBillenonjoueurMnu, TrajetRougeMnu})
        connect(a, &QAction::triggered, this, [this, a] { TrajetBillejoueurMnuClick(a); });
    connect(VRMnu, &QAction::triggered, this, [this] { VRMnuClick(); });
    connect(QueuevisibleMnu, &QAction::triggered, this, [this] { QueuevisibleMnuClick(); });
    connect(ResettrajetsVRMnu, &QAction::triggered, this, [this] { ResettrajetsVRMnuClick(); });
}

void TMainVel3DFrm::CreeMenuOutils() {
    FenetresMnu = SousMenu(this, "FenetresMnu", QStringLiteral("&Outils"));
    menuBar()->addMenu(FenetresMnu);
    VueParamQueueMnu = Item(FenetresMnu, "VueParamQueueMnu", QStringLiteral("Params queue"),
                            QStringLiteral("fenêtre de réglaqe queue (effet, hauteur etc)"), true, true);
    VueParamQueueMnu->setShortcut(ToucheDe(TAction::FenetreQueue));
    DifficulteMnu = Item(FenetresMnu, "DifficulteMnu", QStringLiteral("Evaluation de la difficulté"),
                         QStringLiteral("évaluation de la difficulté objective du point en cours"), true);
    VueMemoMnu = Item(FenetresMnu, "VueMemoMnu", QStringLiteral("Mémorisation trajets (off)"),
                      QStringLiteral("caractéristiques des trajets mémorisés"), true);
    VueNumMnu = Item(FenetresMnu, "VueNumMnu", QStringLiteral("Valeurs P, V, R"),
                     QStringLiteral("valeurs numériques des positions, vitesses et rotations"), true);
    CalibreBdMnu =
        Item(FenetresMnu, "CalibreBdMnu", QStringLiteral("Reglage du billard"),
             QStringLiteral("pour rendre le tapis plus glissant, les bandes plus rugueuses etc"), true);
    // each item shows and closes its window once the window is in its dock (AjouteOutil)
    CreeMenusEnregistrement();
}

void TMainVel3DFrm::CreeMenuAide() {
    AideMnu = SousMenu(this, "AideMnu", QStringLiteral("Aide"));
    menuBar()->addMenu(AideMnu);
    SommaireChmMnu = Item(AideMnu, "SommaireChmMnu", QStringLiteral("Sommaire"));
    IndexChmMnu = Item(AideMnu, "IndexChmMnu", QStringLiteral("Index de l'aide"));
    Raccourcisclavier1 = Item(AideMnu, "Raccourcisclavier1", QStringLiteral("Raccourcis clavier"));
    AproposMnu = Item(AideMnu, "AproposMnu", QStringLiteral("A propos ..."));
    connect(SommaireChmMnu, &QAction::triggered, this, [this] { SommaireChmMnuClick(); });
    connect(IndexChmMnu, &QAction::triggered, this, [this] { IndexChmMnuClick(); });
    connect(Raccourcisclavier1, &QAction::triggered, this, [this] { AfficheAide(ContexteRaccourcis); });
    connect(AproposMnu, &QAction::triggered, this, [this] { AproposMnuClick(); });
}

void TMainVel3DFrm::MajMenuRecents() {
    // "(ouvrir)" followed by the recent files
    for (QAction* a : LoadFrmFileMnu->actions())
        if (a != ouvrirMnu) {
            LoadFrmFileMnu->removeAction(a);
            a->deleteLater();
        }
    for (const std::string& nom : mruList_.Noms()) {
        const QString chemin = QString::fromStdString(nom);
        QString titre = chemin;
        titre.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = LoadFrmFileMnu->addAction(titre);
        a->setData(chemin);
        PoseBulle(a, QStringLiteral("|") + chemin);
        connect(a, &QAction::triggered, this, [this, chemin] { mruListClick(chemin); });
    }
}

// -- files

void TMainVel3DFrm::ouvrirMnuClick() {
    const QString nom = DemandeFichierOuvrir(this, QString(), FiltrePositions);
    if (nom.isEmpty()) return;
    // a file that could not be read does not join the recent list
    const QString vel = AvecExtensionVel(nom);
    if (OuvrePosition(vel)) RetientFichier(vel);
}

void TMainVel3DFrm::SaveToFileMnuClick() {
    const QString nom = DemandeFichierEnregistrer(this, QString(), FiltrePositions);
    if (nom.isEmpty()) return;
    SauvePosition(AvecExtensionVel(nom));
}

// -- game

void TMainVel3DFrm::BilleJoueurMnuClick() { ChoisitBilleJoueur(tagBilleJoueur_ != 1); }

void TMainVel3DFrm::ChoisitBilleJoueur(bool jaune) {
    if (!Billard) return;
    tagBilleJoueur_ = jaune ? 1 : 0;
    Billard->SetBilleJoueur(jaune ? Billard->Jaune : Billard->Blanche);
    BilleJoueurMnu->setText(QStringLiteral("Joueur : ") + QString::fromStdString(Billard->BilleJoueur->Nom));
    MajResultats();
}

void TMainVel3DFrm::Mnu3bandesClick(QAction* choix) {
    // the group has already checked the item: only the mode remains to set
    if (!Billard) return;
    const TModeDeJeu mode = choix == Mnu1bande ? j1Bande : choix == MnuLibre ? jLibre : j3Bandes;
    if (Billard->Simu->ModeDeJeu != mode) Billard->Simu->ModeDeJeu = mode;
    MajResultats();
}

void TMainVel3DFrm::ChoisitModeJeu(TModeDeJeu mode) {
    if (!Billard) return;
    (mode == j1Bande ? Mnu1bande : mode == jLibre ? MnuLibre : Mnu3bandes)->setChecked(true);
    Billard->Simu->ModeDeJeu = mode;
}

void TMainVel3DFrm::PosDepartMnuClick() {
    if (!Billard) return;
    Billard->PositionDepart(true);
    // no motion of an earlier launch survives in photo 0
    Billard->AnnuleVR0();
    ResettrajetsVRMnuClick();
}

// -- display

void TMainVel3DFrm::CamFixeMobileMnuClick() {
    // from the camera actually shown: a position file may have chosen it
    if (Billard) {
        Billard->ActiveCamMobile(!Billard->CamMobileActive);
        // the diamonds' digits turn to the camera shown
        Billard->MajDiamants();
    }
    MajMenuCamera();
}

void TMainVel3DFrm::MajMenuCamera() {
    const bool mobile = !Billard || Billard->CamMobileActive;
    CamFixeMobileMnu->setText(mobile ? QStringLiteral("cam actuelle : Mobile")
                                     : QStringLiteral("cam actuelle : Fixe"));
}

void TMainVel3DFrm::TrajetsMnuClick() {
    // the item has toggled itself; the three balls and the detail items follow
    const bool visible = TrajetsMnu->isChecked();
    for (QAction* a : {TrajetBillejoueurMnu, TrajetBillenonjoueurMnu, TrajetRougeMnu}) a->setChecked(visible);
    if (Billard)
        for (int rang = 1; rang <= 3; ++rang) BilleDeRang(rang)->SetTrajetVisible(visible);
}

void TMainVel3DFrm::TrajetBillejoueurMnuClick(QAction* item) {
    if (Billard) {
        const int rang = item == TrajetBillejoueurMnu ? 1 : item == TrajetBillenonjoueurMnu ? 2 : 3;
        BilleDeRang(rang)->SetTrajetVisible(item->isChecked());
    }
    TrajetsMnu->setChecked(TrajetBillejoueurMnu->isChecked() || TrajetBillenonjoueurMnu->isChecked() ||
                           TrajetRougeMnu->isChecked());
}

void TMainVel3DFrm::VRMnuClick() {
    if (Billard) Billard->SetVRVisible(VRMnu->isChecked());
}

void TMainVel3DFrm::LumiereSalleMnuClick() {
    VueTable.Salle.LampeSeule = LumiereSalleMnu->isChecked();
    gls.Modifie();
}

void TMainVel3DFrm::QueuevisibleMnuClick() {
    if (Billard) Billard->Queue->SetVisible(QueuevisibleMnu->isChecked());
}

void TMainVel3DFrm::ResettrajetsVRMnuClick() {
    if (!Billard) return;
    Billard->Blanche->EffaceTrajet();
    Billard->Jaune->EffaceTrajet();
    Billard->Rouge->EffaceTrajet();
    // the kept shots' lines go too, their rows stay; the diamonds and a recording's drawings go
    if (MemTrajetsFrm) MemTrajetsFrm->EffaceTraits();
    Billard->Diamants->Efface();
    if (EnregistrementFrm) EnregistrementFrm->EffaceTraces();
}

// -- tool windows

void TMainVel3DFrm::VueParamQueueMnuClick() { BasculeOutil(QueueFrm, VueParamQueueMnu); }

void TMainVel3DFrm::DifficulteMnuClick() { BasculeOutil(DifficulteFrm, DifficulteMnu); }

void TMainVel3DFrm::VueMemoMnuClick() { BasculeOutil(MemTrajetsFrm, VueMemoMnu); }

void TMainVel3DFrm::VueNumMnuClick() { BasculeOutil(VueNumFrm, VueNumMnu); }

void TMainVel3DFrm::CalibreBdMnuClick() { BasculeOutil(CalibrageFrm, CalibreBdMnu); }
