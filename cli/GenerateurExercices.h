// The drills of a starter pack drawn from a seed: random positions on the table, each solved for
// its best route, and among them those whose best route's success rate spans the range from easy
// to hard, easiest first. The same seed and options give the same pack, byte for byte, whatever
// the number of threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "jeu/PackEntrainement.h"
#include "sim/C8_BillardVelmora.h"

struct TOptionsGeneration {
    int Nombre = 30;
    std::uint64_t Graine = 1;
    TModeDeJeu Mode = j3Bandes;
    std::int64_t Budget = 60'000;  // the solver's coarse pass per position
    int Candidats = 0;             // positions drawn; 0: three per drill
    int NbThreads = 0;
};

// Draws and solves the candidates on the table of `table` (its constants only), then keeps
// options.Nombre of them spread over the range of rates. The drills' files are named ex01.vel, ...
// (FichierPosition), not written. avance(i, n) is told after each candidate. False with the reason
// when fewer positions than asked have a route, or when arret (polled during each search) rose:
// a pack chosen from part of the candidates would not span the range.
bool GenereExercices(const TBillardVelmora& table, const TOptionsGeneration& options, TPackEntrainement& pack,
                     const std::function<void(int, int)>& avance, const std::atomic<bool>* arret = nullptr,
                     std::string* erreur = nullptr);
