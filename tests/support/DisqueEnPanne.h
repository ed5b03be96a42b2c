// A small file system made by the test (tmpfs) that can be filled up or made read-only, to check
// that every save fails cleanly: a clear error, the previous file intact, nothing claimed saved.
// Needs root (mount); tests skip when it cannot be made.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

class DisqueEnPanne {
  public:
    explicit DisqueEnPanne(const std::string& nom, unsigned kio = 64) {
        dossier_ = std::filesystem::temp_directory_path() /
                   ("velmora-panne-" + nom + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(dossier_);
        const std::string options = "size=" + std::to_string(kio) + "k";
        monte_ = ::mount("tmpfs", dossier_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~DisqueEnPanne() {
        if (monte_) ::umount2(dossier_.c_str(), MNT_DETACH);
        std::error_code ec;
        std::filesystem::remove_all(dossier_, ec);
    }
    DisqueEnPanne(const DisqueEnPanne&) = delete;
    DisqueEnPanne& operator=(const DisqueEnPanne&) = delete;

    bool Pret() const { return monte_; }
    std::string Chemin(const std::string& fichier) const { return (dossier_ / fichier).string(); }

    // fills every free byte
    void Remplis() const {
        std::ofstream f(dossier_ / "remplissage", std::ios::binary);
        const std::string bloc(4096, 'x');
        while (f.write(bloc.data(), static_cast<std::streamsize>(bloc.size()))) {
        }
        f.close();
        // the last partial block
        std::ofstream g(dossier_ / "remplissage2", std::ios::binary);
        while (g.put('x')) {
        }
    }
    // no write at all, even for root
    bool LectureSeule() const {
        return ::mount(nullptr, dossier_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::filesystem::path dossier_;
    bool monte_ = false;
};

#define VELMORA_EXIGE_DISQUE(d) \
    if (!(d).Pret()) GTEST_SKIP() << "cannot mount a test file system (needs root)"
