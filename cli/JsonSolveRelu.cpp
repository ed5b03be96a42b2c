#include "cli/JsonSolveRelu.h"

#include <cmath>
#include <cstdlib>

namespace {

// a JSON value, as much of it as the check needs
struct TJson {
    enum class Genre { Nul, Booleen, Nombre, Texte, Tableau, Objet } genre = Genre::Nul;
    bool booleen = false;
    double nombre = 0;
    std::string texte;
    std::vector<std::string> noms;  // an object's members, in order, with their values in elements
    std::vector<TJson> elements;

    const TJson* Membre(const std::string& nom) const {
        for (size_t i = 0; i < noms.size(); ++i)
            if (noms[i] == nom) return &elements[i];
        return nullptr;
    }
};

class TLecteurJson {
public:
    explicit TLecteurJson(const std::string& texte) : t_(texte) {}

    bool Valeur(TJson& v, int profondeur = 0) {
        Blancs();
        if (i_ >= t_.size() || profondeur > 32) return false;
        const char c = t_[i_];
        if (c == '{') return Objet(v, profondeur);
        if (c == '[') return Tableau(v, profondeur);
        if (c == '"') {
            v.genre = TJson::Genre::Texte;
            return Chaine(v.texte);
        }
        if (Mot("true") || Mot("false")) {
            v.genre = TJson::Genre::Booleen;
            v.booleen = t_.compare(i_ - 4, 4, "true") == 0;
            return true;
        }
        if (Mot("null")) return true;
        return Nombre(v);
    }
    // only blanks are left
    bool Fini() {
        Blancs();
        return i_ == t_.size();
    }

private:
    void Blancs() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\t' || t_[i_] == '\r')) ++i_;
    }
    bool Mot(const char* mot) {
        const std::string m(mot);
        if (t_.compare(i_, m.size(), m) != 0) return false;
        i_ += m.size();
        return true;
    }
    bool Chaine(std::string& s) {
        ++i_;
        while (i_ < t_.size() && t_[i_] != '"') {
            if (static_cast<unsigned char>(t_[i_]) < 0x20) return false;
            if (t_[i_] == '\\')
                ++i_;  // the escaped character is kept as it is written: no name here needs it
            if (i_ < t_.size()) s += t_[i_++];
        }
        return i_++ < t_.size();
    }
    bool Nombre(TJson& v) {
        const char* debut = t_.c_str() + i_;
        char* fin = nullptr;
        v.nombre = std::strtod(debut, &fin);
        if (fin == debut || !std::isfinite(v.nombre)) return false;
        i_ += size_t(fin - debut);
        v.genre = TJson::Genre::Nombre;
        return true;
    }
    bool Tableau(TJson& v, int profondeur) {
        v.genre = TJson::Genre::Tableau;
        ++i_;
        Blancs();
        if (i_ < t_.size() && t_[i_] == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            v.elements.emplace_back();
            if (!Valeur(v.elements.back(), profondeur + 1)) return false;
            Blancs();
            if (i_ >= t_.size()) return false;
            if (t_[i_++] == ']') return true;
            if (t_[i_ - 1] != ',') return false;
        }
    }
    bool Objet(TJson& v, int profondeur) {
        v.genre = TJson::Genre::Objet;
        ++i_;
        Blancs();
        if (i_ < t_.size() && t_[i_] == '}') {
            ++i_;
            return true;
        }
        for (;;) {
            Blancs();
            v.noms.emplace_back();
            v.elements.emplace_back();
            if (i_ >= t_.size() || t_[i_] != '"' || !Chaine(v.noms.back())) return false;
            Blancs();
            if (i_ >= t_.size() || t_[i_++] != ':' || !Valeur(v.elements.back(), profondeur + 1))
                return false;
            Blancs();
            if (i_ >= t_.size()) return false;
            if (t_[i_++] == '}') return true;
            if (t_[i_ - 1] != ',') return false;
        }
    }

    const std::string& t_;
    size_t i_ = 0;
};

// a whole number of at least zero
bool Entier(const TJson* v, std::int64_t& n) {
    if (!v || v->genre != TJson::Genre::Nombre || v->nombre < 0 || v->nombre != std::floor(v->nombre) ||
        v->nombre > 9e15)
        return false;
    n = std::int64_t(v->nombre);
    return true;
}

}  // namespace

bool LitBilanJsonSolve(const std::string& texte, TBilanJsonSolve& bilan) {
    TJson racine;
    TLecteurJson lecteur(texte);
    if (texte.empty() || texte.back() != '\n' || !lecteur.Valeur(racine) || !lecteur.Fini() ||
        racine.genre != TJson::Genre::Objet)
        return false;
    const TJson* routes = racine.Membre("routes");
    const TJson* interrompu = racine.Membre("interrupted");
    std::int64_t trouvees = 0;
    if (!routes || routes->genre != TJson::Genre::Tableau || !interrompu ||
        interrompu->genre != TJson::Genre::Booleen || !Entier(racine.Membre("routes_found"), trouvees) ||
        trouvees > 1'000'000'000)
        return false;
    bilan = {};
    bilan.RoutesTrouvees = int(trouvees);
    bilan.Interrompu = interrompu->booleen;
    for (const TJson& route : routes->elements) {
        std::int64_t essais = 0, reussis = 0;
        if (route.genre != TJson::Genre::Objet || !Entier(route.Membre("trials"), essais) ||
            !Entier(route.Membre("successes"), reussis) || reussis > essais)
            return false;
        bilan.Routes.emplace_back(essais, reussis);
    }
    return true;
}
