#include "fichiers/CopieCoup.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::array<float, NbValeursCopieCoup> ValeursCopieCoup(const TCopieCoup& c) {
    return {c.Effet,        c.Hauteur,      c.Visee,     c.Vitesse,   c.Inclinaison,
            c.Masse,        c.Joueur[0],    c.Joueur[1], c.Joueur[2], c.NonJoueur[0],
            c.NonJoueur[1], c.NonJoueur[2], c.Rouge[0],  c.Rouge[1],  c.Rouge[2]};
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

std::string DossierServeurCoup() {
    // the session's private folder when there is one
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && xdg[0] == '/') {
        std::string dossier = xdg;
        while (dossier.size() > 1 && dossier.back() == '/') dossier.pop_back();
        return dossier;
    }
    // else a folder of the user's own in the temporary folder, as the toolkit's local server resolves it
    const char* env = std::getenv("TMPDIR");
    std::string dossier = (env && *env) ? env : "/tmp";
    char reel[PATH_MAX];
    if (realpath(dossier.c_str(), reel)) dossier = reel;
    while (dossier.size() > 1 && dossier.back() == '/') dossier.pop_back();
    return (dossier == "/" ? "" : dossier) + "/velmora3d-" + std::to_string(getuid());
}

std::string CheminServeurCoup() {
    return DossierServeurCoup() + "/" + NomServeurCoup();
}

bool PrepareDossierServeurCoup(const std::string& chemin, std::string* erreur) {
    const auto dit = [&](const std::string& texte) {
        if (erreur) *erreur = texte;
        return false;
    };
    const size_t barre = chemin.rfind('/');
    const std::string dossier = barre == std::string::npos ? "." : barre == 0 ? "/" : chemin.substr(0, barre);
    if (::mkdir(dossier.c_str(), 0700) != 0 && errno != EEXIST)
        return dit("dossier " + dossier + " impossible à créer : " + std::strerror(errno));
    // a link, another user's folder or one others may enter could hand the shots to someone else
    struct stat st {};
    if (::lstat(dossier.c_str(), &st) != 0) return dit("dossier " + dossier + " : " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return dit("dossier " + dossier + " : ce n'est pas un dossier");
    if (st.st_uid != ::geteuid())
        return dit("dossier " + dossier + " : il appartient à un autre utilisateur");
    if ((st.st_mode & 077) != 0) {
        char droits[8];
        std::snprintf(droits, sizeof droits, "%03o", static_cast<unsigned>(st.st_mode & 0777));
        return dit("dossier " + dossier + " : ouvert à d'autres utilisateurs (droits " + droits + ")");
    }
    if (::lstat(chemin.c_str(), &st) == 0 && st.st_uid != ::geteuid())
        return dit("socket " + chemin + " : elle appartient à un autre utilisateur");
    return true;
}
