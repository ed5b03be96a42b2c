#include "collisions/C2_ChocTapis.h"

namespace {
// vertical unit vector, normal of the cloth
constexpr TVecteur K{0.0, 0.0, 1.0};
}  // namespace

bool TVelmoraChocTapis::TestChocTapis(const TEtatBille& bille) const {
    return bille.Position.z < Fisik.RayonBilles() + 0.001 && bille.Vitesse.z < 0;
}

void TVelmoraChocTapis::ChocTapis(TEtatBille& bille, const void* /*autre*/) const {
    const double r = Fisik.RayonBilles();
    const double e = Fisik.ElastBiTap();
    const double mu = Fisik.FrotBiTapChoc();
    const TVecteur v = bille.Vitesse;
    const TVecteur w = bille.Rotation;

    // a slightly sunken ball is lifted back onto the cloth
    bille.Position.z = r;

    // slip of the contact point, horizontal part only
    const TVecteur u = SommeVect(DiffVect(v, MultVect(K, v.z)), ProdVect(K, MultVect(w, r)));
    // vertical impulse per unit mass, positive for a ball moving down
    const double j = -(1 + e) * v.z;

    ImpactSurface(bille, K, u, j, mu);

    // too weak a rebound: the ball stays on the cloth instead of a tiny hop
    if (bille.Vitesse.z < Fisik.VzRebondNul()) bille.Vitesse.z = 0;

    bille.DernierChoc = tcBilleTapis;
    bille.NumTouche = 1;
}

void TVelmoraChocTapis::ImpactSurface(TEtatBille& bille, const TVecteur& n, const TVecteur& u, double j,
                                      double mu) const {
    const double r = Fisik.RayonBilles();
    const TVecteur v = bille.Vitesse;
    const TVecteur w = bille.Rotation;
    const double normeU = Norme(u);

    // slip indicator: negative when friction can stop the slip during the impact
    const double ind = normeU > 0.001 ? 1 - 7 * mu * j / (2 * normeU) : -1.0;
    bille.IndGlissement = ind;

    if (ind < 0) {
        // friction strong enough: the contact point stops slipping
        bille.Vitesse = DiffVect(SommeVect(v, MultVect(n, j)), MultVect(u, 2.0 / 7.0));
        bille.Rotation = SommeVect(w, MultVect(ProdVect(n, u), 5 / (7 * r)));
    } else {
        // the ball slides through the impact: friction at its limit against the slip
        const TVecteur uu = Unitaire(u);
        bille.Vitesse = SommeVect(v, MultVect(DiffVect(n, MultVect(uu, mu)), j));
        bille.Rotation = SommeVect(w, MultVect(ProdVect(n, uu), 5 * mu * j / Fisik.Diametre()));
    }
}
