// The JSON the commands print, in-process: the cue object the solver and the fit share, and the
// solver's result saying plainly whether every rate was measured.
#include <gtest/gtest.h>

#include "cli/SortieJson.h"

TEST(SortieJson, StringsAreEscapedAndTheCueKeepsItsSixFields) {
    EXPECT_EQ(JsonChaine("a\"b\\c\n"), "\"a\\\"b\\\\c\\u000a\"");
    TParamQueue p;
    p.VitesseQueue = 300;
    p.MasseQueue = 520;
    p.AngleOx = 0.5;
    p.AngleTapis = 0;
    p.Effet = -1.25;
    p.Hauteur = 0.1;
    EXPECT_EQ(
        JsonQueue(p),
        "{\"Vq\": 300, \"m\": 520, \"AngleOx\": 0.5, \"AngleTapis\": 0, \"Effet\": -1.25, \"Hauteur\": 0.1}");
}

TEST(SortieJson, ARouteWithoutItsRateSaysRatesWereNotMeasured) {
    TResultatSolveur r;
    TRouteSolveur mesuree;
    mesuree.Rang = 1;
    mesuree.Sequence.Ajoute(ContactBille2);
    for (int b : {1, 2, 3}) {
        mesuree.Sequence.Ajoute(b);
        mesuree.Bandes.push_back(b);
    }
    mesuree.Sequence.Ajoute(ContactRouge);
    mesuree.Diamants = {2.5, 1, 6.25};
    mesuree.Essais = 10;
    mesuree.Reussis = 4;
    mesuree.Variantes.push_back({mesuree.Queue, 7});
    TRouteSolveur nonMesuree = mesuree;
    nonMesuree.Rang = 2;
    nonMesuree.Essais = nonMesuree.Reussis = 0;
    nonMesuree.Variantes.clear();
    r.Routes = {mesuree};
    const std::string toutes = JsonSolveur(r);
    EXPECT_NE(toutes.find("\"rates_measured\": true"), std::string::npos);
    EXPECT_NE(toutes.find("\"success_rate\": 40, "), std::string::npos) << toutes;
    // the route in a player's terms beside the raw fields
    EXPECT_NE(
        toutes.find("\"cushion_names\": [\"longue droite\", \"courte du haut\", \"longue gauche\"], "
                    "\"diamonds\": [2.5, 1, 6.25], \"route\": \"Jaune → longue droite 2.5 → courte du haut "
                    "1.0 → longue gauche 6.2 → Rouge\""),
        std::string::npos)
        << toutes;
    EXPECT_NE(toutes.find("\"variants\": [{\"cue\": {"), std::string::npos);
    r.Routes.push_back(nonMesuree);
    r.NbNonMesurees = 1;
    const std::string une = JsonSolveur(r, {"a.vel", ""});
    EXPECT_NE(une.find("\"rates_measured\": false"), std::string::npos);
    EXPECT_NE(une.find("\"success_rate\": null"), std::string::npos);
    EXPECT_NE(une.find("\"file\": \"a.vel\""), std::string::npos);
    EXPECT_NE(une.find("\"file\": null"), std::string::npos);
    EXPECT_NE(une.find("\"variants\": []"), std::string::npos);
}
