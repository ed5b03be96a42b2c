// The task distributor on one machine (the MPI side is checked by running velmora-sim batch under
// mpirun, see tests/cli/BatchMpi.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "moteurs/Repartiteur.h"

namespace {

using namespace std::chrono_literals;

// "N" → "N²"; "lent" sleeps first, "faux" fails, "jette" throws
bool Carre(const std::string& tache, std::string& resultat, std::string* erreur) {
    if (tache == "faux") {
        *erreur = "tâche refusée";
        return false;
    }
    if (tache == "jette") throw std::runtime_error("exception de la tâche");
    std::string nombre = tache;
    if (nombre.rfind("lent", 0) == 0) {
        std::this_thread::sleep_for(30ms);
        nombre = nombre.substr(4);
    }
    const long n = std::stol(nombre);
    resultat = std::to_string(n * n);
    return true;
}

std::vector<std::string> Nombres(int n) {
    std::vector<std::string> taches;
    for (int i = 0; i < n; ++i) taches.push_back((i % 7 == 0 ? "lent" : "") + std::to_string(i));
    return taches;
}

}  // namespace

TEST(RepartiteurTest, WithoutALauncher_OneMachineRankZero) {
    ASSERT_FALSE(TRepartiteur::LanceParMpi()) << "the tests run without mpirun";
    TRepartiteur r(Carre, 3);
    EXPECT_FALSE(r.Mpi());
    EXPECT_TRUE(r.Principal());
    EXPECT_EQ(r.NbRangs(), 1);
    EXPECT_EQ(r.NbFils(), 3);
    EXPECT_EQ(TRepartiteur::RangSelonLanceur(), 0);
    // nothing to do: done at once; Sert on rank 0 returns at once
    std::string erreur;
    EXPECT_TRUE(r.Repartis(
        {}, [](TResultatTache&&) { return false; }, nullptr, &erreur));
    r.Sert();
}

TEST(RepartiteurTest, EveryTaskOnceWithItsOwnResult_WhateverTheThreads) {
    const std::vector<std::string> taches = Nombres(60);
    for (int fils : {1, 2, 5, 16}) {
        TRepartiteur r(Carre, fils);
        std::map<size_t, std::string> recus;
        std::string erreur;
        const bool ok = r.Repartis(
            taches,
            [&](TResultatTache&& t) {
                EXPECT_TRUE(t.Reussi) << t.Contenu;
                EXPECT_EQ(t.Rang, 0);
                EXPECT_TRUE(recus.emplace(t.Index, t.Contenu).second) << "twice: " << t.Index;
                return true;
            },
            nullptr, &erreur);
        ASSERT_TRUE(ok) << erreur;
        ASSERT_EQ(recus.size(), taches.size()) << fils << " threads";
        for (size_t i = 0; i < taches.size(); ++i) EXPECT_EQ(recus[i], std::to_string(i * i)) << i;
    }
}

TEST(RepartiteurTest, TasksRunSideBySide_ResultsComeOnTheCallingThread) {
    // four slow tasks on four threads overlap: counted, not timed, so a busy machine cannot fail it
    std::mutex mutex;
    std::set<std::thread::id> fils;
    int enCours = 0, auPlus = 0;
    const auto lent = [&](const std::string&, std::string& resultat, std::string*) {
        {
            const std::lock_guard verrou(mutex);
            fils.insert(std::this_thread::get_id());
            auPlus = std::max(auPlus, ++enCours);
        }
        std::this_thread::sleep_for(200ms);
        {
            const std::lock_guard verrou(mutex);
            --enCours;
        }
        resultat = "ok";
        return true;
    };
    TRepartiteur r(lent, 4);
    const auto appelant = std::this_thread::get_id();
    std::string erreur;
    ASSERT_TRUE(r.Repartis(
        {"a", "b", "c", "d"},
        [&](TResultatTache&&) {
            EXPECT_EQ(std::this_thread::get_id(), appelant);
            return true;
        },
        nullptr, &erreur));
    EXPECT_GE(auPlus, 2);
    EXPECT_EQ(fils.size(), 4u);
    EXPECT_EQ(fils.count(appelant), 0u);
}

TEST(RepartiteurTest, AFailedTask_ReportedWithItsReason_TheOthersStillDone) {
    TRepartiteur r(Carre, 2);
    std::map<size_t, TResultatTache> recus;
    std::string erreur;
    ASSERT_TRUE(r.Repartis(
        {"2", "faux", "3", "jette", "x"},
        [&](TResultatTache&& t) {
            recus[t.Index] = t;
            return true;
        },
        nullptr, &erreur));
    ASSERT_EQ(recus.size(), 5u);
    EXPECT_TRUE(recus[0].Reussi);
    EXPECT_EQ(recus[0].Contenu, "4");
    EXPECT_FALSE(recus[1].Reussi);
    EXPECT_EQ(recus[1].Contenu, "tâche refusée");
    EXPECT_TRUE(recus[2].Reussi);
    EXPECT_FALSE(recus[3].Reussi);
    EXPECT_EQ(recus[3].Contenu, "exception de la tâche");
    // std::stol's own exception
    EXPECT_FALSE(recus[4].Reussi);
    EXPECT_FALSE(recus[4].Contenu.empty());
}

TEST(RepartiteurTest, StoppedByTheReceiverOrTheFlag_ThenANewRoundIsClean) {
    TRepartiteur r(Carre, 3);
    std::string erreur;
    int recus = 0;
    // the receiver says stop after two results
    EXPECT_FALSE(r.Repartis(
        Nombres(40), [&](TResultatTache&&) { return ++recus < 2; }, nullptr, &erreur));
    EXPECT_EQ(recus, 2);
    EXPECT_FALSE(erreur.empty());

    // a stop flag already up: nothing more is handed over
    std::atomic<bool> arret{true};
    recus = 0;
    erreur.clear();
    EXPECT_FALSE(r.Repartis(
        Nombres(40), [&](TResultatTache&&) { return ++recus >= 0; }, &arret, &erreur));
    EXPECT_EQ(erreur, "interrompu");
    EXPECT_LE(recus, 3);

    // the next round gets its own results only, none left over from the rounds cut short
    std::map<size_t, std::string> resultats;
    ASSERT_TRUE(r.Repartis(
        {"5", "6", "7"},
        [&](TResultatTache&& t) {
            EXPECT_TRUE(resultats.emplace(t.Index, t.Contenu).second);
            return true;
        },
        nullptr, &erreur))
        << erreur;
    EXPECT_EQ(resultats, (std::map<size_t, std::string>{{0, "25"}, {1, "36"}, {2, "49"}}));
}

TEST(RepartiteurTest, ConfigurationsDiffer_TheFirstDifferingLineIsNamedWithBothValues) {
    const std::string ici = "genre difficulty\n--trials 2,2,2,1,0,0\n--mode 3bandes\n";
    const auto ecart = [](const std::string& a, const std::string& b) {
        return TRepartiteur::Difference(a, b, "ici", "là");
    };
    EXPECT_EQ(ecart(ici, ici), "");
    EXPECT_EQ(ecart(ici, "genre difficulty\n--trials 8,8,8,1,0,0\n--mode libre\n"),
              "--trials : 2,2,2,1,0,0 ici, 8,8,8,1,0,0 là");
    EXPECT_EQ(ecart(ici, "genre difficulty\n--trials 2,2,2,1,0,0\n"), "--mode : 3bandes ici, (absent) là");
    EXPECT_EQ(ecart("a 1\nb 2\n", "a 1\nc 2\n"), "b : 2 ici, (absent) là");
    EXPECT_EQ(ecart("a 1\n", "a 1\nc 2\n"), "c : (absent) ici, 2 là");
    // alone, every rank agrees at once
    TRepartiteur r(Carre, 1);
    std::string erreur;
    EXPECT_TRUE(r.Accorde(ici, &erreur)) << erreur;
}
