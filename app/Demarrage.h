// The program start: where the settings, the help and the shot socket are, and the creation of
// the six windows in their order (the main window first, all tool windows hidden).
#pragma once

#include <QStringList>
#include <memory>

#include "app/MainVel3D.h"

// the help collection file the program looks for
inline constexpr const char* NomFichierAide = "Velmora3D.qhc";

// from the command line (arguments[0] is the program) and the program's folder
TDemarrageVel3D DemarrageProgramme(const QStringList& arguments);
// the help next to the program, else where the build puts it, else in the installed data folder;
// the first place when none has it
QString CheminAide(const QString& dossierProgramme);

// Qt's own French texts (file dialogs, standard buttons), installed in the application; false
// when Qt's translations are not installed (the dialogs then stay in English)
bool ChargeTraductionsQt();

// the main window, then the cue window, trajectory memory, numeric view, table tuning and difficulty
std::unique_ptr<TMainVel3DFrm> CreeFenetres(const TDemarrageVel3D& demarrage);
