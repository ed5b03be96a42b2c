#include "app/ReglagesVel3D.h"

#include <QDir>
#include <QFileInfo>
#include <QRect>

#include "fichiers/FichierIni.h"

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

namespace {

constexpr const char* SectionFenetres = "Fenetres";

std::string Cle(const QString& nom, const char* quoi) {
    return (nom + QLatin1Char('_') + QLatin1String(quoi)).toStdString();
}

}  // namespace

bool LitPlaceFenetre(const TFichierIni& ini, const QString& nom, QRect* place) {
    constexpr long long absent = -1000000;
    const long long x = ini.LitEntier(SectionFenetres, Cle(nom, "X"), absent);
    const long long y = ini.LitEntier(SectionFenetres, Cle(nom, "Y"), absent);
    const long long l = ini.LitEntier(SectionFenetres, Cle(nom, "Largeur"), 0);
    const long long h = ini.LitEntier(SectionFenetres, Cle(nom, "Hauteur"), 0);
    // a hand-edited or foreign entry is ignored rather than giving a window no size or a place
    // out of any screen
    constexpr long long limite = 100000;
    if (x <= absent || y <= absent || x > limite || y > limite || x < -limite || y < -limite) return false;
    if (l <= 0 || h <= 0 || l > limite || h > limite) return false;
    *place = QRect(int(x), int(y), int(l), int(h));
    return true;
}

void EcritPlaceFenetre(TFichierIni& ini, const QString& nom, const QRect& place) {
    ini.EcritEntier(SectionFenetres, Cle(nom, "X"), place.x());
    ini.EcritEntier(SectionFenetres, Cle(nom, "Y"), place.y());
    ini.EcritEntier(SectionFenetres, Cle(nom, "Largeur"), place.width());
    ini.EcritEntier(SectionFenetres, Cle(nom, "Hauteur"), place.height());
}
