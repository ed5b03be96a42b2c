// When the system gives no thread, the engines run their work on the calling thread instead of
// aborting. A child process is made unable to create threads: each one would need a stack larger
// than the address space it is allowed.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <memory>

#include "moteurs/DemarrageFond.h"
#include "moteurs/EvaluationDifficulte.h"
#include "moteurs/SolveurCoups.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitiseur = true;
#else
constexpr bool kSanitiseur = false;
#endif

// runs f in a child process where no thread can be made; f's status, or -1 when the child died
int SansFils(const std::function<int()>& f) {
    const pid_t pid = fork();
    if (pid == 0) {
        // every new thread asks for 1 GB of stack; the process may map 256 MB more than now
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, std::size_t(1) << 30);
        pthread_setattr_default_np(&attr);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limite = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
        const rlimit r{limite, limite};
        setrlimit(RLIMIT_AS, &r);
        // an exception must not come back into the test program's own run
        try {
            _exit(f());
        } catch (...) {
            _exit(3);
        }
    }
    int statut = 0;
    waitpid(pid, &statut, 0);
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
}

std::unique_ptr<TBillardVelmora> Ouverture() {
    auto simu = std::make_unique<TBillardVelmora>();
    simu->Trajets[1][0].Position = {10, -60, simu->Fisik.RayonBilles()};
    simu->Trajets[2][0].Position = {-20, 40, simu->Fisik.RayonBilles()};
    simu->Trajets[3][0].Position = {0, 70, simu->Fisik.RayonBilles()};
    return simu;
}

}  // namespace

TEST(DemarrageFondTest, WithoutAThreadToBeHad_BothEnginesRunTheirWorkOnTheCallingThread) {
    if (kSanitiseur) GTEST_SKIP() << "the sanitizers map more than an address-space limit allows";
    // the routine itself: the work done here, before it returns
    EXPECT_EQ(SansFils([] {
                  const auto appelant = std::this_thread::get_id();
                  std::thread fond;
                  std::thread::id ici;
                  const bool surFond = DemarreEnFond(fond, [&] { ici = std::this_thread::get_id(); });
                  return !surFond && !fond.joinable() && ici == appelant ? 0 : 1;
              }),
              0);
    // the solver and the difficulty evaluation started that way finish with their results
    const auto simu = Ouverture();
    EXPECT_EQ(SansFils([&] {
                  TOptionsSolveur o;
                  o.Budget = 1000;
                  o.NbThreads = 1;
                  o.Mode = jLibre;
                  TSolveurCoups solveur(*simu, o);
                  if (!solveur.Demarre() || !solveur.Termine()) return 1;
                  return solveur.Attends().NbCoups > 0 ? 0 : 2;
              }),
              0);
    EXPECT_EQ(SansFils([&] {
                  TGrilleDifficulte g;
                  g.NbEssais = {1, 1, 0, 0, 0, 0};
                  TEvaluationDifficulte evaluation(*simu, TQueueDegres(), g);
                  TOptionsDifficulte o;
                  o.NbThreads = 1;
                  if (!evaluation.Demarre(o) || !evaluation.Termine()) return 1;
                  return evaluation.Attends().Complet ? 0 : 2;
              }),
              0);
}
