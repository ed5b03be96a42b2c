// The positions of a batch run: the ".vel" files named and those of the folders named, each under
// the name its results take in the output folder.
#pragma once

#include <string>
#include <vector>

struct TPosition {
    std::string nom;  // the file's name without its extension: names its results
    std::string fichier;
    std::string empreinte;  // of what shapes its results besides the options (see TTravailBatch)
};

// The files named or held by the folders named (".vel" only there), each once, sorted by name;
// false with the reason and the status: 1 when a file cannot be found or a folder read, 2 when two
// positions would share their results.
bool ListePositions(const std::vector<std::string>& entrees, std::vector<TPosition>& positions, int& statut,
                    std::string* erreur = nullptr);
