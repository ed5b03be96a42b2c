// The desktop program and velmora-sim play the same position file to the same photos, each through
// its own real path (the open command and its fire button; `velmora-sim shot`).
#include <gtest/gtest.h>

#include <QProcess>

#include "Fenetres.h"
#include "fichiers/ExportPVR.h"
#include "tests/support/DossierDeTest.h"

TEST(MemesPhotosQueCli, EveryExamplePositionGivesByteIdenticalPhotosInTheWindowAndTheCommandLine) {
    for (const char* exemple : {"ouverture.vel", "trois_bandes.vel", "une_bande.vel", "manque.vel",
                                "saut.vel", "fausse_queue.vel"}) {
        SCOPED_TRACE(exemple);
        TFenetres w;
        TMainVel3DFrm& f = w.Cree();
        ASSERT_TRUE(f.OuvrePosition(Exemple(exemple)));
        const std::string fenetre = TexteExportPVR(*w.B().Simu);

        const QString pvr = w.dossier.filePath(QStringLiteral("cli.pvr"));
        QProcess sim;
        sim.start(QStringLiteral(VELMORA_SIM_EXE),
                  {QStringLiteral("shot"), Exemple(exemple), QStringLiteral("--export"), pvr});
        ASSERT_TRUE(sim.waitForFinished(30000));
        ASSERT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString();
        const std::string ligneDeCommande = LitFichierEntier(pvr.toStdString());
        ASSERT_FALSE(ligneDeCommande.empty());
        EXPECT_EQ(fenetre, ligneDeCommande);
    }
}
