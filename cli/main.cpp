// velmora-sim: the headless simulator, for batch work and scripts.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commandes.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return LanceVelmoraSim(args, std::cout, std::cerr);
}
