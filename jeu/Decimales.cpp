#include "jeu/Decimales.h"

#include <cmath>
#include <cstdio>

std::string Decimales(double v, int n, char separateur) {
    char texte[64];
    std::snprintf(texte, sizeof texte, "%.*f", n, v);
    std::string s = texte;
    // a value rounding to zero prints as zero, whatever its sign
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    if (const auto point = s.find('.'); point != std::string::npos) s[point] = separateur;
    return s;
}

std::string DecimalesCourtes(double v, int n, char separateur) {
    std::string s = Decimales(v, n, separateur);
    if (s.find(separateur) == std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    if (s.back() == separateur) s.pop_back();
    return s;
}
