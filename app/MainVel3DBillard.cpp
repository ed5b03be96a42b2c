// The 3D billiard in the main window: its creation at the first show, the layout of the tool
// windows, position files and the shots handed over by other programs.
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "app/ReglagesVel3D.h"
#include "fichiers/FichierFisik.h"
#include "scene/gl/VueGL.h"
#include "tools/Enregistrement.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"
#include "tools/Solutions.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/CaseLed.h"

namespace {

// a kept place still worth using: enough of the window on one of the screens to be grabbed
bool SurUnEcran(const QRect& place) {
    for (const QScreen* ecran : QGuiApplication::screens()) {
        const QRect vu = ecran->availableGeometry().intersected(place);
        if (vu.width() >= 50 && vu.height() >= 30) return true;
    }
    return false;
}

}  // namespace

QList<QPair<QWidget*, QString>> TMainVel3DFrm::Outils() const {
    QList<QPair<QWidget*, QString>> outils;
    const QPair<QWidget*, const char*> tous[] = {{QueueFrm, "QueueFrm"},
                                                 {MemTrajetsFrm, "MemTrajetsFrm"},
                                                 {VueNumFrm, "VueNumFrm"},
                                                 {DifficulteFrm, "DifficulteFrm"},
                                                 {CalibrageFrm, "CalibrageFrm"},
                                                 {SolutionsFrm, "SolutionsFrm"},
                                                 {EnregistrementFrm, "EnregistrementFrm"},
                                                 {EntrainementFrm, "EntrainementFrm"},
                                                 {PartieFrm, "PartieFrm"},
                                                 {ProgresFrm, "ProgresFrm"}};
    for (const auto& [outil, nom] : tous)
        if (outil) outils.append({outil, QString::fromLatin1(nom)});
    return outils;
}

void TMainVel3DFrm::PlaceOutils() {
    const QRect ecran = screen()->availableGeometry();
    const QRect table(Scn->mapToGlobal(QPoint(0, 0)), Scn->size());
    // a window not shown yet has no frame: the main window's tells how big it will be
    const QSize cadre = frameGeometry().size() - size();
    // the fire button and the results, in the view's corner, stay in sight
    const QRect panneau(DisplayInfos->mapToGlobal(QPoint(0, 0)), DisplayInfos->size());
    QList<QRect> placees;
    for (const auto& [outil, nom] : Outils()) {
        QRect place;
        if (LitPlaceFenetre(IniCtrl, nom, &place) && SurUnEcran(place)) {
            outil->move(place.topLeft());
            outil->resize(place.size());
            continue;
        }
        // the size it will take when first shown
        if (!outil->isVisible()) {
            if (outil->layout()) outil->layout()->activate();
            if (!outil->testAttribute(Qt::WA_Resized)) outil->adjustSize();
            outil->resize(
                outil->size().expandedTo(outil->minimumSizeHint()).expandedTo(outil->minimumSize()));
        }
        const QSize taille = outil->isVisible() ? outil->frameGeometry().size() : outil->size() + cadre;
        const QPoint coin = PlaceOutil(ecran, frameGeometry(), table, taille, placees, panneau);
        outil->move(coin);
        placees.append(QRect(coin, taille));
    }
}

void TMainVel3DFrm::FormShow() {
    // the 3D billiard and with it the simulation
    Billard = std::make_unique<TGLBillardVelmora>(gls, VueTable, QueueFrm->VueQueue);
    Billard->OnBilleDeplacee = [this](TGLBilles& bille) { BilleDeplacee(&bille); };
    QueueFrm->BrancheQueue(*Billard->Queue);
    Billard->PositionDepart(true);
    // the cue window shows the mass
    Billard->Queue->SetMasse(Billard->Queue->Masse());
    Billard->BilleJoueur->SetTrajetVisible(TrajetBillejoueurMnu->isChecked());
    Billard->BilleNonJoueur->SetTrajetVisible(TrajetBillenonjoueurMnu->isChecked());
    Billard->Rouge->SetTrajetVisible(TrajetRougeMnu->isChecked());
    // the tool windows go beside the table once the window has its place, or where they were left
    QTimer::singleShot(0, this, [this] {
        if (!QueueFrm) return;
        PlaceOutils();
        QueueFrm->setVisible(VueParamQueueMnu->isChecked());
    });
    LitFisik();
    if (CalibrageFrm) CalibrageFrm->ChargeGrille();
    // a position named on the command line is opened and played
    if (!demarrage_.FichierLigneCommande.isEmpty()) {
        const QFileInfo f(demarrage_.FichierLigneCommande);
        const QString vel = f.dir().filePath(f.completeBaseName() + QStringLiteral(".vel"));
        if (QFileInfo(vel).isFile() && OuvrePosition(vel)) RetientFichier(vel);
    }
}

void TMainVel3DFrm::LitFisik() {
    // a missing file is ignored; an unreadable one is said
    const std::string nom = IniCtrl.LitTexte("Divers", "FisikFile", "");
    if (nom.empty() || !QFileInfo(QString::fromStdString(nom)).isFile()) return;
    std::string erreur;
    if (!ChargeFisik(Billard->Simu->Fisik, nom, &erreur)) {
        AfficheMessage(QStringLiteral("paramètres non chargés : ") + QString::fromStdString(erreur));
        return;
    }
    // the balls keep the radius of the 3D models
    Billard->Simu->Fisik.SetParam(2, Billard->RayonBille);
}

bool TMainVel3DFrm::ChargeTable(const QString& fichier, QString* erreur) {
    const auto refuse = [erreur](const QString& raison) {
        if (erreur) *erreur = raison;
        return false;
    };
    if (!Billard) return refuse(QStringLiteral("le billard n'est pas encore affiché"));
    if (coupVerrouille_) return refuse(QStringLiteral("évaluation de la difficulté en cours"));
    // over the factory values, as the command line reads a table: a key the file lacks is not
    // taken from the table in play
    TPARAMPHYS fisik = Billard->Simu->Fisik;
    fisik.ValeursUsine();
    std::string raison;
    if (!fichier.isEmpty() && !ChargeFisik(fisik, fichier.toStdString(), &raison))
        return refuse(QString::fromStdString(raison));
    // the balls keep the radius of the 3D models
    fisik.SetParam(2, Billard->RayonBille);
    Billard->Simu->Fisik = fisik;
    if (CalibrageFrm) CalibrageFrm->ChargeGrille();
    return true;
}

bool TMainVel3DFrm::OuvrePosition(const QString& nom) {
    if (!Billard) return false;
    if (coupVerrouille_) {
        AfficheMessage(QStringLiteral("position non ouverte : évaluation de la difficulté en cours"));
        return false;
    }
    TirAutoChk->setChecked(false);
    std::string erreur;
    if (!Billard->ChargeFichier(nom.toStdString(), &erreur)) {
        QMessageBox::critical(
            this, windowTitle(),
            QStringLiteral("Impossible d'ouvrir %1 :\n%2").arg(nom, QString::fromStdString(erreur)));
        return false;
    }
    MajMenuCamera();
    // the position loaded, its parameter file did not
    if (!erreur.empty())
        AfficheMessage(QStringLiteral("paramètres non chargés : ") + QString::fromStdString(erreur));
    if (CalibrageFrm) CalibrageFrm->ChargeGrille();
    FeuBtnClick();
    return true;
}

bool TMainVel3DFrm::SauvePosition(const QString& nom) {
    if (!Billard) return false;
    std::string erreur;
    if (!Billard->SauveFichier(nom.toStdString(), &erreur)) {
        QMessageBox::critical(
            this, windowTitle(),
            QStringLiteral("Impossible d'écrire %1 :\n%2").arg(nom, QString::fromStdString(erreur)));
        return false;
    }
    return true;
}

TGLBilles* TMainVel3DFrm::BilleDeRang(int rang) const {
    if (!Billard) return nullptr;
    if (rang == 1) return Billard->BilleJoueur;
    if (rang == 2) return Billard->BilleNonJoueur;
    return Billard->Rouge;
}

void TMainVel3DFrm::WMCopyData(const TCopieCoup& coup) {
    if (!Billard) return;
    if (coupVerrouille_) {
        AfficheMessage(QStringLiteral("coup reçu refusé : évaluation de la difficulté en cours"));
        return;
    }
    // played as it comes, with every trajectory shown
    TirAutoChk->setChecked(false);
    AnimationMnu->setChecked(false);
    TrajetsMnu->setChecked(false);
    TrajetsMnu->trigger();
    TGLQueue& queue = *Billard->Queue;
    queue.SetEffet(coup.Effet);
    queue.SetHauteur(coup.Hauteur);
    queue.SetVisee(coup.Visee);
    queue.SetVitesse(coup.Vitesse);
    queue.SetInclinaison(coup.Inclinaison);
    queue.SetMasse(coup.Masse);
    const auto centre = [](const std::array<float, 3>& p) { return TVecteur3f{p[0], p[1], p[2]}; };
    Billard->PlaceEnOrdre({Billard->BilleJoueur, Billard->BilleNonJoueur, Billard->Rouge},
                          {centre(coup.Joueur), centre(coup.NonJoueur), centre(coup.Rouge)});
    FeuDuJoueur();
}
