// The bundled examples played through the simulation object alone (the desktop program's radius,
// cue values as stored), pinned to their recorded results: a change of any stored number of the
// physics shows here first. When the physics changes on purpose, take the figures this test prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fichiers/ExportPVR.h"
#include "fichiers/FichierFisik.h"
#include "fichiers/FichierIni.h"
#include "fichiers/NombresIni.h"
#include "jeu/FichiersPosition.h"
#include "sim/C8_BoucleTrajets.h"
#include "tests/sim/OutilsSimu.h"

namespace {

// FNV-1a, stable across compilers and runs
std::uint64_t Empreinte(const std::string& texte) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : texte) h = (h ^ c) * 1099511628211ull;
    return h;
}

struct Attendu {
    const char* fichier;
    bool fausseQueue, point;
    int photos;
    const char* temps;
    std::uint64_t empreinte;  // of the whole export
};

TEST(Exemples, PlayAsRecorded) {
    const Attendu attendus[] = {
        {"ouverture.vel", false, true, 283, "11.7106591302582", 0xee89c44c9731b311},
        {"trois_bandes.vel", false, true, 192, "8.33223339189717", 0x897a91f9363e5989},
        {"une_bande.vel", false, false, 159, "7.29330762490869", 0x21015c41ffeec7f9},
        {"manque.vel", false, false, 233, "10.5906410925848", 0x9c1c26a462a05523},
        {"saut.vel", false, false, 156, "6.41113388292716", 0x49bf958dc74262e9},
        {"fausse_queue.vel", true, false, 1, "0.01", 0x67410ff4993b30fe},
        {"lancer.vel2", false, true, 221, "9.89623153430978", 0x367250517525bc2f},
    };
    for (const Attendu& a : attendus) {
        auto s = NouvelleSimu();
        // the desktop program's simulation: the 3D models' radius in single precision
        s->Fisik.SetParam(2, static_cast<float>(s->Fisik.RayonBilles()));
        const std::string nom = a.fichier;
        if (nom.ends_with(".vel2")) {
            ASSERT_TRUE(ChargeLancer(*s, Exemple(nom)));
            s->CalculTrajets();
        } else {
            TFichierIni ini;
            ASSERT_TRUE(ini.Charge(Exemple(nom)));
            ChargePosition(*s, ini);
            s->Joue();
        }
        EXPECT_EQ(s->FausseQueue, a.fausseQueue) << nom;
        EXPECT_EQ(s->PointReussi, a.point) << nom;
        EXPECT_EQ(s->NbPhotos, a.photos) << nom;
#ifdef VELMORA_PRECISION_ETENDUE
        // 80-bit intermediates: the same shot, not the same last digits
        EXPECT_NEAR(s->Temps[s->NbPhotos], std::stod(a.temps), 1e-9) << nom;
#else
        EXPECT_EQ(FormatReel(s->Temps[s->NbPhotos]), a.temps) << nom;
        EXPECT_EQ(Empreinte(TexteExportPVR(*s)), a.empreinte)
            << nom << std::hex << " " << Empreinte(TexteExportPVR(*s));
#endif
    }
}

// a watcher that takes no photos and ends the computation at the first contact, as the solver's may
struct TSuiviPremierContact {
    static constexpr bool Photos = false;
    bool ApresContact(const TBillardVelmora&, const TEtatBille&) { return true; }
    bool ApresPas(const TBillardVelmora&, double) { return false; }
};

TEST(Exemples, EveryShot_LeavesThePhysicalConstantsAsTheyWere) {
    // the shipped tables (not the factory one), every kind of example shot, the whole computation
    // and a watched one cut short: the constants are the model, a shot only reads them
    for (const char* table : {"match.fsk", "calibre.fsk", "calibre_conjoint.fsk"}) {
        for (const char* fichier :
             {"ouverture.vel", "trois_bandes.vel", "saut.vel", "fausse_queue.vel", "lancer.vel2"}) {
            auto s = NouvelleSimu();
            ASSERT_TRUE(ChargeFisik(s->Fisik, Exemple(table)));
            const std::string nom = fichier;
            if (nom.ends_with(".vel2")) {
                ASSERT_TRUE(ChargeLancer(*s, Exemple(nom)));
            } else {
                TFichierIni ini;
                ASSERT_TRUE(ini.Charge(Exemple(nom)));
                ChargePosition(*s, ini);
            }
            const TPARAMPHYS avant = s->Fisik;
            s->Joue();
            EXPECT_GT(s->NbPhotos, 0) << table << " " << nom;
            EXPECT_EQ(s->Fisik, avant) << table << " " << nom;
            TSuiviPremierContact suivi;
            s->CalculTrajetsSuivi(suivi);
            EXPECT_EQ(s->Fisik, avant) << table << " " << nom;
        }
    }
}

}  // namespace
