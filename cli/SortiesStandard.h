// The standard output and error of velmora-sim, written with write(2) so that a failed write (a
// full disk, a closed file) is seen with its reason rather than lost in a buffer: the program then
// says so and exits 1 instead of claiming a success. On the error stream, control characters are
// escaped, so that nothing a message quotes (a file name) can drive the terminal.
#pragma once

#include <streambuf>
#include <string>
#include <vector>

class TTamponDescripteur : public std::streambuf {
public:
    TTamponDescripteur(int fd, bool echappeControles);
    ~TTamponDescripteur() override;
    TTamponDescripteur(const TTamponDescripteur&) = delete;
    TTamponDescripteur& operator=(const TTamponDescripteur&) = delete;

    // errno of the first write that failed, 0 while none did
    int Erreur() const { return erreur_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    // writes what is buffered; a C1 control's first byte waits for its second unless it is the end
    bool Vide(bool fin = false);

    int fd_;
    bool echappe_;
    int erreur_ = 0;
    std::string tampon_;
};

// Runs the command line with std::cout and std::cerr on such buffers, then flushes both: a failed
// write to the output adds one line on the error stream and makes the status 1; a failed write to
// the error stream makes a success 1. The exit status.
int LanceAvecSortiesVerifiees(const std::vector<std::string>& args);
