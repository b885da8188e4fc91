// The loading screen: the loading image as the lower screen's background and a bitmap in its lower
// right corner whose opacity rises and falls by 0.05 per frame period, drawn by the loading bar's
// callback while the main thread waits on a load. Sleep is refused from Init to Close, also when
// the image does not exist and nothing else is shown.
#include "screens/loadingscreen.h"

#include <cstdint>

#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/applet.h"
#include "platform/bitmap.h"
#include "platform/frame.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/utilities.h"
#include "shell/globals.h"
#include "shell/settings.h"

static int screenActive = 0;
static int sleepRefused = 0;
static float animParam = 0.0f;
static float updateParam = 0.0f;
static DS3_bitmap_tag* theBitmap = nullptr;
static int rsid = -1;
static int loadingRSID = -1;
static int resourcesRead = 0;

static int LoadingImageId()
{
    const int base = gHiDefScaleFactor != 0.0f ? kMenuBackgroundImage : kLoadingImageUnscaled;
    return gHiDef * 25 + gLanguage + base;
}

// Reads the image and the bitmap; 0 when one cannot be read.
static int ReadLoadingResources()
{
    if (done) return 1;
    if (!ReadResource(rsid)) return done ? 0 : PrintError("loading screen: the image %d cannot be read", rsid);
    resourcesRead = 1;
    RenderSelectBackgroundResource(rsid);
    loadingRSID = gHiDef * 25 + gLanguage + kLoadingBitmap;
    if (!ReadResource(loadingRSID))
        return done ? 0 : PrintError("loading screen: the bitmap %d cannot be read", loadingRSID);
    void* handle = nullptr;
    if (!GetResourceHandle(loadingRSID, &handle) || !handle)
        return PrintError("loading screen: the bitmap %d has no handle", loadingRSID);
    theBitmap = static_cast<DS3_bitmap_tag*>(handle);
    return 1;
}

int LoadingScreenInit()
{
    if (screenActive) return 1;
    DisableSleepMode();
    sleepRefused = 1;
    rsid = LoadingImageId();
    const int type = ResourceType(rsid);
    if (type == 0 || type == kResourceTypeGroup) return 1;

    const int previous = SelectTempMemory();
    const int ok = ReadLoadingResources();
    SelectMemory(previous);
    if (!ok) return 0;

    LoadingBarSetCallback(LoadingScreenDraw);
    LoadingBarStart();
    updateParam = 0.05f;
    animParam = 0.0f;
    screenActive = 1;
    return 1;
}

int LoadingScreenDraw()
{
    RenderStartDisplay0L();
    RenderEndDisplay0L();
    RenderStartDisplay0R();
    RenderEndDisplay0R();
    RenderStartDisplay1();
    ScreenSetDrawingDestination(screenBuffer);
    if (!theBitmap || gHiDefScaleFactor == 0.0f) {
        RenderEndDisplay1();
        return 1;
    }
    // A frame that came late moves the sign as far as the frames it stands for.
    const float factor = realUpdateRatio < updateRatio ? 4.0f * realUpdateRatio : updateRatio;
    animParam += factor * updateParam;
    if (animParam > 1.0f) animParam = 1.0f;
    if (animParam >= 1.0f) updateParam = -0.05f;
    if (animParam <= 0.0f) {
        updateParam = 0.05f;
        animParam = 0.0f;
    }
    RenderSetAlphaLevel(int(unsigned(animParam * 255.0f) & 0xFF));
    const int w = theBitmap->width, h = theBitmap->height;
    DrawScreenPoly(theBitmap, 0, 0, displaySafeArea.right - w, displaySafeArea.bottom - h, w, h);
    RenderSetAlphaLevel(255);
    RenderEndDisplay1();
    return 1;
}

int LoadingScreenClose()
{
    RenderSelectBackgroundResource(0);
    LoadingBarStop();
    LoadingBarSetCallback(nullptr);
    // Sleep comes back whatever was shown: Init refused it even when there was no image.
    if (sleepRefused) {
        EnableSleepMode(true);
        sleepRefused = 0;
    }
    const int shown = screenActive;
    screenActive = 0;
    theBitmap = nullptr;
    if (!shown && !resourcesRead) return 1;
    resourcesRead = 0;
    int ok = DisposeResource(rsid);
    if (loadingRSID != -1 && ResourceLoaded(loadingRSID)) ok = DisposeResource(loadingRSID) && ok;
    if (!ok) return PrintError("loading screen: its image cannot be freed");
    return 1;
}

int LoadingScreenShown() { return screenActive; }
float LoadingScreenOpacity() { return animParam; }
int MainMenuLoadingScreenBegin(int) { return LoadingScreenInit(); }
int MainMenuLoadingScreenEnd(int) { return LoadingScreenClose(); }
