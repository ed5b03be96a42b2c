// The windows as the program creates them, with their settings and their history in a temporary
// folder, no help file and no shot socket unless a test asks for them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <type_traits>

#include "app/Demarrage.h"
#include "app/FenetresOutils.h"
#include "tests/support/BoitesEtAttente.h"
#include "view3d/GLBillardVelmora.h"

// whether an object lies inside a tool window (docked in the main window or on its own)
inline bool DansUnOutil(const QObject* o) {
    for (; o; o = o->parent())
        if (qobject_cast<const TFenetreOutil*>(o)) return true;
    return false;
}

// a control of the main window by its object name (the window keeps its controls to itself);
// a tool window's control of the same name is not the main window's
template <class T>
T* Controle(const QWidget& fenetre, const char* nom) {
    for (T* c : fenetre.findChildren<T*>(QString::fromLatin1(nom))) {
        if constexpr (std::is_base_of_v<QWidget, T>)
            if (!qobject_cast<QMenu*>(c) && (c->window() != &fenetre || DansUnOutil(c))) continue;
        return c;
    }
    ADD_FAILURE() << "la fenêtre n'a pas de " << nom;
    return nullptr;
}

inline QString Exemple(const char* nom) {
    return QDir(QStringLiteral(VELMORA_EXAMPLES_DIR)).filePath(QString::fromLatin1(nom));
}

struct TFenetres {
    QTemporaryDir dossier;
    TDemarrageVel3D demarrage;
    std::unique_ptr<TMainVel3DFrm> principale;

    TFenetres() {
        demarrage.DossierProgramme = dossier.path();
        demarrage.Reglages = EmplacementReglages(dossier.path(), dossier.filePath(QStringLiteral("config")));
        demarrage.FichierAide = dossier.filePath(QStringLiteral("Velmora3D.qhc"));
        // never the user's own history
        demarrage.Historique = dossier.filePath(QStringLiteral("historique.sqlite"));
    }
    // a settings file in the program's folder before the start
    void EcritReglages(const QByteArray& texte) {
        QFile f(dossier.filePath(QStringLiteral("Velmora3D.ini")));
        f.open(QIODevice::WriteOnly);
        f.write(texte);
    }
    // created, and shown when asked (the first show builds the 3D billiard)
    TMainVel3DFrm& Cree(bool montre = true) {
        principale = CreeFenetres(demarrage);
        // the windows with a 3D view are shown as far as the program knows, never drawn: the
        // offscreen platform has no OpenGL
        principale->setAttribute(Qt::WA_DontShowOnScreen);
        principale->QueueFrm->setAttribute(Qt::WA_DontShowOnScreen);
        if (montre) {
            principale->resize(1000, 700);
            principale->show();
            QApplication::processEvents();
        }
        return *principale;
    }
    TMainVel3DFrm& F() { return *principale; }
    void Montre() {
        principale->setAttribute(Qt::WA_DontShowOnScreen);
        principale->show();
    }
    TGLBillardVelmora& B() { return *principale->Billard; }
};
