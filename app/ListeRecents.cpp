#include "app/ListeRecents.h"

#include <algorithm>

#include "fichiers/FichierIni.h"

namespace {
constexpr const char* Section = "DerniersVels";

std::string Cle(int i) {
    return "Fichier" + std::to_string(i + 1);
}
}  // namespace

void TListeRecents::Ajoute(const std::string& nom) {
    if (nom.empty()) return;
    noms_.erase(std::remove(noms_.begin(), noms_.end(), nom), noms_.end());
    noms_.insert(noms_.begin(), nom);
    if (noms_.size() > NbMax) noms_.resize(NbMax);
}

void TListeRecents::Lit(const TFichierIni& ini) {
    noms_.clear();
    // in order, skipping blanks and repeats
    for (int i = 0; i < NbMax; ++i) {
        const std::string nom = ini.LitTexte(Section, Cle(i), "");
        if (!nom.empty() && std::find(noms_.begin(), noms_.end(), nom) == noms_.end()) noms_.push_back(nom);
    }
}

void TListeRecents::Ecrit(TFichierIni& ini) const {
    ini.EffaceCles(Section);
    for (size_t i = 0; i < noms_.size(); ++i) ini.EcritTexte(Section, Cle(static_cast<int>(i)), noms_[i]);
}
