// The scoring of a carom match, recomputed from its shots.
#include "jeu/PartieCarambole.h"

#include <algorithm>

namespace {
constexpr int kDistanceMax = 10000;
}

TReglesPartie TReglesPartie::Bornees() const {
    TReglesPartie r = *this;
    r.Distance = std::clamp(Distance, 1, kDistanceMax);
    r.LimiteReprises = std::clamp(LimiteReprises, 0, kDistanceMax);
    return r;
}

TPartieCarambole::TPartieCarambole(const TReglesPartie& regles, const TPositionBilles& depart)
    : regles_(regles.Bornees()), depart_(depart) {}

bool TPartieCarambole::Joue(bool point, const TPositionBilles& apres) {
    TCoupPartie coup;
    coup.Joueur = joueur_;
    coup.Point = point;
    coup.Avant = Positions();
    coup.Apres = apres;
    if (!Applique(coup)) return false;
    coups_.push_back(coup);
    return true;
}

bool TPartieCarambole::Annule() {
    if (coups_.empty()) return false;
    coups_.pop_back();
    Recalcule();
    return true;
}

bool TPartieCarambole::Reprend(const std::vector<TCoupPartie>& coups) {
    const std::vector<TCoupPartie> avant = coups_;
    coups_.clear();
    Recalcule();
    for (const TCoupPartie& c : coups) {
        if (c.Joueur != joueur_ || !Applique(c)) {
            coups_ = avant;
            Recalcule();
            return false;
        }
        coups_.push_back(c);
    }
    return true;
}

int TPartieCarambole::Gagnant() const {
    if (!Finie() || scores_[0].Points == scores_[1].Points) return -1;
    return scores_[0].Points > scores_[1].Points ? 0 : 1;
}

void TPartieCarambole::Recalcule() {
    joueur_ = 0;
    repriseOuverte_ = false;
    egalisation_ = false;
    fin_ = TFinPartie::EnCours;
    scores_ = {};
    reprises_ = {};
    for (const TCoupPartie& c : coups_) Applique(c);
}

void TPartieCarambole::PasseLaMain() {
    joueur_ = 1 - joueur_;
    repriseOuverte_ = false;
}

bool TPartieCarambole::Applique(const TCoupPartie& coup) {
    if (Finie()) return false;
    const int j = joueur_;
    TScoreJoueur& s = scores_[size_t(j)];
    // the first shot of a turn opens an inning
    if (!repriseOuverte_) {
        ++s.Reprises;
        s.Serie = 0;
        reprises_[size_t(j)].push_back(0);
        repriseOuverte_ = true;
    }
    if (coup.Point) {
        ++s.Points;
        ++s.Serie;
        ++reprises_[size_t(j)].back();
        s.MeilleureSerie = std::max(s.MeilleureSerie, s.Serie);
        if (s.Points < regles_.Distance) return true;
        // the starting player at the distance: the other may still draw level in one last inning
        if (j == 0 && regles_.Egalisation) {
            egalisation_ = true;
            PasseLaMain();
        } else {
            fin_ = TFinPartie::Distance;
        }
        return true;
    }
    // a miss ends the inning
    s.Serie = 0;
    if (egalisation_) {
        fin_ = TFinPartie::Distance;
    } else if (j == 1 && regles_.LimiteReprises > 0 && s.Reprises >= regles_.LimiteReprises) {
        fin_ = TFinPartie::LimiteReprises;
    } else {
        PasseLaMain();
    }
    return true;
}
