#include "app/Demarrage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#include "app/FenetresOutils.h"

QString CheminAide(const QString& dossierProgramme) {
    const QDir dossier(dossierProgramme);
    const QStringList places = {
        dossier.filePath(QString::fromLatin1(NomFichierAide)),
        dossier.filePath(QStringLiteral("../help/") + QString::fromLatin1(NomFichierAide)),
        dossier.filePath(QStringLiteral("../share/velmora3d/") + QString::fromLatin1(NomFichierAide)),
    };
    for (const QString& p : places)
        if (QFileInfo(p).isFile()) return QDir::cleanPath(p);
    return places.first();
}

TDemarrageVel3D DemarrageProgramme(const QStringList& arguments) {
    TDemarrageVel3D d;
    d.DossierProgramme = QCoreApplication::applicationDirPath();
    d.Reglages = EmplacementReglages(d.DossierProgramme,
                                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    d.FichierAide = CheminAide(d.DossierProgramme);
    d.CheminServeurCoup = QString::fromStdString(CheminServeurCoup());
    if (arguments.size() > 1) d.FichierLigneCommande = arguments.at(1);
    return d;
}

bool ChargeTraductionsQt() {
    // the program speaks French whatever the user's locale, and so do Qt's dialogs
    static QTranslator* traduction = nullptr;
    if (traduction) return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    traduction = t;
    return true;
}

std::unique_ptr<TMainVel3DFrm> CreeFenetres(const TDemarrageVel3D& demarrage) {
    auto principale = std::make_unique<TMainVel3DFrm>(demarrage);
    auto* queue = new TQueueFrm(*principale, principale.get());
    auto* memo = new TMemTrajetsFrm(*principale, principale.get());
    auto* vueNum = new TVueNumFrm(*principale, principale.get());
    auto* calibrage = new TCalibrageFrm(*principale, principale.get());
    auto* difficulte = new TDifficulteFrm(*principale, principale.get());
    principale->BrancheOutils(queue, memo, vueNum, calibrage, difficulte);
    principale->BrancheSolutions(new TSolutionsFrm(*principale, principale.get()));
    principale->BrancheSysteme(new TSystemeFrm(*principale, principale.get()));
    principale->BrancheEntrainement(principale->OuvreHistorique(demarrage.Historique));
    return principale;
}
