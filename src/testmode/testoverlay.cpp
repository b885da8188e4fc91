// The test-mode overlay: the frame of the overlay stack that test mode runs in. Opening it pauses
// the game and gives the circle pads the dead zones the free camera flies with; closing it puts
// the game's back and removes what test mode made: its particle systems, its markers and the
// particle animations it loaded.
#include "testmode/testoverlay.h"

#include "game/camera.h"
#include "game/gameloop.h"
#include "game/particles.h"
#include "game/particletools.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "overlays/overlaystack.h"
#include "platform/input.h"
#include "shell/settings.h"
#include "testmode/testmenus.h"
#include "testmode/testmode.h"

static int hideTestModeText = 0;

static const unsigned kControllerOverlayFlag = 2;
static const unsigned kButtonReadout = 0x1;
static const float kTestRightDeadZone = 0.33f;

int TestmodeOpenHandler()
{
    gTestModeRunning = 1;
    gDrawTestInfo = 1;
    hideTestModeText = 0;
    PauseGame(1);
    // The free camera sets off from where the game's camera looks.
    CopyGameCameraToRenderCamera(gameCameras[0]);
    for (joystickState& c : controllers) {
        c.leftAnalogDeadzoneType = 1;
        c.rightAnalogDeadzoneType = 1;
        c.rightAnalogDeadzoneThreshold = kTestRightDeadZone;
        c.flags &= ~kControllerOverlayFlag;
    }
    return InitTestMode();
}

static int LetGo(unsigned bit) { return (allInput.edges & bit) && !(allInput.buttons & bit); }

int TestmodeInputHandler()
{
    if (!TestModeControls(4.0f)) return 0;
    if (allInput.edges == kButtonReadout && !(allInput.buttons & kButtonReadout)) gDrawTestInfo = -gDrawTestInfo;
    if (LetGo(kButtonStart)) OverlayExit();
    return 1;
}

int TestmodeDrawHandler() { return hideTestModeText ? 1 : DrawTestInfo(); }

int TestmodeCloseHandler()
{
    gTestModeRunning = 0;
    PauseGame(0);
    for (int i = 0; i < kNumControllerStates; ++i) {
        controllers[i].leftAnalogDeadzoneType = 1;
        controllers[i].rightAnalogDeadzoneType = 2;
        controllers[i].rightAnalogDeadzoneThreshold = gControllerDeadzoneValue[i][1];
    }
    int ok = 1;
    if (ParticleSystemManagerExists() && !ParticleSystemManagerRemoveSystems(kParticleSystemTest)) ok = 0;
    if (!DisposeParticleToolModels()) ok = 0;
    if (!UnloadTestParticleGroups()) ok = 0;
    TestOptions& t = testOptions;
    for (int i = 0; i < int(sizeof t.animationRSIDs / sizeof t.animationRSIDs[0]) && t.animationRSIDs[i] > 0; ++i) {
        if (ResourceLoaded(t.animationRSIDs[i]) && !UnloadResourceGroup(t.animationRSIDs[i]))
            return PrintError("test mode: particle animation %d stays loaded", t.animationRSIDs[i]);
        t.animationRSIDs[i] = 0;
    }
    t.testModeActive = 0;
    t.numAnimationRSIDs = 0;
    return ok;
}

int StartTestmodeOverlay()
{
    static const OVERLAYTAG overlay = {TestmodeOpenHandler, TestmodeDrawHandler, nullptr, TestmodeInputHandler,
                                       TestmodeCloseHandler, 0};
    OverlaySelect(&overlay);
    return 1;
}
