#include "support/menu_screens.h"

#include <stdlib.h>

#include <filesystem>

#include "db/database.h"
#include "host/clock.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/credits.h"
#include "screens/frontend.h"
#include "screens/mainmenu.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "support/table_reads.h"
#include "ui/environment.h"

void MenuScreensTest::SetUp()
{
    saved = gHostOptions;
    ASSERT_EQ(UseFreshDeviceHeap(96u << 20), 1);
    gHostOptions.headless = 1;
    gHostOptions.audioOut.clear();
    // The main menu saves into "data:/"; without a folder of its own it would be the working one.
    std::string pattern = std::filesystem::temp_directory_path().string() + "/menuscreens-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dataDir = pattern;
    gHostOptions.dataDir = dataDir;
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
    WatchTableReads();
}

void MenuScreensTest::TearDown()
{
    ExpectEveryTableReadListed();
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
    if (!dataDir.empty()) std::filesystem::remove_all(dataDir);
}

sBasicUiWidget* MenuWidget(const char* name) { return BasicUi_FindWidget(BasicUi_GetEnvironment(), name); }

void MenuFrames(int n)
{
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(MainMenuScreenDrawHandler(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
        ASSERT_EQ(MainMenuScreenInputHandler(), 1);
    }
}
