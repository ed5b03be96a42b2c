// velmora-sim send: hands a position file's shot to the running Velmora 3D of the same user,
// through its local socket: one block of 15 little-endian floats, then one answer line.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/Commandes.h"
#include "cli/TableOptions.h"
#include "fichiers/CopieCoup.h"
#include "jeu/PositionJeu.h"

namespace {

// the program did not take the shot: absent, refused or silent
constexpr int kErreurEnvoi = 3;
constexpr int kDelaiReponseMs = 10000;

// the shot as the program would show it after opening the file
TCopieCoup CoupDuFichier(const TPositionJeu& p) {
    TCopieCoup c;
    c.Effet = p.Queue.Effet;
    c.Hauteur = p.Queue.Hauteur;
    c.Visee = p.Queue.Visee;
    c.Vitesse = p.Queue.Vitesse;
    c.Inclinaison = p.Queue.Inclinaison;
    c.Masse = p.Queue.Masse;
    const auto centre = [](const TCentreBille& b) { return std::array<float, 3>{b.x, b.y, b.z}; };
    c.Joueur = centre(p.Billes[0]);
    c.NonJoueur = centre(p.Billes[1]);
    c.Rouge = centre(p.Billes[2]);
    return c;
}

// closes the socket whatever happens
struct TSocket {
    int fd = -1;
    ~TSocket() {
        if (fd >= 0) close(fd);
    }
};

// what the other side wrote, without what a terminal would obey (control characters, C1 codes)
std::string SansControles(const std::string& texte) {
    std::string propre;
    for (size_t i = 0; i < texte.size(); ++i) {
        const auto c = static_cast<unsigned char>(texte[i]);
        if (c < 0x20 || c == 0x7f) continue;
        if (c == 0xc2 && i + 1 < texte.size() && static_cast<unsigned char>(texte[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(texte[i + 1]) <= 0x9f) {
            ++i;
            continue;
        }
        propre += texte[i];
    }
    return propre;
}

// the program's socket, of this user only; false with the reason
bool Connecte(const std::string& chemin, TSocket& s, std::string* erreur) {
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (chemin.size() >= sizeof(adresse.sun_path))
        return Refuse(erreur, "chemin de socket trop long : " + chemin);
    std::memcpy(adresse.sun_path, chemin.c_str(), chemin.size() + 1);
    s.fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s.fd < 0) return Refuse(erreur, std::string("socket : ") + std::strerror(errno));
    if (connect(s.fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof(adresse)) != 0) {
        const int e = errno;
        if (e == ENOENT || e == ECONNREFUSED)
            return Refuse(erreur, "aucun Velmora 3D en cours n'attend de coup (" + chemin + ")");
        return Refuse(erreur, chemin + " : " + std::strerror(e));
    }
    // only a program of the same user gets the shot
#ifdef SO_PEERCRED
    ucred pair{};
    socklen_t taille = sizeof pair;
    if (getsockopt(s.fd, SOL_SOCKET, SO_PEERCRED, &pair, &taille) != 0 || pair.uid != getuid())
        return Refuse(
            erreur,
            chemin + " : le programme à l'écoute n'appartient pas à l'utilisateur, coup non transmis");
#endif
    return true;
}

// the whole block, even in pieces, then one line back (nothing when the program closed without
// answering); false with the reason
bool Echange(const TSocket& s, const TCopieCoup& coup, std::string& reponse, std::string* erreur) {
    const auto bloc = EncodeCopieCoup(coup);
    size_t envoyes = 0;
    while (envoyes < bloc.size()) {
        const ssize_t n = send(s.fd, bloc.data() + envoyes, bloc.size() - envoyes, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Refuse(erreur, std::string("envoi interrompu : ") + std::strerror(errno));
        envoyes += static_cast<size_t>(n);
    }
    char tampon[256];
    reponse.clear();
    while (reponse.find('\n') == std::string::npos && reponse.size() < 1024) {
        pollfd p{s.fd, POLLIN, 0};
        const int pret = poll(&p, 1, kDelaiReponseMs);
        if (pret < 0 && errno == EINTR) continue;
        if (pret == 0) return Refuse(erreur, "pas de réponse de Velmora 3D");
        const ssize_t n = recv(s.fd, tampon, sizeof(tampon), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        reponse.append(tampon, static_cast<size_t>(n));
    }
    if (const auto fin = reponse.find('\n'); fin != std::string::npos) reponse.resize(fin);
    return !reponse.empty() || Refuse(erreur, "Velmora 3D a fermé la connexion sans répondre");
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string fichier;
    std::string chemin;
    std::string erreur;
    const std::vector<TOptionCli> table = {{"--socket", TGenreOption::Valeur, OptionTexte(chemin)}};
    const auto positionnel = [&](const std::string& nom, std::string* erreur) {
        if (!fichier.empty()) return Refuse(erreur, "un seul fichier à la fois");
        fichier = nom;
        return true;
    };
    if (!LitOptionsCli(args, table, positionnel, &erreur) ||
        (fichier.empty() && !Refuse(&erreur, "fichier de position manquant"))) {
        err << "velmora-sim send : " << erreur << " (velmora-sim send --help pour l'aide)\n";
        return kErreurUsage;
    }
    if (chemin.empty()) chemin = CheminServeurCoup();

    // read exactly as the program opens a position
    TPositionOuverte ouverte;
    if (!LitPositionJeu(fichier, ouverte, &erreur)) {
        err << "velmora-sim : lecture impossible, " << erreur << "\n";
        return kErreurFichier;
    }
    std::string reponse;
    TSocket s;
    if (!Connecte(chemin, s, &erreur) || !Echange(s, CoupDuFichier(ouverte.Position), reponse, &erreur)) {
        err << "velmora-sim send : " << erreur << "\n";
        return kErreurEnvoi;
    }
    if (reponse != "OK") {
        err << "velmora-sim send : " << SansControles(reponse) << "\n";
        return kErreurEnvoi;
    }
    out << "coup transmis à Velmora 3D (" << chemin << ")\n";
    return kSucces;
}

const std::string kAide =
    "usage : velmora-sim send FICHIER.vel [--socket CHEMIN]\n\n"
    "Transmet le coup d'un fichier de position (queue et positions des trois billes) au\n"
    "Velmora 3D en cours du même utilisateur, qui le joue aussitôt, tous trajets affichés.\n\n"
    "  --socket CHEMIN  socket locale du programme (par défaut velmora3d-UTILISATEUR dans\n"
    "                   $XDG_RUNTIME_DIR, sinon dans le dossier privé $TMPDIR/velmora3d-UID)\n\n"
    "Codes de sortie : 0 coup joué, 1 fichier illisible, 2 usage, 3 programme absent, d'un autre\n"
    "utilisateur, coup refusé ou sans réponse.\n";

const TEnregistreCommande enregistre({"send", "transmet le coup d'un fichier .vel au programme en cours",
                                      kAide.c_str(), 40, &Execute});

}  // namespace
