// A solve JSON file as a batch run left it, read back before --resume trusts it: the whole text must
// be one JSON object (nothing cut, nothing after it), and what the summary row says is taken from it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TBilanJsonSolve {
    int RoutesTrouvees = 0;
    bool Interrompu = true;
    // per route listed: its trials and successes
    std::vector<std::pair<std::int64_t, std::int64_t>> Routes;
};

// false when texte is not one whole JSON object (a line end after it) with "routes" (each route
// with whole "trials" and "successes"), "routes_found" and "interrupted"
bool LitBilanJsonSolve(const std::string& texte, TBilanJsonSolve& bilan);
