// The 3D billiard in the main window: its creation at the first show, position files and the
// shots handed over by other programs.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "fichiers/FichierFisik.h"
#include "scene/gl/VueGL.h"
#include "tools/Enregistrement.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"
#include "tools/Solutions.h"
#include "view3d/GLBillardVelmora.h"
#include "widgets/CaseLed.h"

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
    // the docks as they were left, or in their default layout; the cameras fit the table to the
    // view they leave
    RestaureDisposition();
    MajCadrage();
    // the layout as it stands once shown: written back only if this instance changes it
    QTimer::singleShot(0, this, [this] { RetientDisposition(); });
    // a window opened with the table before the billiard existed shows it now
    if (VueNumFrm && VueNumFrm->isVisible()) VueNumFrm->RafraichitVue();
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
