#include "app/GlobalClavier.h"

#include <Qt>

std::uint16_t ToucheTenue = 0;

bool EstToucheModificatrice(int touche) {
    switch (touche) {
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
        case Qt::Key_A:
        case Qt::Key_E:
        case Qt::Key_H:
        case Qt::Key_Q:
        case Qt::Key_R:
        case Qt::Key_Z:
            return true;
        default:
            return false;
    }
}
