// Only the state that the game's set-up and tear-down touch; the menus themselves are not built.
#include "testmode/testmode.h"

#include "game/gameloop.h"
#include "game/records.h"
#include "platform/input.h"

int gDrawTestInfo = 0;

// The controllers that the test menus take over.
static const int kTestControllers = 4;
static const unsigned kControllerGameFlag = 2;

int InitTestMode()
{
    testOptions.modelNum = 0;
    testOptions.animationRunning = 1;
    testOptions.curMenu = nullptr;  // the root menu; there are no menus yet
    testOptions.previousMenu = nullptr;
    testOptions.curItemNum = 0;
    testOptions.numParticleSystems = 0;
    testOptions.testModeActive = 1;
    userCamera = 1;
    gDrawTestInfo = 1;
    for (int i = 0; i < kTestControllers; ++i) controllers[i].flags &= ~kControllerGameFlag;
    return 1;
}

int DisposeTestMode()
{
    for (int i = 0; i < kTestControllers; ++i) controllers[i].flags |= kControllerGameFlag;
    return 1;
}
