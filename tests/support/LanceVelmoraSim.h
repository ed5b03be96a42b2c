// Runs velmora-sim as a user runs it, from a shell, and keeps what it did: its exit status and what
// it wrote on each of its streams.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/DossierDeTest.h"

struct TSortie {
    int statut = -1;  // -1: ended by a signal
    std::string out;
    std::string err;
};

// args already quoted for the shell; avant goes before the program (variables such as
// "LC_ALL=fr_FR.UTF-8"); the streams go to files of dossier, the output to sortie when given
inline TSortie ExecuteVelmoraSim(const std::filesystem::path& dossier, const std::string& args,
                                 const std::string& avant = "", const std::string& sortie = "") {
    const std::filesystem::path out = sortie.empty() ? dossier / "out.txt" : std::filesystem::path(sortie);
    const std::filesystem::path err = dossier / "err.txt";
    const std::string commande =
        avant + " '" + VELMORA_SIM_EXE + "' " + args + " > '" + out.string() + "' 2> '" + err.string() + "'";
    const int brut = std::system(commande.c_str());
    return {WIFEXITED(brut) ? WEXITSTATUS(brut) : -1, sortie.empty() ? LitFichierEntier(out) : std::string(),
            LitFichierEntier(err)};
}
