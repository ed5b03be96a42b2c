#include "moteurs/CoupEnregistre.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/NombresIni.h"

namespace {

// beyond this a file is not a recording of one shot (and would only fill the memory)
constexpr std::size_t kEchantillonsMax = 2'000'000;

std::string_view SansBlancs(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Champs(std::string_view ligne) {
    std::vector<std::string_view> champs;
    std::size_t debut = 0;
    for (;;) {
        const std::size_t virgule = ligne.find(',', debut);
        champs.push_back(SansBlancs(ligne.substr(debut, virgule - debut)));
        if (virgule == std::string_view::npos) break;
        debut = virgule + 1;
    }
    return champs;
}

bool EstEnTete(std::string_view ligne) {
    const auto champs = Champs(ligne);
    return champs.size() == 4 && champs[0] == "ball" && champs[1] == "t" && champs[2] == "x" &&
           champs[3] == "y";
}

std::string Ligne(long n) { return "ligne " + std::to_string(n) + " : "; }

}  // namespace

int TCoupEnregistre::NbEchantillons() const {
    std::size_t n = 0;
    for (int b = 1; b <= NbBilles; ++b) n += Billes[b].size();
    return static_cast<int>(n);
}

double TCoupEnregistre::Duree() const {
    double fin = 0;
    for (int b = 1; b <= NbBilles; ++b)
        if (!Billes[b].empty()) fin = std::max(fin, Billes[b].back().t);
    return fin;
}

namespace {

// Where reading stands: the recording so far, the line of each ball's first sample (which a
// refusal of where the balls start names) and the count of samples.
struct TLecture {
    TCoupEnregistre lu;
    std::array<long, NbBilles + 1> premiereLigne{};
    std::size_t total = 0;
};

// one sample line "ball,t,x,y" added to the recording; false with the reason
bool LitEchantillon(std::string_view ligne, long numero, TLecture& l, std::string& erreur) {
    const auto champs = Champs(ligne);
    if (champs.size() != 4) {
        erreur = Ligne(numero) + "quatre valeurs attendues (bille, t, x, y), " +
                 std::to_string(champs.size()) + " trouvée(s)";
        return false;
    }
    const auto bille = LitReelTexte(champs[0]);
    if (!bille || (*bille != 1 && *bille != 2 && *bille != 3)) {
        erreur = Ligne(numero) + "bille « " + std::string(champs[0]) + " » inconnue (1, 2 ou 3 attendu)";
        return false;
    }
    const char* noms[] = {"t", "x", "y"};
    double v[3];
    for (int k = 0; k < 3; ++k) {
        const auto n = LitReelTexte(champs[k + 1]);
        if (!n) {
            erreur = Ligne(numero) + noms[k] + " « " + std::string(champs[k + 1]) + " » n'est pas un nombre";
            return false;
        }
        v[k] = *n;
    }
    auto& serie = l.lu.Billes[static_cast<int>(*bille)];
    if (!serie.empty() && v[0] < serie.back().t) {
        erreur = Ligne(numero) + "le temps recule pour la bille " + std::string(champs[0]) + " (" +
                 std::string(champs[1]) + " s après " + FormatReel(serie.back().t) + " s)";
        return false;
    }
    if (std::abs(v[0]) > DureeMaxEnregistree) {
        erreur = Ligne(numero) + "t = " + std::string(champs[1]) + " s : un coup dure moins de " +
                 FormatReel(DureeMaxEnregistree) + " s";
        return false;
    }
    if (std::abs(v[1]) > DemiLargeurEnregistree + MargeHorsTable ||
        std::abs(v[2]) > DemiLongueurEnregistree + MargeHorsTable) {
        erreur = Ligne(numero) + "position (" + std::string(champs[2]) + ", " + std::string(champs[3]) +
                 ") loin hors de la table";
        return false;
    }
    if (++l.total > kEchantillonsMax) {
        erreur = Ligne(numero) + "trop d'échantillons pour un coup (plus de " +
                 std::to_string(kEchantillonsMax) + ")";
        return false;
    }
    if (serie.empty()) l.premiereLigne[static_cast<int>(*bille)] = numero;
    serie.push_back({v[0], v[1], v[2]});
    return true;
}

// at the end of the file: the header was there, ball 1 moved, every ball was seen
bool VerifieFin(const TLecture& l, bool enTete, long numero, std::string& erreur) {
    const std::string fin = "ligne " + std::to_string(numero + 1) + " (fin du fichier) : ";
    if (!enTete) {
        erreur = fin + "en-tête « ball,t,x,y » attendu";
        return false;
    }
    if (l.lu.Billes[1].size() < 2) {
        erreur = fin + "la bille 1 a " + std::to_string(l.lu.Billes[1].size()) +
                 " échantillon(s), il en faut au moins deux";
        return false;
    }
    for (int b = 2; b <= NbBilles; ++b)
        if (l.lu.Billes[b].empty()) {
            erreur = fin + "aucun échantillon de la bille " + std::to_string(b);
            return false;
        }
    return true;
}

// no two balls start one inside the other
bool VerifieDeparts(const TLecture& l, std::string& erreur) {
    for (int a = 1; a <= NbBilles; ++a)
        for (int b = a + 1; b <= NbBilles; ++b) {
            const TEchantillon& p = l.lu.Billes[a].front();
            const TEchantillon& q = l.lu.Billes[b].front();
            const double ecart = std::hypot(p.x - q.x, p.y - q.y);
            if (ecart < EcartMinEnregistre) {
                erreur = Ligne(std::max(l.premiereLigne[a], l.premiereLigne[b])) + "les billes " +
                         std::to_string(a) + " et " + std::to_string(b) +
                         " partent l'une dans l'autre (centres à " +
                         FormatReel(std::round(ecart * 100) / 100) + " cm)";
                return false;
            }
        }
    return true;
}

bool Lit(std::istream& flux, TCoupEnregistre& coup, std::string& erreur) {
    TLecture l;
    std::string texte;
    long numero = 0;
    bool enTete = false;
    while (std::getline(flux, texte)) {
        ++numero;
        std::string_view ligne = texte;
        // a byte-order mark may open a UTF-8 file
        if (numero == 1 && ligne.substr(0, 3) == "\xEF\xBB\xBF") ligne.remove_prefix(3);
        ligne = SansBlancs(ligne);
        if (ligne.empty() || ligne.front() == '#') continue;
        if (!enTete) {
            if (!EstEnTete(ligne)) {
                erreur = Ligne(numero) + "en-tête « ball,t,x,y » attendu";
                return false;
            }
            enTete = true;
            continue;
        }
        if (!LitEchantillon(ligne, numero, l, erreur)) return false;
    }
    if (flux.bad()) {
        erreur = "lecture interrompue à la ligne " + std::to_string(numero + 1);
        return false;
    }
    if (!VerifieFin(l, enTete, numero, erreur) || !VerifieDeparts(l, erreur)) return false;
    coup = std::move(l.lu);
    return true;
}

}  // namespace

bool LitCoupEnregistre(std::istream& flux, TCoupEnregistre& coup, std::string* erreur) {
    std::string raison;
    if (Lit(flux, coup, raison)) return true;
    if (erreur) *erreur = raison;
    return false;
}

bool LitCoupEnregistre(const std::string& nomFichier, TCoupEnregistre& coup, std::string* erreur) {
    std::string contenu;
    if (!LitFichier(nomFichier, contenu, erreur)) return false;
    std::istringstream flux(contenu);
    std::string raison;
    if (!Lit(flux, coup, raison)) {
        if (erreur) *erreur = nomFichier + ", " + raison;
        return false;
    }
    return true;
}

std::string TexteCoupEnregistre(const TCoupEnregistre& coup) {
    std::string texte = "ball,t,x,y\n";
    char ligne[128];
    for (int b = 1; b <= NbBilles; ++b)
        for (const TEchantillon& e : coup.Billes[b]) {
            std::snprintf(ligne, sizeof ligne, "%d,%s,%s,%s\n", b, FormatReel(e.t).c_str(),
                          FormatReel(std::round(e.x * 1e6) / 1e6).c_str(),
                          FormatReel(std::round(e.y * 1e6) / 1e6).c_str());
            texte += ligne;
        }
    return texte;
}

bool EcritCoupEnregistre(const std::string& nomFichier, const TCoupEnregistre& coup, std::string* erreur) {
    return EcritFichierAtomique(nomFichier, TexteCoupEnregistre(coup), erreur);
}

void PositionStock(const TStockTrajets& stock, int bille, double tau, int& ibase, double& x, double& y) {
    const int n = stock.NbPhotos;
    const auto& trajet = stock.Trajets[bille];
    if (tau <= 0 || n == 0) {
        x = trajet[0].Position.x;
        y = trajet[0].Position.y;
        return;
    }
    if (tau >= stock.Temps[n]) {
        x = trajet[n].Position.x;
        y = trajet[n].Position.y;
        return;
    }
    int i = std::clamp(ibase, 0, n - 1);
    if (stock.Temps[i] > tau) i = 0;
    while (stock.Temps[i + 1] <= tau) ++i;
    ibase = i;
    const double t0 = stock.Temps[i], t1 = stock.Temps[i + 1];
    const TVecteur& a = trajet[i].Position;
    const TVecteur& b = trajet[i + 1].Position;
    // photos at the same instant (a contact at a clock step): the later one
    const double f = t1 > t0 ? (tau - t0) / (t1 - t0) : 1.0;
    x = a.x + f * (b.x - a.x);
    y = a.y + f * (b.y - a.y);
}

TCoupEnregistre EnregistreStock(const TStockTrajets& stock, const TOptionsEnregistrement& options) {
    TCoupEnregistre coup;
    std::mt19937 alea(options.Graine);
    std::normal_distribution<double> bruit(0.0, 1.0);
    const double fin = stock.Temps[stock.NbPhotos] + options.Decalage;
    const long nbPas = static_cast<long>(std::ceil(fin / options.Periode - 1e-9));
    const double seuil2 = options.SeuilMouvement * options.SeuilMouvement;
    for (int b = 1; b <= NbBilles; ++b) {
        int ibase = 0;
        double xDernier = 0, yDernier = 0;
        for (long k = 0; k <= nbPas; ++k) {
            const double t = k * options.Periode;
            double x, y;
            PositionStock(stock, b, t - options.Decalage, ibase, x, y);
            const bool premier = k == 0, dernier = k == nbPas;
            const double dx = x - xDernier, dy = y - yDernier;
            if (!premier && !dernier && dx * dx + dy * dy < seuil2) continue;
            xDernier = x;
            yDernier = y;
            const double bx = options.Bruit * bruit(alea), by = options.Bruit * bruit(alea);
            coup.Billes[b].push_back({t, x + bx, y + by});
        }
    }
    return coup;
}
