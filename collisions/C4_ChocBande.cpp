#include "collisions/C4_ChocBande.h"

void TVelmoraChocBande::ChocBande(TEtatBille& bille, const TBande& bande) {
    const double r = Fisik.RayonBilles;
    const double e = Fisik.ElastBiBde;
    const double mu = Fisik.FrotBiBde;
    const TVecteur v = bille.Vitesse;
    const TVecteur w = bille.Rotation;

    // contact point on the nose line, level with the ball
    TVecteur c = bande.Point;
    if (bande.Numero == 2 || bande.Numero == 4)
        c.x = bille.Position.x;
    else
        c.y = bille.Position.y;
    // normal from the nose to the centre: into the table and, below the nose, downwards
    const TVecteur n = Unitaire(DiffVect(bille.Position, c));
    const double vn = ProdScal(v, n);

    // slip of the contact point, tangential part only
    const TVecteur u = SommeVect(DiffVect(v, MultVect(n, vn)), MultVect(ProdVect(n, w), r));
    const double normeU = Norme(u);
    // normal impulse per unit mass, positive when the ball moves into the cushion
    const double j = -(1 + e) * vn;

    // slip indicator: negative when friction can stop the slip during the impact
    const double ind = normeU > 0.001 ? 1 - 7 * mu * j / (2 * normeU) : -1.0;
    bille.IndGlissement = ind;

    TVecteur v2;
    TVecteur w2;
    if (ind < 0) {
        // friction strong enough: the contact point stops slipping along the nose
        v2 = DiffVect(SommeVect(v, MultVect(n, j)), MultVect(u, 2.0 / 7.0));
        w2 = SommeVect(w, MultVect(ProdVect(n, u), 5 / (7 * r)));
    } else {
        // the ball slides along the nose: friction at its limit against the slip
        const TVecteur uu = Unitaire(u);
        v2 = SommeVect(v, MultVect(DiffVect(n, MultVect(uu, mu)), j));
        w2 = SommeVect(w, MultVect(ProdVect(n, uu), 5 * mu * j / Fisik.Diametre));
    }
    bille.Vitesse = v2;
    bille.Rotation = w2;
    ++bille.NbBandes;

    if (ProdScal(bande.Normale, v2) < 0) {
        // the cushion cannot turn it back: lift it far above the table, it flies out
        bille.Position.z += 1000;
    } else if (TestChocTapis(bille)) {
        // the nose pushed the ball into the cloth: it bounces at once
        ChocTapis(bille, nullptr);
    }

    bille.DernierChoc = tcBilleBande;
    bille.NumTouche = bande.Numero;
}
