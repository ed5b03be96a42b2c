// Target routes of drills: reading, writing, comparing with a played shot.
#include "jeu/RouteCible.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Minuscules(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// the words, "·" (two bytes in UTF-8) and the ASCII separators between them
std::vector<std::string> Mots(const std::string& texte) {
    std::string t;
    for (size_t i = 0; i < texte.size(); ++i) {
        if (texte.compare(i, 2, "\xC2\xB7") == 0) {
            t += ' ';
            ++i;
        } else {
            const char c = texte[i];
            t += (c == ',' || c == ';' || c == '\t') ? ' ' : c;
        }
    }
    std::vector<std::string> mots;
    size_t i = 0;
    while (i < t.size()) {
        while (i < t.size() && t[i] == ' ') ++i;
        size_t j = i;
        while (j < t.size() && t[j] != ' ') ++j;
        if (j > i) mots.push_back(Minuscules(t.substr(i, j - i)));
        i = j;
    }
    return mots;
}

bool Refuse(std::string* erreur, const std::string& raison) {
    if (erreur) *erreur = raison;
    return false;
}

// the point this sequence would make: each object ball once, the second last, enough cushions
bool FaitLePoint(const std::vector<TContactCible>& c, TModeDeJeu mode, std::string* erreur) {
    const auto nb = [&](TContactCible k) { return std::count(c.begin(), c.end(), k); };
    if (nb(TContactCible::Rouge) != 1 || nb(TContactCible::Bille2) != 1)
        return Refuse(erreur, "la route doit toucher une fois chacune des deux autres billes");
    const bool finitParBille = c.back() == TContactCible::Rouge || c.back() == TContactCible::Bille2;
    if (!finitParBille) return Refuse(erreur, "la route doit finir sur la deuxième bille touchée");
    const long bandes = long(c.size()) - 2;
    const long requises = mode == j3Bandes ? 3 : mode == j1Bande ? 1 : 0;
    if (bandes < requises)
        return Refuse(erreur, "la route touche " + std::to_string(bandes) +
                                  " bande(s) avant la deuxième bille, il en faut " +
                                  std::to_string(requises) + " dans ce mode");
    return true;
}

std::string MotInconnu(const std::string& mot, const std::string& bille2) {
    return "mot inconnu \"" + mot + "\" (rouge, " + bille2 + ", longue ou courte)";
}

}  // namespace

bool LitRouteCible(const std::string& texte, TModeDeJeu mode, const std::string& nomBille2,
                   std::vector<TContactCible>& cible, std::string* erreur) {
    std::vector<TContactCible> lue;
    const std::string bille2 = Minuscules(nomBille2);
    for (const std::string& mot : Mots(texte)) {
        if (mot == "rouge")
            lue.push_back(TContactCible::Rouge);
        else if (mot == bille2)
            lue.push_back(TContactCible::Bille2);
        else if (mot == "longue")
            lue.push_back(TContactCible::Longue);
        else if (mot == "courte")
            lue.push_back(TContactCible::Courte);
        else
            return Refuse(erreur, MotInconnu(mot, bille2));
    }
    if (lue.empty()) return Refuse(erreur, "route vide");
    if (!FaitLePoint(lue, mode, erreur)) return false;
    cible = std::move(lue);
    return true;
}

std::string TexteRouteCible(const std::vector<TContactCible>& cible, const std::string& nomBille2) {
    std::string t;
    for (TContactCible c : cible) {
        if (!t.empty()) t += " \xC2\xB7 ";
        t += c == TContactCible::Rouge    ? "Rouge"
             : c == TContactCible::Bille2 ? nomBille2
             : c == TContactCible::Longue ? "longue"
                                          : "courte";
    }
    return t;
}

bool RouteSuivie(const std::vector<TContactCible>& cible, const std::vector<int>& contacts) {
    if (cible.size() != contacts.size()) return false;
    for (size_t i = 0; i < cible.size(); ++i) {
        const int c = contacts[i];
        const TContactCible attendu = c == 12              ? TContactCible::Bille2
                                      : c == 13            ? TContactCible::Rouge
                                      : (c == 1 || c == 3) ? TContactCible::Longue
                                                           : TContactCible::Courte;
        if (c != 12 && c != 13 && (c < 1 || c > 4)) return false;
        if (attendu != cible[i]) return false;
    }
    return true;
}
