// The HOME menu and sleep come with their own work; what exists now is the close order: when the
// host asks the application to close (window closed, frame limit), `done` is raised on the main
// thread during the controller read, as the shutdown callback does.
#include "platform/applet.h"

#include "host/host.h"
#include "platform/utilities.h"

static int homePowerEnabled = 0;
static int sleepAllowed = 0;
static int appletInitialized = 0;

int InitializeApplet()
{
    appletInitialized = 1;
    // An application that is already being closed does not start.
    return HostCloseRequested() ? 0 : 1;
}

int DisposeApplet()
{
    appletInitialized = 0;
    sleepAllowed = 0;
    return 1;
}

int SetupHomeButtonCallbacks() { return 1; }
int DisableHomeButtonCallbacks() { return 1; }
int SetAppletCallbacks() { return 1; }
void DisableHomePowerButton() { homePowerEnabled = 0; }
void EnableHomePowerButton() { homePowerEnabled = 1; }
void EnableSleepMode(bool enable) { sleepAllowed = enable ? 1 : 0; }
void DisableSleepMode() { sleepAllowed = 0; }

void ServiceAppletOrders()
{
    if (appletInitialized && HostCloseRequested()) done = 1;
}
