// velmora-sim: the headless simulator, for batch work and scripts.
#include <clocale>
#include <string>
#include <vector>

#include "cli/SortiesStandard.h"

int main(int argc, char** argv) {
    // the system's reasons (a full disk, a missing file) in the user's language; numbers keep "."
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    return LanceAvecSortiesVerifiees(args);
}
