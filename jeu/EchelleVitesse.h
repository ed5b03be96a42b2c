// The speed of a stroke on a player's scale, 1 to 10, beside the cue speed in cm/s: the cue
// speeds where each level begins are listed here and nowhere else, with the word for each band
// (douce 1–3, moyenne 4–6, forte 7–8, très forte 9–10).
#pragma once

#include <array>
#include <string>

inline constexpr int NiveauVitesseMax = 10;
// cue speed (cm/s) from which levels 2..10 begin; below the first, level 1
inline constexpr std::array<double, NiveauVitesseMax - 1> SeuilsVitesse = {80,  120, 160, 210, 260,
                                                                           320, 390, 470, 560};

// 1..10
int NiveauVitesse(double vitesseQueue);
// "douce", "moyenne", "forte", "très forte"
const char* MotVitesse(int niveau);
// "6/10 (moyenne)"
std::string TexteVitesse(double vitesseQueue);
