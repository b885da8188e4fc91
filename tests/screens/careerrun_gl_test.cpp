// A career week from the menus, as a player plays it: the main menu's description opened with the
// save database, the career hub and the league list, a league joined, its game bowled on the lane
// (the computer bowling for the career bowler) and the menu reopened on the league table with the
// week folded in and the save file written.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/dbimage.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "lib/trig.h"
#include "overlays/overlaystack.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/frontend.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/saveflow.h"
#include "shell/savedata.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "support/menu_screens.h"
#include "support/table_reads.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"

namespace {

class GlCareerRun : public ::testing::Test {
protected:
    HostOptions saved;
    std::string dataDir;

    void SetUp() override
    {
        saved = gHostOptions;
        ASSERT_EQ(UseFreshDeviceHeap(128u << 20), 1);
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        std::string pattern = ::testing::TempDir() + "careerrun-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dataDir = pattern;
        gHostOptions.dataDir = dataDir;
        HostUseVirtualClock(1);
        basicUiEnvironmentPtr = nullptr;
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        // Frames are recorded and checked; none is executed on GL (no picture is looked at).
        GpuExecuteOnlyFor(nullptr, 0);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ASSERT_EQ(SaveDataInit(), 1);
        OverlayResetStack();
        ResetScreenStack();
        gTabGroupId = kTabGroupTitle;
        ScreenSetResult(kScreenResultRun);
        WatchTableReads();
    }
    void TearDown() override
    {
        ExpectEveryTableReadListed();
        ExitScreens(0);
        SaveDataEnd();
        ForgetSaveDatabase();
        EXPECT_EQ(DisposeSoundServices(), 1);
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        GpuExecuteAll();
        CloseBuildGameData();
        sinTable = cosTable = nullptr;
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        basicUiEnvironmentPtr = nullptr;
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
        std::filesystem::remove_all(dataDir);
    }
    static sBasicUiWidget* W(const char* name) { return MenuWidget(name); }
    static int Shown(const char* screen) { return BasicUi_FindScreen(BasicUi_GetEnvironment(), screen)->isRender.value; }
    // One drawn frame and its input, as the screen loop runs the menu.
    static void Frames(int n) { MenuFrames(n); }
    static void Run(const char* sequence)
    {
        BasicUiWidgetTypeCmdSequence_Run(W(sequence));
        Frames(3);
    }
};

}  // namespace

TEST_F(GlCareerRun, ALeagueWeekFromTheMenusIsFoldedInAndSaved)
{
    ASSERT_EQ(MainMenuScreenInit(), 1);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Frames(3);
    ASSERT_EQ(Shown("s0MainMenu"), 1);

    // The main menu's Career entry, then the league list (its fee question answered yes).
    Run("go.career");
    EXPECT_EQ(Shown("s12Career"), 1);
    EXPECT_EQ(Shown("s0MainMenu"), 0);
    Run("go.leagues");
    ASSERT_EQ(Shown("s20Leagues"), 1);
    static_cast<sBasicUiWidgetTypeDialogBox*>(W("s20dialog3")->widgetTypeRef.ptr)->isShowDialog.value = 1;
    Run("s20.pick00");
    W("s20dialog3")->isActive.value = W("s20dialog3")->isRender.value = 0;
    BasicUi_GetEnvironment()->inputMode = BasicUiInputMode_Normal;
    sBasicDbTable* league = FrontEndTable(nullptr, "save", "league");
    const int r = CareerSlot(nullptr);
    ASSERT_EQ(BasicDbTable_GetElementI(league, 1, r), 0) << "the first league is entered";
    Frames(3);
    EXPECT_EQ(Shown("s21League"), 1);

    // Bowl, and the game is played on the lane: the career bowler is the person's, whose turns the
    // computer takes here.
    Run("s21.play");
    ASSERT_EQ(ScreenGetResult(), 1) << "the league game is launched";
    ASSERT_EQ(GetControllerAssignment(0), 0);
    SetControllerAssignment(0, kAssignmentComputer);
    ASSERT_EQ(MainMenuScreenCloseHandler(), 1);
    ASSERT_EQ(GameLoop(), 1);
    ASSERT_EQ(ScreenGetResult(), 3);
    const int score = gPlayerInfo[0].totalScore;

    // The menu reopens on the league table with the week folded in, and the save is written.
    const std::string file = dataDir + "/savegame.bin";
    std::filesystem::remove(file);
    ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
    Frames(4);
    EXPECT_EQ(Shown("s21League"), 1);
    EXPECT_EQ(Shown("s0MainMenu"), 0);
    league = FrontEndTable(nullptr, "save", "league");
    const int m = BasicDbTable_GetElementI(FrontEndTable(nullptr, "game", "Leagues"), 5, 0);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), 1) << "on to the second week";
    EXPECT_EQ(BasicDbTable_GetElementIN(league, 33, r, m - 1, -1), score);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), std::uintmax_t(BasicDb_Size(&dbSave)));
}
