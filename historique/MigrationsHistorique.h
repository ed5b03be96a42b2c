// The history database's schema as an ordered list of migrations: migration v brings a database
// from version v − 1 to v (PRAGMA user_version). A migration, once shipped, never changes: a new
// need is a new migration at the end.
#pragma once

#include <vector>

// "VELM": marks our databases (PRAGMA application_id), so that another program's is refused
inline constexpr int IdApplicationHistorique = 1447382093;

// migrations 1..N in order; the current version is their count
const std::vector<const char*>& MigrationsHistorique();
inline int VersionHistorique() { return int(MigrationsHistorique().size()); }
