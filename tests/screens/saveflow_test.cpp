// The save database and its file: the first start writes the defaults, a later start and a load
// find what was saved, and a damaged, cut short or foreign file is refused without touching the
// live database, kept aside and told; every save ends with the HOME button allowed and the worker
// released.
#include "screens/saveflow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "db/dbimage.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "overlays/autosave.h"
#include "overlays/overlaydraw.h"
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
    // Steps the overlays for a few frames, then presses `button` once and lets it go.
    void Press(uint16_t button)
    {
        SetOverlayControllerNum(-1);
        for (int frame = 0; frame < 8; ++frame) {
            allInput.buttons = frame == 4 ? button : 0;
            allInput.edges = frame == 4 || frame == 5 ? button : 0;
            OverlayHandleInput();
            OverlayUpdate();
        }
        allInput.buttons = allInput.edges = 0;
    }
    // A save file kept from being moved aside: every name it could be kept under is taken.
    void TakeEveryKeptName()
    {
        for (int n = 1; n <= 1000; ++n)
            std::ofstream(scratch + "/save/savegame-damaged-" + std::to_string(n) + ".bin") << n;
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
    EXPECT_EQ(GetUserIDLoaded(), 0) << "the PC's one player is always signed in";
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

// The database's own name is part of the layout: a save that calls it otherwise is damaged, and
// the next start after it is refused is clean.
TEST_F(SaveFlow, ASaveWhoseDatabaseHasAnotherNameIsRefused)
{
    std::string image = FirstStart();
    const size_t name = size_t(dbSave->name.get() - reinterpret_cast<char*>(dbSave));
    ASSERT_EQ(image.substr(name, 5), std::string("save", 5));
    image[name + 1] = 'b';
    ExpectRefused(image);
    Press(kButtonA);
    EXPECT_EQ(PumpSaveOverlays(), 1);
    EXPECT_EQ(File(), Image()) << "the defaults written in its place";
    ForgetSaveDatabase();
    ASSERT_EQ(LoadSaveDatabase(), 1);
    EXPECT_FALSE(OverlayExists()) << "nothing to tell";
    EXPECT_NE(Live("options"), nullptr);
}

// Defaults damaged where the loader or the load check finds it (a row count that is no number, a
// table's rows under a damaged name, a column's type no word the database knows, the database under
// another name) stop the start before the save file is read: a good save stays as it was, in place.
TEST_F(SaveFlow, DamagedDefaultsLeaveAGoodSaveInPlace)
{
    const std::string save = FirstStart();
    std::ifstream in(std::string(ZENDROLYX_SOURCE_DIR) + "/content/db/save.db.xml", std::ios::binary);
    const std::string defaults((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const struct {
        const char* intact;
        const char* damaged;
    } damages[] = {
        {"name=\"league\" def=\"leaguerecord\" rows=\"11\"", "name=\"league\" def=\"leaguerecord\" rows=\"1!\""},
        {"name=\"rival\" def=\"rivalrecord\" rows=\"11\"", "name=\"rival\" def=\"rivalrecord\" rowt=\"11\""},
        {"name=\"inUse\" type=\"int\"", "name=\"inUse\" type=\"imt\""},
        {"<BasicDb name=\"save\"", "<BasicDb name=\"savf\""},
    };
    std::filesystem::create_directories(scratch + "/damaged/db");
    const std::string rom = gHostOptions.romDir;
    for (const auto& damage : damages) {
        std::string text = defaults;
        const size_t at = text.find(damage.intact);
        ASSERT_NE(at, std::string::npos) << damage.intact;
        text.replace(at, std::strlen(damage.intact), damage.damaged);
        std::ofstream(scratch + "/damaged/db/save.db.xml", std::ios::binary) << text;
        gHostOptions.romDir = scratch + "/damaged";
        ForgetSaveDatabase();
        EXPECT_EQ(LoadSaveDatabase(), 0) << damage.damaged;
        gHostOptions.romDir = rom;
        EXPECT_EQ(File(), save) << damage.damaged;
        EXPECT_STREQ(SaveDataKeptAside(), "") << damage.damaged;
        EXPECT_EQ(File("savegame-damaged-1.bin"), "") << damage.damaged;
    }
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

// A damaged save that cannot be moved aside is not written over at start-up: the player is told
// why, then asked; "no" leaves it and turns autosave off, so no later save touches it either, and
// "yes" writes the defaults in its place.
TEST_F(SaveFlow, ASaveThatCannotBeMovedAsideIsWrittenOverOnlyWhenThePlayerSaysSo)
{
    std::string image = FirstStart();
    image[image.size() / 2] = char(0xFF);
    image[40] = char(0x7F);
    TakeEveryKeptName();
    Write(image);
    ForgetSaveDatabase();
    ASSERT_EQ(LoadSaveDatabase(), 1);
    EXPECT_STREQ(SaveDataKeptAside(), "");
    EXPECT_EQ(BasicDbTable_GetElementI(Live("players"), 30, 1), 0) << "the defaults, in memory";
    OverlayUpdate();
    ASSERT_NE(InfoOverlayLayout(), nullptr) << "the player is told first";
    Press(kButtonA);
    ASSERT_NE(YesNoOverlayLayout(), nullptr) << "then asked before the file is written over";
    Press(kButtonB);
    EXPECT_EQ(PumpSaveOverlays(), 1);
    EXPECT_EQ(File(), image);
    EXPECT_EQ(gAutoSaveSlot, -1);
    ASSERT_EQ(GameSave(nullptr, 0), 1);
    EXPECT_EQ(File(), image);

    gAutoSaveSlot = 0;  // autosave on again: the next save asks again
    SeasonSaveGame(reinterpret_cast<char*>(dbSave), BasicDb_Size(&dbSave));
    OverlayUpdate();
    ASSERT_NE(YesNoOverlayLayout(), nullptr);
    Press(kButtonA);
    EXPECT_EQ(PumpSaveOverlays(), 1);
    EXPECT_EQ(File(), Image()) << "written once the player agreed";
}

// A folder (or a pipe) named as the save file: the player is told once that the save cannot be
// used, nothing is written, and later saves do nothing instead of failing again and again.
TEST_F(SaveFlow, ASavePathThatIsNoFileIsToldOnceAndNeverWritten)
{
    std::filesystem::create_directories(scratch + "/save/savegame.bin");
    ASSERT_EQ(LoadSaveDatabase(), 1);
    OverlayUpdate();
    ASSERT_NE(InfoOverlayLayout(), nullptr);
    Press(kButtonA);
    EXPECT_FALSE(OverlayExists()) << "no save is tried after the message";
    EXPECT_EQ(PumpSaveOverlays(), 1);
    EXPECT_EQ(gAutoSaveSlot, -1);
    ASSERT_EQ(GameSave(nullptr, 0), 1);
    EXPECT_FALSE(OverlayExists()) << "no \"Save failed! Try again?\"";
    EXPECT_TRUE(std::filesystem::is_directory(scratch + "/save/savegame.bin"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch + "/save"), std::filesystem::directory_iterator()), 1);
}

// A save that passes every structural check may still hold values the game picks table rows with
// that are out of their tables' range: each is set back to its default on load, with a message;
// values in range, and -1 where it means none, stay as saved.
TEST_F(SaveFlow, ValuesOutOfTheirTablesRangeAreRepairedOnLoad)
{
    FirstStart();
    const struct {
        const char* table;
        int column, row, element, value, expected;
    } cases[] = {
        {"options", 1, 0, 0, 0x7fffffff, 60},       // the music volume
        {"options", 2, 0, 0, 100, 100},             // the effects volume, at its top
        {"options", 4, 0, 0, -1, 0},                // the control mode
        {"player view", 1, 0, 0, 0x7fffffff, 1},    // the bowler shown
        {"player view", 1, 1, 0, -1, -1},           // none shown yet
        {"quick play setup", 3, 0, 0, 0x7fffffff, 1},  // the first bowler
        {"quick play setup", 4, 0, 0, 24, 24},      // the second, the last row
        {"quick play setup", 1, 0, 0, 6, 0},        // the alley
        {"quick play setup", 7, 0, 0, 5, 1},        // who bowls the first slot
        {"players", 10, 3, 0, 11, 3},               // a body past "Bodys"
        {"players", 14, 3, 0, -1, -1},              // no hat
        {"players", 17, 2, 1, -2, 4},               // a ball
        {"career setup", 1, 0, 0, 0, 1},            // the career slot
        {"league", 12, 4, 63, 64, -1},              // a computer bowler past "NPCs"
    };
    for (const auto& c : cases) BasicDbTable_SetElementIN(Live(c.table), c.column, c.row, c.element, c.value);
    ASSERT_EQ(GameSave(nullptr, 0), 1);
    ForgetSaveDatabase();
    HostClearErrorLog();
    ASSERT_EQ(LoadSaveDatabase(), 1);
    for (const auto& c : cases)
        EXPECT_EQ(BasicDbTable_GetElementIN(Live(c.table), c.column, c.row, c.element, -99), c.expected)
            << c.table << " column " << c.column << " row " << c.row;
    const std::string log = HostErrorLog();
    EXPECT_NE(log.find("save: \"player view\" row 0 bowler holds 2147483647, outside 0 to 24; the default 1 is used"),
              std::string::npos) << log;
    EXPECT_NE(log.find("save: \"options\" row 0 musicVolume holds 2147483647, outside 0 to 100"), std::string::npos);
    EXPECT_EQ(PumpSaveOverlays(), 1);
    EXPECT_NE(File(), Image()) << "the file keeps what was saved; the next save writes the repairs";
}
