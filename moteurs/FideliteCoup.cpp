#include "moteurs/FideliteCoup.h"

#include <cmath>
#include <memory>

#include "sim/C8_BoucleTrajets.h"

namespace {

// the instant of a ball's contact before index k, and of the one after (none: far away)
double Avant(const std::vector<TEvenement>& l, std::size_t k) { return k > 0 ? l[k - 1].t : -HUGE_VAL; }
double Apres(const std::vector<TEvenement>& l, std::size_t k) {
    return k + 1 < l.size() ? l[k + 1].t : HUGE_VAL;
}

// the first contact of a ball after t
double Suivant(const std::vector<TEvenement>& l, double t) {
    for (const TEvenement& e : l)
        if (e.t > t + 1e-3) return e.t;
    return HUGE_VAL;
}

// one side's measures of contact k of ball b (the ball's own cushion hit; a ball it set moving)
void Mesure(const TCoupEnregistre& coup, const TEvenementsCoup& ev, int b, std::size_t k, double diametre,
            TMesureBande& bande, TMesureBille& bille) {
    const auto& l = ev[std::size_t(b)];
    const TEvenement& e = l[k];
    if (e.Genre == geBande) {
        bande = MesureBande(coup.Billes[b], e, Avant(l, k), Apres(l, k));
    } else if (e.Partie >= 1 && e.Partie <= NbBilles) {
        bille = MesureBille(coup.Billes[b], coup.Billes[e.Partie], e.t, diametre, Avant(l, k),
                            Suivant(ev[std::size_t(e.Partie)], e.t));
    }
}

// each ball's contacts in common from the start; the first one after that, of any ball
TSeparation Separe(const TEvenementsCoup& enregistres, const TEvenementsCoup& calcules, bool& identiques) {
    TSeparation s;
    identiques = true;
    for (int b = 1; b <= NbBilles; ++b) {
        const auto& r = enregistres[std::size_t(b)];
        const auto& c = calcules[std::size_t(b)];
        std::size_t k = 0;
        while (k < r.size() && k < c.size() && Correspond(r[k], c[k])) ++k;
        if (k == r.size() && k == c.size()) continue;
        identiques = false;
        const bool manque = k < r.size() && (k >= c.size() || r[k].t <= c[k].t);
        const TEvenement& e = manque ? r[k] : c[k];
        if (!s.Existe || e.t < s.Contact.t) s = {true, b, manque, e};
    }
    return s;
}

}  // namespace

double TContactCompare::EcartPosition() const {
    return std::hypot(Calcule.x - Enregistre.x, Calcule.y - Enregistre.y);
}

TFideliteCoup CompareCalcul(const TCoupEnregistre& reel, const TEvenementsCoup& enregistres,
                            const TStockTrajets& stock, const TEvenementsCoup& calcules, double frappe,
                            double diametre) {
    TFideliteCoup f;
    f.Enregistres = enregistres;
    f.Calcules = calcules;
    const TCoupEnregistre calcul = EchantillonneCalcul(stock, frappe);
    for (const TPaireEvenements& p : AppareEvenements(f.Enregistres, f.Calcules)) {
        TContactCompare c;
        c.Bille = p.Bille;
        const auto& l = f.Enregistres[std::size_t(p.Bille)];
        c.Enregistre = l[std::size_t(p.Enregistre)];
        c.Calcule = f.Calcules[std::size_t(p.Bille)][std::size_t(p.Calcule)];
        if (c.Enregistre.Genre == geBande)
            for (int k = 0; k <= p.Enregistre; ++k) c.Rang += l[std::size_t(k)].Genre == geBande;
        Mesure(reel, f.Enregistres, p.Bille, std::size_t(p.Enregistre), diametre, c.BandeReelle,
               c.BilleReelle);
        Mesure(calcul, f.Calcules, p.Bille, std::size_t(p.Calcule), diametre, c.BandeCalculee,
               c.BilleCalculee);
        f.Contacts.push_back(c);
    }
    f.Separation = Separe(f.Enregistres, f.Calcules, f.SequenceReproduite);

    // each ball's last roll, after its last contact (ball 1 without one: after the stroke)
    for (int b = 1; b <= NbBilles; ++b) {
        const auto& lr = f.Enregistres[std::size_t(b)];
        const auto& lc = f.Calcules[std::size_t(b)];
        if (b != 1 && (lr.empty() || lc.empty())) continue;
        const double tr = lr.empty() ? frappe : lr.back().t, tc = lc.empty() ? frappe : lc.back().t;
        f.AvecDeceleration[std::size_t(b)] =
            DecelerationFinale(reel.Billes[b], tr, f.DecelerationReelle[std::size_t(b)]) &&
            DecelerationFinale(calcul.Billes[b], tc, f.DecelerationCalculee[std::size_t(b)]);
    }
    return f;
}

TFideliteCoup CompareCoup(const TAjustementCoup& a, const TResultatAjustement& r) {
    TFideliteCoup f = CompareCalcul(a.Coup(), a.Evenements(), a.Simu(), a.EvenementsCalcules(r.Frappe),
                                    r.Frappe, a.Simu().Fisik.Diametre());
    f.Ajustement = r;
    f.RouteReproduite = r.ContactsManques == 0;
    return f;
}

TFideliteCoup CompareJoue(const TCoupEnregistre& coup, const TEvenementsCoup& enregistres,
                          const TBillardVelmora& simu, double frappe) {
    // the same shot again: photo 0 holds the launch, the computation is deterministic
    auto s = std::make_unique<TBillardVelmora>();
    s->Fisik = simu.Fisik;
    s->ModeDeJeu = simu.ModeDeJeu;
    for (int b = 1; b <= NbBilles; ++b) s->Trajets[b][0] = simu.Trajets[b][0];
    TSuiviEvenements suivi;
    s->CalculTrajetsSuivi(suivi);
    TFideliteCoup f = CompareCalcul(coup, enregistres, *s, suivi.Decale(frappe), frappe, s->Fisik.Diametre());
    f.Ajustement.Frappe = frappe;
    f.Ajustement.Score = ScoreStock(*s, coup, frappe);
    f.Ajustement.ContactsManques = ContactsManques(f.Enregistres, f.Calcules, false);
    f.Ajustement.NbContacts = NbContacts(f.Enregistres, false);
    f.RouteReproduite = f.Ajustement.ContactsManques == 0;
    return f;
}
