#include "fichiers/ChaineJson.h"

#include <cstdio>

std::string JsonChaine(const std::string& s) {
    std::string t = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            t += '\\';
            t += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", c);
            t += u;
        } else {
            t += c;
        }
    }
    return t + "\"";
}
