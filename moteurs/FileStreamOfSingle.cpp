#include "moteurs/FileStreamOfSingle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <limits>

#include "fichiers/EcritureAtomique.h"

namespace {

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559, "IEEE singles required");

constexpr int OctetsBloc = TFileOfSingle::TailleTampon * TFileOfSingle::OctetsParValeur;

// little-endian bytes of the first n values, whatever the host's order
void VersOctets(const float* v, int n, unsigned char* octets) {
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const std::uint32_t b = std::bit_cast<std::uint32_t>(v[i]);
        octets[4 * i] = static_cast<unsigned char>(b);
        octets[4 * i + 1] = static_cast<unsigned char>(b >> 8);
        octets[4 * i + 2] = static_cast<unsigned char>(b >> 16);
        octets[4 * i + 3] = static_cast<unsigned char>(b >> 24);
    }
}

void DepuisOctets(const unsigned char* octets, int n, float* v) {
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const std::uint32_t b = std::uint32_t(octets[4 * i]) | std::uint32_t(octets[4 * i + 1]) << 8 |
                                std::uint32_t(octets[4 * i + 2]) << 16 |
                                std::uint32_t(octets[4 * i + 3]) << 24;
        v[i] = std::bit_cast<float>(b);
    }
}

std::string Guillemets(const std::string& nom) {
    return "\"" + nom + "\" : ";
}

}  // namespace

TFileOfSingle::TFileOfSingle(const std::string& nom, int mode) : nom_(nom) {
    Mode = mode == 1 ? 1 : 0;
    if (mode != 0 && mode != 1) {
        Echec("mode d'ouverture inconnu");
        FinFichier = DernierBloc = true;
        return;
    }
    const int drapeaux =
        Mode == 1 ? O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC : O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    fd_ = ::open(nom.c_str(), drapeaux, 0666);
    if (fd_ < 0) Echec(std::strerror(errno));
    // reading: a pipe or a device would never end
    struct stat st {};
    if (fd_ >= 0 && Mode == 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)))
        Echec(S_ISDIR(st.st_mode) ? "c'est un dossier" : "n'est pas un fichier ordinaire");
    // a file that cannot be read reads as an empty one
    if (Mode == 0) Remplit();
}

TFileOfSingle::~TFileOfSingle() {
    if (fd_ < 0) return;
    if (Mode == 1) Vide();
    ::close(fd_);
}

void TFileOfSingle::Echec(const std::string& raison) {
    if (!erreur_.empty()) return;
    raison_ = raison;
    erreur_ = Guillemets(nom_) + raison;
}

void TFileOfSingle::Ecrit(float valeur) {
    Tampon[static_cast<size_t>(++IndexEcriture)] = valeur;
    if (IndexEcriture == TailleTampon - 1) Vide();
}

void TFileOfSingle::EcritVecteur(float x, float y, float z) {
    Ecrit(x);
    Ecrit(y);
    Ecrit(z);
}

void TFileOfSingle::Vide() {
    if (IndexEcriture < 0) return;
    const int n = IndexEcriture + 1;
    IndexEcriture = -1;
    // after a failure nothing more reaches the file: its content stops at a known point
    if (Erreur() || fd_ < 0 || Mode != 1) {
        Echec("fichier non ouvert en écriture");
        return;
    }
    std::array<unsigned char, OctetsBloc> octets;
    VersOctets(Tampon.data(), n, octets.data());
    // one write for the block; the system may still take it in pieces
    ++nbEcritures_;
    size_t fait = 0;
    const size_t total = static_cast<size_t>(n) * OctetsParValeur;
    while (fait < total) {
        const ssize_t r = ::write(fd_, octets.data() + fait, total - fait);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            Echec(r < 0 ? std::strerror(errno) : "écriture impossible");
            return;
        }
        fait += static_cast<size_t>(r);
        octetsEcrits_ += r;
    }
}

void TFileOfSingle::Remplit() {
    IndexEcriture = -1;
    std::array<unsigned char, OctetsBloc> octets;
    size_t b = 0;
    if (fd_ >= 0 && Mode == 0 && !Erreur()) {
        while (b < octets.size()) {
            const ssize_t r = ::read(fd_, octets.data() + b, octets.size() - b);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) Echec(std::strerror(errno));
            if (r <= 0) break;
            b += static_cast<size_t>(r);
        }
    }
    // only whole values count: a trailing fragment is not a value
    const int n = static_cast<int>(b / OctetsParValeur);
    DepuisOctets(octets.data(), n, Tampon.data());
    FinFichier = b < OctetsParValeur;
    DernierBloc = b != octets.size();
    DernierLu = n - 1;
}

bool TFileOfSingle::Ferme() {
    if (fd_ < 0) return !Erreur();
    if (Mode == 1) {
        Vide();
        // on disk before anyone renames or reads it; devices that cannot sync are not a failure
        if (!Erreur() && ::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) Echec(std::strerror(errno));
    }
    if (::close(fd_) != 0 && Mode == 1) Echec(std::strerror(errno));
    fd_ = -1;
    return !Erreur();
}

// ---- ".bul" ----

void EcritEnteteBul(TFileOfSingle& f, const TEnteteBul& entete) {
    for (const auto& p : entete.Positions) f.EcritVecteur(p[0], p[1], p[2]);
    for (float v : entete.Hautes) f.Ecrit(v);
    for (float v : entete.Basses) f.Ecrit(v);
}

void EcritEnregistrementBul(TFileOfSingle& f, const TEnregistrementBul& e) {
    for (float v : e) f.Ecrit(v);
}

std::string NomBul(const std::string& nom) {
    return std::filesystem::path(nom).replace_extension(".bul").string();
}

bool LitBul(const std::string& nom, TContenuBul& contenu, std::string* erreur) {
    TFileOfSingle f(nom, 0);
    std::vector<float> valeurs;
    while (!f.Erreur() && f.DernierLu >= 0) {
        valeurs.insert(valeurs.end(), f.Tampon.begin(), f.Tampon.begin() + f.DernierLu + 1);
        if (f.DernierBloc) break;
        f.Remplit();
    }
    if (f.Erreur()) {
        if (erreur) *erreur = f.MessageErreur();
        return false;
    }
    // the length tells a results file from anything else; a partial value shows as a short count
    std::error_code ec;
    const auto taille = std::filesystem::file_size(nom, ec);
    const size_t entete = TailleEnteteBul / 4;
    if (ec || taille != valeurs.size() * 4 || valeurs.size() < entete ||
        (valeurs.size() - entete) % NbParamsBul != 0) {
        if (erreur) *erreur = Guillemets(nom) + "ce n'est pas un fichier de résultats (.bul)";
        return false;
    }
    size_t i = 0;
    for (auto& p : contenu.Entete.Positions)
        for (float& v : p) v = valeurs[i++];
    for (float& v : contenu.Entete.Hautes) v = valeurs[i++];
    for (float& v : contenu.Entete.Basses) v = valeurs[i++];
    contenu.Enregistrements.assign((valeurs.size() - entete) / NbParamsBul, {});
    for (auto& e : contenu.Enregistrements)
        for (float& v : e) v = valeurs[i++];
    return true;
}

// ---- writing a ".bul" without ever leaving it half-written ----

TEcritureBul::~TEcritureBul() {
    Abandonne();
}

bool TEcritureBul::Ouvre(const std::string& nom, const TEnteteBul& entete, std::string* erreur) {
    Abandonne();
    nom_ = nom;
    // the target as every save sees it: links followed, special or protected files refused
    std::string cible;
    if (!CibleSauvegarde(nom, cible, erreur)) return false;
    const int fd = CreeTemporaire(cible, temp_);
    if (fd < 0) {
        if (erreur) *erreur = Guillemets(nom) + std::strerror(errno);
        temp_.clear();
        return false;
    }
    ::close(fd);
    fichier_ = std::make_unique<TFileOfSingle>(temp_, 1);
    if (fichier_->Erreur()) {
        if (erreur) *erreur = Guillemets(nom) + fichier_->RaisonErreur();
        fichier_.reset();
        ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    cible_ = cible;
    EcritEnteteBul(*fichier_, entete);
    return true;
}

void TEcritureBul::Ajoute(const TEnregistrementBul& e) {
    if (fichier_) EcritEnregistrementBul(*fichier_, e);
}

std::string TEcritureBul::MessageErreur() const {
    return Erreur() ? Guillemets(nom_) + fichier_->RaisonErreur() : std::string();
}

bool TEcritureBul::Termine(std::string* erreur) {
    if (!fichier_) {
        if (erreur) *erreur = Guillemets(nom_) + "fichier non ouvert";
        return false;
    }
    bool ok = fichier_->Ferme();
    std::string raison = ok ? std::string() : MessageErreur();
    // the target may have changed during a long calculation
    std::string cible;
    if (ok && !CibleSauvegarde(nom_, cible, &raison)) ok = false;
    // the target keeps its permissions
    std::error_code ec;
    const auto ancien = std::filesystem::status(cible_, ec);
    if (ok && !ec && std::filesystem::exists(ancien))
        std::filesystem::permissions(temp_, ancien.permissions(), ec);
    if (ok && std::rename(temp_.c_str(), cible_.c_str()) != 0) {
        ok = false;
        raison = Guillemets(nom_) + std::strerror(errno);
    }
    if (!ok) {
        Abandonne();
        if (erreur) *erreur = raison;
        return false;
    }
    fichier_.reset();
    temp_.clear();
    return true;
}

void TEcritureBul::Abandonne() {
    if (!fichier_) return;
    fichier_.reset();
    ::unlink(temp_.c_str());
    temp_.clear();
}
