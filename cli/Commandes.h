// The subcommands of velmora-sim and their dispatch. Each command lives in its own file and
// registers itself there, so a new command is a new file: nothing else changes.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// exit statuses
inline constexpr int kSucces = 0;
inline constexpr int kErreurFichier = 1;
inline constexpr int kErreurUsage = 2;

struct TCommande {
    const char* nom;
    const char* resume;  // one line for the general help
    const char* aide;    // the command's own help
    int rang;            // place in the general help
    int (*execute)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// registers a command at start-up: one static object per command file
struct TEnregistreCommande {
    explicit TEnregistreCommande(const TCommande& commande);
};

// runs the command line; the result is the exit status
int LanceVelmoraSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
