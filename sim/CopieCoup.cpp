#include "sim/CopieCoup.h"

#include <pwd.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits.h>

std::array<float, NbValeursCopieCoup> ValeursCopieCoup(const TCopieCoup& c) {
    return {c.Effet,        c.Hauteur,      c.Visee,        c.Vitesse,   c.Inclinaison,
            c.Masse,        c.Joueur[0],    c.Joueur[1],    c.Joueur[2], c.NonJoueur[0],
            c.NonJoueur[1], c.NonJoueur[2], c.Rouge[0],     c.Rouge[1],  c.Rouge[2]};
}

TCopieCoup CopieCoupDepuisValeurs(const std::array<float, NbValeursCopieCoup>& v) {
    TCopieCoup c;
    c.Effet = v[0];
    c.Hauteur = v[1];
    c.Visee = v[2];
    c.Vitesse = v[3];
    c.Inclinaison = v[4];
    c.Masse = v[5];
    c.Joueur = {v[6], v[7], v[8]};
    c.NonJoueur = {v[9], v[10], v[11]};
    c.Rouge = {v[12], v[13], v[14]};
    return c;
}

std::array<unsigned char, TailleCopieCoup> EncodeCopieCoup(const TCopieCoup& coup) {
    std::array<unsigned char, TailleCopieCoup> bloc{};
    const auto valeurs = ValeursCopieCoup(coup);
    // little-endian whatever the machine
    for (std::size_t i = 0; i < NbValeursCopieCoup; ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(valeurs[i]);
        for (std::size_t k = 0; k < 4; ++k) bloc[4 * i + k] = static_cast<unsigned char>(bits >> (8 * k));
    }
    return bloc;
}

bool DecodeCopieCoup(std::string_view bloc, TCopieCoup& coup, std::string* erreur) {
    if (bloc.size() != TailleCopieCoup) {
        if (erreur)
            *erreur = "coup reçu refusé : " + std::to_string(bloc.size()) + " octets au lieu de " +
                      std::to_string(TailleCopieCoup);
        return false;
    }
    std::array<float, NbValeursCopieCoup> valeurs{};
    for (std::size_t i = 0; i < NbValeursCopieCoup; ++i) {
        std::uint32_t bits = 0;
        for (std::size_t k = 0; k < 4; ++k)
            bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bloc[4 * i + k])) << (8 * k);
        valeurs[i] = std::bit_cast<float>(bits);
        if (!std::isfinite(valeurs[i])) {
            if (erreur) *erreur = "coup reçu refusé : valeur n° " + std::to_string(i) + " non finie";
            return false;
        }
    }
    coup = CopieCoupDepuisValeurs(valeurs);
    return true;
}

std::string NomServeurCoup() {
    // the login name when the system knows it, else the user number
    const uid_t uid = getuid();
    std::string utilisateur = std::to_string(uid);
    long taille = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string tampon(taille > 0 ? static_cast<std::size_t>(taille) : 16384, '\0');
    passwd pw{};
    passwd* trouve = nullptr;
    if (getpwuid_r(uid, &pw, tampon.data(), tampon.size(), &trouve) == 0 && trouve && trouve->pw_name &&
        *trouve->pw_name)
        utilisateur = trouve->pw_name;
    return "velmora3d-" + utilisateur;
}

std::string CheminServeurCoup() {
    // the temporary folder as the toolkit's local server resolves it
    const char* env = std::getenv("TMPDIR");
    std::string dossier = (env && *env) ? env : "/tmp";
    char reel[PATH_MAX];
    if (realpath(dossier.c_str(), reel)) dossier = reel;
    while (dossier.size() > 1 && dossier.back() == '/') dossier.pop_back();
    return (dossier == "/" ? "" : dossier) + "/" + NomServeurCoup();
}
