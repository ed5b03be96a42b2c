// A batch kind computed from one position on the kind's table: a position is checked by reading
// it the way it is read to be computed, and its inputs are the position file and the parameter
// file it names when the kind's options name none.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/ChargementPosition.h"
#include "cli/OptionsTir.h"
#include "cli/TravauxBatch.h"

class TTravailPosition : public TTravailBatch {
public:
    explicit TTravailPosition(const TOptionsTir& tir);

    bool Verifie(const std::string& fichier, std::string* erreur) const override {
        return Charge(fichier, erreur) != nullptr;
    }
    bool EmpreinteEntrees(const std::string& fichier, std::string& empreinte,
                          std::string* erreur) const override;
    std::vector<std::string> FichiersLus(const std::string& fichier) const override;

protected:
    // the position on the kind's table, in its mode; nullptr with the reason
    std::unique_ptr<TBillardVelmora> Charge(const std::string& fichier, std::string* erreur) const;
    // the lines of Configuration the kinds share: the mode, and the table by its content's digest
    std::string ConfigurationTir() const;

    // Runs an engine started in the background to its end; its stop asked as soon as the batch's
    // stop flag rises. The engine's result.
    template <class Moteur>
    auto Attends(Moteur& moteur) const {
        while (!moteur.Termine()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (Arrete()) moteur.Arrete();
        }
        return moteur.Attends();
    }

    const TOptionsTir& Tir() const { return tir_; }

private:
    TOptionsTir tir_;
    std::string empreinteFsk_;  // the digest of --fsk's content; empty without --fsk
};
