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

    // -- controls
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

    // -- operations
    void NouvelleBtnClick();
    void ReprendreBtnClick();
    void AnnulerBtnClick();
    // the main window fired a shot: the match's next shot
    void SurCoupJoue();
    const TPartieCarambole* Partie() const { return partie_ ? &*partie_ : nullptr; }

private:
    // the balls where the match stands and the ball of the player at the table
    void PlaceBilles();
    void AfficheScore();

    std::shared_ptr<TBaseHistorique> base_;
    std::optional<TPartieCarambole> partie_;
    std::int64_t id_ = 0;
};
