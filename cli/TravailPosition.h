// A batch kind computed from one position on the kind's table: a position is checked by reading
// it the way it is read to be computed.
#pragma once

#include <memory>
#include <string>

#include "cli/ChargementPosition.h"
#include "cli/OptionsTir.h"
#include "cli/TravauxBatch.h"

class TTravailPosition : public TTravailBatch {
public:
    explicit TTravailPosition(const TOptionsTir& tir) : tir_(tir) {}

    bool Verifie(const std::string& fichier, std::string* erreur) const override {
        return Charge(fichier, erreur) != nullptr;
    }

protected:
    // the position on the kind's table, in its mode; nullptr with the reason
    std::unique_ptr<TBillardVelmora> Charge(const std::string& fichier, std::string* erreur) const {
        auto simu = std::make_unique<TBillardVelmora>();
        if (!ChargeTir(*simu, fichier, tir_.fsk, erreur)) return nullptr;
        simu->ModeDeJeu = tir_.mode;
        return simu;
    }

    const TOptionsTir& Tir() const { return tir_; }

private:
    TOptionsTir tir_;
};
