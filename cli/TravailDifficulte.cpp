// "velmora-sim batch difficulty": the difficulty evaluation of every position, each giving the
// ".bul" that "velmora-sim difficulty --bul" writes and a summary row.
#include <bit>
#include <cstdint>
#include <memory>

#include "cli/OptionsDifficulte.h"
#include "cli/TravailPosition.h"
#include "fichiers/NombresIni.h"
#include "jeu/PackEntrainement.h"

namespace {

// the ".bul" layout: 4-byte floats, little-endian whatever the host
void AjouteSimple(std::string& octets, float v) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) octets.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
}

std::string ContenuBul(const TEvaluationDifficulte& evaluation) {
    std::string octets;
    const TEnteteBul& e = evaluation.Entete();
    for (const auto& p : e.Positions)
        for (float v : p) AjouteSimple(octets, v);
    for (float v : e.Hautes) AjouteSimple(octets, v);
    for (float v : e.Basses) AjouteSimple(octets, v);
    for (std::int64_t c : evaluation.Reussites()) {
        TParamQueue p;
        ParamCellule(evaluation.Queue(), evaluation.Grille(), DecalagesCellule(evaluation.Grille(), c), p);
        for (float v : EnregistrementBul(p)) AjouteSimple(octets, v);
    }
    return octets;
}

std::string Six(const auto& valeurs) {
    std::string texte;
    for (const auto v : valeurs) texte += (texte.empty() ? "" : ",") + FormatReel(double(v));
    return texte;
}

class TTravailDifficulte : public TTravailPosition {
public:
    TTravailDifficulte(const TOptionsTir& tir, const TGrilleDifficulte& grille)
        : TTravailPosition(tir), grille_(grille.Bornee()) {}

    std::vector<std::string> Colonnes() const override {
        return {"trials", "successes", "success_rate", "volume_tested", "volume_success"};
    }
    std::vector<std::string> Suffixes() const override { return {".bul"}; }

    std::string Signature() const override {
        std::string s = "difficulty --trials " + Six(grille_.NbEssais) + " --steps " +
                        Six(grille_.Increment) + " --mode " + MotModeJeu(Tir().mode);
        if (!Tir().fsk.empty()) s += " --fsk " + Tir().fsk;
        return s;
    }

    bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                 std::string& erreur) const override {
        auto simu = Charge(fichier, erreur);
        if (!simu) return false;
        // one thread: the batch runs as many positions at once as it has cores
        TEvaluationDifficulte evaluation(*simu, QueueDepuisSimu(*simu), grille_);
        simu.reset();
        TOptionsDifficulte options;
        options.NbThreads = 1;
        const TResultatDifficulte r = evaluation.Execute(options);
        if (!r.Erreur.empty() || !r.Complet) {
            erreur = r.Erreur.empty() ? "calcul incomplet" : r.Erreur;
            return false;
        }
        resultat.Fichiers = {{".bul", ContenuBul(evaluation)}};
        const double taux = r.NbEssais > 0 ? double(r.NbReussis) / double(r.NbEssais) : 0.0;
        resultat.Ligne = {std::to_string(r.NbEssais), std::to_string(r.NbReussis), FormatReel(taux),
                          FormatReel(r.VolumeTeste), FormatReel(r.VolumeReussi)};
        return true;
    }

private:
    TGrilleDifficulte grille_;
};

std::unique_ptr<TTravailBatch> Cree(const std::vector<std::string>& args, std::vector<std::string>& entrees,
                                    std::string& erreur) {
    TOptionsGrille g;
    std::vector<std::string> reste;
    if (!LitOptionsGrille(args, g, reste, erreur)) return nullptr;
    if (!g.bul.empty()) {
        erreur = "--bul ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.bul";
        return nullptr;
    }
    // the position files apart from the shot options and their values
    std::vector<std::string> options;
    if (!SepareEntrees(reste, {"--fsk", "--mode"}, entrees, options, erreur)) return nullptr;
    // the shot options checked as the single command checks them
    TOptionsTir tir;
    options.push_back(entrees.front());
    if (!LitOptionsTir(options, tir, erreur)) return nullptr;
    if (tir.json) {
        erreur = "--json ne s'applique pas à batch : le résumé est DOSSIER/resume.csv";
        return nullptr;
    }
    return std::make_unique<TTravailDifficulte>(tir, g.grille);
}

const TEnregistreTravailBatch enregistre(
    {"difficulty", "évaluation de la difficulté de chaque position",
     "  options de difficulty : --trials E,H,A,V,I,M, --steps E,H,A,V,I,M,\n"
     "  --fsk FICHIER.fsk, --mode MODE (voir velmora-sim difficulty --help) ;\n"
     "  chaque position donne NOM.bul, le fichier de bulles des essais réussis\n",
     &Cree});

}  // namespace
