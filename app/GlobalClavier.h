// The letter or digit key held down as a modifier of the arrows, the wheel and the mouse,
// shared by the main window and the cue window.
#pragma once

#include <cstdint>

// key code (Qt::Key_A, Qt::Key_1, ...) of the held key, 0 when none
extern std::uint16_t ToucheTenue;

// the keys that are held as modifiers: 1, 2, 3, A, E, H, Q, R, Z
bool EstToucheModificatrice(int touche);
