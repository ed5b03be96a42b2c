// Prepared statements and transactions over SQLite.
#include "historique/RequeteSql.h"

namespace {

[[noreturn]] void Echec(sqlite3* base, int code) {
    throw TErreurSql(base ? sqlite3_errmsg(base) : sqlite3_errstr(code), code);
}

}  // namespace

TRequete::TRequete(sqlite3* base, const char* sql) : base_(base) {
    const int code = sqlite3_prepare_v2(base, sql, -1, &requete_, nullptr);
    if (code != SQLITE_OK) Echec(base, code);
}

TRequete& TRequete::Lie(int i, std::int64_t v) {
    if (const int code = sqlite3_bind_int64(requete_, i, v); code != SQLITE_OK) Echec(base_, code);
    return *this;
}

TRequete& TRequete::Lie(int i, double v) {
    if (const int code = sqlite3_bind_double(requete_, i, v); code != SQLITE_OK) Echec(base_, code);
    return *this;
}

TRequete& TRequete::Lie(int i, const std::string& v) {
    const int code = sqlite3_bind_text(requete_, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
    if (code != SQLITE_OK) Echec(base_, code);
    return *this;
}

TRequete& TRequete::Lie(int i, std::optional<double> v) { return v ? Lie(i, *v) : LieNul(i); }

TRequete& TRequete::LieNul(int i) {
    if (const int code = sqlite3_bind_null(requete_, i); code != SQLITE_OK) Echec(base_, code);
    return *this;
}

bool TRequete::Ligne() {
    const int code = sqlite3_step(requete_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    Echec(base_, code);
}

void TRequete::Execute() {
    while (Ligne()) {
    }
}

void TRequete::Recommence() {
    sqlite3_reset(requete_);
    sqlite3_clear_bindings(requete_);
}

std::string TRequete::Texte(int c) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(requete_, c));
    return t ? std::string(t, size_t(sqlite3_column_bytes(requete_, c))) : std::string();
}

void ExecuteSql(sqlite3* base, const char* sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(base, sql, nullptr, nullptr, &message);
    if (code == SQLITE_OK) return;
    const std::string texte = message ? message : sqlite3_errstr(code);
    sqlite3_free(message);
    throw TErreurSql(texte, code);
}

std::int64_t EntierSql(sqlite3* base, const char* sql) {
    TRequete r(base, sql);
    return r.Ligne() ? r.Entier(0) : 0;
}

TTransaction::TTransaction(sqlite3* base) : base_(base) { ExecuteSql(base, "BEGIN IMMEDIATE"); }

TTransaction::~TTransaction() {
    if (!finie_) sqlite3_exec(base_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Valide() {
    ExecuteSql(base_, "COMMIT");
    finie_ = true;
}
