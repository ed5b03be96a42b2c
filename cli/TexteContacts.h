// How the commands write a recorded shot's contacts: in words for their text output, as JSON
// objects for --json (fit and fidelity share them).
#pragma once

#include <string>

#include "moteurs/FideliteCoup.h"

// "bande 2", "bille 3"
std::string TexteContact(const TEvenement& e);
// "1,23 s, bille 1 : bande 2 enregistrée non jouée" (fixed notation, "." whatever the locale)
std::string TexteSeparation(const TSeparation& s);

// {"ball": 1, "t": 1.23, "contact": "cushion", "with": 2, "missing": true}, or null when none
std::string JsonSeparation(const TSeparation& s);
// {"ball": 1, "contact": "cushion", "with": 2, "t": 1.23, "dt": 0.01, "dpos": 1.5}: the recorded
// contact, and how far the computed one is in time and place
std::string JsonContactCompare(const TContactCompare& c);
