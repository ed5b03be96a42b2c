// Files in the Windows INI layout, read and written the way Windows programs do: section and
// key names case-insensitive, CRLF, LF or CR line ends, blanks around "=" and values ignored, the first of
// duplicate keys wins. Writing replaces entries in place and keeps everything else (comments,
// unknown sections and keys, blank lines); new sections and keys appear in writing order.
// Numbers always use "." (see NombresIni.h). No Qt: used by the physics and the windows alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TFichierIni {
public:
    // Reads a file; false with the reason when it cannot be read (the content is then empty).
    bool Charge(const std::string& nomFichier, std::string* erreur = nullptr);
    // Same, but a file that does not exist yet is an empty file, not an error.
    bool ChargeSiExiste(const std::string& nomFichier, std::string* erreur = nullptr);
    void ChargeTexte(std::string_view texte);

    // The file as it would be saved.
    std::string Texte() const;
    // Saves without ever leaving a half-written file; false with the reason.
    bool Sauve(const std::string& nomFichier, std::string* erreur = nullptr) const;

    bool SectionExiste(std::string_view section) const;
    bool CleExiste(std::string_view section, std::string_view cle) const;
    // section names in file order (first occurrence of each)
    std::vector<std::string> Sections() const;
    // keys of a section in file order (first occurrence of each)
    std::vector<std::string> Cles(std::string_view section) const;

    std::optional<std::string> Lit(std::string_view section, std::string_view cle) const;
    std::string LitTexte(std::string_view section, std::string_view cle, std::string_view defaut) const;
    // a missing key, or a value that is not a finite number, gives the default
    double LitReel(std::string_view section, std::string_view cle, double defaut) const;
    long long LitEntier(std::string_view section, std::string_view cle, long long defaut) const;
    bool LitBooleen(std::string_view section, std::string_view cle, bool defaut) const;

    void EcritTexte(std::string_view section, std::string_view cle, std::string_view valeur);
    void EcritReel(std::string_view section, std::string_view cle, double valeur);
    void EcritEntier(std::string_view section, std::string_view cle, long long valeur);
    void EcritBooleen(std::string_view section, std::string_view cle, bool valeur);
    // removes every entry of the section (the header stays)
    void EffaceCles(std::string_view section);
    // removes the key from the section, each time it appears
    void EffaceCle(std::string_view section, std::string_view cle);

private:
    enum class Genre { Section, Cle };
    // A section header or an entry. Lines that are neither (comments, blanks, garbage) are not
    // stored: they stay in the original text between elements and are copied back verbatim.
    struct Element {
        Genre genre;
        size_t debut;  // span of the line in texte_ (without its line end); npos when added
        size_t fin;
        std::string nom;     // section or key name as written
        std::string valeur;  // entries only
        bool modifie;
        bool supprime;
        size_t section;  // entries: index of their section header in elements_ (npos before any)
    };
    static constexpr size_t npos = static_cast<size_t>(-1);

    size_t TrouveSection(std::string_view section) const;
    size_t TrouveCle(std::string_view section, std::string_view cle) const;

    std::string texte_;
    std::vector<Element> elements_;
    std::string finLigne_ = "\n";
};
