// The main menu opened, run and closed as the screen loop runs it, on the build's game data with
// the renderer and sound: the description for this platform loaded with the registry, no input
// handled before the menu has been drawn, practice reopening on its own screen, the kind of the
// last game kept until it is reset, and everything given back on closing.
#include <gtest/gtest.h>

#include "game/gameloop.h"
#include "host/clock.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "db/database.h"
#include "screens/credits.h"
#include "screens/frontend.h"
#include "screens/frontenddb.h"
#include "screens/scriptfunctions.h"
#include "screens/tutorials.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "ui/environment.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"

namespace {

class GlMainMenu : public ::testing::Test {
protected:
    HostOptions saved;

    void SetUp() override
    {
        saved = gHostOptions;
        ASSERT_EQ(UseFreshDeviceHeap(96u << 20), 1);
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        HostUseVirtualClock(1);
        basicUiEnvironmentPtr = nullptr;
        BasicDb_Init();
        ForgetCreditsDatabase();
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ResetScreenStack();
        gTabGroupId = kTabGroupTitle;
        ScreenSetResult(kScreenResultRun);
    }
    void TearDown() override
    {
        ExitScreens(0);
        EXPECT_EQ(DisposeSoundServices(), 1);
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        CloseBuildGameData();
        basicUiEnvironmentPtr = nullptr;
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    static sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(BasicUi_GetEnvironment(), name); }
    static int Running(const char* sequence)
    {
        auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(W(sequence)->widgetTypeRef.ptr);
        return s->cmdSeqActive.value;
    }
    static void Draw()
    {
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(MainMenuScreenDrawHandler(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
    }
    static void Input(int frames)
    {
        for (int i = 0; i < frames; ++i) ASSERT_EQ(MainMenuScreenInputHandler(), 1);
    }
    static int Shown(const char* screen) { return BasicUi_FindScreen(BasicUi_GetEnvironment(), screen)->isRender.value; }
};

TEST_F(GlMainMenu, OpensDrawnBeforeItsInputRunsAndGivesEverythingBackOnClosing)
{
    ASSERT_EQ(MainMenuScreenInit(), 1);
    MainMenuSetLastGameType(kLastGameQuick);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    ASSERT_NE(s0MainMenu, nullptr);
    EXPECT_EQ(basicUiEnvironmentStarted, 1);
    EXPECT_EQ(gGameType, -1);
    EXPECT_EQ(BasicFn_Find("StartTutorial"), StartTutorial);
    EXPECT_NE(BasicDbTable_Find(FrontEndDb(nullptr, "creditsDb"), "creditsTable"), nullptr) << "for the credits roll";
    EXPECT_EQ(LoadingScreenShown(), 0);
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGameQuick) << "kept until a launcher or a reset";

    // Input that arrives before the menu's first frame is drawn runs nothing.
    ASSERT_EQ(Running("cSN.startS0"), 1);
    Input(3);
    EXPECT_EQ(Running("cSN.startS0"), 1);
    Draw();
    Input(3);
    EXPECT_EQ(Running("cSN.startS0"), 0);
    EXPECT_EQ(Shown("s0MainMenu"), 1);

    ASSERT_EQ(MainMenuScreenCloseHandler(), 1);
    EXPECT_EQ(s0MainMenu, nullptr);
    EXPECT_EQ(basicFnCount, 0);
    EXPECT_EQ(screenStackSize, 1) << "the menu is remembered unless a game was started";
    EXPECT_EQ(ScreensInitialised(), 0);
    EXPECT_EQ(ResourceLoaded(kMenuMusic), 0);

    // After practice the menu reopens on the practice screen.
    MainMenuSetLastGameType(kLastGamePractice);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Draw();
    Input(3);
    EXPECT_EQ(Shown("s17Practice"), 1);
    EXPECT_EQ(Shown("s0MainMenu"), 0);
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGamePractice);
    ScreenSetResult(kTabGroupGame);
    ASSERT_EQ(MainMenuScreenCloseHandler(), 1);
    EXPECT_EQ(screenStackSize, 1) << "not pushed on the way to a game";
    MainMenuResetLastGameType();
    EXPECT_EQ(MainMenuGetLastGameType(), kLastGameNone);
}

}  // namespace
