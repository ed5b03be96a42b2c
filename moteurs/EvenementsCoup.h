// The contacts of a shot, ball by ball: cushion hits and ball-ball hits with their instants and
// places. Found in a recording from its samples (a turn back from a cushion line, a ball set
// moving or turned near another), and taken as they happen from a computed shot; then the two
// sequences compared, contact for contact.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "moteurs/CoupEnregistre.h"
#include "sim/C8_BillardVelmora.h"

enum TGenreEvenement : std::uint8_t { geBande, geBille };

struct TEvenement {
    TGenreEvenement Genre = geBande;
    int Partie = 0;  // the cushion (1 +x, 2 +y, 3 -x, 4 -y) or the other ball (1..3)
    double t = 0;    // s, on the recording's clock
    double x = 0;    // cm, the ball's centre at the contact
    double y = 0;

    // the same contact: same kind, same cushion or ball
    bool MemeContact(const TEvenement& e) const { return Genre == e.Genre && Partie == e.Partie; }
};

// each ball's contacts in time order (slot 0 unused)
using TEvenementsCoup = std::array<std::vector<TEvenement>, NbBilles + 1>;

// the table seen by the centres: their limits (cm) and the distance of two centres in contact
struct TGeometrieTable {
    double DemiLargeur = DemiLargeurEnregistree;
    double DemiLongueur = DemiLongueurEnregistree;
    double Diametre = 2 * RayonBillesUsine;
};
TGeometrieTable GeometrieTable(const TPARAMPHYS& fisik);

// The contacts a recording shows. A cushion hit: the centre comes within a few centimetres of a
// cushion line and turns back; its instant is the apex of two lines fitted to the distance to
// that line before and after. A ball-ball hit: two centres come within a diameter (and a little
// for the tracking) while one of them starts or turns.
TEvenementsCoup DetecteEvenements(const TCoupEnregistre& coup, const TGeometrieTable& table);

// The watcher of a shot computation that keeps its contacts (the cloth's aside), on the
// recording's clock once Decale() has been given the stroke's instant there. Repeats of one
// contact within a few hundredths of a second (a ball pressed along a cushion) count once.
class TSuiviEvenements {
public:
    static constexpr bool Photos = true;
    bool ApresContact(const TBillardVelmora& billard, const TEtatBille& a);
    bool ApresPas(const TBillardVelmora&, double) { return false; }

    void Vide();
    const TEvenementsCoup& Evenements() const { return evenements_; }
    // the instants moved onto the recording's clock (stroke at `frappe` there)
    TEvenementsCoup Decale(double frappe) const;

private:
    void Ajoute(int bille, TGenreEvenement genre, int partie, double t, const TVecteur& p);
    TEvenementsCoup evenements_;
};

// the same contact at about the same instant
bool Correspond(const TEvenement& enregistre, const TEvenement& calcule);

// A ball's route: its first contacts. Later ones depend on every small difference before them,
// and a contact the tracking blurs (two cushions at a corner, a last touch of a ball nearly at
// rest) would otherwise rule the fit.
inline constexpr int ContactsDeLaRoute = 3;
// Contacts of the recorded routes (ball 1's, or every ball's) that the computed shot does not
// play in the same order at about the same instants: those from the first it does not play on.
// The computed shot may play others between them (a light touch the tracking did not show).
// Zero: the computed shot plays the recorded route.
int ContactsManques(const TEvenementsCoup& enregistres, const TEvenementsCoup& calcules, bool toutesBilles);
// the contacts of the routes counted there
int NbContacts(const TEvenementsCoup& evenements, bool toutesBilles);

// one recorded contact and the computed one it matches
struct TPaireEvenements {
    int Bille = 0;
    int Enregistre = -1;  // index in the ball's recorded contacts
    int Calcule = -1;     // index in its computed ones
};
// The contacts of each ball matched in order (the longest common sequence of contacts that
// correspond): recorded and computed contacts left out of it have no match.
std::vector<TPaireEvenements> AppareEvenements(const TEvenementsCoup& enregistres,
                                               const TEvenementsCoup& calcules);
