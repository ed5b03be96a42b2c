// A drill pack: a folder of position files and one small INI pack file (".ven") that gives the
// pack's title and, for each drill, its position, title, game mode, notes, the route a coach
// wants played, and the best route the solver found with its success rate. Sections:
//   [Entrainement]  Titre, Notes, Table (a ".fsk" beside the pack; none: the factory table)
//   [Exercice N]    Position, Titre, Mode (3bandes, 1bande, libre), Joueur (Blanche or Jaune),
//                   Notes, Cible, MeilleurTaux (%), MeilleureRoute, MeilleureQueue (effet hauteur
//                   visée vitesse inclinaison masse)
// Drills are played in the order of N. Also the walk through a pack's drills.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "jeu/PositionJeu.h"
#include "jeu/RouteCible.h"

// the word of a game mode in our files and on the command line: "3bandes", "1bande", "libre"
const char* MotModeJeu(TModeDeJeu mode);
std::optional<TModeDeJeu> ModeJeuDepuisMot(const std::string& mot);

// a cue as six numbers "effet hauteur visée vitesse inclinaison masse" ("." always); reading
// refuses anything else and an inclination outside [0, 90)
std::string TexteQueue(const TQueueDegres& q);
std::optional<TQueueDegres> LitQueueTexte(const std::string& texte);

// the best route of a drill as the pack states it
struct TMeilleureRoutePack {
    double Taux = 0;  // success rate, 0..1
    std::string Libelle;
    TQueueDegres Queue;
};

struct TExercice {
    int Numero = 0;               // N of [Exercice N]
    std::string FichierPosition;  // as written in the pack (relative to its folder)
    std::string CheminPosition;   // the file read
    std::string Titre;
    std::string Notes;
    TModeDeJeu Mode = j3Bandes;
    bool JoueurJaune = false;          // the player strikes the yellow
    std::vector<TContactCible> Cible;  // empty: no target
    std::optional<TMeilleureRoutePack> Meilleure;
    // the position as the program takes it: the player's ball, the other cue ball, the red
    TPositionJeu Position;

    std::string NomBille2() const { return JoueurJaune ? "Blanche" : "Jaune"; }
    // identifies the drill wherever its files lie: the balls, the player's colour and the mode
    std::string Empreinte() const;
};

struct TPackEntrainement {
    std::string Titre;
    std::string Notes;
    std::string FichierTable;  // as written; empty: the factory table
    std::string CheminTable;   // the file read, empty when none
    std::string Chemin;        // the pack file
    std::vector<TExercice> Exercices;

    std::string Empreinte() const;  // from the drills' fingerprints, in order
};

// Reads a pack and every drill's position. False with the reason (naming the drill) when the file
// is not a pack, has no drill, or a drill's position, mode, colour, target or best route cannot
// be read; a pack refused is refused whole.
bool ChargePack(const std::string& fichier, TPackEntrainement& pack, std::string* erreur = nullptr);
// The pack file's text (positions not written); drills in the order of the vector.
std::string TextePack(const TPackEntrainement& pack);
bool SauvePack(const TPackEntrainement& pack, const std::string& fichier, std::string* erreur = nullptr);

// Walking a pack: the drill in play, the next and previous ones (no wrap), and the balls of the
// drill put back exactly as the pack holds them.
class TParcoursPack {
public:
    explicit TParcoursPack(TPackEntrainement pack) : pack_(std::move(pack)) {}

    const TPackEntrainement& Pack() const { return pack_; }
    int Indice() const { return indice_; }
    int Nombre() const { return int(pack_.Exercices.size()); }
    const TExercice& Courant() const { return pack_.Exercices.at(size_t(indice_)); }
    bool Suivant();
    bool Precedent();
    bool Va(int indice);
    // the position of the drill in play, as at its start
    const TPositionJeu& Recommence() const { return Courant().Position; }

private:
    TPackEntrainement pack_;
    int indice_ = 0;
};
