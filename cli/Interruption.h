// One way for every long command to hear a stop: SIGINT (Ctrl-C), SIGTERM and SIGHUP ask the
// computation to end cleanly, what is finished is kept, and the command exits with 128 + the
// signal, as the shell reports a process that a signal stopped.
#pragma once

#include <atomic>

class TGardeInterruption {
public:
    // Catches the three signals until this object goes (the previous handlers come back then).
    // message, when given, is written on the error stream by the handler itself at the first
    // signal: under an MPI launcher the process may be killed for good a second later.
    explicit TGardeInterruption(const char* message = nullptr);
    ~TGardeInterruption();
    TGardeInterruption(const TGardeInterruption&) = delete;
    TGardeInterruption& operator=(const TGardeInterruption&) = delete;

    // becomes true at the first signal: the flag the engines poll
    const std::atomic<bool>* Arret() const;
    // raises that flag for a reason of the command's own (a rank lost), no signal counted
    void Arrete();
    bool Interrompu() const { return Signal() != 0; }
    // the first signal received, 0 while none came
    int Signal() const;
    // the exit status of a command a signal stopped: 128 + the signal (130 when none came)
    int Statut() const;
};
