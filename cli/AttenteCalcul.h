// Waiting for an engine that computes in the background (the difficulty evaluation, the solver):
// a stop asked by a signal stops it, and a person at a terminal sees its progress bar.
#pragma once

#include <chrono>
#include <thread>

#include "cli/Interruption.h"

// Waits until moteur (already started) has finished and returns its result. A short wait so that
// the end is seen at once; the bar (dessine(progression, finale)) is redrawn ten times a second.
template <class Moteur, class Dessin>
auto AttendsCalcul(Moteur& moteur, const TGardeInterruption& interruption, bool barre,
                   const Dessin& dessine) {
    for (int tour = 1; !moteur.Termine(); ++tour) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (interruption.Interrompu()) moteur.Arrete();
        if (barre && tour % 20 == 0) dessine(moteur.Progression(), false);
    }
    auto resultat = moteur.Attends();
    if (barre) dessine(moteur.Progression(), true);
    return resultat;
}
