#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <memory>

#include "app/ServeurCoup.h"
#include "tests/app/Fenetres.h"
#include "widgets/CaseLed.h"

namespace {

TCopieCoup CoupExemple() {
    TCopieCoup c;
    c.Effet = 0.5f;
    c.Hauteur = -0.25f;
    c.Visee = 80;
    c.Vitesse = 350;
    c.Inclinaison = 5;
    c.Masse = 500;
    c.Joueur = {10, -60, 3.075f};
    c.NonJoueur = {-20, -40, 3.075f};
    c.Rouge = {5, 80, 3.075f};
    return c;
}

QByteArray Bloc(const TCopieCoup& c) {
    const auto b = EncodeCopieCoup(c);
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

// waits, letting the events through, until the condition holds or a few seconds have passed
template <class F>
bool Attend(F condition, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// sends raw bytes as another program would; the answer line, empty when none came
QString Envoie(const QString& chemin, const QByteArray& octets) {
    QLocalSocket s;
    s.connectToServer(chemin);
    if (!s.waitForConnected(2000)) return QStringLiteral("(pas de connexion)");
    s.write(octets);
    s.flush();
    QByteArray reponse;
    Attend([&] {
        reponse += s.readAll();
        return reponse.contains('\n') || s.state() != QLocalSocket::ConnectedState;
    });
    reponse += s.readAll();
    return QString::fromUtf8(reponse).trimmed();
}

struct TServeur {
    QTemporaryDir dossier;
    QString chemin = dossier.filePath(QStringLiteral("coup.sock"));
    TServeurCoup serveur;
    QSignalSpy recus{&serveur, &TServeurCoup::CoupRecu};
    QSignalSpy refus{&serveur, &TServeurCoup::CoupRefuse};
    TServeur() { EXPECT_TRUE(serveur.Ecoute(chemin)); }
};

}  // namespace

TEST(ServeurCoup, SocketIsInAFolderOnlyTheUserMayEnter) {
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR"), tmpdir = qgetenv("TMPDIR");
    QTemporaryDir session, tmp;
    // the session's private folder when there is one
    qputenv("XDG_RUNTIME_DIR", session.path().toUtf8());
    EXPECT_EQ(QString::fromStdString(CheminServeurCoup()),
              QDir(session.path()).filePath(QString::fromStdString(NomServeurCoup())));
    // else a folder of the user's own in the temporary folder, made private before use
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", tmp.path().toUtf8());
    const QString chemin = QString::fromStdString(CheminServeurCoup());
    EXPECT_EQ(QFileInfo(chemin).absolutePath(), QFileInfo(tmp.path()).canonicalFilePath() +
                                                    QStringLiteral("/velmora3d-") +
                                                    QString::number(getuid()));
    EXPECT_TRUE(QString::fromStdString(NomServeurCoup()).startsWith(QStringLiteral("velmora3d-")));
    TServeurCoup serveur;
    ASSERT_TRUE(serveur.Ecoute(chemin));
    struct stat st {};
    ASSERT_EQ(::stat(QFileInfo(chemin).absolutePath().toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    if (xdg.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", xdg);
    if (tmpdir.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmpdir);
}

TEST(ServeurCoup, AFolderOrASocketOthersCouldHaveMadeIsRefused) {
    QTemporaryDir tmp;
    const QString ouvert = QDir(tmp.path()).filePath(QStringLiteral("ouvert"));
    QDir().mkpath(ouvert);
    QFile::setPermissions(ouvert, QFile::permissions(ouvert) | QFile::WriteOther | QFile::ExeOther);
    TServeurCoup serveur;
    QString raison;
    EXPECT_FALSE(serveur.Ecoute(QDir(ouvert).filePath(QStringLiteral("c.sock")), &raison));
    EXPECT_TRUE(raison.contains(QStringLiteral("ouvert à d'autres utilisateurs"))) << raison.toStdString();
    // a link is not a folder
    const QString lien = QDir(tmp.path()).filePath(QStringLiteral("lien"));
    ASSERT_TRUE(QFile::link(tmp.path(), lien));
    EXPECT_FALSE(serveur.Ecoute(QDir(lien).filePath(QStringLiteral("c.sock")), &raison));
    if (geteuid() != 0) GTEST_SKIP() << "another user's files need root to be made";
    // another user's folder, or another user's file at the socket's name
    const QString autre = QDir(tmp.path()).filePath(QStringLiteral("autre"));
    QDir().mkpath(autre);
    ASSERT_EQ(::chown(autre.toUtf8().constData(), 65534, 65534), 0);
    EXPECT_FALSE(serveur.Ecoute(QDir(autre).filePath(QStringLiteral("c.sock")), &raison));
    EXPECT_TRUE(raison.contains(QStringLiteral("appartient à un autre utilisateur"))) << raison.toStdString();
    const QString piege = QDir(tmp.path()).filePath(QStringLiteral("c.sock"));
    QFile(piege).open(QIODevice::WriteOnly);
    ASSERT_EQ(::chown(piege.toUtf8().constData(), 65534, 65534), 0);
    EXPECT_FALSE(serveur.Ecoute(piege, &raison));
    EXPECT_TRUE(raison.contains(QStringLiteral("socket"))) << raison.toStdString();
    EXPECT_TRUE(QFileInfo(piege).isFile());
    EXPECT_FALSE(serveur.EnEcoute());
}

TEST(ServeurCoup, TheSecondProgramTakesOverWhenTheFirstCloses) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("coup.sock"));
    auto premier = std::make_unique<TServeurCoup>();
    ASSERT_TRUE(premier->Ecoute(chemin));
    TServeurCoup second;
    second.SetDelaiReprise(50);
    QSignalSpy reprise(&second, &TServeurCoup::EcouteReprise);
    QString raison;
    EXPECT_FALSE(second.Ecoute(chemin, &raison));
    EXPECT_TRUE(raison.contains(QStringLiteral("jusqu'à sa fermeture"))) << raison.toStdString();
    premier.reset();
    ASSERT_TRUE(Attend([&] { return second.EnEcoute(); }));
    EXPECT_EQ(reprise.size(), 1);
    EXPECT_EQ(Envoie(chemin, Bloc(CoupExemple())), QStringLiteral("OK"));
}

TEST(ServeurCoup, OnlyTheUserMayUseTheSocket) {
    TServeur s;
    const QFileInfo f(s.chemin);
    ASSERT_TRUE(f.exists());
    EXPECT_FALSE(f.permissions() &
                 (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
}

TEST(ServeurCoup, AValidBlockIsReceivedAndAnswered) {
    TServeur s;
    EXPECT_EQ(Envoie(s.chemin, Bloc(CoupExemple())), QStringLiteral("OK"));
    ASSERT_EQ(s.recus.size(), 1);
    EXPECT_EQ(s.recus.first().first().value<TCopieCoup>(), CoupExemple());
    EXPECT_EQ(s.refus.size(), 0);
}

TEST(ServeurCoup, ShortLongAndNonFiniteBlocksAreRefusedWithAReason) {
    TServeur s;
    QByteArray nan = Bloc(CoupExemple());
    const float pasUnNombre = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(nan.data() + 4 * 7, &pasUnNombre, 4);
    QByteArray infini = Bloc(CoupExemple());
    const float inf = std::numeric_limits<float>::infinity();
    std::memcpy(infini.data(), &inf, 4);
    const struct {
        QByteArray bloc;
        const char* raison;
    } cas[] = {{Bloc(CoupExemple()) + QByteArray("x"), "plus de 60 octets"},
               {nan, "valeur n° 7 non finie"},
               {infini, "valeur n° 0 non finie"},
               {QByteArray(4096, '\0'), "plus de 60 octets"}};
    for (const auto& c : cas) {
        const QString reponse = Envoie(s.chemin, c.bloc);
        EXPECT_TRUE(reponse.startsWith(QStringLiteral("REFUS "))) << reponse.toStdString();
        EXPECT_TRUE(reponse.contains(QString::fromUtf8(c.raison))) << reponse.toStdString();
    }
    EXPECT_EQ(s.recus.size(), 0);
    EXPECT_EQ(s.refus.size(), 4);
    // a short block is known when the client leaves
    {
        QLocalSocket client;
        client.connectToServer(s.chemin);
        ASSERT_TRUE(client.waitForConnected(2000));
        client.write(QByteArray(12, '\1'));
        client.flush();
        client.disconnectFromServer();
    }
    ASSERT_TRUE(Attend([&] { return s.refus.size() == 5; }));
    EXPECT_EQ(s.refus.last().first().toString(),
              QStringLiteral("coup reçu refusé : 12 octets au lieu de 60"));
    EXPECT_EQ(s.recus.size(), 0);
}

TEST(ServeurCoup, AnIdleClientIsDroppedWithoutBlockingOthers) {
    TServeur s;
    s.serveur.SetDelaiClient(200);
    QLocalSocket lent;
    lent.connectToServer(s.chemin);
    ASSERT_TRUE(lent.waitForConnected(2000));
    lent.write(QByteArray(10, '\0'));
    lent.flush();
    // another program is served meanwhile
    EXPECT_EQ(Envoie(s.chemin, Bloc(CoupExemple())), QStringLiteral("OK"));
    ASSERT_TRUE(Attend([&] { return lent.state() != QLocalSocket::ConnectedState; }));
    EXPECT_TRUE(s.refus.last().first().toString().contains(QStringLiteral("incomplet")));
}

TEST(ServeurCoup, ASecondProgramDoesNotStealTheSocketButAStaleFileIsReplaced) {
    TServeur s;
    TServeurCoup second;
    QString raison;
    EXPECT_FALSE(second.Ecoute(s.chemin, &raison));
    EXPECT_TRUE(raison.contains(QStringLiteral("déjà"))) << raison.toStdString();
    EXPECT_EQ(Envoie(s.chemin, Bloc(CoupExemple())), QStringLiteral("OK"));
    // a file left behind by a program that stopped
    const QString vieux = s.dossier.filePath(QStringLiteral("vieux.sock"));
    QFile(vieux).open(QIODevice::WriteOnly);
    TServeurCoup troisieme;
    EXPECT_TRUE(troisieme.Ecoute(vieux));
}

TEST(ServeurCoup, TheMainWindowPlaysAHandedOverShotWithAllTrajectories) {
    TFenetres w;
    w.demarrage.CheminServeurCoup = w.dossier.filePath(QStringLiteral("velmora.sock"));
    TMainVel3DFrm& f = w.Cree();
    Controle<TCaseLed>(f, "TirAutoChk")->setChecked(true);
    Controle<QAction>(f, "AnimationMnu")->setChecked(true);
    Controle<QAction>(f, "TrajetRougeMnu")->trigger();
    EXPECT_EQ(Envoie(w.demarrage.CheminServeurCoup, Bloc(CoupExemple())), QStringLiteral("OK"));
    ASSERT_TRUE(Attend([&] { return w.B().Simu->NbPhotos > 0; }));
    TGLBillardVelmora& b = w.B();
    EXPECT_FLOAT_EQ(b.Queue->Effet(), 0.5f);
    EXPECT_FLOAT_EQ(b.Queue->Hauteur(), -0.25f);
    EXPECT_NEAR(b.Queue->Visee(), 80.0f, 1e-4f);
    EXPECT_FLOAT_EQ(b.Queue->Vitesse(), 350.0f);
    EXPECT_NEAR(b.Queue->Inclinaison(), 5.0f, 1e-4f);
    EXPECT_FLOAT_EQ(b.Queue->Masse(), 500.0f);
    // the shot started from the handed-over balls
    EXPECT_DOUBLE_EQ(b.Simu->Trajets[1][0].Position.x, 10.0);
    EXPECT_DOUBLE_EQ(b.Simu->Trajets[2][0].Position.y, -40.0);
    EXPECT_DOUBLE_EQ(b.Simu->Trajets[3][0].Position.y, 80.0);
    EXPECT_FALSE(Controle<TCaseLed>(f, "TirAutoChk")->isChecked());
    EXPECT_FALSE(Controle<QAction>(f, "AnimationMnu")->isChecked());
    EXPECT_TRUE(Controle<QAction>(f, "TrajetRougeMnu")->isChecked());
    EXPECT_FALSE(b.Rouge->TrajetVide());
}

TEST(ServeurCoup, AHandedOverShotKeepsItsBallsWhereverTheBallsStoodBefore) {
    TFenetres w;
    w.demarrage.CheminServeurCoup = w.dossier.filePath(QStringLiteral("velmora.sock"));
    w.Cree();
    // the player's ball on the spot where the other cue ball stands now, and the other way round
    TCopieCoup coup = CoupExemple();
    const TVecteur3f nonJoueur = w.B().BilleNonJoueur->LitPosition();
    const TVecteur3f joueur = w.B().BilleJoueur->LitPosition();
    coup.Joueur = {nonJoueur.x, nonJoueur.y, nonJoueur.z};
    coup.NonJoueur = {joueur.x, joueur.y, joueur.z};
    EXPECT_EQ(Envoie(w.demarrage.CheminServeurCoup, Bloc(coup)), QStringLiteral("OK"));
    ASSERT_TRUE(Attend([&] { return w.B().Simu->NbPhotos > 0; }));
    EXPECT_EQ(w.B().Simu->Trajets[1][0].Position.x, double(nonJoueur.x));
    EXPECT_EQ(w.B().Simu->Trajets[1][0].Position.y, double(nonJoueur.y));
    EXPECT_EQ(w.B().Simu->Trajets[2][0].Position.x, double(joueur.x));
    EXPECT_EQ(w.B().Simu->Trajets[2][0].Position.y, double(joueur.y));
}

TEST(ServeurCoup, TheMainWindowRefusesABadBlockInTheStatusBarAndChangesNothing) {
    TFenetres w;
    w.demarrage.CheminServeurCoup = w.dossier.filePath(QStringLiteral("velmora.sock"));
    TMainVel3DFrm& f = w.Cree();
    const float visee = w.B().Queue->Visee();
    QByteArray nan = Bloc(CoupExemple());
    const float pasUnNombre = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(nan.data() + 8, &pasUnNombre, 4);
    EXPECT_TRUE(Envoie(w.demarrage.CheminServeurCoup, nan).startsWith(QStringLiteral("REFUS")));
    QCoreApplication::processEvents();
    EXPECT_EQ(f.TextePanneau(3), QStringLiteral("coup reçu refusé : valeur n° 2 non finie"));
    EXPECT_EQ(w.B().Queue->Visee(), visee);
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
    // a short one too, known when the client leaves
    {
        QLocalSocket client;
        client.connectToServer(w.demarrage.CheminServeurCoup);
        ASSERT_TRUE(client.waitForConnected(2000));
        client.write(QByteArray(59, '\0'));
        client.flush();
        client.disconnectFromServer();
    }
    ASSERT_TRUE(
        Attend([&] { return f.TextePanneau(3).contains(QStringLiteral("59 octets au lieu de 60")); }));
    EXPECT_EQ(w.B().Simu->NbPhotos, 0);
}

TEST(ServeurCoup, VelmoraSimSendHandsAPositionFileToTheRunningProgram) {
    TFenetres w;
    // the command line finds the socket in $XDG_RUNTIME_DIR, as the program does
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/vs-XXXXXX"));
    ASSERT_TRUE(tmp.isValid());
    const QString chemin = QDir(tmp.path()).filePath(QString::fromStdString(NomServeurCoup()));
    w.demarrage.CheminServeurCoup = chemin;
    TMainVel3DFrm& f = w.Cree();
    ASSERT_TRUE(f.ServeurCoup()->EnEcoute());

    QProcess envoi;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
    envoi.setProcessEnvironment(env);
    envoi.start(QStringLiteral(VELMORA_SIM_EXE), {QStringLiteral("send"), Exemple("trois_bandes.vel")});
    ASSERT_TRUE(Attend([&] { return envoi.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(envoi.exitCode(), 0) << envoi.readAllStandardError().toStdString();
    EXPECT_TRUE(envoi.readAllStandardOutput().contains("coup transmis"));
    QCoreApplication::processEvents();

    // the same shot as opening the file in the program
    ASSERT_GT(w.B().Simu->NbPhotos, 0);
    const int photos = w.B().Simu->NbPhotos;
    const TVecteur fin = w.B().Simu->Trajets[1][photos].Position;
    TFenetres v;
    v.Cree();
    ASSERT_TRUE(v.F().OuvrePosition(Exemple("trois_bandes.vel")));
    EXPECT_EQ(v.B().Simu->NbPhotos, photos);
    EXPECT_DOUBLE_EQ(v.B().Simu->Trajets[1][photos].Position.x, fin.x);
    EXPECT_DOUBLE_EQ(v.B().Simu->Trajets[1][photos].Position.y, fin.y);

    // without a program listening the command says so
    w.principale.reset();
    QProcess absent;
    absent.setProcessEnvironment(env);
    absent.start(QStringLiteral(VELMORA_SIM_EXE), {QStringLiteral("send"), Exemple("trois_bandes.vel")});
    ASSERT_TRUE(absent.waitForFinished(15000));
    EXPECT_EQ(absent.exitCode(), 3);
    EXPECT_TRUE(absent.readAllStandardError().contains("aucun Velmora 3D"));
}
