#include "view3d/TraitsChiffres.h"

#include <array>

namespace {

// a character cell is 0.6 of the height wide, with a gap of 0.25; the separators are narrow
constexpr float LargeurCellule = 0.6f;
constexpr float Ecart = 0.25f;
constexpr float LargeurSeparateur = 0.25f;

// the seven segments, in cell units (x from 0 to 1, y from 0 to 1): top, upper right, lower
// right, bottom, lower left, upper left, middle
struct TSegment {
    float x0, y0, x1, y1;
};
constexpr std::array<TSegment, 7> Segments = {{{0, 1, 1, 1},
                                               {1, 1, 1, 0.5f},
                                               {1, 0.5f, 1, 0},
                                               {0, 0, 1, 0},
                                               {0, 0, 0, 0.5f},
                                               {0, 0.5f, 0, 1},
                                               {0, 0.5f, 1, 0.5f}}};
// the segments lit for 0..9, one bit per segment in the order above
constexpr std::array<unsigned, 10> Chiffres = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

bool EstSeparateur(char c) { return c == ',' || c == '.'; }

float LargeurCaractere(char c) { return EstSeparateur(c) ? LargeurSeparateur : LargeurCellule; }

}  // namespace

float LargeurChiffres(const std::string& texte, float hauteur) {
    float l = 0;
    for (size_t i = 0; i < texte.size(); ++i)
        l += (LargeurCaractere(texte[i]) + (i + 1 < texte.size() ? Ecart : 0));
    return l * hauteur;
}

float AjouteChiffres(TLignes& traits, const std::string& texte, const TVecteur3f& origine,
                     const TVecteur3f& droite, const TVecteur3f& haut, float hauteur) {
    float x = 0;
    const auto point = [&](float u, float v) {
        return origine + droite * ((x + u) * hauteur) + haut * (v * hauteur);
    };
    const auto trait = [&](float u0, float v0, float u1, float v1) {
        traits.AjouteNoeud(point(u0, v0));
        traits.AjouteNoeud(point(u1, v1));
    };
    for (char c : texte) {
        if (c >= '0' && c <= '9') {
            const unsigned allumes = Chiffres[size_t(c - '0')];
            for (size_t s = 0; s < Segments.size(); ++s)
                if (allumes & (1u << s)) {
                    const TSegment& g = Segments[s];
                    trait(g.x0 * LargeurCellule, g.y0, g.x1 * LargeurCellule, g.y1);
                }
        } else if (EstSeparateur(c)) {
            // a short tail under the line for the comma, a dot for the point
            trait(0.12f, 0.08f, c == ',' ? 0.02f : 0.12f, c == ',' ? -0.18f : 0);
        } else if (c == '-') {
            trait(0, 0.5f, LargeurCellule, 0.5f);
        }
        x += LargeurCaractere(c) + Ecart;
    }
    return (x > 0 ? x - Ecart : 0) * hauteur;
}
