#include "app/ReglagesVel3D.h"

#include <QDir>
#include <QFileInfo>

TEmplacementReglages EmplacementReglages(const QString& dossierProgramme, const QString& dossierUtilisateur,
                                         const TInscriptible& inscriptible) {
    const TInscriptible peutEcrire =
        inscriptible ? inscriptible : [](const QString& chemin) { return QFileInfo(chemin).isWritable(); };
    const QString local = QDir(dossierProgramme).filePath(NomFichierReglages);
    const QString perso = QDir(dossierUtilisateur).filePath(NomFichierReglages);
    const bool fichierLocal = QFileInfo(local).isFile();
    // the program's folder when both it and an existing file there may be written
    if (QFileInfo(dossierProgramme).isDir() && peutEcrire(dossierProgramme) &&
        (!fichierLocal || peutEcrire(local)))
        return {local, local};
    // otherwise the user's copy, seeded from the program's file until the user has one
    if (!QFileInfo::exists(perso) && fichierLocal) return {local, perso};
    return {perso, perso};
}
