#include "collisions/C4_ChocBande.h"

#include <cmath>

#include "collisions/ChocBandeMathavan.h"

void TVelmoraChocBande::ChocBande(TEtatBille& bille, const TBande& bande) const {
    if (Fisik.ModeleBande() != mbMathavan || !ChocBandePasAPas(bille, bande)) ImpulsionBande(bille, bande);
    ++bille.NbBandes;

    if (ProdScal(bande.Normale, bille.Vitesse) < 0) {
        // the cushion cannot turn it back: lift it far above the table, out of play from now on
        // (a slow one would otherwise fall back onto the cushion and into play)
        bille.Position.z += 1000;
        bille.Mouvement = mvDehors;
    } else if (TestChocTapis(bille)) {
        // the nose pushed the ball into the cloth: it bounces at once
        ChocTapis(bille, nullptr);
    }

    bille.DernierChoc = tcBilleBande;
    bille.NumTouche = bande.Numero;
}

void TVelmoraChocBande::ImpulsionBande(TEtatBille& bille, const TBande& bande) const {
    const double r = Fisik.RayonBilles();
    const double e = Fisik.ElastBiBde();
    const double mu = Fisik.FrotBiBde();
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
    // normal impulse per unit mass, positive when the ball moves into the cushion
    const double j = -(1 + e) * vn;

    ImpactSurface(bille, n, u, j, mu);
}

bool TVelmoraChocBande::ChocBandePasAPas(TEtatBille& bille, const TBande& bande) const {
    const double r = Fisik.RayonBilles();
    // a ball in the air meets the nose as an impulse: the stepped model keeps the ball on the cloth
    if (bille.Position.z > r + 1e-6 || std::abs(bille.Vitesse.z) > 1e-6) return false;
    TImpactBandeMathavan m;
    m.Rayon = r;
    m.SinTheta = (Fisik.HautBdes() - r) / r;
    m.Elasticite = Fisik.ElastMathavan();
    m.FrotBande = Fisik.FrotMathavan();
    m.FrotTapis = Fisik.FrotBiTapGlisse();
    TVecteur v = bille.Vitesse, w = bille.Rotation;
    if (!ChocBandeMathavan(m, bande.Normale, v, w)) return false;
    bille.Vitesse = v;
    bille.Rotation = w;
    // the ball leaves sliding on the cloth
    bille.IndGlissement = 1;
    return true;
}
