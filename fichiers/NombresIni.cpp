#include "fichiers/NombresIni.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace {

std::string_view Rogne(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r')) t.remove_suffix(1);
    return t;
}

}  // namespace

std::string FormatReel(double valeur) {
    if (std::isnan(valeur)) return "NAN";
    if (std::isinf(valeur)) return valeur > 0 ? "INF" : "-INF";
    if (valeur == 0) return "0";

    // 15 significant digits, then drop the trailing zeros of the mantissa
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, valeur, std::chars_format::scientific, 14);
    std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));  // "-d.ddddddddddddddde+XX"
    const size_t e = sci.find('e');
    const int exposant = std::atoi(std::string(sci.substr(e + 1)).c_str());
    std::string chiffres;
    for (char c : sci.substr(0, e))
        if (c >= '0' && c <= '9') chiffres += c;
    while (chiffres.size() > 1 && chiffres.back() == '0') chiffres.pop_back();
    const bool negatif = valeur < 0;

    std::string s = negatif ? "-" : "";
    if (exposant < -5 || exposant >= 15) {
        s += chiffres[0];
        if (chiffres.size() > 1) s += "." + chiffres.substr(1);
        s += "E" + std::to_string(exposant);
    } else if (exposant < 0) {
        s += "0." + std::string(static_cast<size_t>(-exposant - 1), '0') + chiffres;
    } else {
        const size_t entiers = static_cast<size_t>(exposant) + 1;
        if (chiffres.size() <= entiers) {
            s += chiffres + std::string(entiers - chiffres.size(), '0');
        } else {
            s += chiffres.substr(0, entiers) + "." + chiffres.substr(entiers);
        }
    }
    return s;
}

std::optional<double> LitReelTexte(std::string_view texte) {
    texte = Rogne(texte);
    if (!texte.empty() && texte.front() == '+') texte.remove_prefix(1);
    if (texte.empty()) return std::nullopt;
    double v = 0;
    auto res = std::from_chars(texte.data(), texte.data() + texte.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != texte.data() + texte.size()) return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> LitEntierTexte(std::string_view texte) {
    texte = Rogne(texte);
    bool negatif = false;
    if (!texte.empty() && (texte.front() == '+' || texte.front() == '-')) {
        negatif = texte.front() == '-';
        texte.remove_prefix(1);
    }
    int base = 10;
    if (!texte.empty() && texte.front() == '$') {
        base = 16;
        texte.remove_prefix(1);
    } else if (texte.size() > 2 && texte[0] == '0' && (texte[1] == 'x' || texte[1] == 'X')) {
        base = 16;
        texte.remove_prefix(2);
    }
    if (texte.empty()) return std::nullopt;
    long long v = 0;
    auto res = std::from_chars(texte.data(), texte.data() + texte.size(), v, base);
    if (res.ec != std::errc() || res.ptr != texte.data() + texte.size()) return std::nullopt;
    return negatif ? -v : v;
}
