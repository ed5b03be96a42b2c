// Started where no OpenGL context can be made, the program says so and stops instead of crashing.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

TEST(SansOpenGL, TheProgramSaysOpenGLIsMissingAndExitsWithoutCrashing) {
    QTemporaryDir dossier;
    QProcess programme;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // the offscreen platform has no OpenGL
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dossier.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), dossier.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dossier.path());
    programme.setProcessEnvironment(env);
    programme.start(QStringLiteral(VELMORA_APP_DIR) + QStringLiteral("/velmora3d"), {});
    ASSERT_TRUE(programme.waitForFinished(20000));
    EXPECT_EQ(programme.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programme.exitCode(), 1);
    EXPECT_TRUE(programme.readAllStandardError().contains("OpenGL n'est pas disponible"));
}
