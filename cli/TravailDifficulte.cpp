// "velmora-sim batch difficulty": the difficulty evaluation of every position, each giving the
// ".bul" that "velmora-sim difficulty --bul" writes and a summary row.
#include <bit>
#include <cstdint>
#include <memory>

#include "cli/OptionsDifficulte.h"
#include "cli/TravailPosition.h"
#include "fichiers/NombresIni.h"
#include "moteurs/DifficulteComptes.h"

namespace {

// the ".bul" layout: 4-byte floats, little-endian whatever the host
void AjouteSimple(std::string& octets, float v) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) octets.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
}

std::string OctetsEntete(const TEnteteBul& e) {
    std::string octets;
    for (const auto& p : e.Positions)
        for (float v : p) AjouteSimple(octets, v);
    for (float v : e.Hautes) AjouteSimple(octets, v);
    for (float v : e.Basses) AjouteSimple(octets, v);
    return octets;
}

std::string ContenuBul(const TEvaluationDifficulte& evaluation) {
    std::string octets = OctetsEntete(evaluation.Entete());
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

    std::string Configuration() const override {
        return "genre difficulty\n--trials " + Six(grille_.NbEssais) + "\n--steps " + Six(grille_.Increment) +
               "\n" + ConfigurationTir();
    }

    bool Calcule(const std::string& fichier, TResultatPosition& resultat,
                 std::string* erreur) const override {
        auto simu = Charge(fichier, erreur);
        if (!simu) return false;
        // one thread: the batch runs as many positions at once as it has cores
        TEvaluationDifficulte evaluation(*simu, QueueDepuisSimu(*simu), grille_);
        simu.reset();
        TOptionsDifficulte options;
        options.NbThreads = 1;
        evaluation.Demarre(options);
        const TResultatDifficulte r = Attends(evaluation);
        if (!r.Erreur.empty() || !r.Complet) {
            if (erreur)
                *erreur = !r.Erreur.empty() ? r.Erreur : r.Interrompu ? "interrompu" : "calcul incomplet";
            return false;
        }
        resultat.Fichiers = {{".bul", ContenuBul(evaluation)}};
        resultat.Ligne = Ligne(r.NbEssais, r.NbReussis);
        return true;
    }

    bool Relit(const std::string& fichier, const std::vector<std::string>& contenus,
               std::vector<std::string>& ligne, std::string* erreur) const override {
        const auto simu = Charge(fichier, erreur);
        if (!simu) return false;
        // the head this position and this grid give, then whole records
        const TQueueDegres queue = QueueDepuisSimu(*simu);
        const std::string entete = OctetsEntete(EnteteBul(*simu, queue, grille_));
        const std::string& bul = contenus.at(0);
        if (bul.size() < entete.size() || bul.compare(0, entete.size(), entete) != 0 ||
            (bul.size() - entete.size()) % (std::size_t(4) * NbParamsBul) != 0) {
            if (erreur) *erreur = "fichier .bul incomplet ou d'un autre calcul";
            return false;
        }
        const std::int64_t reussis =
            std::int64_t((bul.size() - entete.size()) / (std::size_t(4) * NbParamsBul));
        const std::int64_t essais = CompteCarte(grille_, queue, {}, peEffet, peHauteur).TotalEssais();
        if (reussis > essais) {
            if (erreur) *erreur = "plus de réussites que d'essais";
            return false;
        }
        ligne = Ligne(essais, reussis);
        return true;
    }

private:
    // the summary's cells: trials, successes, rate, volumes tested and successful
    std::vector<std::string> Ligne(std::int64_t essais, std::int64_t reussis) const {
        const double taux = essais > 0 ? double(reussis) / double(essais) : 0.0;
        return {std::to_string(essais), std::to_string(reussis), FormatReel(taux),
                FormatReel(grille_.VolumeTeste()), FormatReel(double(reussis) * grille_.VolumeCellule())};
    }

    TGrilleDifficulte grille_;
};

std::unique_ptr<TTravailBatch> Cree(const std::vector<std::string>& args, std::vector<std::string>& entrees,
                                    std::string* erreur) {
    TOptionsGrille g;
    std::vector<std::string> reste;
    if (!LitOptionsGrille(args, g, reste, erreur)) return nullptr;
    if (!g.bul.empty()) {
        if (erreur)
            *erreur = "--bul ne s'applique pas à batch : chaque position a son fichier DOSSIER/NOM.bul";
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
        if (erreur) *erreur = "--json ne s'applique pas à batch : le résumé est DOSSIER/resume.csv";
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
