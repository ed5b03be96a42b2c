// The most recently used position files: at most four, most recent first, kept in the
// settings file section "DerniersVels" as "Fichier1" ... "Fichier4". No Qt.
#pragma once

#include <string>
#include <vector>

class TFichierIni;

class TListeRecents {
  public:
    static constexpr int NbMax = 4;

    const std::vector<std::string>& Noms() const { return noms_; }
    // puts the name on top; a name already present moves up, a fifth name drops the oldest
    void Ajoute(const std::string& nom);

    void Lit(const TFichierIni& ini);
    // replaces the section's entries with the list
    void Ecrit(TFichierIni& ini) const;

  private:
    std::vector<std::string> noms_;
};
