#include "cli/TravauxBatch.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

std::vector<TTypeTravailBatch>& Registre() {
    static std::vector<TTypeTravailBatch> types;
    return types;
}

void AjouteEntier(std::string& octets, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) octets.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void AjouteTexte(std::string& octets, const std::string& texte) {
    AjouteEntier(octets, texte.size());
    octets += texte;
}

// reads what the encoder wrote, refusing anything that runs past the end
class TLecteur {
public:
    explicit TLecteur(const std::string& octets) : octets_(octets) {}
    bool Entier(std::uint64_t& v) {
        if (octets_.size() - position_ < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(octets_[position_ + size_t(i)])) << (8 * i);
        position_ += 8;
        return true;
    }
    bool Texte(std::string& texte) {
        std::uint64_t n = 0;
        if (!Entier(n) || n > octets_.size() - position_) return false;
        texte.assign(octets_, position_, size_t(n));
        position_ += size_t(n);
        return true;
    }
    bool Fini() const { return position_ == octets_.size(); }

private:
    const std::string& octets_;
    size_t position_ = 0;
};

}  // namespace

bool SepareEntrees(const std::vector<std::string>& args, const std::vector<std::string>& avecValeur,
                   std::vector<std::string>& entrees, std::vector<std::string>& options,
                   std::string* erreur) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind('-', 0) != 0 || a.size() == 1) {
            entrees.push_back(a);
            continue;
        }
        options.push_back(a);
        if (std::find(avecValeur.begin(), avecValeur.end(), a) != avecValeur.end()) {
            if (i + 1 >= args.size()) {
                if (erreur) *erreur = "l'option " + a + " attend une valeur";
                return false;
            }
            options.push_back(args[++i]);
        }
    }
    if (entrees.empty()) {
        if (erreur) *erreur = "fichier ou dossier de positions manquant";
        return false;
    }
    return true;
}

TEnregistreTravailBatch::TEnregistreTravailBatch(const TTypeTravailBatch& type) {
    Registre().push_back(type);
}

std::vector<TTypeTravailBatch> TypesTravailBatch() {
    std::vector<TTypeTravailBatch> types = Registre();
    std::sort(types.begin(), types.end(), [](const TTypeTravailBatch& a, const TTypeTravailBatch& b) {
        return std::strcmp(a.nom, b.nom) < 0;
    });
    return types;
}

const TTypeTravailBatch* TrouveTypeTravailBatch(const std::string& nom) {
    for (const TTypeTravailBatch& t : Registre())
        if (nom == t.nom) return &t;
    return nullptr;
}

std::string EncodeResultatPosition(const TResultatPosition& resultat, double secondes) {
    std::string octets;
    AjouteEntier(octets, resultat.Fichiers.size());
    for (const auto& [suffixe, contenu] : resultat.Fichiers) {
        AjouteTexte(octets, suffixe);
        AjouteTexte(octets, contenu);
    }
    AjouteEntier(octets, resultat.Ligne.size());
    for (const std::string& cellule : resultat.Ligne) AjouteTexte(octets, cellule);
    AjouteEntier(octets, std::bit_cast<std::uint64_t>(secondes));
    return octets;
}

bool DecodeResultatPosition(const std::string& octets, TResultatPosition& resultat, double& secondes) {
    TLecteur lecteur(octets);
    resultat = {};
    std::uint64_t n = 0;
    if (!lecteur.Entier(n) || n > octets.size()) return false;
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string suffixe, contenu;
        if (!lecteur.Texte(suffixe) || !lecteur.Texte(contenu)) return false;
        resultat.Fichiers.emplace_back(std::move(suffixe), std::move(contenu));
    }
    if (!lecteur.Entier(n) || n > octets.size()) return false;
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string cellule;
        if (!lecteur.Texte(cellule)) return false;
        resultat.Ligne.push_back(std::move(cellule));
    }
    std::uint64_t bits = 0;
    if (!lecteur.Entier(bits)) return false;
    secondes = std::bit_cast<double>(bits);
    return lecteur.Fini();
}

std::string ChampCsv(const std::string& texte) {
    if (texte.find_first_of(",\"\r\n") == std::string::npos) return texte;
    std::string champ = "\"";
    for (char c : texte) {
        if (c == '"') champ += '"';
        champ += c;
    }
    return champ + "\"";
}

bool LitCsv(const std::string& texte, std::vector<std::vector<std::string>>& lignes) {
    lignes.clear();
    std::vector<std::string> ligne(1);
    bool entreGuillemets = false;
    for (size_t i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        if (entreGuillemets) {
            if (c != '"') {
                ligne.back() += c;
            } else if (i + 1 < texte.size() && texte[i + 1] == '"') {
                ligne.back() += '"';
                ++i;
            } else {
                entreGuillemets = false;
            }
        } else if (c == '"' && ligne.back().empty()) {
            entreGuillemets = true;
        } else if (c == ',') {
            ligne.emplace_back();
        } else if (c == '\n') {
            lignes.push_back(std::move(ligne));
            ligne.assign(1, std::string());
        } else if (c == '"' || c == '\r') {
            return false;
        } else {
            ligne.back() += c;
        }
    }
    // every record ends with its line feed
    return !entreGuillemets && ligne.size() == 1 && ligne.front().empty();
}
