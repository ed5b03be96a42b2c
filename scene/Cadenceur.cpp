#include "scene/Cadenceur.h"

#include <chrono>

TCadenceur::TCadenceur(THorloge horloge) : horloge_(std::move(horloge)) {
    if (!horloge_)
        horloge_ = [] {
            using namespace std::chrono;
            return duration<double>(steady_clock::now().time_since_epoch()).count();
        };
    origine_ = horloge_();
}

void TCadenceur::SetActif(bool actif) {
    if (actif_ == actif) return;
    actif_ = actif;
    precedent_ = -1;
    if (actif_ && OnDemandeImage) OnDemandeImage();
}

double TCadenceur::Temps() const {
    return horloge_() - origine_;
}

void TCadenceur::ImageRendue() {
    if (!actif_) return;
    const double maintenant = Temps();
    const double ecoule = precedent_ < 0 ? 0 : maintenant - precedent_;
    precedent_ = maintenant;
    if (OnProgression) OnProgression(ecoule, maintenant);
    // the next frame, while still enabled
    if (actif_ && OnDemandeImage) OnDemandeImage();
}
