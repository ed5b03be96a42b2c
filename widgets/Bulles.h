// Hints written "short|long": the short part is the tooltip, the long part goes to the status bar.
// A hint without "|" is both; an empty part means no tooltip or no status text.
#pragma once

#include <QString>

class QAction;
class QWidget;

QString BulleCourte(const QString& bulle);
QString BulleLongue(const QString& bulle);

// sets the tooltip and the status tip of a control or a menu item from one hint
void PoseBulle(QWidget* controle, const QString& bulle);
void PoseBulle(QAction* action, const QString& bulle);
