#include "collisions/C3_ChocBille.h"

#include <algorithm>

void TVelmoraChocBille::ChocBilles(TEtatBille& A, TEtatBille& B) const {
    const double r = Fisik.RayonBilles();
    const double e = Fisik.ElastBiBi();
    const double mu = Fisik.FrotBiBi();
    // incoming velocities and rotations, B is derived from them at the end
    const TVecteur va = A.Vitesse;
    const TVecteur vb = B.Vitesse;
    const TVecteur wa = A.Rotation;
    const TVecteur wb = B.Rotation;

    // relative velocity and normal from B to A (zero for coincident centres)
    const TVecteur vr = DiffVect(va, vb);
    const TVecteur n = Unitaire(DiffVect(A.Position, B.Position));
    const double vrn = ProdScal(vr, n);

    // slip of A's contact point relative to B's, tangential part only
    const TVecteur u = SommeVect(DiffVect(vr, MultVect(n, vrn)), MultVect(ProdVect(n, SommeVect(wa, wb)), r));
    const double normeU = Norme(u);
    // normal impulse per unit mass, positive when the balls approach. The pair was approaching
    // when forecast, but the brakes of a step can leave it separating at the contact instant: then
    // there is no impulse at all (a negative one would pull the balls together and, through the
    // friction limit, speed up their slip)
    const double j = std::max(-((1 + e) / 2) * vrn, 0.0);

    // slip indicator: negative when friction can stop the slip during the impact
    const double ind = normeU > 0.001 ? 1 - 7 * mu * j / normeU : -1.0;
    A.IndGlissement = ind;

    TVecteur va2;
    TVecteur wa2;
    if (ind < 0) {
        // friction strong enough: the surfaces stop slipping on each other
        va2 = DiffVect(SommeVect(va, MultVect(n, j)), Vecteur(u.x / 7, u.y / 7, u.z / 7));
        wa2 = SommeVect(wa, MultVect(ProdVect(n, u), 5 / (14 * r)));
    } else {
        // the balls slide through the impact: friction at its limit against the slip
        const TVecteur uu = Unitaire(u);
        va2 = SommeVect(va, MultVect(DiffVect(n, MultVect(uu, mu)), j));
        wa2 = SommeVect(wa, MultVect(ProdVect(n, uu), 5 * mu * j / Fisik.Diametre()));
    }
    A.Vitesse = va2;
    A.Rotation = wa2;

    // equal masses: momentum is conserved and both balls get the same change of rotation
    B.Vitesse = DiffVect(SommeVect(va, vb), va2);
    B.Rotation = SommeVect(wb, DiffVect(wa2, wa));

    // a ball driven into the cloth bounces at once
    if (TestChocTapis(A)) ChocTapis(A, nullptr);
    if (TestChocTapis(B)) ChocTapis(B, nullptr);

    A.DernierChoc = tcBilleBille;
    A.NumTouche = B.NumBille;

    // second-ball hook: remember the first ball touched, fire on a second, different one
    if (A.SurDeuxiemeBille) {
        if (A.PremiereBille == nullptr) {
            A.PremiereBille = &B;
        } else if (A.PremiereBille != &B) {
            // a copy: the hook clears itself while it runs
            const TValidation hook = A.SurDeuxiemeBille;
            hook(A);
        }
    }
}
