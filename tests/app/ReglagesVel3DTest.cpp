#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/ReglagesVel3D.h"
#include "tests/app/Fenetres.h"

namespace {

// an installed program: its folder may not be written (whoever runs the test)
struct TInstallation {
    QTemporaryDir racine;
    QString programme = racine.filePath(QStringLiteral("bin"));
    QString utilisateur = racine.filePath(QStringLiteral("config/Velmora3D"));
    QString livre = QDir(programme).filePath(QStringLiteral("Velmora3D.ini"));
    QString perso = QDir(utilisateur).filePath(QStringLiteral("Velmora3D.ini"));
    TInstallation() { QDir().mkpath(programme); }
    TEmplacementReglages Emplacement() const {
        const QString bin = programme;
        return EmplacementReglages(programme, utilisateur,
                                   [bin](const QString& chemin) { return !chemin.startsWith(bin); });
    }
};

void Ecrit(const QString& nom, const QByteArray& texte) {
    QDir().mkpath(QFileInfo(nom).absolutePath());
    QFile f(nom);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texte);
}

}  // namespace

TEST(ReglagesVel3D, LiveInTheProgramsFolderWhenItMayBeWritten) {
    TInstallation d;
    const TEmplacementReglages e = EmplacementReglages(d.programme, d.utilisateur);
    EXPECT_EQ(e.Lecture, d.livre);
    EXPECT_EQ(e.Ecriture, d.livre);
}

TEST(ReglagesVel3D, GoToTheUsersFolderWhenTheProgramsFolderIsReadOnly) {
    TInstallation d;
    EXPECT_EQ(d.Emplacement().Lecture, d.perso);
    EXPECT_EQ(d.Emplacement().Ecriture, d.perso);
    // a file shipped with the program is read until the user has one
    Ecrit(d.livre, "[Divers]\nTauxRalenti=2\n");
    EXPECT_EQ(d.Emplacement().Lecture, d.livre);
    EXPECT_EQ(d.Emplacement().Ecriture, d.perso);
    Ecrit(d.perso, "");
    EXPECT_EQ(d.Emplacement().Lecture, d.perso);
}

TEST(ReglagesVel3D, AProgramInAReadOnlyFolderStillKeepsItsSettings) {
    TInstallation d;
    Ecrit(d.livre, "[Divers]\nTauxRalenti=2\n");
    TFenetres w;
    w.demarrage.Reglages = d.Emplacement();
    // the shipped rate is read; the changed one goes to the user's folder, created on the way
    EXPECT_EQ(w.Cree(false).TauxRalenti(), 2.0);
    w.F().SetTauxRalenti(0.5);
    w.F().close();
    w.principale.reset();
    w.demarrage.Reglages = d.Emplacement();
    EXPECT_EQ(w.Cree(false).TauxRalenti(), 0.5);
    EXPECT_TRUE(QFile::exists(d.perso));
    QFile livre(d.livre);
    livre.open(QIODevice::ReadOnly);
    EXPECT_EQ(livre.readAll(), QByteArray("[Divers]\nTauxRalenti=2\n"));
}

TEST(ReglagesVel3D, SettingsThatCannotBeWrittenAreReportedAtClose) {
    TFenetres w;
    // the target is a folder: no file can take its place
    const QString cible = w.dossier.filePath(QStringLiteral("dossier.ini"));
    QDir().mkpath(cible);
    w.demarrage.Reglages = {cible, cible};
    w.Cree(false);
    const QString texte = TexteBoiteModale([&] { w.F().close(); });
    EXPECT_TRUE(texte.contains(QStringLiteral("Les réglages n'ont pas pu être enregistrés")))
        << texte.toStdString();
}
