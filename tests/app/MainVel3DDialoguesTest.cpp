// The file dialogs open where a file was last chosen: at the start in the program's folder, then
// in the folder of the position opened, whatever window asks next.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTemporaryDir>

#include "app/FenetresOutils.h"
#include "tests/app/Fenetres.h"
#include "widgets/DossierFichiers.h"

namespace {

// the folder the next file dialog opens in, and the file it is answered with ("" cancels)
QString DossierDuDialogue(const std::function<void()>& ouvre, const QString& reponse) {
    auto dossier = std::make_shared<QString>();
    QTimer veille;
    veille.setInterval(5);
    QObject::connect(&veille, &QTimer::timeout, [dossier, reponse, &veille] {
        auto* dialogue = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogue) return;
        veille.stop();
        *dossier = dialogue->directory().absolutePath();
        if (reponse.isEmpty()) {
            dialogue->reject();
        } else {
            dialogue->selectFile(reponse);
            QMetaObject::invokeMethod(dialogue, "accept");
        }
    });
    veille.start();
    ouvre();
    return *dossier;
}

}  // namespace

TEST(MainVel3DDialogues, TheDialogsOpenInTheFolderOfTheLastFileChosen) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    QTemporaryDir ailleurs;
    const QString position = ailleurs.filePath(QStringLiteral("coup.vel"));
    ASSERT_TRUE(QFile::copy(Exemple("trois_bandes.vel"), position));
    // first the program's folder; a position chosen elsewhere
    const QString premier =
        DossierDuDialogue([&] { Controle<QAction>(f, "ouvrirMnu")->trigger(); }, position);
    EXPECT_EQ(premier, QDir(w.dossier.path()).absolutePath());
    ASSERT_FALSE(f.mruList().Noms().empty());
    EXPECT_EQ(QString::fromStdString(f.mruList().Noms().front()), position);
    // the next dialog, another command, opens there
    const QString second =
        DossierDuDialogue([&] { Controle<QAction>(f, "SaveToFileMnu")->trigger(); }, QString());
    EXPECT_EQ(second, QDir(ailleurs.path()).absolutePath());
    EXPECT_EQ(DossierDialogues(), QDir(ailleurs.path()).absolutePath());
}
