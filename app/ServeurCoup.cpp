#include "app/ServeurCoup.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

namespace {

constexpr const char* ProprieteTraite = "velmoraTraite";

// the peer runs as this user (the private folder already keeps other users out)
bool MemeUtilisateur(QLocalSocket* client) {
#ifdef SO_PEERCRED
    ucred cred{};
    socklen_t taille = sizeof(cred);
    const auto fd = static_cast<int>(client->socketDescriptor());
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &taille) != 0) return false;
    return cred.uid == getuid();
#else
    Q_UNUSED(client);
    return true;
#endif
}

}  // namespace

TServeurCoup::TServeurCoup(QObject* parent)
    : QObject(parent), serveur_(new QLocalServer(this)), reprise_(new QTimer(this)) {
    serveur_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(serveur_, &QLocalServer::newConnection, this, &TServeurCoup::NouvelleConnexion);
    connect(reprise_, &QTimer::timeout, this, &TServeurCoup::EssaieReprise);
}

TServeurCoup::~TServeurCoup() {
    serveur_->close();
}

bool TServeurCoup::Ecoute(const QString& chemin, QString* erreur) {
    serveur_->close();
    reprise_->stop();
    // a folder only this user may enter: nobody else can take the name first
    std::string raison;
    if (!PrepareDossierServeurCoup(chemin.toStdString(), &raison)) {
        if (erreur) *erreur = QString::fromStdString(raison);
        return false;
    }
    // a program that answers there already receives the shots; this one takes over when it closes
    {
        QLocalSocket sonde;
        sonde.connectToServer(chemin);
        if (sonde.waitForConnected(500)) {
            sonde.abort();
            if (erreur)
                *erreur = QStringLiteral(
                              "un autre Velmora 3D reçoit déjà les coups (%1) ; ils lui restent "
                              "jusqu'à sa fermeture")
                              .arg(chemin);
            cheminAttendu_ = chemin;
            reprise_->start(delaiReprise_);
            return false;
        }
    }
    // nobody answers: a file left by a program that stopped abruptly is stale
    QLocalServer::removeServer(chemin);
    if (!serveur_->listen(chemin)) {
        if (erreur) *erreur = serveur_->errorString();
        return false;
    }
    return true;
}

bool TServeurCoup::EnEcoute() const {
    return serveur_->isListening();
}

void TServeurCoup::EssaieReprise() {
    if (Ecoute(cheminAttendu_)) emit EcouteReprise();
}

QString TServeurCoup::Chemin() const {
    return serveur_->fullServerName();
}

void TServeurCoup::NouvelleConnexion() {
    while (QLocalSocket* client = serveur_->nextPendingConnection()) {
        // too many at once, or another user: closed without reading
        if (nbClients_ >= NbClientsMax || !MemeUtilisateur(client)) {
            client->abort();
            client->deleteLater();
            continue;
        }
        ++nbClients_;
        connect(client, &QObject::destroyed, this, [this] { --nbClients_; });
        // never hold more than a block and one byte: a flood stays in the socket
        client->setReadBufferSize(static_cast<qint64>(TailleCopieCoup) + 1);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { Lit(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            Lit(client);
            // the client left before completing its block
            const auto recus = client->bytesAvailable();
            if (!client->property(ProprieteTraite).toBool() && recus > 0) {
                client->setProperty(ProprieteTraite, true);
                std::string raison;
                TCopieCoup inutile;
                DecodeCopieCoup(client->readAll().toStdString(), inutile, &raison);
                emit CoupRefuse(QString::fromStdString(raison));
            }
            client->deleteLater();
        });
        // an idle client does not keep its place for ever
        QTimer::singleShot(delaiClient_, client, [this, client] {
            if (client->property(ProprieteTraite).toBool()) return;
            const auto recus = client->bytesAvailable();
            if (recus > 0) {
                const QString raison =
                    QStringLiteral("coup reçu refusé : bloc incomplet (%1 octets en %2 ms)")
                        .arg(recus)
                        .arg(delaiClient_);
                emit CoupRefuse(raison);
                Termine(client, QStringLiteral("REFUS ") + raison);
            } else {
                Termine(client, {});
            }
        });
        Lit(client);
    }
}

void TServeurCoup::Lit(QLocalSocket* client) {
    if (client->property(ProprieteTraite).toBool()) return;
    const auto recus = client->bytesAvailable();
    if (recus < static_cast<qint64>(TailleCopieCoup)) return;
    // a longer block is refused whole
    if (recus > static_cast<qint64>(TailleCopieCoup)) {
        const QString raison =
            QStringLiteral("coup reçu refusé : plus de %1 octets").arg(static_cast<int>(TailleCopieCoup));
        emit CoupRefuse(raison);
        Termine(client, QStringLiteral("REFUS ") + raison);
        return;
    }
    const QByteArray bloc = client->read(static_cast<qint64>(TailleCopieCoup));
    TCopieCoup coup;
    std::string raison;
    if (!DecodeCopieCoup(std::string_view(bloc.constData(), static_cast<size_t>(bloc.size())), coup,
                         &raison)) {
        emit CoupRefuse(QString::fromStdString(raison));
        Termine(client, QStringLiteral("REFUS ") + QString::fromStdString(raison));
        return;
    }
    Termine(client, QStringLiteral("OK"));
    emit CoupRecu(coup);
}

void TServeurCoup::Termine(QLocalSocket* client, const QString& reponse) {
    client->setProperty(ProprieteTraite, true);
    if (client->state() == QLocalSocket::ConnectedState) {
        if (!reponse.isEmpty()) client->write((reponse + QLatin1Char('\n')).toUtf8());
        client->disconnectFromServer();
    } else {
        client->deleteLater();
    }
}
