// velmora-sim send against servers it must not trust: another user's, one that answers with
// terminal control codes.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/DossierDeTest.h"
#include "tests/support/LanceVelmoraSim.h"

namespace {

class CommandeSendTest : public TestAvecDossier {
protected:
    CommandeSendTest() : TestAvecDossier("velmora-cli-send") {}

    TSortie Envoie(const std::string& socket) const {
        return ExecuteVelmoraSim(dossier_, "send '" + std::string(VELMORA_EXAMPLES_DIR) +
                                               "/trois_bandes.vel' --socket '" + socket + "'");
    }
};

// a listening socket; -1 on failure
int Ecoute(const std::string& chemin) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, chemin.c_str(), sizeof a.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0)
        return -1;
    return fd;
}

// one client: its block is read, the answer written
void Sert(int fd, const std::string& reponse) {
    const int client = ::accept(fd, nullptr, nullptr);
    if (client < 0) return;
    char bloc[60];
    size_t lus = 0;
    while (lus < sizeof bloc) {
        const ssize_t n = ::read(client, bloc + lus, sizeof bloc - lus);
        if (n <= 0) break;
        lus += size_t(n);
    }
    const ssize_t ecrits = ::write(client, reponse.data(), reponse.size());
    (void)ecrits;
    ::close(client);
}

}  // namespace

TEST_F(CommandeSendTest, TheServersAnswerIsPrintedWithoutControlCharacters) {
    const std::string socket = Chemin("s.sock");
    const int fd = Ecoute(socket);
    ASSERT_GE(fd, 0);
    std::thread serveur(Sert, fd,
                        std::string("REFUS \x1b]0;titre\x07\x1b[31mrouge\xc2\x9b"
                                    "2J fin\n"));
    const TSortie s = Envoie(socket);
    serveur.join();
    ::close(fd);
    EXPECT_EQ(s.statut, 3);
    EXPECT_NE(s.err.find("REFUS ]0;titre[31mrouge2J fin"), std::string::npos) << s.err;
    EXPECT_EQ(s.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(s.err.find('\x07'), std::string::npos);
    EXPECT_EQ(s.err.find("\xc2\x9b"), std::string::npos);
}

TEST_F(CommandeSendTest, AServerOfAnotherUserDoesNotGetTheShot) {
    if (::geteuid() != 0) GTEST_SKIP() << "another user's server needs root to be started";
    // a folder the other user may write in, and that user's server in it
    const std::string socket = Chemin("commun/s.sock");
    ASSERT_EQ(::mkdir(Chemin("commun").c_str(), 0777), 0);
    ::chmod(Chemin("commun").c_str(), 0777);
    int tube[2];
    ASSERT_EQ(::pipe(tube), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(tube[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(1);
        const int fd = Ecoute(socket);
        const char pret = fd >= 0 ? 'o' : 'n';
        if (::write(tube[1], &pret, 1) != 1 || fd < 0) _exit(1);
        // a client that got through would be served an "OK"
        Sert(fd, "OK\n");
        _exit(0);
    }
    ::close(tube[1]);
    char pret = 0;
    ASSERT_EQ(::read(tube[0], &pret, 1), 1);
    ::close(tube[0]);
    ASSERT_EQ(pret, 'o');
    const TSortie s = Envoie(socket);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(s.statut, 3);
    EXPECT_NE(s.err.find("n'appartient pas à l'utilisateur"), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");
}

TEST_F(CommandeSendTest, MisuseIsNamed_SocketWithoutItsPath) {
    const std::string vel = "'" + std::string(VELMORA_EXAMPLES_DIR) + "/trois_bandes.vel'";
    for (const auto& [args, message] : std::vector<std::pair<std::string, std::string>>{
             {"send " + vel + " --socket", "l'option --socket attend une valeur"},
             {"send --socket", "l'option --socket attend une valeur"},
             {"send " + vel + " --sockette x", "option inconnue --sockette"},
             {"send " + vel + " " + vel, "un seul fichier à la fois"},
             {"send", "fichier de position manquant"}}) {
        const TSortie s = ExecuteVelmoraSim(dossier_, args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_EQ(s.err, "velmora-sim send : " + message + " (velmora-sim send --help pour l'aide)\n")
            << args;
    }
}
