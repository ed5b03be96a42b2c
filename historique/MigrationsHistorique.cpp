// The schema of the history database, version by version.
#include "historique/MigrationsHistorique.h"

namespace {

// 1: players, drill packs and their drills (by fingerprint), attempts with every cue value
constexpr const char* kVersion1 = R"sql(
PRAGMA application_id = 1447382093;
CREATE TABLE joueurs (
  id INTEGER PRIMARY KEY,
  nom TEXT NOT NULL UNIQUE COLLATE NOCASE
);
CREATE TABLE packs (
  id INTEGER PRIMARY KEY,
  empreinte TEXT NOT NULL UNIQUE,
  titre TEXT NOT NULL,
  chemin TEXT NOT NULL
);
CREATE TABLE exercices (
  id INTEGER PRIMARY KEY,
  empreinte TEXT NOT NULL UNIQUE,
  pack_id INTEGER REFERENCES packs(id),
  titre TEXT NOT NULL,
  mode INTEGER NOT NULL
);
CREATE TABLE tentatives (
  id INTEGER PRIMARY KEY,
  joueur_id INTEGER NOT NULL REFERENCES joueurs(id),
  exercice_id INTEGER REFERENCES exercices(id),
  quand INTEGER NOT NULL,
  mode INTEGER NOT NULL,
  effet REAL NOT NULL, hauteur REAL NOT NULL, visee REAL NOT NULL,
  vitesse REAL NOT NULL, inclinaison REAL NOT NULL, masse REAL NOT NULL,
  billes TEXT NOT NULL,
  reussi INTEGER NOT NULL,
  fausse_queue INTEGER NOT NULL
);
)sql";

// 2: what the analysis of an attempt finds, and the best routes kept by position
constexpr const char* kVersion2 = R"sql(
ALTER TABLE tentatives ADD COLUMN contacts TEXT;
ALTER TABLE tentatives ADD COLUMN robustesse REAL;
ALTER TABLE tentatives ADD COLUMN essais INTEGER;
ALTER TABLE tentatives ADD COLUMN meilleur_taux REAL;
ALTER TABLE tentatives ADD COLUMN meilleure_route TEXT;
CREATE TABLE cache_routes (
  empreinte TEXT PRIMARY KEY,
  libelle TEXT NOT NULL,
  queue TEXT NOT NULL,
  essais INTEGER NOT NULL,
  reussis INTEGER NOT NULL,
  calcule INTEGER NOT NULL
);
)sql";

// 3: matches, their shots (for undo and resume) and their innings
constexpr const char* kVersion3 = R"sql(
CREATE TABLE parties (
  id INTEGER PRIMARY KEY,
  joueur_a INTEGER NOT NULL REFERENCES joueurs(id),
  joueur_b INTEGER NOT NULL REFERENCES joueurs(id),
  mode INTEGER NOT NULL,
  distance INTEGER NOT NULL,
  limite_reprises INTEGER NOT NULL,
  egalisation INTEGER NOT NULL,
  depart TEXT NOT NULL,
  debut INTEGER NOT NULL,
  fin INTEGER,
  etat INTEGER NOT NULL DEFAULT 0,
  points_a INTEGER NOT NULL DEFAULT 0, reprises_a INTEGER NOT NULL DEFAULT 0,
  meilleure_serie_a INTEGER NOT NULL DEFAULT 0,
  points_b INTEGER NOT NULL DEFAULT 0, reprises_b INTEGER NOT NULL DEFAULT 0,
  meilleure_serie_b INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE coups_partie (
  partie_id INTEGER NOT NULL REFERENCES parties(id) ON DELETE CASCADE,
  numero INTEGER NOT NULL,
  joueur INTEGER NOT NULL,
  point INTEGER NOT NULL,
  avant TEXT NOT NULL,
  apres TEXT NOT NULL,
  tentative_id INTEGER REFERENCES tentatives(id),
  PRIMARY KEY (partie_id, numero)
);
CREATE TABLE reprises (
  partie_id INTEGER NOT NULL REFERENCES parties(id) ON DELETE CASCADE,
  joueur INTEGER NOT NULL,
  numero INTEGER NOT NULL,
  points INTEGER NOT NULL,
  PRIMARY KEY (partie_id, joueur, numero)
);
ALTER TABLE tentatives ADD COLUMN partie_id INTEGER REFERENCES parties(id);
)sql";

// 4: the progress window's queries on a long history
constexpr const char* kVersion4 = R"sql(
CREATE INDEX tentatives_joueur_quand ON tentatives (joueur_id, quand);
CREATE INDEX tentatives_exercice ON tentatives (exercice_id, joueur_id);
CREATE INDEX parties_debut ON parties (debut);
)sql";

}  // namespace

const std::vector<const char*>& MigrationsHistorique() {
    static const std::vector<const char*> migrations{kVersion1, kVersion2, kVersion3, kVersion4};
    return migrations;
}
