// While a save has a temporary file, a stop (Ctrl-C, a termination, a hang-up) waits until the file
// is renamed into place or removed: no temporary file is left behind by a signal.
#pragma once

#include <pthread.h>
#include <signal.h>

class TArretsDifferes {
public:
    TArretsDifferes() {
        sigset_t arrets;
        sigemptyset(&arrets);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&arrets, signal);
        pthread_sigmask(SIG_BLOCK, &arrets, &avant_);
    }
    ~TArretsDifferes() { pthread_sigmask(SIG_SETMASK, &avant_, nullptr); }
    TArretsDifferes(const TArretsDifferes&) = delete;
    TArretsDifferes& operator=(const TArretsDifferes&) = delete;

private:
    sigset_t avant_;
};
