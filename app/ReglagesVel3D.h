// Where the program settings file "Velmora3D.ini" is read and written: in the program's folder
// when the program may write there, otherwise in the user's configuration folder, so that the
// settings of an installed program are never silently lost.
#pragma once

#include <QString>
#include <functional>

inline constexpr const char* NomFichierReglages = "Velmora3D.ini";

struct TEmplacementReglages {
    QString Lecture;   // file read at start (may not exist yet)
    QString Ecriture;  // file written
};

// whether a folder or a file may be written by this process
using TInscriptible = std::function<bool(const QString& chemin)>;

// dossierProgramme: the folder of the executable; dossierUtilisateur: the user's configuration
// folder; inscriptible: the file system's answer unless told otherwise
TEmplacementReglages EmplacementReglages(const QString& dossierProgramme, const QString& dossierUtilisateur,
                                         const TInscriptible& inscriptible = {});
