// Whether two names lead to one file: an output that would replace a command's own input is
// refused before anything is computed, whatever the names (links followed, ".." and the like).
#pragma once

#include <string>

// the same device and inode once links are followed; false when either cannot be reached
bool MemeFichier(const std::string& a, const std::string& b);
