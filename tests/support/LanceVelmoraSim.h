// Runs velmora-sim as a user runs it, from a shell, and keeps what it did: its exit status and what
// it wrote on each of its streams.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

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

// Starts velmora-sim in the background (the shell's exec leaves it as the process a signal
// reaches), its streams to files of dossier; its process number.
inline pid_t DemarreVelmoraSim(const std::filesystem::path& dossier, const std::string& args) {
    const std::string commande = "exec '" + std::string(VELMORA_SIM_EXE) + "' " + args + " > '" +
                                 (dossier / "out.txt").string() + "' 2> '" + (dossier / "err.txt").string() +
                                 "'";
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", commande.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// what a process started so did, once it has ended; statut -1 when a signal killed it
inline TSortie FinVelmoraSim(const std::filesystem::path& dossier, pid_t pid) {
    int brut = 0;
    waitpid(pid, &brut, 0);
    return {WIFEXITED(brut) ? WEXITSTATUS(brut) : -1, LitFichierEntier(dossier / "out.txt"),
            LitFichierEntier(dossier / "err.txt")};
}
