// The tool windows as the main window knows them, each in its own unit of tools/.
#pragma once

#include "tools/Calibrage.h"
#include "tools/Difficulte.h"
#include "tools/MemTrajets.h"
#include "tools/PilotQueue.h"
#include "tools/Solutions.h"
#include "tools/Systeme.h"
#include "tools/VueNum.h"
