// Receives shots handed over by another program of the same user: a local socket that accepts
// exactly one block of 60 bytes (fichiers/CopieCoup.h) per connection, read without ever blocking the
// user interface. Each client gets one answer line, "OK" or "REFUS <reason>", then is closed.
#pragma once

#include <QObject>
#include <QString>

#include "fichiers/CopieCoup.h"

class QLocalServer;
class QLocalSocket;
class QTimer;

class TServeurCoup : public QObject {
    Q_OBJECT

  public:
    // a client that has not sent its block within this delay is dropped
    static constexpr int DelaiClientMs = 3000;
    void SetDelaiClient(int ms) { delaiClient_ = ms; }
    // clients served at once; more are closed straight away
    static constexpr int NbClientsMax = 8;

    explicit TServeurCoup(QObject* parent = nullptr);
    ~TServeurCoup() override;

    // listens on the socket file `chemin` (only the same user may connect); false with the reason
    // when its folder is not the user's own, another running program already listens there, or
    // the socket cannot be created. In the second case it tries again every DelaiRepriseMs and
    // takes over when that program has closed (EcouteReprise).
    bool Ecoute(const QString& chemin, QString* erreur = nullptr);
    static constexpr int DelaiRepriseMs = 5000;
    void SetDelaiReprise(int ms) { delaiReprise_ = ms; }
    bool EnEcoute() const;
    QString Chemin() const;

  signals:
    void CoupRecu(const TCopieCoup& coup);
    // a block was refused; nothing was changed
    void CoupRefuse(const QString& raison);
    // the program that held the socket closed: this one now receives the shots
    void EcouteReprise();

  private:
    void NouvelleConnexion();
    void Lit(QLocalSocket* client);
    void Termine(QLocalSocket* client, const QString& reponse);

    void EssaieReprise();

    QLocalServer* serveur_;
    QTimer* reprise_;
    QString cheminAttendu_;
    int delaiReprise_ = DelaiRepriseMs;
    int nbClients_ = 0;
    int delaiClient_ = DelaiClientMs;
};
