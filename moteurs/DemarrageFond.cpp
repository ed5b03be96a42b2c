#include "moteurs/DemarrageFond.h"

#include <system_error>

bool DemarreEnFond(std::thread& fond, const std::function<void()>& travail) {
    try {
        fond = std::thread(travail);
        return true;
    } catch (const std::system_error&) {
        // no thread to be had: the work runs here
        travail();
        return false;
    }
}
