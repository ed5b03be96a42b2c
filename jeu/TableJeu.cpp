#include "jeu/TableJeu.h"

#include <cmath>

TTableJeu::TTableJeu(float largeur, float rayon) {
    Rayon = rayon;
    DiamBille = 2 * rayon;
    DiamBille2 = DiamBille * DiamBille;
    XMax = largeur / 2 - rayon;
    XMin = rayon - largeur / 2;
    YMax = largeur - rayon;
    YMin = rayon - largeur;
}

bool TTableJeu::Borne(TCentreBille& p) const {
    bool change = false;
    if (p.x > XMax) {
        p.x = XMax;
        change = true;
    } else if (p.x < XMin) {
        p.x = XMin;
        change = true;
    }
    if (p.y > YMax) {
        p.y = YMax;
        change = true;
    } else if (p.y < YMin) {
        p.y = YMin;
        change = true;
    }
    return change;
}

bool TTableJeu::Repousse(TCentreBille& p, const TCentreBille& autre) const {
    const float dx = p.x - autre.x, dy = p.y - autre.y;
    const float d2 = dx * dx + dy * dy;
    if (d2 >= DiamBille2) return false;
    // same centre: push along +X
    float ux = 1, uy = 0;
    if (d2 > 0) {
        const float d = std::sqrt(d2);
        ux = dx / d;
        uy = dy / d;
    }
    p.x = autre.x + DiamBille * ux;
    p.y = autre.y + DiamBille * uy;
    return true;
}

std::array<TBilleJeu, 2> OrdreRepousse(TBilleJeu bille) {
    switch (bille) {
        case bjBlanche:
            return {bjJaune, bjRouge};
        case bjJaune:
            return {bjBlanche, bjRouge};
        default:
            return {bjJaune, bjBlanche};
    }
}

bool TTableJeu::Contraint(TCentreBille& p, TBilleJeu bille,
                          const std::array<TCentreBille, 3>& centres) const {
    bool deplace = Borne(p);
    const auto [premiere, seconde] = OrdreRepousse(bille);
    // pushed off the first ball, or else off the second
    if (Repousse(p, centres[premiere]) || Repousse(p, centres[seconde])) deplace = true;
    return deplace;
}

std::array<TCentreBille, 3> TTableJeu::PlaceEnOrdre(const std::array<TCentreBille, 3>& centres) const {
    std::array<TCentreBille, 3> places{};
    for (size_t i = 0; i < centres.size(); ++i) {
        TCentreBille p = centres[i];
        Borne(p);
        for (size_t j = i; j-- > 0;)
            if (Repousse(p, places[j])) break;
        places[i] = p;
    }
    return places;
}
