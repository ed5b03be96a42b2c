// The match window: two players, a game mode, a distance and an optional innings limit; then the
// score board (points, innings, current and best series, general average of each player). Player
// A plays the white, player B the yellow: the player's ball switches at each change of turn and
// play goes on from where the balls came to rest. "Annuler le coup" takes the last shot back
// (balls and score); every shot is stored with its attempt, so an unfinished match is offered
// again ("Reprendre") after a restart.
#pragma once

#include <memory>
#include <optional>

#include "historique/BaseHistorique.h"
#include "jeu/PartieCarambole.h"
#include "tools/FenetreOutil.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QToolButton;

class TPartieFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAidePartie = 1490;

    TPartieFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent = nullptr);

    // -- operations
    void NouvelleBtnClick();
    void ReprendreBtnClick();
    void AnnulerBtnClick();
    // the player fired a shot: the match's next one when it was played from where the match stands
    // (its balls, the striker's ball, its mode), else said, not counted, and the match put back
    void SurCoupJoue();
    const TPartieCarambole* Partie() const { return partie_ ? &*partie_ : nullptr; }
    // the row of the match in the history; 0 when it is not stored
    std::int64_t IdPartie() const { return id_; }
    // how far (cm) a ball may lie from where the match left it for a shot to count
    static constexpr double ToleranceBilles = 0.01;

protected:
    void showEvent(QShowEvent* e) override;

private:
    // the controls are the window's own; the tests find them by their object names
    QLineEdit* JoueurAEdit = nullptr;
    QLineEdit* JoueurBEdit = nullptr;
    QComboBox* ModeCombo = nullptr;
    QSpinBox* DistanceEdit = nullptr;
    QSpinBox* LimiteEdit = nullptr;
    QToolButton* NouvelleBtn = nullptr;
    QToolButton* ReprendreBtn = nullptr;
    QToolButton* AnnulerBtn = nullptr;
    QTableWidget* ScoreGrid = nullptr;
    QLabel* EtatLbl = nullptr;

    // the balls where the match stands and the ball of the player at the table
    void PlaceBilles();
    void AfficheScore();
    // the score board's cells, and the line under it
    QString EtatPartie();
    // why the shot just played is not the match's; empty when it is
    QString HorsPartie() const;
    // "Reprendre" offered when the history holds an unfinished match
    void MajReprendre();
    // a write refused: the match goes on unstored, and says so
    void Desynchronise(const std::string& erreur);

    std::shared_ptr<TBaseHistorique> base_;
    std::optional<TPartieCarambole> partie_;
    std::int64_t id_ = 0;
    QString avertissement_;  // what the history refused, shown under the score
};
