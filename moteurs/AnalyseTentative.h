// What a coach asks after an attempt: how forgiving the player's own stroke was (the success rate
// of the difficulty grid around that very cue, on the drill's table) and how forgiving the best
// route of the position is (the solver's easiest route, kept in a cache by the fingerprint of
// position + table + mode, so that it is computed once per position). Runs on a background
// thread; the window polls it and is never blocked. No Qt.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "moteurs/SolveurCoups.h"

// the easiest route of a position, as cached
struct TMeilleureRoute {
    std::string Libelle;  // "Rouge · longue · courte · longue · Jaune"
    TQueueDegres Queue;
    std::int64_t Essais = 0;
    std::int64_t Reussis = 0;
    double Taux() const { return Essais > 0 ? double(Reussis) / double(Essais) : 0.0; }
};

// The key of a position's best route: ball positions of photo 0, the table's constants, the mode,
// the cue mass the solver searches with and the other cue ball's name (the route's label).
std::string EmpreinteRoute(const TBillardVelmora& simu, TModeDeJeu mode, float masseQueue,
                           const std::string& nomBille2);

// Where best routes are kept between attempts (the history database, or memory). Called from the
// analysis thread: implementations are safe to call from any thread.
class TCacheRoutes {
public:
    virtual ~TCacheRoutes() = default;
    // nullopt when unknown; a position known to have no route gives a route with Essais = 0
    virtual std::optional<TMeilleureRoute> Cherche(const std::string& empreinte) = 0;
    virtual void Range(const std::string& empreinte, const TMeilleureRoute& route) = 0;
};

class TCacheRoutesMemoire : public TCacheRoutes {
public:
    std::optional<TMeilleureRoute> Cherche(const std::string& empreinte) override;
    void Range(const std::string& empreinte, const TMeilleureRoute& route) override;

private:
    std::mutex mutex_;
    std::map<std::string, TMeilleureRoute> routes_;
};

struct TOptionsAnalyse {
    TModeDeJeu Mode = j3Bandes;
    std::string NomBille2 = "Jaune";  // the other cue ball's name in the route's label
    int NbThreads = 0;                // 0: one per core
    std::int64_t Budget = TOptionsSolveur{}.Budget;
    TGrilleDifficulte Grille;  // the robustness grid (the difficulty window's default)
};

struct TResultatAnalyse {
    // the attempt itself, replayed: its verdict and ball 1's contacts until the verdict
    bool Reussi = false;
    std::vector<int> Contacts;
    // robustness: the grid around the attempt's cue
    std::int64_t Essais = 0;
    std::int64_t Reussis = 0;
    double Robustesse() const { return Essais > 0 ? double(Reussis) / double(Essais) : 0.0; }
    // the best route: nullopt when stopped before; Essais = 0 when the position has no route
    std::optional<TMeilleureRoute> Meilleure;
    bool RouteDuCache = false;
    std::string Empreinte;  // of position + table + mode
    double SecondesRobustesse = 0;
    double SecondesRoute = 0;
    bool Interrompue = false;
};

class TAnalyseTentative {
public:
    // Takes the table and photo 0's ball positions from the source (the balls at rest where the
    // attempt started) and the attempt's cue; cache may be null.
    TAnalyseTentative(const TBillardVelmora& source, const TQueueDegres& queue,
                      const TOptionsAnalyse& options, std::shared_ptr<TCacheRoutes> cache);
    ~TAnalyseTentative();
    TAnalyseTentative(const TAnalyseTentative&) = delete;
    TAnalyseTentative& operator=(const TAnalyseTentative&) = delete;

    TResultatAnalyse Execute();
    bool Demarre();
    bool Termine() const { return termine_.load(); }
    // the robustness is known (shown before the best route when that one has to be searched)
    bool RobustesseConnue() const { return robustesseConnue_.load(); }
    TResultatAnalyse Attends();
    // what is known so far (any thread)
    TResultatAnalyse Partiel() const;
    void Arrete();

private:
    void Calcule();
    void MesureRobustesse();
    void ChercheRoute();

    std::unique_ptr<TBillardVelmora> simu_;
    TQueueDegres queue_;
    TOptionsAnalyse options_;
    std::shared_ptr<TCacheRoutes> cache_;

    mutable std::mutex mutex_;
    TResultatAnalyse resultat_;
    TEvaluationDifficulte* evaluation_ = nullptr;  // the running ones, for Arrete
    TSolveurCoups* solveur_ = nullptr;
    std::atomic<bool> arret_{false};
    std::atomic<bool> enCours_{false};
    std::atomic<bool> termine_{true};
    std::atomic<bool> robustesseConnue_{false};
    std::thread fond_;
};
