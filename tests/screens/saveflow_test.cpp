// The save database and its file: the first start writes the defaults, a later start and a load
// find what was saved, and a damaged, cut short or foreign file is refused without touching the
// live database, kept aside and told; every save ends with the HOME button allowed and the worker
// released.
#include "screens/saveflow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "db/dbimage.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "overlays/autosave.h"
#include "overlays/nohomeicon.h"
#include "overlays/overlaystack.h"
#include "overlays/questionoverlays.h"
#include "platform/input.h"
#include "platform/utilities.h"
#include "screens/frontend_fixture.h"
#include "screens/frontenddb.h"
#include "screens/results.h"
#include "screens/scriptfunctions.h"
#include "screens/scriptfunctions_play.h"
#include "shell/savedata.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"

namespace {

class SaveFlow : public FrontEndTest {
protected:
    HostOptions saved;
    void SetUp() override
    {
        FrontEndTest::SetUp();
        saved = gHostOptions;
        gHostOptions.dataDir = scratch + "/save";
        gHostOptions.headless = 1;
        ASSERT_EQ(SaveDataInit(), 1);
        OverlayResetStack();
        gAutoSaveSlot = 0;
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        OverlayResetStack();
        SaveDataEnd();
        ResetNoHomeIcon();
        ForgetSaveDatabase();
        gHostOptions = saved;
        FrontEndTest::TearDown();
    }
    std::string File(const char* name = "savegame.bin")
    {
        std::ifstream in(scratch + "/save/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& bytes) { std::ofstream(scratch + "/save/savegame.bin", std::ios::binary) << bytes; }
    std::string Image() { return std::string(reinterpret_cast<char*>(dbSave), size_t(BasicDb_Size(&dbSave))); }
    sBasicDbTable* Live(const char* table) { return FrontEndTable(nullptr, "save", table); }
    // A first start: the defaults written as the save file.
    std::string FirstStart()
    {
        EXPECT_EQ(LoadSaveDatabase(), 1);
        EXPECT_EQ(PumpSaveOverlays(), 1);
        return File();
    }
    // A start over a bad file: the live database keeps the defaults and the player is told.
    void ExpectRefused(const std::string& bytes)
    {
        Write(bytes);
        ASSERT_EQ(LoadSaveDatabase(), 1);
        EXPECT_EQ(BasicDbTable_GetElementI(Live("players"), 30, 1), 0) << "the defaults";
        EXPECT_NE(std::string(SaveDataKeptAside()), "");
        OverlayUpdate();
        EXPECT_NE(InfoOverlayLayout(), nullptr) << "the player is told";
        EXPECT_EQ(File(std::string(SaveDataKeptAside()).substr(6).c_str()), bytes) << "the file is kept as it was";
    }
};

}  // namespace

TEST_F(SaveFlow, FirstStartWritesTheDefaultsAndALaterStartFindsTheSave)
{
    const std::string first = FirstStart();
    EXPECT_EQ(first, Image());
    EXPECT_EQ(HomeMenuDisabled(), 0);
    BasicDbTable_SetElementI(Live("players"), 30, 1, 42);
    ASSERT_EQ(GameSave(nullptr, 0), 1);
    EXPECT_EQ(HomeMenuDisabled(), 0) << "the HOME button is allowed again";
    EXPECT_EQ(SaveDataProcessComplete(), 1);
    EXPECT_EQ(File(), Image());

    ForgetSaveDatabase();
    ASSERT_EQ(LoadSaveDatabase(), 1);
    EXPECT_FALSE(OverlayExists()) << "nothing to tell, nothing to write";
    EXPECT_EQ(BasicDbTable_GetElementI(Live("players"), 30, 1), 42);
    BasicDbTable_SetElementI(Live("players"), 30, 1, 7);
    ASSERT_EQ(GameLoad(nullptr, 0), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Live("players"), 30, 1), 42) << "loaded again";
}

TEST_F(SaveFlow, DamagedOrShortSavesAreRefused)
{
    std::string image = FirstStart();
    image[image.size() / 2] = char(0xFF);
    image[40] = char(0x7F);
    ExpectRefused(image);
    while (OverlayExists() && OverlayExit()) {
    }
    ExpectRefused(image.substr(0, image.size() / 2));
}

TEST_F(SaveFlow, AnotherGamesSaveOfTheSameSizeIsRefused)
{
    std::string image = FirstStart();
    const size_t at = image.find("highGame");
    ASSERT_NE(at, std::string::npos);
    image[at] = 'l';
    ExpectRefused(image);
}

TEST_F(SaveFlow, TheAutoSaveSwitchLeavesTheControlModeAlone)
{
    FirstStart();
    BasicDbTable_SetElementI(Live("options"), 4, 0, 1);
    gAutoSaveSlot = -1;
    ASSERT_EQ(SetAutoSaveEnabled(1), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Live("options"), 4, 0), 1);
    EXPECT_EQ(AutoSaveEnabled(), 1);
    EXPECT_EQ(gAutoSaveSlot, 0);
    SetAutoSaveEnabled(0);
    EXPECT_EQ(AutoSaveEnabled(), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(Live("options"), 4, 0), 1);
}

TEST_F(SaveFlow, ASaveCutShortByClosingStillCleansUp)
{
    FirstStart();
    done = 1;
    EXPECT_EQ(GameSave(nullptr, 0), 1);
    done = 0;
    EXPECT_EQ(HomeMenuDisabled(), 0) << "the HOME button is allowed again";
    EXPECT_EQ(SaveDataProcessComplete(), 1) << "no worker left running";
}

TEST_F(SaveFlow, ClosingWritesWhatIsNotSavedYetAndNothingElse)
{
    FirstStart();
    BasicDbTable_SetElementI(Live("player view"), 1, 1, 5);
    EXPECT_EQ(SaveChangesPending(), 0) << "what the preview shows is no change of the player's";
    BasicDbTable_SetElementI(Live("players"), 30, 1, 42);
    EXPECT_EQ(SaveChangesPending(), 1);
    done = 1;  // closed while the saving box has written nothing yet
    GameSave(nullptr, 0);
    done = 0;
    ASSERT_NE(File(), Image());
    EXPECT_EQ(SaveBeforeClosing(), 1);
    EXPECT_EQ(File(), Image()) << "written as the program closes";
    EXPECT_EQ(SaveChangesPending(), 0);

    std::remove((scratch + "/save/savegame.bin").c_str());
    EXPECT_EQ(SaveBeforeClosing(), 1);
    EXPECT_EQ(File(), "") << "nothing to write, nothing written";

    // After "No" to "Save failed! Try again?" the player plays on without saving.
    BasicDbTable_SetElementI(Live("players"), 30, 1, 43);
    gAutoSaveSlot = -1;
    EXPECT_EQ(SaveBeforeClosing(), 0);
    EXPECT_EQ(File(), "");
}

// Each edit the menus make, by a script function or a script's own edit of a cell, is a change
// that the next save point or the close writes.
TEST_F(SaveFlow, EveryEditOfTheMenusIsAChangeToSave)
{
    FirstStart();
    BasicDb_DbRegister(game);
    BasicFn_Clear();
    RegisterScriptFunctions();
    ASSERT_EQ(LoadContent("ui/ui360.xml"), 1);
    env->inputMode = BasicUiInputMode_Normal;
    // The career bowler's question and the one before a custom bowler leaves its slot show
    // themselves without frames of their own and count as agreed.
    for (const char* question : {"s3dialog2", "s1dialog0"})
        static_cast<sBasicUiWidgetTypeDialogBox*>(Widget(question)->widgetTypeRef.ptr)->isShowDialog.value = 1;
    const char* const kEdits[] = {"qp.more", "qp.kind2", "qp.slot1", "op.up0", "op.buttons", "s3.pick02"};
    for (const char* edit : kEdits) {
        ASSERT_EQ(SaveChangesPending(), 0) << edit;
        BasicUiWidgetTypeCmdSequence_Run(Widget(edit));
        for (int i = 0; i < 2; ++i) BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        EXPECT_EQ(SaveChangesPending(), 1) << edit;
        SaveBeforeClosing();
    }
    EXPECT_EQ(BasicDbTable_GetElementI(Live("career setup"), 1, 0), 2) << "the career bowler chosen";
    BasicFn_Clear();
}

TEST_F(SaveFlow, AQuickGameIsSavedWithItsBowlersStatistics)
{
    FirstStart();
    BasicDb_DbRegister(game);  // the menus' environment holds it
    for (joystickState& c : controllers) c.controller = nullptr;
    ASSERT_EQ(QuickStart(nullptr, 0), 1);
    gPlayerResults[0][0] = 212;
    ASSERT_EQ(FoldInQuickPlay(), 1);
    EXPECT_EQ(FoldInQuickPlay(), 0) << "folded and saved once";
    ForgetSaveDatabase();
    ASSERT_EQ(LoadSaveDatabase(), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Live("players"), 37, 1), 212) << "the high game, found again after a restart";
}
