// Training, matches and progress in the main window: the history database opened in the user's
// data folder (the program goes on without it, and says so), "Fichiers > Ouvrir un entraînement…",
// and the checkable items "Entraînement", "Partie" and "Progrès" of the "&Outils" menu.
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>

#include "app/FenetresOutils.h"
#include "app/MainVel3D.h"
#include "tools/Entrainement.h"
#include "tools/Partie.h"
#include "tools/Progres.h"
#include "widgets/Bulles.h"

namespace {

// a checkable item of "&Outils" that shows and hides its window and follows its closing
QAction* ItemOutil(QMenu* menu, QMainWindow* principale, TFenetreOutil* fenetre, const char* nom,
                   const QString& texte, const QString& bulle) {
    QAction* item = menu->addAction(texte);
    item->setObjectName(QString::fromLatin1(nom));
    PoseBulle(item, bulle);
    item->setCheckable(true);
    QObject::connect(item, &QAction::triggered, principale, [item, fenetre] {
        if (item->isChecked())
            fenetre->show();
        else
            fenetre->close();
        item->setChecked(fenetre->isVisible());
    });
    QObject::connect(fenetre, &TFenetreOutil::Fermee, principale, [item] { item->setChecked(false); });
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
    OuvrirEntrainementMnu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    Fichiers1->insertAction(Fichiers1->actions().value(1), OuvrirEntrainementMnu);
    connect(OuvrirEntrainementMnu, &QAction::triggered, this, [this] {
        const QString nom = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                         QStringLiteral("fichiers d'entraînement (*.ven)"));
        if (nom.isEmpty() || !EntrainementFrm->OuvrePack(nom)) return;
        EntrainementFrm->show();
        EntrainementMnu->setChecked(true);
    });
    EntrainementMnu =
        ItemOutil(FenetresMnu, this, EntrainementFrm, "EntrainementMnu", QStringLiteral("Entraînement"),
                  QStringLiteral("les exercices du pack ouvert et l'analyse de chaque tentative"));
    PartieMnu = ItemOutil(FenetresMnu, this, PartieFrm, "PartieMnu", QStringLiteral("Partie"),
                          QStringLiteral("une partie à deux joueurs et sa feuille de marque"));
    ProgresMnu = ItemOutil(
        FenetresMnu, this, ProgresFrm, "ProgresMnu", QStringLiteral("Progrès"),
        QStringLiteral("la réussite et la robustesse au fil du temps, les exercices à retravailler"));
    EntrainementMnu->setShortcut(QKeySequence(Qt::Key_F6));
    PartieMnu->setShortcut(QKeySequence(Qt::Key_F8));
    ProgresMnu->setShortcut(QKeySequence(Qt::Key_F9));
    connect(this, &TMainVel3DFrm::CoupDuJoueur, EntrainementFrm, &TEntrainementFrm::SurCoupJoue);
    connect(this, &TMainVel3DFrm::CoupDuJoueur, PartieFrm, &TPartieFrm::SurCoupJoue);
}
