// The HOME button, power and sleep protocol. A HOME or power press runs the host's system menu
// inside the input read, with the game suspended exactly where it stands (the menu is the wait for
// the system to hand control back); the game's callbacks decide whether HOME may open, what
// happens on return, and end the program on "Close". A sleep request is answered by the query:
// refused while sleep is disabled or the save worker runs; accepted, the host sleeps until woken.
#include "platform/applet.h"

#include "host/gpu.h"
#include "host/host.h"
#include "host/input.h"
#include "host/systemmenu.h"
#include "host/threads.h"
#include "platform/input.h"
#include "platform/renderengine.h"
#include "platform/utilities.h"

static int appletInitialized = 0;
static int homeButtonCheck = 0;
static int sleepEnabled = 0;
static int (*homeButtonStartCB)() = nullptr;
static int (*homeButtonEndCB)() = nullptr;
static int (*homeButtonQuitGameCB)() = nullptr;
// What the game registered at start-up.
static int (*gameStartCB)() = nullptr;
static int (*gameEndCB)() = nullptr;
static int (*gameQuitCB)() = nullptr;
static int (*gameMaySleep)() = nullptr;
static HostCriticalSection s_SleepCS;

int InitializeApplet()
{
    appletInitialized = 1;
    // An application that is already being closed does not start.
    return HostCloseRequested() ? 0 : 1;
}

int DisposeApplet()
{
    DisableSleepMode();
    appletInitialized = 0;
    homeButtonCheck = 0;
    return 1;
}

int SetHomeButtonCallbacks(int (*start)(), int (*end)(), int (*quitGame)())
{
    homeButtonStartCB = start;
    homeButtonEndCB = end;
    homeButtonQuitGameCB = quitGame;
    return 1;
}

void RegisterHomeButtonGame(int (*start)(), int (*end)(), int (*quitGame)(), int (*maySleep)())
{
    gameStartCB = start;
    gameEndCB = end;
    gameQuitCB = quitGame;
    gameMaySleep = maySleep;
}

int SetupHomeButtonCallbacks() { return SetHomeButtonCallbacks(gameStartCB, gameEndCB, gameQuitCB); }
int DisableHomeButtonCallbacks() { return SetHomeButtonCallbacks(nullptr, nullptr, nullptr); }
int SetAppletCallbacks() { return 1; }
void DisableHomePowerButton() { homeButtonCheck = 0; }
void EnableHomePowerButton() { homeButtonCheck = 1; }
void EnableSleepMode(bool enable) { sleepEnabled = enable ? 1 : 0; }
void DisableSleepMode() { sleepEnabled = 0; }

static void Quit()
{
    if (homeButtonQuitGameCB) homeButtonQuitGameCB();
    else done = 1;  // the close order ends the program even while the game has no callbacks
}

// One system menu with the game suspended; afterwards the buttons held in the menu do not reach
// the game as new presses.
static int RunMenu(int kind)
{
    s_SleepCS.Enter();
    DisableSleepMode();
    const int answer = HostRunSystemMenu(kind);
    s_SleepCS.Leave();
    EnableSleepMode(true);
    ForgetHeldButtons();
    return answer;
}

int HandleHomeButton()
{
    if (HostInputTakePowerPress()) {
        if (RunMenu(kSystemMenuPower) == kSystemMenuClose || HostCloseRequested()) Quit();
        // The game was stopped mid-frame: its frame clock must not count the time in the menu.
        if (!done && homeButtonEndCB) homeButtonEndCB();
    }
    if (!done && HostInputTakeHomePress()) {
        if (homeButtonStartCB && !homeButtonStartCB()) return 1;  // refused: the press is dropped
        if (RunMenu(kSystemMenuHome) == kSystemMenuClose || HostCloseRequested()) Quit();
        if (homeButtonEndCB) homeButtonEndCB();
    }
    if (!done && HostInputTakeSleepRequest() && myReceiveSleepQueryNotification(0)) {
        s_SleepCS.Enter();
        HostSleepUntilWoken();
        s_SleepCS.Leave();
        myReceiveAwakeNotification(0);
    }
    if (HostCloseRequested()) Quit();
    return 1;
}

void ServiceAppletOrders()
{
    if (!appletInitialized) return;
    if (homeButtonCheck && !done) {
        HandleHomeButton();
    } else {
        // Presses that nobody serves now are not kept for later.
        HostInputTakeHomePress();
        HostInputTakePowerPress();
        HostInputTakeSleepRequest();
    }
    ServiceCloseOrder();
}

void ServiceCloseOrder()
{
    if (appletInitialized && HostCloseRequested() && !done) Quit();
}

int myReceiveSleepQueryNotification(unsigned)
{
    return sleepEnabled && (!gameMaySleep || gameMaySleep()) ? 1 : 0;
}

void myReceiveAwakeNotification(unsigned)
{
    if (!appletInitialized) return;
    GpuStartLcdDisplay();
    ResetUpdateTicks();
    ForgetHeldButtons();
}
