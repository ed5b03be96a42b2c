// Numbers in the words of the game: a fixed count of decimals with the separator the reader
// expects ("." on the command line and in files, the locale's in the windows).
#pragma once

#include <string>

// v with n decimals; never "-0"
std::string Decimales(double v, int n, char separateur = '.');
// the same without a zero last decimal: 2 → "2", 1.5 → "1,5" (tips, diamonds)
std::string DecimalesCourtes(double v, int n, char separateur = '.');
