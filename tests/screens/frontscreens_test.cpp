// The front end's screens on the build's game data: the screen stack and change of screen with
// its background, the shared resources taken by the title and kept for the main menu, the title's
// ways out, and the loading screen's pulsing sign and its sleep refusal.
#include <gtest/gtest.h>

#include "game/gameloop.h"
#include "host/clock.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/applet.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/frontend.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class FrontEndScreens : public ::testing::Test {
protected:
    HostOptions saved;
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;

    void SetUp() override
    {
        saved = gHostOptions;
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        HostUseVirtualClock(1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ResetScreenStack();
        gTabGroupId = 0;
        gHiDef = 0;
        gLanguage = 0;
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        controllers[0].buttons = controllers[0].edges = 0;
        ScreenSetResult(kScreenResultRun);
    }
    void TearDown() override
    {
        TitleScreenCloseHandler();
        EXPECT_EQ(ExitScreens(0), 1);
        LoadingScreenClose();
        controllers[0].controller = savedPad;
        gLanguage = 0;
        controllers[0].buttons = controllers[0].edges = 0;
        EXPECT_EQ(DisposeSoundServices(), 1);
        CloseBuildGameData();
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    // Opens the title as the screen loop does and gives it one frame of input.
    void OpenTitle() { ASSERT_EQ(TitleScreenOpenHandler(), 1); }
    int TitleLeftWith(int touchX, uint16_t edges, uint16_t buttons)
    {
        ScreenSetResult(kScreenResultRun);
        pad.touchData = {touchX, 120, touchX >= 0 ? 1 : 0};
        controllers[0].edges = edges;
        controllers[0].buttons = buttons;
        TitleScreenInputHandler();
        return ScreenGetResult() == kTabGroupMainMenu;
    }
};

TEST_F(FrontEndScreens, TheStackHoldsTwentyScreensAndRefusesTheNext)
{
    for (int i = 0; i < kScreenStackMax; ++i) {
        gTabId = 3;
        ASSERT_EQ(PushScreen(i, 100 + i), 1);
        EXPECT_EQ(gTabId, 0);
    }
    EXPECT_EQ(PushScreen(99, 99), 0);
    EXPECT_EQ(screenStackSize, kScreenStackMax);
    EXPECT_EQ(screenStack[kScreenStackMax - 1].tabGroup, kScreenStackMax - 1);
    EXPECT_EQ(screenStack[kScreenStackMax - 1].tab, 100 + kScreenStackMax - 1);
}

TEST_F(FrontEndScreens, ChangingToTheCurrentScreenHandsNothingOverAndTheTitleHasABackground)
{
    ASSERT_EQ(ChangeScreen(kTabGroupMainMenu, 1), 1);
    EXPECT_EQ(ScreenGetResult(), kTabGroupMainMenu);
    ScreenSetResult(kScreenResultRun);
    EXPECT_EQ(ChangeScreen(kTabGroupMainMenu, 1), 0);
    EXPECT_EQ(ScreenGetResult(), kScreenResultRun);
    EXPECT_EQ(ChangeScreen(kTabGroupMainMenu, 0), 1);

    ASSERT_EQ(ChangeScreen(kTabGroupTitle, 0), 1);
    EXPECT_EQ(ScreenBackground(), kMenuBackgroundImage);
    EXPECT_EQ(ResourceLoaded(kMenuBackgroundImage), 1);
    ASSERT_EQ(ChangeScreen(kTabGroupMainMenu, 0), 1);
    EXPECT_EQ(ScreenBackground(), -1);
    EXPECT_EQ(ResourceLoaded(kMenuBackgroundImage), 0);
    ASSERT_EQ(ChangeScreen(kTabGroupTitle, 0), 1);
    EXPECT_EQ(ResourceLoaded(kMenuBackgroundImage), 1);
    // -1 leaves the tab group as it is and drops the background.
    ASSERT_EQ(ChangeScreen(-1, 0), 1);
    EXPECT_EQ(gTabGroupId, kTabGroupTitle);
    EXPECT_EQ(ResourceLoaded(kMenuBackgroundImage), 0);
}

TEST_F(FrontEndScreens, TheTitleIsLeftByATouchInsideItsEdgesOrByALoneLetGoA)
{
    OpenTitle();
    EXPECT_EQ(TitleLeftWith(5, 0, 0), 0);
    EXPECT_EQ(TitleLeftWith(315, 0, 0), 0);
    // A let go together with another button, and A still held, are not the way out.
    EXPECT_EQ(TitleLeftWith(-1, kButtonA | kButtonB, 0), 0);
    EXPECT_EQ(TitleLeftWith(-1, kButtonA, kButtonA), 0);
    EXPECT_EQ(TitleScreenActive(), 1);
    EXPECT_EQ(TitleLeftWith(6, 0, 0), 1);
    EXPECT_EQ(TitleScreenActive(), 0);

    ASSERT_EQ(TitleScreenCloseHandler(), 1);
    OpenTitle();
    EXPECT_EQ(TitleLeftWith(-1, kButtonA, 0), 1);
}

TEST_F(FrontEndScreens, TheLeavingSoundKeepsItsDataAndTheMenuFindsTheSharedResourcesLoaded)
{
    OpenTitle();
    ASSERT_EQ(TitleLeftWith(160, 0, 0), 1);
    ASSERT_EQ(TitleScreenCloseHandler(), 1);
    // The chime is still playing from the shared range, which stays for the main menu.
    EXPECT_EQ(ResourceLoaded(kSoundChime), 1);
    EXPECT_EQ(ScreensInitialised(), 1);
    EXPECT_EQ(InitScreens(0), 1);
    // A game frees them; the way back from it loads them again.
    ASSERT_EQ(ExitScreens(0), 1);
    EXPECT_EQ(ResourceLoaded(kSoundChime), 0);
    gTabGroupId = kTabGroupMainMenu;
    gGameType = 0;
    ASSERT_EQ(RestoreGUI(), 1);
    EXPECT_EQ(ResourceLoaded(kSoundChime), 1);
    EXPECT_EQ(ScreenGetResult(), kTabGroupMainMenu);
}

TEST_F(FrontEndScreens, AnAttractGameReturnsToATitleThatOpensOnTheLoadedResources)
{
    gTabGroupId = kTabGroupMainMenu;
    gGameType = 8;
    ASSERT_EQ(RestoreGUI(), 1);
    EXPECT_EQ(ScreenGetResult(), kTabGroupTitle);
    EXPECT_EQ(TitleScreenOpenHandler(), 1);
    EXPECT_EQ(TitleScreenActive(), 1);

    // Back from a game before any screen was shown, the program ends.
    ResetScreenStack();
    gTabGroupId = -1;
    ASSERT_EQ(RestoreGUI(), 1);
    EXPECT_EQ(ScreenGetResult(), -1);
}

TEST_F(FrontEndScreens, TheLoadingSignPulsesByTheFrameTimeAndSleepComesBackAfterIt)
{
    const float savedRatio = updateRatio, savedReal = realUpdateRatio;
    ASSERT_EQ(LoadingScreenInit(), 1);
    ASSERT_EQ(LoadingScreenShown(), 1);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 0);
    updateRatio = 1.0f;
    realUpdateRatio = 0.5f;
    ASSERT_EQ(LoadingScreenDraw(), 1);
    EXPECT_NEAR(LoadingScreenOpacity(), 2.0f * 0.05f, 1e-5f);
    ASSERT_EQ(LoadingScreenDraw(), 1);
    EXPECT_NEAR(LoadingScreenOpacity(), 4.0f * 0.05f, 1e-5f);
    realUpdateRatio = 1.0f;
    for (int i = 0; i < 20; ++i) LoadingScreenDraw();
    EXPECT_LE(LoadingScreenOpacity(), 1.0f);
    EXPECT_LT(LoadingScreenOpacity(), 1.0f) << "at the top the sign fades again";
    ASSERT_EQ(LoadingScreenClose(), 1);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 1);
    EXPECT_EQ(ResourceLoaded(kLoadingBitmap), 0);
    updateRatio = savedRatio;
    realUpdateRatio = savedReal;
}

TEST_F(FrontEndScreens, WithoutItsImagesTheTitleCanStillBeLeftAndSleepStillComesBack)
{
    gLanguage = 3;  // no title or loading image is made for this language
    ASSERT_EQ(TitleScreenOpenHandler(), 1);
    EXPECT_EQ(TitleScreenActive(), 1);
    EXPECT_EQ(TitleLeftWith(160, 0, 0), 1);
    ASSERT_EQ(TitleScreenCloseHandler(), 1);

    ASSERT_EQ(LoadingScreenInit(), 1);
    EXPECT_EQ(LoadingScreenShown(), 0);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 0);
    ASSERT_EQ(LoadingScreenClose(), 1);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 1);
}

}  // namespace
