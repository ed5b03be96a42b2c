#include "fichiers/NomLisible.h"

#include <cstdio>

namespace {

void Echappe(std::string& texte, unsigned char c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    texte += hex;
}

// nom with its control characters escaped; the line feeds, tabulations and backslashes too when
// toutes is true
std::string Echappes(std::string_view nom, bool toutes) {
    std::string texte;
    texte.reserve(nom.size());
    for (size_t i = 0; i < nom.size(); ++i) {
        const auto c = static_cast<unsigned char>(nom[i]);
        // a message keeps its lines and tabulations
        if (!toutes && (c == '\n' || c == '\t' || c == '\\')) {
            texte += nom[i];
            continue;
        }
        if (c == '\n') {
            texte += "\\n";
        } else if (c == '\t') {
            texte += "\\t";
        } else if (c == '\r') {
            texte += "\\r";
        } else if (c == '\\') {
            texte += "\\\\";
        } else if (c < 0x20 || c == 0x7f) {
            Echappe(texte, c);
        } else if (c == 0xc2 && i + 1 < nom.size() && static_cast<unsigned char>(nom[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(nom[i + 1]) <= 0x9f) {
            // a C1 control (U+0080..U+009F): CSI among them
            Echappe(texte, c);
            Echappe(texte, static_cast<unsigned char>(nom[++i]));
        } else {
            texte += nom[i];
        }
    }
    return texte;
}

}  // namespace

std::string NomLisible(std::string_view nom) { return Echappes(nom, true); }

std::string TexteSansControles(std::string_view texte) { return Echappes(texte, false); }
