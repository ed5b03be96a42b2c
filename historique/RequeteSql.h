// A thin layer over SQLite's C interface for the history database: prepared statements that free
// themselves, values bound and read by column, and one exception type for every failure, caught
// at the database's public functions and turned into a French message there.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

struct TErreurSql : std::runtime_error {
    TErreurSql(const std::string& quoi, int code) : std::runtime_error(quoi), Code(code) {}
    int Code;
};

class TRequete {
public:
    TRequete(sqlite3* base, const char* sql);
    ~TRequete() { sqlite3_finalize(requete_); }
    TRequete(const TRequete&) = delete;
    TRequete& operator=(const TRequete&) = delete;

    // parameters numbered from 1
    TRequete& Lie(int i, std::int64_t v);
    TRequete& Lie(int i, double v);
    TRequete& Lie(int i, const std::string& v);
    TRequete& Lie(int i, std::optional<double> v);
    TRequete& LieNul(int i);
    // one step: true while a row is there
    bool Ligne();
    // runs a statement that returns no row
    void Execute();
    void Recommence();

    // columns numbered from 0
    std::int64_t Entier(int c) const { return sqlite3_column_int64(requete_, c); }
    double Reel(int c) const { return sqlite3_column_double(requete_, c); }
    std::string Texte(int c) const;
    bool Nul(int c) const { return sqlite3_column_type(requete_, c) == SQLITE_NULL; }
    std::optional<double> ReelOuRien(int c) const {
        return Nul(c) ? std::nullopt : std::optional<double>(Reel(c));
    }

private:
    sqlite3* base_;
    sqlite3_stmt* requete_ = nullptr;
};

// runs one or more statements without parameters
void ExecuteSql(sqlite3* base, const char* sql);
// a single whole number (PRAGMA user_version, count(*))
std::int64_t EntierSql(sqlite3* base, const char* sql);

// BEGIN IMMEDIATE (the write lock at once, waiting up to the busy timeout), COMMIT by Valide,
// ROLLBACK when left without it
class TTransaction {
public:
    explicit TTransaction(sqlite3* base);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Valide();

private:
    sqlite3* base_;
    bool finie_ = false;
};
