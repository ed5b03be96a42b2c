// Drill packs: the pack file read and written, and the walk through its drills.
#include "jeu/PackEntrainement.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "fichiers/Empreinte.h"
#include "fichiers/NombresIni.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSectionPack = "Entrainement";
constexpr const char* kPrefixeExercice = "Exercice ";

bool Refuse(std::string* erreur, const std::string& raison) {
    if (erreur) *erreur = raison;
    return false;
}

// N of "[Exercice N]", or nothing for any other section
std::optional<int> NumeroExercice(const std::string& section) {
    const std::string prefixe = kPrefixeExercice;
    if (section.size() <= prefixe.size()) return std::nullopt;
    std::string debut = section.substr(0, prefixe.size());
    for (char& c : debut) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (debut != "exercice ") return std::nullopt;
    const auto n = LitEntierTexte(section.substr(prefixe.size()));
    if (!n || *n < 0 || *n > 1'000'000) return std::nullopt;
    return int(*n);
}

// where in the pack file a drill is at fault, and why
std::string DansSection(const std::string& fichier, const std::string& section, const std::string& raison) {
    return fichier + ", [" + section + "] : " + raison;
}

// a file named in the pack: relative to the pack's folder unless absolute
std::string CheminDansPack(const std::string& pack, const std::string& nom) {
    const fs::path p(nom);
    return p.is_absolute() ? nom : (fs::path(pack).parent_path() / p).lexically_normal().string();
}

}  // namespace

std::optional<TQueueDegres> LitQueueTexte(const std::string& texte) {
    std::istringstream flux(texte);
    std::array<float, 6> v{};
    std::string mot;
    for (float& x : v) {
        if (!(flux >> mot)) return std::nullopt;
        const auto r = LitReelTexte(mot);
        if (!r || std::abs(*r) > 1e6) return std::nullopt;
        x = float(*r);
    }
    if (flux >> mot) return std::nullopt;
    TQueueDegres q;
    q.Effet = v[0];
    q.Hauteur = v[1];
    q.Visee = v[2];
    q.SetVitesse(v[3]);
    if (!q.SetInclinaison(v[4])) return std::nullopt;
    q.SetMasse(v[5]);
    return q;
}

std::string TexteQueue(const TQueueDegres& q) {
    std::string t;
    for (int i = 0; i < 6; ++i) t += (i ? " " : "") + FormatReel(q.Valeur(i));
    return t;
}

namespace {

// the best route's keys, all three or none
bool LitMeilleure(const TFichierIni& ini, const std::string& s, TExercice& e, std::string* erreur) {
    const auto taux = ini.Lit(s, "MeilleurTaux");
    if (!taux) return true;
    const auto t = LitReelTexte(*taux);
    if (!t || *t < 0 || *t > 100) return Refuse(erreur, "MeilleurTaux attend un pourcentage de 0 à 100");
    const auto q = LitQueueTexte(ini.LitTexte(s, "MeilleureQueue", ""));
    if (!q)
        return Refuse(
            erreur, "MeilleureQueue attend six nombres : effet, hauteur, visée, vitesse, inclinaison, masse");
    e.Meilleure = TMeilleureRoutePack{*t / 100, ini.LitTexte(s, "MeilleureRoute", ""), *q};
    return true;
}

bool LitExercice(const TFichierIni& ini, const std::string& s, const std::string& pack, TExercice& e,
                 std::string* erreur) {
    e.FichierPosition = ini.LitTexte(s, "Position", "");
    if (e.FichierPosition.empty()) return Refuse(erreur, "clé Position absente");
    e.Titre = ini.LitTexte(s, "Titre", s);
    e.Notes = ini.LitTexte(s, "Notes", "");
    const auto mode = ModeJeuDepuisMot(ini.LitTexte(s, "Mode", "3bandes"));
    if (!mode) return Refuse(erreur, "mode inconnu (3bandes, 1bande ou libre)");
    e.Mode = *mode;
    const std::string joueur = ini.LitTexte(s, "Joueur", "Blanche");
    if (joueur != "Blanche" && joueur != "Jaune") return Refuse(erreur, "Joueur attend Blanche ou Jaune");
    e.JoueurJaune = joueur == "Jaune";
    const std::string cible = ini.LitTexte(s, "Cible", "");
    std::string raison;
    if (!cible.empty() && !LitRouteCible(cible, e.Mode, e.NomBille2(), e.Cible, &raison))
        return Refuse(erreur, "cible \"" + cible + "\" refusée : " + raison);
    if (!LitMeilleure(ini, s, e, erreur)) return false;
    e.CheminPosition = CheminDansPack(pack, e.FichierPosition);
    TPositionOuverte ouverte;
    if (!LitPositionJeu(e.CheminPosition, ouverte, &raison)) return Refuse(erreur, "position " + raison);
    e.Position = ouverte.Position;
    return true;
}

}  // namespace

const char* MotModeJeu(TModeDeJeu mode) {
    return mode == j3Bandes ? "3bandes" : mode == j1Bande ? "1bande" : "libre";
}

std::optional<TModeDeJeu> ModeJeuDepuisMot(const std::string& mot) {
    if (mot == "3bandes") return j3Bandes;
    if (mot == "1bande") return j1Bande;
    if (mot == "libre") return jLibre;
    return std::nullopt;
}

std::string TExercice::Empreinte() const {
    TEmpreinte e;
    e.Ajoute(std::string_view("exercice")).Ajoute(std::int64_t(Mode)).Ajoute(std::int64_t(JoueurJaune));
    for (const TCentreBille& b : Position.Billes)
        e.Ajoute(double(b.x)).Ajoute(double(b.y)).Ajoute(double(b.z));
    return e.Texte();
}

std::string TPackEntrainement::Empreinte() const {
    TEmpreinte e;
    e.Ajoute(std::string_view("pack"));
    for (const TExercice& x : Exercices) e.Ajoute(x.Empreinte());
    return e.Texte();
}

bool ChargePack(const std::string& fichier, TPackEntrainement& pack, std::string* erreur) {
    TFichierIni ini;
    std::string raison;
    if (!ini.Charge(fichier, &raison)) return Refuse(erreur, raison);
    if (!ini.SectionExiste(kSectionPack))
        return Refuse(erreur,
                      fichier + " n'est pas un fichier d'entraînement (section [Entrainement] absente)");
    TPackEntrainement lu;
    lu.Chemin = fichier;
    lu.Titre = ini.LitTexte(kSectionPack, "Titre", fs::path(fichier).stem().string());
    lu.Notes = ini.LitTexte(kSectionPack, "Notes", "");
    lu.FichierTable = ini.LitTexte(kSectionPack, "Table", "");
    if (!lu.FichierTable.empty()) {
        lu.CheminTable = CheminDansPack(fichier, lu.FichierTable);
        std::error_code ec;
        if (!fs::is_regular_file(lu.CheminTable, ec))
            return Refuse(erreur, fichier + " : table " + lu.FichierTable + " introuvable");
    }
    for (const std::string& s : ini.Sections()) {
        const auto n = NumeroExercice(s);
        if (!n) continue;
        TExercice e;
        e.Numero = *n;
        if (!LitExercice(ini, s, fichier, e, &raison)) return Refuse(erreur, DansSection(fichier, s, raison));
        lu.Exercices.push_back(std::move(e));
    }
    if (lu.Exercices.empty())
        return Refuse(erreur, fichier + " ne contient aucun exercice ([Exercice 1], ...)");
    std::stable_sort(lu.Exercices.begin(), lu.Exercices.end(),
                     [](const TExercice& a, const TExercice& b) { return a.Numero < b.Numero; });
    pack = std::move(lu);
    return true;
}

std::string TextePack(const TPackEntrainement& pack) {
    TFichierIni ini;
    ini.EcritTexte(kSectionPack, "Titre", pack.Titre);
    if (!pack.Notes.empty()) ini.EcritTexte(kSectionPack, "Notes", pack.Notes);
    if (!pack.FichierTable.empty()) ini.EcritTexte(kSectionPack, "Table", pack.FichierTable);
    int rang = 0;
    for (const TExercice& e : pack.Exercices) {
        const std::string s = kPrefixeExercice + std::to_string(++rang);
        ini.EcritTexte(s, "Position", e.FichierPosition);
        ini.EcritTexte(s, "Titre", e.Titre);
        ini.EcritTexte(s, "Mode", MotModeJeu(e.Mode));
        ini.EcritTexte(s, "Joueur", e.JoueurJaune ? "Jaune" : "Blanche");
        if (!e.Notes.empty()) ini.EcritTexte(s, "Notes", e.Notes);
        if (!e.Cible.empty()) ini.EcritTexte(s, "Cible", TexteRouteCible(e.Cible, e.NomBille2()));
        if (!e.Meilleure) continue;
        ini.EcritReel(s, "MeilleurTaux", std::round(e.Meilleure->Taux * 1000) / 10);
        ini.EcritTexte(s, "MeilleureRoute", e.Meilleure->Libelle);
        ini.EcritTexte(s, "MeilleureQueue", TexteQueue(e.Meilleure->Queue));
    }
    return ini.Texte();
}

bool SauvePack(const TPackEntrainement& pack, const std::string& fichier, std::string* erreur) {
    TFichierIni ini;
    ini.ChargeTexte(TextePack(pack));
    return ini.Sauve(fichier, erreur);
}

bool TParcoursPack::Va(int indice) {
    if (indice < 0 || indice >= Nombre()) return false;
    indice_ = indice;
    return true;
}

bool TParcoursPack::Suivant() { return Va(indice_ + 1); }
bool TParcoursPack::Precedent() { return Va(indice_ - 1); }
