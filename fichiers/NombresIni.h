// Numbers in our text files: always "." as decimal separator, whatever the locale, with no
// process-wide state touched (std::to_chars / std::from_chars).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Shortest general form with up to 15 significant digits: 142.25, 0.015, 981,
// 0.100000001490116; exponent form ("1E-6", "1.5E20") only below 1e-5 or from 1e15 up.
std::string FormatReel(double valeur);

// A finite number written with "." (blanks around it allowed); nullopt for anything else,
// NaN and infinities included.
std::optional<double> LitReelTexte(std::string_view texte);

// A whole number, decimal or "$" hexadecimal; nullopt when not one or out of range.
std::optional<long long> LitEntierTexte(std::string_view texte);
