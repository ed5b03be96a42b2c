#include "cli/Interruption.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace {

constexpr std::array<int, 3> kSignaux = {SIGINT, SIGTERM, SIGHUP};

// what a signal handler may touch: lock-free atomics and a message set before it is installed
std::atomic<bool> arret{false};
std::atomic<int> signalRecu{0};
const char* messageArret = nullptr;
std::array<struct sigaction, kSignaux.size()> anciens{};

extern "C" void SurSignalArret(int signal) {
    int attendu = 0;
    if (!signalRecu.compare_exchange_strong(attendu, signal)) return;
    arret.store(true);
    if (messageArret) {
        [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, messageArret, std::strlen(messageArret));
    }
}

}  // namespace

TGardeInterruption::TGardeInterruption(const char* message) {
    arret = false;
    signalRecu = 0;
    messageArret = message;
    struct sigaction action {};
    action.sa_handler = SurSignalArret;
    sigemptyset(&action.sa_mask);
    // a read or a wait cut short by the signal starts again; the computation sees the flag
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignaux.size(); ++i) sigaction(kSignaux[i], &action, &anciens[i]);
}

TGardeInterruption::~TGardeInterruption() {
    for (size_t i = 0; i < kSignaux.size(); ++i) sigaction(kSignaux[i], &anciens[i], nullptr);
    messageArret = nullptr;
}

const std::atomic<bool>* TGardeInterruption::Arret() const { return &arret; }

void TGardeInterruption::Arrete() { arret.store(true); }

int TGardeInterruption::Signal() const { return signalRecu.load(); }

int TGardeInterruption::Statut() const {
    const int signal = Signal();
    return 128 + (signal != 0 ? signal : SIGINT);
}
