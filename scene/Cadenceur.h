// The frame clock: while enabled, raises a progress event once per rendered frame with the time
// elapsed since the previous frame and the current time, in seconds. The viewer that renders
// calls ImageRendue after each frame and keeps rendering while the clock is enabled.
#pragma once

#include <functional>

class TCadenceur {
  public:
    // the time source, in seconds; the default is a monotonic clock
    using THorloge = std::function<double()>;
    explicit TCadenceur(THorloge horloge = {});

    bool Actif() const { return actif_; }
    void SetActif(bool actif);
    // seconds since the clock was created
    double Temps() const;

    // free for the owner (the main window keeps the next photo to show in it)
    int Tag = 0;
    std::function<void(double ecoule, double maintenant)> OnProgression;
    // asks the viewer for frames: fired when the clock is enabled
    std::function<void()> OnDemandeImage;

    // a frame was rendered
    void ImageRendue();

  private:
    THorloge horloge_;
    double origine_ = 0;
    double precedent_ = -1;
    bool actif_ = false;
};
