#include "cli/EntreesSorties.h"

#include "fichiers/MemeFichier.h"
#include "fichiers/NomLisible.h"

bool SortieDistincte(const std::string& sortie, const std::vector<std::string>& entrees,
                     std::string* erreur) {
    for (const std::string& entree : entrees) {
        if (entree.empty() || !MemeFichier(sortie, entree)) continue;
        if (erreur)
            *erreur = "\"" + NomLisible(sortie) + "\" est un fichier que la commande lit (\"" +
                      NomLisible(entree) + "\") : il serait remplacé ; choisissez une autre sortie";
        return false;
    }
    return true;
}
