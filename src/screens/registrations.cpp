// Start-up registrations: every function that a lower layer calls in a higher one is handed down
// here, the one place that may include them all. The shell calls RegisterGameModules before
// anything else runs; the tests' fixtures call it as they load.
#include "screens/registrations.h"

#include "game/collision.h"
#include "game/transitions.h"
#include "host/errorlog.h"
#include "lib/printing.h"
#include "lib/screenapi.h"
#include "overlays/bingocard.h"
#include "overlays/homebutton.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/pausemenu.h"
#include "overlays/pinselect.h"
#include "overlays/poker.h"
#include "overlays/scoreoverlay.h"
#include "overlays/sparesoverlays.h"
#include "overlays/startturn.h"
#include "platform/applet.h"
#include "screens/frontend.h"
#include "screens/results.h"
#include "screens/quicklaunch.h"
#include "screens/saveflow.h"
#include "screens/scoresheet_print.h"
#include "shell/savedata.h"
#include "testmode/testmode.h"
#include "testmode/testoverlay.h"
#include "ui/presslatch.h"

// After the HOME or power menu: the game's own end step, and the menus take none of the presses
// held from the system menu (A on "Resume" would otherwise press the entry under the cursor).
static int HomeButtonEndAndLatchCB()
{
    BasicUi_LatchPresses();
    return HomeButtonEndCB();
}

void RegisterGameModules()
{
    UpperLayerHooks& u = upperLayers;
    u.overlayStackDepth = kOverlayStackDepth;
    u.OverlayExists = OverlayExists;
    u.OverlayGetHandlers = OverlayGetHandlers;
    u.OverlayExit = OverlayExit;
    u.OverlayHandleInput = OverlayHandleInput;
    u.OverlayResetStack = OverlayResetStack;
    u.OverlayUpdate = OverlayUpdate;
    u.StartDSScoreOverlay = StartDSScoreOverlay;
    u.DSScoreOverlayActive = DSScoreOverlayActive;
    u.ShowScoreOverlayAfterBall = ShowScoreOverlayAfterBall;
    u.DSStandardStartTurnOverlayActive = DSStandardStartTurnOverlayActive;
    u.StartPauseMenuOverlay = StartPauseMenuOverlay;
    u.StartDSSparesStartTurnOverlay = StartDSSparesStartTurnOverlay;
    u.StartDSSparesScoreOverlay = StartDSSparesScoreOverlay;
    u.StartBingoCardOverlay = StartBingoCardOverlay;
    u.StartPokerOverlay = StartPokerOverlay;
    u.StartDSPinSelectOverlay = StartDSPinSelectOverlay;
    u.SetOverlayControllerNum = SetOverlayControllerNum;
    u.SetHUDDisplay = SetHUDDisplay;
    u.DrawGameOverlays = DrawGameOverlays;
    u.DrawOverlayBackground = DrawOverlayBackground;
    u.GetFontRSID = GetFontRSID;
    u.InitOverlayBitmaps = InitOverlayBitmaps;
    u.DisposeOverlayBitmaps = DisposeOverlayBitmaps;

    u.MainMenuScreenInit = MainMenuScreenInit;
    u.SelectTitleScreen = SelectTitleScreen;
    u.SelectMainMenuScreen = SelectMainMenuScreen;
    u.ExitScreens = ExitScreens;
    u.RestoreGUI = RestoreGUI;
    u.SaveBeforeClosing = SaveBeforeClosing;
    u.LoadingScreenInit = LoadingScreenInit;
    u.LoadingScreenClose = LoadingScreenClose;
    u.ZeroPlayerResults = ZeroPlayerResults;
    u.SetPlayersResults = SetPlayersResults;
    u.SetPlayerResults = SetPlayerResults;
    u.LaunchPending = LaunchPending;
    u.LaunchFromOptions = LaunchFromOptions;
    u.PrintScoreSheets = PrintScoreSheets;

    u.DisposeTestMode = DisposeTestMode;
    u.StartTestmodeOverlay = StartTestmodeOverlay;

    ScreenSetFrameHooks({OverlayExists, OverlayHandleInput, OverlayUpdate, UpdateTransition});
    RegisterCollisionModelResources();
    HostSetErrorFormatter(VPrintString);
    RegisterHomeButtonGame(HomeButtonStartCB, HomeButtonEndAndLatchCB, HomeButtonQuitGameCB, SaveDataProcessComplete);
}
