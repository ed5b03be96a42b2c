#include "fichiers/FichierIni.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "fichiers/EcritureAtomique.h"
#include "fichiers/NombresIni.h"

namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Rogne(std::string_view t) {
    while (!t.empty() && EstBlanc(t.front())) t.remove_prefix(1);
    while (!t.empty() && EstBlanc(t.back())) t.remove_suffix(1);
    return t;
}

char Minuscule(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool Egal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Minuscule(a[i]) != Minuscule(b[i])) return false;
    return true;
}

// Windows drops one pair of matching quotes around a value
std::string_view SansGuillemets(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

bool TFichierIni::Charge(const std::string& nomFichier, std::string* erreur) {
    std::string contenu;
    if (!LitFichier(nomFichier, contenu, erreur)) {
        ChargeTexte({});
        return false;
    }
    ChargeTexte(contenu);
    return true;
}

bool TFichierIni::ChargeSiExiste(const std::string& nomFichier, std::string* erreur) {
    std::string contenu;
    std::string raison;
    if (!LitFichier(nomFichier, contenu, &raison)) {
        ChargeTexte({});
        if (access(nomFichier.c_str(), F_OK) != 0 && errno == ENOENT) return true;
        if (erreur) *erreur = raison;
        return false;
    }
    ChargeTexte(contenu);
    return true;
}

void TFichierIni::ChargeTexte(std::string_view texte) {
    texte_.assign(texte);
    elements_.clear();
    finLigne_ = "\n";

    size_t pos = 0;
    // a UTF-8 byte order mark is not part of the first line
    if (texte_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    size_t sectionCourante = npos;
    bool premiereLigne = true;
    while (pos < texte_.size()) {
        // a line ends with LF, CRLF or a lone CR (old Mac files)
        const size_t finContenu = std::min(texte_.find_first_of("\r\n", pos), texte_.size());
        size_t fin = finContenu;
        if (fin < texte_.size() && texte_[fin] == '\r' && fin + 1 < texte_.size() && texte_[fin + 1] == '\n')
            ++fin;
        if (premiereLigne && finContenu < texte_.size()) {
            finLigne_ = fin > finContenu ? "\r\n" : texte_[finContenu] == '\r' ? "\r" : "\n";
            premiereLigne = false;
        }
        const std::string_view ligne = Rogne(std::string_view(texte_).substr(pos, finContenu - pos));
        if (!ligne.empty() && ligne.front() == '[') {
            const size_t ferme = ligne.find(']');
            const std::string_view nom =
                Rogne(ligne.substr(1, ferme == std::string_view::npos ? npos : ferme - 1));
            elements_.push_back({Genre::Section, pos, finContenu, std::string(nom), {}, false, false, npos});
            sectionCourante = elements_.size() - 1;
        } else if (!ligne.empty() && ligne.front() != ';' && sectionCourante != npos) {
            const size_t egal = ligne.find('=');
            if (egal != std::string_view::npos && egal > 0) {
                const std::string_view cle = Rogne(ligne.substr(0, egal));
                const std::string_view valeur = SansGuillemets(Rogne(ligne.substr(egal + 1)));
                if (!cle.empty())
                    elements_.push_back({Genre::Cle, pos, finContenu, std::string(cle), std::string(valeur),
                                         false, false, sectionCourante});
            }
        }
        pos = fin + 1;
    }
}

std::string TFichierIni::Texte() const {
    std::string s;
    s.reserve(texte_.size() + 64 * elements_.size());
    size_t copie = 0;  // how much of the original text has been copied
    // moves past the line end that follows position copie in the original text
    auto finDeLigne = [&](size_t p) {
        if (p < texte_.size() && texte_[p] == '\r') ++p;
        if (p < texte_.size() && texte_[p] == '\n') ++p;
        return p;
    };
    // added elements after the last original one follow the rest of the original text
    size_t dernierOriginal = npos;
    for (size_t i = 0; i < elements_.size(); ++i)
        if (elements_[i].debut != npos) dernierOriginal = i;
    for (size_t i = 0; i < elements_.size(); ++i) {
        const Element& e = elements_[i];
        if (e.debut == npos && (dernierOriginal == npos || i > dernierOriginal) && copie < texte_.size()) {
            s.append(texte_, copie);
            copie = texte_.size();
        }
        if (e.debut != npos) {
            // the original lines between the previous element and this one
            s.append(texte_, copie, e.debut - copie);
            const size_t suite = finDeLigne(e.fin);
            if (!e.supprime) {
                if (e.modifie) {
                    s += (e.genre == Genre::Section ? "[" + e.nom + "]" : e.nom + "=" + e.valeur);
                    s.append(texte_, e.fin, suite - e.fin);
                } else {
                    s.append(texte_, e.debut, suite - e.debut);
                }
            }
            copie = suite;
            continue;
        }
        if (e.supprime) continue;
        // an added line: after the end of the last line written
        if (!s.empty() && s.back() != '\n' && !(finLigne_ == "\r" && s.back() == '\r')) s += finLigne_;
        if (e.genre == Genre::Section) {
            // a blank line before a new section, as between the others
            const std::string blanc = finLigne_ + finLigne_;
            if (!s.empty() &&
                !(s.size() >= blanc.size() && s.compare(s.size() - blanc.size(), npos, blanc) == 0))
                s += finLigne_;
            s += "[" + e.nom + "]" + finLigne_;
        } else {
            s += e.nom + "=" + e.valeur + finLigne_;
        }
    }
    s.append(texte_, std::min(copie, texte_.size()));
    return s;
}

bool TFichierIni::Sauve(const std::string& nomFichier, std::string* erreur) const {
    return EcritFichierAtomique(nomFichier, Texte(), erreur);
}

size_t TFichierIni::TrouveSection(std::string_view section) const {
    for (size_t i = 0; i < elements_.size(); ++i)
        if (elements_[i].genre == Genre::Section && !elements_[i].supprime && Egal(elements_[i].nom, section))
            return i;
    return npos;
}

size_t TFichierIni::TrouveCle(std::string_view section, std::string_view cle) const {
    for (size_t i = 0; i < elements_.size(); ++i) {
        const Element& e = elements_[i];
        if (e.genre == Genre::Cle && !e.supprime && e.section != npos && Egal(e.nom, cle) &&
            Egal(elements_[e.section].nom, section))
            return i;
    }
    return npos;
}

bool TFichierIni::SectionExiste(std::string_view section) const { return TrouveSection(section) != npos; }

bool TFichierIni::CleExiste(std::string_view section, std::string_view cle) const {
    return TrouveCle(section, cle) != npos;
}

std::vector<std::string> TFichierIni::Cles(std::string_view section) const {
    std::vector<std::string> cles;
    for (const Element& e : elements_) {
        if (e.genre != Genre::Cle || e.supprime || e.section == npos ||
            !Egal(elements_[e.section].nom, section))
            continue;
        const bool deja =
            std::any_of(cles.begin(), cles.end(), [&](const std::string& c) { return Egal(c, e.nom); });
        if (!deja) cles.push_back(e.nom);
    }
    return cles;
}

std::vector<std::string> TFichierIni::Sections() const {
    std::vector<std::string> sections;
    for (const Element& e : elements_) {
        if (e.genre != Genre::Section) continue;
        const bool deja = std::any_of(sections.begin(), sections.end(),
                                      [&](const std::string& s) { return Egal(s, e.nom); });
        if (!deja) sections.push_back(e.nom);
    }
    return sections;
}

std::optional<std::string> TFichierIni::Lit(std::string_view section, std::string_view cle) const {
    const size_t i = TrouveCle(section, cle);
    if (i == npos) return std::nullopt;
    return elements_[i].valeur;
}

std::string TFichierIni::LitTexte(std::string_view section, std::string_view cle,
                                  std::string_view defaut) const {
    auto v = Lit(section, cle);
    return v ? *v : std::string(defaut);
}

double TFichierIni::LitReel(std::string_view section, std::string_view cle, double defaut) const {
    auto v = Lit(section, cle);
    if (!v) return defaut;
    return LitReelTexte(*v).value_or(defaut);
}

long long TFichierIni::LitEntier(std::string_view section, std::string_view cle, long long defaut) const {
    auto v = Lit(section, cle);
    if (!v) return defaut;
    return LitEntierTexte(*v).value_or(defaut);
}

bool TFichierIni::LitBooleen(std::string_view section, std::string_view cle, bool defaut) const {
    return LitEntier(section, cle, defaut ? 1 : 0) != 0;
}

void TFichierIni::EcritTexte(std::string_view section, std::string_view cle, std::string_view valeur) {
    // a line break inside a value would split the entry
    std::string propre(valeur);
    std::replace(propre.begin(), propre.end(), '\n', ' ');
    std::replace(propre.begin(), propre.end(), '\r', ' ');
    // blanks at the ends or a quoted value would not read back as written: quoted, it does
    if (!propre.empty() && (EstBlanc(propre.front()) || EstBlanc(propre.back()) ||
                            SansGuillemets(propre).size() != propre.size()))
        propre = '"' + propre + '"';

    const size_t i = TrouveCle(section, cle);
    if (i != npos) {
        elements_[i].valeur = propre;
        elements_[i].modifie = true;
        return;
    }
    size_t s = TrouveSection(section);
    if (s == npos) {
        elements_.push_back({Genre::Section, npos, npos, std::string(section), {}, true, false, npos});
        s = elements_.size() - 1;
    }
    // after the last entry of the section, or right after its header
    size_t apres = s;
    for (size_t j = s + 1; j < elements_.size(); ++j) {
        if (elements_[j].genre == Genre::Section) break;
        apres = j;
    }
    elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(apres + 1),
                     {Genre::Cle, npos, npos, std::string(cle), propre, true, false, s});
    // the insertion shifts the section indices of later entries
    for (size_t j = apres + 2; j < elements_.size(); ++j)
        if (elements_[j].section != npos && elements_[j].section > apres) ++elements_[j].section;
}

void TFichierIni::EcritReel(std::string_view section, std::string_view cle, double valeur) {
    EcritTexte(section, cle, FormatReel(valeur));
}

void TFichierIni::EcritEntier(std::string_view section, std::string_view cle, long long valeur) {
    EcritTexte(section, cle, std::to_string(valeur));
}

void TFichierIni::EcritBooleen(std::string_view section, std::string_view cle, bool valeur) {
    EcritTexte(section, cle, valeur ? "1" : "0");
}

void TFichierIni::EffaceCles(std::string_view section) {
    for (Element& e : elements_)
        if (e.genre == Genre::Cle && e.section != npos && Egal(elements_[e.section].nom, section))
            e.supprime = true;
}

void TFichierIni::EffaceCle(std::string_view section, std::string_view cle) {
    for (Element& e : elements_)
        if (e.genre == Genre::Cle && e.section != npos && Egal(e.nom, cle) &&
            Egal(elements_[e.section].nom, section))
            e.supprime = true;
}
