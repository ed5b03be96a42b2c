#include "cli/DossierBatch.h"

#include <sys/stat.h>

#include <ostream>
#include <utility>

#include "cli/Commandes.h"
#include "cli/TableOptions.h"
#include "fichiers/NomLisible.h"
#include "moteurs/Repartiteur.h"

namespace {

const char* const kFichierOptions = "options.txt";
const char* const kFichierEmpreintes = "entrees.csv";
const char* const kFichierResume = "resume.csv";
const char* const kFichierTemps = "temps.csv";
const char* const kFichierVerrou = ".verrou";
const char* const kSuffixeLigne = ".resume.csv";

std::string Ligne(const std::string& nom, const std::vector<std::string>& cellules) {
    std::string ligne = ChampCsv(nom);
    for (const std::string& c : cellules) ligne += "," + ChampCsv(c);
    return ligne;
}

std::string Cite(const std::string& nom) { return "\"" + NomLisible(nom) + "\""; }

}  // namespace

TDossierBatch::TDossierBatch(const TTravailBatch& travail) : travail_(travail) {
    entete_ = "position";
    for (const std::string& c : travail_.Colonnes()) entete_ += "," + ChampCsv(c);
}

bool TDossierBatch::Ouvre(const std::string& chemin, std::string* erreur) {
    return dossier_.Ouvre(chemin, erreur) && dossier_.Verrouille(kFichierVerrou, erreur);
}

void TDossierBatch::Rend() { dossier_.Deverrouille(); }

bool TDossierBatch::SortiesDistinctes(const std::vector<TPosition>& positions, std::string* erreur) const {
    // the files read, by their identity (links followed)
    std::map<std::pair<dev_t, ino_t>, std::string> lus;
    for (const TPosition& p : positions)
        for (const std::string& lu : travail_.FichiersLus(p.fichier)) {
            struct stat st {};
            if (!lu.empty() && ::stat(lu.c_str(), &st) == 0)
                lus.emplace(std::make_pair(st.st_dev, st.st_ino), lu);
        }
    std::vector<std::string> noms = {kFichierOptions, kFichierEmpreintes, kFichierResume, kFichierTemps,
                                     kFichierVerrou};
    for (const TPosition& p : positions) {
        noms.push_back(p.nom + kSuffixeLigne);
        for (const std::string& s : travail_.Suffixes()) noms.push_back(p.nom + s);
    }
    for (const std::string& nom : noms) {
        dev_t appareil = 0;
        ino_t inode = 0;
        if (!dossier_.Identite(nom, appareil, inode)) continue;
        const auto lu = lus.find({appareil, inode});
        if (lu != lus.end())
            return Refuse(erreur, Cite(Chemin(nom)) + " est un fichier que la commande lit (" +
                                      Cite(lu->second) +
                                      ") : il serait remplacé ; choisissez un autre dossier de sortie");
    }
    return true;
}

int TDossierBatch::Adopte(const std::string& configuration, bool force, std::string* erreur) {
    std::string avant;
    const bool existe = dossier_.EstFichier(kFichierOptions);
    if (existe && !dossier_.Lit(kFichierOptions, avant, erreur)) return kErreurFichier;
    const bool autre = existe && avant != configuration;
    if (autre && !force) {
        const std::string ecart =
            avant.rfind("velmora-sim batch ", 0) == 0
                ? "calculé par une version précédente, sans les empreintes des entrées"
                : TRepartiteur::Difference(avant, configuration, "dans le dossier", "demandé");
        Refuse(erreur, Cite(dossier_.Chemin()) + " contient des résultats calculés avec d'autres options (" +
                           ecart + ") : relancez-le avec les mêmes, ou avec --force pour tout recalculer");
        return kErreurUsage;
    }
    // a folder without its option set yet has no result this run can trust
    if ((autre || !existe) && (!Efface(erreur) || !dossier_.Ecrit(kFichierOptions, configuration, erreur)))
        return kErreurFichier;
    // the digests recorded with the results; anything unreadable counts as none
    std::string texte;
    std::vector<std::vector<std::string>> lignes;
    if (dossier_.Lit(kFichierEmpreintes, texte) && LitCsv(texte, lignes))
        for (size_t i = 1; i < lignes.size(); ++i)
            if (lignes[i].size() == 2) empreintes_[lignes[i][0]] = lignes[i][1];
    return kSucces;
}

bool TDossierBatch::Efface(std::string* erreur) {
    std::string texte;
    std::vector<std::vector<std::string>> lignes;
    if (dossier_.Lit(kFichierEmpreintes, texte) && LitCsv(texte, lignes))
        for (size_t i = 1; i < lignes.size(); ++i)
            if (!lignes[i].empty() && !dossier_.Retire(lignes[i][0] + kSuffixeLigne, erreur)) return false;
    empreintes_.clear();
    return dossier_.Retire(kFichierResume, erreur) && dossier_.Retire(kFichierEmpreintes, erreur);
}

bool TDossierBatch::Fait(const TPosition& p, std::string& ligne, std::string* raison) const {
    std::vector<std::string> contenus;
    for (const std::string& s : travail_.Suffixes()) {
        contenus.emplace_back();
        if (!dossier_.Lit(p.nom + s, contenus.back(), raison)) return false;
    }
    std::string texte;
    if (!dossier_.Lit(p.nom + kSuffixeLigne, texte, raison)) return false;
    std::vector<std::string> cellules;
    if (!travail_.Relit(p.fichier, contenus, cellules, raison)) return false;
    // the row file: the header, then this position's row, which its files give again
    ligne = Ligne(p.nom, cellules);
    if (texte != entete_ + "\n" + ligne + "\n")
        return Refuse(raison, "son résumé " + Cite(Chemin(p.nom + kSuffixeLigne)) +
                                  " ne correspond pas à ses résultats");
    return true;
}

bool TDossierBatch::Prepare(const std::vector<TPosition>& positions, bool reprise,
                            std::vector<const TPosition*>& aFaire, std::ostream& err, std::string* erreur) {
    for (const TPosition& p : positions) {
        const auto connue = empreintes_.find(p.nom);
        const bool memesEntrees = connue != empreintes_.end() && connue->second == p.empreinte;
        std::string ligne, raison = "ses entrées ont changé depuis son calcul";
        if (reprise && memesEntrees && Fait(p, ligne, &raison)) {
            lignes_[p.nom] = ligne;
            continue;
        }
        if (reprise && dossier_.EstFichier(p.nom + kSuffixeLigne))
            err << "velmora-sim batch : position " << Cite(p.nom) << " : " << raison
                << " ; elle est recalculée\n";
        // results of other inputs never count as done, even if this run stops before redoing them
        if (!memesEntrees && !dossier_.Retire(p.nom + kSuffixeLigne, erreur)) return false;
        aFaire.push_back(&p);
    }
    for (const TPosition& p : positions) empreintes_[p.nom] = p.empreinte;
    return EcritEmpreintes(erreur);
}

bool TDossierBatch::EcritEmpreintes(std::string* erreur) {
    std::string texte = "position,empreinte\n";
    for (const auto& [nom, empreinte] : empreintes_) texte += ChampCsv(nom) + "," + empreinte + "\n";
    return dossier_.Ecrit(kFichierEmpreintes, texte, erreur);
}

bool TDossierBatch::Ecrit(const TPosition& p, const TResultatPosition& resultat, std::string* erreur) {
    for (const auto& [suffixe, contenu] : resultat.Fichiers)
        if (!dossier_.Ecrit(p.nom + suffixe, contenu, erreur)) return false;
    const std::string ligne = Ligne(p.nom, resultat.Ligne);
    if (!dossier_.Ecrit(p.nom + kSuffixeLigne, entete_ + "\n" + ligne + "\n", erreur)) return false;
    lignes_[p.nom] = ligne;
    return true;
}

bool TDossierBatch::EcritResume(const std::vector<TPosition>& positions,
                                const std::map<std::string, std::string>& temps, std::string* erreur) {
    std::string resume = entete_ + "\n";
    for (const TPosition& p : positions) resume += lignes_.at(p.nom) + "\n";
    // a position done by an earlier run keeps its time
    std::string avant;
    dossier_.Lit(kFichierTemps, avant);
    std::vector<std::vector<std::string>> anciens;
    std::map<std::string, std::string> tempsAvant;
    if (LitCsv(avant, anciens))
        for (size_t i = 1; i < anciens.size(); ++i)
            if (anciens[i].size() == 3)
                tempsAvant[anciens[i][0]] = Ligne(anciens[i][0], {anciens[i][1], anciens[i][2]});
    std::string texteTemps = "position,seconds,rank\n";
    for (const TPosition& p : positions) {
        if (const auto it = temps.find(p.nom); it != temps.end()) {
            texteTemps += it->second + "\n";
        } else if (const auto a = tempsAvant.find(p.nom); a != tempsAvant.end()) {
            texteTemps += a->second + "\n";
        }
    }
    return dossier_.Ecrit(kFichierResume, resume, erreur) &&
           dossier_.Ecrit(kFichierTemps, texteTemps, erreur);
}
