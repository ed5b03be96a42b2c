// velmora-sim difficulty: the difficulty evaluation of the desktop program on a position file,
// every trial played from the balls at rest, on every core.
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/AttenteCalcul.h"
#include "cli/BarreProgression.h"
#include "cli/ChargementPosition.h"
#include "cli/Commandes.h"
#include "cli/EntreesSorties.h"
#include "cli/OptionsDifficulte.h"
#include "cli/OptionsTir.h"
#include "cli/Resultat.h"
#include "fichiers/NombresIni.h"
#include "moteurs/EvaluationDifficulte.h"

namespace {

struct TOptionsCommande {
    TOptionsTir tir;
    TGrilleDifficulte grille;
    std::string bul;
    int nbThreads = 0;
};

// the grid, file and thread options; the others go to the shot options
bool LitOptions(const std::vector<std::string>& args, TOptionsCommande& o, std::string* erreur) {
    TOptionsGrille g;
    std::vector<std::string> reste;
    if (!LitOptionsGrille(args, g, reste, erreur)) return false;
    o.grille = g.grille;
    o.bul = g.bul;
    o.nbThreads = g.nbThreads;
    return LitOptionsTir(reste, o.tir, erreur);
}

void BarreProgression(const TProgressionDifficulte& p, bool finale) {
    const double reste = p.CellulesFaites > 0
                             ? p.Secondes * double(p.NbTotal - p.CellulesFaites) / double(p.CellulesFaites)
                             : 0.0;
    char suite[128];
    std::snprintf(suite, sizeof suite, "%lld essais, %lld réussis, reste %.0f s ",
                  static_cast<long long>(p.EssaisFaits), static_cast<long long>(p.Reussis), reste);
    AfficheBarre(p.Fraction(), suite, finale);
}

void Rapporte(const TOptionsCommande& o, const TResultatDifficulte& r, std::ostream& out) {
    if (o.tir.json) {
        out << "{\"trials\": " << r.NbEssais << ", \"successes\": " << r.NbReussis
            << ", \"volume_tested\": " << FormatReel(r.VolumeTeste)
            << ", \"volume_success\": " << FormatReel(r.VolumeReussi)
            << ", \"seconds\": " << FormatReel(r.Secondes) << "}\n";
        return;
    }
    out << "essais : " << r.NbEssais << " (grille de " << r.NbTotal << ")\n"
        << "réussis : " << r.NbReussis << "\n"
        << "volume testé : " << Fixe(r.VolumeTeste, 2) << "\n"
        << "volume réussi : " << Fixe(r.VolumeReussi, 3) << "\n"
        << "temps : " << Fixe(r.Secondes, 3) << " s\n";
    if (!o.bul.empty()) out << "résultats : " << o.bul << "\n";
}

int Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TOptionsCommande o;
    std::string erreur;
    if (!LitOptions(args, o, &erreur) ||
        (!o.bul.empty() && !SortieDistincte(o.bul, {o.tir.fichier, o.tir.fsk}, &erreur))) {
        err << "velmora-sim difficulty : " << erreur << " (velmora-sim difficulty --help pour l'aide)\n";
        return kErreurUsage;
    }
    const auto simu = ChargePositionOuDit(o.tir, err);
    if (!simu) return kErreurFichier;

    // the balls at rest where the file puts them, the cue as the cue model holds it
    TEvaluationDifficulte evaluation(*simu, QueueDepuisSimu(*simu), o.grille);
    TOptionsDifficulte options;
    options.NbThreads = o.nbThreads;
    options.NomBul = o.bul;
    // a stop keeps the results so far: the file stays valid, no temporary file is left
    const TGardeInterruption interruption;
    evaluation.Demarre(options);
    const TResultatDifficulte r = AttendsCalcul(evaluation, interruption, BarreVoulue(err), BarreProgression);

    if (!r.Erreur.empty()) {
        err << "velmora-sim : résultats impossibles à écrire, " << r.Erreur << "\n";
        return kErreurFichier;
    }
    Rapporte(o, r, out);
    if (r.Interrompu) {
        err << "velmora-sim : calcul interrompu, résultats partiels\n";
        return interruption.Statut();
    }
    return out.good() ? kSucces : kErreurFichier;
}

const std::string kAide =
    "usage : velmora-sim difficulty FICHIER.vel [OPTIONS]\n\n"
    "Évalue la difficulté du coup d'un fichier de positions comme la fenêtre d'évaluation du programme :\n"
    "chaque variation d'une grille autour des paramètres de la queue est jouée depuis les billes au repos,\n"
    "et les variations qui font le point sont comptées. Les vitesses et les masses inférieures à 0.1 ne\n"
    "sont pas jouées.\n\n"
    "options :\n"
    "  --trials E,H,A,V,I,M   essais de part et d'autre de l'effet, de la hauteur, de l'angle de visée,\n"
    "                         de la vitesse, de l'inclinaison et de la masse (entiers de 0 à 500 ;\n"
    "                         par défaut 5,5,5,2,0,0)\n"
    "  --steps E,H,A,V,I,M    incréments : cm, cm, degrés, cm/s, degrés, g (au moins 0.01 ;\n"
    "                         par défaut 0.1,0.1,0.1,10,2,10)\n"
    "  --bul SORTIE.bul       enregistre les essais réussis (fichier de bulles, extension .bul imposée ;\n"
    "                         ni le fichier de positions ni celui des paramètres)\n"
    "  --threads N            nombre de fils de calcul (par défaut un par cœur)\n"
    "  --fsk FICHIER.fsk      paramètres physiques (sinon ceux d'usine, ou le FisikFile du fichier de\n"
    "                         positions quand il nomme un fichier existant)\n"
    "  --mode MODE            règle de validation du point : 3bandes (par défaut), 1bande ou libre\n"
    "  --json                 résultat en un objet JSON : {\"trials\": N, \"successes\": K,\n"
    "                         \"volume_tested\": X, \"volume_success\": Y, \"seconds\": S}\n"
    "  --help                 cette aide\n\n"
    "sortie : essais joués, essais réussis, volumes testé et réussi, temps de calcul ; une barre de\n"
    "progression sur la sortie d'erreur quand c'est un terminal. Ctrl-C (ou SIGTERM, SIGHUP) arrête le\n"
    "calcul : les résultats partiels sont affichés et le fichier .bul reste valide.\n"
    "statut : 0 succès, 1 fichier illisible ou impossible à écrire, 2 erreur d'usage, 130 interrompu\n"
    "(143 par SIGTERM, 129 par SIGHUP)\n";

const TEnregistreCommande enregistre({"difficulty",
                                      "évalue la difficulté d'un coup sur une grille de variations",
                                      kAide.c_str(), 30, &Execute});

}  // namespace
