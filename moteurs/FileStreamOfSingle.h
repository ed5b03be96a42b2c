// A file of 4-byte floats (IEEE single, little-endian whatever the host) written and read a block
// of 2000 values at a time, and the layout of the difficulty results file (".bul") built on it.
// Standard library and POSIX only: shared by the desktop program and the command line.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TFileOfSingle {
  public:
    static constexpr int TailleTampon = 2000;
    static constexpr int OctetsParValeur = 4;

    // mode 1: creates the file (an existing one is emptied); mode 0: opens it for reading and
    // reads the first block. A failure leaves the error state set (see Erreur).
    TFileOfSingle(const std::string& nom, int mode);
    // writing: what remains in the buffer is written, then the file is closed; an error here
    // cannot be reported, so callers that care close with Ferme first
    ~TFileOfSingle();
    TFileOfSingle(const TFileOfSingle&) = delete;
    TFileOfSingle& operator=(const TFileOfSingle&) = delete;

    // appends one value; a full buffer goes to the file at once
    void Ecrit(float valeur);
    void EcritVecteur(float x, float y, float z);
    // writes the buffered values, if any, in one go
    void Vide();
    // reads up to one block into the buffer
    void Remplit();
    // writing: Vide then close; false (and the message) when any write or the close failed
    bool Ferme();

    // sticky: the first failure (open, write, read, close) is kept until the object dies;
    // nothing is written after a failed write
    bool Erreur() const { return !erreur_.empty(); }
    const std::string& MessageErreur() const { return erreur_; }
    // the same without the file name
    const std::string& RaisonErreur() const { return raison_; }
    const std::string& Nom() const { return nom_; }

    // writes issued to the file and bytes they carried (blocks, plus the remainder at close)
    int NbEcritures() const { return nbEcritures_; }
    std::int64_t OctetsEcrits() const { return octetsEcrits_; }

    std::uint8_t Mode = 0;     // 1 writing, 0 reading
    bool DernierBloc = false;  // reading: the last block read was short
    bool FinFichier = false;   // reading: the last block read held no whole value
    std::array<float, TailleTampon> Tampon{};
    int DernierLu = -1;      // reading: index of the last valid value of Tampon, -1 when none
    int IndexEcriture = -1;  // writing: index of the last value put into Tampon, -1 when empty

  private:
    void Echec(const std::string& raison);

    std::string nom_;
    int fd_ = -1;
    std::string erreur_;
    std::string raison_;
    int nbEcritures_ = 0;
    std::int64_t octetsEcrits_ = 0;
};

// ---- the ".bul" results file ----
// head: the three ball positions (player's, non-player's, red), then the upper and the lower
// bounds of the six tested ranges; then one record of six values per successful trial.
// Parameter order everywhere: Effet (cm), Hauteur (cm), aim (deg), speed (cm/s),
// inclination (deg), mass (g).

inline constexpr int NbParamsBul = 6;
inline constexpr int TailleEnteteBul = 84;
inline constexpr int TailleEnregistrementBul = 24;

struct TEnteteBul {
    std::array<std::array<float, 3>, 3> Positions{};
    std::array<float, NbParamsBul> Hautes{};
    std::array<float, NbParamsBul> Basses{};

    friend bool operator==(const TEnteteBul&, const TEnteteBul&) = default;
};

using TEnregistrementBul = std::array<float, NbParamsBul>;

void EcritEnteteBul(TFileOfSingle& f, const TEnteteBul& entete);
void EcritEnregistrementBul(TFileOfSingle& f, const TEnregistrementBul& e);

// the name the results are saved under: the extension becomes ".bul"
std::string NomBul(const std::string& nom);

struct TContenuBul {
    TEnteteBul Entete;
    std::vector<TEnregistrementBul> Enregistrements;
};

// Reads a whole ".bul"; false with the reason when it cannot be read or its length is not
// 84 + 24 × n bytes.
bool LitBul(const std::string& nom, TContenuBul& contenu, std::string* erreur = nullptr);

// Writes a ".bul" so that no half-written file ever carries its name: the values go to a
// temporary file beside it, renamed over the target by Termine. A calculation stopped early
// still ends with Termine and leaves a valid file of the records found so far; after a write
// error the temporary file is removed and the target is left as it was.
class TEcritureBul {
  public:
    TEcritureBul() = default;
    ~TEcritureBul();  // without Termine: the temporary file is removed
    TEcritureBul(const TEcritureBul&) = delete;
    TEcritureBul& operator=(const TEcritureBul&) = delete;

    // creates the temporary file and writes the head; false with the reason
    bool Ouvre(const std::string& nom, const TEnteteBul& entete, std::string* erreur = nullptr);
    void Ajoute(const TEnregistrementBul& e);
    // writes the rest, closes and puts the file in place; false with the reason
    bool Termine(std::string* erreur = nullptr);
    // removes the temporary file; the target is untouched
    void Abandonne();

    bool Ouvert() const { return fichier_ != nullptr; }
    bool Erreur() const { return fichier_ && fichier_->Erreur(); }
    std::string MessageErreur() const;
    const std::string& Nom() const { return nom_; }

  private:
    std::string nom_;
    std::string cible_;
    std::string temp_;
    std::unique_ptr<TFileOfSingle> fichier_;
};
