// A shot computation allocates nothing. This file replaces the global allocation functions of the
// test program to count every allocation; the count is read just around the computation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "tests/sim/OutilsSimu.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(SansAllocation, ShotComputation_AllocatesNothing_ForEveryExample) {
    for (const char* nom :
         {"ouverture.vel", "trois_bandes.vel", "manque.vel", "saut.vel", "fausse_queue.vel"}) {
        auto s = NouvelleSimu();
        TFichierIni ini;
        ASSERT_TRUE(ini.Charge(Exemple(nom))) << nom;
        ChargePosition(*s, ini);

        const long avant = allocations.load();
        s->Joue();
        const long apres = allocations.load();
        EXPECT_EQ(apres - avant, 0) << nom;
        EXPECT_GT(s->NbPhotos, 0) << nom;
    }
}

TEST(SansAllocation, CounterSeesAllocations) {
    // kept in a volatile so the pair cannot be optimised away
    static int* volatile garde = nullptr;
    const long avant = allocations.load();
    garde = new int(3);
    EXPECT_EQ(allocations.load() - avant, 1);
    delete garde;
}

}  // namespace
