#include "cli/BarreProgression.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

bool BarreVoulue(const std::ostream& err) { return &err == &std::cerr && ::isatty(STDERR_FILENO); }

void AfficheBarre(double fraction, const char* suite, bool finale) {
    constexpr int largeur = 30;
    const int plein = static_cast<int>(fraction * largeur);
    std::fprintf(stderr, "\r[%s%s] %3d %% %s", std::string(size_t(plein), '#').c_str(),
                 std::string(size_t(largeur - plein), '.').c_str(), static_cast<int>(fraction * 100), suite);
    if (finale) std::fputc('\n', stderr);
    std::fflush(stderr);
}
