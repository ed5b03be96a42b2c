// One recorded shot against its fitted computation, contact by contact: which recorded contacts
// the computation plays, how far apart in time and place, the angles and speeds each side shows,
// the last rolls' decelerations, and where the two part ways.
#pragma once

#include <array>
#include <vector>

#include "moteurs/AjustementCoup.h"
#include "moteurs/MesuresContacts.h"

// a recorded contact and the computed one matched with it
struct TContactCompare {
    int Bille = 0;
    int Rang = 0;  // a cushion hit: the ball's first, second... cushion (1, 2...); 0 for a ball
    TEvenement Enregistre, Calcule;
    TMesureBande BandeReelle, BandeCalculee;
    TMesureBille BilleReelle, BilleCalculee;

    double EcartTemps() const { return Calcule.t - Enregistre.t; }
    double EcartPosition() const;
};

// where the recording and the computation part: the first contact of a ball they do not share
struct TSeparation {
    bool Existe = false;
    int Bille = 0;
    bool Enregistre = false;  // a recorded contact is missing (else the computation adds one)
    TEvenement Contact;
};

struct TFideliteCoup {
    TResultatAjustement Ajustement;
    TEvenementsCoup Enregistres, Calcules;
    std::vector<TContactCompare> Contacts;  // ball by ball, in time order
    bool RouteReproduite = false;           // the fitted balls' first contacts, in order and time
    bool SequenceReproduite = false;        // every contact of every ball
    TSeparation Separation;
    // each ball's last roll, recorded and computed (cm/s2); false where it cannot be measured
    std::array<bool, NbBilles + 1> AvecDeceleration{};
    std::array<double, NbBilles + 1> DecelerationReelle{}, DecelerationCalculee{};
};

// A computed shot (its photos and contacts, its stroke at `frappe` on the recording's clock)
// against its recording and the contacts found there; the fit's figures are left as they are.
TFideliteCoup CompareCalcul(const TCoupEnregistre& coup, const TEvenementsCoup& enregistres,
                            const TStockTrajets& stock, const TEvenementsCoup& calcules, double frappe,
                            double diametre);
// the shot the engine last played (its fit, r) against its recording
TFideliteCoup CompareCoup(const TAjustementCoup& a, const TResultatAjustement& r);
// A shot computed elsewhere (a window's), played again from its photo 0 to know its contacts, against
// the recording; its scores and whether it plays ball 1's recorded route are filled in.
TFideliteCoup CompareJoue(const TCoupEnregistre& coup, const TEvenementsCoup& enregistres,
                          const TBillardVelmora& simu, double frappe);
