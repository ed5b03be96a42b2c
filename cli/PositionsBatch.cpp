#include "cli/PositionsBatch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include "cli/Commandes.h"
#include "fichiers/NomLisible.h"

namespace fs = std::filesystem;

bool ListePositions(const std::vector<std::string>& entrees, std::vector<TPosition>& positions, int& statut,
                    std::string* erreur) {
    statut = kErreurFichier;
    std::vector<fs::path> fichiers;
    for (const std::string& entree : entrees) {
        std::error_code ec;
        const fs::file_status etat = fs::status(entree, ec);
        if (fs::is_directory(etat)) {
            const size_t avant = fichiers.size();
            for (const fs::directory_entry& e : fs::directory_iterator(entree, ec)) {
                std::string extension = e.path().extension().string();
                std::transform(extension.begin(), extension.end(), extension.begin(),
                               [](unsigned char c) { return char(std::tolower(c)); });
                if (extension == ".vel" && e.is_regular_file(ec)) fichiers.push_back(e.path());
            }
            if (ec) {
                if (erreur)
                    *erreur = "\"" + NomLisible(entree) + "\" : dossier illisible (" + ec.message() + ")";
                return false;
            }
            if (fichiers.size() == avant) {
                if (erreur)
                    *erreur =
                        "\"" + NomLisible(entree) + "\" : aucun fichier de positions .vel dans ce dossier";
                return false;
            }
        } else if (fs::exists(etat)) {
            fichiers.emplace_back(entree);
        } else {
            if (erreur) *erreur = "\"" + NomLisible(entree) + "\" : fichier introuvable";
            return false;
        }
    }
    // a file named twice is computed once
    std::set<fs::path> vus;
    std::map<std::string, std::string> parNom;
    for (const fs::path& f : fichiers) {
        std::error_code ec;
        const fs::path canonique = fs::weakly_canonical(f, ec);
        if (!vus.insert(ec ? f : canonique).second) continue;
        const std::string nom = f.stem().string();
        if (nom.empty()) {
            if (erreur) *erreur = "\"" + NomLisible(f.string()) + "\" : nom de fichier sans nom de position";
            return false;
        }
        const auto [it, nouveau] = parNom.emplace(nom, f.string());
        if (!nouveau) {
            statut = kErreurUsage;
            if (erreur)
                *erreur = "deux positions portent le nom \"" + NomLisible(nom) + "\" (\"" +
                          NomLisible(it->second) + "\" et \"" + NomLisible(f.string()) +
                          "\") : leurs résultats auraient le même nom";
            return false;
        }
    }
    positions.clear();
    for (const auto& [nom, fichier] : parNom) positions.push_back({nom, fichier, {}});
    return true;
}
