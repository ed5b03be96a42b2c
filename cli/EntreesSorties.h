// An output a command line names must not be one of the command's own inputs: it would replace
// or corrupt it. Checked before anything is computed.
#pragma once

#include <string>
#include <vector>

// false with the message when sortie is the same file as one of entrees (links followed)
bool SortieDistincte(const std::string& sortie, const std::vector<std::string>& entrees,
                     std::string* erreur = nullptr);
