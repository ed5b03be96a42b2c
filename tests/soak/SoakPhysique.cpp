// Physics soak: many random but valid shots (extreme spin, steep cues, fast strokes, balls
// touching each other and the cushions), each checked for sound physics photo by photo.
//   velmora-soak [COUNT] [SEED] [SHOT] [--empreinte=HEX]   prints the figures and a fingerprint of every
//   photo (and every photo of SHOT); exit 1 on any violation, or when the fingerprint is not HEX
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "fichiers/FichierFisik.h"
#include "sim/C8_BillardVelmora.h"
#include "tests/support/Tirage.h"

namespace {

struct Bilan {
    long coups = 0;
    long photos = 0;
    long nonFinis = 0;
    long sousLeTapis = 0;
    long interpenetrations = 0;
    long energieEnHausse = 0;
    long tempsEnRecul = 0;
    long leveesEnJeu = 0;
    long faussesQueues = 0;
    long points = 0;
    double pireInterpenetration = 0;
    double pireEnfoncement = 0;
    double pireHausseEnergie = 0;
};

bool Fini(const TVecteur& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Out of play from this photo on: off the table (mvDehors). A ball a cushion could not turn back
// is lifted 1000 cm and is out of play from that photo on; one lifted and still in play counts as
// a violation.
struct Sorties {
    std::array<int, NbBilles + 1> photo{};  // first photo out of play, per ball
    long leveesEnJeu = 0;                   // photos of a lifted ball not out of play
};

Sorties CalculeSorties(const TBillardVelmora& s) {
    Sorties r;
    for (int b = 1; b <= NbBilles; ++b) {
        r.photo[b] = s.NbPhotos + 1;
        bool levee = false;
        for (int k = 0; k <= s.NbPhotos; ++k) {
            const TVecteur& p = s.Trajets[b][k].Position;
            levee = levee || (k > 0 && p.z - s.Trajets[b][k - 1].Position.z > 500);
            if (levee && s.Mouvements[b][k] != mvDehors) ++r.leveesEnJeu;
            if (s.Mouvements[b][k] == mvDehors && r.photo[b] > k) r.photo[b] = k;
        }
    }
    return r;
}

// energy per unit mass: translation, rotation of a solid sphere, height above the cloth. A centre
// a hair below it (a single-precision height, 2e-7 cm) counts as on it: the first contact puts the
// ball back on the cloth, which would read as a gain of g times that hair, 2e-4, against the
// 1e-6 allowed on a slow shot; anything deeper is a violation of its own.
double Energie(const TBillardVelmora& s, const Sorties& sorties, int n) {
    const TPARAMPHYS& f = s.Fisik;
    double e = 0;
    for (int b = 1; b <= NbBilles; ++b) {
        if (n >= sorties.photo[b]) continue;
        const TPVR& p = s.Trajets[b][n];
        e += 0.5 * Norme2(p.Vitesse) + 0.2 * f.Rayon2() * Norme2(p.Rotation) +
             f.G() * std::max(p.Position.z - f.RayonBilles(), 0.0);
    }
    return e;
}

// the resting height R in single precision, rounded down: a centre a hair below the cloth
double HauteurSimple(double R) {
    const float f = static_cast<float>(R);
    return f <= R ? f : std::nextafter(f, 0.0f);
}

// random but valid: inside the cushions, no overlap; sometimes touching a cushion or a ball, or a
// hair below the cloth
void PlaceBilles(TBillardVelmora& s, std::mt19937_64& alea) {
    const TPARAMPHYS& f = s.Fisik;
    const double R = f.RayonBilles();
    const double xMax = f.largeurJeu() / 2 - R;
    const double yMax = f.largeurJeu() - R;
    const auto u01 = [&alea] { return Tirage(alea, 0, 1); };
    for (int b = 1; b <= NbBilles; ++b) {
        for (int essai = 0;; ++essai) {
            // one draw after the other: the order of a call's arguments is the compiler's
            const double x = Tirage(alea, -xMax, xMax);
            TVecteur p = Vecteur(x, Tirage(alea, -yMax, yMax), R);
            const double tirage = u01();
            if (tirage < 0.15) p.x = (u01() < 0.5 ? -xMax : xMax);  // against a cushion
            if (tirage > 0.85) p.y = (u01() < 0.5 ? -yMax : yMax);
            if (b > 1 && u01() < 0.2) {
                // touching an earlier ball
                const TVecteur& autre = s.Trajets[1 + static_cast<int>(u01() * (b - 1))][0].Position;
                const double a = Tirage(alea, 0, 2 * std::numbers::pi);
                p = Vecteur(autre.x + f.Diametre() * std::cos(a), autre.y + f.Diametre() * std::sin(a), R);
            }
            // a hair below the resting height, as heights held in single precision leave it
            if (tirage >= 0.45 && tirage < 0.6) p.z = HauteurSimple(R);
            bool libre = std::abs(p.x) <= xMax && std::abs(p.y) <= yMax;
            for (int a = 1; a < b && libre; ++a)
                libre = Norme(DiffVect(p, s.Trajets[a][0].Position)) >= f.Diametre() * (1 - 1e-12);
            if (libre || essai > 1000) {
                s.Trajets[b][0] = TPVR{p, VecteurNul, VecteurNul};
                break;
            }
        }
    }
}

void RegleQueue(TBillardVelmora& s, std::mt19937_64& alea) {
    const auto u01 = [&alea] { return Tirage(alea, 0, 1); };
    const double deport = std::sqrt(s.Fisik.DeportMax2()) * 1.1;  // some miscues
    const double r = deport * std::sqrt(u01());
    const double a = 2 * std::numbers::pi * u01();
    s.Effet = r * std::cos(a);
    s.Hauteur = r * std::sin(a);
    s.VitesseQueue = u01() < 0.1 ? 2000 : 2000 * u01();
    s.AngleOx = 2 * std::numbers::pi * u01();
    const double tirage = u01();
    s.AngleTapis = (tirage < 0.5 ? 0.0 : tirage < 0.9 ? 30 * u01() : 89 * u01()) * std::numbers::pi / 180;
    s.MasseQueue = 300 + 400 * u01();
    s.ModeDeJeu = static_cast<TModeDeJeu>(static_cast<int>(u01() * 3) % 3);
}

void Verifie(const TBillardVelmora& s, Bilan& bilan, long numero) {
    const TPARAMPHYS& f = s.Fisik;
    const Sorties sorties = CalculeSorties(s);
    if (sorties.leveesEnJeu > 0) {
        bilan.leveesEnJeu += sorties.leveesEnJeu;
        std::fprintf(stderr, "shot %ld: a ball lifted over a cushion stays in play\n", numero);
    }
    const double cheveu = 1e-6;  // cm: below the cloth
    // cm: overlap of two balls. Contacts are forecast along straight lines over one step, so the
    // curves can bring two balls this much closer before the contact is applied: a flying ball's
    // fall against one braked by sliding on the cloth.
    const double tolerance = 0.5 * f.G() * (1 + f.FrotBiTapGlisse()) * f.dtAnal() * f.dtAnal() + 1e-6;
    // the first violations are described, the rest only counted
    static int dits = 0;
    auto signale = [&](const char* quoi, int n, double valeur) {
        if (++dits <= 20) std::fprintf(stderr, "shot %ld photo %d: %s (%g)\n", numero, n, quoi, valeur);
    };
    for (int n = 0; n <= s.NbPhotos; ++n) {
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = s.Trajets[b][n];
            if (!Fini(p.Position) || !Fini(p.Vitesse) || !Fini(p.Rotation) || !std::isfinite(s.Temps[n])) {
                ++bilan.nonFinis;
                signale("not finite", n, 0);
            }
            const double enfoncement = f.RayonBilles() - p.Position.z;
            // out of play included: a ball leaves the table flying, never from under the cloth
            if (enfoncement > cheveu) {
                ++bilan.sousLeTapis;
                bilan.pireEnfoncement = std::max(bilan.pireEnfoncement, enfoncement);
                signale("centre below the cloth", n, enfoncement);
            }
        }
        for (int a = 1; a <= NbBilles; ++a)
            for (int b = a + 1; b <= NbBilles; ++b) {
                if (n >= sorties.photo[a] || n >= sorties.photo[b]) continue;
                const double d = Norme(DiffVect(s.Trajets[a][n].Position, s.Trajets[b][n].Position));
                const double dedans = f.Diametre() - d;
                if (n > 0 && dedans > tolerance) {
                    ++bilan.interpenetrations;
                    bilan.pireInterpenetration = std::max(bilan.pireInterpenetration, dedans);
                    signale("balls inside each other", n, dedans);
                }
            }
        // photos in time order: a step found to have overshot a contact leaves none
        if (n > 1 && s.Temps[n] < s.Temps[n - 1]) {
            ++bilan.tempsEnRecul;
            signale("photo time going backwards", n, s.Temps[n - 1] - s.Temps[n]);
        } else if (n > 1) {
            const double avant = Energie(s, sorties, n - 1), apres = Energie(s, sorties, n);
            const double hausse = apres - avant;
            if (hausse > 1e-6 * std::max(1.0, avant)) {
                ++bilan.energieEnHausse;
                bilan.pireHausseEnergie = std::max(bilan.pireHausseEnergie, hausse / std::max(1.0, avant));
                signale("energy increased", n, hausse);
            }
        }
    }
}

// FNV-1a over the bytes of every photo: two builds that print the same fingerprint computed the same
// shots to the last bit (a speed-up must leave it unchanged)
class Empreinte {
public:
    template <class T>
    void Ajoute(const T& valeur) {
        unsigned char octets[sizeof(T)];
        std::memcpy(octets, &valeur, sizeof(T));
        for (unsigned char o : octets) h_ = (h_ ^ o) * 0x100000001b3ULL;
    }
    void AjouteCoup(const TBillardVelmora& s) {
        Ajoute(s.NbPhotos);
        Ajoute(s.FausseQueue);
        Ajoute(s.PointReussi);
        for (int n = 0; n <= s.NbPhotos; ++n) {
            Ajoute(s.Temps[n]);
            Ajoute(s.TypesChocs[n]);
            Ajoute(s.Contacts[n]);
            for (int b = 1; b <= NbBilles; ++b) {
                const TPVR& p = s.Trajets[b][n];
                for (const TVecteur* v : {&p.Position, &p.Vitesse, &p.Rotation}) {
                    Ajoute(v->x);
                    Ajoute(v->y);
                    Ajoute(v->z);
                }
                Ajoute(s.Mouvements[b][n]);
            }
        }
    }
    std::uint64_t Valeur() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

// every photo of one shot, to look into a violation
void Decrit(const TBillardVelmora& s) {
    const Sorties sorties = CalculeSorties(s);
    std::printf("cue V=%g m=%g effet=%g hauteur=%g ox=%g tapis=%g fausse=%d\n", s.VitesseQueue, s.MasseQueue,
                s.Effet, s.Hauteur, s.AngleOx, s.AngleTapis, s.FausseQueue);
    for (int n = 0; n <= s.NbPhotos; ++n) {
        std::printf("%4d t=%.6f %-12s c=%d E=%.6g", n, s.Temps[n], TexteTypeChoc(s.TypesChocs[n]),
                    s.Contacts[n], Energie(s, sorties, n));
        for (int b = 1; b <= NbBilles; ++b) {
            const TPVR& p = s.Trajets[b][n];
            std::printf(" | %s P(%.4f %.4f %.4f) V(%.3f %.3f %.3f) W(%.2f %.2f %.2f)",
                        TexteMouvement(s.Mouvements[b][n]), p.Position.x, p.Position.y, p.Position.z,
                        p.Vitesse.x, p.Vitesse.y, p.Vitesse.z, p.Rotation.x, p.Rotation.y, p.Rotation.z);
        }
        std::printf("\n");
    }
}

// the cloth, ball and cushion constants drawn around the factory table (half to one and a half
// times each), brought into their ranges as the tuning window would; the geometry and the time
// steps stay, so that the checks keep their meaning
void TireConstantes(TPARAMPHYS& f, std::mt19937_64& alea) {
    using T = TConstantesPhys;
    const T usine;
    T c = f.Constantes();
    for (double T::*k : {&T::FrotBiTapGlisse, &T::FrotBiTapPivot, &T::FrotBiTapRoule, &T::FrotBiTapChoc,
                         &T::FrotBiBi, &T::FrotBiBde, &T::FrotQueueBille, &T::ElastBiTap, &T::ElastBiBi,
                         &T::ElastBiBde, &T::PerteEcQB, &T::MasseBilles})
        c.*k = usine.*k * Tirage(alea, 0.5, 1.5);
    f.Change(c);
}

}  // namespace

int main(int argc, char** argv) {
    // --empreinte=HEX (anywhere): also fail when the fingerprint differs, to pin the results
    // --fsk=FILE: every shot on that table; --constantes=aleatoires: each shot on a table of its own
    std::string attendue, fsk;
    bool constantesAleatoires = false;
    std::vector<const char*> args;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.starts_with("--empreinte="))
            attendue = a.substr(12);
        else if (a.starts_with("--fsk="))
            fsk = a.substr(6);
        else if (a == "--constantes=aleatoires")
            constantesAleatoires = true;
        else
            args.push_back(argv[i]);
    }
    const int n = static_cast<int>(args.size());
    const long nombre = n > 1 ? std::strtol(args[1], nullptr, 10) : 1000;
    const unsigned long long graine = n > 2 ? std::strtoull(args[2], nullptr, 10) : 20261207;
    const long detail = n > 3 ? std::strtol(args[3], nullptr, 10) : -1;
    if (nombre <= 0) {
        std::fprintf(stderr,
                     "usage: velmora-soak [COUNT > 0] [SEED] [SHOT] [--empreinte=HEX] [--fsk=FILE] "
                     "[--constantes=aleatoires]\n");
        return 2;
    }
    std::mt19937_64 alea(graine);
    auto simu = std::make_unique<TBillardVelmora>();
    std::string erreur;
    if (!fsk.empty() && !ChargeFisik(simu->Fisik, fsk, &erreur)) {
        std::fprintf(stderr, "velmora-soak: %s\n", erreur.c_str());
        return 2;
    }
    Bilan bilan;
    Empreinte empreinte;
    const auto debut = std::chrono::steady_clock::now();
    for (long i = 0; i < nombre; ++i) {
        if (constantesAleatoires) TireConstantes(simu->Fisik, alea);
        PlaceBilles(*simu, alea);
        RegleQueue(*simu, alea);
        simu->Joue();
        ++bilan.coups;
        bilan.photos += simu->NbPhotos;
        bilan.faussesQueues += simu->FausseQueue;
        bilan.points += simu->PointReussi;
        Verifie(*simu, bilan, i);
        empreinte.AjouteCoup(*simu);
        if (i == detail) Decrit(*simu);
    }
    const double secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    const long violations = bilan.nonFinis + bilan.sousLeTapis + bilan.interpenetrations +
                            bilan.energieEnHausse + bilan.leveesEnJeu + bilan.tempsEnRecul;
    std::printf("shots=%ld photos=%ld miscues=%ld points=%ld seconds=%.2f\n", bilan.coups, bilan.photos,
                bilan.faussesQueues, bilan.points, secondes);
    std::printf(
        "not_finite=%ld below_cloth=%ld (worst %.3g cm) overlaps=%ld (worst %.3g cm) "
        "energy_up=%ld (worst %.3g relative) lifted_in_play=%ld time_back=%ld\n",
        bilan.nonFinis, bilan.sousLeTapis, bilan.pireEnfoncement, bilan.interpenetrations,
        bilan.pireInterpenetration, bilan.energieEnHausse, bilan.pireHausseEnergie, bilan.leveesEnJeu,
        bilan.tempsEnRecul);
    char texte[17];
    std::snprintf(texte, sizeof texte, "%016llx", static_cast<unsigned long long>(empreinte.Valeur()));
    std::printf("fingerprint=%s\n", texte);
    if (!attendue.empty() && attendue != texte) {
        std::fprintf(stderr, "fingerprint %s, pinned %s: the results changed\n", texte, attendue.c_str());
        return 1;
    }
    return violations == 0 ? 0 : 1;
}
