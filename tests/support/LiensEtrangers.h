// What another local user can leave in a folder everyone may write (a shared sticky folder such
// as /tmp): a symbolic link of theirs aimed at a private file of the user running the tests.
// Making a link someone else owns needs root; tests skip with the reason otherwise.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// the uid of 'nobody': no user has to be created for it
inline constexpr uid_t UidEtranger = 65534;

// a folder like /tmp: every one may write in it, only the owner of an entry may remove it
inline void CreePartage(const std::string& dossier) {
    std::filesystem::create_directories(dossier);
    ::chmod(dossier.c_str(), 01777);
}

// a private file: mode 600 in a folder of mode 700
inline void CreePrive(const std::string& dossier, const std::string& fichier, const std::string& contenu) {
    std::filesystem::create_directories(dossier);
    ::chmod(dossier.c_str(), 0700);
    std::ofstream(dossier + "/" + fichier, std::ios::binary) << contenu;
    ::chmod((dossier + "/" + fichier).c_str(), 0600);
}

// a link to cible owned by another user; false when this process may not give it away
inline bool PlanteLienEtranger(const std::string& cible, const std::string& lien) {
    std::error_code ec;
    std::filesystem::create_symlink(cible, lien, ec);
    return !ec && ::lchown(lien.c_str(), UidEtranger, UidEtranger) == 0;
}

#define VELMORA_EXIGE_ROOT()                                                                      \
    if (::geteuid() != 0)                                                                         \
    GTEST_SKIP() << "needs root: only root can make a link owned by another user (run the tests " \
                    "as root to check it)"
