// Training, matches and progress in the main window: the history database opened in the user's
// data folder (the program goes on without it, and says so), "Fichiers > Ouvrir un entraînement…",
// and the three windows in their docks with their checkable items "Entraînement", "Partie" and
// "Progrès" of the "&Outils" menu.
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>

#include "app/ActionsVel3D.h"
#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"
#include "widgets/Bulles.h"
#include "widgets/DossierFichiers.h"

namespace {

// a checkable item of "&Outils"; its window's dock makes it show, close and follow the window
QAction* ItemOutil(QMenu* menu, const char* nom, const QString& texte, const QString& bulle, TAction touche) {
    QAction* item = menu->addAction(texte);
    item->setObjectName(QString::fromLatin1(nom));
    PoseBulle(item, bulle);
    item->setCheckable(true);
    item->setShortcut(ToucheDe(touche));
    return item;
}

}  // namespace

std::shared_ptr<TBaseHistorique> TMainVel3DFrm::OuvreHistorique(const QString& fichier) {
    auto base = std::make_shared<TBaseHistorique>();
    const QString nom = fichier.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                  QStringLiteral("/historique.sqlite")
                            : fichier;
    std::string erreur;
    if (!base->Ouvre(QDir::toNativeSeparators(nom).toStdString(), &erreur))
        AfficheMessage(QString::fromStdString(erreur) +
                       QStringLiteral(" — le programme continue sans historique"));
    return base;
}

void TMainVel3DFrm::BrancheEntrainement(std::shared_ptr<TBaseHistorique> base) {
    EntrainementFrm = new TEntrainementFrm(*this, base, this);
    PartieFrm = new TPartieFrm(*this, base, this);
    ProgresFrm = new TProgresFrm(*this, base, this);
    OuvrirEntrainementMnu = new QAction(QStringLiteral("Ouvrir un entraînement…"), this);
    OuvrirEntrainementMnu->setObjectName(QStringLiteral("OuvrirEntrainementMnu"));
    PoseBulle(OuvrirEntrainementMnu, QStringLiteral("ouvre un pack d'exercices (fichier .ven)"));
    OuvrirEntrainementMnu->setShortcut(ToucheDe(TAction::OuvreEntrainement));
    Fichiers1->insertAction(Fichiers1->actions().value(1), OuvrirEntrainementMnu);
    connect(OuvrirEntrainementMnu, &QAction::triggered, this, [this] {
        const QString nom =
            DemandeFichierOuvrir(this, QString(), QStringLiteral("fichiers d'entraînement (*.ven)"));
        if (nom.isEmpty() || !EntrainementFrm->OuvrePack(nom)) return;
        EntrainementMnu->setChecked(true);
        BasculeOutil(EntrainementFrm, EntrainementMnu);
    });
    EntrainementMnu =
        ItemOutil(FenetresMnu, "EntrainementMnu", QStringLiteral("Entraînement"),
                  QStringLiteral("les exercices du pack ouvert et l'analyse de chaque tentative"),
                  TAction::Entrainement);
    PartieMnu =
        ItemOutil(FenetresMnu, "PartieMnu", QStringLiteral("Partie"),
                  QStringLiteral("une partie à deux joueurs et sa feuille de marque"), TAction::Partie);
    ProgresMnu = ItemOutil(
        FenetresMnu, "ProgresMnu", QStringLiteral("Progrès"),
        QStringLiteral("la réussite et la robustesse au fil du temps, les exercices à retravailler"),
        TAction::Progres);
    // the drill panel and the score board beside the cue window, the charts under the table
    AjouteOutil(EntrainementFrm, "EntrainementFrm", TPlaceOutil::SousQueue, EntrainementMnu);
    AjouteOutil(PartieFrm, "PartieFrm", TPlaceOutil::SousQueue, PartieMnu);
    AjouteOutil(ProgresFrm, "ProgresFrm", TPlaceOutil::Bas, ProgresMnu);
    connect(this, &TMainVel3DFrm::CoupDuJoueur, EntrainementFrm, &TEntrainementFrm::SurCoupJoue);
    connect(this, &TMainVel3DFrm::CoupDuJoueur, PartieFrm, &TPartieFrm::SurCoupJoue);
}
