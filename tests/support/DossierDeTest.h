// A folder of its own for each test, removed afterwards, and reading a whole file back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "fichiers/EcritureAtomique.h"

// the file's bytes, as the program reads a file; empty when it cannot be read
inline std::string LitFichierEntier(const std::filesystem::path& nom) {
    std::string contenu;
    LitFichier(nom.string(), contenu);
    return contenu;
}

class TestAvecDossier : public ::testing::Test {
protected:
    explicit TestAvecDossier(const std::string& prefixe) : prefixe_(prefixe) {}

    void SetUp() override {
        dossier_ = std::filesystem::temp_directory_path() /
                   (prefixe_ + "-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dossier_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dossier_, ec);
    }
    std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }

    std::filesystem::path dossier_;

private:
    std::string prefixe_;
};
