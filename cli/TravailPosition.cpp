#include "cli/TravailPosition.h"

#include "fichiers/EcritureAtomique.h"
#include "fichiers/Empreinte.h"
#include "jeu/PackEntrainement.h"
#include "jeu/PositionJeu.h"

TTravailPosition::TTravailPosition(const TOptionsTir& tir) : tir_(tir) {
    if (!tir_.fsk.empty() && !EmpreinteFichier(tir_.fsk, empreinteFsk_)) empreinteFsk_ = "(illisible)";
}

std::unique_ptr<TBillardVelmora> TTravailPosition::Charge(const std::string& fichier,
                                                          std::string* erreur) const {
    auto simu = std::make_unique<TBillardVelmora>();
    if (!ChargeTir(*simu, fichier, tir_.fsk, erreur)) return nullptr;
    simu->ModeDeJeu = tir_.mode;
    return simu;
}

std::string TTravailPosition::ConfigurationTir() const {
    return "--mode " + std::string(MotModeJeu(tir_.mode)) + "\n--fsk " +
           (tir_.fsk.empty() ? std::string("(aucun)") : empreinteFsk_) + "\n";
}

bool TTravailPosition::EmpreinteEntrees(const std::string& fichier, std::string& empreinte,
                                        std::string* erreur) const {
    std::string position;
    if (!LitFichier(fichier, position, erreur)) return false;
    // without --fsk, the table the position names shapes its results too
    std::string table;
    TPositionOuverte ouverte;
    if (tir_.fsk.empty() && LitPositionJeu(fichier, ouverte) && !ouverte.CheminFisik.empty() &&
        !LitFichier(ouverte.CheminFisik, table, erreur))
        return false;
    empreinte = Empreinte(position) + Empreinte(table);
    return true;
}

std::vector<std::string> TTravailPosition::FichiersLus(const std::string& fichier) const {
    std::vector<std::string> fichiers = {fichier, tir_.fsk};
    TPositionOuverte ouverte;
    if (tir_.fsk.empty() && LitPositionJeu(fichier, ouverte)) fichiers.push_back(ouverte.CheminFisik);
    return fichiers;
}
