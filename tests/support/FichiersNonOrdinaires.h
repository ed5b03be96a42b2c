// Things that may stand where a file is saved or read: a named pipe, a local socket, a file
// nobody may write. Made for the test and gone with its folder.
#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

inline bool CreeTube(const std::string& nom) {
    return ::mkfifo(nom.c_str(), 0666) == 0;
}

// a socket file bound to a name; the descriptor stays open until the test closes it
inline int CreeSocket(const std::string& nom) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    if (nom.size() >= sizeof(a.sun_path)) return -1;
    std::memcpy(a.sun_path, nom.c_str(), nom.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

inline void CreeProtege(const std::string& nom, const std::string& contenu) {
    std::ofstream(nom, std::ios::binary) << contenu;
    ::chmod(nom.c_str(), 0444);
}

inline bool EstTube(const std::string& nom) {
    struct stat st {};
    return ::lstat(nom.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}
