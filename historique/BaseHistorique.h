// The history database: every attempt, drill and match in one SQLite file (Debian's libsqlite3,
// no Qt). WAL journal, synchronous commits, one transaction per attempt, so an attempt written is
// never lost, even if the program is killed right after; a busy timeout lets two instances write
// to it at once. A file that is not our database (another program's, or corrupt) is refused with
// its reason and never written to; a database of an earlier version is migrated on opening.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "jeu/PackEntrainement.h"
#include "jeu/PartieCarambole.h"
#include "moteurs/AnalyseTentative.h"

struct sqlite3;

// the file in the user's data folder, where the desktop program keeps it:
// $XDG_DATA_HOME (or ~/.local/share) /Velmora3D/historique.sqlite
std::string CheminHistoriqueParDefaut();

// one attempt, as written when the shot ends (the analysis completes it later)
struct TTentative {
    std::string Joueur;
    std::string EmpreinteExercice;  // empty: not a drill
    std::int64_t Quand = 0;         // seconds since 1970 (UTC)
    TModeDeJeu Mode = j3Bandes;
    TQueueDegres Queue;
    std::array<TCentreBille, 3> Billes{};  // the player's ball, the other cue ball, the red, at the start
    bool Reussi = false;
    bool FausseQueue = false;
};

// an unfinished match as stored: enough to resume it
struct TPartieStockee {
    std::int64_t Id = 0;
    TReglesPartie Regles;
    TPositionBilles Depart{};
    std::vector<TCoupPartie> Coups;
};

class TBaseHistorique {
public:
    TBaseHistorique() = default;
    ~TBaseHistorique();
    TBaseHistorique(const TBaseHistorique&) = delete;
    TBaseHistorique& operator=(const TBaseHistorique&) = delete;

    // Opens the file, creating it when missing, and migrates it to the current version. False
    // with the reason when it is not our database, corrupt, of a later version or cannot be
    // written; the file is then left exactly as it was.
    bool Ouvre(const std::string& fichier, std::string* erreur = nullptr);
    void Ferme();
    bool Ouverte() const { return base_ != nullptr; }
    const std::string& Fichier() const { return fichier_; }
    int Version() const;

    // the pack and its drills, under their fingerprints (titles and path brought up to date)
    bool EnregistrePack(const TPackEntrainement& pack, std::string* erreur = nullptr);
    // one transaction; the attempt's row number, or nullopt with the reason
    std::optional<std::int64_t> AjouteTentative(const TTentative& t, std::string* erreur = nullptr);
    // the analysis of an attempt, when it is done
    bool CompleteTentative(std::int64_t id, const TResultatAnalyse& analyse, std::string* erreur = nullptr);
    std::int64_t NombreTentatives();

    // matches: started, each shot with its attempt (one transaction), a shot taken back, and the
    // last unfinished one to resume
    std::optional<std::int64_t> CommencePartie(const TPartieCarambole& partie, std::int64_t quand,
                                               std::string* erreur = nullptr);
    // the match after its new last shot; the attempt row of that shot when t is given
    std::optional<std::int64_t> EnregistreCoup(std::int64_t id, const TPartieCarambole& partie,
                                               const TTentative& t, std::string* erreur = nullptr);
    // the match after an undo: its last stored shot goes (its attempt stays, out of the match)
    bool AnnuleCoup(std::int64_t id, const TPartieCarambole& partie, std::string* erreur = nullptr);
    // a match left unfinished on purpose: no longer offered to resume
    bool AbandonnePartie(std::int64_t id, std::string* erreur = nullptr);
    std::optional<TPartieStockee> PartieEnCours(std::string* erreur = nullptr);

    // best routes kept by position (the cache of the attempts' analysis)
    std::optional<TMeilleureRoute> RouteEnCache(const std::string& empreinte);
    void RangeRoute(const std::string& empreinte, const TMeilleureRoute& route);

    // for the statistics' queries: the connection and the lock every use of it takes
    sqlite3* Connexion() const { return base_; }
    std::mutex& Verrou() const { return verrou_; }

private:
    bool Refuse(std::string* erreur, const std::string& raison);
    bool Verifie(std::string& raison);
    void Migre();
    std::int64_t IdJoueur(const std::string& nom);
    std::int64_t InsereTentative(const TTentative& t, std::int64_t partie);
    void EcritScore(std::int64_t id, const TPartieCarambole& partie);

    sqlite3* base_ = nullptr;
    std::string fichier_;
    mutable std::mutex verrou_;
};

// the cache of best routes in the database: the analysis thread may call it
class TCacheRoutesHistorique : public TCacheRoutes {
public:
    explicit TCacheRoutesHistorique(std::shared_ptr<TBaseHistorique> base) : base_(std::move(base)) {}
    std::optional<TMeilleureRoute> Cherche(const std::string& empreinte) override;
    void Range(const std::string& empreinte, const TMeilleureRoute& route) override;

private:
    std::shared_ptr<TBaseHistorique> base_;
};

// the 9 coordinates of three centres as stored ("x y z x y z x y z", "." always); false when the
// text is not that
std::string TexteBilles(const std::array<TCentreBille, 3>& billes);
bool LitBilles(const std::string& texte, std::array<TCentreBille, 3>& billes);
