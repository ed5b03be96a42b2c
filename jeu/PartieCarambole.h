// A carom match between two players: whose turn it is and with which ball, the points, innings
// (reprises), series and general average of each, the end at the distance or at the innings
// limit, and the undo of the last shot. The score is always recomputed from the list of shots, so
// an undo or a match resumed from its stored shots gives exactly the score it had.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "jeu/TableJeu.h"
#include "sim/C1_Types.h"

struct TReglesPartie {
    std::array<std::string, 2> Joueurs{"Joueur A", "Joueur B"};
    TModeDeJeu Mode = j3Bandes;
    int Distance = 15;       // points to reach, at least 1
    int LimiteReprises = 0;  // 0: none
    bool Egalisation =
        true;  // when the starting player reaches the distance, the other plays one last inning

    // the limits every match goes through: a distance of 1 to 10000, a limit of 0 to 10000
    TReglesPartie Bornees() const;
};

using TPositionBilles = std::array<TCentreBille, 3>;  // white, yellow, red

// one shot of the match: who played it, whether it scored, the balls before and after
struct TCoupPartie {
    int Joueur = 0;
    bool Point = false;
    TPositionBilles Avant{};
    TPositionBilles Apres{};
};

struct TScoreJoueur {
    int Points = 0;
    int Reprises = 0;  // innings begun
    int Serie = 0;     // points of the inning in progress (or of the last one when the match is over)
    int MeilleureSerie = 0;
    // general average: points per inning, 0 before the first inning
    double Moyenne() const { return Reprises > 0 ? double(Points) / double(Reprises) : 0.0; }
};

enum class TFinPartie { EnCours, Distance, LimiteReprises };

class TPartieCarambole {
public:
    TPartieCarambole(const TReglesPartie& regles, const TPositionBilles& depart);

    const TReglesPartie& Regles() const { return regles_; }
    // the player at the table: 0 (player A, the white) or 1 (player B, the yellow)
    int Joueur() const { return joueur_; }
    // the ball the player at the table strikes
    static TBilleJeu BilleDe(int joueur) { return joueur == 0 ? bjBlanche : bjJaune; }
    TBilleJeu BilleJoueur() const { return BilleDe(joueur_); }

    // Records a shot of the player at the table from where the balls lie (Positions()); a point
    // keeps the turn, a miss passes it. False (nothing recorded) when the match is over.
    bool Joue(bool point, const TPositionBilles& apres);
    // Takes the last shot back: score and balls as before it. False when no shot was played.
    bool Annule();
    // the same match with these shots replayed (a match resumed); false, and the match as it was,
    // when a shot is not the one its turn allows or comes after the end
    bool Reprend(const std::vector<TCoupPartie>& coups);

    const TScoreJoueur& Score(int joueur) const { return scores_[size_t(joueur & 1)]; }
    // points of each inning of a player, in order (the inning in progress last)
    const std::vector<int>& PointsParReprise(int joueur) const { return reprises_[size_t(joueur & 1)]; }
    TFinPartie Fin() const { return fin_; }
    bool Finie() const { return fin_ != TFinPartie::EnCours; }
    // the winner once over: 0 or 1, −1 for a draw or a match in progress
    int Gagnant() const;
    // the inning of the other player that can still draw level (the starting player reached the distance)
    bool RepriseEgalisation() const { return egalisation_; }

    // where the next shot starts
    const TPositionBilles& Positions() const { return coups_.empty() ? depart_ : coups_.back().Apres; }
    const TPositionBilles& Depart() const { return depart_; }
    const std::vector<TCoupPartie>& Coups() const { return coups_; }

private:
    // the score from scratch, shot by shot
    void Recalcule();
    // the state after one more shot; false when the match was already over
    bool Applique(const TCoupPartie& coup);
    void PasseLaMain();

    TReglesPartie regles_;
    TPositionBilles depart_;
    std::vector<TCoupPartie> coups_;

    // derived from coups_
    int joueur_ = 0;
    bool repriseOuverte_ = false;  // the player at the table has played in this inning
    bool egalisation_ = false;
    TFinPartie fin_ = TFinPartie::EnCours;
    std::array<TScoreJoueur, 2> scores_{};
    std::array<std::vector<int>, 2> reprises_{};
};
