// The drill panel: a pack opened from "Fichiers > Ouvrir un entraînement…", its drill in play
// (title, notes, target route), "Recommencer", "Suivant", "Précédent", and after each attempt the
// result line: the attempt's robustness and the position's best route, computed in the background
// (TAnalyseTentative) while the window goes on; every attempt is written to the history at once
// and completed when its analysis ends. A button shows the best route.
#pragma once

#include <QTimer>
#include <memory>
#include <optional>

#include "historique/BaseHistorique.h"
#include "jeu/PackEntrainement.h"
#include "moteurs/AnalyseTentative.h"
#include "tools/FenetreOutil.h"

class QLabel;
class QLineEdit;
class QToolButton;

class TEntrainementFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAideEntrainement = 1480;

    // base may be null or closed: the drills work without history
    TEntrainementFrm(THoteOutils& hote, std::shared_ptr<TBaseHistorique> base, QWidget* parent = nullptr);
    ~TEntrainementFrm() override;

    // -- operations
    // false after telling the user why (the pack in play stays)
    bool OuvrePack(const QString& fichier);
    void RecommencerBtnClick();
    void SuivantBtnClick();
    void PrecedentBtnClick();
    void RouteBtnClick();
    // the player fired a shot: an attempt of the drill in play when it was played from the drill
    // (its balls, its player's ball and mode), else said and not counted
    void SurCoupJoue();

    bool PackOuvert() const { return parcours_.has_value(); }
    const TParcoursPack* Parcours() const { return parcours_ ? &*parcours_ : nullptr; }
    // the last attempt's analysis has ended
    bool AnalyseFinie() const { return !analyse_; }
    std::int64_t NbThreads = 0;
    // how far (cm) a ball may lie from the drill's position for a shot to be an attempt of it
    static constexpr double ToleranceBilles = 0.01;

signals:
    void AnalyseTerminee();

private:
    // the controls are the window's own; the tests find them by their object names
    QLabel* PackLbl = nullptr;
    QLabel* TitreLbl = nullptr;
    QLabel* NotesLbl = nullptr;
    QLineEdit* JoueurEdit = nullptr;
    QToolButton* PrecedentBtn = nullptr;
    QToolButton* RecommencerBtn = nullptr;
    QToolButton* SuivantBtn = nullptr;
    QLabel* ResultatLbl = nullptr;
    QToolButton* RouteBtn = nullptr;

    void AfficheExercice();
    void Suivi();
    QString LigneResultat(const TResultatAnalyse& r, bool fini) const;
    static QString LigneAnalyse(const QString& verdict, const TResultatAnalyse& r, bool fini);
    // why the shot just played is not an attempt of the drill in play; empty when it is
    QString HorsExercice() const;
    void RangeRoutesDuPack();

    std::shared_ptr<TBaseHistorique> base_;
    std::shared_ptr<TCacheRoutes> cache_;
    std::optional<TParcoursPack> parcours_;
    std::unique_ptr<TAnalyseTentative> analyse_;
    std::int64_t idTentative_ = 0;
    bool reussi_ = false;
    bool fausseQueue_ = false;
    bool routeMontree_ = false;
    QString erreurHistorique_;  // why the last attempt, or its analysis, is not in the history
    std::optional<TMeilleureRoute> derniereRoute_;
    QTimer suivi_;
};
