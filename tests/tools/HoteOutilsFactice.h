// A host for one tool window without the main window: a real 3D billiard on its own scene (the
// tools work on it), and a record of every other request, so that a test sees what the window
// asked of the main window.
#pragma once

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>
#include <type_traits>
#include <vector>

#include "fichiers/FichierFisik.h"
#include "scene/Scene.h"
#include "scene/Vue.h"
#include "tests/support/BoitesEtAttente.h"
#include "tools/Calibrage.h"
#include "tools/HoteOutils.h"
#include "tools/PilotQueue.h"
#include "view3d/GLBillardVelmora.h"

inline QString Exemple(const char* nom) {
    return QDir(QStringLiteral(VELMORA_EXAMPLES_DIR)).filePath(QString::fromLatin1(nom));
}

class THoteOutilsFactice : public THoteOutils {
public:
    QTemporaryDir dossier;
    TScene gls;
    TVue VueTable{gls};
    TVue VueQueue{gls};
    std::unique_ptr<TGLBillardVelmora> Billard;

    // what the tools asked
    int NbFeux = 0;
    bool TirAutoActif = false;
    bool Vecteurs = false;
    std::vector<TResultatMontre> Montres;
    std::vector<int> Aides;
    std::vector<int> Fleches;  // arrows passed on, wheel turns with a held key included
    std::vector<bool> Memoires;
    std::vector<QString> Sauvees;
    std::vector<QString> Tables;  // the tables put in play ("": the factory one)
    int ToucheTenue = 0;          // E, A or H pressed and not released
    // after every shot fired (the main window feeds its tools there)
    std::function<void()> ApresFeu;

    // the 3D billiard as the main window makes it at its first show, the cue's close-up from vueQueue
    void CreeBillard(TVue& vueQueue) {
        Billard = std::make_unique<TGLBillardVelmora>(gls, VueTable, vueQueue);
        Billard->PositionDepart(true);
        for (TGLBilles* b : {Billard->BilleJoueur, Billard->BilleNonJoueur, Billard->Rouge})
            b->SetTrajetVisible(true);
    }
    void CreeBillard() { CreeBillard(VueQueue); }
    TGLBillardVelmora& B() { return *Billard; }

    TGLBillardVelmora* Billard3D() const override { return Billard.get(); }
    TScene& SceneTable() override { return gls; }
    void Feu() override {
        if (!Billard || CoupVerrouille()) return;
        Billard->JoueCoup();
        ++NbFeux;
        if (ApresFeu) ApresFeu();
    }
    bool TirAuto() const override { return TirAutoActif; }
    void SetTirAuto(bool actif) override { TirAutoActif = actif; }
    void MontreResultat(TResultatMontre quoi) override { Montres.push_back(quoi); }
    bool VecteursAffiches() const override { return Vecteurs; }
    void VerrouilleCoup(const QObject* detenteur, bool verrou) override {
        if (verrou)
            verrous_.insert(detenteur);
        else
            verrous_.erase(detenteur);
    }
    bool CoupVerrouille() const override { return !verrous_.empty(); }
    void ChoisitBilleJoueur(bool jaune) override {
        if (Billard) Billard->SetBilleJoueur(jaune ? Billard->Jaune : Billard->Blanche);
    }
    void ChoisitModeJeu(TModeDeJeu mode) override {
        if (Billard) Billard->Simu->ModeDeJeu = mode;
    }
    bool ChargeTable(const QString& fichier, QString* erreur) override {
        Tables.push_back(fichier);
        TPARAMPHYS fisik;
        std::string raison;
        if (!Billard || (!fichier.isEmpty() && !ChargeFisik(fisik, fichier.toStdString(), &raison))) {
            if (erreur) *erreur = QString::fromStdString(raison);
            return false;
        }
        fisik.SetParam(2, Billard->RayonBille);
        Billard->Simu->Fisik = fisik;
        return true;
    }
    bool SauvePosition(const QString& nom) override {
        Sauvees.push_back(nom);
        return Billard && Billard->SauveFichier(nom.toStdString(), nullptr);
    }
    void AfficheAide(int contexte) override { Aides.push_back(contexte); }
    // space fires, E, A and H are held, an arrow is taken with a held key; the rest is not the host's
    void PasseTouche(QKeyEvent* e) override {
        const int k = e->key();
        if (e->type() == QEvent::KeyRelease) {
            if (k == ToucheTenue) ToucheTenue = 0;
            return;
        }
        e->accept();
        if (k == Qt::Key_Space) {
            Feu();
        } else if (k == Qt::Key_E || k == Qt::Key_A || k == Qt::Key_H) {
            ToucheTenue = k;
        } else if ((k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down) &&
                   ToucheTenue) {
            Fleches.push_back(k);
        } else {
            e->ignore();
        }
    }
    bool RoueFleche(bool avant) override {
        if (!ToucheTenue) return false;
        if (ToucheTenue == Qt::Key_E)
            Fleches.push_back(avant ? Qt::Key_Left : Qt::Key_Right);
        else
            Fleches.push_back(avant ? Qt::Key_Up : Qt::Key_Down);
        return true;
    }
    void SignaleMemoire(bool active) override { Memoires.push_back(active); }

private:
    std::set<const QObject*> verrous_;
};

// one tool window on the fake host, with the billiard made as at the main window's first show
template <class TFenetre>
struct TOutilFactice {
    THoteOutilsFactice h;
    std::unique_ptr<TFenetre> f;

    TOutilFactice() {
        f = std::make_unique<TFenetre>(h);
        if constexpr (std::is_same_v<TFenetre, TQueueFrm>) {
            // the cue window's close-up is the billiard's cue view; it shows the mass at once
            f->setAttribute(Qt::WA_DontShowOnScreen);
            h.CreeBillard(f->VueQueue);
            f->BrancheQueue(*h.Billard->Queue);
            h.Billard->Queue->SetMasse(h.Billard->Queue->Masse());
        } else {
            h.CreeBillard();
        }
        if constexpr (std::is_same_v<TFenetre, TCalibrageFrm>) f->ChargeGrille();
    }
    ~TOutilFactice() {
        // the billiard first: it holds the cue window's view
        h.Billard.reset();
        f.reset();
    }
    TFenetre& F() { return *f; }
    TGLBillardVelmora& B() { return *h.Billard; }
};
