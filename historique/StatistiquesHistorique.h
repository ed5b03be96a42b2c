// What the history database tells of a player's progress: success rate and mean robustness of the
// made shots, per drill (the weakest first), per day and per week, and the general average of each
// match; in figures for `velmora-sim stats` and the progress window, as JSON, and every attempt
// exported to CSV. Aggregated by SQLite: quick on a hundred thousand attempts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "historique/BaseHistorique.h"

struct TCompteTentatives {
    std::int64_t Tentatives = 0;
    std::int64_t Reussies = 0;
    std::optional<double> RobustesseReussies;  // mean robustness (0..1) of the made, analysed shots
    double Taux() const { return Tentatives > 0 ? double(Reussies) / double(Tentatives) : 0.0; }
};

struct TLigneExercice {
    std::string Titre;
    std::string Empreinte;
    TCompteTentatives Compte;
    std::optional<double> MeilleureRobustesse;  // of a made shot
    std::optional<double> MeilleurTaux;         // the position's best route
};

// a day or a week (by its Monday), local time, "AAAA-MM-JJ"
struct TPeriode {
    std::string Debut;
    TCompteTentatives Compte;
};

struct TLignePartie {
    std::int64_t Id = 0;
    std::int64_t Debut = 0;  // seconds since 1970
    std::string Joueurs[2];
    int Points[2] = {0, 0};
    int Reprises[2] = {0, 0};
    int MeilleureSerie[2] = {0, 0};
    int Distance = 0;
    int Etat = 0;  // 0 in progress, 1 over, 2 given up
    double Moyenne(int j) const { return Reprises[j] > 0 ? double(Points[j]) / double(Reprises[j]) : 0.0; }
};

struct TStatistiques {
    std::string Joueur;  // empty: every player
    TCompteTentatives Total;
    std::vector<TLigneExercice> Exercices;  // weakest first: lowest success rate, then lowest best robustness
    std::vector<TPeriode> Jours;
    std::vector<TPeriode> Semaines;
    std::vector<TLignePartie> Parties;  // oldest first
};

// False with the reason when the database cannot be read, or names no such player.
bool LitStatistiques(TBaseHistorique& base, const std::string& joueur, TStatistiques& stats,
                     std::string* erreur = nullptr);
std::string JsonStatistiques(const TStatistiques& stats);
// every attempt (of the player, when one is named), oldest first, one CSV line each, written
// atomically; false with the reason
bool ExporteTentativesCsv(TBaseHistorique& base, const std::string& joueur, const std::string& fichier,
                          std::string* erreur = nullptr);
// the players known, by name
std::vector<std::string> JoueursHistorique(TBaseHistorique& base);
