// The five tool windows as the main window knows them. Each comes with its own unit in tools/
// (PilotQueue, MemTrajets, VueNum, Calibrage, Difficulte; the build defines VELMORA_AVEC_<UNIT>
// when it is there); until then a tool window frame stands in for it with the members the main window calls (no Q_OBJECT: the stand-ins add
// no signal). The stand-in cue window already carries the cue view, which the 3D billiard needs.
#pragma once

#include "app/FenetreOutil.h"
#include "scene/Vue.h"

class QWheelEvent;
class TGLQueue;
class TVueGL;

#ifdef VELMORA_AVEC_PILOTQUEUE
#include "tools/PilotQueue.h"
#else
#define VELMORA_QUEUE_PROVISOIRE
// cue parameters (help context 1450)
class TQueueFrm : public TFenetreOutil {
public:
    explicit TQueueFrm(TMainVel3DFrm& principale);

    // the close-up view of the cue ball; its viewer is handed to the 3D billiard
    TVue VueQueue;
    TVueGL* Scn = nullptr;

    // connects the cue's five change events to the display operations
    void BrancheQueue(TGLQueue& queue);
    void AfficheEH();
    void AfficheVisee();
    void AfficheInclinaison();
    void AfficheVitesse();
    void AfficheMasse();
    // the wheel of the main window and of this one
    void FormMouseWheel(QWheelEvent* e);

private:
    // after every change, the shot is fired when auto-fire is on
    void TirSiAuto();
};
#endif

#ifdef VELMORA_AVEC_MEMTRAJETS
#include "tools/MemTrajets.h"
#else
#define VELMORA_MEMO_PROVISOIRE
// trajectory memory (1440)
class TMemTrajetsFrm : public TFenetreOutil {
public:
    explicit TMemTrajetsFrm(TMainVel3DFrm& principale);
    // keeps the shot just computed, when memorization is on
    void Memorise() {}
};
#endif

#ifdef VELMORA_AVEC_VUENUM
#include "tools/VueNum.h"
#else
#define VELMORA_VUENUM_PROVISOIRE
// numeric P/V/R view (1410)
class TVueNumFrm : public TFenetreOutil {
public:
    explicit TVueNumFrm(TMainVel3DFrm& principale);
    void RafraichitVue() {}
};
#endif

#ifdef VELMORA_AVEC_CALIBRAGE
#include "tools/Calibrage.h"
#else
#define VELMORA_CALIBRAGE_PROVISOIRE
// table tuning (1430)
class TCalibrageFrm : public TFenetreOutil {
public:
    explicit TCalibrageFrm(TMainVel3DFrm& principale);
    // binds the window to the simulation's physical constants
    void ChargeGrille() {}
};
#endif

#ifdef VELMORA_AVEC_DIFFICULTE
#include "tools/Difficulte.h"
#else
#define VELMORA_DIFFICULTE_PROVISOIRE
// difficulty evaluation (1420)
class TDifficulteFrm : public TFenetreOutil {
public:
    explicit TDifficulteFrm(TMainVel3DFrm& principale);
};
#endif
