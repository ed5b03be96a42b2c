#include "cli/TableOptions.h"

#include <cmath>
#include <utility>

#include "fichiers/NombresIni.h"

namespace {

// "--nom=valeur" split at its first "="
struct TArgument {
    std::string nom;
    std::string valeur;
    bool avecValeur = false;
};

TArgument Decoupe(const std::string& argument) {
    TArgument a{argument, {}, false};
    const size_t egal = argument.find('=');
    if (argument.rfind("--", 0) == 0 && egal != std::string::npos) {
        a.valeur = argument.substr(egal + 1);
        a.nom.resize(egal);
        a.avecValeur = true;
    }
    return a;
}

const TOptionCli* Cherche(const std::vector<TOptionCli>& table, const std::string& nom) {
    for (const TOptionCli& o : table)
        if (nom == o.nom) return &o;
    return nullptr;
}

// the option's value, its reading and its message; i moves past a value given apart
bool Applique(const TOptionCli& o, TArgument& a, const std::vector<std::string>& args, size_t& i,
              std::string* erreur) {
    switch (o.genre) {
        case TGenreOption::Refusee:
            return Refuse(erreur, "l'option " + a.nom + " ne s'applique pas à cette commande");
        case TGenreOption::Drapeau:
            if (a.avecValeur) return Refuse(erreur, "l'option " + a.nom + " ne prend pas de valeur");
            break;
        case TGenreOption::Valeur:
            if (!a.avecValeur) {
                if (i + 1 >= args.size()) return Refuse(erreur, "l'option " + a.nom + " attend une valeur");
                a.valeur = args[++i];
            }
            break;
    }
    return o.lit(a.valeur, erreur);
}

}  // namespace

bool LitOptionsCli(const std::vector<std::string>& args, const std::vector<TOptionCli>& table,
                   const std::function<bool(const std::string& argument, std::string* erreur)>& positionnel,
                   std::string* erreur) {
    for (size_t i = 0; i < args.size(); ++i) {
        TArgument a = Decoupe(args[i]);
        if (const TOptionCli* o = Cherche(table, a.nom)) {
            if (!Applique(*o, a, args, i, erreur)) return false;
        } else if (a.avecValeur) {
            return Refuse(erreur, "l'option " + a.nom + " ne prend pas de valeur");
        } else if (a.nom.size() > 1 && a.nom[0] == '-') {
            return Refuse(erreur, "option inconnue " + a.nom);
        } else if (!positionnel(a.nom, erreur)) {
            return false;
        }
    }
    return true;
}

bool PreleveOptionsCli(const std::vector<std::string>& args, const std::vector<TOptionCli>& table,
                       std::vector<std::string>& reste, std::string* erreur) {
    for (size_t i = 0; i < args.size(); ++i) {
        TArgument a = Decoupe(args[i]);
        if (const TOptionCli* o = Cherche(table, a.nom)) {
            if (!Applique(*o, a, args, i, erreur)) return false;
        } else {
            reste.push_back(args[i]);
        }
    }
    return true;
}

bool Refuse(std::string* erreur, std::string message) {
    if (erreur) *erreur = std::move(message);
    return false;
}

bool LitEntierBorne(const std::string& texte, long long mini, long long maxi, long long& valeur) {
    const auto v = LitReelTexte(texte);
    if (!v || *v != std::floor(*v) || *v < double(mini) || *v > double(maxi)) return false;
    valeur = static_cast<long long>(*v);
    return true;
}

std::function<bool(const std::string&, std::string*)> OptionEntier(long long mini, long long maxi,
                                                                   std::string message,
                                                                   std::function<void(long long)> ecrit) {
    return [mini, maxi, message = std::move(message), ecrit = std::move(ecrit)](const std::string& valeur,
                                                                                std::string* erreur) {
        long long n = 0;
        if (!LitEntierBorne(valeur, mini, maxi, n)) return Refuse(erreur, message);
        ecrit(n);
        return true;
    };
}

std::function<bool(const std::string&, std::string*)> OptionNonVide(std::string& champ, std::string message) {
    return [&champ, message = std::move(message)](const std::string& valeur, std::string* erreur) {
        if (valeur.empty()) return Refuse(erreur, message);
        champ = valeur;
        return true;
    };
}

std::function<bool(const std::string&, std::string*)> OptionDrapeau(bool& champ) {
    return [&champ](const std::string&, std::string*) { return champ = true; };
}

std::function<bool(const std::string&, std::string*)> PositionnelUnique(std::string& champ,
                                                                        std::string quoi) {
    return [&champ, quoi = std::move(quoi)](const std::string& nom, std::string* erreur) {
        if (!champ.empty())
            return Refuse(erreur, "un seul " + quoi + " attendu, \"" + nom + "\" est de trop");
        champ = nom;
        return true;
    };
}

std::function<bool(const std::string&, std::string*)> OptionTexte(std::string& champ) {
    return [&champ](const std::string& valeur, std::string*) {
        champ = valeur;
        return true;
    };
}
