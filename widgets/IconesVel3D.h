// The program's own pictures, drawn rather than loaded: the program icon (three balls on the
// cloth, the same drawing as velmora3d.svg) and the picture of the fire button.
#pragma once

#include <QIcon>
#include <QPixmap>

QPixmap ImageProgramme(int taille, qreal ratioPixels = 1.0);
QIcon IconeProgramme();
QPixmap ImageFeu(int taille, qreal ratioPixels = 1.0);
