// The recorded-shot window: a real shot tracked from video beside the computed one. Opening a
// recording places the balls where it starts and draws its paths dotted, with a mark at every
// sample; during the animation ghost balls show where the recorded balls were at the simulated
// time of the photo shown. The drawings belong to the recording's position and to the window:
// they go when the window closes, when the balls stand elsewhere and when the table is cleared,
// and come back with a shot from that position while the window is open. The window shows
// the two scores of the shot last computed, a chart of the player's ball's distance over time,
// the recorded contacts the shot plays with their differences (instant, place, angle, speed) and
// where the two part, and fits the cue ("Ajuster") on a background thread, then plays the fitted
// shot through the cue model like any shot of the cue window.
#pragma once

#include <QTimer>
#include <array>
#include <atomic>
#include <memory>
#include <thread>

#include "moteurs/AjustementCoup.h"
#include "moteurs/FideliteCoup.h"
#include "tools/FenetreOutil.h"
#include "view3d/GLBillardVelmora.h"

class QLabel;
class QProgressBar;
class QTableWidget;
class QToolButton;
class TGrapheEcarts;
class TLignes;
class TSphere;

class TEnregistrementFrm : public TFenetreOutil {
    Q_OBJECT

public:
    static constexpr int ContexteAide = 1460;

    explicit TEnregistrementFrm(THoteOutils& hote, QWidget* parent = nullptr);
    ~TEnregistrementFrm() override;

    // Reads a recording, places the balls where it starts, aims along its first samples and
    // draws its paths; false after telling the user why it cannot be read (nothing changes then).
    bool Ouvre(const QString& nom);
    bool Ouvert() const { return coup_ != nullptr; }
    const TCoupEnregistre* Coup() const { return coup_.get(); }
    // instant of the cue impact on the recording's clock: estimated, then fitted
    double Frappe() const { return frappe_; }
    // the scores of the shot last computed against the recording (cm)
    const TScoreCoup& Scores() const { return scores_; }
    // the contacts the recording shows, and the shot last computed against them
    const TEvenementsCoup& Evenements() const { return evenements_; }
    const TFideliteCoup& Comparaison() const { return comparaison_; }

    // the main window computed a shot: scores and chart
    void CoupJoue();
    // the balls stand at `actuel`: the drawings and the scores are only for the recording's position
    void MajValidite(const TEtatPosition& actuel);
    bool Perimee() const { return perimee_; }
    // the table is cleared: paths, marks and ghosts go (a shot from the recording's position
    // brings them back)
    void EffaceTraces() { EffaceScene(); }
    // the animation shows the shot at time t (s from the cue impact); t < 0: it has ended
    void ImageAnimee(double t);
    // the recorded balls at time t of the shot (for the ghosts)
    std::array<TVecteur, NbBilles + 1> PositionsEnregistrees(double t) const;
    const std::array<TSphere*, NbBilles>& Fantomes() const { return fantomes_; }
    const std::array<TLignes*, NbBilles>& Traces() const { return traces_; }

    void AjusterBtnClick();
    void ArretBtnClick();
    bool EnCours() const { return fil_.joinable(); }
    // the last fit's result (after AjustementTermine)
    const TResultatAjustement& DernierAjustement() const { return resultat_; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

signals:
    // a fit has ended (finished or stopped) and, unless stopped before any shot, was played
    void AjustementTermine();

private:
    // the controls are the window's own; the tests find them by their object names
    QLabel* FichierLbl = nullptr;
    QLabel* ScoresLbl = nullptr;
    QLabel* QueueLbl = nullptr;
    TGrapheEcarts* Graphe = nullptr;
    QLabel* RouteLbl = nullptr;
    QTableWidget* ContactsGrid = nullptr;
    QToolButton* AjusterBtn = nullptr;
    QToolButton* ArretBtn = nullptr;
    QProgressBar* AvancementBar = nullptr;
    void TraceEnregistrement();
    void EffaceScene();
    void Surveille();
    void Termine();
    void MajScores();
    void MajContacts();

    std::unique_ptr<TCoupEnregistre> coup_;
    double frappe_ = 0;
    TScoreCoup scores_;
    TEvenementsCoup evenements_;
    TFideliteCoup comparaison_;
    std::array<TLignes*, NbBilles> traces_{};
    std::array<TSphere*, NbBilles> fantomes_{};

    // the fit on its thread; the window polls it
    std::thread fil_;
    std::atomic<bool> arret_{false};
    std::atomic<bool> fini_{false};
    std::atomic<double> part_{0};
    TResultatAjustement resultat_;
    QTimer minuterie_;
    // where the recording puts the balls, and whether they stand elsewhere now
    TEtatPosition depart_;
    bool perimee_ = false;
};
