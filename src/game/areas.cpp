// The alley of the game. Changing alley swaps its collision environment; the environment model,
// its layers, lights, objects and music come with the drawing of the scene.
#include "game/areas.h"

#include "game/collision.h"
#include "game/controls.h"
#include "lib/printing.h"

int areaNum = 0;
int oldAreaNum = 0;
int gChangeStage = 0;
int gChangeStageTransition = 0;
int nextArea = 0;

static int loadedArea = -1;  // the alley whose collision environment is loaded, -1 for none

int AreaLoaded() { return loadedArea >= 0; }

int DisposeArea()
{
    if (loadedArea < 0) return 1;
    const int area = loadedArea;
    loadedArea = -1;
    if (!DisposeCollisionEnvironment(area)) return PrintError("alley %d stays loaded", area);
    return 1;
}

int ChangeArea(int area)
{
    if (area < 0 || area >= kNumAreas) return PrintError("there is no alley %d", area);
    if (!DisposeArea()) return 0;

    areaNum = area;
    SuspendAllUserControls(0);
    if (!CreateCollisionEnvironment(area)) return PrintError("alley %d cannot be loaded", area);
    loadedArea = area;
    oldAreaNum = area;
    return 1;
}
