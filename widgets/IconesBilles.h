// Small shaded ball pictures for the status bar and the buttons, in the colours of the 3D view.
#pragma once

#include <QColor>
#include <QPixmap>

// 0 white, 1 yellow, 2 red (the balls' indices); any other index gives grey
QColor CouleurBille(int indice);
// a ball of `taille` device-independent pixels, sharp on screens with the given pixel ratio
QPixmap IconeBille(int indice, int taille = 16, qreal ratioPixels = 1.0);
