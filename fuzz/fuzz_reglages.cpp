// The settings file "Velmora3D.ini": any content gives a finite rate, at most four distinct recent
// files, and a list that is written and read back unchanged.
// sources: fichiers/FichierIni.cpp fichiers/NombresIni.cpp fichiers/EcritureAtomique.cpp app/ListeRecents.cpp
// sources: fichiers/NomLisible.cpp
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "app/ListeRecents.h"
#include "fichiers/FichierIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    TFichierIni ini;
    ini.ChargeTexte(std::string_view(reinterpret_cast<const char*>(data), taille));
    if (!std::isfinite(ini.LitReel("Divers", "TauxRalenti", 1.0))) std::abort();
    (void)ini.LitTexte("Divers", "FisikFile", "");

    TListeRecents liste;
    liste.Lit(ini);
    const auto& noms = liste.Noms();
    if (noms.size() > static_cast<size_t>(TListeRecents::NbMax)) std::abort();
    if (std::set<std::string>(noms.begin(), noms.end()).size() != noms.size()) std::abort();

    // written back, the list reads the same (line breaks inside a name cannot be kept)
    for (const std::string& nom : noms)
        if (nom.find_first_of("\r\n") != std::string::npos) return 0;
    liste.Ecrit(ini);
    TFichierIni relu;
    relu.ChargeTexte(ini.Texte());
    TListeRecents encore;
    encore.Lit(relu);
    if (encore.Noms() != noms) std::abort();
    return 0;
}
