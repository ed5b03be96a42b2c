#include "jeu/ContactsBandes.h"

#include <algorithm>
#include <cmath>

#include "jeu/Diamants.h"

namespace {

// the final photo of a shot whose balls stopped at a contact repeats that contact's photo
bool RepeteLaPrecedente(const TBillardVelmora& simu, int i, int n) {
    return i == n && simu.Temps[i] == simu.Temps[i - 1] && simu.TypesChocs[i] == simu.TypesChocs[i - 1] &&
           simu.Contacts[i] == simu.Contacts[i - 1];
}

// the cushion ball b has just met at photo n, 0 when none: its centre within a radius of the
// nose line, moving into it at the photo before and no longer at this one
int BandeContre(const TBillardVelmora& simu, int b, int n) {
    const TPARAMPHYS& f = simu.Fisik;
    const TPVR& e = simu.Trajets[b][n];
    const TVecteur& avant = simu.Trajets[b][n - 1].Vitesse;
    // a little slack: the contact is taken where the ball touches the nose, above its equator
    const double marge = f.RayonBilles() + 0.01;
    int bande = 0;
    double ecartMin = marge;
    for (const TBande& bd : f.Bandes()) {
        const double ecart =
            bd.Normale.x != 0 ? std::fabs(e.Position.x - bd.Point.x) : std::fabs(e.Position.y - bd.Point.y);
        const double normale = e.Vitesse.x * bd.Normale.x + e.Vitesse.y * bd.Normale.y;
        const double normaleAvant = avant.x * bd.Normale.x + avant.y * bd.Normale.y;
        if (ecart <= ecartMin && normale >= 0 && normaleAvant < 0) {
            ecartMin = ecart;
            bande = bd.Numero;
        }
    }
    return bande;
}

}  // namespace

std::vector<TContactBande> ContactsBandes(const TBillardVelmora& simu, bool toutesBilles) {
    std::vector<TContactBande> contacts;
    const int n = std::min<int>(simu.NbPhotos, NbPhotosMax);
    const double largeur = simu.Fisik.largeurJeu();
    for (int i = 1; i <= n; ++i) {
        if (simu.TypesChocs[i] != tcBilleBande || RepeteLaPrecedente(simu, i, n)) continue;
        int bille = 0, bande = 0;
        const int touche = simu.Contacts[i];
        if (touche >= 1 && touche <= 4) {
            bille = 1;
            bande = touche;
        } else if (toutesBilles) {
            for (int b = 2; b <= NbBilles && bande == 0; ++b)
                if ((bande = BandeContre(simu, b, i)) != 0) bille = b;
        }
        if (bande == 0) continue;
        const TVecteur& p = simu.Trajets[bille][i].Position;
        contacts.push_back({bille, bande, DiamantSurBande(bande, p.x, p.y, largeur), simu.Temps[i], i, p});
    }
    return contacts;
}

std::vector<int> PhotosContactsBilles(const TBillardVelmora& simu) {
    std::vector<int> photos;
    const int n = std::min<int>(simu.NbPhotos, NbPhotosMax);
    for (int i = 1; i <= n; ++i)
        if (simu.TypesChocs[i] == tcBilleBille && (simu.Contacts[i] == 2 || simu.Contacts[i] == 3) &&
            !RepeteLaPrecedente(simu, i, n))
            photos.push_back(i);
    return photos;
}

std::string TexteParcours(const std::vector<TContactBande>& contacts, int bille, char separateur) {
    std::string texte;
    for (const TContactBande& c : contacts) {
        if (c.Bille != bille) continue;
        if (!texte.empty()) texte += " → ";
        texte += TexteContactBande(c.Bande, c.Diamant, separateur);
    }
    return texte;
}

std::string TexteContactsBille1(const TBillardVelmora& simu, const std::string& nomBille2, char separateur) {
    const std::vector<TContactBande> bandes = ContactsBandes(simu);
    const std::vector<int> billes = PhotosContactsBilles(simu);
    std::string texte;
    size_t i = 0, j = 0;
    while (i < bandes.size() || j < billes.size()) {
        if (!texte.empty()) texte += " → ";
        if (j < billes.size() && (i == bandes.size() || billes[j] < bandes[i].Photo)) {
            texte += simu.Contacts[billes[j++]] == 3 ? std::string("Rouge") : nomBille2;
        } else {
            texte += TexteContactBande(bandes[i].Bande, bandes[i].Diamant, separateur);
            ++i;
        }
    }
    return texte;
}

int BilleEnTete(const TBillardVelmora& simu) {
    const std::vector<int> billes = PhotosContactsBilles(simu);
    if (billes.empty()) return 0;
    const std::vector<TContactBande> bandes = ContactsBandes(simu);
    return bandes.empty() || billes.front() < bandes.front().Photo ? simu.Contacts[billes.front()] : 0;
}
