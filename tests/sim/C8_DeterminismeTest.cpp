// The same shot gives byte-identical results, computed twice or on two threads at once.
#include <gtest/gtest.h>

#include <thread>

#include "fichiers/ExportPVR.h"
#include "fichiers/FichierIni.h"
#include "jeu/FichiersPosition.h"
#include "tests/sim/OutilsSimu.h"

namespace {

const char* const kPositions[] = {"ouverture.vel", "trois_bandes.vel", "manque.vel", "saut.vel",
                                  "fausse_queue.vel"};

void Charge(TBillardVelmora& s, const std::string& nom) {
    TFichierIni ini;
    ASSERT_TRUE(ini.Charge(Exemple(nom))) << nom;
    ChargePosition(s, ini);
}

std::string Joue(TBillardVelmora& s) {
    s.Joue();
    return TexteExportPVR(s) + (s.PointReussi ? "1" : "0") + (s.FausseQueue ? "1" : "0");
}

TEST(Determinisme, SameShotTwice_OnTheSameObject_IsByteIdentical_WhateverRanBetween) {
    auto s = NouvelleSimu();
    Charge(*s, "ouverture.vel");
    const std::string premier = Joue(*s);
    // another shot in between leaves nothing behind in the object
    auto autre = NouvelleSimu();
    Charge(*autre, "saut.vel");
    s->SetParamQueue(autre->ParamQueue());
    for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0] = autre->Trajets[b][0];
    Joue(*s);
    Charge(*s, "ouverture.vel");
    for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0].Vitesse = s->Trajets[b][0].Rotation = VecteurNul;
    EXPECT_EQ(Joue(*s), premier);
}

TEST(Determinisme, TwoObjectsOnTwoThreadsAtOnce_GiveTheSameBytesAsAlone) {
    for (const char* nom : kPositions) {
        auto seul = NouvelleSimu();
        Charge(*seul, nom);
        const std::string attendu = Joue(*seul);

        auto a = NouvelleSimu();
        auto b = NouvelleSimu();
        Charge(*a, nom);
        Charge(*b, nom);
        std::string ra, rb;
        std::thread ta([&] {
            for (int i = 0; i < 20; ++i) ra = Joue(*a);
        });
        std::thread tb([&] {
            for (int i = 0; i < 20; ++i) rb = Joue(*b);
        });
        ta.join();
        tb.join();
        EXPECT_EQ(ra, attendu) << nom;
        EXPECT_EQ(rb, attendu) << nom;
    }
}

}  // namespace
