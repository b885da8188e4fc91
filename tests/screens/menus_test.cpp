// The menus' UI description as the game data carries it: every name the front end looks up is
// there with the type the code expects, every function its scripts call is one of the front end's,
// and the tutorial books turn their pages with the description's own widgets and texts.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "db/database.h"
#include "game/areas.h"
#include "host/errorlog.h"
#include "screens/credits.h"
#include "screens/frontend_fixture.h"
#include "screens/mainmenu.h"
#include "screens/scriptfunctions.h"
#include "screens/tutorials.h"
#include "support/table_reads.h"
#include "ui/environment.h"
#include "ui/registry.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/textscroll.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgettypes.h"

namespace {

class Menus : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        WatchTableReads();
        ASSERT_EQ(LoadContent("ui/ui360.xml"), 1);
    }
    void TearDown() override
    {
        ExpectEveryTableReadListed();
        UiLoadTest::TearDown();
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    int TypeOf(const char* name)
    {
        sBasicUiWidget* w = W(name);
        return w ? w->widgetTypeRef.type : -1;
    }
    int Rendered(const char* name) { return W(name) ? W(name)->isRender.value : -1; }
};

TEST_F(Menus, EveryNameTheFrontEndLooksUpIsThereWithItsType)
{
    for (const char* screen : {"s0MainMenu", "s36Tutorial", "s37Tutorial"})
        EXPECT_NE(BasicUi_FindScreen(env, screen), nullptr) << screen;
    const struct {
        const char* name;
        int type;
    } widgets[] = {
        {"cSN.startS0", EBasicUiWidgetTypeCmdSequence},  {"cSN.startS17", EBasicUiWidgetTypeCmdSequence},
        {"cSN.startS38", EBasicUiWidgetTypeCmdSequence}, {"s8ts", EBasicUiWidgetTypeTextScroll},
        {"s36msg", EBasicUiWidgetTypeMsgBox},            {"s37msg", EBasicUiWidgetTypeMsgBox},
        {"s36b1", EBasicUiWidgetTypeButton},             {"s37b1", EBasicUiWidgetTypeButton},
        {"player.model", EBasicUiWidgetType3DSkeleton},  {"cp2013.0.p", EBasicUiWidgetTypeClip},
        {"sPVBall1", EBasicUiWidgetTypeButton},          {"sPVBall3", EBasicUiWidgetTypeButton},
        {"sPVtMoveP1", EBasicUiWidgetTypeTriggerMove3D}, {"sPVtMoveP2", EBasicUiWidgetTypeTriggerMove3D},
        {"s0qp", EBasicUiWidgetTypeMsgBox},              {"s0dialogQP", EBasicUiWidgetTypeDialogBox},
        {"s1dialog0", EBasicUiWidgetTypeDialogBox},      {"sFgdialog0", EBasicUiWidgetTypeDialogBox},
        {"sFgdialog1", EBasicUiWidgetTypeDialogBox},     {"sFgdialog2", EBasicUiWidgetTypeDialogBox},
        {"s7dialogSave", EBasicUiWidgetTypeDialogBox},   {"s7dialogNoProfile", EBasicUiWidgetTypeDialogBox},
        {"s1b1.v1", EBasicUiWidgetTypeButton},           {"s1b4.v1", EBasicUiWidgetTypeButton},
        {"s1tMove.v1", EBasicUiWidgetTypeTriggerMove},   {"s1b1.v3", EBasicUiWidgetTypeButton},
        {"s1tMove.v3", EBasicUiWidgetTypeTriggerMove},
    };
    for (const auto& w : widgets) EXPECT_EQ(TypeOf(w.name), w.type) << w.name;
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(TypeOf(("s36.tut0" + std::to_string(p)).c_str()), EBasicUiWidgetTypeImage) << p;
        EXPECT_EQ(TypeOf(("s37.tut0" + std::to_string(p)).c_str()), EBasicUiWidgetTypeImage) << p;
    }
    // The career's screens: the event lists with their slots, the standings tables, the
    // questions, and the sequences the set-up and the fold-in of a career game start.
    EXPECT_NE(BasicUi_FindScreen(env, "s3SaveBowler"), nullptr);
    const struct {
        const char* name;
        int type;
    } career[] = {
        {"s21leagueTable", EBasicUiWidgetTypeLeagueTable}, {"s23TreeTable", EBasicUiWidgetTypeTreeTable},
        {"s24LadderTable", EBasicUiWidgetTypeLadderTable}, {"s25ScoreTable", EBasicUiWidgetTypeScoreTable},
        {"s3dialog1", EBasicUiWidgetTypeDialogBox},        {"s3dialog2", EBasicUiWidgetTypeDialogBox},
    };
    for (const auto& w : career) EXPECT_EQ(TypeOf(w.name), w.type) << w.name;
    for (const char* p : {"s20", "s22", "s26"}) {
        const std::string s = p;
        EXPECT_EQ(TypeOf((s + "sb6").c_str()), EBasicUiWidgetTypeScrollBox) << p;
        EXPECT_EQ(TypeOf((s + "tMove").c_str()), EBasicUiWidgetTypeTriggerMove) << p;
        for (int k = 1; k <= 5; ++k) {
            const std::string slot = s + "slot" + std::to_string(k);
            EXPECT_EQ(TypeOf(slot.c_str()), EBasicUiWidgetTypeButton) << slot;
            EXPECT_EQ(TypeOf((s + "stb" + std::to_string(k)).c_str()), EBasicUiWidgetTypeStickyButton) << slot;
            EXPECT_EQ(TypeOf((slot + "SLOTNC.cEnter").c_str()), EBasicUiWidgetTypeCmdSequence) << slot;
            EXPECT_EQ(TypeOf((slot + "SLOTNC.cLeave").c_str()), EBasicUiWidgetTypeCmdSequence) << slot;
        }
        // Twenty events, selected from 1: the box holds one child past the twentieth.
        auto* box = W((s + "sb6").c_str());
        BasicUiWidgetTypeScrollBox_Update(box, 0);
        EXPECT_EQ(BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, 20), -1);
        EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedIndex(box), 20) << p;
    }
    for (const char* p : {"s20", "s22"})
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(TypeOf((std::string(p) + "dialog" + std::to_string(k)).c_str()), EBasicUiWidgetTypeDialogBox) << p << k;
    for (const char* seq : {"cSN.startS12", "cSN.startS20", "cSN.startS21", "cSN.startS22", "cSN.startS23",
                            "cSN.startS24", "cSN.startS25", "cSN.startS26", "cSN.gotoS21", "cSN.gotoS23", "cSN.gotoS24",
                            "cSN.gotoS25", "cSN.startS19p1v10"})
        EXPECT_EQ(TypeOf(seq), EBasicUiWidgetTypeCmdSequence) << seq;
    for (const char* size : {"2", "4"})
        for (const char* kind : {"League", "Rival", "Tree", "Ladder", "HighScore"}) {
            const std::string seq = std::string("sFgSetPlayers") + size + "." + kind;
            EXPECT_EQ(TypeOf(seq.c_str()), EBasicUiWidgetTypeCmdSequence) << seq;
        }
    // The launchers of team events run these to let the players choose controllers first; a
    // missing one would leave Bowl doing nothing.
    for (const char* size : {"2", "4"})
        for (const char* variant : {"6", "7", "8", "9"}) {
            const std::string seq = std::string("cSN.startS19p") + size + "v" + variant;
            EXPECT_EQ(TypeOf(seq.c_str()), EBasicUiWidgetTypeCmdSequence) << seq;
        }

    sBasicDb* ui = BasicUi_FindDb(env, "ui");
    ASSERT_NE(ui, nullptr) << HostErrorLog();
    for (const char* table : {"s0Strings", "locations", "sFgStrings", "s19Strings", "s36Strings", "s37Strings",
                              "sCareerStrings", "s21Header", "s23Header", "s24Header", "s25Header"})
        EXPECT_NE(BasicDbTable_Find(ui, table), nullptr) << table;
    // The rows the code composes into and reads formats from.
    EXPECT_GE(BasicDbTable_Find(ui, "s0Strings")->rows, 27);
    // The quick-play question reads alley a's name from row a + 1 of either table of names: both
    // start with a heading.
    sBasicDbTable* names[2] = {BasicDbTable_Find(ui, "locations"),
                               BasicDbTable_Find(BasicUi_FindDb(env, "game"), "locations")};
    for (sBasicDbTable* t : names) {
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->rows, kNumAreas + 1);
        EXPECT_EQ(FrontEndCell(t, 0, 0), "loc");
    }
    EXPECT_GE(BasicDbTable_Find(ui, "sFgStrings")->rows, 9);
    EXPECT_GE(BasicDbTable_Find(ui, "s19Strings")->rows, 17);
    // A dialog returns 2 for its first answer, which every question takes as yes.
    sBasicDbTable* answers = BasicDbTable_Find(ui, "sAnswers");
    ASSERT_NE(answers, nullptr);
    EXPECT_STREQ(BasicDbTable_GetStrElement(answers, 1, 1), "Yes");
    EXPECT_STREQ(BasicDbTable_GetStrElement(answers, 2, 1), "No");
}

TEST_F(Menus, EveryFunctionTheScriptsCallIsOneOfTheFrontEnds)
{
    const std::set<std::string> frontEnd = {
        "GameSave", "GameLoad", "ClearInvite", "CareerInProgressCheck", "SetupLeague", "SetupTournament", "SetupTree",
        "SetupLadder", "SetupHighScore", "SetupRival", "SetupRivalImmediate", "CheckRival", "QPlayCheck", "MGameCheck",
        "QuickStart", "PlayMovie", "QuickSetupDialog", "PlayGameQuick", "PlayGameMini", "PlayGameVellomarkChallenge",
        "PlayGameOnline", "PlayGameLeague", "PlayGameTree", "PlayGameLadder", "PlayGameHighScore", "PlayGameRival",
        "PlayGamePractice", "PlayGamePinSelect", "UpdateLeagueStandings", "UpdateTreeStandings",
        "UpdateLadderStandings", "UpdateHighScoreStandings", "UpdateRivalStandings", "ResetCareer", "ProShopEnter",
        "ProShopLeave", "HandleProShopItemSelect", "HandleProShopItemEnter", "SelectNextPlayerIndex",
        "VerifyCustomPlayerUnload", "SetupPlayerModel", "LoadPlayerModel", "CharacterChanged", "AssignControllers",
        "CheckForControllerPresence", "CheckForControllerPresenceII", "UpdateTrophies", "SetupEvents", "StartTutorial",
        "NextTutorial", "ShowControllerRequiredMessage",
        // The career lists' event details, the hub's standings entries, quick play's slots and a
        // career team's controllers.
        "ShowEventDetails", "OpenLeagueTable", "OpenTournamentStandings", "ShowQuickPlaySlots", "AssignTeamControllers"};
    std::ifstream file(std::string(ZENDROLYX_SOURCE_DIR) + "/content/ui/ui360.xml");
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    const std::regex call("typeWidget=\"cmdFn\" fn=\"([A-Za-z0-9]+)\"");
    int calls = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), call); it != std::sregex_iterator(); ++it, ++calls)
        EXPECT_EQ(frontEnd.count((*it)[1].str()), 1u) << (*it)[1].str();
    EXPECT_GT(calls, 10);

    // What this build registers is found under its own name, and nothing else is registered.
    BasicFn_Clear();
    const int registered = RegisterScriptFunctions();
    EXPECT_EQ(registered, basicFnCount);
    for (int i = 0; i < basicFnCount; ++i) EXPECT_EQ(frontEnd.count(basicFnName[i]), 1u) << basicFnName[i];
    EXPECT_EQ(BasicFn_Find("NextTutorial"), NextTutorial);
    BasicFn_Clear();
}

TEST_F(Menus, EveryDisplayVariantButTheLargerOnesLoadsThisPlatformsDescription)
{
    // Variant 1 names no description of its own: it must not leave the menu empty with no way on.
    for (int variant : {0, 1, -1, 7}) EXPECT_STREQ(MainMenuDescriptionFor(variant), "Resource\\ui360.xml") << variant;
    EXPECT_STREQ(MainMenuDescriptionFor(2), "Resource\\ui720.xml");
    EXPECT_STREQ(MainMenuDescriptionFor(3), "Resource\\ui1080.xml");
}

TEST_F(Menus, TutorialPagesWrapAtBothEndsAndEachStepTurnsItsOwnBook)
{
    ASSERT_EQ(StartTutorial(nullptr, 0), 1);
    EXPECT_EQ(TutorialPosition(36), 0);
    EXPECT_EQ(Rendered("s36.tut00"), 1);
    // 13 rows of texts: five pages, so back from the first shows the fifth.
    EXPECT_EQ(NextTutorial(nullptr, -1), 0);
    EXPECT_EQ(TutorialPosition(36), 4);
    EXPECT_EQ(TutorialPosition(37), 0);
    EXPECT_EQ(Rendered("s36.tut04"), 1);
    EXPECT_EQ(Rendered("s36.tut00"), 0);
    NextTutorial(nullptr, 1);
    EXPECT_EQ(TutorialPosition(36), 0);
    NextTutorial(nullptr, 2);
    NextTutorial(nullptr, 2);
    EXPECT_EQ(TutorialPosition(37), 2);
    EXPECT_EQ(TutorialPosition(36), 0);
    EXPECT_EQ(Rendered("s37.tut02"), 1);
    // The message shows the page's text row, the button its caption row.
    auto* button = static_cast<sBasicUiWidgetTypeButton*>(W("s37b1")->widgetTypeRef.ptr);
    EXPECT_EQ(button->row.value, 2 + 5 + 3);
    NextTutorial(nullptr, 0);
    EXPECT_EQ(TutorialPosition(37), 2);
}

TEST_F(Menus, TheScreensFindTheTablesTheyReadAndTheDialogsConfirmWithTheirFirstAnswer)
{
    // The launchers dress the bowlers from the game database, which loads with the menus.
    sBasicDb* game = BasicUi_FindDb(env, "game");
    ASSERT_NE(game, nullptr) << HostErrorLog();
    EXPECT_NE(BasicDbTable_Find(game, "Bodys"), nullptr);
    EXPECT_NE(BasicDbTable_Find(game, "NPCAbilities"), nullptr);
    // A two-answer dialog confirms with its first answer (row 1 of the answers).
    sBasicDb* ui = BasicUi_FindDb(env, "ui");
    ASSERT_NE(ui, nullptr);
    EXPECT_STREQ(BasicDbTable_GetStrElement(BasicDbTable_Find(ui, "sAnswers"), 1, 1), "Yes");
    // Who bowls a quick-play slot (0 the computer, 1 a person) and the control mode (0, 1) name a row.
    for (const char* table : {"qpKinds", "controlModes"}) {
        sBasicDbTable* t = BasicDbTable_Find(ui, table);
        ASSERT_NE(t, nullptr) << table;
        EXPECT_GE(t->rows, 2) << table;
    }
    // The credits roll reads the built-in credits once the main menu points it at them, and every
    // image its rows name is a constant of the description.
    BasicDb_Init();
    ForgetCreditsDatabase();
    BasicDb_DbRegister(CreditsDatabase());
    auto* scroll = BasicUiWidget_Record<sBasicUiWidgetTypeTextScroll>(W("s8ts"), EBasicUiWidgetTypeTextScroll);
    ASSERT_NE(scroll, nullptr);
    BasicUiWidgetTypeTextScroll_SetDbRef(W("s8ts"), CreditsWidget());
    sBasicDbTable* credits = BasicUiWidgetTypeDbRef_Table(scroll->textDbRef);
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->rows, kCreditsRows);
    for (int row = 0; row < credits->rows; ++row) {
        const char* icon = BasicDbTable_GetStrElement(credits, row, 3);
        if (icon && icon[0]) {
            EXPECT_NE(BasicUi_FindConstantDef(env, icon), nullptr) << icon;
        }
    }
    BasicDb_Init();
}

}  // namespace
