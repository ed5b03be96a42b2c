// How an engine starts its computation in the background (the difficulty evaluation, the solver):
// on a thread of its own, or, when the system can give no thread (a process or memory limit), on
// the calling thread, the call then returning once the work is done. Never an abort.
#pragma once

#include <functional>
#include <thread>

// true when travail runs on fond; false when it ran here, to its end
bool DemarreEnFond(std::thread& fond, const std::function<void()>& travail);
